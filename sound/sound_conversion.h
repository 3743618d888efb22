// Turning decoded samples into the output's rate and channel count.
#pragma once

#include <string>
#include <vector>

#include "sound/sound.h"

namespace wuffel {

// Interleaved float samples at `fromRate` with `fromChannels` become samples
// at `toRate` with `toChannels`. Returns the converter's complaint, or an
// empty text when the conversion worked.
std::string convertSamples(std::vector<float>& samples, int fromChannels, int fromRate,
                           int toChannels, int toRate);

// `sound` at another rate and channel count; its length in milliseconds
// stays the file's. A sound that cannot be converted comes out silent.
SoundPtr convertSound(const DecodedSound& sound, int toRate, int toChannels);

std::vector<std::int16_t> toPcm16(const std::vector<float>& samples);

}  // namespace wuffel
