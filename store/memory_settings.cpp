#include "store/memory_settings.h"

namespace wuffel {

MemorySettings::Value* MemorySettings::find(std::string_view name) {
  for (auto& v : values_)
    if (sameValueName(v.name, name)) return &v;
  return nullptr;
}

StoredValue MemorySettings::read(std::string_view name) {
  const Value* v = find(name);
  if (!v) return {StoredValue::Outcome::Missing, false, {}};
  return {StoredValue::Outcome::Found, v->isText, v->isText ? v->text : std::string()};
}

WriteOutcome MemorySettings::updateText(std::string_view name, const WriteDecision& decide) {
  if (refusesWrites) return WriteOutcome::Refused;
  const auto text = decide(read(name));
  if (!text) return WriteOutcome::Kept;
  put(name, true, *text);
  return WriteOutcome::Written;
}

void MemorySettings::put(std::string_view name, bool isText, std::string_view text) {
  if (Value* v = find(name)) {
    v->isText = isText;
    v->text = std::string(text);
    return;
  }
  values_.push_back({std::string(name), isText, std::string(text)});
}

}  // namespace wuffel
