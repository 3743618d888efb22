// The browser edition's entry points: the page's JavaScript calls these with
// the player's input; the handheld runs behind them on the page clock. One
// run of the program lasts from the page's start to "Exit", which returns
// to the splash with a fresh program, as starting the game again would.
#include <emscripten/emscripten.h>
#include <emscripten/eventloop.h>
#include <emscripten/html5.h>

#include <cmath>
#include <memory>
#include <optional>
#include <string>

#include "frontend/face_pointing.h"
#include "frontend/trace.h"
#include "game/handheld.h"
#include "web/browser_storage.h"
#include "web/canvas_face.h"
#include "web/glue.h"
#include "web/page_gamepads.h"
#include "web/page_input.h"
#include "web/page_menu.h"
#include "web/page_ports.h"
#include "web/page_recordings.h"
#include "web/page_settings.h"
#include "web/page_trace.h"
#include "web/page_watching.h"
#include "frontend/timeline_clocks.h"
#include "platform/timeline.h"
#include "web/page_windows.h"
#include "web/web_audio.h"

namespace wuffel::web {
namespace {

std::int64_t realNow() { return static_cast<std::int64_t>(std::floor(emscripten_get_now())); }

class Page;

// One run of the program.
struct Program {
  Program(Page& page, Timeline& clock, SettingsBackend& settings, PageTrace* trace, PlayerEvents& playerEvents,
          int screenW, int screenH);

  TimelineScheduler scheduler;
  TimelineMediaClock mediaClock{scheduler};
  TimelineTimeOfDay timeOfDay = TimelineTimeOfDay::fromSystemClock(scheduler);
  PageWindows windows;
  PageErrorBox errorBox;
  PageShell shell;
  PageBeep beep;
  PageMessageLoop messageLoop;
  PageQuestionBox questions;
  NamedSoundLoader loader;
  WebAudioOutput output;
  SoundChannels sound;
  Handheld handheld;
  PageRecordings recordings;
  CanvasFace canvas;
  PageWatching watching;
  PageInput input;
  PageGamepads gamepads;
  PageAnnouncer announcer{handheld};
};

class Page {
 public:
  void start(bool tracing, int screenW, int screenH) {
    if (tracing) trace_.emplace(clock_, [](const std::string& line) { wuffel_glue_traceLine(line.c_str()); });
    playerSettings_.emplace(trace_ ? &trace_->reports() : nullptr);
    screenW_ = screenW;
    screenH_ = screenH;
    const MenuItem* lastSeparator = nullptr;
    for (const auto& item : kCommandMenu)
      if (isSeparator(item)) lastSeparator = &item;
    for (const auto& item : kCommandMenu) {
      if (&item == lastSeparator) PageWatching::addMenuItems();
      wuffel_glue_addMenuItem(std::string(item.caption).c_str(), shortcutShown(item, item.shortcutText).c_str(),
                              item.command ? static_cast<int>(*item.command) : -1,
                              item.command == kDefaultMenuCommand);
    }
    PageSettings::describe();
    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, this, EM_FALSE, &Page::onKey);
    emscripten_set_keyup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, this, EM_FALSE, &Page::onKey);
    startProgram();
  }

  // Runs an input at the present moment, after every tick due by then.
  template <class Handler>
  void input(Handler handler) {
    if (!program_) return;
    runTicksUntil(realNow());
    handler(*program_);
    settle();
  }

  void wake(std::int64_t due) {
    if (!program_) return;
    program_->scheduler.woke();
    runTicksUntil(std::max(realNow(), due));
    settle();
  }

  void armWake(std::optional<std::int64_t> due) {
    if (wakeTimer_) emscripten_clear_timeout(wakeTimer_);
    wakeTimer_ = 0;
    if (!due) return;
    wakeDue_ = *due;
    const double delay = std::max(0.0, std::ceil(static_cast<double>(*due) - emscripten_get_now()));
    wakeTimer_ = emscripten_set_timeout(
        [](void* self) {
          auto* page = static_cast<Page*>(self);
          page->wakeTimer_ = 0;
          page->wake(page->wakeDue_);
        },
        delay, this);
  }

