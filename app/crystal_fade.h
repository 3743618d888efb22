// The slow response of twisted-nematic crystal: a segment darkens over about
// 40 ms once driven and clears over about 120 ms once let go, so a fast ball
// leaves a short trail. Times are passed in, so that a picture of any moment
// can be drawn.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <vector>

#include "face/electrodes.h"
#include "face/face.h"

namespace wuffel {

// The digit glyphs holding one dot of a digit position, a bit per digit.
using GlyphSet = std::uint16_t;
GlyphSet glyphBit(ElementId glyph);

class CrystalFade {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr std::chrono::milliseconds kDarkening{40};
  static constexpr std::chrono::milliseconds kClearing{120};

  // How dark crystal is, 0 clear to 1 fully dark, `elapsed` after its drive
  // switched while it was `from` dark.
  static float response(float from, bool driven, Clock::duration elapsed);

  // Every electrode and digit position as the face shows it, at rest.
  void settle(const Face& face);
  // The face changed `id`: its electrode or digit position follows from `now`.
  void follow(const Face& face, ElementId id, Clock::time_point now);

  // The darkness of a segment's electrode.
  float darkness(ElementId electrode, Clock::time_point now) const;
  // The darkness of the dots of a digit position that `holders` hold.
  float digitDarkness(ElementId position, GlyphSet holders, Clock::time_point now) const;
  // When the electrode or digit position comes to rest.
  Clock::time_point restsAt(ElementId id) const;

 private:
  struct Electrode {
    bool driven = false;
    float from = 0;  // darkness when the drive last switched
    Clock::time_point since{};
  };
  // What a digit position showed since the last moment it was at rest; the
  // first entry is at rest.
  struct Shown {
    GlyphSet glyph = 0;  // no bit: blank
    Clock::time_point since{};
  };

  std::array<Electrode, kElementCount> electrodes_{};
  std::array<std::vector<Shown>, kElementCount> digits_{};
};

}  // namespace wuffel
