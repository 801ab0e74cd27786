// SPDX-License-Identifier: GPL-3.0-or-later
// The button demo window "frmButtons" at (40, 40); its client area starts at
// (43, 58). The top row is the program's own buttons: style 14 in custom
// colours (btnS0 to btnS2, btnNoClick) and in the fixed grey palette
// (btnTulen, btnMorik), with Preeti captions in "OrvPreeti". The second row
// shows other styles: the classic default button (btnDefault, shown as the
// host's default), the blue gradient, the rounded face, the soft flat face,
// the ellipse and the selection-coloured flat face. The third row shows
// pictures and effects with pictures the build draws into the data folder:
// a picture that changes under the pointer (btnBook), a raised caption
// over its picture (btnRaised), the selection face's lifting picture with a
// sunken caption (btnLift), a check box (btnCheck), a disabled button with
// its engraved picture (btnOff) and a see-through button with a dropped
// shadow over stripes the form paints (btnSee). A label under them names the
// last button clicked, and the form reports the buttons' last events. The
// first button starts with the focus.
#include "demo_buttons.h"

#include <memory>
#include <string>
#include <vector>

#include "controls/skin_button/flarvet_button.h"
#include "platform/controls/form.h"
#include "platform/controls/label.h"
#include "platform/os/paths.h"
#include "platform/preeti/preeti.h"

namespace harness {

using namespace platform;
using namespace platform::controls;
using skin_button::FlarvetButon;

namespace {

// One host per button: the default-button flag is the host's to say.
class DemoHost : public ComponentHost {
  public:
    DemoHost(std::string name, bool is_default) : name_(std::move(name)), default_(is_default) {}
    std::string AmbientDisplayName() const override { return name_; }
    FontDesc AmbientFont() const override { return FontDesc{"Arial", 9}; }
    bool AmbientDisplayAsDefault() const override { return default_; }

  private:
    std::string name_;
    bool default_;
};

struct DemoButton {
    const char* name;
    const char* caption;  // UTF-8; Devanagari becomes Preeti bytes
    int32_t type;
    int32_t scheme;
    bool is_default;
};

// The program's buttons: page buttons and the about window's button in
// custom colours, the two editor buttons in the grey palette.
constexpr DemoButton kProgramRow[] = {
    {"btnS0", "शब्दकोश", 14, 2, false},      {"btnS1", "जानकारी", 14, 2, false},
    {"btnS2", "हाम्रो बारेमा", 14, 2, false}, {"btnNoClick", "ठीक छ", 14, 2, true},
    {"btnTulen", "तुलेन", 14, 3, false},      {"btnMorik", "मोरिक", 14, 3, false},
};
constexpr DemoButton kOtherRow[] = {
    {"btnDefault", "&Default", 2, 1, true},   {"btnBlue", "&Blue", 3, 1, false},
    {"btnRounded", "&Rounded", 4, 3, false},  {"btnSoft", "&Soft", 5, 2, false},
    {"btnEllipse", "&Ellipse", 13, 2, false}, {"btnSelect", "S&elect", 9, 1, false},
};

// The program's custom colours: a pale blue face that lightens under the
// pointer, dark blue text that turns red.
constexpr Color kBack = Rgb(176, 204, 232);
constexpr Color kBackOver = Rgb(204, 224, 244);
constexpr Color kFore = Rgb(0, 40, 96);
constexpr Color kForeOver = Rgb(150, 0, 0);

constexpr int32_t kButtonW = 100;
constexpr int32_t kButtonH = 30;
constexpr int32_t kGap = 10;

constexpr int32_t kPictureRowTop = 152;
constexpr int32_t kPictureRowH = 44;

// The form reports the buttons' latest events, oldest first.
class DemoForm : public Form {
  public:
    using Form::Form;
    static constexpr size_t kKept = 16;
    void Log(std::string event) {
        events_.push_back(std::move(event));
        if (events_.size() > kKept) events_.erase(events_.begin());
    }
    void ReportState(Json& out) const override {
        Form::ReportState(out);
        Json::Array events;
        for (const std::string& e : events_) events.emplace_back(e);
        out.Set("events", Json(std::move(events)));
    }

