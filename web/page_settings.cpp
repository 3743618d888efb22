#include "web/page_settings.h"

#include <string>

#include "frontend/aided_best_caption.h"
#include "frontend/face_controls.h"
#include "web/glue.h"

namespace wuffel::web {

void PageSettings::describe() {
  for (const auto& info : kSettings) {
    const std::string name(info.name);
    switch (info.kind) {
      case SettingInfo::Kind::Range: wuffel_glue_settingRange(name.c_str(), info.low, info.high); break;
      case SettingInfo::Kind::KeyModeWord:
        for (int value = info.low; value <= info.high; ++value)
          wuffel_glue_settingChoice(name.c_str(), settingText(info.id, value).c_str());
        break;
      case SettingInfo::Kind::ZoomSteps:
        for (int step : kZoomSteps) wuffel_glue_settingChoice(name.c_str(), settingText(info.id, step).c_str());
        break;
      case SettingInfo::Kind::SpeedSteps:
        for (int step : kSpeedSteps) wuffel_glue_settingChoice(name.c_str(), settingText(info.id, step).c_str());
        break;
    }
  }
  for (const auto& control : kFaceControls)
    wuffel_glue_addFaceControl(std::string(control.name).c_str(), std::string(nameOf(control.button)).c_str());
}

void PageSettings::attach(Handheld& handheld) {
  handheld_ = &handheld;
  // Changing one takes it out of the list when the store takes it now.
  for (const auto& [setting, value] : std::map(unsaved_)) handheld.changeSetting(setting, value);
  for (const auto& info : kSettings) show(info.id);
  wuffel_glue_setPaused(0);
}

void PageSettings::change(std::string_view name, std::string_view text) {
  const auto setting = settingNamed(name);
  const auto value = setting ? parseSettingValue(*setting, text) : std::nullopt;
  if (handheld_ && value && handheld_->settings().value(*setting) != *value) handheld_->changeSetting(*setting, *value);
}

void PageSettings::pauseChanged(bool paused) {
  if (trace_) trace_->pauseChanged(paused);
  wuffel_glue_setPaused(paused ? 1 : 0);
}

void PageSettings::settingChanged(Setting setting, int value, bool saved) {
  if (trace_) trace_->settingChanged(setting, value, saved);
  if (saved) {
    unsaved_.erase(setting);
  } else {
    unsaved_[setting] = value;
    wuffel_glue_settingNotSaved();
  }
  show(setting);
}

void PageSettings::settingsRequested() {
  if (trace_) trace_->settingsRequested();
  wuffel_glue_openSettings();
}

void PageSettings::aidedBestShown(bool shown) {
  const std::string caption = shown && handheld_ ? aidedBestCaption(handheld_->settings()) : std::string();
  wuffel_glue_showCaseCaption(caption.c_str(), kScreenArea.left + kScreenArea.width / 2.0, kCasePrintBaseline);
}

void PageSettings::show(Setting setting) const {
  wuffel_glue_showSetting(std::string(settingInfo(setting).name).c_str(),
                          settingText(setting, handheld_->settings().value(setting)).c_str());
  // The keys decide which of the case's buttons answer the mouse.
  if (setting != Setting::Keys) return;
  for (std::size_t i = 0; i < kFaceControls.size(); ++i)
    wuffel_glue_faceControlActs(static_cast<int>(i), controlActs(kFaceControls[i], handheld_->settings()) ? 1 : 0);
}

}  // namespace wuffel::web
