// The handheld: the one object that holds what every handler shares (the
// face, the game variables, the rally state, the timers, the sound channels,
// the store) and the handlers themselves. Each group of handlers lives in a
// file of its own, named after what it does.
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "face/face.h"
#include "face/segment_tables.h"
#include "game/controls.h"
#include "game/game_events.h"
#include "game/inputs.h"
#include "game/menu_items.h"
#include "game/player_events.h"
#include "game/rally_state.h"
#include "game/random_draws.h"
#include "game/timers.h"
#include "game/variables.h"
#include "platform/dispatcher.h"
#include "platform/input.h"
#include "platform/interval_timer.h"
#include "platform/ports.h"
#include "platform/stretched_scheduler.h"
#include "sound/channel.h"
#include "store/hiscore_store.h"
#include "store/player_settings_store.h"
#include "store/settings_backend.h"

namespace wuffel {

// What the handheld calls: each front end, the runner and the tests pass
// their own.
struct HandheldPorts {
  TimerScheduler& scheduler;
  TimeOfDay& timeOfDay;
  WindowSystem& windows;
  ErrorBox& errorBox;
  Shell& shell;
  SoundChannels& sound;
  SettingsBackend& store;  // where the best scores and the players' settings are kept
  SystemBeep& beep;
  MessageLoop& messageLoop;
  QuestionBox& questions;
  TimerObserver* timerObserver = nullptr;
  StoreObserver* storeObserver = nullptr;
  PlayerEvents* playerEvents = nullptr;
};

class Handheld {
 public:
  explicit Handheld(HandheldPorts ports);

  // Events from the window system; each runs through the dispatcher.
  void start();  // Form1 with FormCreate, AboutForm, SplashForm, then Form1 shown and activated
  void activateMainWindow();
  void timerFired(int timerIndex);
  void mousePress(int x, int y, MouseButton button);
  void mouseMove(int x, int y, MouseButtons held);
  void mouseRelease(int x, int y, MouseButton button);
  void keyDown(VirtualKey key);
  void keyUp(VirtualKey key);
  void splashPlay();
  void splashEmail();
  void splashHttp();
  void closeAboutForm();
  void closeSettingsForm();  // the settings dialog was closed
  void chooseMenuItem(MenuCommand command);  // chosen in the menu or by its shortcut key
  void deactivateMainWindow();  // the focus went to another program
  // A control held by something other than a key: the mouse or touch on the
  // HIT, UP and DOWN buttons, or a gamepad's button.
  void controlDown(Control control, ControlSource source);
  void controlUp(Control control, ControlSource source);

  // The players' settings, read from the store when the handheld is made.
  const PlayerSettings& settings() const { return settings_; }
  // Where the settings are stored; the window's remembered place is kept there too.
  PlayerSettingsStore& settingsStore() { return settingsStore_; }
  // Applies a setting at once and stores it; false when the store refused
  // it, in which case it holds for this run.
  bool changeSetting(Setting setting, int value);
  // Every setting back to the original behaviour; false if any was not stored.
  bool restoreDefaultSettings();
  // A game is paused, until P or a left click on the handheld.
  bool paused() const { return paused_; }
  // How a menu item reads and whether it can be chosen now.
  MenuItemState menuItemState(const MenuItem& item) const;

  // The element holding the mouse after a left press, if any.
  std::optional<ElementId> mouseCapture() const { return capture_; }
  // Where a mouse event at a client point goes: the capturing element, else
  // the topmost visible element there.
  std::optional<ElementId> mouseTarget(int x, int y) const { return capture_ ? capture_ : face.elementAt(x, y); }

  // What a front end draws, and what the runner's dump shows.
  void observeFace(FaceObserver* observer) { face.addObserver(observer); }
  // Who hears of each input as it arrives, in the order they were added.
  void observeInputs(InputObserver* observer) { inputObservers_.push_back(observer); }
  // Who hears what happens in a game, in the order they were added.
  void observeGame(GameEvents* observer) { gameObservers_.push_back(observer); }
  const Face& faceState() const { return face; }
  const GameVariables& variables() const { return vars; }
  const RallyState& rallyState() const { return rally; }
  const IntervalTimer& timerState(TimerId id) const { return *timers_[static_cast<std::size_t>(id)]; }
  // The best scores of games played slower or with the assist, each as the
  // store held it when first read in this run (a replay needs them there).
  const std::vector<std::pair<std::string, std::int32_t>>& aidedBestsRead() const { return aidedBestsRead_; }

