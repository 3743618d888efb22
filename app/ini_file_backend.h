// The settings store in the file where QSettings keeps it, read and written
// by QSettings on a private copy, so that no store operation holds the
// program up: QSettings on the file itself would wait for its lock without
// end, and read whatever the path names, a named pipe too. Every read and
// write looks at the file afresh, so each sees what other instances wrote
// before it. Unix only.
#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

#include "store/settings_backend.h"

class QTemporaryDir;

namespace wuffel {

class QSettingsCopy;

class IniFileBackend : public SettingsBackend {
 public:
  IniFileBackend();
  // A store kept in one file wherever it lies: for tests and tools.
  explicit IniFileBackend(QString iniFile);
  ~IniFileBackend() override;

  // Only names the file: nothing is created before the first write.
  bool useKey(std::string_view path) override;
  // Creates the file's folder.
  bool ensureKey() override;
  StoredValue read(std::string_view name) override;
  // Refused when another process holds the file's lock for longer than a
  // moment, and when the file is there but cannot be read whole (no
  // permission, over settings_file::kMaxFileSize) or is no regular file:
  // such a file is left as it is.
  WriteOutcome updateText(std::string_view name, const WriteDecision& decide) override;

  // The settings file, in the user's configuration folder.
  QString location() const;
  // Why the last write, or the folder's creation, was refused, in words for
  // the player; empty after one that was not.
  const QString& refusal() const { return refusal_; }

 private:
  WriteOutcome refuse(QString why);
  // QSettings on a private copy of `text`.
  std::unique_ptr<QSettingsCopy> makeCopy(const std::string& text);
  // One kept while the file holds that text, for reads.
  QSettingsCopy* parsed(const std::string& text);

  QString organization_;
  QString application_;
  QString iniFile_;
  QString refusal_;
  // The copies lie in a folder of their own: the settings folder may be one
  // that cannot be written, and is on the disk.
  std::unique_ptr<QTemporaryDir> privateFolder_;
  int copies_ = 0;
  std::string parsedText_;
  std::unique_ptr<QSettingsCopy> parsed_;
};

}  // namespace wuffel
