// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/controls/message_box.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "platform/controls/command_button.h"
#include "platform/controls/tooltip.h"

namespace platform::controls {

namespace {
constexpr const char* kBoxProp = "kv.msgbox";
constexpr int32_t kMargin = 12;
constexpr int32_t kIconSize = 32;
constexpr int32_t kIconGap = 12;
constexpr int32_t kButtonWidth = 75;
constexpr int32_t kButtonHeight = 23;
constexpr int32_t kButtonGap = 6;
constexpr int32_t kMinTextWidth = 80;

enum class Icon { kNone, kStop, kQuestion, kExclamation, kInformation };

const char* IconName(Icon icon) {
    switch (icon) {
        case Icon::kStop:
            return "stop";
        case Icon::kQuestion:
            return "question";
        case Icon::kExclamation:
            return "exclamation";
        case Icon::kInformation:
            return "information";
        case Icon::kNone:
            break;
    }
    return "none";
}

struct Choice {
    int id;
    const char* caption;
    const char* name;
};

struct Box {
    std::string text;
    std::string title;
    Icon icon = Icon::kNone;
    Rect icon_rect;
    Rect text_rect;
    std::vector<Choice> choices;
    std::vector<std::unique_ptr<CommandButton>> buttons;
    size_t default_index = 0;
    int escape_id = IDOK;
    int result = 0;
};

FontDesc BoxFont() {
    FontDesc f;
    f.name = "MS Sans Serif";
    f.size = 8.25f;
    return f;
}

Box* BoxOf(HWND h) {
    return reinterpret_cast<Box*>(GetProp(h, kBoxProp));
}

// The answer ends the modal loop by hiding the box; the box is destroyed by
// MessageBox itself once the loop has returned, never from inside one of
// its own buttons' handlers.
void Answer(HWND dlg, int id) {
    Box* b = BoxOf(dlg);
    if (!b || b->result) return;
    b->result = id;
    ShowWindow(dlg, SW_HIDE);
}

void DrawIcon(DC& dc, Icon icon, const Rect& r) {
    if (icon == Icon::kNone) return;
    FontDesc glyph;
    glyph.name = "Arial";
    glyph.size = 17;
    glyph.bold = true;
    dc.SetFont(glyph);
    dc.SetBkMode(BkMode::kTransparent);
    auto centred = [&](const char* s, Color c, int32_t dy) {
        Rect t = r.offset(0, dy);
        dc.SetTextColor(c);
        dc.DrawText(s, t, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    };
    switch (icon) {
        case Icon::kStop: {
            dc.SetPen({PenStyle::kSolid, 1, Rgb(150, 0, 0)});
            dc.SetBrush({false, Rgb(220, 30, 30)});
            dc.Ellipse(r);
            // A white cross: two thick strokes built from filled squares, so
            // the ends stay square at any pen support.
            for (int32_t i = 9; i <= 21; ++i) {
                dc.FillRect(Rect::FromXYWH(r.left + i, r.top + i, 3, 3), Rgb(255, 255, 255));
                dc.FillRect(Rect::FromXYWH(r.left + 30 - i - 2, r.top + i, 3, 3),
                            Rgb(255, 255, 255));
            }
            break;
        }
        case Icon::kQuestion:
        case Icon::kInformation:
            dc.SetPen({PenStyle::kSolid, 1, Rgb(0, 60, 150)});
            dc.SetBrush({false, Rgb(30, 100, 210)});
            dc.Ellipse(r);
            centred(icon == Icon::kQuestion ? "?" : "i", Rgb(255, 255, 255), 0);
            break;
        case Icon::kExclamation:
            dc.SetPen({PenStyle::kSolid, 1, Rgb(120, 90, 0)});
            dc.SetBrush({false, Rgb(250, 205, 30)});
            dc.Polygon(
                {{r.left + 16, r.top + 1}, {r.left + 31, r.top + 29}, {r.left + 1, r.top + 29}});
            centred("!", Rgb(0, 0, 0), 3);
            break;
        case Icon::kNone:
            break;
    }
}

LRESULT BoxProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    Box* b = BoxOf(h);
    switch (msg) {
        case WM_CLOSE:
            if (b) Answer(h, b->escape_id);
            return 0;
        case WM_ACTIVATE:
            DefWindowProc(h, msg, wp, lp);
            // Activation puts the focus on the window itself the first time;
            // a message box starts with its default button focused.
            if (b && LOWORD(wp) != WA_INACTIVE && b->default_index < b->buttons.size()) {
                HWND f = GetFocus();
                if (!f || !IsChild(h, f)) b->buttons[b->default_index]->SetFocus();
            }
            return 0;
        case WM_KEYDOWN:
            // Reaches the box only when no button has the focus.
            if (b && wp == VK_ESCAPE) Answer(h, b->escape_id);
            if (b && wp == VK_RETURN && b->default_index < b->choices.size())
                Answer(h, b->choices[b->default_index].id);
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            auto dc = BeginPaint(h, &ps);
            if (dc && b) {
                DrawIcon(*dc, b->icon, b->icon_rect);
                dc->SetFont(BoxFont());
                dc->SetBkMode(BkMode::kTransparent);
                dc->SetTextColor(kSystemColorFlag | COLOR_WINDOWTEXT);
                Rect t = b->text_rect;
                dc->DrawText(b->text, t, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
            }
            EndPaint(h, &ps);
            return 0;
        }
        case WM_REPORTSTATE:
            if (b) {
                Json* out = reinterpret_cast<Json*>(lp);
                out->Set("icon", IconName(b->icon));
                out->Set("text", b->text);
                out->Set("title", b->title);
                Json::Array captions;
                for (const Choice& c : b->choices) captions.emplace_back(c.caption);
                out->Set("buttons", Json(std::move(captions)));
            }
            return 0;
        default:
            return DefWindowProc(h, msg, wp, lp);
    }
}

std::vector<Choice> ChoicesFor(uint32_t flags) {
    switch (flags & 0xF) {
        case MB_OKCANCEL:
            return {{IDOK, "OK", "btnOK"}, {IDCANCEL, "Cancel", "btnCancel"}};
        case MB_YESNOCANCEL:
            return {
                {IDYES, "Yes", "btnYes"}, {IDNO, "No", "btnNo"}, {IDCANCEL, "Cancel", "btnCancel"}};
        case MB_YESNO:
            return {{IDYES, "Yes", "btnYes"}, {IDNO, "No", "btnNo"}};
        case MB_OK:
        default:
            return {{IDOK, "OK", "btnOK"}};
    }
}

Icon IconFor(uint32_t flags) {
    switch (flags & 0xF0) {
        case MB_ICONSTOP:
            return Icon::kStop;
        case MB_ICONQUESTION:
            return Icon::kQuestion;
        case MB_ICONEXCLAMATION:
            return Icon::kExclamation;
        case MB_ICONINFORMATION:
            return Icon::kInformation;
        default:
            return Icon::kNone;
    }
}

std::vector<MessageBoxRecord>& Recent() {
    static auto* recent = new std::vector<MessageBoxRecord>();
    return *recent;
}

void Remember(const Box& box, int answer) {
    MessageBoxRecord r;
    r.icon = IconName(box.icon);
    r.text = box.text;
    r.title = box.title;
    for (const Choice& c : box.choices) {
        r.buttons.emplace_back(c.caption);
        if (c.id == answer) r.answer = c.caption;
    }
    auto& recent = Recent();
    if (recent.size() >= kMessageBoxRecord) recent.erase(recent.begin());
    recent.push_back(std::move(r));
}

int EscapeFor(const std::vector<Choice>& choices) {
    for (int id : {IDCANCEL, IDNO})
        for (const Choice& c : choices)
            if (c.id == id) return id;
    return IDOK;
}

}  // namespace

int MessageBox(HWND owner, std::string_view text, std::string_view title, uint32_t flags) {
    if (!WindowSystemRunning()) return 0;
    if (!IsClassRegistered(kMessageBoxClass))
        RegisterClass({kMessageBoxClass, BoxProc, 0, kSystemColorFlag | COLOR_BTNFACE, {}});
    tooltips::Hide();

    Box box;
    box.text = std::string(text);
    box.title = std::string(title);
    box.icon = IconFor(flags);
    box.choices = ChoicesFor(flags);
    box.escape_id = EscapeFor(box.choices);
    const size_t wanted_default = (flags & MB_DEFBUTTON3) ? 2 : (flags & MB_DEFBUTTON2) ? 1 : 0;
    box.default_index = wanted_default < box.choices.size() ? wanted_default : 0;

    // Measure the text, wrapped at a width that keeps long messages readable.
    Surface scratch(1, 1);
    DC measure(scratch);
    measure.SetFont(BoxFont());
    const int32_t screen_w = GetSystemMetrics(SM_CXSCREEN);
    const int32_t max_text = std::max(kMinTextWidth, screen_w * 5 / 8);
    Rect calc{0, 0, max_text, 0};
    if (!box.text.empty())
        measure.DrawText(box.text, calc,
                         DT_LEFT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS | DT_CALCRECT);
    const int32_t text_w = std::min(calc.width(), max_text);
    const int32_t text_h = std::max(calc.height(), 0);

    const bool has_icon = box.icon != Icon::kNone;
    const int32_t text_left = kMargin + (has_icon ? kIconSize + kIconGap : 0);
    const int32_t content_h = std::max(has_icon ? kIconSize : 0, text_h);
    int32_t text_top = kMargin;
    if (has_icon && text_h < kIconSize) text_top += (kIconSize - text_h) / 2;
    box.icon_rect = Rect::FromXYWH(kMargin, kMargin, kIconSize, kIconSize);
    box.text_rect = Rect::FromXYWH(text_left, text_top, text_w, text_h);

    const int32_t n = static_cast<int32_t>(box.choices.size());
    const int32_t buttons_w = n * kButtonWidth + (n - 1) * kButtonGap;
    // Leave room for the title and the close box.
    const int32_t title_w =
        static_cast<int32_t>(std::ceil(measure.GetTextExtent(title).width)) + 60;
    const int32_t client_w =
        std::max({text_left + text_w + kMargin, buttons_w + 2 * kMargin, title_w});
    const int32_t buttons_top = kMargin + content_h + kMargin + 4;
    const int32_t client_h = buttons_top + kButtonHeight + kMargin;

    HWND owner_top = owner ? GetAncestorTopLevel(owner) : GetActiveWindow();
    if (owner_top && !IsWindow(owner_top)) owner_top = {};
    HWND dlg =
        CreateWindowEx(WS_EX_DLGMODALFRAME, kMessageBoxClass, title,
                       WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0, client_w, client_h, owner_top);
    if (!dlg) return 0;
    SetProp(dlg, kBoxProp, reinterpret_cast<intptr_t>(&box));
    SetWindowName(dlg, "msgbox");
    {
        Rect in_window = GetClientAreaInWindow(dlg);
        Rect outer = GetWindowRect(dlg);
        SetWindowPos(dlg, {}, 0, 0, client_w + outer.width() - in_window.width(),
                     client_h + outer.height() - in_window.height(),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (owner_top && IsWindowVisible(owner_top) && !IsIconic(owner_top))
        CenterWindow(dlg, owner_top);
    else
        CenterWindow(dlg);

    int32_t x = (client_w - buttons_w) / 2;
    for (size_t i = 0; i < box.choices.size(); ++i) {
        const Choice c = box.choices[i];
        auto button = std::make_unique<CommandButton>(
            dlg, c.name, Rect::FromXYWH(x, buttons_top, kButtonWidth, kButtonHeight), c.caption);
        button->set_font(MakeFont(BoxFont()));
        CommandButton* self = button.get();
        button->on_click = [dlg, id = c.id] { Answer(dlg, id); };
        button->on_got_focus = [&box, self] {
            // The focused button is the one Enter presses, so it wears the
            // default frame.
            for (auto& other : box.buttons) other->set_default(other.get() == self);
        };
        button->on_key_down = [dlg, &box, i](int16_t& key, int16_t /*shift*/) {
            const size_t count = box.buttons.size();
            if (key == VK_ESCAPE) {
                Answer(dlg, box.escape_id);
            } else if (key == VK_LEFT || key == VK_UP) {
                box.buttons[(i + count - 1) % count]->SetFocus();
            } else if (key == VK_RIGHT || key == VK_DOWN) {
                box.buttons[(i + 1) % count]->SetFocus();
            }
        };
        button->set_default(i == box.default_index);
        box.buttons.push_back(std::move(button));
        x += kButtonWidth + kButtonGap;
    }

    RunModal(dlg);
    // The box may also end without an answer: destroyed from outside, or the
    // loop told to quit. That counts as the Escape answer, never as a Yes.
    const int result = box.result ? box.result : box.escape_id;
    if (IsWindow(dlg)) {
        RemoveProp(dlg, kBoxProp);
        DestroyWindow(dlg);
    }
    Remember(box, result);
    return result;
}

const std::vector<MessageBoxRecord>& RecentMessageBoxes() {
    return Recent();
}

}  // namespace platform::controls
