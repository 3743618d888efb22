// The best scores in the browser's localStorage, one item per value under
// the key's last name ("WuffelTennis/HiScoreA"). Value names compare
// without regard to case, as in the desktop's store; a write that the
// browser refuses (private mode, a full quota) is refused like a write the
// desktop's store cannot make.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "store/settings_backend.h"

namespace wuffel::web {

// The storage the page has: localStorage, or a stand-in in the tests.
class KeyValueStorage {
 public:
  virtual ~KeyValueStorage() = default;
  virtual std::vector<std::string> keys() const = 0;
  virtual std::optional<std::string> get(const std::string& key) const = 0;
  virtual bool set(const std::string& key, const std::string& value) = 0;  // false when refused
};

class LocalStorageSettings : public SettingsBackend {
 public:
  explicit LocalStorageSettings(KeyValueStorage& storage) : storage_(storage) {}

  bool useKey(std::string_view path) override;
  bool ensureKey() override { return true; }
  StoredValue read(std::string_view name) override;
  // One page's script runs at a time, so nothing comes between the read and
  // the write.
  WriteOutcome updateText(std::string_view name, const WriteDecision& decide) override;

  const std::string& prefix() const { return prefix_; }

 private:
  std::optional<std::string> existingKey(std::string_view name) const;

  KeyValueStorage& storage_;
  std::string prefix_;
};

}  // namespace wuffel::web
