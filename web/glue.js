// The C++ front end's calls into the page (declared in web/glue.h). Each
// only converts its arguments and hands them to the page object that
// site/page/main.js makes of the page's parts, which own the DOM, the
// canvas and Web Audio.
mergeInto(LibraryManager.library, {
  wuffel_glue_beginFrame: function () { Module.page.beginFrame(); },
  wuffel_glue_drawPicture: function (owner, left, top, isPhotograph) {
    Module.page.drawPicture(owner, left, top, isPhotograph !== 0);
  },
  wuffel_glue_drawGlow: function (centreX, centreY, radius, red, green, blue, strength) {
    Module.page.drawGlow(centreX, centreY, radius, red, green, blue, strength);
  },
  wuffel_glue_endFrame: function () { Module.page.endFrame(); },
  wuffel_glue_showCaseCaption: function (text, centreX, baseline) {
    Module.page.showCaseCaption(UTF8ToString(text), centreX, baseline);
  },
  wuffel_glue_setPointer: function (shape, hint) { Module.page.setPointer(shape, UTF8ToString(hint)); },

  wuffel_glue_showViews: function (splash, handheld, about) {
    Module.page.showViews(splash !== 0, handheld !== 0, about !== 0);
  },
  wuffel_glue_addMenuItem: function (caption, shortcut, command, isDefault) {
    Module.page.addMenuItem(UTF8ToString(caption), UTF8ToString(shortcut), command, isDefault !== 0);
  },
  wuffel_glue_showMenuItem: function (command, caption, shortcut, enabled) {
    Module.page.showMenuItem(command, UTF8ToString(caption), UTF8ToString(shortcut), enabled !== 0);
  },
  wuffel_glue_popupMenu: function (x, y) { Module.page.popupMenu(x, y); },
  wuffel_glue_showError: function (caption, message) {
    Module.page.showError(UTF8ToString(caption), UTF8ToString(message));
  },
  wuffel_glue_askQuestion: function (caption, question) {
    Module.page.askQuestion(UTF8ToString(caption), UTF8ToString(question));
  },
  wuffel_glue_openInNewTab: function (address) { Module.page.openInNewTab(UTF8ToString(address)); },
  wuffel_glue_beep: function () { Module.page.beep(); },

  wuffel_glue_startVoice: function (voice, file, fromSeconds, rate) {
    Module.page.startVoice(voice, UTF8ToString(file), fromSeconds, rate);
  },
  wuffel_glue_stopVoice: function (voice) { Module.page.stopVoice(voice); },
  wuffel_glue_setGain: function (gain) { Module.page.setGain(gain); },

  wuffel_glue_settingRange: function (name, low, high) { Module.page.settingRange(UTF8ToString(name), low, high); },
  wuffel_glue_settingChoice: function (name, text) {
    Module.page.settingChoice(UTF8ToString(name), UTF8ToString(text));
  },
  wuffel_glue_showSetting: function (name, text) { Module.page.showSetting(UTF8ToString(name), UTF8ToString(text)); },
  wuffel_glue_settingNotSaved: function () { Module.page.settingNotSaved(); },
  wuffel_glue_openSettings: function () { Module.page.openSettings(); },
  wuffel_glue_setPaused: function (paused) { Module.page.setPaused(paused !== 0); },
  wuffel_glue_addFaceControl: function (name, element) {
    Module.page.addFaceControl(UTF8ToString(name), UTF8ToString(element));
  },
  wuffel_glue_faceControlActs: function (index, acts) { Module.page.faceControlActs(index, acts !== 0); },
  wuffel_glue_announce: function (sentence) { Module.page.announce(UTF8ToString(sentence)); },

  // A text for the C++ side to free, its size in bytes at `sizeAt`: the
  // size, not the terminating zero, tells where it ends, as a text may hold
  // zero characters of its own.
  $wuffelText__deps: ['malloc'],
  $wuffelText: function (text, sizeAt) {
    const size = lengthBytesUTF8(text);
    const address = _malloc(size + 1);
    stringToUTF8(text, address, size + 1);
    HEAP32[sizeAt >> 2] = size;
    return address;
  },
  wuffel_glue_storageKeys__deps: ['$wuffelText'],
  wuffel_glue_storageKeys: function (sizeAt) { return wuffelText(Module.page.storageKeys().join('\n'), sizeAt); },
  wuffel_glue_storageGet__deps: ['$wuffelText'],
  wuffel_glue_storageGet: function (key, sizeAt) {
    const value = Module.page.storageGet(UTF8ToString(key));
    return value === null ? 0 : wuffelText(value, sizeAt);
  },
  wuffel_glue_storageSet: function (key, value) {
    return Module.page.storageSet(UTF8ToString(key), UTF8ToString(value)) ? 1 : 0;
  },

  wuffel_glue_setReplay: function (suffix) { Module.page.setReplay(UTF8ToString(suffix)); },
  wuffel_glue_openRecording: function () { Module.page.openRecording(); },
  wuffel_glue_download: function (name, text) { Module.page.download(UTF8ToString(name), UTF8ToString(text)); },

  wuffel_glue_traceLine: function (line) { Module.page.traceLine(UTF8ToString(line)); },
});
