// RenderDocument: the walk over the element table, block-level and font
// tags, lists, rules, images, frames and the tiled background.
#include "controls/html_label/html_layout.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "controls/html_label/html_label.h"
#include "platform/text.h"

namespace html_label {

using detail::Narrow;
using detail::Round;

namespace {

// Drawing coordinates: far enough outside any picture to draw nothing, and
// never outside what the DC's arithmetic takes.
int32_t DrawCoord(int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, -(int64_t{1} << 24), int64_t{1} << 24));
}

constexpr platform::Color kRuleColor = platform::Rgb(128, 128, 0);
constexpr platform::Color kWhite = 0xFFFFFF;
// The list bullet: character 149 of the Western code page.
constexpr std::string_view kBullet = "\x95  ";
// The face list markers fall back to when the text's face is a Preeti face,
// where character 149 is a Devanagari sign rather than a bullet.
constexpr std::string_view kMarkerFace = "Arial";
// Placeholder size of an image without a picture.
constexpr int32_t kMissingImageSide = 24;

}  // namespace

bool HTMLLayout::IsInlineTag(TagID id) {
    return (id >= tagBold && id <= tagUnderlineEnd) || (id >= tagFont && id <= tagAEnd) ||
           (id >= tagBig && id <= tagSmallEnd) || (id >= tagSub && id <= tagSupEnd);
}

// --- the surface ----------------------------------------------------------------

void HTMLLayout::SyncFont() {
    dc_->SetFont(font_);
}

void HTMLLayout::SetFontSize(float points) {
    // A size the font cannot take leaves the previous one.
    if (!(points > 0) || !std::isfinite(points)) return;
    font_.size = points;
    SyncFont();
}

void HTMLLayout::EndSizedText() {
    SetFontSize(s_.CurrentFontSize);
    font_.bold = false;
    SyncFont();
    Remeasure();
    s_.IndentUnit = MeasureIndentUnit();
}

void HTMLLayout::SetFontFace(std::string_view face) {
    // A face that does not exist leaves the previous one.
    if (face.empty() || !platform::TextEngine::Instance().FaceExists(face)) return;
    font_.name.assign(face);
    SyncFont();
}

void HTMLLayout::ResetFont() {
    SetFontFace(label_->DefaultFontName());
    SetFontSize(label_->DefaultFontSize());
    fore_ = label_->TextColor();
    font_.bold = font_.italic = font_.underline = false;
    SyncFont();
}

double HTMLLayout::TextWidth(std::string_view text) {
    return dc_->GetTextExtent(text).width;
}

double HTMLLayout::TextHeight(std::string_view text) {
    return dc_->GetTextExtent(text).height;
}

void HTMLLayout::Print(std::string_view text) {
    if (text.empty()) return;
    if (draw_) {
        dc_->SetTextColor(fore_);
        dc_->TextOut(static_cast<float>(current_x_), static_cast<float>(current_y_), text);
    }
    current_x_ += TextWidth(text);
}

void HTMLLayout::Line(int64_t x1, int64_t y1, int64_t x2, int64_t y2, platform::Color color) {
    if (!draw_) return;
    // Rules and frames are level or upright: the pixels a one-pixel pen
    // would set (its end point left out), filled as a rectangle.
    if (y1 == y2 || x1 == x2) {
        const bool level = y1 == y2;
        const int64_t from = level ? x1 : y1;
        const int64_t to = level ? x2 : y2;
        if (from == to) return;
        const int64_t lo = from < to ? from : to + 1;
        const int64_t hi = from < to ? to : from + 1;
        const platform::Rect r =
            level ? platform::Rect{DrawCoord(lo), DrawCoord(y1), DrawCoord(hi), DrawCoord(y1 + 1)}
                  : platform::Rect{DrawCoord(x1), DrawCoord(lo), DrawCoord(x1 + 1), DrawCoord(hi)};
        dc_->FillRect(r, color);
        return;
    }
    dc_->SetPen({platform::PenStyle::kSolid, 1, color});
    dc_->MoveTo(DrawCoord(x1), DrawCoord(y1));
    dc_->LineTo(DrawCoord(x2), DrawCoord(y2));
}

int64_t HTMLLayout::MeasureLineHeight() {
    return Round(TextHeight("X") + label_->DefaultSpacing());
}

