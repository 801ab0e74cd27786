// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/headless/headless_backend.h"

#include <SDL.h>

namespace platform::headless {

HeadlessBackend::HeadlessBackend(Size screen) : screen_(screen) {
    // Sounds still go through SDL audio, to its silent driver: a headless
    // run never opens a sound card, whatever the environment asks for.
    SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
}

void HeadlessBackend::Present(HWND /*top*/, const Surface& /*frame*/, const Rect& /*dirty*/) {
    ++presents_;
}

bool HeadlessBackend::SetClipboardText(const std::string& utf8) {
    clipboard_ = utf8;
    return true;
}

void HeadlessBackend::SetClipboardImage() {
    clipboard_.reset();
}

bool HeadlessBackend::WaitForInput(std::optional<uint64_t> deadline_ms) {
    if (run_until_ && clock_) {
        // Let virtual time run: to the next timer if it comes first.
        uint64_t now = clock_->NowMs();
        if (deadline_ms && *deadline_ms <= *run_until_) {
            if (*deadline_ms > now) clock_->Set(*deadline_ms);
            return true;
        }
        if (*run_until_ > now) clock_->Set(*run_until_);
        run_until_.reset();
        return true;
    }
    return NextStep();
}

bool HeadlessBackend::NextStep() {
    if (!steps_.empty()) {
        Step s = std::move(steps_.front());
        steps_.pop_front();
        return s();
    }
    return idle_ && idle_();
}

void HeadlessBackend::SetClock(VirtualClock* clock) {
    clock_ = clock;
    if (clock_) clock_->SetSleepHandler([this](uint64_t until) { SleepUntil(until); });
}

void HeadlessBackend::SleepUntil(uint64_t until_ms) {
    // Each target the script's clock reaches inside this sleep is a moment
    // the script acts at; its steps run until one lets the clock run again.
    while (run_until_ && *run_until_ <= until_ms) {
        if (*run_until_ > clock_->NowMs()) clock_->Set(*run_until_);
        run_until_.reset();
        while (!run_until_) {
            if (!NextStep()) return;
        }
    }
}

HeadlessSession::HeadlessSession(Size screen)
    : backend_(new HeadlessBackend(screen)),
      clock_(new VirtualClock(0)),
      session_(std::unique_ptr<Backend>(backend_), std::unique_ptr<Clock>(clock_)) {
    backend_->SetClock(clock_);
}

void HeadlessSession::Advance(uint64_t ms) {
    const uint64_t target = clock_->NowMs() + ms;
    DoEvents();
    while (true) {
        auto next = NextTimerDue();
        if (!next || *next > target) break;
        if (*next > clock_->NowMs()) clock_->Set(*next);
        DoEvents();
    }
    clock_->Set(target);
    DoEvents();
}

void HeadlessSession::Click(Point screen, MouseButton button) {
    InjectMouseMove(screen);
    InjectMouseButton(screen, button, true);
    InjectMouseButton(screen, button, false);
    DoEvents();
}

void HeadlessSession::DoubleClick(Point screen) {
    Click(screen);
    clock_->Advance(50);
    Click(screen);
}

void HeadlessSession::MoveMouse(Point screen) {
    InjectMouseMove(screen);
    DoEvents();
}

void HeadlessSession::Drag(Point from, Point to, int steps) {
    InjectMouseMove(from);
    InjectMouseButton(from, MouseButton::kLeft, true);
    DoEvents();
    if (steps < 1) steps = 1;
    for (int i = 1; i <= steps; ++i) {
        Point p{from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps};
        InjectMouseMove(p);
        DoEvents();
    }
    InjectMouseButton(to, MouseButton::kLeft, false);
    DoEvents();
}

void HeadlessSession::Key(uint32_t vk, uint32_t modifiers) {
    InjectKey(vk, true, modifiers);
    InjectKey(vk, false, modifiers);
    DoEvents();
}

void HeadlessSession::Type(std::string_view utf8) {
    InjectText(utf8);
    DoEvents();
}

}  // namespace platform::headless
