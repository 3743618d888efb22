#include "sim/day_of_play.h"

#include <random>
#include <sstream>

#include "game/menu_items.h"
#include "sim/virtual_handheld.h"
#include "store/memory_settings.h"

namespace wuffel::sim {

namespace {

using E = ElementId;
constexpr std::size_t kMostViolationsKept = 20;

PlatformSetup utcAtZero(std::int64_t ms) {
  PlatformSetup setup;
  setup.utcAtZero = ms;
  return setup;
}

class Day {
 public:
  Day(std::uint32_t seed, std::int64_t length)
      : random_(seed), length_(length), sim_(utcAtZero(seed % kMillisecondsPerDay), store_) {}

  Outcome run() {
    h().start();
    check("start");
    h().splashPlay();
    while (sim_.now() < length_ && outcome_.violations.size() < kMostViolationsKept) episode();
    outcome_.virtualMs = sim_.now();
    outcome_.bestScore = bestScore_;
    return outcome_;
  }

 private:
  Handheld& h() { return sim_.handheld; }
  int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
  bool chance(int percent) { return below(100) < percent; }

  void episode() {
    const int pick = below(100);
    if (pick < 45) return play(1000 + below(120000));
    if (pick < 60) return idle(chance(5) ? 600000 + below(1800000) : below(90000));
    if (pick < 80) return clickButton();
    if (pick < 90) return mashKeys();
    if (pick < 95) return useMenu();
    return dragFace();
  }

  // Time passes tick by tick, with the promises checked after each.
  void wait(std::int64_t ms) {
    sim_.advanceTo(sim_.now() + ms, [this](int index) {
      const TimerId id = kTimers[static_cast<std::size_t>(index)].id;
      const int phase = h().variables().TickPhase;
      h().timerFired(index);
      if (id == TimerId::TimerGioco) ++outcome_.gameTicks;
      check(kTimers[static_cast<std::size_t>(index)].name, id == TimerId::TimerGioco ? phase : 0);
    });
  }

  void idle(std::int64_t ms) { wait(ms); }

  // A player who watches the racket cells and swings in time, now and then
  // too late or in the wrong lane.
  void play(std::int64_t ms) {
    const std::int64_t end = sim_.now() + ms;
    const int carelessness = below(20);
    while (sim_.now() < end) {
      wait(40 + below(120));
      const int lane = laneWithBallAtRacket();
      if (lane == 0 || chance(carelessness)) continue;
      const int target = chance(carelessness) ? 1 + below(kLanes) : lane;
      while (h().variables().PlayerLane < target && h().variables().PlayerActive) tap(VirtualKey::Down);
      while (h().variables().PlayerLane > target && h().variables().PlayerActive) tap(VirtualKey::Up);
      tap(VirtualKey::Ctrl);
    }
  }

  int laneWithBallAtRacket() {
    for (int lane = 1; lane <= kLanes; ++lane)
      if (h().faceState().visible(kSegmentTables.throwCell(lane, kRacketThrowCell)) ||
          h().rallyState().cell(lane, kRacketRallyCell).incoming)
        return lane;
    return 0;
  }

  void tap(VirtualKey key) {
    event("keydown", [&] { h().keyDown(key); });
    wait(10 + below(40));
    event("keyup", [&] { h().keyUp(key); });
    wait(below(30));
  }

  // Keys held with auto-repeat, several at once, released in any order.
  void mashKeys() {
    // Every key but Esc, which would end the program.
    static constexpr std::array<VirtualKey, 8> kKeys{VirtualKey::Ctrl, VirtualKey::Up, VirtualKey::Down,
                                                     kOtherKey,        VirtualKey::F1, VirtualKey::F2,
                                                     VirtualKey::F3,   VirtualKey::F4};
    std::vector<VirtualKey> held;
    for (int n = 1 + below(3); n > 0; --n) {
      const VirtualKey key = kKeys[static_cast<std::size_t>(below(static_cast<int>(kKeys.size())))];
      held.push_back(key);
      event("keydown", [&] { h().keyDown(key); });
      for (int repeats = below(12); repeats > 0; --repeats) {
        wait(33);
        event("keydown (repeat)", [&] { h().keyDown(key); });
      }
    }
    std::shuffle(held.begin(), held.end(), random_);
    for (VirtualKey key : held) {
      wait(below(200));
      event("keyup", [&] { h().keyUp(key); });
    }
  }

