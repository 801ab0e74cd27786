#include "lookup/credits_window.h"

#include <cmath>

#include "app/app_paths.h"
#include "app/artwork.h"
#include "platform/messages.h"
#include "platform/os/sound.h"
#include "platform/window.h"

namespace lookup {

using namespace platform;
using namespace platform::controls;

namespace {

constexpr int32_t kSurfaceWidth = 800;
constexpr int32_t kSurfaceHeight = 600;
constexpr Color kBlack = Rgb(0, 0, 0);
constexpr Color kWhite = Rgb(0xFF, 0xFF, 0xFF);
constexpr Color kEntryGreen = Rgb(50, 200, 50);

// The two "programmers" are the program's own parts.
struct Entry {
    const char* name;
    const char* age;
    const char* duty;
    const char* hobby;
};
constexpr Entry kFirst{"Name: Text engine", "Age: as old as Kovelin",
                       "Duty:- shapes and draws every letter", "Hobby:- joining Devanagari"};
constexpr Entry kSecond{"Name: Window system", "Age: as old as Kovelin", "Duty:- windows and input",
                        "Hobby:- repainting"};
constexpr std::array<const char*, 6> kContact{
    "Contact",
    "The Kovelin project",
    "Where: see README.md beside the program's source",
    "Licence: GPL-3.0-or-later, see LICENSE",
    "Mail: no address; write through the project",
    "Telephone: none",
};

Size ScreenPixels() {
    return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

FormOptions Options() {
    const Size screen = ScreenPixels();
    FormOptions o;
    o.name = "frmCrime";
    o.caption = "";
    o.border = BorderStyle::kNone;
    o.position = StartUpPosition::kManual;
    o.left = 0;
    o.top = 0;
    o.client_width = screen.cx;
    o.client_height = screen.cy;
    o.min_button = false;
    o.back_color = kBlack;
    return o;
}

}  // namespace

CreditsWindow::CreditsWindow() : Form(Options()) {
    on_load = [this] { Build(); };
    // Only "Exit" closes the window; a close asked for while the animation
    // runs would pull its controls away from under it.
    on_query_unload = [this](int16_t& cancel, int16_t mode) {
        if (animating_ && mode == kFormControlMenu) cancel = 1;
    };
}

void CreditsWindow::Build() {
    const Size screen = ScreenPixels();
    pic_main_ = &Add<PictureBox>("picMain", Rect::FromXYWH(screen.cx / 2 - kSurfaceWidth / 2,
                                                           screen.cy / 2 - kSurfaceHeight / 2,
                                                           kSurfaceWidth, kSurfaceHeight));
    pic_main_->set_border_style(ControlBorder::kNone);
    pic_main_->set_back_color(kBlack);
    pic_main_->set_auto_redraw(true);
    pic_main_->set_scale_mode(ScaleMode::kPixels);
    const HWND surface = pic_main_->hwnd();
    const auto card = [&](const char* name, const char* file, Rect r) {
        auto& p = AddTo<PictureBox>(surface, name, r);
        p.set_border_style(ControlBorder::kNone);
        p.set_back_color(kBlack);
        (void)app::ShowArtwork(p, file);
        p.set_visible(false);
        return &p;
    };
    pic_ravo_ = card("picRavo", "c0.bmp", Rect::FromXYWH(40, 74, 152, 234));
    pic_pelin_ = card("picPelin", "c1.bmp", Rect::FromXYWH(624, 344, 163, 223));
    for (size_t k = 0; k < label1_.size(); ++k) {
        auto& l = AddTo<Label>(surface, "Label1(" + std::to_string(k) + ")",
                               Rect::FromXYWH(40, 430 + static_cast<int32_t>(k) * 20, 340, 17));
        l.set_caption(kContact[k]);
        l.set_back_style(BackStyle::kTransparent);
        l.set_font(MakeFont(FontDesc{"Arial", 9, k == 0}));
        l.set_fore_color(k == 0 ? Rgb(0xFF, 0, 0) : kWhite);
        l.set_visible(false);
        label1_[k] = &l;
    }
    lbl_exit_ = &AddTo<Label>(surface, "lblExit", Rect::FromXYWH(68, 580, 65, 15));
    lbl_exit_->set_caption("Exit");
    lbl_exit_->set_alignment(Alignment::kCenter);
    lbl_exit_->set_back_style(BackStyle::kOpaque);
    lbl_exit_->set_back_color(kWhite);
    lbl_exit_->set_fore_color(Rgb(0, 0, 0x80));
    lbl_exit_->set_tooltip_text("Exit");
    lbl_exit_->set_visible(false);
    lbl_exit_->on_click = [this] { Unload(); };
    tmr_main_ = &Add<Timer>("tmrMain");
    (void)tmr_main_->set_interval(500);
    tmr_main_->set_enabled(false);
    tmr_main_->on_timer = [this] {
        tmr_main_->set_enabled(false);
        if (played_) return;
        played_ = true;
        Animate();
    };
}

void CreditsWindow::ShowModal() {
    events_.clear();
    played_ = false;
    Load();
    DoEvents();
    SetCursorPos(50, 550);
    tmr_main_->set_enabled(true);
    Show(true);
}

void CreditsWindow::Log(std::string what) {
    events_.push_back({GetTickCount() - start_, std::move(what)});
}

bool CreditsWindow::Yield() {
    DoEvents();
    return loaded();
}

void CreditsWindow::Pause(uint32_t ms) {
    Sleep(ms);
}

void CreditsWindow::Sound(const char* file, const char* event) {
    os::PlaySound(app::DataFilePath(file));
    Log(event);
}

void CreditsWindow::SetVisible(Control& c, bool on) {
    c.set_visible(on);
    Log((on ? "show " : "hide ") + c.name());
}

void CreditsWindow::Type(const std::string& text, int32_t x, int32_t y) {
    pic_main_->set_current_x(static_cast<float>(x));
    pic_main_->set_current_y(static_cast<float>(y));
    for (const char c : text) {
        const float top = pic_main_->current_y();
        pic_main_->Print(std::string(1, c));
        pic_main_->set_current_y(top);
        pic_main_->Refresh();
        os::PlaySound(app::DataFilePath("k.dat"));
        Log(std::string("k ") + c);
        Pause(100);
    }
}

void CreditsWindow::Animate() {
    animating_ = true;
    start_ = GetTickCount();
    const auto entry_font = [this] {
        pic_main_->set_font(MakeFont(FontDesc{"Courier", 10}));
        pic_main_->set_fore_color(kEntryGreen);
    };
    // Each yield may be the last: the window can be gone when it returns.
    const auto run = [&]() -> bool {
        if (!Yield()) return false;
        pic_main_->set_font(MakeFont(FontDesc{"Arial Black", 30, true}));
        pic_main_->set_fore_color(Rgb(0xFF, 0, 0));
        Type("QIX - WANTED", 250, 0);
        if (!Yield()) return false;
        Pause(500);
        entry_font();
        Type(kFirst.name, 250, 100);
        SetVisible(*pic_ravo_, true);
        Sound("r.dat", "r");
        if (!Yield()) return false;
        Pause(80);
        for (int k = 0; k < 6; ++k) {
            SetVisible(*pic_ravo_, k % 2 == 1);
            Sound("r.dat", "r");
            if (!Yield()) return false;
            if (k < 5) Pause(80);
        }
        Pause(1000);
        Type(kFirst.age, 250, 130);
        Pause(500);
        Type(kFirst.duty, 250, 150);
        Pause(500);
        Type(kFirst.hobby, 250, 170);
        Pause(1000);
        entry_font();
        Type(kSecond.name, 400, 400);
        Sound("r.dat", "r");
        if (!Yield()) return false;
        Sound("r.dat", "r");
        SetVisible(*pic_pelin_, true);
        if (!Yield()) return false;
        Pause(1000);
        Type(kSecond.age, 400, 430);
        Pause(500);
        Type(kSecond.duty, 400, 450);
        Pause(500);
        Type(kSecond.hobby, 390, 470);
        Pause(500);
        for (Label* label : label1_) {
            Sound("r.dat", "r");
            SetVisible(*label, true);
            if (!Yield()) return false;
            Pause(150);
        }
        Pause(500);
        Sound("e.dat", "e");
        SetVisible(*lbl_exit_, true);
        return true;
    };
    (void)run();
    animating_ = false;
}

void CreditsWindow::ReportState(Json& out) const {
    Form::ReportState(out);
    Json& state = out;
    state.Set("animating", animating_);
    state.Set("played", played_);
    std::string typed;
    int64_t reveals = 0;
    for (const Event& e : events_) {
        if (e.what.starts_with("k ")) typed += e.what.substr(2);
        if (e.what == "r") ++reveals;
    }
    state.Set("typed", typed);
    state.Set("reveal_sounds", reveals);
    state.Set("events", static_cast<int64_t>(events_.size()));
}

}  // namespace lookup
