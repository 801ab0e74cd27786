// SPDX-License-Identifier: GPL-3.0-or-later
// Sounds: what reaches the sink for good, missing and broken files, and the
// device sink's promise to cut off the previous sound and to stay silent
// without a device, and quietly so without a sound card.
#include "platform/os/sound.h"

#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdlib>

#include "os_test_util.h"

namespace platform::os {
namespace {

using os_test::ScratchFolder;
using os_test::WriteText;

class RecordingSink : public SoundSink {
  public:
    explicit RecordingSink(std::vector<PcmSound>* played) : played_(played) {}
    void Play(const PcmSound& sound) override { played_->push_back(sound); }

  private:
    std::vector<PcmSound>* played_;
};

void PutLe(std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// A mono 8-bit wave file of `frames` samples at `rate`.
std::string MonoWave(uint32_t rate, uint32_t frames) {
    std::string wav = "RIFF";
    PutLe(wav, 36 + frames, 4);
    wav += "WAVEfmt ";
    PutLe(wav, 16, 4);
    PutLe(wav, 1, 2);  // PCM
    PutLe(wav, 1, 2);  // mono
    PutLe(wav, rate, 4);
    PutLe(wav, rate, 4);  // bytes per second
    PutLe(wav, 1, 2);     // block align
    PutLe(wav, 8, 2);     // bits per sample
    wav += "data";
    PutLe(wav, frames, 4);
    for (uint32_t i = 0; i < frames; ++i) wav += static_cast<char>(i % 2 ? 0xC0 : 0x40);
    return wav;
}

bool IsChime(const PcmSound& sound) {
    return sound.samples == DefaultChime().samples;
}

TEST(SoundPlayerTest, PlaysDecodedFilesAndTheChimeForAnythingElse) {
    ScratchFolder dir;
    WriteText(dir / "click.wav", MonoWave(22050, 2205));  // 0.1 s
    WriteText(dir / "broken.wav", "RIFF\x10\0\0\0WAVEjunkjunk");
    WriteText(dir / "truncated.wav", MonoWave(22050, 2205).substr(0, 30));

    std::vector<PcmSound> played;
    SoundPlayer player(std::make_unique<RecordingSink>(&played));
    for (const char* name : {"click.wav", "missing.wav", "broken.wav", "truncated.wav"}) {
        player.Play(dir / name);
    }
    ASSERT_EQ(played.size(), 4u);
    // Resampled to the output rate: twice the frames, two channels.
    EXPECT_FALSE(IsChime(played[0]));
    EXPECT_NEAR(static_cast<double>(played[0].frames()), 4410.0, 16.0);
    EXPECT_TRUE(IsChime(played[1]));
    EXPECT_TRUE(IsChime(played[2]));
    EXPECT_TRUE(IsChime(played[3]));
    player.Play(dir.path());  // a folder is not a sound either
    EXPECT_TRUE(IsChime(played.back()));
}

TEST(SoundPlayerTest, ChimeIsShortUnclippedAndStartsAndEndsQuietly) {
    const PcmSound& chime = DefaultChime();
    ASSERT_GT(chime.frames(), 0u);
    EXPECT_LT(chime.frames(), static_cast<size_t>(PcmSound::kFrequency));
    int peak = 0;
    for (int16_t s : chime.samples) peak = std::max(peak, std::abs(static_cast<int>(s)));
    EXPECT_GT(peak, 3000);
    EXPECT_LT(peak, 32767);
    // An abrupt first or last sample would be heard as a click.
    EXPECT_LT(std::abs(chime.samples.front()), 200);
    EXPECT_LT(std::abs(chime.samples.back()), 200);
}

TEST(SoundPlayerTest, ProcessWidePlayerUsesTheSwappedInSink) {
    std::vector<PcmSound> played;
    SetSoundSink(std::make_unique<RecordingSink>(&played));
    PlaySound("/nonexistent/start.wav");
    PlaySound("/nonexistent/click.wav");
    SetSoundSink(nullptr);  // `played` is about to go away
    EXPECT_EQ(played.size(), 2u);
}

TEST(DeviceSoundSinkTest, NewSoundCutsOffTheOldOne) {
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    DeviceSoundSink sink;
    PcmSound long_sound;
    long_sound.samples.assign(PcmSound::kFrequency * PcmSound::kChannels * 5, 100);
    sink.Play(long_sound);
    ASSERT_TRUE(sink.has_device());
    sink.Play(DefaultChime());
    EXPECT_LE(sink.QueuedBytes(), DefaultChime().samples.size() * sizeof(int16_t));
}

TEST(DeviceSoundSinkTest, NoDeviceMeansSilenceNotFailure) {
    ::setenv("SDL_AUDIODRIVER", "kovelin-no-such-driver", 1);
    DeviceSoundSink sink;
    sink.Play(DefaultChime());
    sink.Play(DefaultChime());
    EXPECT_FALSE(sink.has_device());
    EXPECT_EQ(sink.QueuedBytes(), 0u);
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
}

TEST(DeviceSoundSinkTest, NoSoundCardMeansNoAlsaNoise) {
    // SDL picks its driver itself, and the card folder is empty: whatever
    // SDL settles on here (a sound server, or ALSA with nothing to open),
    // nothing is printed. The sound is empty, so a real device stays quiet.
    ::unsetenv("SDL_AUDIODRIVER");
    ScratchFolder no_cards;
    WriteText(no_cards / "timer", "");
    WriteText(no_cards / "seq", "");
    std::string driver;
    bool opened = false;
    ::testing::internal::CaptureStderr();
    {
        DeviceSoundSink sink(no_cards.path());
        sink.Play(PcmSound{});
        const char* current = SDL_GetCurrentAudioDriver();
        driver = current ? current : "";
        opened = sink.has_device();
    }
    const std::string printed = ::testing::internal::GetCapturedStderr();
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    EXPECT_EQ(printed, "") << "with driver " << driver;
    if (driver == "alsa") {
        EXPECT_FALSE(opened);
    }
}

}  // namespace
}  // namespace platform::os