int64_t HTMLLayout::MeasureIndentUnit() {
    return Round(2 * TextWidth("W"));
}

std::string_view HTMLLayout::TextOf(const HTMLElement& e) const {
    return label_->View(e.Text);
}

// --- the pass ---------------------------------------------------------------------

void HTMLLayout::RenderDocument(HTMLLabel& label, bool final_pass, const RenderTarget& target) {
    if (target.dc == nullptr) return;
    label_ = &label;
    elements_ = &label.elements_;
    dc_ = target.dc;
    final_pass_ = final_pass;
    draw_ = final_pass;
    surface_width_ = std::max(0, target.width);
    surface_height_ = std::max(0, target.height);
    if (pictures_generation_ != label.DocumentGeneration()) {
        pictures_.clear();
        pictures_generation_ = label.DocumentGeneration();
    }

    // 1. The background.
    back_ = label.DocBackColor();
    if (draw_) dc_->FillRect({0, 0, surface_width_, surface_height_}, back_);
    dc_->SetBkMode(platform::BkMode::kTransparent);

    // 2. The content size starts as the viewport.
    if (!final_pass) label.content_width_ = target.viewport_width;
    label.content_height_ = target.viewport_height;

    // 3-4. Font, measures, margins.
    s_ = LayoutState{};
    ResetFont();
    s_.CurrentFontSize = label.DefaultFontSize();
    s_.LineHeight = MeasureLineHeight();
    label.line_step_ = Narrow(std::max<int64_t>(1, s_.LineHeight));
    s_.IndentUnit = MeasureIndentUnit();
    s_.LeftMargin = label.DefaultPadding();
    s_.RightLimit = surface_width_;
    s_.PenX = s_.LeftMargin;
    s_.PenY = label.DefaultPadding();
    current_x_ = 0;
    current_y_ = 0;

    // 5. The background picture.
    if (!label.BackgroundImage().empty()) TileBackground();

    // 6. The walk starts at the first BODY after element 0.
    const auto count = static_cast<int32_t>(elements_->size());
    int32_t i = 1;
    while (i < count && E(i).TagID != tagBody) ++i;
    if (i >= count) return;
    FindBlockAncestors();

    while (i < count) {
        if (!E(i).IsTag && !s_.SkipText) ClearTable();
        HTMLElement& e = E(i);
        e.Top = Narrow(s_.PenY);
        e.Indent = 0;
        e.Left = Narrow(s_.PenX);
        if (e.TagID != tagTD) e.AlignCenter = e.AlignCenter || s_.CenterOn;

        if (!e.IsTag) {
            if (s_.SkipText) {
                ++i;
            } else {
                e.Indent = Narrow(s_.RunIndent);
                if (s_.InTable && s_.TableDepth > 0) {
                    const int64_t half = s_.TableStack[s_.TableDepth - 1].CellSpacing / 2;
                    i = LayoutTextRun(i, s_.LeftMargin + half, half);
                } else {
                    i = LayoutTextRun(i, s_.LeftMargin, label.DefaultSpacing());
                }
                s_.ContentLineY = s_.PenY;
            }
            UpdateContentHeight();
            continue;
        }

        const int32_t last = ApplyTag(i);
        if (E(i).TagID != tagCommentOpen) {
            E(i).Bottom = Narrow(s_.PenY + s_.LineHeight + label.DefaultSpacing());
            E(i).Right = Narrow(s_.LinkEndX);
        }
        i = last + 1;
        UpdateContentHeight();
    }
    // Tables the document leaves open end with it, so that their heights
    // are measured and their frames drawn.
    while (s_.TableDepth > 0) {
        CloseTable();
        UpdateContentHeight();
    }
}

void HTMLLayout::UpdateContentHeight() {
    if (s_.PenY > int64_t{label_->content_height_} - 10) {
        label_->content_height_ = Narrow(s_.PenY + s_.LineHeight);
    }
}

void HTMLLayout::LineBreak() {
    s_.PenX = s_.LeftMargin + s_.BlockIndent;
    s_.PenY += s_.LineHeight;
    Remeasure();
}

