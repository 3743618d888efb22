// The command menu's commands: the about dialog, the documents, the reset of
// the best scores, the settings, the pause and the end of the program.
#include <string>

#include "game/documents.h"
#include "game/handheld.h"

namespace wuffel {

void Handheld::chooseMenuItem(MenuCommand command) {
  const auto arrival = arrived(input::Menu{command});
  dispatcher_.run([this, command] {
    switch (command) {
      case MenuCommand::PM_1About: return PM_1AboutClick();
      case MenuCommand::PM_3Readme: return PM_3ReadmeClick();
      case MenuCommand::PM_4Whatsnew: return PM_4WhatsnewClick();
      case MenuCommand::PM_6Instruct: return PM_6InstructClick();
      case MenuCommand::PM_8HiScore: return PM_8HiScoreClick();
      case MenuCommand::PM_Settings: return PM_SettingsClick();
      case MenuCommand::PM_Pause: return PM_PauseClick();
      case MenuCommand::PM_10Exit: return PM_10ExitClick();
    }
  });
}

// Not modal: the handheld and the splash window stay usable. The dialog
// keeps the place where it was closed.
void Handheld::PM_1AboutClick() {
  ports_.windows.show(WindowId::AboutForm);
  ports_.windows.bringToFront(WindowId::AboutForm);
}

// What the shell does with a document, and whether it is there, is of no
// interest: a missing one gives no message.
void Handheld::PM_3ReadmeClick() { ports_.shell.open(std::string(kReadmeDocument)); }

void Handheld::PM_4WhatsnewClick() { ports_.shell.open(std::string(kWhatsnewDocument)); }

void Handheld::PM_6InstructClick() { ports_.shell.open(std::string(kManualProgram)); }

// With the original keys no confirmation, as the original had none.
void Handheld::PM_8HiScoreClick() {
  if (!settings_.modernKeys()) return resetHiScores();
  askFirst("Reset the best scores, " + std::to_string(vars.HiScoreA) + " in Game A and " +
               std::to_string(vars.HiScoreB) + " in Game B, to 0?",
           &Handheld::resetHiScores, AfterYes::GameGoesOn);
}

// The display stays as it is. A refused write ends the command there, with
// both best scores already 0 for the rest of the run.
void Handheld::resetHiScores() {
  vars.HiScoreA = 0;
  vars.HiScoreB = 0;
  hiScoreStore_.value().writeInteger(kHiScoreAWriteName, 0);
  hiScoreStore_.value().writeInteger(kHiScoreBWriteName, 0);
  resetAidedBests();
  ports_.beep.beep();
}

// A running game waits while the player is in the settings, and goes on
// when they are closed (see closeSettingsForm).
void Handheld::PM_SettingsClick() {
  holdGameFor(PauseHolder::Settings);
  if (ports_.playerEvents) ports_.playerEvents->settingsRequested();
}

void Handheld::PM_PauseClick() {
  if (paused_)
    resume();
  else if (canPause())
    pause();
}

MenuItemState Handheld::menuItemState(const MenuItem& item) const {
  if (item.command != MenuCommand::PM_Pause) return {item.caption, item.shortcutText};
  return {paused_ ? kResumeCaption : item.caption, settings_.modernKeys() ? "P" : "", paused_ || canPause()};
}

// A game in progress is lost: with modern keys the player confirms it.
void Handheld::PM_10ExitClick() {
  if (!settings_.modernKeys() || !vars.GameRunning) return quit();
  askFirst("Quit the game in progress?", &Handheld::quit, AfterYes::ProgramEnds);
}

}  // namespace wuffel
