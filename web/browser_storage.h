// localStorage as the page reaches it through the glue. A browser that
// refuses storage altogether (some private modes) reads as empty and
// refuses every write.
#pragma once

#include "web/local_storage_settings.h"

namespace wuffel::web {

class BrowserStorage : public KeyValueStorage {
 public:
  std::vector<std::string> keys() const override;
  std::optional<std::string> get(const std::string& key) const override;
  bool set(const std::string& key, const std::string& value) override;
};

}  // namespace wuffel::web
