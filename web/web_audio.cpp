#include "web/web_audio.h"

#include "web/glue.h"

namespace wuffel::web {

SoundPtr NamedSoundLoader::load(std::string_view storedName) {
  SoundPtr sound = files_.load(storedName);
  files_of_[sound.get()] = WaveFileLoader::relativeName(storedName);
  return sound;
}

std::string NamedSoundLoader::fileOf(const DecodedSound* sound) const {
  const auto it = files_of_.find(sound);
  return it == files_of_.end() ? std::string() : it->second;
}

void WebAudioOutput::start(int voice, SoundPtr sound, std::int64_t fromFrame) {
  if (!sound || sound->sampleRate <= 0) return;
  wuffel_glue_startVoice(voice, loader_.fileOf(sound.get()).c_str(),
                         static_cast<double>(fromFrame) / sound->sampleRate, percent_ / 100.0);
}

void WebAudioOutput::stop(int voice) { wuffel_glue_stopVoice(voice); }

void WebAudioOutput::setGain(double gain) { wuffel_glue_setGain(gain); }

}  // namespace wuffel::web