  void clickButton() {
    static constexpr std::array<E, 4> kButtons{E::Puls_GameA, E::Puls_GameB, E::Puls_Time, E::Puls_ACL};
    // The reset is pressed seldom: it throws away the game in play.
    const E button = chance(8) ? E::Puls_ACL : kButtons[static_cast<std::size_t>(below(3))];
    const MouseButton mouse = chance(80) ? MouseButton::Left : chance(50) ? MouseButton::Right : MouseButton::Middle;
    const auto& at = elementInfo(button);
    const int x = at.left + below(at.width), y = at.top + below(at.height);
    event("press", [&] { h().mousePress(x, y, mouse); });
    wait(chance(10) ? below(30000) : below(600));
    event("release", [&] { h().mouseRelease(x, y, mouse); });
  }

  // A right click anywhere, then a command of the menu but "Exit"; now and
  // then the about dialog is closed again.
  void useMenu() {
    const int x = below(elementInfo(E::Im_Base).width), y = below(elementInfo(E::Im_Base).height);
    event("press", [&] { h().mousePress(x, y, MouseButton::Right); });
    wait(below(300));
    event("release", [&] { h().mouseRelease(x, y, MouseButton::Right); });
    wait(200 + below(2000));
    static constexpr std::array<MenuCommand, 5> kCommands{MenuCommand::PM_1About, MenuCommand::PM_3Readme,
                                                          MenuCommand::PM_4Whatsnew, MenuCommand::PM_6Instruct,
                                                          MenuCommand::PM_8HiScore};
    // Resetting the best scores is rare: it would hide how high they got.
    const MenuCommand command = chance(10) ? MenuCommand::PM_8HiScore : kCommands[static_cast<std::size_t>(below(4))];
    event("menu", [&] { h().chooseMenuItem(command); });
    if (chance(50)) event("close AboutForm", [&] { h().closeAboutForm(); });
  }

  void dragFace() {
    const auto& face = elementInfo(E::Im_BaseTop);
    const int x = face.left + below(face.width), y = face.top + below(face.height);
    event("press", [&] { h().mousePress(x, y, MouseButton::Left); });
    for (int n = below(10); n > 0; --n) {
      wait(16);
      event("move", [&] { h().mouseMove(x + below(9) - 4, y + below(9) - 4, {true, false, false}); });
    }
    event("release", [&] { h().mouseRelease(x, y, MouseButton::Left); });
  }

  template <typename F>
  void event(const char* what, F&& handle) {
    handle();
    ++outcome_.events;
    check(what);
  }

  void fail(const std::string& what, const std::string& why) {
    if (outcome_.violations.size() >= kMostViolationsKept) return;
    std::ostringstream s;
    s << sim_.now() << " ms after " << what << ": " << why;
    outcome_.violations.push_back(s.str());
  }

  // The lanes whose rally track steps in each phase of the game tick.
  static std::vector<int> lanesSteppedIn(int phase) {
    switch (phase) {
      case 1: case 4: return {1};
      case 2: case 5: return {3};
      case 3: case 6: return {2};
      default: return {};
    }
  }