  private:
    std::vector<std::string> events_;
};

std::unique_ptr<DemoForm> g_form;
std::vector<std::unique_ptr<DemoHost>> g_hosts;

void RecordEvents(FlarvetButon& b, const std::string& name) {
    DemoForm* form = g_form.get();
    auto mouse = [form, name](const char* what) {
        return [form, name, what](MouseEventArgs& a) {
            form->Log(name + " " + what + " " + std::to_string(a.button));
        };
    };
    b.on_mouse_down = mouse("down");
    b.on_mouse_up = mouse("up");
    b.on_mouse_over = [form, name] { form->Log(name + " over"); };
    b.on_mouse_out = [form, name] { form->Log(name + " out"); };
}

void AddRow(Form& form, Label& clicked, const DemoButton* row, size_t count, int32_t top) {
    for (size_t i = 0; i < count; ++i) {
        const DemoButton& d = row[i];
        const bool nepali = preeti::HasDevanagari(d.caption);
        g_hosts.push_back(std::make_unique<DemoHost>(d.name, d.is_default));
        const int32_t left = kGap + static_cast<int32_t>(i) * (kButtonW + kGap);
        auto& b = form.Add<FlarvetButon>(*g_hosts.back(), d.name,
                                         Rect::FromXYWH(left, top, kButtonW, kButtonH));
        (void)b.InitProperties();
        b.DisableRefresh();
        if (nepali) (void)b.SetFont(MakeFont(FontDesc{"OrvPreeti", 12}));
        (void)b.SetCaption(nepali ? preeti::FromUnicode(d.caption).value_or(d.caption)
                                  : std::string(d.caption));
        (void)b.SetButtonType(d.type);
        b.SetColorScheme(d.scheme);
        b.SetBackColor(kBack);
        b.SetBackOver(kBackOver);
        b.SetForeColor(kFore);
        b.SetForeOver(kForeOver);
        b.SetHandPointer(false);
        (void)b.Refresh();
        std::string name = d.name;
        RecordEvents(b, name);
        b.on_click = [&clicked, name] {
            clicked.set_caption("Clicked: " + name);
            g_form->Log(name + " click");
        };
    }
}

PictureRef LoadDemoPicture(const char* file) {
    auto folder = os::DataFolderPath();
    if (!folder) return nullptr;
    auto picture = LoadPicture(folder.value() + file);
    return picture ? picture.value() : nullptr;
}

struct PictureButton {
    const char* name;
    const char* caption;
    int32_t type;
    int32_t scheme;
    const char* picture;
    const char* picture_over;  // or null
    int32_t position;
    int32_t effect;
};

constexpr PictureButton kPictureRow[] = {
    {"btnBook", "B&ook", 2, 1, "btnbook.bmp", "btnbook_over.bmp", skin_button::kPictureLeft, 0},
    {"btnRaised", "&Raised", 6, 3, "btnstar.bmp", nullptr, skin_button::kPictureAbove,
     skin_button::kEffectRaised},
    {"btnLift", "&Lift", 9, 1, "btnbook.bmp", nullptr, skin_button::kPictureLeft,
     skin_button::kEffectSunken},
    {"btnCheck", "&Check", 12, 2, "btnstar.bmp", nullptr, skin_button::kPictureLeft, 0},
    {"btnOff", "Off", 2, 1, "btnbook.bmp", nullptr, skin_button::kPictureLeft, 0},
    {"btnSee", "&See", 11, 1, "btnstar.bmp", nullptr, skin_button::kPictureRight,
     skin_button::kEffectShadow},
};

Rect StripesBehind(int32_t column) {
    const int32_t left = kGap + column * (kButtonW + kGap);
    return Rect::FromXYWH(left - 6, kPictureRowTop - 4, kButtonW + 12, kPictureRowH + 8);
}

// Diagonal stripes for the see-through button to show.
void PaintStripes(DC& dc, const Rect& r) {
    dc.FillRect(r, Rgb(236, 226, 200));
    DC clipped = dc;
    clipped.IntersectClip(r);
    clipped.SetPen({PenStyle::kSolid, 3, Rgb(214, 170, 110)});
    for (int32_t x = r.left - r.height(); x < r.right; x += 10) {
        clipped.MoveTo(x, r.bottom);
        clipped.LineTo(x + r.height(), r.top);
    }
}

void AddPictureRow(Form& form, Label& clicked) {
    for (size_t i = 0; i < std::size(kPictureRow); ++i) {
        const PictureButton& d = kPictureRow[i];
        g_hosts.push_back(std::make_unique<DemoHost>(d.name, false));
        const int32_t left = kGap + static_cast<int32_t>(i) * (kButtonW + kGap);
        auto& b = form.Add<FlarvetButon>(
            *g_hosts.back(), d.name, Rect::FromXYWH(left, kPictureRowTop, kButtonW, kPictureRowH));
        (void)b.InitProperties();
        b.DisableRefresh();
        (void)b.SetCaption(d.caption);
        (void)b.SetButtonType(d.type);
        b.SetColorScheme(d.scheme);
        b.SetBackColor(kBack);
        b.SetBackOver(kBackOver);
        b.SetForeColor(kFore);
        b.SetForeOver(kForeOver);
        (void)b.SetPicturePosition(d.position);
        (void)b.SetPictureNormal(LoadDemoPicture(d.picture));
        if (d.picture_over != nullptr) b.SetPictureOver(LoadDemoPicture(d.picture_over));
        b.SetSpecialEffect(d.effect);
        b.SetHandPointer(true);
        (void)b.Refresh();
        std::string name = d.name;
        RecordEvents(b, name);
        b.on_click = [&clicked, name] {
            clicked.set_caption("Clicked: " + name);
            g_form->Log(name + " click");
        };
    }
    if (auto* check = dynamic_cast<FlarvetButon*>(form.FindControl("btnCheck")))
        check->SetCheckBoxBehaviour(true);
    if (auto* off = dynamic_cast<FlarvetButon*>(form.FindControl("btnOff"))) off->SetEnabled(false);
}

void Build(Form& form) {
    auto& title = form.Add<Label>("lblProgram", Rect::FromXYWH(kGap, 8, 400, 16),
                                  "Style 14, custom colours and grey palette:");
    (void)title;
    auto& clicked = form.Add<Label>("lblClicked", Rect::FromXYWH(kGap, 206, 300, 16), "Clicked:");
    AddRow(form, clicked, kProgramRow, std::size(kProgramRow), 28);
    form.Add<Label>("lblOthers", Rect::FromXYWH(kGap, 70, 400, 16), "Styles 2, 3, 4, 5, 13 and 9:");
    AddRow(form, clicked, kOtherRow, std::size(kOtherRow), 90);
    form.Add<Label>("lblPictures", Rect::FromXYWH(kGap, 130, 640, 16),
                    "Pictures and effects, a check box, a disabled and a see-through button:");
    AddPictureRow(form, clicked);
    if (Control* first = form.FindControl("btnS0")) first->SetFocus();
}

}  // namespace

HWND CreateDemoButtonsWindow() {
    FormOptions o;
    o.name = "frmButtons";
    o.caption = "Owner-drawn buttons";
    o.border = BorderStyle::kFixedToolWindow;
    o.position = StartUpPosition::kManual;
    o.left = 40;
    o.top = 40;
    o.client_width = kGap + 6 * (kButtonW + kGap);
    o.client_height = 230;
    g_form = std::make_unique<DemoForm>(o);
    g_form->on_load = [] { Build(*g_form); };
    g_form->on_paint = [](DC& dc) { PaintStripes(dc, StripesBehind(5)); };
    g_form->Show();
    // The see-through button takes its background once the form is on
    // screen to paint it.
    if (auto* see = dynamic_cast<FlarvetButon*>(g_form->FindControl("btnSee")))
        (void)see->Refresh();
    return g_form->hwnd();
}

}  // namespace harness
