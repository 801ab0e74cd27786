#include "lookup/picture_pages.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "app/app_paths.h"
#include "app/artwork.h"
#include "lookup/program_button.h"
#include "platform/os/sound.h"

namespace lookup {

using namespace platform;
using namespace platform::controls;

namespace {

// Page button captions in the Preeti encoding: signs and symbols, the
// alphabet's order, editorial, remarks, abbreviations, grammar.
constexpr const char* kPageCaptions[kPageCount] = {
    ";\xCD]t / lrGx", "j0f{ljGof;sf] qmd", ";DkfbsLo", "dGtAo", ":j=c=k|Too", "Jofs/0f;\"q",
};

// The panel's scroll bar: along the right edge, 17 x 407.
Rect ScrollBarRect() {
    return Rect::FromXYWH(566, 0, 17, 407);
}

// Page buttons: a pale face that lightens under the pointer, the skin's
// deep red text.
constexpr ButtonColors kPageColors = {Rgb(0xF4, 0xE6, 0xCC), Rgb(0xFB, 0xF3, 0xE3),
                                      Rgb(0x6E, 0x1E, 0x14), Rgb(0xB0, 0x30, 0x20)};
constexpr Color kPageStrip = Rgb(0xEF, 0xE2, 0xC8);
constexpr Color kPageBackground = Rgb(0xFF, 0xFC, 0xF5);

PictureBox& AddPanelPicture(Form& form, HWND parent, const std::string& name, const Rect& r,
                            Color back) {
    PictureBox& p = form.AddTo<PictureBox>(parent, name, r);
    p.set_border_style(ControlBorder::kNone);
    p.set_scale_mode(ScaleMode::kTwips);
    p.set_back_color(back);
    return p;
}

double HeightTwips(const PictureBox& p) {
    return static_cast<double>(p.bounds().height()) * kTwipsPerPixel;
}

}  // namespace

int32_t TwipsToPixels(double twips) {
    return static_cast<int32_t>(std::nearbyint(twips / kTwipsPerPixel));
}

void SetPageScroll(ScrollBar& bar, double picture_twips, double panel_twips, double offset_twips) {
    // Ties to even: nearbyint in the default rounding mode.
    const double max = std::max(0.0, std::nearbyint(picture_twips - panel_twips + offset_twips));
    // A maximum outside 16 bits is refused by the bar, which keeps its own.
    if (max <= 32767) (void)bar.set_max(static_cast<int32_t>(max));
    (void)bar.set_large_change(static_cast<int32_t>(std::nearbyint(bar.max() * 0.1)));
    (void)bar.set_small_change(static_cast<int32_t>(std::nearbyint(bar.large_change() / 4.0)));
}

void PicturePages::Build(Form& form, ComponentHost& host, HWND parent) {
    // The information pages: the button strip, the page, the bar.
    pic_misc_main_ = &AddPanelPicture(form, parent, "picMiscMain", PanelRect(), kPageBackground);
    pic_misc_child_ = &AddPanelPicture(form, pic_misc_main_->hwnd(), "picMiscChild",
                                       Rect::FromXYWH(0, TwipsToPixels(kPageStripTwips), 566, 383),
                                       kPageBackground);
    pic_misc_child_->set_auto_size(true);
    picture7_ = &AddPanelPicture(form, pic_misc_main_->hwnd(), "Picture7",
                                 Rect::FromXYWH(0, 0, 577, 29), kPageStrip);
    p_vscroll_ = &form.AddTo<ScrollBar>(pic_misc_main_->hwnd(), "pVscroll", ScrollBarRect());
    for (int32_t k = 0; k < kPageCount; ++k) {
        auto& b = form.AddTo<skin_button::FlarvetButon>(picture7_->hwnd(), host,
                                                        "btnS" + std::to_string(k),
                                                        Rect::FromXYWH(4 + k * 93, 1, 89, 27));
        // The caption's size keeps it inside the focus rectangle.
        StyleProgramButton(b, kPageCaptions[k], 11, kPageColors);
        b.on_click = [this, k] { ClickPageButton(k); };
        btn_s_[static_cast<size_t>(k)] = &b;
    }
    p_vscroll_->ZOrder(0);
    p_vscroll_->on_change = [this] { PlaceInfoPicture(); };
    p_vscroll_->on_scroll = [this] { PlaceInfoPicture(); };
    auto focus_info_bar = [this] { p_vscroll_->SetFocus(); };
    pic_misc_child_->on_click = focus_info_bar;
    pic_misc_child_->on_mouse_down = [focus_info_bar](MouseEventArgs&) { focus_info_bar(); };
    pic_misc_child_->on_key_down = [focus_info_bar](int16_t&, int16_t) { focus_info_bar(); };
    for (Control* c : {static_cast<Control*>(pic_misc_child_), static_cast<Control*>(picture7_),
                       static_cast<Control*>(p_vscroll_)})
        c->set_visible(true);

    // The further page: the picture and its bar, no strip.
    pic_all_ = &AddPanelPicture(form, parent, "picAll", PanelRect(), kPageBackground);
    pic_all_child_ = &AddPanelPicture(form, pic_all_->hwnd(), "picAllChild",
                                      Rect::FromXYWH(0, 0, 566, 411), kPageBackground);
    pic_all_child_->set_auto_size(true);
    v_scroll_all_ = &form.AddTo<ScrollBar>(pic_all_->hwnd(), "vScrollAll", ScrollBarRect());
    v_scroll_all_->on_change = [this] { PlaceFurtherPicture(); };
    v_scroll_all_->on_scroll = [this] { PlaceFurtherPicture(); };
    auto focus_further_bar = [this] { v_scroll_all_->SetFocus(); };
    pic_all_child_->on_mouse_down = [focus_further_bar](MouseEventArgs&) { focus_further_bar(); };
    pic_all_child_->on_key_down = [focus_further_bar](int16_t&, int16_t) { focus_further_bar(); };
    pic_all_child_->set_visible(true);
    v_scroll_all_->set_visible(true);
}

void PicturePages::OpenInfoPages() {
    HWND panel = pic_misc_main_->hwnd();
    DoEvents();
    if (!IsWindow(panel) || pages_shown_once_) return;
    DoEvents();
    if (!IsWindow(panel)) return;
    ClickPageButton(0);
    DoEvents();
    if (!IsWindow(panel)) return;
    pages_shown_once_ = true;
}

void PicturePages::ClickPageButton(int32_t k) {
    if (k >= 0 && k < kPageCount) {
        // Through the program's folder like every other data file, so the
        // pages show whatever folder the program was started from.
        if (app::ShowArtwork(*pic_misc_child_, "s" + std::to_string(k) + ".dat")) {
            page_loaded_ = k;
            ++page_loads_;
        }
    }
    (void)p_vscroll_->set_value(0);
    PlaceInfoPicture();
    SetPageScroll(*p_vscroll_, HeightTwips(*pic_misc_child_), HeightTwips(*pic_misc_main_),
                  kPageStripTwips);
    p_vscroll_->SetFocus();
    os::PlaySound(app::DataFilePath("click2.wav"));
}

void PicturePages::OpenFurtherPage() {
    if (app::ShowArtwork(*pic_all_child_, "op.dat")) ++further_loads_;
    SetPageScroll(*v_scroll_all_, HeightTwips(*pic_all_child_), HeightTwips(*pic_all_), 0);
    (void)v_scroll_all_->set_value(0);
    PlaceFurtherPicture();
    v_scroll_all_->SetFocus();
}

void PicturePages::PlaceInfoPicture() {
    const Rect r = pic_misc_child_->bounds();
    pic_misc_child_->Move(0, TwipsToPixels(kPageStripTwips - p_vscroll_->value()), r.width(),
                          r.height());
}

void PicturePages::PlaceFurtherPicture() {
    const Rect r = pic_all_child_->bounds();
    pic_all_child_->Move(0, TwipsToPixels(-v_scroll_all_->value()), r.width(), r.height());
}

void PicturePages::ReportState(Json& out) const {
    if (!pic_misc_main_) return;
    Json pages = Json::MakeObject();
    pages.Set("shown_once", pages_shown_once_);
    pages.Set("page", static_cast<int64_t>(page_loaded_));
    pages.Set("loads", static_cast<int64_t>(page_loads_));
    pages.Set("picture_top", static_cast<int64_t>(pic_misc_child_->bounds().top));
    pages.Set("picture_bottom", static_cast<int64_t>(pic_misc_child_->bounds().bottom));
    out.Set("info_pages", std::move(pages));
    Json further = Json::MakeObject();
    further.Set("loads", static_cast<int64_t>(further_loads_));
    further.Set("picture_top", static_cast<int64_t>(pic_all_child_->bounds().top));
    further.Set("picture_bottom", static_cast<int64_t>(pic_all_child_->bounds().bottom));
    out.Set("further_page", std::move(further));
}

}  // namespace lookup
