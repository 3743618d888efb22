// The settings store on QSettings: the registry on Windows, a file in the
// user's configuration folder elsewhere. Every read and write opens the
// store afresh, so each sees what other instances wrote before it.
#pragma once

#include <QString>

#include "store/settings_backend.h"

namespace wuffel {

class QSettingsBackend : public SettingsBackend {
 public:
  QSettingsBackend() = default;
  // A store kept in one file in QSettings' own format, wherever it lies:
  // for tests and tools.
  explicit QSettingsBackend(QString iniFile) : iniFile_(std::move(iniFile)) {}

  bool openKey(std::string_view path) override;
  bool ensureKey() override;
  StoredValue read(std::string_view name) override;
  WriteOutcome writeText(std::string_view name, std::string_view text) override;

  // Where the values are kept: a file path or a registry path.
  QString location() const;

 private:
  QString organization_;
  QString application_;
  QString iniFile_;
};

}  // namespace wuffel
