// Gamepads on SDL's virtual joystick: each control, several pads, and a pad
// unplugged with buttons held.
#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include <string>
#include <vector>

#include "app/gamepads.h"
#include "core/rig.h"
#include "qt_application.h"

namespace wuffel {
namespace {

std::string nameOf(Control c) {
  constexpr const char* kNames[] = {"swing", "up", "down", "game-a", "game-b", "time", "pause", "mute"};
  return kNames[static_cast<int>(c)];
}

// A pad as SDL's virtual joystick with a game controller's buttons and axes.
struct VirtualPad {
  VirtualPad() {
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.name = "virtual pad";
    index = SDL_JoystickAttachVirtualEx(&desc);
    joystick = SDL_JoystickOpen(index);
  }
  void unplug() {
    SDL_JoystickClose(joystick);
    SDL_JoystickDetachVirtual(index);
  }
  void button(SDL_GameControllerButton b, bool down) { SDL_JoystickSetVirtualButton(joystick, b, down ? 1 : 0); }
  void stick(int y) { SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_LEFTY, static_cast<Sint16>(y)); }
  int index;
  SDL_Joystick* joystick;
};

struct Pads : testing::WithQtApplication, ::testing::Test {
  Pads() {
    EXPECT_TRUE(pads.start()) << SDL_GetError();
  }
  std::vector<std::string> log;
  std::vector<ControlSource> sources;
  Gamepads pads{[this](Control c, ControlSource s, bool down) {
    log.push_back(nameOf(c) + (down ? " down" : " up"));
    sources.push_back(s);
  }};
};

TEST_F(Pads, ButtonsDPadAndStickWorkTheControlsAndAnUnpluggedPadLetsGo) {
  VirtualPad pad;
  ASSERT_GE(pad.index, 0) << SDL_GetError();
  pads.poll();
  EXPECT_EQ(pads.connected(), 1u);
  for (auto b : {SDL_CONTROLLER_BUTTON_A, SDL_CONTROLLER_BUTTON_Y, SDL_CONTROLLER_BUTTON_DPAD_UP,
                 SDL_CONTROLLER_BUTTON_START, SDL_CONTROLLER_BUTTON_BACK, SDL_CONTROLLER_BUTTON_GUIDE}) {
    pad.button(b, true);
    pads.poll();
    pad.button(b, false);
    pads.poll();
  }
  EXPECT_EQ(log, (std::vector<std::string>{"swing down", "swing up", "swing down", "swing up", "up down", "up up",
                                           "game-a down", "game-a up", "game-b down", "game-b up"}));
  EXPECT_NE(sources[0], sources[2]) << "each button holds on its own";
  log.clear();
  // Past half the stick's throw it moves; back below a quarter it lets go.
  for (int y : {-10000, -20000, -12000, -5000, 20000, 9000, 0}) {
    pad.stick(y);
    pads.poll();
  }
  EXPECT_EQ(log, (std::vector<std::string>{"up down", "up up", "down down", "down up"}));
  log.clear();
  pad.button(SDL_CONTROLLER_BUTTON_B, true);
  pad.button(SDL_CONTROLLER_BUTTON_DPAD_DOWN, true);
  pads.poll();
  pad.unplug();
  pads.poll();
  EXPECT_EQ(pads.connected(), 0u);
  EXPECT_EQ(log, (std::vector<std::string>{"swing down", "down down", "swing up", "down up"}));
}

TEST(PadsPlaying, StartAndTheDPadPlayAGameWithEitherKeys) {
  testing::application();
  for (const char* keys : {"original", "modern"}) {
    MemorySettings store;
    store.put("Settings/keys", true, keys);
    testing::Rig rig(testing::kFirstThrowInLane2, &store);
    Handheld& h = rig.handheld;
    h.start();
    Gamepads playing([&h](Control c, ControlSource s, bool down) { down ? h.controlDown(c, s) : h.controlUp(c, s); });
    ASSERT_TRUE(playing.start());
    VirtualPad pad;
    playing.poll();
    pad.button(SDL_CONTROLLER_BUTTON_START, true);
    playing.poll();
    EXPECT_FALSE(rig.lit(ElementId::Puls_GameA)) << keys;
    pad.button(SDL_CONTROLLER_BUTTON_START, false);
    playing.poll();
    EXPECT_TRUE(h.variables().GameRunning) << keys;
    pad.button(SDL_CONTROLLER_BUTTON_DPAD_DOWN, true);
    playing.poll();
    EXPECT_EQ(h.variables().PlayerLane, 3) << keys;
    pad.unplug();
    playing.poll();
    EXPECT_TRUE(rig.lit(ElementId::Puls_Down)) << keys;
  }
}

}  // namespace
}  // namespace wuffel
