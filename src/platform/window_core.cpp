// SPDX-License-Identifier: GPL-3.0-or-later
// Windows, classes, procedures, properties, hooks, sending, the tree and
// geometry, visibility, focus, activation and capture.

#include <algorithm>
#include <cstring>

#include "platform/check.h"
#include "platform/ws_internal.h"

namespace platform {
namespace detail {

namespace {
State* g_state = nullptr;

// Frame metrics of the classic look the program was designed with.
constexpr int32_t kDlgFrame = 3;
constexpr int32_t kCaption = 18;
constexpr int32_t kSmallCaption = 15;
}  // namespace

State& S() {
    KOVELIN_CHECK(g_state != nullptr, "The window system was used with no session running.");
    return *g_state;
}
State* MaybeS() {
    return g_state;
}

Window* Find(HWND h) {
    if (!g_state || !h) return nullptr;
    auto it = g_state->windows.find(h.id);
    return it == g_state->windows.end() ? nullptr : it->second.get();
}

Rect NonClientInsets(const Window& w) {
    int32_t edge = 0;
    int32_t caption = 0;
    if ((w.style & WS_CAPTION) == WS_CAPTION) {
        edge = kDlgFrame;
        caption = (w.ex_style & WS_EX_TOOLWINDOW) ? kSmallCaption : kCaption;
    } else if (w.style & (WS_DLGFRAME | WS_THICKFRAME)) {
        edge = kDlgFrame;
    } else if (w.style & WS_BORDER) {
        edge = 1;
    }
    if (w.ex_style & WS_EX_CLIENTEDGE) edge += 2;
    if (w.ex_style & WS_EX_STATICEDGE) edge += 1;
    return {edge, edge + caption, edge, edge};
}

Rect ClientRectInWindow(const Window& w) {
    Rect in = NonClientInsets(w);
    Rect r{in.left, in.top, w.rect.width() - in.right, w.rect.height() - in.bottom};
    if (r.right < r.left) r.right = r.left;
    if (r.bottom < r.top) r.bottom = r.top;
    return r;
}

Window& TopRef(Window& w) {
    Window* cur = &w;
    while (cur->is_child()) {
        Window* p = Find(cur->parent);
        if (!p) break;
        cur = p;
    }
    return *cur;
}

Window* TopOf(Window* w) {
    return w ? &TopRef(*w) : nullptr;
}

Point WindowOriginInTop(const Window& w) {
    Point p{0, 0};
    const Window* cur = &w;
    while (cur && cur->is_child()) {
        p = p + cur->rect.top_left();
        const Window* parent = Find(cur->parent);
        if (!parent) break;
        p = p + ClientRectInWindow(*parent).top_left();
        cur = parent;
    }
    return p;
}

}  // namespace detail

using namespace detail;

// --- session -------------------------------------------------------------------

WindowSystemSession::WindowSystemSession(std::unique_ptr<Backend> backend,
                                         std::unique_ptr<Clock> clock) {
    // One window system at a time: a second session would silently share
    // handles with the first.
    if (g_state) std::abort();
    g_state = new State;
    g_state->backend = std::move(backend);
    g_state->clock = std::move(clock);
}

WindowSystemSession::~WindowSystemSession() {
    // Destroy top-level windows newest first so owned windows go before owners.
    while (!g_state->top_levels.empty()) {
        HWND top = g_state->top_levels.back();
        if (!DestroyWindow(top)) {
            g_state->top_levels.pop_back();
        }
    }
    delete g_state;
    g_state = nullptr;
}

Backend& WindowSystemSession::backend() {
    return *g_state->backend;
}
Clock& WindowSystemSession::clock() {
    return *S().clock;
}
bool WindowSystemRunning() {
    return g_state != nullptr;
}
Backend& CurrentBackend() {
    return *S().backend;
}
Clock& CurrentClock() {
    return *S().clock;
}

// --- classes ---------------------------------------------------------------------

bool RegisterClass(const WndClass& wc) {
    if (!g_state || wc.name.empty() || !wc.proc) return false;
    if (g_state->classes.count(wc.name)) return false;
    g_state->classes.emplace(wc.name, std::make_unique<WndClass>(wc));
    return true;
}

bool IsClassRegistered(std::string_view name) {
    return g_state && g_state->classes.find(name) != g_state->classes.end();
}

// --- creation and destruction -------------------------------------------------------

HWND CreateWindowEx(uint32_t ex_style, std::string_view class_name, std::string_view text,
                    uint32_t style, int32_t x, int32_t y, int32_t width, int32_t height,
                    HWND parent, uintptr_t id, void* create_params) {
    if (!g_state) return {};
    auto cls_it = g_state->classes.find(class_name);
    if (cls_it == g_state->classes.end()) return {};
    const bool child = (style & WS_CHILD) != 0;
    Window* parent_w = Find(parent);
    if (child && !parent_w) return {};

    auto w = std::make_unique<Window>();
    // Handles count on across window-system sessions in one process, so a
    // handle kept from an earlier session never names a new window.
    static uint32_t next_handle = 0x100;
    HWND h{next_handle++};
    w->handle = h;
    w->class_name = cls_it->second->name;
    w->cls = cls_it->second.get();
    w->proc = w->cls->proc;
    w->style = style & ~WS_VISIBLE;
    w->ex_style = ex_style;
    w->id = id;
    w->rect = Rect::FromXYWH(x, y, std::max(0, width), std::max(0, height));
    w->text = std::string(text);
    w->creation_seq = g_state->next_seq++;
    if (child) {
        w->parent = parent;
        parent_w->children.push_back(h);
    } else {
        if (parent_w) w->owner = TopRef(*parent_w).handle;
        SizeFrame(*w);
        g_state->top_levels.push_back(h);
    }
    Window* raw = w.get();
    g_state->windows.emplace(h.id, std::move(w));

    std::string class_copy = raw->class_name;
    std::string text_copy = raw->text;
    CREATESTRUCT cs;
    cs.lpCreateParams = create_params;
    cs.hwndParent = parent;
    cs.cx = width;
    cs.cy = height;
    cs.x = x;
    cs.y = y;
    cs.style = style;
    cs.lpszName = text_copy.c_str();
    cs.lpszClass = class_copy.c_str();
    cs.dwExStyle = ex_style;

    if (SendMessage(h, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs)) == 0) {
        DestroyWindow(h);
        return {};
    }
    if (!Find(h)) return {};
    if (SendMessage(h, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        DestroyWindow(h);
        return {};
    }
    raw = Find(h);
    if (!raw) return {};
    // A hook or procedure may have changed the style in the creation record;
    // the window keeps what the record says.
    raw->style = (cs.style & ~WS_VISIBLE) | (raw->style & WS_VISIBLE);
    raw->created = true;
    if (!child) g_state->backend->TopLevelChanged(h, TopLevelChange::kCreated);

    Rect client = ClientRectInWindow(*raw);
    SendMessage(h, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.width(), client.height()));
    SendMessage(h, WM_MOVE, 0, MAKELPARAM(x, y));
    if ((cs.style & WS_VISIBLE) && Find(h)) ShowWindow(h, SW_SHOW);
    return Find(h) ? h : HWND{};
}

