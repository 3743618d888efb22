// Start-up of the program, the main window's creation and activation, and
// the splash window's handlers.
#include "game/documents.h"
#include "game/handheld.h"

namespace wuffel {

Handheld::Handheld(HandheldPorts ports)
    : ports_(ports), dispatcher_(ports.errorBox), settingsStore_(ports.store), settings_(settingsStore_.load()) {
  for (std::size_t i = 0; i < kTimers.size(); ++i)
    timers_[i] = std::make_unique<IntervalTimer>(kTimers[i].name, static_cast<int>(i),
                                                 kTimers[i].intervalAtCreation, pace_,
                                                 ports_.timerObserver);
  applySetting(Setting::Volume);
  applySetting(Setting::Speed);
}

void Handheld::start() {
  const auto arrival = arrived(input::Start{});
  // Form1 exists off the screen; its creation handler runs before the other windows exist.
  dispatcher_.run([this] { FormCreate(); });
  ports_.windows.show(WindowId::SplashForm);
  // Entering the message loop shows the main window and activates it.
  ports_.windows.show(WindowId::Form1);
  activateMainWindow();
}

void Handheld::FormCreate() {
  for (const auto& shared : kSharedPictures) face.copyPicture(shared.target, shared.source);
  hiScoreStore_.emplace(ports_.store, kHiScoreKey, ports_.storeObserver);
  vars.HiScoreA = hiScoreStore_->readInteger(kHiScoreAReadName, vars.HiScoreA);
  vars.HiScoreB = hiScoreStore_->readInteger(kHiScoreBReadName, vars.HiScoreB);
  for (int c = 0; c < kChannelCount; ++c) channel(static_cast<ChannelId>(c)).open();
  vars.GameRunning = false;
  vars.PlayerActive = false;
  vars.SwingReady = false;
  vars.KeyLatch = false;
  vars.GameMode = GameModeValue::AllLit;
  RiempiSchermo();
}

Handheld::Arrival::Arrival(Handheld& handheld, const Input* input)
    : handheld_(handheld), outermost_(!handheld.handlingEvent_) {
  if (!outermost_) {
    // A question answered at once, within the input that asked it, is still
    // the player's answer to it.
    if (input && std::holds_alternative<input::Answer>(*input))
      for (auto* observer : handheld.inputObservers_) observer->inputArrived(*input);
    return;
  }
  if (input)
    for (auto* observer : handheld.inputObservers_) observer->beforeInput();
  handheld.handlingEvent_ = true;
  for (auto* observer : handheld.inputObservers_) observer->eventArriving();
  if (input)
    for (auto* observer : handheld.inputObservers_) observer->inputArrived(*input);
}

Handheld::Arrival::~Arrival() {
  if (!outermost_) return;
  handheld_.handlingEvent_ = false;
  for (auto* observer : handheld_.inputObservers_) observer->eventHandled();
}

void Handheld::activateMainWindow() {
  const auto arrival = arrived(input::Activate{});
  dispatcher_.run([this] { FormActivate(); });
}

void Handheld::FormActivate() {
  if (!vars.FirstActivation) return;
  vars.FirstActivation = false;
  ports_.windows.show(WindowId::SplashForm);
  ports_.windows.bringToFront(WindowId::SplashForm);
}

void Handheld::splashPlay() {
  const auto arrival = arrived(input::Splash{input::SplashLink::Play});
  dispatcher_.run([this] {
    auto& w = ports_.windows;
    const WindowSize form1{w.windowWidth(WindowId::Form1), w.windowHeight(WindowId::Form1)};
    w.moveTo(WindowId::Form1, centredOnScreen(form1, w.screenWidth(), w.screenHeight()));
    w.hide(WindowId::SplashForm);
  });
}

void Handheld::splashEmail() {
  const auto arrival = arrived(input::Splash{input::SplashLink::Email});
  dispatcher_.run([this] { ports_.shell.open(std::string(kMailAddress)); });
}

void Handheld::splashHttp() {
  const auto arrival = arrived(input::Splash{input::SplashLink::Http});
  dispatcher_.run([this] { ports_.shell.open(std::string(kWebAddress)); });
}

void Handheld::closeAboutForm() {
  const auto arrival = arrived(input::CloseAbout{});
  dispatcher_.run([this] { ports_.windows.hide(WindowId::AboutForm); });
}

void Handheld::timerFired(int timerIndex) {
  const Arrival tick(*this, nullptr);
  dispatcher_.run([this, timerIndex] {
    switch (kTimers.at(static_cast<std::size_t>(timerIndex)).id) {
      case TimerId::TimerClock: TimerClockTimer(); break;
      case TimerId::TimerMiss: TimerMissTimer(); break;
      case TimerId::TimerMPlayerMiss: TimerMPlayerMissTimer(); break;
      case TimerId::TimerZZZ: TimerZZZTimer(); break;
      case TimerId::TimerChance: TimerChanceTimer(); break;
      case TimerId::TimerBlink: TimerBlinkTimer(); break;
      case TimerId::TimerGioco: TimerGiocoTimer(); break;
      case TimerId::TimerRacchetta: TimerRacchettaTimer(); break;
      case TimerId::TimerPrimaPalla: TimerPrimaPallaTimer(); break;
    }
    if (settings_.assist()) assistPlayer();
  });
}

}  // namespace wuffel
