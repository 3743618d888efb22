// What the tests reach inside the handheld besides its events: the state
// every handler shares, to set a situation up or look at it, and the
// routines they try one at a time.
#pragma once

#include "game/handheld.h"

namespace wuffel {

class HandheldTestAccess {
 public:
  explicit HandheldTestAccess(Handheld& h) : face(h.face), vars(h.vars), rally(h.rally), h_(h) {}

  Face& face;
  GameVariables& vars;
  RallyState& rally;
  IntervalTimer& timer(TimerId id) { return h_.timer(id); }

  void RiempiSchermo() { h_.RiempiSchermo(); }
  void SvuotaSchermo() { h_.SvuotaSchermo(); }
  void PreparaSchermo() { h_.PreparaSchermo(); }
  void MostraWuffel() { h_.MostraWuffel(); }
  void NascondiWuffel() { h_.NascondiWuffel(); }
  void MostraVite() { h_.MostraVite(); }
  void TrasformaScore(std::int32_t& value) { h_.TrasformaScore(value); }
  void MuoviBall1(int lane) { h_.MuoviBall1(lane); }
  void MuoviBall2(int lane) { h_.MuoviBall2(lane); }
  void ProcBrunna(int lane) { h_.ProcBrunna(lane); }

 private:
  Handheld& h_;
};

}  // namespace wuffel
