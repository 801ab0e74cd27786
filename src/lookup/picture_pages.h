// The two picture panels of the main window: the information pages (six
// tall pictures chosen with the page buttons on a strip across the top) and
// the further picture page. Each shows one picture that a vertical scroll
// bar moves up and down inside the panel.
//
// Lengths of the scroll arithmetic are in twips, fifteen to a program
// pixel, as the main window measures them; pictures and controls are placed
// in program pixels.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "controls/skin_button/flarvet_button.h"
#include "platform/controls/form.h"
#include "platform/controls/picture_box.h"
#include "platform/controls/scroll_bar.h"
#include "platform/json.h"
#include "platform/property_bag.h"

namespace lookup {

inline constexpr int32_t kTwipsPerPixel = 15;
// The page buttons' strip: the page picture starts this far below the
// panel's top edge.
inline constexpr int32_t kPageStripTwips = 420;
inline constexpr int32_t kPageCount = 6;

// Sets a page's scroll bar for a picture `picture_twips` tall in a panel
// `panel_twips` tall whose picture starts `offset_twips` down: the maximum
// is the part of the picture that does not fit, rounded to nearest with
// ties to even; the large change a tenth of the bar's maximum and the small
// change a quarter of the bar's large change, rounded the same way. A
// maximum outside 16 bits is not applied (the previous one stays and the
// changes follow it); a change of 0 is refused and the previous one stays.
// A picture that fits gives a maximum of 0, so it cannot be pushed down.
void SetPageScroll(platform::controls::ScrollBar& bar, double picture_twips, double panel_twips,
                   double offset_twips);

// Twips to program pixels, rounded to nearest with ties to even.
int32_t TwipsToPixels(double twips);

class PicturePages {
  public:
    // The panels' place on the main window, and their size (587 x 411).
    static platform::Rect PanelRect() { return platform::Rect::FromXYWH(6, 82, 587, 411); }

    // Builds picMiscMain and picAll in `parent` (the skin picture) of
    // `form`, behind whatever is there; the page buttons are hosted by
    // `host`.
    void Build(platform::controls::Form& form, platform::ComponentHost& host,
               platform::HWND parent);

    // Tab 1: the first opening loads page 0; later ones keep the page and
    // its scroll position.
    void OpenInfoPages();
    // Page button `k`: loads page k, back to its top, focus on the bar,
    // click2.wav.
    void ClickPageButton(int32_t k);
    // Tab 2: loads the further page afresh and puts it at its top.
    void OpenFurtherPage();

    platform::controls::PictureBox* info_panel() const { return pic_misc_main_; }
    platform::controls::PictureBox* further_panel() const { return pic_all_; }
    platform::controls::ScrollBar* info_scroll() const { return p_vscroll_; }
    platform::controls::ScrollBar* further_scroll() const { return v_scroll_all_; }

    // The pages' state for the main window's report: which page is loaded,
    // whether the first opening happened, the pictures' tops.
    void ReportState(platform::Json& out) const;

  private:
    void PlaceInfoPicture();
    void PlaceFurtherPicture();

    platform::controls::PictureBox* pic_misc_main_ = nullptr;
    platform::controls::PictureBox* picture7_ = nullptr;
    platform::controls::PictureBox* pic_misc_child_ = nullptr;
    platform::controls::ScrollBar* p_vscroll_ = nullptr;
    std::array<skin_button::FlarvetButon*, kPageCount> btn_s_{};
    platform::controls::PictureBox* pic_all_ = nullptr;
    platform::controls::PictureBox* pic_all_child_ = nullptr;
    platform::controls::ScrollBar* v_scroll_all_ = nullptr;

    bool pages_shown_once_ = false;
    int32_t page_loaded_ = -1;  // the page file last loaded, -1 before the first
    int32_t page_loads_ = 0;    // page loads, so a reload can be told from no load
    int32_t further_loads_ = 0;
};

}  // namespace lookup
