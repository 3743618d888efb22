// The core's texts are UTF-8 string views; Qt wants QStrings.
#pragma once

#include <string_view>

#include <QString>

namespace wuffel {

inline QString qtText(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace wuffel
