// SPDX-License-Identifier: GPL-3.0-or-later
#include "demo.h"

#include <string>

#include "platform/json.h"

namespace harness {

using namespace platform;

namespace {

constexpr Color kFace = 0x80000000 | COLOR_BTNFACE;

enum : uintptr_t { kIdCount = 1, kIdModal = 2, kIdOk = 3 };

// Per-window state of the demo classes lives in a window property.
struct ButtonState {
    bool pressed = false;
    bool hot = false;
};

ButtonState* ButtonOf(HWND h) {
    return reinterpret_cast<ButtonState*>(GetProp(h, "demo.state"));
}

void Raised(DC& dc, Rect r, bool sunk) {
    Color tl = sunk ? 0x80000000 | COLOR_3DDKSHADOW : 0x80000000 | COLOR_BTNHIGHLIGHT;
    Color br = sunk ? 0x80000000 | COLOR_BTNHIGHLIGHT : 0x80000000 | COLOR_3DDKSHADOW;
    dc.FillRect({r.left, r.top, r.right, r.top + 1}, tl);
    dc.FillRect({r.left, r.top, r.left + 1, r.bottom}, tl);
    dc.FillRect({r.left, r.bottom - 1, r.right, r.bottom}, br);
    dc.FillRect({r.right - 1, r.top, r.right, r.bottom}, br);
    if (!sunk) {
        Rect in = r.inflate(-1, -1);
        dc.FillRect({in.left, in.bottom - 1, in.right, in.bottom}, 0x80000000 | COLOR_BTNSHADOW);
        dc.FillRect({in.right - 1, in.top, in.right, in.bottom}, 0x80000000 | COLOR_BTNSHADOW);
    }
}

FontDesc UiFont() {
    FontDesc f;
    f.name = "MS Sans Serif";
    f.size = 8.25f;
    return f;
}

LRESULT DemoButtonProc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
    switch (m) {
        case WM_CREATE:
            SetProp(h, "demo.state", reinterpret_cast<intptr_t>(new ButtonState));
            return 0;
        case WM_NCDESTROY:
            delete ButtonOf(h);
            RemoveProp(h, "demo.state");
            break;
        case WM_LBUTTONDOWN:
            ButtonOf(h)->pressed = true;
            SetCapture(h);
            SetFocus(h);
            InvalidateRect(h);
            return 0;
        case WM_LBUTTONUP: {
            ButtonState* s = ButtonOf(h);
            if (!s->pressed) return 0;
            s->pressed = false;
            ReleaseCapture();
            InvalidateRect(h);
            Point p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
            if (GetClientRect(h).contains(p))
                SendMessage(GetParent(h), WM_COMMAND,
                            static_cast<WPARAM>(GetWindowLongPtr(h, GWLP_ID)), ToLParam(h));
            return 0;
        }
        case WM_KEYDOWN:
            if (wp == VK_SPACE || wp == VK_RETURN)
                SendMessage(GetParent(h), WM_COMMAND,
                            static_cast<WPARAM>(GetWindowLongPtr(h, GWLP_ID)), ToLParam(h));
            return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            InvalidateRect(h);
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            auto dc = BeginPaint(h, &ps);
            Rect r = GetClientRect(h);
            const bool down = ButtonOf(h)->pressed;
            dc->FillRect(r, kFace);
            Raised(*dc, r, down);
            dc->SetFont(UiFont());
            dc->SetBkMode(BkMode::kTransparent);
            dc->SetTextColor(0x80000000 | COLOR_BTNTEXT);
            Rect t = r.offset(down ? 1 : 0, down ? 1 : 0);
            dc->DrawText(GetWindowText(h), t, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
            if (GetFocus() == h) dc->DrawFocusRect(r.inflate(-4, -4));
            EndPaint(h, &ps);
            return 0;
        }
        case WM_REPORTSTATE:
            reinterpret_cast<Json*>(lp)->Set("pressed", ButtonOf(h)->pressed);
            return 0;
        default:
            break;
    }
    return DefWindowProc(h, m, wp, lp);
}

// A one-line text box: Latin text as Windows-1252 bytes.
LRESULT DemoEditProc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
    switch (m) {
        case WM_LBUTTONDOWN:
            SetFocus(h);
            return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            InvalidateRect(h);
            return 0;
        case WM_GETDLGCODE:
            return DLGC_WANTCHARS;
        case WM_CHAR: {
            std::string t = GetWindowText(h);
            if (wp == 0x08) {
                if (!t.empty()) t.pop_back();
            } else if (wp >= 0x20 && wp != 0x7F) {
                t += wp <= 0xFF ? static_cast<char>(wp) : '?';
            } else {
                return 0;
            }
            SetWindowText(h, t);
            InvalidateRect(h);
            return 0;
        }
        case WM_PAINT: {
            PAINTSTRUCT ps;
            auto dc = BeginPaint(h, &ps);
            Rect r = GetClientRect(h);
            dc->FillRect(r, 0x80000000 | COLOR_WINDOW);
            dc->SetFont(UiFont());
            dc->SetBkMode(BkMode::kTransparent);
            dc->SetTextColor(0x80000000 | COLOR_WINDOWTEXT);
            std::string t = GetWindowText(h);
            Rect tr = r.inflate(-3, 0);
            dc->DrawText(t, tr, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
            if (GetFocus() == h) {
                int32_t x = 3 + static_cast<int32_t>(dc->GetTextExtent(t).width + 0.5f);
                dc->FillRect({x, 3, x + 1, r.bottom - 3}, 0x80000000 | COLOR_WINDOWTEXT);
            }
            EndPaint(h, &ps);
            return 0;
        }
        case WM_REPORTSTATE:
            reinterpret_cast<Json*>(lp)->Set("text", GetWindowText(h));
            return 0;
        default:
            break;
    }
    return DefWindowProc(h, m, wp, lp);
}

// An elliptic hot spot whose colour changes with each click.
LRESULT DemoSpotProc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
    switch (m) {
        case WM_LBUTTONDOWN:
            SetProp(h, "demo.clicks", GetProp(h, "demo.clicks") + 1);
            InvalidateRect(h);
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            auto dc = BeginPaint(h, &ps);
            static const Color kColours[] = {Rgb(0, 120, 215), Rgb(200, 60, 40), Rgb(40, 160, 70)};
            dc->FillRect(GetClientRect(h), kColours[GetProp(h, "demo.clicks") % 3]);
            EndPaint(h, &ps);
            return 0;
        }
        case WM_REPORTSTATE:
            reinterpret_cast<Json*>(lp)->Set("clicks",
                                             static_cast<int64_t>(GetProp(h, "demo.clicks")));
            return 0;
        default:
            break;
    }
    return DefWindowProc(h, m, wp, lp);
}

