// The settings store in the file where QSettings keeps it, in QSettings' INI
// format, which earlier builds of the program wrote through QSettings. This
// code reads and writes the file itself, so that no store operation holds
// the program up: QSettings waits for its lock without end, and reads
// whatever the path names, a named pipe too. Every read and write opens the
// file afresh, so each sees what other instances wrote before it. Unix only.
#pragma once

#include <QString>

#include "store/settings_backend.h"

namespace wuffel {

class IniFileBackend : public SettingsBackend {
 public:
  IniFileBackend() = default;
  // A store kept in one file wherever it lies: for tests and tools.
  explicit IniFileBackend(QString iniFile) : iniFile_(std::move(iniFile)) {}

  // Only names the file: nothing is created before the first write.
  bool openKey(std::string_view path) override;
  // Creates the file's folder.
  bool ensureKey() override;
  StoredValue read(std::string_view name) override;
  // Refused when another process holds the file's lock for longer than a
  // moment, and when the file is there but cannot be read, or is no regular
  // file (which is then left as it is).
  WriteOutcome updateText(std::string_view name, const WriteDecision& decide) override;

  // The settings file, in the user's configuration folder.
  QString location() const;

 private:
  QString organization_;
  QString application_;
  QString iniFile_;
};

}  // namespace wuffel
