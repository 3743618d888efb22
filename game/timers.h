// The nine interval timers of the main window, in creation order.
#pragma once

#include <array>
#include <string_view>

namespace wuffel {

enum class TimerId {
  TimerClock,
  TimerMiss,
  TimerMPlayerMiss,
  TimerZZZ,
  TimerChance,
  TimerBlink,
  TimerRacchetta,
  TimerGioco,
  TimerPrimaPalla,
};

struct TimerInfo {
  TimerId id;
  std::string_view name;
  int intervalAtCreation;
};

// The game tick: TimerGioco's interval when created and when a game starts.
inline constexpr int kStartingTickMs = 220;

inline constexpr std::array<TimerInfo, 9> kTimers{{
    {TimerId::TimerClock, "TimerClock", 1000},
    {TimerId::TimerMiss, "TimerMiss", 1000},
    {TimerId::TimerMPlayerMiss, "TimerMPlayerMiss", 1},
    {TimerId::TimerZZZ, "TimerZZZ", 350},
    {TimerId::TimerChance, "TimerChance", 1},
    {TimerId::TimerBlink, "TimerBlink", 800},
    {TimerId::TimerRacchetta, "TimerRacchetta", 380},
    {TimerId::TimerGioco, "TimerGioco", kStartingTickMs},
    {TimerId::TimerPrimaPalla, "TimerPrimaPalla", 800},
}};

inline constexpr const TimerInfo& timerInfo(TimerId id) { return kTimers[static_cast<std::size_t>(id)]; }

// Every timer that plays a game, which BloccaTimers stops and a pause holds:
// all but TimerClock, in the order BloccaTimers stops them.
inline constexpr std::array<TimerId, 8> kGameTimers{
    TimerId::TimerMiss,  TimerId::TimerMPlayerMiss, TimerId::TimerZZZ,   TimerId::TimerChance,
    TimerId::TimerBlink, TimerId::TimerRacchetta,   TimerId::TimerGioco, TimerId::TimerPrimaPalla,
};

}  // namespace wuffel
