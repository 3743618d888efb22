#include "app/gamepads.h"

#include <QCoreApplication>
#include <QDir>

#include <algorithm>
#include <thread>

#include "app/sdl_library.h"

namespace wuffel {

namespace {
// While a pad is plugged in its state is read every few milliseconds, well
// within a frame of the game's fastest tick.
constexpr int kPadPollMs = 8;
// After the input devices change: how often, and how long, to look for a pad.
constexpr int kLookPollMs = 100;
constexpr int kLookPolls = 30;
// The stick moves a lane past half its throw, and lets go below a quarter.
constexpr int kStickPress = 16384;
constexpr int kStickRelease = 8192;
const QString kInputDevices = QStringLiteral("/dev/input");

std::optional<Control> controlOfButton(int button) {
  switch (button) {
    case SDL_CONTROLLER_BUTTON_A:
    case SDL_CONTROLLER_BUTTON_B:
    case SDL_CONTROLLER_BUTTON_X:
    case SDL_CONTROLLER_BUTTON_Y: return Control::Swing;
    case SDL_CONTROLLER_BUTTON_DPAD_UP: return Control::Up;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN: return Control::Down;
    case SDL_CONTROLLER_BUTTON_START: return Control::GameA;
    case SDL_CONTROLLER_BUTTON_BACK: return Control::GameB;
    default: return std::nullopt;
  }
}

SDL_GameController* controllerOf(void* p) { return static_cast<SDL_GameController*>(p); }
}  // namespace

Gamepads::Gamepads(Sink sink) : sink_(std::move(sink)) {
  static_assert(SDL_CONTROLLER_BUTTON_MAX <= kStickUp);
  timer_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
  QObject::connect(&devices_, &QFileSystemWatcher::directoryChanged, [this] { lookForPads(); });
}

Gamepads::~Gamepads() {
  *alive_ = false;
  if (!started_) return;
  for (const Pad& pad : pads_) sdl_->gameControllerClose(controllerOf(pad.controller));
  sdl_->quitSubSystem(SDL_INIT_GAMECONTROLLER);
}

void Gamepads::startSoon() {
  // Both run on the thread of the event loop, so `alive` is read and
  // written on one thread only.
  std::thread([alive = alive_, this] {
    SdlLibrary::load();
    QMetaObject::invokeMethod(QCoreApplication::instance(), [alive, this] {
      if (*alive && !started_) start();
    }, Qt::QueuedConnection);
  }).detach();
}

bool Gamepads::start() {
  sdl_ = SdlLibrary::load();
  if (!sdl_) return false;
  // The program has its own ways to end; SDL is only asked about controllers.
  sdl_->setHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  sdl_->setHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
  if (sdl_->initSubSystem(SDL_INIT_GAMECONTROLLER) != 0) return false;
  started_ = true;
  if (QDir(kInputDevices).exists()) devices_.addPath(kInputDevices);
  lookForPads();
  return true;
}

void Gamepads::lookForPads() {
  lookingPolls_ = kLookPolls;
  poll();
}

void Gamepads::schedule() {
  if (!pads_.empty())
    timer_.start(kPadPollMs);
  else if (lookingPolls_ > 0)
    timer_.start(kLookPollMs);
  else
    timer_.stop();
}

void Gamepads::poll() {
  if (!started_) return;
  if (lookingPolls_ > 0) --lookingPolls_;
  SDL_Event event;
  while (sdl_->pollEvent(&event)) {
    switch (event.type) {
      case SDL_CONTROLLERDEVICEADDED: open(event.cdevice.which); break;
      case SDL_CONTROLLERDEVICEREMOVED: close(event.cdevice.which); break;
      case SDL_CONTROLLERBUTTONDOWN:
      case SDL_CONTROLLERBUTTONUP:
        if (Pad* pad = padOf(event.cbutton.which))
          set(*pad, event.cbutton.button, controlOfButton(event.cbutton.button),
              event.type == SDL_CONTROLLERBUTTONDOWN);
        break;
      case SDL_CONTROLLERAXISMOTION:
        if (Pad* pad = padOf(event.caxis.which); pad && event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY)
          stick(*pad, event.caxis.value);
        break;
      default: break;
    }
  }
  schedule();
}

Gamepads::Pad* Gamepads::padOf(int instance) {
  const auto it = std::find_if(pads_.begin(), pads_.end(), [&](const Pad& p) { return p.instance == instance; });
  return it == pads_.end() ? nullptr : &*it;
}

void Gamepads::open(int deviceIndex) {
  SDL_GameController* controller = sdl_->gameControllerOpen(deviceIndex);
  if (!controller) return;
  const int instance = sdl_->joystickInstanceId(sdl_->gameControllerGetJoystick(controller));
  if (padOf(instance)) return sdl_->gameControllerClose(controller);
  // The lowest number no plugged-in pad has.
  int number = 0;
  while (std::any_of(pads_.begin(), pads_.end(), [&](const Pad& p) { return p.number == number; })) ++number;
  pads_.push_back({controller, instance, number});
}

void Gamepads::close(int instance) {
  Pad* pad = padOf(instance);
  if (!pad) return;
  // Whatever it held is let go, as if its buttons came up.
  for (int slot = 0; slot < kSlotsPerPad; ++slot) set(*pad, slot, pad->held[slot], false);
  sdl_->gameControllerClose(controllerOf(pad->controller));
  pads_.erase(pads_.begin() + (pad - pads_.data()));
}

void Gamepads::set(Pad& pad, int slot, std::optional<Control> control, bool down) {
  if (!control || slot < 0 || slot >= kSlotsPerPad || pad.held[slot].has_value() == down) return;
  pad.held[slot] = down ? control : std::nullopt;
  sink_(*control, kFirstGamepadSource - (pad.number * kSlotsPerPad + slot), down);
}

void Gamepads::stick(Pad& pad, int value) {
  if (value <= -kStickPress) set(pad, kStickUp, Control::Up, true);
  if (value > -kStickRelease) set(pad, kStickUp, Control::Up, false);
  if (value >= kStickPress) set(pad, kStickDown, Control::Down, true);
  if (value < kStickRelease) set(pad, kStickDown, Control::Down, false);
}

}  // namespace wuffel
