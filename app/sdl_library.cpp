#include "app/sdl_library.h"

#include <QLibrary>

#include <cstdio>

namespace wuffel {

namespace {

// The soname the program was built against.
constexpr int kSdlMajor = 2;

template <typename Function>
bool resolve(QLibrary& library, const char* name, Function& function) {
  function = reinterpret_cast<Function>(library.resolve(name));
  if (!function) std::fprintf(stderr, "wuffel-tennis: no gamepads: %s lacks %s\n", qPrintable(library.fileName()), name);
  return function != nullptr;
}

const SdlLibrary* loadOnce() {
  static SdlLibrary sdl;
  QLibrary library(QStringLiteral("SDL2-%1.0").arg(kSdlMajor), 0);
  // SDL keeps threads and hooks of its own: it stays loaded.
  library.setLoadHints(QLibrary::PreventUnloadHint);
  if (!library.load()) {
    std::fprintf(stderr, "wuffel-tennis: no gamepads: %s\n", qPrintable(library.errorString()));
    return nullptr;
  }
  const bool found = resolve(library, "SDL_SetHint", sdl.setHint) &&
                     resolve(library, "SDL_InitSubSystem", sdl.initSubSystem) &&
                     resolve(library, "SDL_QuitSubSystem", sdl.quitSubSystem) &&
                     resolve(library, "SDL_PollEvent", sdl.pollEvent) &&
                     resolve(library, "SDL_GameControllerOpen", sdl.gameControllerOpen) &&
                     resolve(library, "SDL_GameControllerClose", sdl.gameControllerClose) &&
                     resolve(library, "SDL_GameControllerGetJoystick", sdl.gameControllerGetJoystick) &&
                     resolve(library, "SDL_JoystickInstanceID", sdl.joystickInstanceId);
  return found ? &sdl : nullptr;
}

}  // namespace

const SdlLibrary* SdlLibrary::load() {
  static const SdlLibrary* const loaded = loadOnce();
  return loaded;
}

}  // namespace wuffel
