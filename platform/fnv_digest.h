// A 64-bit FNV-1a digest: small, fast and the same on every platform, for
// telling apart game states and rule tables (not for security).
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace wuffel {

class FnvDigest {
 public:
  FnvDigest& add(std::string_view bytes) {
    for (const unsigned char c : bytes) {
      value_ ^= c;
      value_ *= 0x100000001b3ULL;
    }
    return *this;
  }
  FnvDigest& add(std::int64_t number) { return add(std::to_string(number)).add(","); }
  std::uint64_t value() const { return value_; }
  // Sixteen lower-case hex digits.
  std::string hex() const {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value_));
    return text;
  }

 private:
  std::uint64_t value_ = 0xcbf29ce484222325ULL;
};

}  // namespace wuffel