namespace {

void SendDestroyDown(HWND h) {
    Window* w = Find(h);
    if (!w) return;
    SendMessage(h, WM_DESTROY);
    w = Find(h);
    if (!w) return;
    std::vector<HWND> kids = w->children;
    for (auto it = kids.rbegin(); it != kids.rend(); ++it) {
        if (Window* k = Find(*it)) {
            k->destroying = true;
            SendDestroyDown(*it);
        }
    }
}

void FreeUp(HWND h) {
    Window* w = Find(h);
    if (!w) return;
    std::vector<HWND> kids = w->children;
    for (auto it = kids.rbegin(); it != kids.rend(); ++it) FreeUp(*it);
    SendMessage(h, WM_NCDESTROY);
    DropTimersOf(h);
    State& s = S();
    if (s.focus == h) s.focus = {};
    if (s.capture == h) s.capture = {};
    if (s.moving == h) s.moving = {};
    if (s.last_click.hwnd == h) s.last_click.valid = false;
    s.windows.erase(h.id);
}

}  // namespace

bool DestroyWindow(HWND hwnd) {
    Window* w = Find(hwnd);
    if (!w || w->destroying) return false;
    w->destroying = true;
    State& s = S();

    // Owned top-level windows go first.
    if (!w->is_child()) {
        std::vector<HWND> owned;
        for (HWND t : s.top_levels)
            if (Window* tw = Find(t); tw && tw->owner == hwnd) owned.push_back(t);
        for (auto it = owned.rbegin(); it != owned.rend(); ++it) DestroyWindow(*it);
    }
    w = Find(hwnd);
    if (!w) return true;

    const bool child = w->is_child();
    HWND parent = w->parent;
    if (child && w->visible_flag()) {
        if (Window* p = Find(parent)) {
            Region area = VisibleRegionInTop(*w, false);
            if (Window* top = TopOf(p)) InvalidateWindowArea(*top, area);
        }
    }
    // Capture and focus held inside the dying tree are let go first.
    if (s.capture && (s.capture == hwnd || IsChild(hwnd, s.capture))) ReleaseCapture();
    if (s.focus && (s.focus == hwnd || IsChild(hwnd, s.focus))) {
        HWND old = s.focus;
        s.focus = {};
        SendMessage(old, WM_KILLFOCUS, 0);
    }

    SendDestroyDown(hwnd);
    FreeUp(hwnd);

    if (child) {
        if (Window* p = Find(parent)) std::erase(p->children, hwnd);
    } else {
        std::erase(s.top_levels, hwnd);
        s.backend->TopLevelChanged(hwnd, TopLevelChange::kDestroyed);
        if (s.active == hwnd) {
            s.active = {};
            for (auto it = s.top_levels.rbegin(); it != s.top_levels.rend(); ++it) {
                Window* t = Find(*it);
                if (t && t->can_take_activation()) {
                    ActivateTopLevel(*it, true);
                    break;
                }
            }
        }
    }
    for (auto& [id, other] : s.windows)
        if (other->last_focus == hwnd) other->last_focus = {};
    return true;
}