  void armLongPress(int touchId) {
    cancelLongPress();
    longPressTouch_ = touchId;
    longPressTimer_ = emscripten_set_timeout(
        [](void* self) {
          auto* page = static_cast<Page*>(self);
          page->longPressTimer_ = 0;
          page->input([id = page->longPressTouch_](Program& p) { p.input.longPressDue(id); });
        },
        PageInput::kLongPressMs, this);
  }

  void cancelLongPress() {
    if (longPressTimer_) emscripten_clear_timeout(longPressTimer_);
    longPressTimer_ = 0;
  }

  void activateHandheld() {
    if (program_->windows.isActive(WindowId::Form1)) return;
    program_->windows.activate(WindowId::Form1);
    program_->handheld.activateMainWindow();
  }

  Program* program() { return program_.get(); }
  KeyValueStorage& storage() { return storage_; }
  PageSettings& playerSettings() { return *playerSettings_; }
  bool menuOpen = false;
  int errorBoxesOpen = 0;
  int touchSide = 0;  // a finger's touch area, in face pixels at the page's scale

 private:
  void startProgram() {
    // The times of day are read as the program starts, at this moment.
    clock_.moveTo(realNow());
    program_ = std::make_unique<Program>(*this, clock_, settings_, trace_ ? &*trace_ : nullptr, *playerSettings_,
                                         screenW_, screenH_);
    playerSettings_->attach(program_->handheld);
    program_->input.setTouchSide(touchSide);
    // Start-up activates the main window before its activation handler
    // brings the splash window to the front.
    program_->windows.activate(WindowId::Form1);
    program_->handheld.start();
    settle();
  }

  void runTicksUntil(std::int64_t time) {
    program_->scheduler.runUntil(time, [this](int index) {
      PlatformWords(trace_ ? &*trace_ : nullptr).tick(index);
      program_->handheld.timerFired(index);
    });
  }

  // After each event: the end of the program when it asked for it, and the
  // next wake-up.
  void settle() {
    if (program_->messageLoop.quitRequested) {
      program_->sound.closeAll();
      PlatformWords(trace_ ? &*trace_ : nullptr).exit();
      cancelLongPress();
      armWake(std::nullopt);
      playerSettings_->detach();
      program_.reset();
      menuOpen = false;
      startProgram();
      return;
    }
    program_->scheduler.rearm();
  }

  // Keys go to the window that has the keyboard: the splash and the about
  // panel do nothing with them, and an open menu, error box or question
  // box takes them.
  static EM_BOOL onKey(int type, const EmscriptenKeyboardEvent* e, void* self) {
    auto* page = static_cast<Page*>(self);
    Program* p = page->program();
    if (!p || page->menuOpen || page->errorBoxesOpen > 0 || p->questions.open()) return EM_FALSE;
    if (!p->windows.isActive(WindowId::Form1) || !p->windows.isShown(WindowId::Form1)) return EM_FALSE;
    if (p->watching.keyTaken(type, *e)) return EM_TRUE;
    const VirtualKey key = passedKey(static_cast<VirtualKey>(e->keyCode));
    if (type == EMSCRIPTEN_EVENT_KEYDOWN)
      page->input([key](Program& pr) { pr.handheld.keyDown(key); });
    else
      page->input([key](Program& pr) { pr.handheld.keyUp(key); });
    return key != kOtherKey ? EM_TRUE : EM_FALSE;
  }

  Timeline clock_;
  BrowserStorage storage_;
  LocalStorageSettings settings_{storage_};
  std::optional<PageTrace> trace_;
  std::optional<PageSettings> playerSettings_;
  int screenW_ = 0;
  int screenH_ = 0;
  std::unique_ptr<Program> program_;
  long wakeTimer_ = 0;
  std::int64_t wakeDue_ = 0;
  long longPressTimer_ = 0;
  int longPressTouch_ = 0;
};

void showViews(const PageViews& v) { wuffel_glue_showViews(v.splash, v.handheld, v.about); }

