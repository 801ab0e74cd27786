// SPDX-License-Identifier: GPL-3.0-or-later
// Fire-and-forget playback of short wave files.
//
// Sounds are decoded into one fixed output format and handed to a sink that
// plays them asynchronously; a new sound replaces the one still playing.
// A file that cannot be played falls back to a short chime made in code, so
// every event the user should hear is heard, and a machine with no audio
// device simply stays silent.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/error.h"

namespace platform::os {

// Interleaved signed 16-bit samples in native byte order.
struct PcmSound {
    static constexpr int kFrequency = 44100;
    static constexpr int kChannels = 2;
    std::vector<int16_t> samples;

    size_t frames() const { return samples.size() / kChannels; }
};

// Where decoded sounds go. Play() must return at once.
class SoundSink {
  public:
    virtual ~SoundSink() = default;
    // Starts `sound`, cutting off anything still playing.
    virtual void Play(const PcmSound& sound) = 0;
};

// Wave files larger than this are not loaded (the default chime plays).
inline constexpr size_t kMaxWaveFileBytes = 32 * 1024 * 1024;

// Decodes a wave file into the output format.
Result<PcmSound> LoadWave(const std::string& path);

// The built-in two-tone chime played in place of a missing or broken file.
const PcmSound& DefaultChime();

// Plays through the sound card with SDL audio, opened on the first sound. If
// no device can be opened it stays silent for the rest of the run rather than
// trying again on every sound.
//
// Quietly: when SDL settles on ALSA by itself (no sound server answered and
// no driver was asked for) on a machine without a sound card, no device is
// opened at all, since ALSA would only report its failure on stderr.
class DeviceSoundSink : public SoundSink {
  public:
    // `sound_cards` is where the sound card devices live.
    explicit DeviceSoundSink(std::string sound_cards = "/dev/snd")
        : sound_cards_(std::move(sound_cards)) {}
    DeviceSoundSink(const DeviceSoundSink&) = delete;
    DeviceSoundSink& operator=(const DeviceSoundSink&) = delete;
    ~DeviceSoundSink() override;

    void Play(const PcmSound& sound) override;

    // Whether a device is open (after the first Play).
    bool has_device() const { return device_ != 0; }
    // Bytes still waiting to be played.
    size_t QueuedBytes() const;

  private:
    bool EnsureOpen();

    std::string sound_cards_;
    bool tried_ = false;
    bool subsystem_started_ = false;
    uint32_t device_ = 0;
};

// Loads and plays sounds through one sink.
class SoundPlayer {
  public:
    explicit SoundPlayer(std::unique_ptr<SoundSink> sink) : sink_(std::move(sink)) {}

    // Plays the wave file at `path`, or the default chime if it cannot;
    // false when the chime played.
    bool Play(const std::string& path);

  private:
    std::unique_ptr<SoundSink> sink_;
};

// Plays a wave file through the process-wide player, asynchronously.
void PlaySound(const std::string& path);

// A sound asked of PlaySound: the file, and whether the chime stood in for
// it.
struct PlayedSound {
    std::string file;
    bool chime = false;
};

// The sounds asked of PlaySound lately, oldest first (at most
// kPlayedSoundRecord of them), for state reports.
inline constexpr size_t kPlayedSoundRecord = 32;
std::vector<PlayedSound> PlayedSounds();

// Replaces the process-wide sink (tests record what would be heard);
// nullptr goes back to the sound card.
void SetSoundSink(std::unique_ptr<SoundSink> sink);

}  // namespace platform::os