bool IsWindow(HWND hwnd) {
    return Find(hwnd) != nullptr;
}

// --- procedures, long values, properties --------------------------------------------

LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (!proc) return 0;
    return proc(hwnd, msg, wp, lp);
}

intptr_t GetWindowLongPtr(HWND hwnd, int32_t index) {
    Window* w = Find(hwnd);
    if (!w) return 0;
    switch (index) {
        case GWLP_WNDPROC:
            return reinterpret_cast<intptr_t>(w->proc);
        case GWLP_ID:
            return static_cast<intptr_t>(w->id);
        case GWL_STYLE:
            return static_cast<intptr_t>(w->style);
        case GWL_EXSTYLE:
            return static_cast<intptr_t>(w->ex_style);
        case GWLP_USERDATA:
            return w->userdata;
        default:
            return 0;
    }
}

intptr_t SetWindowLongPtr(HWND hwnd, int32_t index, intptr_t value) {
    Window* w = Find(hwnd);
    if (!w) return 0;
    intptr_t old = GetWindowLongPtr(hwnd, index);
    switch (index) {
        case GWLP_WNDPROC:
            if (!value) return 0;
            w->proc = reinterpret_cast<WNDPROC>(value);
            break;
        case GWLP_ID:
            w->id = static_cast<uintptr_t>(value);
            break;
        case GWL_STYLE: {
            uint32_t v = static_cast<uint32_t>(value);
            // Visibility and enabled state change through their own calls so
            // that the right messages are sent.
            w->style = (v & ~(WS_VISIBLE | WS_DISABLED)) | (w->style & (WS_VISIBLE | WS_DISABLED));
            break;
        }
        case GWL_EXSTYLE:
            w->ex_style = static_cast<uint32_t>(value);
            break;
        case GWLP_USERDATA:
            w->userdata = value;
            break;
        default:
            return 0;
    }
    return old;
}

WNDPROC GetWindowProc(HWND hwnd) {
    return reinterpret_cast<WNDPROC>(GetWindowLongPtr(hwnd, GWLP_WNDPROC));
}

WNDPROC SetWindowProc(HWND hwnd, WNDPROC proc) {
    return reinterpret_cast<WNDPROC>(
        SetWindowLongPtr(hwnd, GWLP_WNDPROC, reinterpret_cast<intptr_t>(proc)));
}

bool SetProp(HWND hwnd, std::string_view name, intptr_t value) {
    Window* w = Find(hwnd);
    if (!w || name.empty()) return false;
    w->props.insert_or_assign(std::string(name), value);
    return true;
}

intptr_t GetProp(HWND hwnd, std::string_view name) {
    Window* w = Find(hwnd);
    if (!w) return 0;
    auto it = w->props.find(name);
    return it == w->props.end() ? 0 : it->second;
}

intptr_t RemoveProp(HWND hwnd, std::string_view name) {
    Window* w = Find(hwnd);
    if (!w) return 0;
    auto it = w->props.find(name);
    if (it == w->props.end()) return 0;
    intptr_t v = it->second;
    w->props.erase(it);
    return v;
}

std::string GetClassName(HWND hwnd) {
    Window* w = Find(hwnd);
    return w ? w->class_name : std::string();
}

void SetWindowName(HWND hwnd, std::string_view name) {
    if (Window* w = Find(hwnd)) w->name = std::string(name);
}

std::string GetWindowName(HWND hwnd) {
    Window* w = Find(hwnd);
    return w ? w->name : std::string();
}

namespace {
HWND FindNameBelow(HWND root, std::string_view name) {
    Window* w = Find(root);
    if (!w) return {};
    if (w->name == name) return root;
    for (HWND k : w->children)
        if (HWND f = FindNameBelow(k, name)) return f;
    return {};
}
}  // namespace

HWND FindWindowByName(std::string_view name, HWND root) {
    if (!g_state || name.empty()) return {};
    if (root) return FindNameBelow(root, name);
    for (auto it = g_state->top_levels.rbegin(); it != g_state->top_levels.rend(); ++it)
        if (HWND f = FindNameBelow(*it, name)) return f;
    return {};
}

