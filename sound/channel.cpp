#include "sound/channel.h"

#include <algorithm>
#include <iostream>

namespace wuffel {

namespace {

constexpr std::string_view kNames[kChannelCount] = {
    "MPlayerBack", "MPlayerBall", "MPlayerHit", "MPlayerMiss", "MPlayerOver", "MPlayerChance"};
constexpr std::string_view kFiles[kChannelCount] = {
    ".\\SOUND\\BACK.WAV", ".\\SOUND\\BALL.WAV", ".\\SOUND\\HIT.WAV",
    ".\\SOUND\\MISS.WAV", ".\\SOUND\\OVER.WAV", ".\\SOUND\\CHANCE.WAV"};

int indexOf(ChannelId id) { return static_cast<int>(id); }

}  // namespace

std::string_view channelName(ChannelId id) { return kNames[indexOf(id)]; }
std::string_view channelFileName(ChannelId id) { return kFiles[indexOf(id)]; }

std::string_view opName(SoundOp op) {
  switch (op) {
    case SoundOp::Open: return "open";
    case SoundOp::Play: return "play";
    case SoundOp::Stop: return "stop";
    case SoundOp::Rewind: return "rewind";
    case SoundOp::Close: return "close";
  }
  return "?";
}

SoundChannel::SoundChannel(ChannelId id, MediaClock& clock, SoundLoader& loader,
                           AudioOutput& output, SoundObserver* observer)
    : id_(id), clock_(clock), loader_(loader), output_(output), observer_(observer) {}

void SoundChannel::notify(SoundOp op) {
  if (observer_) observer_->soundRequested(id_, op);
}

// Callers expect these to return so the rest of their step runs; one line
// per channel is enough to tell why the game is silent.
bool SoundChannel::ignoredWhenClosed(SoundOp op) {
  if (isOpen()) return false;
  if (!warnedClosed_) {
    warnedClosed_ = true;
    std::cerr << channelName(id_) << ": No MCI device open; " << opName(op) << " ignored\n";
  }
  return true;
}

std::int64_t SoundChannel::positionMs() const {
  if (!playing_) return positionMs_;
  const std::int64_t elapsed = std::max<std::int64_t>(0, clock_.nowMs() - startedAtMs_) * speed_ / 100;
  return std::min(lengthMs(), positionMs_ + elapsed);
}

bool SoundChannel::isSounding() const { return playing_ && positionMs() < lengthMs(); }

void SoundChannel::haltAt(std::int64_t positionMs) {
  if (playing_) output_.stop(indexOf(id_));
  playing_ = false;
  suspended_ = false;
  positionMs_ = positionMs;
}

void SoundChannel::suspend() {
  if (!isSounding()) return;
  haltAt(positionMs());
  suspended_ = true;
}

void SoundChannel::resume() {
  if (!suspended_) return;
  suspended_ = false;
  playing_ = true;
  startedAtMs_ = clock_.nowMs();
  startVoice(positionMs_ * sound_->sampleRate / 1000);
}

// An output may serve more than one set of channels (a replay's beside the
// game's), so each voice starts at its own channel's speed.
void SoundChannel::startVoice(std::int64_t fromFrame) {
  output_.setSpeed(speed_);
  output_.start(indexOf(id_), sound_, fromFrame);
}

void SoundChannel::setSpeed(int percent) {
  if (percent == speed_) return;
  if (!isSounding()) {
    speed_ = percent;
    return;
  }
  const std::int64_t at = positionMs();
  speed_ = percent;
  positionMs_ = at;
  startedAtMs_ = clock_.nowMs();
  startVoice(at * sound_->sampleRate / 1000);
}

void SoundChannel::open() {
  notify(SoundOp::Open);
  if (isOpen()) {
    haltAt(0);
    sound_.reset();
  }
  SoundPtr sound = loader_.load(channelFileName(id_));
  sound_ = std::move(sound);
  playing_ = false;
  positionMs_ = 0;
}

void SoundChannel::play() {
  notify(SoundOp::Play);
  if (ignoredWhenClosed(SoundOp::Play)) return;
  if (isSounding()) return;  // a second request does not restart it
  suspended_ = false;
  std::int64_t from = positionMs();
  if (from >= lengthMs()) from = 0;  // played to its end: rewind first
  playing_ = true;
  positionMs_ = from;
  startedAtMs_ = clock_.nowMs();
  if (from >= lengthMs()) return;  // a file too short to sound at all
  const std::int64_t frame = from * sound_->sampleRate / 1000;
  startVoice(frame);
}

void SoundChannel::stop() {
  notify(SoundOp::Stop);
  if (ignoredWhenClosed(SoundOp::Stop)) return;
  haltAt(positionMs());
}

void SoundChannel::rewind() {
  notify(SoundOp::Rewind);
  if (ignoredWhenClosed(SoundOp::Rewind)) return;
  haltAt(0);
}

void SoundChannel::close() {
  notify(SoundOp::Close);
  if (!isOpen()) return;
  haltAt(0);
  sound_.reset();
}

SoundChannels::SoundChannels(MediaClock& clock, SoundLoader& loader, AudioOutput& output,
                             SoundObserver* observer)
    : output_(output) {
  for (int i = 0; i < kChannelCount; ++i)
    channels_[i] = std::make_unique<SoundChannel>(static_cast<ChannelId>(i), clock, loader,
                                                  output, observer);
}

SoundChannels::~SoundChannels() = default;

SoundChannel& SoundChannels::operator[](ChannelId id) { return *channels_[indexOf(id)]; }

const SoundChannel& SoundChannels::operator[](ChannelId id) const { return *channels_[indexOf(id)]; }

void SoundChannels::closeAll() {
  for (auto& channel : channels_)
    if (channel->isOpen()) channel->close();
}

void SoundChannels::setSpeed(int percent) {
  output_.setSpeed(percent);
  for (auto& channel : channels_) channel->setSpeed(percent);
}

void SoundChannels::suspendAll() {
  for (auto& channel : channels_) channel->suspend();
}

void SoundChannels::resumeAll() {
  for (auto& channel : channels_) channel->resume();
}

}  // namespace wuffel
