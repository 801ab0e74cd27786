// The main window's chrome: the skin, its outline, the hot spots on the
// title strip, the tab buttons with the panels they bring to the front, and
// the editors panel.
#include <string>

#include "app/app_paths.h"
#include "app/artwork.h"
#include "lookup/about_window.h"
#include "lookup/main_window.h"
#include "lookup/program_button.h"
#include "lookup/skin_layout.h"
#include "lookup/window_shape.h"
#include "platform/os/sound.h"
#include "platform/preeti/preeti.h"

namespace lookup {

using namespace platform;
using namespace platform::controls;

namespace {

Rect ToRect(const skin::Box& b) {
    return Rect::FromXYWH(b.x, b.y, b.w, b.h);
}

// Tab captions in the Preeti encoding: the product name, signs and symbols,
// other publications, editors.
constexpr const char* kTabCaptions[skin::kTabCount] = {
    "sf]e]lng",  // कोभेलिन
    ";\xCD]t / lrGx",
    "cGo k|sfzgx\xBF",
    ";Dkfbs",
};

constexpr Color kTabMark = Rgb(0xC0, 0x39, 0x2B);

constexpr Color kEditorsBack = Rgb(0xFF, 0xFC, 0xF5);
constexpr Color kEditorsInk = Rgb(0x3A, 0x2A, 0x22);
constexpr Color kEditorsSoft = Rgb(0x8A, 0x5A, 0x3C);

std::string Nepali(std::string_view utf8) {
    return preeti::FromUnicode(utf8).value_or(std::string());
}

FontRef PreetiFont(float points, bool bold = false) {
    FontDesc f;
    f.name = "OrvPreeti";
    f.size = points;
    f.bold = bold;
    return MakeFont(f);
}

// One editor's card on the editors panel: what they did, who, and a line
// about the work.
struct EditorCard {
    const char* emblem;  // picture file in the data folder
    const char* role;    // UTF-8
    const char* name;
    const char* line;
};

constexpr EditorCard kEditors[2] = {
    {"e0.bmp", "सम्पादन र शब्दसङ्कलन", "कोभेलिन परियोजना", "यस कार्यक्रमसँगै आउने शब्दकोश"},
    {"e1.bmp", "कार्यक्रम र रूपरेखा", "कोभेलिन विकास टोली", "नेपाली शब्द खोज्ने र पढ्ने साधन"},
};

}  // namespace

void MainWindow::BuildChrome() {
    pic_main_ = &Add<PictureBox>("picMain", Rect::FromXYWH(0, 0, skin::kWidth, skin::kHeight));
    pic_main_->set_border_style(ControlBorder::kNone);
    pic_main_->set_back_color(Rgb(0xF7, 0xEE, 0xDC));
    (void)app::ShowArtwork(*pic_main_, "skin.bmp");
    pic_main_->set_visible(true);
    const HWND skin_hwnd = pic_main_->hwnd();

    // Hot spots: transparent labels without text over the skin's icons.
    auto hot_spot = [&](const char* name, const skin::Box& box, const char* tip) -> Label& {
        Label& l = AddTo<Label>(skin_hwnd, name, ToRect(box));
        l.set_back_style(BackStyle::kTransparent);
        if (tip) l.set_tooltip_text(tip);
        l.set_visible(true);
        return l;
    };
    lbl_mover_ = &hot_spot("lblMover", skin::kMover, nullptr);
    lbl_help_ = &hot_spot("lblHelp", skin::kHelp, "Help");
    lbl_minimize_ = &hot_spot("lblMinimize", skin::kMinimize, "Minimize");
    lbl_exit_ = &hot_spot("lblExit", skin::kExit, "Close");
    lbl_mover_->on_mouse_down = [this](MouseEventArgs&) { OnMoverDown(); };
    lbl_help_->on_click = [this] { OnHelp(); };
    lbl_minimize_->on_click = [this] { OnMinimize(); };
    lbl_exit_->on_click = [this] { OnExit(); };
    for (Label* l : {lbl_help_, lbl_minimize_, lbl_exit_})
        SetWindowCursor(l->hwnd(), Cursor{CursorShape::kHand, {}, {}});

    for (int32_t k = 0; k < kTabCount; ++k) {
        auto& b =
            AddTo<skin_button::FlarvetButon>(skin_hwnd, static_cast<ComponentHost&>(*this),
                                             "btnOver" + std::to_string(k), ToRect(skin::Tab(k)));
        StyleProgramButton(b, kTabCaptions[k], 13, kSkinButtonColors);
        b.on_click = [this, k] { OnTabClick(k); };
        btn_over_[static_cast<size_t>(k)] = &b;
    }
    const skin::Box first = skin::Tab(0);
    lbl_tab_mark_ = &AddTo<Label>(
        skin_hwnd, "lblTabMark",
        Rect::FromXYWH(first.x + 6, skin::kTabMarkTop, first.w - 12, skin::kTabMarkHeight));
    lbl_tab_mark_->set_back_color(kTabMark);
    lbl_tab_mark_->set_visible(true);

    pages_.Build(*this, static_cast<ComponentHost&>(*this), skin_hwnd);
    BuildEditorsPanel();
}

void MainWindow::BuildEditorsPanel() {
    pic_sampadak_ = &AddTo<PictureBox>(pic_main_->hwnd(), "picSampadak", ToRect(skin::kPanel));
    pic_sampadak_->set_border_style(ControlBorder::kNone);
    pic_sampadak_->set_back_color(kEditorsBack);
    const HWND panel = pic_sampadak_->hwnd();
    constexpr int32_t kCardWidth = 260;
    for (int32_t i = 0; i < 2; ++i) {
        const EditorCard& card = kEditors[i];
        const int32_t left = i == 0 ? 26 : 301;
        auto& emblem =
            AddTo<PictureBox>(panel, "picEditor" + std::to_string(i),
                              Rect::FromXYWH(left + (kCardWidth - 112) / 2, 34, 112, 112));
        emblem.set_border_style(ControlBorder::kNone);
        emblem.set_back_color(kEditorsBack);
        (void)app::ShowArtwork(emblem, card.emblem);
        emblem.set_visible(true);
        auto line = [&](const char* suffix, const char* text, int32_t top, int32_t height,
                        float points, bool bold, Color ink) {
            Label& l = AddTo<Label>(panel, std::string("lbl") + suffix + std::to_string(i),
                                    Rect::FromXYWH(left, top, kCardWidth, height), Nepali(text));
            l.set_font(PreetiFont(points, bold));
            l.set_alignment(Alignment::kCenter);
            l.set_back_color(kEditorsBack);
            l.set_fore_color(ink);
            l.set_visible(true);
        };
        line("Role", card.role, 166, 24, 13, false, kEditorsSoft);
        line("Name", card.name, 194, 32, 19, true, kEditorsInk);
        line("About", card.line, 232, 24, 13, false, kEditorsSoft);
        auto& works = AddTo<skin_button::FlarvetButon>(
            panel, static_cast<ComponentHost&>(*this), i == 0 ? "btnTulen" : "btnMorik",
            Rect::FromXYWH(left + (kCardWidth - 130) / 2, 290, 130, 32));
        // The works buttons are grey, apart from the skin's colours.
        StyleProgramButton(works, "k|sflzt s[lt", 13, std::nullopt);
        (i == 0 ? btn_tulen_ : btn_morik_) = &works;
    }
    // The published works viewer opens through two hidden push buttons; each
    // asks for one editor's picture.
    command1_ = &AddTo<CommandButton>(panel, "Command1", Rect::FromXYWH(0, 0, 75, 23));
    command2_ = &AddTo<CommandButton>(panel, "Command2", Rect::FromXYWH(80, 0, 75, 23));
    command1_->set_visible(false);
    command2_->set_visible(false);
    command1_->on_click = [this] { OpenWorks(1); };
    command2_->on_click = [this] { OpenWorks(0); };
    btn_tulen_->on_click = [this] { command1_->set_value(true); };
    btn_morik_->on_click = [this] { command2_->set_value(true); };
}

void MainWindow::ShapeWindow() {
    const std::optional<Region> outline = TransparentForm(app::DataFilePath("mask.dat"));
    shaped_ = outline.has_value();
    (void)SetWindowRgn(hwnd(), outline, true);
}

void MainWindow::OnTabClick(int32_t k) {
    PictureBox* front = nullptr;
    switch (k) {
        case 0:
            front = pic_dict_;
            pic_dict_->ZOrder(0);
            // Right after an Enter whose mark no entry change has seen, the
            // mark goes back on the row that Enter marked.
            if (!highlight_shown_) SetRowHighlight(highlight_row_, true);
            cmb_search_->SetFocus();
            break;
        case 1:
            front = pages_.info_panel();
            pages_.info_scroll()->SetFocus();
            front->ZOrder(0);
            pages_.OpenInfoPages();
            break;
        case 2:
            front = pages_.further_panel();
            front->ZOrder(0);
            pages_.OpenFurtherPage();
            break;
        case 3:
            front = pic_sampadak_;
            pic_sampadak_->ZOrder(0);
            break;
        default:
            break;
    }
    if (front && IsWindow(hwnd())) {
        front_tab_ = k;
        const skin::Box tab = skin::Tab(k);
        lbl_tab_mark_->Move(tab.x + 6, skin::kTabMarkTop, tab.w - 12, skin::kTabMarkHeight);
    }
    os::PlaySound(app::DataFilePath("click.wav"));
}

void MainWindow::OnMoverDown() {
    ReleaseCapture();
    SendMessage(hwnd(), WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

void MainWindow::OpenWorks(int16_t number) {
    ++works_opened_;
    works_viewer_.LoadBmp(number);
    works_viewer_.ShowModal();
}

void MainWindow::OnHelp() {
    os::PlaySound(app::DataFilePath("huh.wav"));
    ShowAboutWindow();
}

void MainWindow::OnMinimize() {
    set_window_state(WindowState::kMinimized);
}

void MainWindow::OnExit() {
    // Unloading saves the history and asks the message loop to end.
    (void)Unload(kFormCode);
}

}  // namespace lookup
