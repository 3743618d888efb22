#include "web/page_ports.h"

#include <emscripten/emscripten.h>

#include <cstdint>
#include <utility>

#include "frontend/addresses.h"
#include "game/handheld.h"
#include "web/glue.h"

namespace wuffel::web {

void PageErrorBox::showError(const std::string& message) {
  words_.error(message);
  wuffel_glue_showError(std::string(kApplicationTitle).c_str(), message.c_str());
}

void PageQuestionBox::ask(const std::string& question, std::function<void(bool)> answered) {
  words_.asked(question);
  answered_ = std::move(answered);
  wuffel_glue_askQuestion(std::string(kApplicationTitle).c_str(), question.c_str());
}

void PageQuestionBox::answer(bool yes) {
  if (!answered_) return;
  words_.answered(yes);
  std::exchange(answered_, nullptr)(yes);
}

void PageShell::open(const std::string& target) {
  words_.opened(target);
  const std::string address = siteAddressOf(target);
  if (!address.empty()) wuffel_glue_openInNewTab(address.c_str());
}

void PageBeep::beep() {
  words_.beep();
  wuffel_glue_beep();
}

PageAnnouncer::PageAnnouncer(Handheld& handheld)
    : Announcer([] { return static_cast<std::int64_t>(emscripten_get_now()); },
                [](const std::string& sentence) { wuffel_glue_announce(sentence.c_str()); }) {
  handheld.observeGame(this);
}

}  // namespace wuffel::web