void HTMLLayout::FindBlockAncestors() {
    const size_t count = elements_->size();
    div_ancestor_.assign(count, -1);
    td_ancestor_.assign(count, -1);
    center_ancestor_.assign(count, -1);
    subtree_end_.resize(count);
    for (size_t k = 0; k < count; ++k) subtree_end_[k] = static_cast<int32_t>(k);
    // Children stand after their parents, so walking backwards hands each
    // element's end to its parent after all of its own descendants did.
    for (size_t k = count; k-- > 1;) {
        const int32_t parent = (*elements_)[k].Parent;
        if (parent <= 0 || static_cast<size_t>(parent) >= k) continue;
        int32_t& end = subtree_end_[static_cast<size_t>(parent)];
        end = std::max(end, subtree_end_[k]);
    }
    // Parents stand before their children, so one forward pass sees every
    // parent's answer before its children need it.
    for (size_t k = 1; k < count; ++k) {
        const int32_t parent = (*elements_)[k].Parent;
        if (parent <= 0 || static_cast<size_t>(parent) >= k) continue;
        const auto p = static_cast<size_t>(parent);
        const TagID tag = (*elements_)[p].TagID;
        div_ancestor_[k] = tag == tagDiv ? parent : div_ancestor_[p];
        td_ancestor_[k] = tag == tagTD ? parent : td_ancestor_[p];
        center_ancestor_[k] = tag == tagCenter ? parent : center_ancestor_[p];
    }
}

int32_t HTMLLayout::ApplyTag(int32_t i) {
    HTMLElement& e = E(i);
    const int64_t padding = label_->DefaultPadding();
    switch (e.TagID) {
        case tagBold:
            font_.bold = true;
            SyncFont();
            break;
        case tagBoldEnd:
            font_.bold = false;
            SyncFont();
            break;
        case tagItalic:
            font_.italic = true;
            SyncFont();
            break;
        case tagItalicEnd:
            font_.italic = false;
            SyncFont();
            break;
        case tagUnderline:
            font_.underline = true;
            SyncFont();
            break;
        case tagUnderlineEnd:
            font_.underline = false;
            SyncFont();
            break;
        case tagP:
        case tagDiv:
            s_.PenX = s_.LeftMargin + s_.BlockIndent;
            s_.PenY += s_.LineHeight;
            s_.RunIndent = s_.BlockIndent;
            e.Indent = Narrow(s_.BlockIndent);
            Remeasure();
            s_.AlignRightOn = e.AlignRight;
            s_.CenterOn = e.AlignCenter;
            if (s_.RightLimit == surface_width_) s_.RightLimit = surface_width_ - padding;
            break;
        case tagPEnd:
        case tagDivEnd:
            ApplyEndOfBlock(i);
            break;
        case tagBR:
            LineBreak();
            s_.RunIndent = s_.PenX - s_.LeftMargin;
            e.Indent = Narrow(s_.RunIndent);
            s_.JustBroke = true;
            break;
        case tagHR:
            s_.PenX = s_.LeftMargin;
            e.Top = Narrow(s_.PenY + 5);
            Line(s_.LeftMargin, s_.PenY + 5, s_.RightLimit - padding, s_.PenY + 5, kRuleColor);
            s_.PenY += label_->DefaultSpacing() + 6;
            break;
        case tagUL:
            OpenList(i, false);
            break;
        case tagOL:
            OpenList(i, true);
            break;
        case tagULEnd:
        case tagOLEnd:
            CloseList(i);
            break;
        case tagLI:
            ListItem(i);
            break;
        case tagBlockquote:
            s_.PenY += s_.LineHeight;
            if (!s_.JustBroke) {
                s_.PenY += s_.LineHeight;
                Remeasure();
            }
            s_.BlockIndent += s_.IndentUnit;
            s_.PenX = s_.LeftMargin + s_.BlockIndent;
            s_.RunIndent = s_.BlockIndent;
            e.Indent = Narrow(s_.BlockIndent);
            break;
        case tagBlockquoteEnd:
            s_.PenY += s_.LineHeight;
            Remeasure();
            s_.PenX -= s_.IndentUnit;
            s_.BlockIndent -= s_.IndentUnit;
            s_.RunIndent = s_.BlockIndent;
            e.Indent = Narrow(s_.BlockIndent);
            break;
        case tagH:
            s_.PenX = s_.LeftMargin + s_.BlockIndent;
            SetFontSize(e.FontSize);
            font_.bold = true;
            SyncFont();
            Remeasure();
            s_.IndentUnit = MeasureIndentUnit();
            // Only a heading below something printed gets a blank line.
            if (!s_.InTable && current_y_ > static_cast<double>(padding)) {
                s_.PenY += s_.LineHeight;
                Remeasure();
            }
            break;
        case tagHEnd:
        case tagBigEnd:
        case tagSmallEnd:
            LineBreak();
            EndSizedText();
            break;
        case tagBig:
        case tagSmall:
            SetFontSize(e.FontSize);
            break;
        case tagFont:
            SetFontFace(label_->View(e.FontFace));
            SetFontSize(e.FontSize);
            fore_ = e.Color;
            s_.CurrentFontSize = e.FontSize;
            break;
        case tagFontEnd:
            ResetFont();
            s_.CurrentFontSize = label_->DefaultFontSize();
            Remeasure();
            s_.IndentUnit = MeasureIndentUnit();
            break;
        case tagA:
            if (!label_->EnableAnchors()) break;
            if (!e.Href.empty()) {
                fore_ = label_->LinkColor();
                s_.InLink = true;
            }
            s_.CurrentAnchor = i;
            s_.LinkEndX = s_.PenX;
            break;
        case tagAEnd:
            if (!label_->EnableAnchors()) break;
            font_.underline = false;
            SyncFont();
            s_.InLink = false;
            fore_ = label_->TextColor();
            if (s_.CurrentAnchor >= 0) {
                HTMLElement& anchor = E(s_.CurrentAnchor);
                anchor.Bottom = Narrow(s_.PenY - label_->DefaultSpacing() + s_.LineHeight);
                anchor.Right = Narrow(s_.LinkEndX);
                s_.CurrentAnchor = -1;
            }
            break;
        case tagImg:
            PlaceImage(i);
            break;
        case tagCenter:
            s_.CenterOn = true;
            break;
        case tagCenterEnd:
            s_.CenterOn = false;
            break;
        case tagScript:
        case tagStyle:
            s_.SkipText = true;
            break;
        case tagScriptEnd:
        case tagStyleEnd:
        case tagFormEnd:
            s_.SkipText = false;
            break;
        case tagTable:
        case tagTableEnd:
        case tagTR:
        case tagTREnd:
        case tagTD:
        case tagTDEnd:
            return LayoutTableTag(i);
        default:
            // HEAD, TITLE, BODY, comments, THEAD/TBODY/TFOOT, SUB, SUP, FORM
            // and unknown tags only get their box.
            break;
    }
    return i;
}

