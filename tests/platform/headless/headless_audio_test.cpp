// SPDX-License-Identifier: GPL-3.0-or-later
// A headless run never opens a sound card: its sounds go to SDL's silent
// driver even when the environment asks for a real one.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdlib>
#include <string>

#include "platform/headless/headless_backend.h"
#include "platform/os/sound.h"

namespace platform::headless {
namespace {

TEST(HeadlessAudioTest, SoundsGoToTheSilentDriverWhateverTheEnvironmentSays) {
    const char* before = std::getenv("SDL_AUDIODRIVER");
    const std::string saved = before ? before : "";
    ::setenv("SDL_AUDIODRIVER", "alsa", 1);
    std::string driver;
    {
        HeadlessSession session;
        os::DeviceSoundSink sink;
        sink.Play(os::DefaultChime());
        EXPECT_TRUE(sink.has_device());
        const char* current = SDL_GetCurrentAudioDriver();
        driver = current ? current : "";
    }
    if (before) {
        ::setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
    } else {
        ::unsetenv("SDL_AUDIODRIVER");
    }
    EXPECT_EQ(driver, "dummy");
}

}  // namespace
}  // namespace platform::headless