std::string GetWindowText(HWND hwnd) {
    Window* w = Find(hwnd);
    if (!w) return {};
    LRESULT len = SendMessage(hwnd, WM_GETTEXTLENGTH);
    if (len <= 0) return {};
    std::string buf(static_cast<size_t>(len) + 1, '\0');
    LRESULT got = SendMessage(hwnd, WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(buf.data()));
    buf.resize(static_cast<size_t>(std::clamp<LRESULT>(got, 0, len)));
    return buf;
}

bool SetWindowText(HWND hwnd, std::string_view text) {
    if (!Find(hwnd)) return false;
    std::string copy(text);
    return SendMessage(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(copy.c_str())) != 0;
}

// --- hooks ----------------------------------------------------------------------

HHOOK SetWindowsHookEx(int32_t kind, HOOKPROC proc) {
    if (!g_state || kind != WH_CALLWNDPROC || !proc) return {};
    Hook h{g_state->next_hook++, proc};
    g_state->hooks.push_back(h);
    return HHOOK{h.id};
}

bool UnhookWindowsHookEx(HHOOK hook) {
    if (!g_state) return false;
    auto it = std::find_if(g_state->hooks.begin(), g_state->hooks.end(),
                           [&](const Hook& h) { return h.id == hook.id; });
    if (it == g_state->hooks.end()) return false;
    g_state->hooks.erase(it);
    return true;
}

namespace {

bool HookInstalled(uint32_t id) {
    for (const Hook& h : S().hooks)
        if (h.id == id) return true;
    return false;
}

// Calls the next still-installed hook of the innermost running chain.
LRESULT ContinueHookChain(int32_t code, WPARAM wp, LPARAM lp) {
    State& s = S();
    if (s.hook_runs.empty()) return 0;
    size_t run = s.hook_runs.size() - 1;
    while (true) {
        auto& r = s.hook_runs[run];
        if (r.index >= r.chain.size()) return 0;
        Hook h = r.chain[r.index++];
        if (!HookInstalled(h.id)) continue;
        return h.proc(code, wp, lp);
    }
}

}  // namespace

LRESULT CallNextHookEx(HHOOK /*hook*/, int32_t code, WPARAM wp, LPARAM lp) {
    // The chain position is kept by the window system, so a hook that has
    // already removed itself (as a one-shot hook does) can still pass on.
    if (!g_state) return 0;
    return ContinueHookChain(code, wp, lp);
}

// --- sending and posting ------------------------------------------------------------

LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (!Find(hwnd)) return 0;
    State& s = S();
    if (!s.hooks.empty()) {
        CWPSTRUCT cwp{lp, wp, msg, hwnd};
        State::HookRun run;
        run.chain.assign(s.hooks.rbegin(), s.hooks.rend());  // newest first
        s.hook_runs.push_back(std::move(run));
        ContinueHookChain(HC_ACTION, 1, reinterpret_cast<LPARAM>(&cwp));
        s.hook_runs.pop_back();
    }
    // The hook may have replaced the procedure or destroyed the window.
    Window* w = Find(hwnd);
    if (!w || !w->proc) return 0;
    return w->proc(hwnd, msg, wp, lp);
}

bool PostMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (!g_state) return false;
    if (hwnd && !Find(hwnd)) return false;
    MSG m;
    m.hwnd = hwnd;
    m.message = msg;
    m.wParam = wp;
    m.lParam = lp;
    m.time = GetTickCount();
    m.pt_x = g_state->cursor_pos.x;
    m.pt_y = g_state->cursor_pos.y;
    g_state->posted.push_back(m);
    return true;
}

void PostQuitMessage(int32_t code) {
    if (g_state) g_state->quit_code = code;
}

// --- tree ---------------------------------------------------------------------

HWND GetParent(HWND hwnd) {
    Window* w = Find(hwnd);
    if (!w) return {};
    return w->is_child() ? w->parent : w->owner;
}

HWND GetAncestorTopLevel(HWND hwnd) {
    Window* t = TopOf(Find(hwnd));
    return t ? t->handle : HWND{};
}

std::vector<HWND> GetChildren(HWND hwnd) {
    Window* w = Find(hwnd);
    return w ? w->children : std::vector<HWND>{};
}

std::vector<HWND> GetTopLevelWindows() {
    return g_state ? g_state->top_levels : std::vector<HWND>{};
}

