#include "frontend/addresses.h"

#include <algorithm>
#include <array>

#include "game/documents.h"

namespace wuffel {

namespace {
constexpr std::array kSiteDocuments{kReadmeDocument, kWhatsnewDocument};
}  // namespace

bool isAddress(std::string_view target) { return target.find(':') != std::string_view::npos; }

std::string relativePathOf(std::string_view target) {
  std::string path(target);
  std::replace(path.begin(), path.end(), '\\', '/');
  return path.rfind("./", 0) == 0 ? path.substr(2) : path;
}

std::string siteAddressOf(std::string_view target) {
  if (isAddress(target)) return std::string(target);
  if (std::find(kSiteDocuments.begin(), kSiteDocuments.end(), target) != kSiteDocuments.end())
    return relativePathOf(target);
  return {};
}

}  // namespace wuffel