void HTMLLayout::ApplyEndOfBlock(int32_t i) {
    HTMLElement& e = E(i);
    s_.AlignRightOn = false;
    s_.CenterOn = false;
    const auto k = static_cast<size_t>(i);
    if (k < div_ancestor_.size() && div_ancestor_[k] >= 0) {
        const HTMLElement& div = E(div_ancestor_[k]);
        s_.AlignRightOn = div.AlignRight;
        s_.CenterOn = div.AlignCenter;
    } else if (k < td_ancestor_.size() && td_ancestor_[k] >= 0) {
        const HTMLElement& td = E(td_ancestor_[k]);
        s_.AlignRightOn = td.AlignRight;
        s_.CenterOn = td.AlignCenter;
    } else if (k < center_ancestor_.size() && center_ancestor_[k] >= 0) {
        s_.CenterOn = true;
    }
    s_.PenX = s_.LeftMargin + s_.BlockIndent;
    s_.RunIndent = s_.BlockIndent;
    e.Indent = Narrow(s_.BlockIndent);
    if (s_.JustBroke) {
        s_.JustBroke = false;
    } else {
        s_.PenY += s_.LineHeight;
        Remeasure();
        s_.JustBroke = true;
    }
    if (s_.RightLimit == surface_width_ - int64_t{label_->DefaultPadding()}) {
        s_.RightLimit = surface_width_;
    }
}

