// Game controllers through SDL's game-controller API: the d-pad and the left
// stick move, the face buttons swing, Start works GAME A and Back GAME B.
// Nothing is polled while no controller is plugged in: a change in the
// system's input devices wakes a short round of looking for one.
#pragma once

#include <QFileSystemWatcher>
#include <QTimer>

#include <functional>
#include <memory>
#include <vector>

#include "frontend/pad_controls.h"

namespace wuffel {

struct SdlLibrary;

class Gamepads {
 public:
  using Sink = std::function<void(Control, ControlSource, bool down)>;

  explicit Gamepads(Sink sink);
  ~Gamepads();
  Gamepads(const Gamepads&) = delete;
  Gamepads& operator=(const Gamepads&) = delete;

  // Starts SDL's controller support, loading SDL first; false when it could
  // not, and the game plays on without controllers.
  bool start();
  // Loads SDL on a thread of its own, then starts on this one, from its
  // event loop: the loading does not hold the windows up.
  void startSoon();
  // Takes in what the controllers did since the last call.
  void poll();
  std::size_t connected() const { return pads_.size(); }

 private:
  struct Pad {
    void* controller;  // SDL_GameController
    int instance;      // SDL_JoystickID
    int number;        // which pad, for the sources of its controls
  };

  void open(int deviceIndex);
  void close(int instance);
  Pad* padOf(int instance);
  void lookForPads();
  void schedule();

  PadControls controls_;
  const SdlLibrary* sdl_ = nullptr;  // once started
  // Told of the end of this object, for a load that finishes after it.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
  bool started_ = false;
  std::vector<Pad> pads_;
  QTimer timer_;
  QFileSystemWatcher devices_;
  int lookingPolls_ = 0;  // polls left in a round of looking for a new pad
};

}  // namespace wuffel