 private:
  friend class HandheldTestAccess;  // the tests' view of the state below

  IntervalTimer& timer(TimerId id) { return *timers_[static_cast<std::size_t>(id)]; }

  // Reports an input from outside to the input observers; the inputs and
  // ticks it leads to inside the handheld are not reported again.
  class Arrival {
   public:
    Arrival(Handheld& handheld, const Input* input);
    ~Arrival();
    Arrival(const Arrival&) = delete;
    Arrival& operator=(const Arrival&) = delete;

   private:
    Handheld& handheld_;
    bool outermost_;
  };
  Arrival arrived(const Input& input) { return Arrival(*this, &input); }
  SoundChannel& channel(ChannelId id) { return ports_.sound[id]; }

  // Start-up and the windows.
  void FormCreate();
  void FormActivate();

  // Mouse routing and the drag of the window.
  void Im_BaseMouseDown(MouseButton button, int x, int y);
  void Im_BaseMouseMove(MouseButtons held, int x, int y);
  void elementMouseDown(ElementId id, MouseButton button, int x, int y);
  void elementMouseMove(ElementId id, MouseButtons held, int x, int y);
  void elementMouseUp(ElementId id, MouseButton button);

  // Screen routines.
  void RiempiSchermo();
  void SvuotaSchermo();
  void PreparaSchermo();
  void MostraWuffel();
  void NascondiWuffel();
  void MostraVite();
  void TrasformaScore(std::int32_t& value);
  void showNumber(std::int32_t n);
  void showDigit(int position, int digit);  // position 0..3, left to right

  // The game buttons and the start and stop of play.
  void gameButtonDown(ElementId button, ElementId label, std::int32_t& hiScore, MouseButton mouse);
  void gameButtonUp(ElementId button, GameModeValue mode, MouseButton mouse);
  void Puls_ACLMouseDown();
  void Puls_ACLMouseUp();
  void AvviaGioco();
  void BloccaTimers();
  void BloccaMPlayers();
  void TimerPrimaPallaTimer();
  void forgetCutOffChance();

  // The clock.
  void Puls_TimeMouseDown(MouseButton mouse);
  void Puls_TimeMouseUp(MouseButton mouse);
  void TimerClockTimer();

  // The command menu.
  void PM_1AboutClick();
  void PM_3ReadmeClick();
  void PM_4WhatsnewClick();
  void PM_6InstructClick();
  void PM_8HiScoreClick();
  void PM_SettingsClick();
  void PM_PauseClick();
  void PM_10ExitClick();
  void resetHiScores();

  // The questions asked first with modern keys (questions.cpp). Once
  // answered yes, the step runs; a game running meanwhile waits, paused, and
  // goes on afterwards unless the step ends the program.
  enum class AfterYes { GameGoesOn, ProgramEnds };
  void askFirst(const std::string& question, void (Handheld::*step)(), AfterYes afterYes);
  void quit() { ports_.messageLoop.quit(); }

  // The player's keys and swing.
  void FormKeyDown(VirtualKey key);
  void FormKeyUp(VirtualKey key);
  void TimerRacchettaTimer();

  // Modern keys and the controls (controls.cpp).
  void pressControl(Control control, ControlSource source);
  void releaseControl(Control control, ControlSource source);
  void actOnPress(Control control);
  bool isHeld(ControlSource source) const;