Program::Program(Page& page, Timeline& clock, SettingsBackend& settings, PageTrace* trace, PlayerEvents& playerEvents,
                 int screenW, int screenH)
    : scheduler(clock, static_cast<int>(kTimers.size()), kMostCatchUpMs, [&page](auto due) { page.armWake(due); }),
      windows(screenW, screenH, trace, showViews, [this, &page](int x, int y) {
        page.menuOpen = true;
        showMenuItemStates(handheld);
        watching.showMenuItemStates();
        wuffel_glue_popupMenu(x, y);
      }),
      errorBox(trace),
      shell(trace),
      beep(trace),
      questions(trace),
      output(loader),
      sound(mediaClock, loader, output, trace ? &trace->reports() : nullptr),
      handheld(HandheldPorts{scheduler, timeOfDay, windows, errorBox, shell, sound, settings, beep, messageLoop,
                             questions, trace ? &trace->reports() : nullptr, trace ? &trace->reports() : nullptr,
                             &playerEvents}),
      recordings(handheld, scheduler, timeOfDay, page.storage(), WUFFEL_RELEASE, screenW, screenH),
      canvas(handheld, sound),
      watching(handheld, sound, canvas, page.storage(), sim::SoundPorts{&loader, &output}),
      input(handheld, watching, {[&page] { page.activateHandheld(); }, [&page](int id) { page.armLongPress(id); },
                       [&page] { page.cancelLongPress(); }}),
      gamepads(handheld) {
  if (trace) handheld.observeFace(&trace->reports());
  handheld.observeFace(&canvas);
}

Page& page() {
  static Page thePage;
  return thePage;
}

}  // namespace
}  // namespace wuffel::web

using namespace wuffel;
using namespace wuffel::web;

