// The audio output as a module of its own, so that Qt Multimedia and the
// sound server's libraries are loaded when the program asks for them (on a
// thread of its own) rather than before it starts.
#include <QtGlobal>

#include "app/qt_audio_output.h"

extern "C" Q_DECL_EXPORT wuffel::AudioOutput* wuffelCreateAudioOutput() {
  return new wuffel::QtAudioOutput;
}