HWND GetWindow(HWND hwnd, UINT relation) {
    Window* w = Find(hwnd);
    if (!w) return {};
    // The platform lists siblings from the top of the z-order down.
    const std::vector<HWND>* siblings = &S().top_levels;
    if (w->is_child()) {
        Window* p = Find(w->parent);
        if (!p) return {};
        siblings = &p->children;
    }
    auto pos = std::find(siblings->begin(), siblings->end(), hwnd);
    switch (relation) {
        case GW_CHILD:
            return w->children.empty() ? HWND{} : w->children.back();
        case GW_OWNER:
            return w->owner;
        case GW_HWNDFIRST:
            return siblings->empty() ? HWND{} : siblings->back();
        case GW_HWNDLAST:
            return siblings->empty() ? HWND{} : siblings->front();
        case GW_HWNDNEXT:  // the next one down
            return (pos == siblings->end() || pos == siblings->begin()) ? HWND{} : *(pos - 1);
        case GW_HWNDPREV:
            return (pos == siblings->end() || pos + 1 == siblings->end()) ? HWND{} : *(pos + 1);
        default:
            return {};
    }
}

bool IsChild(HWND parent, HWND hwnd) {
    Window* w = Find(hwnd);
    while (w && w->is_child()) {
        if (w->parent == parent) return true;
        w = Find(w->parent);
    }
    return false;
}

// --- geometry --------------------------------------------------------------------

Rect GetClientAreaInWindow(HWND hwnd) {
    Window* w = Find(hwnd);
    return w ? ClientRectInWindow(*w) : Rect{};
}

Rect GetClientRect(HWND hwnd) {
    Window* w = Find(hwnd);
    if (!w) return {};
    Rect c = ClientRectInWindow(*w);
    return {0, 0, c.width(), c.height()};
}

Point ClientToScreen(HWND hwnd, Point p) {
    Window* w = Find(hwnd);
    if (!w) return p;
    Point origin = WindowOriginInTop(*w) + ClientRectInWindow(*w).top_left();
    return p + origin + TopRef(*w).rect.top_left();
}

Point ScreenToClient(HWND hwnd, Point p) {
    Point zero = ClientToScreen(hwnd, {0, 0});
    return p - zero;
}

Point MapWindowPoint(HWND from, HWND to, Point p) {
    Point screen = from ? ClientToScreen(from, p) : p;
    return to ? ScreenToClient(to, screen) : screen;
}

Rect GetWindowRect(HWND hwnd) {
    Window* w = Find(hwnd);
    if (!w) return {};
    if (!w->is_child()) return w->rect;
    Point o = WindowOriginInTop(*w) + TopRef(*w).rect.top_left();
    return Rect::FromXYWH(o.x, o.y, w->rect.width(), w->rect.height());
}

bool SetWindowPos(HWND hwnd, HWND insert_after, int32_t x, int32_t y, int32_t width, int32_t height,
                  UINT flags) {
    Window* w = Find(hwnd);
    if (!w) return false;
    State& s = S();
    Window* top = TopOf(w);
    const bool child = w->is_child();

    if (child && w->visible_flag() && !(flags & SWP_NOREDRAW))
        InvalidateWindowArea(*top, VisibleRegionInTop(*w, false));

    Rect old = w->rect;
    Rect r = old;
    if (!(flags & SWP_NOMOVE)) r = Rect::FromXYWH(x, y, r.width(), r.height());
    if (!(flags & SWP_NOSIZE))
        r = Rect::FromXYWH(r.left, r.top, std::max(0, width), std::max(0, height));
    w->rect = r;

    if (!(flags & SWP_NOZORDER)) {
        std::vector<HWND>* siblings = &s.top_levels;
        if (child) {
            Window* p = Find(w->parent);
            if (!p) return false;
            siblings = &p->children;
        }
        std::erase(*siblings, hwnd);
        if (insert_after == HWND_BOTTOM) {
            siblings->insert(siblings->begin(), hwnd);
        } else if (insert_after == HWND_TOP || !insert_after) {
            siblings->push_back(hwnd);
        } else {
            auto pos = std::find(siblings->begin(), siblings->end(), insert_after);
            // "After" in z-order means just below that window.
            siblings->insert(pos, hwnd);
        }
    }

    const bool resized = old.size() != r.size();
    const bool moved = old.top_left() != r.top_left();
    if (!child) {
        if (resized) {
            SizeFrame(*w);
            w->dirty = Region::FromRect({0, 0, r.width(), r.height()});
            s.backend->TopLevelChanged(hwnd, TopLevelChange::kResized);
        }
        if (moved) s.backend->TopLevelChanged(hwnd, TopLevelChange::kMoved);
        if (!(flags & SWP_NOZORDER)) w->dirty = Region::FromRect({0, 0, r.width(), r.height()});
    } else if (w->visible_flag() && !(flags & SWP_NOREDRAW)) {
        InvalidateWindowArea(*top, VisibleRegionInTop(*w, false));
    }
    if (flags & SWP_SHOWWINDOW) ShowWindow(hwnd, SW_SHOW);
    if (flags & SWP_HIDEWINDOW) ShowWindow(hwnd, SW_HIDE);
    if (moved && Find(hwnd)) {
        Rect c = ClientRectInWindow(*w);
        SendMessage(hwnd, WM_MOVE, 0, MAKELPARAM(r.left + c.left, r.top + c.top));
    }
    if (resized && (w = Find(hwnd))) {
        Rect c = ClientRectInWindow(*w);
        SendMessage(hwnd, WM_SIZE, w->minimised ? SIZE_MINIMIZED : SIZE_RESTORED,
                    MAKELPARAM(c.width(), c.height()));
    }
    return true;
}

