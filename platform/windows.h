// The program's three windows: their names, sizes and first places, and the
// title the program goes by. Every front end builds its windows from these.
#pragma once

#include <algorithm>
#include <string_view>

namespace wuffel {

enum class WindowId { Form1, SplashForm, AboutForm };
std::string_view windowName(WindowId);

struct WindowPosition {
  int left = 0;
  int top = 0;
};

struct WindowSize {
  int width;
  int height;
};

inline constexpr std::string_view kApplicationTitle = "Wuffel Tennis (Vantoro) Simulator";

// The main window is created off the screen; the splash window's play
// button brings it into sight. Its size is that of the face photograph.
inline constexpr WindowPosition kMainWindowCreatedAt{-700, -500};
inline constexpr WindowSize kSplashFormSize{257, 308};
inline constexpr WindowSize kAboutFormSize{275, 224};

// Where a window of `size` stands centred on a screen, kept off the
// screen's top and left edges.
inline constexpr WindowPosition centredOnScreen(WindowSize size, int screenWidth, int screenHeight) {
  return {std::max(0, (screenWidth - size.width) / 2), std::max(0, (screenHeight - size.height) / 2)};
}

}  // namespace wuffel