void HTMLLayout::OpenList(int32_t i, bool ordered) {
    if (s_.ListLevel >= kMaxListLevels) {
        // Deeper lists are ignored; their text still flows at this level.
        ++s_.ExcessLists;
        return;
    }
    HTMLElement& e = E(i);
    ++s_.ListLevel;
    s_.ListOrdered[s_.ListLevel] = ordered;
    if (ordered) s_.ListCounter[s_.ListLevel] = 0;
    s_.BlockIndent += s_.IndentUnit;
    s_.RunIndent = s_.BlockIndent + s_.IndentUnit;
    e.Indent = Narrow(s_.RunIndent);
    if (s_.ListLevel == 1 && !s_.JustBroke) {
        s_.PenY += s_.LineHeight;
        Remeasure();
        s_.JustBroke = true;
    } else {
        s_.JustBroke = false;
    }
}

void HTMLLayout::CloseList(int32_t i) {
    if (s_.ExcessLists > 0) {
        --s_.ExcessLists;
        return;
    }
    // An end tag with no list open has nothing to close.
    if (s_.ListLevel <= 0) return;
    HTMLElement& e = E(i);
    s_.ListOrdered[s_.ListLevel] = false;
    --s_.ListLevel;
    s_.BlockIndent = std::max<int64_t>(0, s_.BlockIndent - s_.IndentUnit);
    s_.RunIndent = s_.BlockIndent;
    e.Indent = Narrow(s_.BlockIndent);
    if (s_.ListLevel == 0 && !s_.JustBroke) {
        s_.PenY += s_.LineHeight;
        Remeasure();
        s_.JustBroke = true;
    } else {
        s_.JustBroke = false;
    }
}

void HTMLLayout::ListItem(int32_t i) {
    HTMLElement& e = E(i);
    LineBreak();
    e.Top = Narrow(s_.PenY);
    e.Indent = Narrow(s_.BlockIndent);
    current_x_ = static_cast<double>(s_.LeftMargin + s_.BlockIndent);
    current_y_ = static_cast<double>(s_.PenY);

    // Markers are Latin text; in a Preeti face they are set in the marker
    // face at the same size, measured and drawn alike.
    const bool preeti = platform::IsPreetiFaceName(font_.name);
    if (preeti) {
        saved_font_.name.assign(font_.name);
        SetFontFace(kMarkerFace);
    }
    if (s_.ListOrdered[s_.ListLevel]) {
        int16_t& counter = s_.ListCounter[s_.ListLevel];
        if (counter < std::numeric_limits<int16_t>::max()) ++counter;
        e.IsNumbered = true;
        e.ItemNumber = counter;
        char number[16];
        int n = 0;
        for (int v = counter; v > 0 || n == 0; v /= 10)
            number[n++] = static_cast<char>('0' + v % 10);
        char marker[18];
        for (int k = 0; k < n; ++k) marker[k] = number[n - 1 - k];
        marker[n] = '.';
        marker[n + 1] = ' ';
        Print(std::string_view(marker, static_cast<size_t>(n + 2)));
        s_.PenX = Round(static_cast<double>(s_.PenX) + TextWidth("W. "));
    } else {
        Print(kBullet);
        s_.PenX = Round(static_cast<double>(s_.PenX) + TextWidth(kBullet));
    }
    if (preeti) SetFontFace(saved_font_.name);
    s_.RunIndent = s_.PenX;
    s_.ContentLineY = s_.PenY;
}

// --- images ---------------------------------------------------------------------

platform::PictureRef HTMLLayout::LoadImage(std::string_view src) {
    platform::PictureRef picture;
    if (label_->on_load_image) {
        std::string text(src);
        label_->on_load_image(text, picture);
        if (picture && picture->pixels().empty()) picture.reset();
        if (picture) return picture;
    }
    if (src.empty()) return nullptr;
    if (auto cached = pictures_.find(src); cached != pictures_.end()) return cached->second;
    auto loaded = platform::LoadPicture(std::string(src));
    if (loaded && loaded.value() && !loaded.value()->pixels().empty()) picture = loaded.value();
    pictures_.emplace(std::string(src), picture);
    return picture;
}

