#include "lookup/about_window.h"

#include "app/artwork.h"
#include "controls/skin_button/flarvet_button.h"
#include "lookup/credits_window.h"
#include "lookup/program_button.h"
#include "platform/controls/form.h"
#include "platform/controls/picture_box.h"

namespace lookup {

using namespace platform;
using namespace platform::controls;

namespace {

class AboutHost : public ComponentHost {
  public:
    std::string AmbientDisplayName() const override { return "btnNoClick"; }
    FontDesc AmbientFont() const override { return FontDesc{"Arial", 9}; }
};

}  // namespace

void ShowAboutWindow() {
    FormOptions o;
    o.name = "frmAbout";
    o.caption = "About The Software";
    o.border = BorderStyle::kFixedToolWindow;
    o.position = StartUpPosition::kCenterOwner;
    o.client_width = 256;
    o.client_height = 282;
    o.min_button = false;
    Form about(o);
    AboutHost host;
    about.on_load = [&about, &host] {
        auto& picture = about.Add<PictureBox>("Picture1", Rect::FromXYWH(0, 0, 256, 282));
        picture.set_border_style(ControlBorder::kNone);
        picture.set_back_color(Rgb(0xFF, 0xF8, 0xE6));
        (void)app::ShowArtwork(picture, "about.bmp");
        picture.set_visible(true);
        auto& button = about.AddTo<skin_button::FlarvetButon>(picture.hwnd(), host, "btnNoClick",
                                                              Rect::FromXYWH(78, 238, 100, 28));
        StyleProgramButton(button, "Dont Click Me..", 0, kSkinButtonColors);
        button.on_click = [] {
            DoEvents();
            CreditsWindow credits;
            credits.ShowModal();
            DoEvents();
        };
    };
    about.Show(true);
}

}  // namespace lookup