bool MoveWindow(HWND hwnd, int32_t x, int32_t y, int32_t width, int32_t height, bool repaint) {
    return SetWindowPos(
        hwnd, {}, x, y, width, height,
        SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0u : static_cast<UINT>(SWP_NOREDRAW)));
}

bool BringWindowToTop(HWND hwnd) {
    return SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void CenterWindow(HWND hwnd, HWND over) {
    Window* w = Find(hwnd);
    if (!w || w->is_child()) return;
    Rect area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (Find(over)) area = GetWindowRect(over);
    // Halving truncates toward zero.
    int32_t x = area.left + (area.width() - w->rect.width()) / 2;
    int32_t y = area.top + (area.height() - w->rect.height()) / 2;
    SetWindowPos(hwnd, {}, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// --- visibility and enabled state ----------------------------------------------------

bool ShowWindow(HWND hwnd, int32_t command) {
    Window* w = Find(hwnd);
    if (!w) return false;
    State& s = S();
    const bool was_visible = w->visible_flag();
    Window* top = TopOf(w);
    switch (command) {
        case SW_HIDE: {
            if (!was_visible) return false;
            if (w->is_child()) InvalidateWindowArea(*top, VisibleRegionInTop(*w, false));
            w->style &= ~WS_VISIBLE;
            SendMessage(hwnd, WM_SHOWWINDOW, 0);
            if (s.focus && (s.focus == hwnd || IsChild(hwnd, s.focus))) {
                HWND old = s.focus;
                s.focus = {};
                SendMessage(old, WM_KILLFOCUS, 0);
            }
            if (Find(hwnd) && !w->is_child()) {
                s.backend->TopLevelChanged(hwnd, TopLevelChange::kHidden);
                if (s.active == hwnd) {
                    s.active = {};
                    SendMessage(hwnd, WM_ACTIVATE, WA_INACTIVE);
                    for (auto it = s.top_levels.rbegin(); it != s.top_levels.rend(); ++it) {
                        Window* t = Find(*it);
                        if (t && *it != hwnd && t->can_take_activation()) {
                            ActivateTopLevel(*it, true);
                            break;
                        }
                    }
                }
            }
            return true;
        }
        case SW_MINIMIZE:
        case SW_SHOWMINIMIZED: {
            if (w->is_child()) return was_visible;
            w->style |= WS_VISIBLE;
            if (!w->minimised) {
                w->minimised = true;
                s.backend->TopLevelChanged(hwnd, TopLevelChange::kMinimised);
                Rect c = ClientRectInWindow(*w);
                SendMessage(hwnd, WM_SIZE, SIZE_MINIMIZED, MAKELPARAM(c.width(), c.height()));
            }
            return was_visible;
        }
        case SW_RESTORE:
            if (w->minimised) {
                w->minimised = false;
                w->dirty = Region::FromRect({0, 0, w->rect.width(), w->rect.height()});
                s.backend->TopLevelChanged(hwnd, TopLevelChange::kRestored);
                Rect c = ClientRectInWindow(*w);
                SendMessage(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(c.width(), c.height()));
            }
            [[fallthrough]];
        default: {  // SW_SHOW, SW_SHOWNORMAL, SW_SHOWNA
            if (!(w = Find(hwnd))) return was_visible;
            if (!was_visible) {
                w->style |= WS_VISIBLE;
                SendMessage(hwnd, WM_SHOWWINDOW, 1);
                if (!(w = Find(hwnd))) return was_visible;
                if (w->is_child()) {
                    InvalidateWindowArea(*top, VisibleRegionInTop(*w, false));
                } else {
                    w->dirty = Region::FromRect({0, 0, w->rect.width(), w->rect.height()});
                    s.backend->TopLevelChanged(hwnd, TopLevelChange::kShown);
                }
            }
            if (!w->is_child() && command != SW_SHOWNA && w->enabled_flag() &&
                !(w->ex_style & WS_EX_NOACTIVATE))
                ActivateTopLevel(hwnd, true);
            return was_visible;
        }
    }
}

bool IsWindowVisible(HWND hwnd) {
    Window* w = Find(hwnd);
    while (w) {
        if (!w->visible_flag()) return false;
        if (!w->is_child()) return true;
        w = Find(w->parent);
    }
    return false;
}

bool IsIconic(HWND hwnd) {
    Window* w = Find(hwnd);
    return w && w->minimised;
}

bool EnableWindow(HWND hwnd, bool enable) {
    Window* w = Find(hwnd);
    if (!w) return false;
    const bool was_disabled = !w->enabled_flag();
    if (enable == !was_disabled) return was_disabled;
    if (enable) {
        w->style &= ~WS_DISABLED;
    } else {
        w->style |= WS_DISABLED;
        State& s = S();
        if (s.focus && (s.focus == hwnd || IsChild(hwnd, s.focus))) {
            HWND old = s.focus;
            s.focus = {};
            SendMessage(old, WM_KILLFOCUS, 0);
        }
        if (s.capture == hwnd) ReleaseCapture();
    }
    SendMessage(hwnd, WM_ENABLE, enable ? 1 : 0);
    InvalidateRect(hwnd, nullptr, true);
    return was_disabled;
}

bool IsWindowEnabled(HWND hwnd) {
    Window* w = Find(hwnd);
    return w && w->enabled_flag();
}

bool SetWindowRgn(HWND hwnd, std::optional<Region> region, bool redraw) {
    Window* w = Find(hwnd);
    if (!w) return false;
    Window* top = TopOf(w);
    if (w->is_child() && redraw) InvalidateWindowArea(*top, VisibleRegionInTop(*w, false));
    w->region = std::move(region);
    if (!w->is_child()) {
        S().backend->TopLevelChanged(hwnd, TopLevelChange::kRegion);
        if (redraw) w->dirty = Region::FromRect({0, 0, w->rect.width(), w->rect.height()});
    } else if (redraw) {
        InvalidateWindowArea(*top, VisibleRegionInTop(*w, false));
    }
    return true;
}

std::optional<Region> GetWindowRgn(HWND hwnd) {
    Window* w = Find(hwnd);
    if (!w) return std::nullopt;
    return w->region;
}

int32_t GetSystemMetrics(int32_t index) {
    switch (index) {
        case SM_CXSCREEN:
            return g_state ? g_state->backend->ScreenSize().cx : 0;
        case SM_CYSCREEN:
            return g_state ? g_state->backend->ScreenSize().cy : 0;
        case SM_CXVSCROLL:
        case SM_CYHSCROLL:
        case SM_CYVTHUMB:
        case SM_CXHTHUMB:
            return 16;
        case SM_CYCAPTION:
            return kCaption;
        case SM_CYSMCAPTION:
            return kSmallCaption;
        case SM_CXBORDER:
        case SM_CYBORDER:
            return 1;
        case SM_CXDLGFRAME:
        case SM_CYDLGFRAME:
            return kDlgFrame;
        case SM_CXEDGE:
        case SM_CYEDGE:
            return 2;
        case SM_CXDOUBLECLK:
        case SM_CYDOUBLECLK:
            return 4;
        default:
            return 0;
    }
}

// --- focus, activation, capture -------------------------------------------------

HWND GetFocus() {
    return g_state ? g_state->focus : HWND{};
}
HWND GetActiveWindow() {
    return g_state ? g_state->active : HWND{};
}

HWND SetFocus(HWND hwnd) {
    if (!g_state) return {};
    State& s = S();
    HWND old = s.focus;
    if (hwnd == old) return old;
    if (hwnd) {
        Window* w = Find(hwnd);
        if (!w || w->destroying) return {};
        Window& top = TopRef(*w);
        if (!top.visible_flag() || top.minimised) {
            // A window that is not on screen yet takes the focus when it is
            // activated.
            top.last_focus = hwnd;
            return old;
        }
        if (s.active != top.handle) ActivateTopLevel(top.handle, false);
        if (!Find(hwnd)) return {};
    }
    old = s.focus;
    s.focus = hwnd;
    if (old) SendMessage(old, WM_KILLFOCUS, hwnd.id);
    if (hwnd && s.focus == hwnd) {
        if (Window* top = TopOf(Find(hwnd))) top->last_focus = hwnd;
        SendMessage(hwnd, WM_SETFOCUS, old.id);
    }
    return old;
}

HWND SetActiveWindow(HWND hwnd) {
    HWND old = GetActiveWindow();
    Window* w = Find(hwnd);
    if (!w) return {};
    ActivateTopLevel(TopRef(*w).handle, true);
    return old;
}

namespace detail {

void ActivateTopLevel(HWND top, bool focus_too) {
    State& s = S();
    Window* w = Find(top);
    if (!w) return;
    if (s.active != top) {
        HWND old = s.active;
        s.active = top;
        if (old) SendMessage(old, WM_ACTIVATE, WA_INACTIVE, ToLParam(top));
        if (!Find(top)) return;
        BringWindowToTop(top);
        s.backend->TopLevelChanged(top, TopLevelChange::kActivated);
        if (focus_too) {
            SendMessage(top, WM_ACTIVATE, WA_ACTIVE, ToLParam(old));
        } else {
            // The caller sets the focus itself; skip the default focus restore.
            Window* again = Find(top);
            if (again) {
                HWND keep = again->last_focus;
                again->last_focus = {};
                SendMessage(top, WM_ACTIVATE, WA_ACTIVE, ToLParam(old));
                if ((again = Find(top))) again->last_focus = keep;
            }
        }
    } else if (focus_too && !s.focus) {
        SendMessage(top, WM_ACTIVATE, WA_ACTIVE, 0);
    }
}

}  // namespace detail

std::vector<HWND> GetTabStops(HWND within) {
    Window* w = Find(within);
    if (!w) return {};
    Window* top = TopOf(w);
    std::vector<Window*> stops;
    std::vector<Window*> stack{top};
    while (!stack.empty()) {
        Window* cur = stack.back();
        stack.pop_back();
        for (HWND k : cur->children) {
            Window* kw = Find(k);
            if (!kw || !kw->visible_flag() || !kw->enabled_flag()) continue;
            if (kw->style & WS_TABSTOP) stops.push_back(kw);
            stack.push_back(kw);
        }
    }
    std::sort(stops.begin(), stops.end(),
              [](Window* a, Window* b) { return a->creation_seq < b->creation_seq; });
    std::vector<HWND> out;
    out.reserve(stops.size());
    for (Window* sw : stops) out.push_back(sw->handle);
    return out;
}

HWND GetNextTabStop(HWND from, bool previous) {
    const std::vector<HWND> stops = GetTabStops(from);
    if (stops.empty()) return {};
    // Start from `from` when it is a stop, else from its nearest ancestor
    // stop: the last one in creation order, as ancestors come before their
    // descendants.
    auto pos = std::find(stops.begin(), stops.end(), from);
    if (pos == stops.end()) {
        auto rpos =
            std::find_if(stops.rbegin(), stops.rend(), [&](HWND sw) { return IsChild(sw, from); });
        if (rpos == stops.rend()) return previous ? stops.back() : stops.front();
        pos = std::prev(rpos.base());
    }
    size_t i = static_cast<size_t>(pos - stops.begin());
    size_t n = stops.size();
    return stops[previous ? (i + n - 1) % n : (i + 1) % n];
}

HWND SetCapture(HWND hwnd) {
    if (!g_state) return {};
    HWND old = g_state->capture;
    if (!Find(hwnd) || old == hwnd) return old;
    g_state->capture = hwnd;
    if (old) SendMessage(old, WM_CAPTURECHANGED, 0, ToLParam(hwnd));
    return old;
}

bool ReleaseCapture() {
    if (!g_state) return false;
    HWND old = g_state->capture;
    g_state->capture = {};
    if (old) SendMessage(old, WM_CAPTURECHANGED, 0, 0);
    return true;
}

HWND GetCapture() {
    return g_state ? g_state->capture : HWND{};
}

Point GetCursorPos() {
    return g_state ? g_state->cursor_pos : Point{};
}

bool SetCursorPos(int32_t x, int32_t y) {
    if (!g_state) return false;
    g_state->backend->WarpCursor({x, y});
    InjectMouseMove({x, y});
    return true;
}

void SetCursor(const Cursor& cursor) {
    if (!g_state) return;
    const Cursor& shown = g_state->override_cursor ? *g_state->override_cursor : cursor;
    if (!(g_state->current_cursor == shown)) {
        g_state->current_cursor = shown;
        g_state->backend->SetCursorShape(shown);
    }
}

Cursor GetCurrentCursor() {
    return g_state ? g_state->current_cursor : Cursor{};
}

void SetWindowCursor(HWND hwnd, std::optional<Cursor> cursor) {
    if (Window* w = Find(hwnd)) w->cursor = std::move(cursor);
}

void SetOverrideCursor(std::optional<Cursor> cursor) {
    if (!g_state) return;
    g_state->override_cursor = std::move(cursor);
    SetCursor(g_state->override_cursor ? *g_state->override_cursor : Cursor{});
}

int16_t GetKeyState(uint32_t vk) {
    if (!g_state || vk > 255) return 0;
    return g_state->key_down[vk] ? static_cast<int16_t>(0x8000) : 0;
}

// --- clipboard -------------------------------------------------------------------

std::optional<std::string> GetClipboardTextUtf8() {
    if (!g_state) return std::nullopt;
    return g_state->backend->ClipboardText();
}

bool SetClipboardTextUtf8(const std::string& utf8) {
    return g_state && g_state->backend->SetClipboardText(utf8);
}

}  // namespace platform
