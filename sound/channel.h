#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>

#include "sound/audio_output.h"
#include "sound/sound.h"

namespace wuffel {

enum class ChannelId { MPlayerBack, MPlayerBall, MPlayerHit, MPlayerMiss, MPlayerOver, MPlayerChance };
inline constexpr int kChannelCount = 6;

std::string_view channelName(ChannelId);
std::string_view channelFileName(ChannelId);

enum class SoundOp { Open, Play, Stop, Rewind, Close };
std::string_view opName(SoundOp);

class SoundObserver {
 public:
  virtual ~SoundObserver() = default;
  virtual void soundRequested(ChannelId, SoundOp) = 0;
};

// Milliseconds on a monotonic clock: the wall clock in the program, virtual
// time in the scenario runner and tests.
class MediaClock {
 public:
  virtual ~MediaClock() = default;
  virtual std::int64_t nowMs() const = 0;
};

// One channel, bound to one file. Its position follows the media clock, not
// the audio device, so it is exact under virtual time and without a device.
class SoundChannel {
 public:
  SoundChannel(ChannelId id, MediaClock& clock, SoundLoader& loader, AudioOutput& output,
               SoundObserver* observer);

  void open();  // throws WuffelError naming the file and why
  void play();
  void stop();
  void rewind();
  void close();
  // A paused game: a sounding channel falls silent where it is, and goes on
  // from there on resume(). No request of the game's, so nothing is reported.
  void suspend();
  void resume();
  // The game runs at `percent` of its pace: the sound plays slower, its
  // position and length staying in the sound's own milliseconds. One that
  // sounds goes on from where it is.
  void setSpeed(int percent);

  bool isOpen() const { return sound_ != nullptr; }
  bool isSounding() const;
  std::int64_t positionMs() const;
  std::int64_t lengthMs() const { return sound_ ? sound_->lengthMs : 0; }
  ChannelId id() const { return id_; }

 private:
  void notify(SoundOp op);
  bool ignoredWhenClosed(SoundOp op);
  void haltAt(std::int64_t positionMs);
  void startVoice(std::int64_t fromFrame);

  ChannelId id_;
  MediaClock& clock_;
  SoundLoader& loader_;
  AudioOutput& output_;
  SoundObserver* observer_;

  SoundPtr sound_;
  bool playing_ = false;
  std::int64_t positionMs_ = 0;   // while playing: the position at startedAtMs_
  std::int64_t startedAtMs_ = 0;
  bool warnedClosed_ = false;
  bool suspended_ = false;
  int speed_ = 100;
};

// The six channels, in creation order; owns them.
class SoundChannels {
 public:
  SoundChannels(MediaClock& clock, SoundLoader& loader, AudioOutput& output,
                SoundObserver* observer = nullptr);
  ~SoundChannels();
  SoundChannels(const SoundChannels&) = delete;
  SoundChannels& operator=(const SoundChannels&) = delete;

  SoundChannel& operator[](ChannelId id);
  const SoundChannel& operator[](ChannelId id) const;
  void closeAll();  // close every open channel (program end)
  void suspendAll();
  void resumeAll();
  void setGain(double gain) { output_.setGain(gain); }
  void setSpeed(int percent);

 private:
  AudioOutput& output_;
  std::array<std::unique_ptr<SoundChannel>, kChannelCount> channels_;
};

}  // namespace wuffel
