// Wave files read without libsndfile, for the browser edition, which has no
// build of it: integer PCM and float encodings only, the ones the game's own
// sounds and every usual editor write. Lengths come out as the desktop's
// loader gives them, so both editions' traces agree.
#pragma once

#include <cstddef>
#include <string>

#include "sound/sound.h"

namespace wuffel::web {

// Decodes a whole file to 16-bit samples at its own rate and channel count.
// `name` appears in messages only. `sizedRate` and `sizedChannels` are the
// format the caller will convert to, which bounds how long a file may be.
// Throws WuffelError with the desktop loader's texts.
DecodedSound readPcmWave(const std::string& name, const unsigned char* data, std::size_t size,
                         int sizedRate, int sizedChannels);

}  // namespace wuffel::web
