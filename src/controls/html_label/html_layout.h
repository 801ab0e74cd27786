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
// draws them; the table tags all go to LayoutTableTag, which lays tables out
// inside the same walk: each cell is a temporary page with its own margins.
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
constexpr int32_t kMaxCells = 17;  // cells of a row, and columns of a table

// One open table. Positions are surface pixels; CellX is relative to Left.
struct TableState {
    bool Centered = false;  // the centring in effect when the table opened
    int16_t Border = 0;
    int64_t Left = 0;
    int64_t Top = 0;
    int64_t Width = 0;   // grows when a cell reaches beyond it
    int64_t Height = 0;  // measured in the first pass, read back in the second
    int64_t RowTop = 0;
    int64_t RowHeight = 0;
    int64_t CellX = 0;      // x of the next cell
    int64_t CellRight = 0;  // the open cell's right limit
    int32_t Column = 0;     // cells opened in the current row
    struct Edges {
        int64_t left = 0;
        int64_t right = 0;
    } CellEdges[kMaxCells];
    int32_t CellElements[kMaxCells] = {};
    int16_t CellPadding = 0;
    int16_t CellSpacing = 0;
    int32_t TableIndex = 0;
    // The colour the table's frames are drawn on: its own background, else
    // that of the table it sits in, else the document's.
    platform::Color Back = 0;
    // The open row's TR (the TABLE itself for cells outside any row), and
    // the open cell's TD; -1 while none is open.
    int32_t RowIndex = -1;
    int32_t CellIndex = -1;
};

// A table's or a cell's frame rectangle as the drawing pass placed it: the
// corner pixels of its frame lines (a table without a border covers the
// same rectangle with its background).
struct TableBox {
    int32_t element = 0;
    bool cell = false;
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

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
    TableState TableStack[kMaxTables];
    // Below a closed table: its frame's last row + 1, and where text or a
    // picture that follows may start (a gap of DefaultSpacing further).
    int64_t TableBottomY = 0;
    int64_t ClearY = 0;
    // The top of the line that last received text, a marker or a picture.
    int64_t ContentLineY = std::numeric_limits<int64_t>::min();
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
    // The light lines are white unless the colour under the frame (`back`,
    // the document's by default) is white itself.
    void Draw3DFrame(bool sunken, int64_t x1, int64_t y1, int64_t x2, int64_t y2);
    void Draw3DFrame(bool sunken, int64_t x1, int64_t y1, int64_t x2, int64_t y2,
                     platform::Color back);

    static bool IsInlineTag(TagID id);

    // The drawing pass records every table's and cell's frame here while
    // set (tools and tests); null records nothing.
    void RecordTableBoxes(std::vector<TableBox>* boxes) { table_boxes_ = boxes; }

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
    // The end of a heading, BIG or SMALL: back to the running size, not
    // bold, with the line height and indent unit measured again.
    void EndSizedText();

    // --- the walk ------------------------------------------------------------
    HTMLElement& E(int32_t i) { return (*elements_)[static_cast<size_t>(i)]; }
    std::string_view TextOf(const HTMLElement& e) const;
    void LineBreak();
    // Returns the last element the tag consumed: itself, or the end of a
    // table or cell left out beyond what the table state holds.
    int32_t ApplyTag(int32_t i);
    void ApplyEndOfBlock(int32_t i);
    void OpenList(int32_t i, bool ordered);
    void CloseList(int32_t i);
    void ListItem(int32_t i);
    void PlaceImage(int32_t i);
    void TileBackground();
    // Tables and their rows and cells: every TABLE, TR, TD and end tag comes
    // here. Returns the last element consumed.
    int32_t LayoutTableTag(int32_t i);
    int32_t OpenTable(int32_t i);
    void OpenRow(int32_t row);
    int32_t OpenCell(int32_t i);
    // The end tags; -1 closes what the document left open.
    void CloseCell(int32_t closer);
    void CloseRow();
    void CloseTable();
    // Column and cell widths of the TABLE at `i`; returns how far its widest
    // row of cells reaches right of the table's left edge.
    int64_t ComputeColumnWidths(int32_t i);
    // Content after a closed table starts below it.
    void ClearTable();
    // Fills the rectangle with both corners included.
    void Fill(int64_t x1, int64_t y1, int64_t x2, int64_t y2, platform::Color color);
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
    // The word as it is drawn, its no-break spaces as blanks, in a buffer
    // reused word after word; `word` is a view into the label's text.
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
    // A run ended with a blank (an empty last word) that goes before the
    // next word, even one whose element follows a tag without a blank.
    bool blank_owed_ = false;
    // Whether the last word printed on the line was underlined.
    bool last_underlined_ = false;

    std::vector<RunLine> lines_;
    std::string shown_;
    std::vector<int32_t> div_ancestor_;
    std::vector<int32_t> td_ancestor_;
    std::vector<int32_t> center_ancestor_;
    // The last element of each element's subtree (itself for a leaf).
    std::vector<int32_t> subtree_end_;
    std::vector<TableBox>* table_boxes_ = nullptr;

    // Pictures read from files for the current document, failures included,
    // so that the two passes read each file once.
    uint32_t pictures_generation_ = 0;
    std::map<std::string, platform::PictureRef, std::less<>> pictures_;
};

}  // namespace html_label
