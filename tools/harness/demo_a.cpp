// SPDX-License-Identifier: GPL-3.0-or-later
// The labels, pictures, buttons, timer, tooltips and message boxes part of
// the layer demo: a form of its own at the right of the screen, clear of the
// other demo windows, shown without taking the activation from the layer
// demo window.
#include <memory>
#include <string>

#include "demo.h"
#include "platform/controls/command_button.h"
#include "platform/controls/form.h"
#include "platform/controls/label.h"
#include "platform/controls/message_box.h"
#include "platform/controls/picture_box.h"
#include "platform/controls/timer.h"

namespace harness {

using namespace platform;
using namespace platform::controls;

namespace {

// The form outlives the calls that build it; the demo has one at a time.
std::unique_ptr<Form> g_form;

FontRef Face(const char* name, float size, bool bold = false) {
    FontDesc d;
    d.name = name;
    d.size = size;
    d.bold = bold;
    return MakeFont(d);
}

// A small skin: a vertical blue gradient with a lighter panel, standing in
// for the program's skin pictures under hot spots.
PictureRef MakeSkin(int32_t w, int32_t h) {
    Surface s(w, h);
    for (int32_t y = 0; y < h; ++y) {
        const auto shade = static_cast<uint8_t>(90 + 120 * y / std::max(1, h - 1));
        for (int32_t x = 0; x < w; ++x)
            s.set_pixel(x, y, Rgb(20, static_cast<uint8_t>(shade / 2), shade));
    }
    for (int32_t y = 12; y < h - 12; ++y)
        for (int32_t x = 150; x < w - 12; ++x) s.set_pixel(x, y, Rgb(250, 220, 120));
    return std::make_shared<Picture>(std::move(s), PictureKind::kBitmap);
}

const char* AnswerName(int id) {
    switch (id) {
        case IDOK:
            return "OK";
        case IDCANCEL:
            return "Cancel";
        case IDYES:
            return "Yes";
        case IDNO:
            return "No";
        default:
            return "none";
    }
}

void Build(Form& f) {
    Label& title =
        f.Add<Label>("lblTitle", Rect::FromXYWH(8, 8, 264, 30), std::string("g]kfn zAbsf]z"));
    title.set_font(Face("OrvSoft", 16));
    title.set_alignment(Alignment::kCenter);
    title.set_border_style(ControlBorder::kFixedSingle);
    title.set_back_color(Rgb(255, 255, 225));
    title.set_fore_color(Rgb(128, 0, 0));
    title.set_tooltip_text("A label in a Preeti face");

    Label& right = f.Add<Label>("lblRight", Rect::FromXYWH(8, 44, 264, 30),
                                std::string("A right-aligned label whose caption wraps at words."));
    right.set_font(Face("Arial", 9));
    right.set_alignment(Alignment::kRight);

    PictureBox& skin = f.Add<PictureBox>("picSkin", Rect::FromXYWH(8, 80, 264, 70));
    skin.set_border_style(ControlBorder::kNone);
    skin.set_picture(MakeSkin(264, 70));
    // Over the light panel: a caption-less, transparent label as a hot spot,
    // and a transparent label with text showing the skin through it.
    Label& spot = f.Add<Label>("lblSpot", Rect::FromXYWH(158, 92, 102, 46));
    spot.set_back_style(BackStyle::kTransparent);
    spot.set_tooltip_text("A hot spot: click me");
    Label& over = f.Add<Label>("lblOver", Rect::FromXYWH(16, 100, 130, 34),
                               std::string("Transparent label over a picture"));
    over.set_back_style(BackStyle::kTransparent);
    over.set_fore_color(Rgb(255, 255, 255));
    over.set_font(Face("Arial", 9, true));

    PictureBox& canvas = f.Add<PictureBox>("picCanvas", Rect::FromXYWH(8, 156, 264, 84));
    canvas.set_back_color(Rgb(255, 255, 255));
    canvas.set_auto_redraw(true);
    canvas.set_font(Face("OrvSoft", 14));
    canvas.set_fore_color(Rgb(0, 0, 160));
    // A line mixing two fonts: the next line starts below the taller one.
    const float line = canvas.TextHeight();
    canvas.Print("sf7df8f}+ ");
    canvas.set_font(Face("Arial", 9));
    canvas.set_fore_color(Rgb(0, 0, 0));
    canvas.Print("CurrentX is now " + std::to_string(static_cast<int>(canvas.current_x())) +
                 " twips");
    canvas.set_current_x(0);
    canvas.set_current_y(line);

    Label& answer =
        f.Add<Label>("lblAnswer", Rect::FromXYWH(8, 246, 264, 16), std::string("Answer: none"));
    Label& counts = f.Add<Label>("lblCounts", Rect::FromXYWH(8, 264, 264, 16),
                                 std::string("Spot clicks: 0    Hidden clicks: 0"));
    Label& ticks =
        f.Add<Label>("lblTicks", Rect::FromXYWH(8, 282, 264, 16), std::string("Timer ticks: 0"));

    struct Box {
        const char* name;
        const char* caption;
        const char* text;
        uint32_t flags;
    };
    static const Box kBoxes[] = {
        {"cmdAsk", "Ask...", "Add this word to the dictionary?", MB_YESNO | MB_ICONQUESTION},
        {"cmdWarn", "Warn...", "The word list is not saved yet. Close it anyway?",
         MB_OKCANCEL | MB_ICONEXCLAMATION | MB_DEFBUTTON2},
        {"cmdStop", "Stop...", "The dictionary file cannot be read.", MB_OK | MB_ICONSTOP},
        {"cmdInfo", "Info...", "Kovelin layer demo: labels, pictures, buttons, timers, tooltips.",
         MB_OK | MB_ICONINFORMATION},
    };
    int32_t x = 8;
    for (const Box& b : kBoxes) {
        CommandButton& button =
            f.Add<CommandButton>(b.name, Rect::FromXYWH(x, 306, 62, 23), std::string(b.caption));
        HWND form = f.hwnd();
        button.on_click = [form, &answer, &b] {
            const int id = MessageBox(form, b.text, "Kovelin", b.flags);
            answer.set_caption(std::string("Answer: ") + AnswerName(id));
        };
        x += 67;
    }

    // A hidden button whose click runs when another button sets its value.
    auto spot_clicks = std::make_shared<int>(0);
    auto hidden_clicks = std::make_shared<int>(0);
    auto show_counts = [&counts, spot_clicks, hidden_clicks] {
        counts.set_caption("Spot clicks: " + std::to_string(*spot_clicks) +
                           "    Hidden clicks: " + std::to_string(*hidden_clicks));
    };
    CommandButton& hidden =
        f.Add<CommandButton>("cmdHidden", Rect::FromXYWH(0, 0, 10, 10), std::string("hidden"));
    hidden.set_visible(false);
    hidden.on_click = [hidden_clicks, show_counts] {
        ++*hidden_clicks;
        show_counts();
    };
    CommandButton& poke = f.Add<CommandButton>("cmdPoke", Rect::FromXYWH(8, 336, 128, 23),
                                               std::string("Press hidden button"));
    poke.on_click = [&hidden] { hidden.set_value(true); };
    poke.set_tooltip_text("Sets the hidden button's value");
    CommandButton& disabled = f.Add<CommandButton>("cmdDisabled", Rect::FromXYWH(142, 336, 130, 23),
                                                   std::string("Disabled button"));
    disabled.set_enabled(false);

    spot.on_click = [spot_clicks, show_counts, &canvas] {
        ++*spot_clicks;
        show_counts();
        canvas.Print("spot " + std::to_string(*spot_clicks) + "  ");
    };

    Timer& timer = f.Add<Timer>("tmrTicks");
    auto tick_count = std::make_shared<int>(0);
    timer.on_timer = [&ticks, tick_count] {
        ticks.set_caption("Timer ticks: " + std::to_string(++*tick_count));
    };
    (void)timer.set_interval(1000);
}

}  // namespace

void AddDemoControlsA(HWND parent_form) {
    (void)parent_form;  // the form stands on its own; the demo window keeps the activation
    FormOptions o;
    o.name = "frmControlsA";
    o.caption = "Labels, pictures, buttons";
    o.border = BorderStyle::kFixedToolWindow;
    o.position = StartUpPosition::kManual;
    o.left = 738;
    o.top = 4;
    o.client_width = 280;
    o.client_height = 367;
    g_form = std::make_unique<Form>(o);
    g_form->on_load = [] { Build(*g_form); };
    g_form->Load();
    if (g_form->loaded()) ShowWindow(g_form->hwnd(), SW_SHOWNA);
}

}  // namespace harness
