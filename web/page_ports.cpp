#include "web/page_ports.h"

#include <array>
#include <chrono>
#include <ctime>
#include <utility>

#include "game/documents.h"
#include "game/handheld.h"
#include "web/glue.h"

namespace wuffel::web {

namespace {
constexpr std::array kSiteDocuments{kReadmeDocument, kWhatsnewDocument};
constexpr std::int64_t kDayMs = 24LL * 60 * 60 * 1000;
}  // namespace

void PageErrorBox::showError(const std::string& message) {
  if (trace_) trace_->event("error " + message);
  wuffel_glue_showError(std::string(kApplicationTitle).c_str(), message.c_str());
}

void PageQuestionBox::ask(const std::string& question, std::function<void(bool)> answered) {
  if (trace_) trace_->event("ask " + question);
  answered_ = std::move(answered);
  wuffel_glue_askQuestion(std::string(kApplicationTitle).c_str(), question.c_str());
}

void PageQuestionBox::answer(bool yes) {
  if (!answered_) return;
  if (trace_) trace_->event(yes ? "answer yes" : "answer no");
  std::exchange(answered_, nullptr)(yes);
}

std::string PageShell::siteAddress(const std::string& target) {
  if (target.find(':') != std::string::npos) return target;
  for (const auto document : kSiteDocuments)
    if (document == target) {
      std::string path(document);
      for (char& c : path)
        if (c == '\\') c = '/';
      return path.rfind("./", 0) == 0 ? path.substr(2) : path;
    }
  return {};
}

void PageShell::open(const std::string& target) {
  if (trace_) trace_->event("open " + target);
  const std::string address = siteAddress(target);
  if (!address.empty()) wuffel_glue_openInNewTab(address.c_str());
}

int BrowserTimeOfDay::utcMillisecondsSinceMidnight() const {
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                      std::chrono::system_clock::now().time_since_epoch())
                      .count();
  return static_cast<int>(ms % kDayMs);
}

LocalTime BrowserTimeOfDay::localTime() const {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return {local.tm_hour, local.tm_min};
}

void PageBeep::beep() {
  if (trace_) trace_->event("beep");
  wuffel_glue_beep();
}

}  // namespace wuffel::web
