// What the stand-in audio module's output was asked, and on which threads
// it was made and destroyed; and a gate that holds the module's making of
// its output, as a slow disk would hold the loading of its libraries.
#pragma once

class QThread;

struct RecordedAudio {
  QThread* madeOn = nullptr;
  QThread* destroyedOn = nullptr;
  int prepared = 0;
  int started = 0;
  bool held = false;  // set by the test: the output is not made while it is
};

// The rate the stand-in's output reports, which no silent output has.
inline constexpr int kRecordingOutputRate = 44100;

// Exported by the module as "wuffelRecordedAudio".
using RecordedAudioFunction = RecordedAudio* (*)();
