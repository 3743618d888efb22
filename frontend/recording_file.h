// What names a recording: its first comment lines, and the name of the
// file a game's recording is kept in.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "game/variables.h"

namespace wuffel {

inline constexpr std::string_view kRecordingFirstLine = "# wuffel-recording 1";
inline constexpr std::string_view kRecordingExtension = ".wuffel";
// No game's recording comes near this (a 10-minute game takes about 13 kB);
// a longer file is not read as one.
inline constexpr long long kLongestRecordingBytes = 16LL << 20;

struct RecordingHeader {
  std::string release;
  std::string rules;  // the rules digest
  char game = 'A';    // 'A' or 'B'
  std::string played;
  std::int64_t from = 0;  // when the game started, on the run's timeline
};

// The header of a recording's text, or none when the text is not a
// recording (its first line is not the recordings' own).
std::optional<RecordingHeader> readRecordingHeader(std::string_view text);

// "20261210-094107-A.wuffel": the local date and time of the game's start.
std::string recordingFileName(int year, int month, int day, std::int64_t localMsSinceMidnight, char game);
// The name for the n-th game (2, 3...) whose file would take `name`:
// "20261210-094107-A-2.wuffel".
std::string numberedFileName(std::string_view name, int n);
// The recording of the game that set the current best score: "best-A.wuffel".
std::string bestRecordingFileName(char game);

}  // namespace wuffel
