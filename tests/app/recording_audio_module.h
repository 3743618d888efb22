// What the stand-in audio module's output was asked, and on which threads
// it was made and destroyed.
#pragma once

class QThread;

struct RecordedAudio {
  QThread* madeOn = nullptr;
  QThread* destroyedOn = nullptr;
  int prepared = 0;
  int started = 0;
};

// Exported by the module as "wuffelRecordedAudio".
using RecordedAudioFunction = RecordedAudio* (*)();
