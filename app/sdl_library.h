// The few functions of SDL2 that the gamepads use, from the library loaded
// at run time: SDL and the libraries it pulls in take longer to load than
// the whole first window, which needs none of them.
#pragma once

#include <SDL2/SDL.h>

namespace wuffel {

struct SdlLibrary {
  decltype(&SDL_SetHint) setHint;
  decltype(&SDL_InitSubSystem) initSubSystem;
  decltype(&SDL_QuitSubSystem) quitSubSystem;
  decltype(&SDL_PollEvent) pollEvent;
  decltype(&SDL_GameControllerOpen) gameControllerOpen;
  decltype(&SDL_GameControllerClose) gameControllerClose;
  decltype(&SDL_GameControllerGetJoystick) gameControllerGetJoystick;
  decltype(&SDL_JoystickInstanceID) joystickInstanceId;

  // Loads the library on the first call, from any thread; later calls wait
  // for that one. Null, after a message on standard error, where the
  // library or one of its functions is missing.
  static const SdlLibrary* load();
};

}  // namespace wuffel
