// The size and the checking time of recordings: a game played well by the
// tests' bot for 10 and for 60 minutes, its recording's bytes raw, deflated
// and as the URL-safe text of a link, and the time --verify takes to play
// the 60-minute game again (median of 7). `recording_bench DIR` also writes
// the 10-minute game's recording into DIR, to watch it.
#include <QByteArray>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <vector>

#include "sim/verify.h"
#include "tests/core/bot_player.h"

namespace {

wuffel::Recording played(std::int64_t minutes) {
  wuffel::testing::BotGame bot(10 * 3600000 + 14, 9);
  bot.play(minutes * 60000);
  return bot.recordings.at(0);
}

void sizes(const char* what, const wuffel::Recording& r) {
  const QByteArray raw = QByteArray::fromStdString(r.text);
  // qCompress puts a 4-byte length before zlib's stream; a link carries the stream.
  const QByteArray deflated = qCompress(raw, 9).mid(4);
  const QByteArray link = deflated.toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals);
  std::printf("%s: score %d, %lld bytes raw, %lld deflated, %lld in a link\n", what, r.score,
              static_cast<long long>(raw.size()), static_cast<long long>(deflated.size()),
              static_cast<long long>(link.size()));
}

}  // namespace

int main(int argc, char** argv) {
  const wuffel::Recording tenMinutes = played(10);
  sizes("10-minute game", tenMinutes);
  if (argc > 1) {
    const std::string path = std::string(argv[1]) + "/ten-minutes.wuffel";
    std::ofstream(path, std::ios::binary) << tenMinutes.text;
    std::printf("written to %s\n", path.c_str());
  }
  const wuffel::Recording hour = played(60);
  sizes("60-minute game", hour);
  std::vector<double> ms;
  for (int run = 0; run < 7; ++run) {
    std::ostringstream out, errors;
    const auto start = std::chrono::steady_clock::now();
    wuffel::sim::verifyRecording(hour.text, out, errors, "the game");
    ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    if (run == 0) std::printf("60-minute game: %s", out.str().c_str());
  }
  std::sort(ms.begin(), ms.end());
  std::printf("60-minute game: verified in %.1f ms (median of 7; fastest %.1f, slowest %.1f)\n", ms[3], ms[0], ms[6]);
}
