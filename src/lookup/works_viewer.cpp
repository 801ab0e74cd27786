#include "lookup/works_viewer.h"

#include "app/artwork.h"
#include "lookup/picture_pages.h"
#include "platform/messages.h"
#include "platform/window.h"

namespace lookup {

using namespace platform;
using namespace platform::controls;

namespace {

constexpr Color kViewerBack = Rgb(0xC0, 0xC0, 0xFF);  // light blue
constexpr Color kPictureBack = Rgb(0xFF, 0xFC, 0xF5);

}  // namespace

WorksViewer::WorksViewer() {
    FormOptions o;
    o.name = "frmSampadak";
    o.caption = "Prakasit Kriti Haru";
    o.border = BorderStyle::kFixedSingle;
    o.position = StartUpPosition::kCenterOwner;
    o.client_width = 585;
    o.client_height = 432;
    o.min_button = false;
    o.back_color = kViewerBack;
    form_ = std::make_unique<Form>(o);
    form_->on_load = [this] { Build(); };
}

WorksViewer::~WorksViewer() {
    if (form_->loaded()) form_->Unload();
}

void WorksViewer::Build() {
    pic_misc_main_ =
        &form_->Add<PictureBox>("picMiscMain", Rect::FromXYWH(0, 0, 587, kPanelHeight));
    pic_misc_main_->set_border_style(ControlBorder::kNone);
    pic_misc_main_->set_back_color(kPictureBack);
    const HWND panel = pic_misc_main_->hwnd();
    pic_misc_child_ =
        &form_->AddTo<PictureBox>(panel, "picMiscChild", Rect::FromXYWH(0, 0, 566, 1));
    pic_misc_child_->set_border_style(ControlBorder::kNone);
    pic_misc_child_->set_back_color(kPictureBack);
    pic_misc_child_->set_auto_size(true);
    p_vscroll_ = &form_->AddTo<ScrollBar>(panel, "pVscroll", Rect::FromXYWH(566, 0, 17, 423));
    pic_exit_ = &form_->AddTo<PictureBox>(panel, "picExit", Rect::FromXYWH(5, 5, 15, 15));
    pic_exit_->set_border_style(ControlBorder::kFixedSingle);
    pic_exit_->set_back_color(Rgb(0xFF, 0xFF, 0xFF));
    lbl_exit_ = &form_->AddTo<Label>(pic_exit_->hwnd(), "lblExit", Rect::FromXYWH(0, 0, 13, 13));
    lbl_exit_->set_caption("X");
    lbl_exit_->set_alignment(Alignment::kCenter);
    lbl_exit_->set_fore_color(Rgb(0x8E, 0x24, 0x1A));
    lbl_exit_->set_back_style(BackStyle::kTransparent);
    lbl_exit_->set_tooltip_text("Exit");
    pic_exit_->ZOrder(0);

    const auto follow = [this] {
        const Rect r = pic_misc_child_->bounds();
        pic_misc_child_->Move(0, -p_vscroll_->value(), r.width(), r.height());
    };
    p_vscroll_->on_change = follow;
    p_vscroll_->on_scroll = follow;
    // Any button on the picture drags the window, as its title bar would.
    pic_misc_child_->on_mouse_down = [this](MouseEventArgs&) {
        p_vscroll_->SetFocus();
        ReleaseCapture();
        SendMessage(form_->hwnd(), WM_NCLBUTTONDOWN, HTCAPTION, 0);
    };
    lbl_exit_->on_click = [this] { form_->Unload(); };
}

void WorksViewer::LoadBmp(int16_t number) {
    if (!form_->loaded()) form_->Load();
    (void)app::ShowArtwork(*pic_misc_child_, number == 1 ? "k1.dat" : "k0.dat");
    (void)p_vscroll_->set_value(0);
    SetPageScroll(*p_vscroll_, pic_misc_child_->bounds().height(), kPanelHeight, 0);
}

void WorksViewer::ShowModal() {
    form_->Show(true);
}

}  // namespace lookup
