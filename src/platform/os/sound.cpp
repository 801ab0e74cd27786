// SPDX-License-Identifier: GPL-3.0-or-later
// Wave decoding and playback with SDL audio, plus the built-in chime.
#include "platform/os/sound.h"

#include <SDL.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <numbers>
#include <string_view>
#include <system_error>
#include <utility>

#include "platform/os/files.h"

namespace platform::os {
namespace {

// A small file at a low rate can still expand a lot when converted; the
// program's sounds are seconds long, so anything near this is not one.
constexpr size_t kMaxDecodedBytes = 128 * 1024 * 1024;

// Appends a decaying bell-like tone: a soft attack avoids a click, and a
// quiet octave overtone keeps it from sounding like a test signal.
void AppendTone(PcmSound& sound, double hertz, double seconds, double loudness) {
    const int frames = static_cast<int>(seconds * PcmSound::kFrequency);
    const double attack = 0.005 * PcmSound::kFrequency;
    for (int i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / PcmSound::kFrequency;
        const double envelope =
            std::min(1.0, i / attack) * std::exp(-t * 9.0) * std::min(1.0, (frames - i) / attack);
        const double phase = 2.0 * std::numbers::pi * hertz * t;
        const double value =
            loudness * envelope * (0.8 * std::sin(phase) + 0.2 * std::sin(2.0 * phase));
        const auto sample = static_cast<int16_t>(std::lround(value * 32767.0));
        for (int c = 0; c < PcmSound::kChannels; ++c) sound.samples.push_back(sample);
    }
}

PcmSound MakeChime() {
    PcmSound chime;
    AppendTone(chime, 880.0, 0.16, 0.35);   // A5
    AppendTone(chime, 659.26, 0.30, 0.35);  // E5, a fourth below: "ding-dong"
    return chime;
}

// ALSA finds a sound card through its control device (controlC0, ...).
bool HasSoundCard(const std::string& sound_cards) {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(sound_cards, ec)) {
        if (entry.path().filename().string().starts_with("controlC")) return true;
    }
    return false;
}

std::mutex& GlobalMutex() {
    static std::mutex mutex;
    return mutex;
}

// Never destroyed: at exit the audio thread may still run and SDL may
// already be shut down, and there is nothing to gain from tearing it down.
std::vector<PlayedSound>& Played() {
    static auto* played = new std::vector<PlayedSound>();
    return *played;
}

std::unique_ptr<SoundPlayer>& GlobalPlayer() {
    static auto* player = new std::unique_ptr<SoundPlayer>();
    return *player;
}

}  // namespace

Result<PcmSound> LoadWave(const std::string& path) {
    auto bytes = ReadFile(path, kMaxWaveFileBytes);
    if (!bytes) return bytes.error();
    SDL_RWops* rw = SDL_RWFromConstMem(bytes->data(), static_cast<int>(bytes->size()));
    if (!rw) return MakeError(ErrorCode::kOutOfMemory, SDL_GetError());
    SDL_AudioSpec wav{};
    Uint8* data = nullptr;
    Uint32 length = 0;
    if (!SDL_LoadWAV_RW(rw, 1, &wav, &data, &length)) {
        return MakeError(ErrorCode::kFileIo, std::string("not a playable wave file: ") + path);
    }
    SDL_AudioCVT cvt{};
    if (SDL_BuildAudioCVT(&cvt, wav.format, wav.channels, static_cast<int>(wav.freq), AUDIO_S16SYS,
                          PcmSound::kChannels, PcmSound::kFrequency) < 0) {
        SDL_FreeWAV(data);
        return MakeError(ErrorCode::kFileIo, std::string("unsupported wave format: ") + path);
    }
    const size_t buffer_bytes = static_cast<size_t>(length) * static_cast<size_t>(cvt.len_mult);
    if (buffer_bytes > kMaxDecodedBytes) {
        SDL_FreeWAV(data);
        return MakeError(ErrorCode::kFileIo, std::string("wave file too long: ") + path);
    }
    std::vector<Uint8> buffer(buffer_bytes);
    if (length > 0) std::memcpy(buffer.data(), data, length);
    SDL_FreeWAV(data);
    cvt.buf = buffer.data();
    cvt.len = static_cast<int>(length);
    if (cvt.needed && SDL_ConvertAudio(&cvt) != 0) {
        return MakeError(ErrorCode::kFileIo, std::string("cannot convert wave file: ") + path);
    }
    const size_t converted = cvt.needed ? static_cast<size_t>(cvt.len_cvt) : length;
    const size_t frame_bytes = sizeof(int16_t) * PcmSound::kChannels;
    PcmSound sound;
    sound.samples.resize(converted / frame_bytes * PcmSound::kChannels);
    std::memcpy(sound.samples.data(), buffer.data(), sound.samples.size() * sizeof(int16_t));
    return sound;
}

const PcmSound& DefaultChime() {
    static const PcmSound chime = MakeChime();
    return chime;
}

DeviceSoundSink::~DeviceSoundSink() {
    if (device_ != 0) SDL_CloseAudioDevice(device_);
    if (subsystem_started_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool DeviceSoundSink::EnsureOpen() {
    if (tried_) return device_ != 0;
    tried_ = true;
    // Whether a driver was asked for, by the environment or a hint; SDL
    // opens that one without second-guessing.
    const char* asked = SDL_GetHint(SDL_HINT_AUDIODRIVER);
    const bool driver_chosen = asked && *asked;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    subsystem_started_ = true;
    const char* driver = SDL_GetCurrentAudioDriver();
    if (!driver_chosen && driver && std::string_view(driver) == "alsa" &&
        !HasSoundCard(sound_cards_))
        return false;
    SDL_AudioSpec want{};
    want.freq = PcmSound::kFrequency;
    want.format = AUDIO_S16SYS;
    want.channels = PcmSound::kChannels;
    want.samples = 1024;
    want.callback = nullptr;  // queued playback
    SDL_AudioSpec have{};
    // No allowed changes: SDL converts to whatever the device really wants.
    device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    return device_ != 0;
}

void DeviceSoundSink::Play(const PcmSound& sound) {
    if (!EnsureOpen()) return;
    SDL_ClearQueuedAudio(device_);
    if (!sound.samples.empty()) {
        SDL_QueueAudio(device_, sound.samples.data(),
                       static_cast<Uint32>(sound.samples.size() * sizeof(int16_t)));
    }
    SDL_PauseAudioDevice(device_, 0);
}

size_t DeviceSoundSink::QueuedBytes() const {
    return device_ != 0 ? SDL_GetQueuedAudioSize(device_) : 0;
}

bool SoundPlayer::Play(const std::string& path) {
    auto sound = LoadWave(path);
    sink_->Play(sound ? *sound : DefaultChime());
    return sound.ok();
}

void PlaySound(const std::string& path) {
    std::lock_guard<std::mutex> lock(GlobalMutex());
    auto& player = GlobalPlayer();
    if (!player) player = std::make_unique<SoundPlayer>(std::make_unique<DeviceSoundSink>());
    const bool from_file = player->Play(path);
    auto& played = Played();
    if (played.size() >= kPlayedSoundRecord) played.erase(played.begin());
    played.push_back({path, !from_file});
}

std::vector<PlayedSound> PlayedSounds() {
    std::lock_guard<std::mutex> lock(GlobalMutex());
    return Played();
}

void SetSoundSink(std::unique_ptr<SoundSink> sink) {
    std::lock_guard<std::mutex> lock(GlobalMutex());
    GlobalPlayer() = sink ? std::make_unique<SoundPlayer>(std::move(sink)) : nullptr;
}

}  // namespace platform::os
