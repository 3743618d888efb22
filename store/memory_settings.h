// A settings store that lives in memory: for the scenario runner and the
// tests. Values keep the order they were created in.
#pragma once

#include <string>
#include <vector>

#include "store/settings_backend.h"

namespace wuffel {

class MemorySettings : public SettingsBackend {
 public:
  struct Value {
    std::string name;
    bool isText = true;
    std::string text;  // a non-text value holds its number as text, for listing
  };

  bool useKey(std::string_view) override { return true; }
  bool ensureKey() override { return true; }
  StoredValue read(std::string_view name) override;
  WriteOutcome updateText(std::string_view name, const WriteDecision& decide) override;

  // Puts a value in place without counting as a write of the game's.
  void put(std::string_view name, bool isText, std::string_view text);
  const std::vector<Value>& values() const { return values_; }
  // Refuses every write, also one that would leave the value as it is.
  bool refusesWrites = false;

 private:
  Value* find(std::string_view name);
  std::vector<Value> values_;
};

}  // namespace wuffel
