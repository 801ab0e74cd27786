// SPDX-License-Identifier: GPL-3.0-or-later
#include "state.h"

#include <filesystem>

#include "platform/controls/message_box.h"
#include "platform/os/sound.h"
#include "platform/window.h"

namespace harness {

using namespace platform;

namespace {

std::string KeyFor(HWND h) {
    std::string n = GetWindowName(h);
    return n.empty() ? "#" + std::to_string(h.id) : n;
}

const char* CursorName(CursorShape s) {
    switch (s) {
        case CursorShape::kArrow:
            return "arrow";
        case CursorShape::kWait:
            return "wait";
        case CursorShape::kHand:
            return "hand";
        case CursorShape::kIBeam:
            return "ibeam";
        case CursorShape::kSizeAll:
            return "sizeall";
        case CursorShape::kSizeWE:
            return "sizewe";
        case CursorShape::kCross:
            return "cross";
        case CursorShape::kNo:
            return "no";
        case CursorShape::kCustom:
            return "custom";
    }
    return "arrow";
}

Json Describe(HWND h) {
    Json w = Json::MakeObject();
    w.Set("class", GetClassName(h));
    w.Set("caption", GetWindowText(h));
    w.Set("visible", IsWindowVisible(h));
    w.Set("enabled", IsWindowEnabled(h));
    const bool top = GetAncestorTopLevel(h) == h;
    Rect r = GetWindowRect(h);
    if (!top) {
        // Children report their place in the parent's client area.
        Point p = MapWindowPoint(HWND{}, GetParent(h), r.top_left());
        r = Rect::FromXYWH(p.x, p.y, r.width(), r.height());
    } else {
        w.Set("minimised", IsIconic(h));
        w.Set("active", GetActiveWindow() == h);
    }
    w.Set("position", Json(Json::Array{Json(r.left), Json(r.top)}));
    w.Set("size", Json(Json::Array{Json(r.width()), Json(r.height())}));
    if (GetFocus() == h) w.Set("focused", true);
    Json own = Json::MakeObject();
    SendMessage(h, WM_REPORTSTATE, 0, reinterpret_cast<LPARAM>(&own));
    if (own.object() && !own.object()->empty()) w.Set("state", std::move(own));
    std::vector<HWND> kids = GetChildren(h);
    if (!kids.empty()) {
        Json controls = Json::MakeObject();
        for (HWND k : kids) controls.Set(KeyFor(k), Describe(k));
        w.Set("controls", std::move(controls));
    }
    return w;
}

std::function<void(Json&)> g_extra;

}  // namespace

void SetExtraState(std::function<void(Json&)> reporter) {
    g_extra = std::move(reporter);
}

Json CaptureState() {
    Json root = Json::MakeObject();
    root.Set("time_ms", Json(static_cast<int64_t>(CurrentClock().NowMs())));
    root.Set("focus", GetFocus() ? Json(KeyFor(GetFocus())) : Json());
    root.Set("active", GetActiveWindow() ? Json(KeyFor(GetActiveWindow())) : Json());
    root.Set("cursor", CursorName(GetCurrentCursor().shape));
    Point p = GetCursorPos();
    root.Set("pointer", Json(Json::Array{Json(p.x), Json(p.y)}));
    const HWND under = WindowFromPoint(p);
    root.Set("pointer_window", under ? Json(KeyFor(under)) : Json());
    auto clip = GetClipboardTextUtf8();
    root.Set("clipboard", clip ? Json(*clip) : Json());
    Json sounds = Json::MakeArray();
    for (const os::PlayedSound& played : os::PlayedSounds()) {
        Json one = Json::MakeObject();
        one.Set("file", played.file);
        one.Set("name", std::filesystem::path(played.file).filename().string());
        one.Set("chime", played.chime);
        sounds.Push(std::move(one));
    }
    root.Set("sounds", std::move(sounds));
    Json boxes = Json::MakeArray();
    for (const controls::MessageBoxRecord& r : controls::RecentMessageBoxes()) {
        Json one = Json::MakeObject();
        one.Set("icon", r.icon);
        one.Set("text", r.text);
        one.Set("title", r.title);
        Json buttons = Json::MakeArray();
        for (const std::string& b : r.buttons) buttons.Push(b);
        one.Set("buttons", std::move(buttons));
        one.Set("answer", r.answer);
        boxes.Push(std::move(one));
    }
    root.Set("message_boxes", std::move(boxes));
    Json windows = Json::MakeObject();
    for (HWND t : GetTopLevelWindows()) windows.Set(KeyFor(t), Describe(t));
    root.Set("windows", std::move(windows));
    if (g_extra) {
        Json extra = Json::MakeObject();
        g_extra(extra);
        root.Set("program", std::move(extra));
    }
    return root;
}

const Json* LookupPath(const Json& root, const std::string& path) {
    const Json* cur = &root;
    size_t start = 0;
    while (cur && start <= path.size()) {
        size_t dot = path.find('.', start);
        std::string part =
            path.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
        if (const Json::Array* a = cur->array()) {
            // A negative index counts from the end: -1 is the last item.
            long long idx = 0;
            try {
                idx = std::stoll(part);
            } catch (...) {
                return nullptr;
            }
            if (idx < 0) idx += static_cast<long long>(a->size());
            cur = idx >= 0 && static_cast<size_t>(idx) < a->size() ? &(*a)[static_cast<size_t>(idx)]
                                                                   : nullptr;
        } else {
            cur = cur->Get(part);
        }
        if (dot == std::string::npos) break;
        start = dot + 1;
    }
    return cur;
}

}  // namespace harness