  // `tickPhase` is the phase a game tick just ran, or 0 after any other event.
  void check(std::string_view what, int tickPhase = 0) {
    const auto& v = h().variables();
    const std::string event(what);
    auto on = [&](TimerId id) { return h().timerState(id).enabled(); };

    if (v.GameRunning && !wasRunning_) ++outcome_.gamesStarted;
    if (!v.GameRunning && wasRunning_ && on(TimerId::TimerZZZ)) ++outcome_.gamesOver;
    if (v.ChanceStep == 1 && on(TimerId::TimerChance) && !wasChance_) ++outcome_.chances;
    wasChance_ = v.ChanceStep == 1 && on(TimerId::TimerChance);

    bestScore_ = std::max({bestScore_, v.HiScoreA, v.HiScoreB});
    if (sim_.messageLoop.quits > 0) fail(event, "the program ended");
    if (v.LivesLeft < 0 || v.LivesLeft > 3) fail(event, "LivesLeft is " + std::to_string(v.LivesLeft));
    if (v.Score > 9999) fail(event, "the score passed 9999");
    const bool newGame = v.GameRunning && !wasRunning_;
    if (v.Score < lastScore_ && !(newGame && v.Score == 0))
      fail(event, "the score fell from " + std::to_string(lastScore_) + " to " + std::to_string(v.Score));
    lastScore_ = v.Score;
    wasRunning_ = v.GameRunning;

    if (v.PlayerActive) {
      int lanes = 0;
      for (int lane = 1; lane <= kLanes; ++lane)
        if (h().faceState().visible(kSegmentTables.pose(lane, Pose::Body))) ++lanes;
      if (lanes != 1 || !h().faceState().visible(kSegmentTables.pose(v.PlayerLane, Pose::Body)))
        fail(event, "the player stands in " + std::to_string(lanes) + " lanes while play runs");
    }

    // A rally cell follows its flags after each step of its lane.
    if (!v.MissPending)
      for (int lane : lanesSteppedIn(tickPhase))
        for (int c = 0; c < kRallyCells; ++c) {
          const auto& flags = h().rallyState().cell(lane, c);
          if (h().faceState().visible(kSegmentTables.rallyCell(lane, c)) != (flags.incoming || flags.outgoing))
            fail(event, "rally cell " + std::to_string(c) + " of lane " + std::to_string(lane) +
                            " is lit against its flags");
        }

    auto offWhile = [&](bool state, const char* stateName, std::initializer_list<TimerId> off) {
      if (!state) return;
      for (TimerId id : off)
        if (on(id)) fail(event, std::string(timerInfo(id).name) + " runs " + stateName);
    };
    offWhile(on(TimerId::TimerMiss), "during a miss",
             {TimerId::TimerGioco, TimerId::TimerChance, TimerId::TimerBlink, TimerId::TimerRacchetta,
              TimerId::TimerPrimaPalla, TimerId::TimerZZZ, TimerId::TimerClock});
    offWhile(on(TimerId::TimerChance), "during a chance",
             {TimerId::TimerGioco, TimerId::TimerMiss, TimerId::TimerMPlayerMiss, TimerId::TimerBlink,
              TimerId::TimerRacchetta, TimerId::TimerPrimaPalla, TimerId::TimerZZZ, TimerId::TimerClock});
    offWhile(!v.GameRunning, "with no game",
             {TimerId::TimerGioco, TimerId::TimerMiss, TimerId::TimerChance, TimerId::TimerBlink,
              TimerId::TimerRacchetta});
    offWhile(v.GameRunning, "during a game", {TimerId::TimerZZZ, TimerId::TimerClock});
    offWhile(!v.ChanceActive, "with no bonus", {TimerId::TimerBlink});

    if (!sim_.errorBox.shown.empty()) {
      fail(event, "an error box: " + sim_.errorBox.shown.front());
      sim_.errorBox.shown.clear();
    }
  }

  std::mt19937 random_;
  std::int64_t length_;
  MemorySettings store_;
  VirtualHandheld sim_;
  Outcome outcome_;
  std::int32_t lastScore_ = 0;
  std::int32_t bestScore_ = 0;
  bool wasRunning_ = false;
  bool wasChance_ = false;
};

}  // namespace

Outcome playDay(std::uint32_t seed, std::int64_t virtualMs) { return Day(seed, virtualMs).run(); }

}  // namespace wuffel::sim
