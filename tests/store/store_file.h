// A best-score store on a real settings file in a temporary configuration
// folder, found the way the window program finds it.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include "store/hiscore_store.h"
#include "app/ini_file_backend.h"

namespace wuffel::testing {

struct StoreFolder {
  StoreFolder() : outer(qgetenv("XDG_CONFIG_HOME")) { qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit()); }
  ~StoreFolder() { qputenv("XDG_CONFIG_HOME", outer); }
  StoreFolder(const StoreFolder&) = delete;
  StoreFolder& operator=(const StoreFolder&) = delete;

  // Where the store keeps its values, once a store has opened its key.
  QString file() const { return config.path() + "/Quillon/WuffelTennis.conf"; }
  QByteArray fileText() const {
    QFile f(file());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  void putFile(const QByteArray& bytes) const {
    QDir().mkpath(QFileInfo(file()).absolutePath());
    QFile f(file());
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(bytes);
  }

  QByteArray outer;
  QTemporaryDir config;
};

// A store as the window program opens it, with its own back end.
struct FileStore {
  IniFileBackend backend;
  HiScoreStore store{backend, kHiScoreKey};
};

}  // namespace wuffel::testing
