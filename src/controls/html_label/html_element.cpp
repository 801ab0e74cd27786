// SPDX-License-Identifier: GPL-3.0-or-later
// Names and hierarchy roles of the tag identifiers.
#include "controls/html_label/html_element.h"

#include <array>

namespace html_label {

namespace {

constexpr std::array<std::string_view, kTagIDCount> kNames = {
    "tagText",        "tagUnknown",
    "tagHead",        "tagHeadEnd",
    "tagTitle",       "tagTitleEnd",
    "tagBody",        "tagBodyEnd",
    "tagCommentOpen", "tagCommentClose",
    "tagBold",        "tagBoldEnd",
    "tagItalic",      "tagItalicEnd",
    "tagUnderline",   "tagUnderlineEnd",
    "tagP",           "tagPEnd",
    "tagDiv",         "tagDivEnd",
    "tagBR",          "tagHR",
    "tagUL",          "tagULEnd",
    "tagOL",          "tagOLEnd",
    "tagLI",          "tagTable",
    "tagTableEnd",    "tagTHead",
    "tagTHeadEnd",    "tagTBody",
    "tagTBodyEnd",    "tagTFoot",
    "tagTFootEnd",    "tagTR",
    "tagTREnd",       "tagTD",
    "tagTDEnd",       "tagFont",
    "tagFontEnd",     "tagA",
    "tagAEnd",        "tagImg",
    "tagBlockquote",  "tagBlockquoteEnd",
    "tagH",           "tagHEnd",
    "tagBig",         "tagBigEnd",
    "tagSmall",       "tagSmallEnd",
    "tagCenter",      "tagCenterEnd",
    "tagSub",         "tagSubEnd",
    "tagSup",         "tagSupEnd",
    "tagForm",        "tagFormEnd",
    "tagScript",      "tagScriptEnd",
    "tagStyle",       "tagStyleEnd",
};

}  // namespace

TagRole RoleOf(TagID id) {
    switch (id) {
        case tagHead:
        case tagTitle:
        case tagBody:
        case tagBold:
        case tagItalic:
        case tagUnderline:
        case tagP:
        case tagDiv:
        case tagUL:
        case tagOL:
        case tagTable:
        case tagTR:
        case tagTD:
        case tagFont:
        case tagA:
        case tagBlockquote:
        case tagH:
        case tagBig:
        case tagSmall:
        case tagCenter:
            return TagRole::kContainer;
        case tagHeadEnd:
        case tagTitleEnd:
        case tagBodyEnd:
        case tagBoldEnd:
        case tagItalicEnd:
        case tagUnderlineEnd:
        case tagPEnd:
        case tagDivEnd:
        case tagULEnd:
        case tagOLEnd:
        case tagTableEnd:
        case tagTREnd:
        case tagTDEnd:
        case tagFontEnd:
        case tagAEnd:
        case tagBlockquoteEnd:
        case tagHEnd:
        case tagBigEnd:
        case tagSmallEnd:
        case tagCenterEnd:
            return TagRole::kCloser;
        default:
            // Comments, BR, HR, LI, the table section tags, SUB, SUP, FORM,
            // SCRIPT, STYLE and unknown tags never nest anything.
            return TagRole::kLeaf;
    }
}

std::string_view TagIDName(int32_t id) {
    if (id < 0 || id >= kTagIDCount) return "tag?";
    return kNames[static_cast<size_t>(id)];
}

}  // namespace html_label
