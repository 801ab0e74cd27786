// SPDX-License-Identifier: GPL-3.0-or-later
// The element record of the HTML label and the tag identifiers.
//
// A document is a flat table of these records, one per token of the HTML
// text in document order. Nesting is not a tree of objects: it is recorded
// afterwards as parent and sibling indices in the records and one child list
// that the label keeps for the whole table. The layout fields live here too;
// the layout pass writes them and painting and link handling read them.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/color.h"

namespace html_label {

// The no-break space as text records keep it: six characters inside a word,
// so it keeps the words around it together; measured as written when the
// line breaks are chosen, drawn as one blank.
inline constexpr std::string_view kNoBreakSpace = "&nbsp;";

// The numeric values are part of the component's interface: they are what a
// host or a dump sees, so they never change. One byte holds them all.
enum TagID : uint8_t {
    tagText = 0,
    tagUnknown = 1,
    tagHead = 2,
    tagHeadEnd = 3,
    tagTitle = 4,
    tagTitleEnd = 5,
    tagBody = 6,
    tagBodyEnd = 7,
    tagCommentOpen = 8,
    tagCommentClose = 9,
    tagBold = 10,
    tagBoldEnd = 11,
    tagItalic = 12,
    tagItalicEnd = 13,
    tagUnderline = 14,
    tagUnderlineEnd = 15,
    tagP = 16,
    tagPEnd = 17,
    tagDiv = 18,
    tagDivEnd = 19,
    tagBR = 20,
    tagHR = 21,
    tagUL = 22,
    tagULEnd = 23,
    tagOL = 24,
    tagOLEnd = 25,
    tagLI = 26,
    tagTable = 27,
    tagTableEnd = 28,
    tagTHead = 29,
    tagTHeadEnd = 30,
    tagTBody = 31,
    tagTBodyEnd = 32,
    tagTFoot = 33,
    tagTFootEnd = 34,
    tagTR = 35,
    tagTREnd = 36,
    tagTD = 37,
    tagTDEnd = 38,
    tagFont = 39,
    tagFontEnd = 40,
    tagA = 41,
    tagAEnd = 42,
    tagImg = 43,
    tagBlockquote = 44,
    tagBlockquoteEnd = 45,
    tagH = 46,
    tagHEnd = 47,
    tagBig = 48,
    tagBigEnd = 49,
    tagSmall = 50,
    tagSmallEnd = 51,
    tagCenter = 52,
    tagCenterEnd = 53,
    tagSub = 54,
    tagSubEnd = 55,
    tagSup = 56,
    tagSupEnd = 57,
    tagForm = 58,
    tagFormEnd = 59,
    tagScript = 60,
    tagScriptEnd = 61,
    tagStyle = 62,
    tagStyleEnd = 63,
};

constexpr int32_t kTagIDCount = 64;

// The part a tag plays when the hierarchy is built: a container opens a
// level, a closer ends the current level (whichever container is open), a
// leaf does neither.
enum class TagRole { kLeaf, kContainer, kCloser };

TagRole RoleOf(TagID id);

// The enumerator's name ("tagBody"), or "tag?" for a value outside the enum.
std::string_view TagIDName(int32_t id);

// A piece of the label's text: `size` bytes from byte `begin` of the text
// the label owns (its normalised document, followed by the few spellings
// that records need and the document does not hold). HTMLLabel::View turns
// it into characters. Records hold these rather than strings of their own,
// so a record costs no allocation and copies as plain bytes.
struct TextRef {
    uint32_t begin = 0;
    uint32_t size = 0;

    bool empty() const { return size == 0; }
    friend bool operator==(const TextRef&, const TextRef&) = default;
};

// Positions, counts and element indices are 32-bit so that documents larger
// than 32767 characters or tokens load whole. Fields whose values come from
// attributes keep the narrow types their conversions produce. The fields are
// ordered by size so that the record has no padding inside.
struct HTMLElement {
    TextRef Text;  // the raw token: a whole tag, or the text run as it stood
    TextRef Name;  // ID or NAME attribute: the target of "#" links
    TextRef FontFace;
    TextRef Href;
    TextRef Title;
    TextRef Src;
    TextRef Alt;
    float FontSize = 0;
    float WidthSpec = 0;  // above 1: pixels; otherwise a fraction of the available width
    float HeightSpec = 0;
    platform::Color Color = 0;
    platform::Color BgColor = 0;
    int32_t Top = 0;
    int32_t Left = 0;
    int32_t Bottom = 0;
    int32_t Right = 0;
    int32_t Indent = 0;
    int32_t ComputedWidth = 0;
    int32_t MeasuredHeight = 0;
    int32_t RowHeight = 0;
    int32_t ImgWidth = 0;
    int32_t ImgHeight = 0;
    int32_t ChildCount = 0;
    // Where this element's entries start in the label's child list
    // (HTMLLabel::Children): its children in document order and, when a
    // closer ended the element, the closer's index as one extra entry.
    uint32_t ChildrenAt = 0;
    int32_t Parent = 0;
    int32_t SiblingIndex = 0;
    int32_t Index = 0;
    int16_t HSpace = 0;
    int16_t VSpace = 0;
    int16_t ItemNumber = 0;
    int16_t Border = 0;
    int16_t CellPadding = 0;
    int16_t CellSpacing = 0;
    int16_t ColSpan = 0;
    html_label::TagID TagID = tagText;
    int8_t VAlign = 0;  // 3 top, 4 centre, 5 bottom
    bool IsTag = false;
    bool NoSpaceBefore = false;
    bool HasBgColor = false;
    bool AlignCenter = false;
    bool AlignRight = false;
    bool IsNumbered = false;
    bool EndedByCloser = false;  // the child list ends with the closer's index

    friend bool operator==(const HTMLElement&, const HTMLElement&) = default;
};

}  // namespace html_label