  // The pause (pause.cpp).
  bool canPause() const;
  void pause();
  void resume();
  // Who holds a pause: the player, or a window over the game (the settings,
  // a question), whose closing lets the game go on unless the player has
  // resumed it, and so taken the pause over, in between.
  enum class PauseHolder { Player, Settings, Question };
  void holdGameFor(PauseHolder holder);
  void releaseGameFrom(PauseHolder holder);
  // A mouse event that the pause takes for itself; true when taken.
  bool pauseTakesPress(MouseButton button);
  bool pauseTakesRelease(MouseButton button);
  bool pauseTakesMove() const { return !swallowedButtons_.empty(); }

  // The settings (settings_changes.cpp).
  void applySetting(Setting setting);

  // Games played slower or with the assist keep best scores of their own,
  // apart from the original ones (aided_bests.cpp).
  struct PlayAids {
    int speed = kOriginalSpeed;
    bool assist = false;
    bool any() const { return speed != kOriginalSpeed || assist; }
  };
  PlayAids aidsNow() const { return {settings_.speed(), settings_.assist()}; }
  void noteAidsOfGame(bool gameStarts);
  std::int32_t readAidedBest(GameModeValue mode, PlayAids aids);
  bool raiseAidedBest(GameModeValue mode, PlayAids aids, std::int32_t score);
  void resetAidedBests();
  void showingAidedBest(bool shown);

  // The assist: the player steps to the lane of the ball that reaches the
  // racket next (assist.cpp).
  void assistPlayer();
  std::optional<int> laneOfNextBall() const;
  int ticksUntil(int steps, int lane, bool throwTrack) const;
  bool assistSwingsFor(ElementId id, MouseButton button) const;
  VirtualKey assistKey(VirtualKey key) const;

  // The game tick, the throw track, the rally track and the opponent.
  void TimerGiocoTimer();
  void MuoviBall1(int lane);
  void MuoviBall2(int lane);
  void ProcBrunna(int lane);
  void throwerStep(bool ballInPlay);
  bool ballInPlay() const;

  // The score rules, applied by TrasformaScore while a game runs.
  void testChance();
  void applyPace();

  // The miss sequence, the game over and the sleep animation.
  void startMiss();
  void TimerMissTimer();
  void missStep(int step);
  void TimerMPlayerMissTimer();
  void TimerZZZTimer();
  bool gameOverScore();

  // The chance and its bonus.
  void startChance();
  void TimerChanceTimer();
  void chanceOutcome();
  void TimerBlinkTimer();

  // Random draws: re-seed from the UTC time of day, then draw below n.
  void reseed();
  int drawBelow(int n);

  // What every handler shares.
  Face face;
  GameVariables vars;
  RallyState rally;
  static constexpr const SegmentTables& tables = kSegmentTables;

  HandheldPorts ports_;
  // Every timer runs on the clock through it, at the game's speed.
  StretchedScheduler pace_{ports_.scheduler};
  Dispatcher dispatcher_;
  std::vector<InputObserver*> inputObservers_;
  std::vector<GameEvents*> gameObservers_;
  template <class Event, class... Args>
  void tell(Event event, Args... args) {
    for (auto* observer : gameObservers_) (observer->*event)(args...);
  }
  bool handlingEvent_ = false;
  std::array<std::unique_ptr<IntervalTimer>, kTimers.size()> timers_;
  std::optional<HiScoreStore> hiScoreStore_;
  std::optional<ElementId> capture_;
  // The game button whose press now shows its best score, set up for play.
  std::optional<ElementId> bestScoreShownBy_;
  RandomDraws draws_;

  PlayerSettingsStore settingsStore_;
  PlayerSettings settings_;
  // Controls held down, each by its source, for modern keys and gamepads.
  std::vector<std::pair<ControlSource, Control>> heldControls_;
  bool paused_ = false;
  PauseHolder pauseHolder_ = PauseHolder::Player;
  // A question waits for its answer; no second one is asked meanwhile.
  bool questionOpen_ = false;
  // Mouse buttons pressed while paused, whose events end with their release.
  std::vector<MouseButton> swallowedButtons_;
  // The easiest aids the running (or last) game was played with.
  PlayAids gameAids_;
  std::vector<std::pair<std::string, std::int32_t>> aidedBestsRead_;
  bool aidedBestShown_ = false;
};

}  // namespace wuffel