HWND Make(HWND parent, const char* cls, const char* name, const char* text, Rect r,
          uintptr_t id = 0, uint32_t style = 0, uint32_t ex = 0) {
    HWND h = CreateWindowEx(ex, cls, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top, r.width(),
                            r.height(), parent, id);
    SetWindowName(h, name);
    return h;
}

LRESULT DemoDialogProc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
    switch (m) {
        case WM_CREATE:
            SetFocus(Make(h, "DemoButton", "btnOk", "OK", Rect::FromXYWH(85, 60, 75, 23), kIdOk,
                          WS_TABSTOP));
            return 0;
        case WM_COMMAND:
            if (LOWORD(wp) == kIdOk) DestroyWindow(h);
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            auto dc = BeginPaint(h, &ps);
            dc->SetFont(UiFont());
            dc->SetBkMode(BkMode::kTransparent);
            Rect r{12, 12, GetClientRect(h).right - 12, 50};
            dc->DrawText("A modal window: the demo window is disabled until this one closes.", r,
                         DT_LEFT | DT_WORDBREAK);
            EndPaint(h, &ps);
            return 0;
        }
        default:
            break;
    }
    return DefWindowProc(h, m, wp, lp);
}

LRESULT DemoFrameProc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
    switch (m) {
        case WM_CREATE: {
            Make(h, "DemoEdit", "txtInput", "", Rect::FromXYWH(12, 40, 200, 22), 0, WS_TABSTOP,
                 WS_EX_CLIENTEDGE);
            Make(h, "DemoButton", "btnCount", "Count", Rect::FromXYWH(224, 40, 80, 23), kIdCount,
                 WS_TABSTOP);
            Make(h, "DemoButton", "btnModal", "Modal...", Rect::FromXYWH(312, 40, 80, 23), kIdModal,
                 WS_TABSTOP);
            HWND spot = Make(h, "DemoSpot", "picSpot", "", Rect::FromXYWH(12, 120, 120, 80));
            SetWindowRgn(spot, Region::Ellipse({0, 0, 120, 80}));
            SetWindowCursor(spot, Cursor{CursorShape::kHand, {}, {}});
            SetTimer(h, 1, 1000);
            return 0;
        }
        case WM_TIMER:
            SetProp(h, "demo.ticks", GetProp(h, "demo.ticks") + 1);
            InvalidateRect(h);
            return 0;
        case WM_COMMAND:
            if (LOWORD(wp) == kIdCount) {
                SetProp(h, "demo.count", GetProp(h, "demo.count") + 1);
                InvalidateRect(h);
            } else if (LOWORD(wp) == kIdModal) {
                HWND dlg = CreateWindowEx(WS_EX_TOOLWINDOW, "DemoDialog", "Demo dialog",
                                          WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0, 250, 120, h);
                SetWindowName(dlg, "frmDialog");
                CenterWindow(dlg, h);
                RunModal(dlg);
            }
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            auto dc = BeginPaint(h, &ps);
            dc->SetFont(UiFont());
            dc->SetBkMode(BkMode::kTransparent);
            dc->SetTextColor(0x80000000 | COLOR_BTNTEXT);
            dc->TextOut(12, 14, "Type, click, press Tab, or open the modal window.");
            std::string line = "Count: " + std::to_string(GetProp(h, "demo.count")) +
                               "    Timer ticks: " + std::to_string(GetProp(h, "demo.ticks"));
            dc->TextOut(12, 80, line);
            dc->TextOut(150, 130, "The coloured ellipse is a window");
            dc->TextOut(150, 146, "with an elliptic region.");
            FontDesc nepali;
            nepali.name = "OrvSoft";
            nepali.size = 16;
            dc->SetFont(nepali);
            dc->SetTextColor(Rgb(128, 0, 0));
            dc->TextOut(12, 215, "g]kfn zAbsf]z");
            EndPaint(h, &ps);
            return 0;
        }
        case WM_REPORTSTATE: {
            Json* j = reinterpret_cast<Json*>(lp);
            j->Set("count", static_cast<int64_t>(GetProp(h, "demo.count")));
            j->Set("ticks", static_cast<int64_t>(GetProp(h, "demo.ticks")));
            return 0;
        }
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProc(h, m, wp, lp);
}

}  // namespace

HWND CreateDemoWindow() {
    RegisterClass({"DemoFrame", DemoFrameProc, 0, kFace, {}});
    RegisterClass({"DemoDialog", DemoDialogProc, 0, kFace, {}});
    RegisterClass({"DemoButton", DemoButtonProc, 0, kFace, {}});
    RegisterClass({"DemoEdit", DemoEditProc, CS_DBLCLKS, 0x80000000 | COLOR_WINDOW,
                   Cursor{CursorShape::kIBeam, {}, {}}});
    RegisterClass({"DemoSpot", DemoSpotProc, 0, kNoBackground, {}});
    HWND h =
        CreateWindowEx(0, "DemoFrame", "Kovelin layer demo",
                       WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, 420, 280, {});
    SetWindowName(h, "frmDemo");
    CenterWindow(h);
    ShowWindow(h, SW_SHOW);
    SetFocus(FindWindowByName("txtInput", h));
    AddDemoControlsB(h);
    AddDemoControlsA(h);
    return h;
}

}  // namespace harness
