// The audio output as a module of its own, so that the sound server's
// client library is loaded when the program asks for it (on a thread of
// its own) rather than before it starts.
#include <QtGlobal>

#include "app/qt_audio_output.h"

extern "C" Q_DECL_EXPORT wuffel::AudioOutput* wuffelCreateAudioOutput() {
  return new wuffel::QtAudioOutput;
}
