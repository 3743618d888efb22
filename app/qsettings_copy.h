// QSettings on a private copy of the settings file's text: how the store
// reads and changes values, so that every file reads as QSettings reads it,
// while QSettings never touches the file itself (it would wait for that
// file's lock without end, and read whatever the path names). Names compare
// without regard to case, as the store's do; QSettings' own do not.
#pragma once

#include <QByteArray>
#include <QSettings>
#include <QString>

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "store/settings_backend.h"

namespace wuffel {

class QSettingsCopy {
 public:
  // A copy holding `text`, made at `path`, where nothing may be yet; only
  // its owner may read it. Nothing when it cannot be made.
  static std::unique_ptr<QSettingsCopy> make(const QString& path, const QByteArray& text);
  // Removes the copy.
  ~QSettingsCopy();
  QSettingsCopy(const QSettingsCopy&) = delete;
  QSettingsCopy& operator=(const QSettingsCopy&) = delete;

  // The value a name ("Group/name" for one in a group) reaches: of its
  // spellings, the first in QSettings' order.
  StoredValue value(std::string_view name);
  // Sets a text value under the spelling of its name already there, the
  // others dropped, and writes the copy. Its whole text then, or nothing
  // when QSettings could not write it.
  std::optional<QByteArray> withText(std::string_view name, const std::string& text);
  // Removes the copy now, keeping what was read of it: for reads.
  void removeFile();

 private:
  explicit QSettingsCopy(const QString& path) : path_(path) { settings_.emplace(path, QSettings::IniFormat); }

  QString path_;
  // Gone before the copy: it writes what it has not written yet as it goes.
  std::optional<QSettings> settings_;
};

}  // namespace wuffel
