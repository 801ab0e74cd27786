// The HTML label's layout engine: one walk over the element table that
// moves a pen, changes fonts and draws text, list markers, rules, images and
// frames straight onto the off-screen picture. There is no box tree; what
// lasts is the pixels, each element's box and measured values, and the
// document's content size.
//
// A document is drawn in two passes (HTMLPicture runs them): a measuring
// pass on a picture of the viewport's size, then, once the picture has grown
// to the content size, a drawing pass that uses what the first one measured.
// Text between tags goes to LayoutTextRun, which breaks it into lines and
// draws them; the table tags all go to LayoutTableTag.
//
// Positions are program pixels. The engine draws only through the DC it is
// given, so the same walk serves any device scale.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "controls/html_label/html_element.h"
#include "platform/color.h"
#include "platform/dc.h"
#include "platform/font.h"
#include "platform/picture.h"

namespace html_label {

class HTMLLabel;

namespace detail {

// Rounds to the nearest integer, halves to even; values beyond any position
// a document can reach are held at a bound rather than wrapped.
inline int64_t Round(double v) {
    constexpr double kBound = 4.0e15;
    if (!(v == v)) return 0;
    return static_cast<int64_t>(std::nearbyint(std::clamp(v, -kBound, kBound)));
}

// A layout position as an element field holds it.
inline int32_t Narrow(int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

}  // namespace detail

// Where a pass draws: a context on the off-screen picture and the sizes the
// pass needs, all in program pixels.
struct RenderTarget {
    platform::DC* dc = nullptr;
    int32_t width = 0;  // the picture
    int32_t height = 0;
    int32_t viewport_width = 0;
    int32_t viewport_height = 0;
};

// Nesting the layout keeps per level; deeper tags are ignored.
constexpr int32_t kMaxListLevels = 16;
constexpr int32_t kMaxTables = 16;

// The variables one pass keeps. Positions are 64-bit inside the walk so
// that no document can overflow them; they are narrowed when stored into an
// element.
struct LayoutState {
    int64_t PenX = 0;
    int64_t PenY = 0;
    int64_t LineHeight = 0;
    int64_t LeftMargin = 0;
    int64_t RightLimit = 0;
    int64_t BlockIndent = 0;
    int64_t IndentUnit = 0;
    int64_t RunIndent = 0;
    float CurrentFontSize = 0;
    bool AlignRightOn = false;
    bool CenterOn = false;
    bool JustBroke = false;
    bool InLink = false;
    int32_t CurrentAnchor = -1;  // -1: none open
    int64_t LinkEndX = 0;
    bool SkipText = false;
    bool InTable = false;
    int32_t TableDepth = 0;
    int32_t TableStack[kMaxTables] = {};
    int32_t ListLevel = 0;
    // List tags past the last usable level, so that their end tags are
    // ignored with them.
    int32_t ExcessLists = 0;
    bool ListOrdered[kMaxListLevels + 1] = {};
    int16_t ListCounter[kMaxListLevels + 1] = {};
};

// One line of a text run: where its first and last word are (word
// positions are byte offsets into their element's text) and where it ends.
struct RunLine {
    int32_t StartElement = 0;
    uint32_t StartWord = 0;
    int32_t EndElement = 0;
    uint32_t EndWord = 0;
    int64_t EndX = 0;
};

class HTMLLayout {
  public:
    HTMLLayout() = default;

    // One pass over `label`'s elements onto `target`. The measuring pass
    // (final_pass false) sets the content size and the measured heights;
    // both passes write the element boxes.
    void RenderDocument(HTMLLabel& label, bool final_pass, const RenderTarget& target);

    // Four one-pixel lines, dark on the top and left when sunken, light on
    // the other two; raised swaps them.
    void Draw3DFrame(bool sunken, int64_t x1, int64_t y1, int64_t x2, int64_t y2);

    static bool IsInlineTag(TagID id);

  private:
    // --- the surface: font, colours, print position ----------------------
    void ResetFont();
    void SyncFont();
    void SetFontSize(float points);
    void SetFontFace(std::string_view face);
    double TextWidth(std::string_view text);
    double TextHeight(std::string_view text);
    // Draws at the print position and moves it past the text.
    void Print(std::string_view text);
    void Line(int64_t x1, int64_t y1, int64_t x2, int64_t y2, platform::Color color);
    int64_t MeasureLineHeight();
    int64_t MeasureIndentUnit();
    void Remeasure() { s_.LineHeight = MeasureLineHeight(); }

    // --- the walk ------------------------------------------------------------
    HTMLElement& E(int32_t i) { return (*elements_)[static_cast<size_t>(i)]; }
    std::string_view TextOf(const HTMLElement& e) const;
    void LineBreak();
    void ApplyTag(int32_t i);
    void ApplyEndOfBlock(int32_t i);
    void OpenList(int32_t i, bool ordered);
    void CloseList(int32_t i);
    void ListItem(int32_t i);
    void PlaceImage(int32_t i);
    void TileBackground();
    // Tables and their rows and cells: every TABLE, TR, TD and end tag comes
    // here.
    void LayoutTableTag(int32_t i);
    void UpdateContentHeight();
    platform::PictureRef LoadImage(std::string_view src);
    // The index of the first element after a SCRIPT at `i` and everything up
    // to its end tag.
    int32_t SkipScript(int32_t i) const;
    // The nearest DIV, TD and CENTER ancestors of every element, found in
    // one pass before the walk.
    void FindBlockAncestors();

    // --- text runs -------------------------------------------------------------
    int32_t LayoutTextRun(int32_t first, int64_t left, int64_t gap);
    void ApplyInlineTag(int32_t i);
    void DrawWord(const HTMLElement& e, uint32_t word_start, std::string_view word,
                  const RunLine& line, int64_t left, int64_t indent, int64_t gap);
    // The word with "&nbsp;" shown as blanks, in a buffer reused word after
    // word.
    std::string_view Shown(std::string_view word);

    HTMLLabel* label_ = nullptr;
    std::vector<HTMLElement>* elements_ = nullptr;
    platform::DC* dc_ = nullptr;
    bool final_pass_ = false;
    bool draw_ = false;  // only the drawing pass's pixels are ever seen
    int32_t surface_width_ = 0;
    int32_t surface_height_ = 0;

    LayoutState s_;
    platform::FontDesc font_;
    platform::FontDesc saved_font_;
    platform::Color fore_ = 0;
    platform::Color back_ = 0;
    double current_x_ = 0;
    double current_y_ = 0;
    // Between two printed words of a line, whether a blank has gone out.
    bool blank_emitted_ = false;
    // Whether the last word printed on the line was underlined.
    bool last_underlined_ = false;

    std::vector<RunLine> lines_;
    std::string shown_;
    std::vector<int32_t> div_ancestor_;
    std::vector<int32_t> td_ancestor_;
    std::vector<int32_t> center_ancestor_;

    // Pictures read from files for the current document, failures included,
    // so that the two passes read each file once.
    uint32_t pictures_generation_ = 0;
    std::map<std::string, platform::PictureRef, std::less<>> pictures_;
};

}  // namespace html_label
