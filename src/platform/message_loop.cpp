// SPDX-License-Identifier: GPL-3.0-or-later
// The message loop: posted messages, input, painting and timers, in the
// platform's order of priority; DoEvents; modal loops.

#include <algorithm>

#include "platform/ws_internal.h"

namespace platform {

using namespace detail;

namespace detail {

void DropTimersOf(HWND hwnd) {
    std::erase_if(S().timers, [&](const Timer& t) { return t.hwnd == hwnd; });
}

}  // namespace detail

namespace {

// Takes the next message that is ready now, painting on the way. Returns
// false when nothing is ready. Sets *quit when WM_QUIT is the next message.
bool TakeReady(MSG* out, bool* quit) {
    State& s = S();
    *quit = false;
    s.backend->PumpInput();
    while (true) {
        if (!s.posted.empty()) {
            *out = s.posted.front();
            s.posted.pop_front();
            if (out->hwnd && !Find(out->hwnd)) continue;  // its window is gone
            return true;
        }
        if (s.quit_code) {
            out->hwnd = {};
            out->message = WM_QUIT;
            out->wParam = static_cast<WPARAM>(*s.quit_code);
            s.quit_code.reset();
            *quit = true;
            return true;
        }
        if (!s.input.empty()) {
            InputEvent ev = s.input.front();
            s.input.pop_front();
            if (RouteInput(ev, out)) return true;
            continue;
        }
        if (PaintPendingTopLevel()) continue;
        // Timers: the one due earliest, at most once per DoEvents pass.
        uint64_t now = s.clock->NowMs();
        Timer* best = nullptr;
        for (Timer& t : s.timers) {
            if (t.due > now) continue;
            if (s.doevents_pass && t.fired_in_pass == s.doevents_pass) continue;
            if (!best || t.due < best->due) best = &t;
        }
        if (best) {
            best->fired_in_pass = s.doevents_pass;
            // The next tick is counted from when this one was due, so ticks
            // keep their rhythm; a loop that fell far behind does not get a
            // burst of ticks to catch up.
            uint64_t next = best->due + std::max<uint32_t>(best->interval, 1);
            best->due = next > now ? next : now + std::max<uint32_t>(best->interval, 1);
            out->hwnd = best->hwnd;
            out->message = WM_TIMER;
            out->wParam = best->id;
            out->lParam = 0;
            out->time = GetTickCount();
            return true;
        }
        return false;
    }
}

}  // namespace

bool PeekMessage(MSG* msg, UINT remove_flags) {
    if (!MaybeS()) return false;
    State& s = S();
    if (!(remove_flags & PM_REMOVE)) {
        if (!s.posted.empty()) {
            *msg = s.posted.front();
            return true;
        }
        return false;
    }
    bool quit = false;
    if (!TakeReady(msg, &quit)) return false;
    return true;
}

bool GetMessage(MSG* msg) {
    if (!MaybeS()) return false;
    State& s = S();
    while (true) {
        bool quit = false;
        if (TakeReady(msg, &quit)) return !quit;
        if (!s.backend->WaitForInput(NextTimerDue())) {
            msg->hwnd = {};
            msg->message = WM_QUIT;
            msg->wParam = 0;
            return false;
        }
    }
}

LRESULT DispatchMessage(const MSG& msg) {
    if (!msg.hwnd) return 0;
    Window* w = Find(msg.hwnd);
    if (!w || !w->proc) return 0;
    // A timer message for a timer killed since it was taken is dropped.
    return w->proc(msg.hwnd, msg.message, msg.wParam, msg.lParam);
}

int32_t RunMessageLoop() {
    MSG m;
    while (GetMessage(&m)) DispatchMessage(m);
    return static_cast<int32_t>(m.wParam);
}

void DoEvents() {
    if (!MaybeS()) return;
    State& s = S();
    uint64_t saved = s.doevents_pass;
    s.doevents_pass = s.next_pass++;
    // Messages posted while we work are handled too, but a handler that
    // keeps posting cannot hold us here for ever.
    for (int guard = 0; guard < 100000; ++guard) {
        MSG m;
        bool quit = false;
        if (!TakeReady(&m, &quit)) break;
        if (quit) {
            s.quit_code = static_cast<int32_t>(m.wParam);  // leave it for the loop
            break;
        }
        DispatchMessage(m);
    }
    s.doevents_pass = saved;
}

void RunModal(HWND hwnd) {
    Window* modal = Find(hwnd);
    if (!modal) return;
    State& s = S();
    // A modal window with no owner belongs to the window that was active
    // while it runs, so desktops keep it above that window (a full-screen
    // window shown from a dialog must not come up under the dialog).
    bool lent_owner = false;
    if (!modal->owner && s.active && s.active != hwnd) {
        if (Window* a = Find(s.active); a && a->owner != hwnd) {
            modal->owner = s.active;
            lent_owner = true;
            s.backend->TopLevelChanged(hwnd, TopLevelChange::kOwner);
        }
    }
    std::vector<HWND> disabled;
    for (HWND t : s.top_levels) {
        Window* tw = Find(t);
        if (!tw || t == hwnd || tw->owner == hwnd || !tw->enabled_flag()) continue;
        EnableWindow(t, false);
        disabled.push_back(t);
    }
    ShowWindow(hwnd, SW_SHOW);
    ++s.modal_depth;
    MSG m;
    while (IsWindow(hwnd) && IsWindowVisible(hwnd)) {
        if (!GetMessage(&m)) {
            // Pass the quit on to the outer loop.
            if (m.message == WM_QUIT && MaybeS()) S().quit_code = static_cast<int32_t>(m.wParam);
            break;
        }
        DispatchMessage(m);
    }
    --s.modal_depth;
    if (lent_owner)
        if (Window* w = Find(hwnd)) w->owner = {};
    for (HWND t : disabled)
        if (IsWindow(t)) EnableWindow(t, true);
    // Give the activation back to the window that was active before.
    for (auto it = s.top_levels.rbegin(); it != s.top_levels.rend(); ++it) {
        Window* t = Find(*it);
        if (t && t->can_take_activation()) {
            if (s.active != *it) ActivateTopLevel(*it, true);
            break;
        }
    }
}

bool InModalLoop() {
    return MaybeS() && S().modal_depth > 0;
}

// --- timers ---------------------------------------------------------------------

bool SetTimer(HWND hwnd, uintptr_t id, uint32_t interval_ms) {
    if (!Find(hwnd)) return false;
    State& s = S();
    uint64_t due = s.clock->NowMs() + interval_ms;
    for (Timer& t : s.timers) {
        if (t.hwnd == hwnd && t.id == id) {
            t.interval = interval_ms;
            t.due = due;
            return true;
        }
    }
    s.timers.push_back(Timer{hwnd, id, interval_ms, due, 0});
    return true;
}

bool KillTimer(HWND hwnd, uintptr_t id) {
    if (!MaybeS()) return false;
    auto& timers = S().timers;
    auto it = std::find_if(timers.begin(), timers.end(),
                           [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
    if (it == timers.end()) return false;
    timers.erase(it);
    return true;
}

std::optional<uint64_t> NextTimerDue() {
    if (!MaybeS()) return std::nullopt;
    std::optional<uint64_t> best;
    for (const Timer& t : S().timers)
        if (!best || t.due < *best) best = t.due;
    return best;
}

uint32_t GetTickCount() {
    if (!MaybeS()) return 0;
    return static_cast<uint32_t>(S().clock->NowMs());
}

void Sleep(uint32_t ms) {
    if (MaybeS()) S().clock->Sleep(ms);
}

}  // namespace platform
