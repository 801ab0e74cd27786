// SPDX-License-Identifier: GPL-3.0-or-later
// The scroll bar and combo box part of the layer demo: a small window of
// its own, beside the demo window, with a Preeti-face search box, a Latin
// combo box, and a vertical and a horizontal scroll bar whose values and
// events it shows.
#include <memory>
#include <string>

#include "demo.h"
#include "platform/controls/combo_box.h"
#include "platform/controls/scroll_bar.h"
#include "platform/json.h"

namespace harness {

using namespace platform;
using namespace platform::controls;

namespace {

constexpr const char* kClass = "DemoControlsB";
constexpr const char* kProp = "demo.b";

// The controls live as long as the window; the window owns them through a
// property and frees them when it is destroyed.
struct DemoB {
    std::unique_ptr<ComboBox> nepali;
    std::unique_ptr<ComboBox> latin;
    std::unique_ptr<ScrollBar> vertical;
    std::unique_ptr<ScrollBar> horizontal;
    int changes = 0;  // change events of the vertical bar
    int scrolls = 0;  // scroll events of the vertical bar
    int chosen = 0;   // items chosen in the Nepali box
};

DemoB* Of(HWND h) {
    return reinterpret_cast<DemoB*>(GetProp(h, kProp));
}

void Build(HWND h, DemoB& d) {
    FontDesc nepali_font;
    nepali_font.name = "OrvSoft";
    nepali_font.size = 14.25f;
    d.nepali = std::make_unique<ComboBox>(h, "cmbNepali", Rect::FromXYWH(10, 26, 205, 30), "g]kfn");
    d.nepali->set_font(MakeFont(nepali_font));
    d.nepali->set_back_color(0x0080FFFF);
    for (const char* w :
         {"g]kfn", "zAbsf]z", "sf7df8f}+", "ls", "ldq", "k'/f0f", "klxnf]", "cfdf", "a'af", "ef/t"})
        (void)d.nepali->AddItem(w);
    d.nepali->on_change = [h] { InvalidateRect(h); };
    d.nepali->on_click = [h] {
        if (DemoB* s = Of(h)) ++s->chosen;
        InvalidateRect(h);
    };

    FontDesc latin_font;
    latin_font.name = "Arial";
    latin_font.size = 10;
    d.latin = std::make_unique<ComboBox>(h, "cmbLatin", Rect::FromXYWH(10, 80, 205, 24));
    d.latin->set_font(MakeFont(latin_font));
    for (const char* w : {"alpha", "beta", "gamma"}) (void)d.latin->AddItem(w);

    d.vertical = std::make_unique<ScrollBar>(h, "vsbDemo", Rect::FromXYWH(250, 10, 17, 180));
    (void)d.vertical->set_max(100);
    (void)d.vertical->set_large_change(10);
    d.vertical->on_change = [h] {
        if (DemoB* s = Of(h)) ++s->changes;
        InvalidateRect(h);
    };
    d.vertical->on_scroll = [h] {
        if (DemoB* s = Of(h)) ++s->scrolls;
        InvalidateRect(h);
    };

    d.horizontal = std::make_unique<ScrollBar>(h, "hsbDemo", Rect::FromXYWH(10, 200, 257, 17),
                                               ScrollOrientation::kHorizontal);
    (void)d.horizontal->set_max(50);
    (void)d.horizontal->set_large_change(25);
    d.horizontal->on_change = [h] { InvalidateRect(h); };
    d.horizontal->on_scroll = d.horizontal->on_change;
}

LRESULT DemoBProc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
    switch (m) {
        case WM_CREATE: {
            auto* d = new DemoB;
            SetProp(h, kProp, reinterpret_cast<intptr_t>(d));
            Build(h, *d);
            return 0;
        }
        case WM_DESTROY:
            delete Of(h);
            RemoveProp(h, kProp);
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            auto dc = BeginPaint(h, &ps);
            const DemoB* d = Of(h);
            FontDesc ui;
            dc->SetFont(ui);
            dc->SetBkMode(BkMode::kTransparent);
            dc->SetTextColor(0x80000000 | COLOR_BTNTEXT);
            dc->TextOut(10, 10, "Search box (OrvSoft):");
            dc->TextOut(10, 64, "Latin combo box (Arial):");
            if (d && d->vertical && d->horizontal) {
                dc->TextOut(10, 118,
                            "Vertical: " + std::to_string(d->vertical->value()) + "   changes " +
                                std::to_string(d->changes) + ", scrolls " +
                                std::to_string(d->scrolls));
                dc->TextOut(10, 134, "Horizontal: " + std::to_string(d->horizontal->value()));
                dc->TextOut(10, 150, "Items chosen: " + std::to_string(d->chosen));
            }
            EndPaint(h, &ps);
            return 0;
        }
        case WM_REPORTSTATE:
            if (const DemoB* d = Of(h)) {
                Json* j = reinterpret_cast<Json*>(lp);
                j->Set("changes", d->changes);
                j->Set("scrolls", d->scrolls);
                j->Set("chosen", d->chosen);
            }
            return 0;
        default:
            break;
    }
    return DefWindowProc(h, m, wp, lp);
}

}  // namespace

void AddDemoControlsB(HWND parent_form) {
    if (!IsClassRegistered(kClass))
        RegisterClass({kClass, DemoBProc, 0, 0x80000000 | COLOR_BTNFACE, {}});
    // Below the list demo and left of the layer demo, so neither is covered.
    HWND h = CreateWindowEx(WS_EX_TOOLWINDOW, kClass, "Scroll bars and combo boxes",
                            WS_POPUP | WS_CAPTION | WS_SYSMENU, 4, 452, 280, 250, parent_form);
    if (!h) return;
    SetWindowName(h, "frmControlsB");
    // Shown without taking the activation from the layer demo window.
    ShowWindow(h, SW_SHOWNA);
}

}  // namespace harness