extern "C" {

// The files the sound channels open, one per line, for the page to fetch
// into the module's file system before the program starts.
EMSCRIPTEN_KEEPALIVE const char* wuffel_soundFiles() {
  static const std::string files = [] {
    std::string list;
    for (int c = 0; c < kChannelCount; ++c)
      list += WaveFileLoader::relativeName(channelFileName(static_cast<ChannelId>(c))) + "\n";
    return list;
  }();
  return files.c_str();
}

EMSCRIPTEN_KEEPALIVE void wuffel_start(int tracing, int screenW, int screenH) {
  page().start(tracing != 0, screenW, screenH);
}

EMSCRIPTEN_KEEPALIVE void wuffel_mouseDown(int x, int y, int button) {
  if (const auto b = domButton(button)) page().input([&](Program& p) { p.input.mouseDown(x, y, *b); });
}

EMSCRIPTEN_KEEPALIVE void wuffel_mouseMove(int x, int y, int buttons) {
  page().input([&](Program& p) { p.input.mouseMove(x, y, domButtons(buttons)); });
}

EMSCRIPTEN_KEEPALIVE void wuffel_mouseUp(int x, int y, int button) {
  if (const auto b = domButton(button)) page().input([&](Program& p) { p.input.mouseUp(x, y, *b); });
}

EMSCRIPTEN_KEEPALIVE void wuffel_touchStart(int id, int x, int y) {
  page().input([&](Program& p) { p.input.touchStart(id, x, y); });
}

EMSCRIPTEN_KEEPALIVE void wuffel_touchMove(int id, int x, int y) {
  page().input([&](Program& p) { p.input.touchMove(id, x, y); });
}

EMSCRIPTEN_KEEPALIVE void wuffel_touchEnd(int id, int x, int y) {
  page().input([&](Program& p) { p.input.touchEnd(id, x, y); });
}

EMSCRIPTEN_KEEPALIVE void wuffel_touchSide(int side) {
  page().touchSide = side;
  if (Program* p = page().program()) p->input.setTouchSide(side);
}

// A gamepad's button by its number in the Gamepad API's standard layout,
// its left stick's upright axis, and a pad unplugged.
EMSCRIPTEN_KEEPALIVE void wuffel_padButton(int pad, int button, int down) {
  page().input([&](Program& p) { p.gamepads.button(pad, button, down != 0); });
}

EMSCRIPTEN_KEEPALIVE void wuffel_padStick(int pad, double upright) {
  page().input([&](Program& p) { p.gamepads.stick(pad, upright); });
}

EMSCRIPTEN_KEEPALIVE void wuffel_padUnplugged(int pad) {
  page().input([&](Program& p) { p.gamepads.unplugged(pad); });
}

// The pointer's shape and hint over the element under it, as on the desktop.
EMSCRIPTEN_KEEPALIVE void wuffel_hover(int x, int y) {
  Program* p = page().program();
  if (!p) return;
  if (const ButtonHint* hint = hintAt(p->handheld.faceState(), x, y))
    return wuffel_glue_setPointer(static_cast<int>(hint->pointer), std::string(hint->hint).c_str());
  wuffel_glue_setPointer(static_cast<int>(PointerShape::Arrow), "");
}

EMSCRIPTEN_KEEPALIVE void wuffel_splash(int link) {
  page().input([link](Program& p) {
    if (link == 0) p.handheld.splashPlay();
    else if (link == 1) p.handheld.splashEmail();
    else p.handheld.splashHttp();
  });
}

EMSCRIPTEN_KEEPALIVE void wuffel_chooseMenu(int command) {
  page().menuOpen = false;
  if (command >= PageWatching::kFirstMenuCommand) return page().program()->watching.chooseMenuCommand(command);
  page().input([command](Program& p) { p.handheld.chooseMenuItem(static_cast<MenuCommand>(command)); });
}

// A recording's text from a file, a drop or a link, to watch.
EMSCRIPTEN_KEEPALIVE void wuffel_watch(const char* text) { page().program()->watching.watch(text); }

EMSCRIPTEN_KEEPALIVE void wuffel_menuClosed() { page().menuOpen = false; }

// The page's pause control: the menu's Pause, without the menu.
EMSCRIPTEN_KEEPALIVE void wuffel_togglePause() {
  page().input([](Program& p) { p.handheld.chooseMenuItem(MenuCommand::PM_Pause); });
}

EMSCRIPTEN_KEEPALIVE void wuffel_errorBoxShown() { ++page().errorBoxesOpen; }

EMSCRIPTEN_KEEPALIVE void wuffel_errorBoxClosed() {
  if (page().errorBoxesOpen > 0) --page().errorBoxesOpen;
}

// The question box's answer: Yes, or No, its Esc and its close.
EMSCRIPTEN_KEEPALIVE void wuffel_questionAnswered(int yes) {
  page().input([yes](Program& p) { p.questions.answer(yes != 0); });
}

EMSCRIPTEN_KEEPALIVE void wuffel_closeAbout() {
  page().input([](Program& p) { p.handheld.closeAboutForm(); });
}

EMSCRIPTEN_KEEPALIVE void wuffel_activateAbout() {
  if (Program* p = page().program(); p && p->windows.isShown(WindowId::AboutForm))
    p->windows.activate(WindowId::AboutForm);
}

EMSCRIPTEN_KEEPALIVE void wuffel_changeSetting(const char* name, const char* text) {
  page().input([&](Program&) { page().playerSettings().change(name, text); });
}

EMSCRIPTEN_KEEPALIVE void wuffel_settingsClosed() {
  page().input([](Program& p) { p.handheld.closeSettingsForm(); });
}

EMSCRIPTEN_KEEPALIVE void wuffel_restoreDefaultSettings() {
  page().input([](Program& p) { p.handheld.restoreDefaultSettings(); });
}

// The page lost the keyboard to another program or tab, or was hidden.
EMSCRIPTEN_KEEPALIVE void wuffel_focusLost() {
  page().input([](Program& p) { p.handheld.deactivateMainWindow(); });
}

// The tab closes, or the page is left for good: a game running is kept.
EMSCRIPTEN_KEEPALIVE void wuffel_pageClosing() {
  if (Program* p = page().program()) p->recordings.programEnded();
}

EMSCRIPTEN_KEEPALIVE void wuffel_redraw() {
  if (Program* p = page().program()) p->canvas.requestFrame();
}

}  // extern "C"
