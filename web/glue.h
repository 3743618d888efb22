// What the page's JavaScript (web/glue.js) does for the C++ front end: the
// drawing calls, the page's views, Web Audio, localStorage and the console.
// Everything crosses as plain numbers and UTF-8 texts.
#pragma once

extern "C" {

// Drawing, in face units; the glue scales to the canvas's device pixels.
void wuffel_glue_beginFrame();
void wuffel_glue_drawPicture(int owner, int left, int top, int isPhotograph);
void wuffel_glue_drawGlow(double centreX, double centreY, double radius, int red, int green, int blue,
                          double strength);
void wuffel_glue_endFrame();
// Words printed on the case, centred at `centreX` on `baseline` (face
// units); none when empty.
void wuffel_glue_showCaseCaption(const char* text, double centreX, double baseline);
void wuffel_glue_setPointer(int shape, const char* hint);

// The page's parts standing for the three windows, the menu, the error box
// and the question box.
void wuffel_glue_showViews(int splash, int handheld, int about);
void wuffel_glue_addMenuItem(const char* caption, const char* shortcut, int command, int isDefault);
void wuffel_glue_showMenuItem(int command, const char* caption, const char* shortcut, int enabled);
void wuffel_glue_popupMenu(int x, int y);
void wuffel_glue_showError(const char* caption, const char* message);
void wuffel_glue_askQuestion(const char* caption, const char* question);
void wuffel_glue_openInNewTab(const char* address);
void wuffel_glue_beep();

// Web Audio: six voices over the decoded wave files, named as SOUND/X.WAV,
// mixed at one gain.
void wuffel_glue_startVoice(int voice, const char* file, double fromSeconds, double rate);
void wuffel_glue_stopVoice(int voice);
void wuffel_glue_setGain(double gain);

// The players' settings, by their names and stored texts: what each can
// hold, its value, the panel itself, the note that a change could not be
// stored, and the pause in the page's title.
void wuffel_glue_settingRange(const char* name, int low, int high);
void wuffel_glue_settingChoice(const char* name, const char* text);
void wuffel_glue_showSetting(const char* name, const char* text);
void wuffel_glue_settingNotSaved();
void wuffel_glue_openSettings();
void wuffel_glue_setPaused(int paused);

// The case's buttons as the page's named controls over the face, in the
// order they are read, each pressing its element; whether each acts now;
// and a sentence for the page's live region.
void wuffel_glue_addFaceControl(const char* name, const char* element);
void wuffel_glue_faceControlActs(int index, int acts);
void wuffel_glue_announce(const char* sentence);

// localStorage. Texts returned are malloc'ed, or null, with their size in
// bytes in `size`: a stored text may hold zero bytes of its own.
char* wuffel_glue_storageKeys(int* size);  // every key, one per line
char* wuffel_glue_storageGet(const char* key, int* size);
int wuffel_glue_storageSet(const char* key, const char* value);  // 0 when refused

// Watching: the page's title while a replay shows, the file picker for a
// recording (its text comes back through wuffel_watch), and a download.
void wuffel_glue_setReplay(const char* titleSuffix);
void wuffel_glue_openRecording();
void wuffel_glue_download(const char* fileName, const char* text);

void wuffel_glue_traceLine(const char* line);
}
