// A best-score store on a real QSettings file in a temporary configuration
// folder, found the way the window program finds it.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include "store/hiscore_store.h"
#include "app/qsettings_backend.h"

namespace wuffel::testing {

struct StoreFolder {
  StoreFolder() { QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.path()); }

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

  QTemporaryDir config;
};

// A store as the window program opens it, with its own back end.
struct FileStore {
  QSettingsBackend backend;
  HiScoreStore store{backend, kHiScoreKey};
};

}  // namespace wuffel::testing
