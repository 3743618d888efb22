#include "app/crystal_fade.h"

#include <algorithm>
#include <cassert>

namespace wuffel {

namespace {

// What a digit position shows to the eye: its glyph while it is visible.
GlyphSet shownGlyph(const Face& face, ElementId position) {
  const auto picture = face.picture(position);
  return face.visible(position) && picture ? glyphBit(*picture) : 0;
}

float restingDarkness(bool driven) { return driven ? 1.0f : 0.0f; }

}  // namespace

GlyphSet glyphBit(ElementId glyph) {
  const auto digit = static_cast<int>(indexOf(glyph)) - static_cast<int>(indexOf(ElementId::Im_Num0));
  assert(elementInfo(glyph).kind == ElementKind::DigitGlyph && digit >= 0 && digit < 16);
  return static_cast<GlyphSet>(1u << digit);
}

float CrystalFade::response(float from, bool driven, Clock::duration elapsed) {
  using Ms = std::chrono::duration<float, std::milli>;
  if (driven) return std::min(1.0f, from + Ms(elapsed).count() / Ms(kDarkening).count());
  return std::max(0.0f, from - Ms(elapsed).count() / Ms(kClearing).count());
}

void CrystalFade::settle(const Face& face) {
  for (const auto& e : kElements) {
    if (e.kind == ElementKind::Segment && electrodeOf(e.id) == e.id) {
      const bool lit = litMember(face, e.id).has_value();
      electrodes_[indexOf(e.id)] = {lit, restingDarkness(lit), {}};
    } else if (e.kind == ElementKind::DigitPosition) {
      digits_[indexOf(e.id)] = {{shownGlyph(face, e.id), {}}};
    }
  }
}

void CrystalFade::follow(const Face& face, ElementId id, Clock::time_point now) {
  const auto& e = elementInfo(id);
  if (e.kind == ElementKind::Segment) {
    Electrode& electrode = electrodes_[indexOf(electrodeOf(id))];
    const bool lit = litMember(face, electrodeOf(id)).has_value();
    if (lit == electrode.driven) return;
    electrode = {lit, response(electrode.from, electrode.driven, now - electrode.since), now};
  } else if (e.kind == ElementKind::DigitPosition) {
    auto& shown = digits_[indexOf(id)];
    const GlyphSet glyph = shownGlyph(face, id);
    if (shown.empty()) shown.push_back({glyph, now});
    if (glyph == shown.back().glyph) return;
    // Once the last change has run its course, every dot is at rest.
    if (now - shown.back().since >= std::max(kDarkening, kClearing)) shown.erase(shown.begin(), shown.end() - 1);
    shown.push_back({glyph, now});
  }
}

float CrystalFade::darkness(ElementId electrode, Clock::time_point now) const {
  const Electrode& e = electrodes_[indexOf(electrode)];
  return response(e.from, e.driven, now - e.since);
}

float CrystalFade::digitDarkness(ElementId position, GlyphSet holders, Clock::time_point now) const {
  const auto& shown = digits_[indexOf(position)];
  if (shown.empty()) return 0;
  auto driven = [&](const Shown& s) { return (s.glyph & holders) != 0; };
  float level = restingDarkness(driven(shown.front()));
  for (std::size_t i = 1; i < shown.size(); ++i)
    level = response(level, driven(shown[i - 1]), shown[i].since - shown[i - 1].since);
  return response(level, driven(shown.back()), now - shown.back().since);
}

CrystalFade::Clock::time_point CrystalFade::restsAt(ElementId id) const {
  if (elementInfo(id).kind == ElementKind::DigitPosition) {
    const auto& shown = digits_[indexOf(id)];
    return shown.size() < 2 ? Clock::time_point{} : shown.back().since + std::max(kDarkening, kClearing);
  }
  const Electrode& e = electrodes_[indexOf(electrodeOf(id))];
  const float distance = e.driven ? 1 - e.from : e.from;
  const auto duration = e.driven ? kDarkening : kClearing;
  return e.since + std::chrono::duration_cast<Clock::duration>(duration * distance);
}

}  // namespace wuffel
