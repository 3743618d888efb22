// What a wave file's header says, read the same way in every build: the
// limits a sound file must keep, the chunk walk to its format and its
// samples, and the messages that name what is wrong with it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "sound/sound.h"

namespace wuffel::wave {

// Sample rates and channel counts a file or an output may have.
inline constexpr int kMinRate = 1000;
inline constexpr int kMaxRate = 384000;
inline constexpr int kMaxChannels = 16;
// The most memory a sound may take once decoded to floats, at its own or
// at the output's format.
inline constexpr std::size_t kMaxDecodedBytes = 64u * 1024u * 1024u;

inline constexpr std::uint16_t kTagPcm = 1;
inline constexpr std::uint16_t kTagFloat = 3;

struct Header {
  std::uint16_t tag = 0;  // the encoding; an extensible header's own
  int channels = 0;
  std::uint32_t rate = 0;
  int bits = 0;
  bool hasFormat = false;
  bool hasData = false;
  // The samples' bytes that the file holds, which may be fewer than its
  // header claims.
  std::size_t dataBytes = 0;
};

// Walks a RIFF WAVE file's chunks to its format and data chunks. False when
// the bytes do not start as a wave file.
bool readHeader(const unsigned char* bytes, std::size_t size, Header& header);

// Why a rate and channel count cannot be played ("its sample rate of 0 Hz
// is not usable"), or nothing when they can.
std::string unusableFormat(std::int64_t rate, int channels);

// Whether `frames` at `rate` would take more than kMaxDecodedBytes, at the
// file's own channel count or once converted to the sized format.
bool tooLongToDecode(double frames, int rate, int channels, int sizedRate, int sizedChannels);
inline constexpr const char* kTooLong = "it is too long (more than 64 MiB of decoded sound)";

// A sound's format and length from its header alone, without its samples:
// what a build whose output decodes the files itself (the page's Web Audio,
// the runner's silence) needs. Integer PCM and float encodings only, the
// ones the game's own sounds and every usual editor write. The length and
// every refusal come out as the decoding loader gives them.
DecodedSound soundOfHeader(const std::string& name, const unsigned char* bytes, std::size_t size, int sizedRate,
                           int sizedChannels);

}  // namespace wuffel::wave
