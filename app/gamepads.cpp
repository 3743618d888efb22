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
// SDL's stick axes reach this far either way.
constexpr float kStickThrow = 32768;
const QString kInputDevices = QStringLiteral("/dev/input");

std::optional<PadPart> partOfButton(int button) {
  switch (button) {
    case SDL_CONTROLLER_BUTTON_A: return PadPart::FaceSouth;
    case SDL_CONTROLLER_BUTTON_B: return PadPart::FaceEast;
    case SDL_CONTROLLER_BUTTON_X: return PadPart::FaceWest;
    case SDL_CONTROLLER_BUTTON_Y: return PadPart::FaceNorth;
    case SDL_CONTROLLER_BUTTON_DPAD_UP: return PadPart::DPadUp;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN: return PadPart::DPadDown;
    case SDL_CONTROLLER_BUTTON_START: return PadPart::Start;
    case SDL_CONTROLLER_BUTTON_BACK: return PadPart::Back;
    default: return std::nullopt;
  }
}

SDL_GameController* controllerOf(void* p) { return static_cast<SDL_GameController*>(p); }
}  // namespace

Gamepads::Gamepads(Sink sink) : controls_(std::move(sink)) {
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
          if (const auto part = partOfButton(event.cbutton.button))
            controls_.part(pad->number, *part, event.type == SDL_CONTROLLERBUTTONDOWN);
        break;
      case SDL_CONTROLLERAXISMOTION:
        if (Pad* pad = padOf(event.caxis.which); pad && event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY)
          controls_.stick(pad->number, event.caxis.value / kStickThrow);
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
  controls_.unplugged(pad->number);
  sdl_->gameControllerClose(controllerOf(pad->controller));
  pads_.erase(pads_.begin() + (pad - pads_.data()));
}

}  // namespace wuffel
