#include "sound/sound_conversion.h"

#include <samplerate.h>

#include <algorithm>
#include <cmath>

namespace wuffel {

namespace {

std::vector<float> mixChannels(const std::vector<float>& in, int inCh, int outCh) {
  if (inCh == outCh) return in;
  const std::size_t frames = in.size() / static_cast<std::size_t>(inCh);
  std::vector<float> out(frames * static_cast<std::size_t>(outCh));
  for (std::size_t f = 0; f < frames; ++f) {
    const float* src = &in[f * inCh];
    float* dst = &out[f * outCh];
    if (inCh == 1) {
      std::fill(dst, dst + outCh, src[0]);
    } else {
      // Each output channel averages the inputs that fall on it, so a
      // stereo file played in mono keeps both sides at equal weight.
      for (int c = 0; c < outCh; ++c) {
        float sum = 0;
        int n = 0;
        for (int i = c; i < inCh; i += outCh) {
          sum += src[i];
          ++n;
        }
        dst[c] = n ? sum / static_cast<float>(n) : 0.0f;
      }
    }
  }
  return out;
}

std::string resample(std::vector<float>& samples, int channels, int fromRate, int toRate) {
  if (fromRate == toRate || samples.empty()) return {};
  const double ratio = static_cast<double>(toRate) / fromRate;
  const long frames = static_cast<long>(samples.size() / static_cast<std::size_t>(channels));
  const long capacity = static_cast<long>(std::ceil(static_cast<double>(frames) * ratio)) + 16;
  std::vector<float> out(static_cast<std::size_t>(capacity) * channels);
  SRC_DATA data{};
  data.data_in = samples.data();
  data.input_frames = frames;
  data.data_out = out.data();
  data.output_frames = capacity;
  data.src_ratio = ratio;
  const int err = src_simple(&data, SRC_SINC_MEDIUM_QUALITY, channels);
  if (err != 0) return src_strerror(err);
  out.resize(static_cast<std::size_t>(data.output_frames_gen) * channels);
  samples = std::move(out);
  return {};
}

}  // namespace

std::string convertSamples(std::vector<float>& samples, int fromChannels, int fromRate,
                           int toChannels, int toRate) {
  // Resampling costs in proportion to the channels, so it runs where there
  // are fewest: after a mix down, before a mix up.
  if (toChannels < fromChannels) samples = mixChannels(samples, fromChannels, toChannels);
  const std::string why = resample(samples, std::min(fromChannels, toChannels), fromRate, toRate);
  if (!why.empty()) return why;
  if (toChannels > fromChannels) samples = mixChannels(samples, fromChannels, toChannels);
  return {};
}

std::vector<std::int16_t> toPcm16(const std::vector<float>& samples) {
  std::vector<std::int16_t> out(samples.size());
  for (std::size_t i = 0; i < samples.size(); ++i) {
    float v = samples[i];
    if (!std::isfinite(v)) v = 0.0f;  // garbled float data
    out[i] = static_cast<std::int16_t>(std::lround(std::clamp(v, -1.0f, 32767.0f / 32768.0f) * 32768.0f));
  }
  return out;
}

SoundPtr convertSound(const DecodedSound& sound, int toRate, int toChannels) {
  auto out = std::make_shared<DecodedSound>();
  out->sampleRate = toRate;
  out->channels = toChannels;
  out->lengthMs = sound.lengthMs;
  std::vector<float> samples(sound.samples.size());
  for (std::size_t i = 0; i < samples.size(); ++i) samples[i] = sound.samples[i] / 32768.0f;
  if (convertSamples(samples, sound.channels, sound.sampleRate, toChannels, toRate).empty())
    out->samples = toPcm16(samples);
  return out;
}

}  // namespace wuffel