void HTMLLayout::PlaceImage(int32_t i) {
    ClearTable();
    E(i).Top = Narrow(s_.PenY);
    const int64_t padding = label_->DefaultPadding();
    if (s_.PenY > padding && !s_.InTable && !s_.JustBroke) {
        // A new line starts at the block's margin, as every other break does.
        s_.PenX = s_.LeftMargin + s_.BlockIndent;
        s_.PenY += s_.LineHeight;
        E(i).Top = Narrow(s_.PenY);
        Remeasure();
    }
    const platform::PictureRef picture = LoadImage(label_->View(E(i).Src));
    HTMLElement& e = E(i);
    if (!picture) {
        if (e.ImgWidth == 0) e.ImgWidth = kMissingImageSide;
        if (e.ImgHeight == 0) e.ImgHeight = kMissingImageSide;
        e.Border = 1;
    } else {
        if (e.ImgWidth == 0) e.ImgWidth = picture->width_px();
        if (e.ImgHeight == 0) e.ImgHeight = picture->height_px();
    }
    // Sizes from attributes may be anything; a negative one draws nothing.
    const int64_t width = e.ImgWidth;
    const int64_t height = e.ImgHeight;
    const int64_t border = e.Border;
    const int64_t hspace = e.HSpace;
    const int64_t vspace = e.VSpace;

    if (s_.CenterOn || e.AlignCenter) {
        e.AlignCenter = true;
        s_.PenX =
            std::max(s_.LeftMargin, s_.LeftMargin + (s_.RightLimit - s_.LeftMargin - width) / 2);
    }
    s_.PenX += hspace;
    if (border > 0) {
        Draw3DFrame(true, s_.PenX, s_.PenY + vspace, s_.PenX + width + border,
                    s_.PenY + vspace + height + border);
    }
    s_.PenX += border;
    if (picture && draw_ && width > 0 && height > 0) {
        platform::DC source(picture->pixels());
        dc_->StretchBlt(DrawCoord(s_.PenX), DrawCoord(s_.PenY + vspace), DrawCoord(width),
                        DrawCoord(height), source, 0, 0, picture->width_px(), picture->height_px());
    }
    s_.PenX += width + border + hspace;
    const int64_t needed = height + 2 * border + 2 * vspace;
    if (s_.LineHeight < needed) s_.LineHeight = needed;
    s_.LinkEndX = s_.PenX;
    s_.ContentLineY = s_.PenY;
    if (!final_pass_ && label_->EnableScroll()) {
        label_->content_width_ =
            Narrow(std::max<int64_t>(label_->content_width_, padding + s_.PenX));
    }
}

void HTMLLayout::Draw3DFrame(bool sunken, int64_t x1, int64_t y1, int64_t x2, int64_t y2) {
    Draw3DFrame(sunken, x1, y1, x2, y2, back_);
}

void HTMLLayout::Draw3DFrame(bool sunken, int64_t x1, int64_t y1, int64_t x2, int64_t y2,
                             platform::Color back) {
    const platform::Color light = platform::TranslateColor(back) == kWhite
                                      ? platform::SystemColor(platform::COLOR_BTNFACE)
                                      : kWhite;
    const platform::Color dark = platform::SystemColor(platform::COLOR_BTNSHADOW);
    const platform::Color first = sunken ? dark : light;
    const platform::Color second = sunken ? light : dark;
    Line(x1, y1, x2, y1, first);
    Line(x1, y1, x1, y2, first);
    Line(x2, y1, x2, y2, second);
    Line(x1, y2, x2 + 1, y2, second);
}

void HTMLLayout::TileBackground() {
    const platform::PictureRef picture = LoadImage(label_->BackgroundImage());
    if (!picture || !draw_) return;
    const int32_t w = picture->width_px();
    const int32_t h = picture->height_px();
    if (w <= 0 || h <= 0) return;
    const int64_t rows = Round(static_cast<double>(surface_height_) / h + 1);
    const int64_t columns = Round(static_cast<double>(surface_width_) / w);
    platform::DC source(picture->pixels());
    for (int64_t r = 0; r <= rows; ++r) {
        for (int64_t c = 0; c <= columns; ++c) {
            dc_->StretchBlt(DrawCoord(w * c), DrawCoord(h * r), w, h, source, 0, 0, w, h);
        }
    }
}

int32_t HTMLLayout::SkipScript(int32_t i) const {
    const auto count = static_cast<int32_t>(elements_->size());
    int32_t k = i + 1;
    while (k < count && (*elements_)[static_cast<size_t>(k)].TagID != tagScriptEnd) ++k;
    return std::min(count, k + 1);
}

}  // namespace html_label
