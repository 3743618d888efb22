#include "frontend/recording_file.h"

#include <cstdio>
#include <cstdlib>

namespace wuffel {

namespace {
// The word after "# NAME " on a header line, if the line is that one.
std::optional<std::string> headerValue(std::string_view line, std::string_view name) {
  const std::string prefix = "# " + std::string(name) + " ";
  if (line.substr(0, prefix.size()) != prefix) return std::nullopt;
  return std::string(line.substr(prefix.size()));
}
}  // namespace

std::optional<RecordingHeader> readRecordingHeader(std::string_view text) {
  RecordingHeader header;
  bool first = true;
  while (!text.empty()) {
    const auto end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (first) {
      if (line != kRecordingFirstLine) return std::nullopt;
      first = false;
    } else if (line.empty() || line[0] != '#') {
      break;
    } else if (auto v = headerValue(line, "release")) {
      header.release = *v;
    } else if (auto r = headerValue(line, "rules")) {
      header.rules = *r;
    } else if (auto g = headerValue(line, "game")) {
      if (*g != "A" && *g != "B") return std::nullopt;
      header.game = (*g)[0];
    } else if (auto p = headerValue(line, "played")) {
      header.played = *p;
    } else if (auto f = headerValue(line, "from")) {
      char* rest = nullptr;
      header.from = std::strtoll(f->c_str(), &rest, 10);
      if (f->empty() || *rest != '\0' || header.from < 0) return std::nullopt;
    }
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  if (first || header.rules.empty()) return std::nullopt;
  return header;
}

std::string recordingFileName(int year, int month, int day, std::int64_t localMs, char game) {
  char name[40];
  const auto seconds = static_cast<int>(localMs / 1000);
  std::snprintf(name, sizeof name, "%04d%02d%02d-%02d%02d%02d-%c.wuffel", year, month, day, seconds / 3600,
                seconds / 60 % 60, seconds % 60, game);
  return name;
}

std::string numberedFileName(std::string_view name, int n) {
  const std::string_view stem = name.substr(0, name.size() - kRecordingExtension.size());
  return std::string(stem) + "-" + std::to_string(n) + std::string(kRecordingExtension);
}

std::string bestRecordingFileName(char game) { return std::string("best-") + game + ".wuffel"; }

}  // namespace wuffel
