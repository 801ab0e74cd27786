// SPDX-License-Identifier: GPL-3.0-or-later
// Normalisation, tokenizing, tag classification and the closing-tag fix-ups.
//
// The parser never rejects a document: unknown tags become tagUnknown, a "<"
// with no ">" after it is skipped, and text outside the outermost tags is
// dropped. Every loop here advances on every step, so no input can make it
// spin, every read is bounded by the text or table size, and every step is
// linear in the size of the document.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "controls/html_label/html_label.h"
#include "controls/html_label/html_strings.h"

namespace html_label {

using detail::InStr;
using detail::TrimBlanks;
using detail::UpperAscii;

std::string HTMLLabel::WrapAndClean(std::string_view html) {
    std::string text(html);
    // The searches use an upper-cased copy; the text itself keeps its case.
    if (UpperAscii(text).find("<BODY") == std::string::npos) {
        text = "<BODY>" + text + "</BODY>";
    }
    if (UpperAscii(text).find("<HTML>") == std::string::npos) {
        text = "<HTML>" + text + "</HTML>";
    }
    for (char& c : text) {
        if (c == '\n' || c == '\r') c = ' ';
    }
    return text;
}

std::string HTMLLabel::CollapseBlanks(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c == '\t') c = ' ';
    }
    // Three rounds of pair replacement, not a full collapse: a run of n
    // blanks becomes ceil(n / 8) blanks, and reloading the normalised text
    // shrinks longer runs further.
    for (int round = 0; round < 3; ++round) out = detail::ReplaceAll(out, "  ", " ");
    return out;
}

bool HTMLLabel::IsTagToken(std::string_view text) {
    if (text.empty() || text.front() != '<') return false;
    // A comment left open runs to the end of the text and has no ">"; it is
    // still a comment, not words to show.
    return text.back() == '>' || text.starts_with("<!--");
}

namespace {

// Cuts the document into tokens and hands each to `emit` as a 0-based
// half-open byte range with its NoSpaceBefore flag.
//
// The first ">" at or after a position is remembered: positions only move
// forward, so a stray "<" with no ">" after it costs no second search to the
// end of the text, and the whole cut stays linear.
template <class Emit>
void CutTokens(std::string_view s, Emit&& emit) {
    const size_t len = s.size();
    size_t gt_from = 0;  // 0 until the first search; then InStr(gt_from, s, ">") == gt_at
    size_t gt_at = 0;
    auto next_gt = [&](size_t from) {
        if (gt_from == 0 || from < gt_from || (gt_at != 0 && gt_at < from)) {
            gt_at = InStr(from, s, ">");
            gt_from = from;
        }
        return gt_at;
    };

    // Positions below are 1-based and inclusive, as InStr gives them.
    size_t i = 1;
    size_t j = 0;
    bool sp = false;
    while (j < len) {
        i = InStr(i, s, "<");
        if (i == 0) break;
        if (s.compare(i - 1, 4, "<!--") == 0) {
            size_t close = InStr(i, s, "-->");
            j = close == 0 ? len : close + 2;
        } else {
            j = next_gt(i);
        }
        if (j > 0) {
            emit(i - 1, j, false);
            if (i > 1) sp = s[i - 2] != ' ';
            j = j + 1;
            i = j;
        } else {
            i = i + 1;
        }
        j = InStr(i, s, "<");
        if (j > i) {
            std::string_view run = s.substr(i - 1, j - i);
            if (!TrimBlanks(run).empty()) emit(i - 1, j - 1, sp);
            i = j;
        } else if (j == 0) {
            j = len;
        }
    }
}

TagID LookUpTag(std::string_view name);

// What ClassifyElement will make of a token, as far as the fix-ups care.
TagID TagOfToken(std::string_view token) {
    if (!HTMLLabel::IsTagToken(token)) return tagText;
    return LookUpTag(HTMLLabel::mstrTagID(token));
}

std::vector<uint8_t> PlanClosers(std::vector<uint8_t> tags);

}  // namespace

void HTMLLabel::Tokenize() {
    const std::string_view s = DocumentHTMLText();
    elements_.clear();
    children_.clear();

    // A first cut learns the tokens' tags, so the table can be allocated
    // once with room for every closer the fix-ups will insert.
    std::vector<uint8_t> tags;
    CutTokens(s, [&](size_t from, size_t to, bool) {
        tags.push_back(TagOfToken(s.substr(from, to - from)));
    });
    const size_t planned = PlanClosers(std::move(tags)).size();
    elements_.reserve(planned);

    CutTokens(s, [&](size_t from, size_t to, bool no_space) {
        HTMLElement& e = elements_.emplace_back();
        e.Text = {static_cast<uint32_t>(from), static_cast<uint32_t>(to - from)};
        e.Index = static_cast<int32_t>(elements_.size() - 1);
        e.NoSpaceBefore = no_space;
    });
}

std::string HTMLLabel::mstrTagID(std::string_view tag) {
    size_t p = InStr(1, tag, " ");
    std::string_view name;
    if (p == 0) {
        std::string_view t = TrimBlanks(tag);
        name = t.size() >= 2 ? t.substr(1, t.size() - 2) : std::string_view{};
    } else {
        name = tag.substr(1, p - 1);
    }
    return UpperAscii(TrimBlanks(name));
}

namespace {

struct TagName {
    std::string_view name;
    TagID id;
};

constexpr TagName kTagTable[] = {
    {"P", tagP},
    {"/P", tagPEnd},
    {"DIV", tagDiv},
    {"/DIV", tagDivEnd},
    {"HEAD", tagHead},
    {"/HEAD", tagHeadEnd},
    {"TITLE", tagTitle},
    {"/TITLE", tagTitleEnd},
    {"BODY", tagBody},
    {"NOFRAMES", tagBody},
    {"/BODY", tagBodyEnd},
    {"/NOFRAMES", tagBodyEnd},
    {"!--", tagCommentOpen},
    {"--", tagCommentClose},
    {"STRONG", tagBold},
    {"B", tagBold},
    {"/STRONG", tagBoldEnd},
    {"/B", tagBoldEnd},
    {"EM", tagItalic},
    {"I", tagItalic},
    {"/EM", tagItalicEnd},
    {"/I", tagItalicEnd},
    {"U", tagUnderline},
    {"/U", tagUnderlineEnd},
    {"BR", tagBR},
    {"HR", tagHR},
    {"UL", tagUL},
    {"/UL", tagULEnd},
    {"OL", tagOL},
    {"/OL", tagOLEnd},
    {"LI", tagLI},
    {"BLOCKQUOTE", tagBlockquote},
    {"/BLOCKQUOTE", tagBlockquoteEnd},
    {"TABLE", tagTable},
    {"/TABLE", tagTableEnd},
    {"THEAD", tagTHead},
    {"/THEAD", tagTHeadEnd},
    {"TBODY", tagTBody},
    {"/TBODY", tagTBodyEnd},
    {"TFOOT", tagTFoot},
    {"/TFOOT", tagTFootEnd},
    {"TR", tagTR},
    {"/TR", tagTREnd},
    {"TD", tagTD},
    {"TH", tagTD},
    {"/TD", tagTDEnd},
    {"/TH", tagTDEnd},
    {"FONT", tagFont},
    {"/FONT", tagFontEnd},
    {"BIG", tagBig},
    {"/BIG", tagBigEnd},
    {"SMALL", tagSmall},
    {"/SMALL", tagSmallEnd},
    {"SUP", tagSup},
    {"/SUP", tagSupEnd},
    {"SUB", tagSub},
    {"/SUB", tagSubEnd},
    {"A", tagA},
    {"/A", tagAEnd},
    {"IMG", tagImg},
    {"CENTER", tagCenter},
    {"/CENTER", tagCenterEnd},
    {"FORM", tagForm},
    {"/FORM", tagFormEnd},
    {"SCRIPT", tagScript},
    {"/SCRIPT", tagScriptEnd},
    {"STYLE", tagStyle},
    {"/STYLE", tagStyleEnd},
    // Headings carry their level in the name; H1..H6 and their closers.
    {"H1", tagH},
    {"H2", tagH},
    {"H3", tagH},
    {"H4", tagH},
    {"H5", tagH},
    {"H6", tagH},
    {"/H1", tagHEnd},
    {"/H2", tagHEnd},
    {"/H3", tagHEnd},
    {"/H4", tagHEnd},
    {"/H5", tagHEnd},
    {"/H6", tagHEnd},
};

TagID LookUpTag(std::string_view name) {
    for (const TagName& t : kTagTable) {
        if (t.name == name) return t.id;
    }
    return tagUnknown;
}

}  // namespace

void HTMLLabel::ClassifyElement(HTMLElement& record) {
    const std::string_view text = View(record.Text);
    if (!IsTagToken(text)) {
        // A text run; its words are read from the text when asked for.
        record.TagID = tagText;
        return;
    }
    record.IsTag = true;
    const std::string name = mstrTagID(text);
    record.TagID = LookUpTag(name);
    switch (record.TagID) {
        case tagBody:
            body_index_ = record.Index;
            break;
        case tagTable:
            record.CellSpacing = 2;
            record.CellPadding = 2;
            record.WidthSpec = 1.0f;
            break;
        case tagTD:
            record.ColSpan = 1;
            record.WidthSpec = 1.0f;
            record.VAlign = 3;
            record.BgColor = back_color_;
            break;
        case tagFont:
            record.FontFace = default_font_text_;
            record.Color = text_color_;
            record.FontSize = default_font_size_;
            break;
        case tagH: {
            const int level = name[1] - '0';
            record.FontSize = static_cast<float>(default_font_size_ + (7 - level) * 1.2);
            break;
        }
        case tagBig:
            record.FontSize = default_font_size_ + 1;
            break;
        case tagSmall:
            record.FontSize = default_font_size_ - 1;
            break;
        case tagA:
            // Links have no box until the layout gives them one.
            record.Top = record.Left = record.Bottom = record.Right = -1;
            break;
        case tagImg:
            record.HSpace = 2;
            record.VSpace = 2;
            break;
        default:
            break;
    }
    InterpretAttributes(record);
}

namespace {

// The character an entity at the start of `s` stands for, and its length:
// the three that text needs to show markup characters. The no-break space
// stays as written (kNoBreakSpace).
bool DecodeEntityAt(std::string_view s, char& c, size_t& length) {
    static constexpr struct {
        std::string_view spelling;
        char c;
    } kEntities[] = {{"&lt;", '<'}, {"&gt;", '>'}, {"&amp;", '&'}};
    for (const auto& entity : kEntities) {
        if (s.starts_with(entity.spelling)) {
            c = entity.c;
            length = entity.spelling.size();
            return true;
        }
    }
    return false;
}

}  // namespace

void HTMLLabel::ClassifyAll() {
    // Text records with entities get their decoded characters after the
    // document's own text, so that measuring and drawing see the same
    // bytes. They are collected first and appended once: the text must not
    // move while it is being read. An escaped ampersand before "nbsp;"
    // spells the text "&nbsp;", which is kept apart from the no-break space.
    spelt_nbsp_.clear();
    std::vector<uint32_t> spelt;  // in `decoded`
    std::string decoded;
    std::vector<std::pair<size_t, TextRef>> moved;  // record, its text in `decoded`
    for (HTMLElement& e : elements_) {
        ClassifyElement(e);
        if (e.IsTag) continue;
        const std::string_view text = View(e.Text);
        if (text.find('&') == std::string_view::npos) continue;
        const size_t start = decoded.size();
        bool any = false;
        for (size_t k = 0; k < text.size();) {
            char c = 0;
            size_t length = 0;
            if (text[k] == '&' && DecodeEntityAt(text.substr(k), c, length)) {
                if (c == '&' && text.substr(k + length).starts_with(kNoBreakSpace.substr(1)))
                    spelt.push_back(static_cast<uint32_t>(decoded.size()));
                decoded += c;
                k += length;
                any = true;
            } else {
                decoded += text[k];
                ++k;
            }
        }
        if (!any) {
            decoded.resize(start);
            continue;
        }
        moved.push_back(
            {static_cast<size_t>(e.Index),
             {static_cast<uint32_t>(start), static_cast<uint32_t>(decoded.size() - start)}});
    }
    if (moved.empty() || text_.size() + decoded.size() > 0x7FFFFFFF) return;
    const auto base = static_cast<uint32_t>(text_.size());
    text_ += decoded;
    for (const uint32_t at : spelt) spelt_nbsp_.push_back(base + at);
    for (const auto& [index, ref] : moved) {
        if (index < elements_.size()) elements_[index].Text = {base + ref.begin, ref.size};
    }
}

namespace {

// The fix-ups work on a plan: one byte per record of the table as it will
// be, holding the record's tag, with kInserted set on the closers the passes
// add. Every inserted closer is a copy of the record it stands in front of,
// with its own text and tag; a later pass may insert in front of an earlier
// pass's closer, so a run of closers always ends at the record they copy.
constexpr uint8_t kInserted = 0x80;

TagID PlanTag(uint8_t entry) {
    return static_cast<TagID>(entry & ~kInserted);
}

// The plan with one `closer` in front of each entry listed in `before`
// (ascending, each at most once).
std::vector<uint8_t> WithClosers(std::vector<uint8_t> plan, const std::vector<uint32_t>& before,
                                 TagID closer) {
    if (before.empty()) return plan;
    std::vector<uint8_t> out;
    out.reserve(plan.size() + before.size());
    size_t next = 0;
    for (size_t k = 0; k < plan.size(); ++k) {
        if (next < before.size() && before[next] == k) {
            out.push_back(static_cast<uint8_t>(closer | kInserted));
            ++next;
        }
        out.push_back(plan[k]);
    }
    return out;
}

// A paragraph is closed in front of the next P, TABLE or "</TD>"; an
// author's "</P>" closes it, and the record right after that closer is not
// examined. After an insertion the record that caused it is examined next,
// so a P that ends a paragraph opens the next one. Every scan stops at the
// next P, so the pass is linear.
std::vector<uint32_t> ParagraphClosers(const std::vector<uint8_t>& plan) {
    std::vector<uint32_t> before;
    const size_t n = plan.size();
    size_t i = 0;
    while (i < n) {
        if (PlanTag(plan[i]) != tagP) {
            ++i;
            continue;
        }
        size_t j = i + 1;
        while (j < n) {
            const TagID id = PlanTag(plan[j]);
            if (id == tagPEnd || id == tagP || id == tagTable || id == tagTDEnd) break;
            ++j;
        }
        if (j == n) break;  // no closer and no later P
        if (PlanTag(plan[j]) == tagPEnd) {
            i = j + 2;
            continue;
        }
        before.push_back(static_cast<uint32_t>(j));
        i = j;
    }
    return before;
}

// The row and cell passes: `opener` is closed by `closer`, and an unclosed
// one is ended in front of any of `enders` at its own table depth; nested
// tables in between are skipped by counting TABLE and "</TABLE>".
//
// Scanned one opener at a time, a row left open before a nested table that
// is never closed reads to the end of the document, which makes the pass
// quadratic. Instead: the level of a record is the number of TABLE tags
// before it less the "</TABLE>" tags, and an opener's scan stops at the
// first later record on its own level that is the closer or an ender (a
// "</TABLE>" on that level is always an ender, so the scan never climbs
// below it). The levels of the openers still waiting for that record are
// kept on a stack, at most one opener per level, in one pass over the plan.
//
// This gives what inserting one closer at a time and scanning again gives:
// openers are themselves enders, so each opener's scan ends before the next
// opener on its level; an opener inside another one's scan stands on a
// higher level and its scan ends before the "</TABLE>" that leads back down,
// so no scan ever meets a closer inserted by an earlier one, and the levels
// do not change when closers go in.
std::vector<uint32_t> NestedClosers(const std::vector<uint8_t>& plan, TagID opener, TagID closer,
                                    std::initializer_list<TagID> enders) {
    std::vector<int64_t> waiting;  // levels, rising towards the top
    std::vector<uint32_t> before;
    int64_t level = 0;
    for (size_t j = 0; j < plan.size(); ++j) {
        const TagID id = PlanTag(plan[j]);
        bool ends = false;
        for (TagID e : enders) ends = ends || id == e;
        if (ends || id == closer) {
            if (!waiting.empty() && waiting.back() == level) {
                if (ends) before.push_back(static_cast<uint32_t>(j));
                waiting.pop_back();
            }
            if (id == opener) waiting.push_back(level);
        }
        if (id == tagTable) {
            ++level;
        } else if (id == tagTableEnd) {
            --level;
        }
    }
    return before;
}

// The three passes in order: paragraphs, rows, cells. The cell pass sees
// the rows' inserted "</TR>" as enders.
std::vector<uint8_t> PlanClosers(std::vector<uint8_t> tags) {
    std::vector<uint8_t> plan = std::move(tags);
    std::vector<uint32_t> before = ParagraphClosers(plan);
    plan = WithClosers(std::move(plan), before, tagPEnd);
    before = NestedClosers(plan, tagTR, tagTREnd, {tagTR, tagTableEnd});
    plan = WithClosers(std::move(plan), before, tagTREnd);
    before = NestedClosers(plan, tagTD, tagTDEnd, {tagTD, tagTREnd, tagTableEnd});
    return WithClosers(std::move(plan), before, tagTDEnd);
}

}  // namespace

void HTMLLabel::InsertMissingCloseTags() {
    const size_t count = elements_.size();
    std::vector<uint8_t> tags(count);
    for (size_t k = 0; k < count; ++k) {
        // A value outside the enum plays no part in the fix-ups, and must
        // not reach the plan's flag bit.
        const TagID id = elements_[k].TagID;
        tags[k] = static_cast<uint8_t>(id < kTagIDCount ? id : tagUnknown);
    }
    const std::vector<uint8_t> plan = PlanClosers(std::move(tags));
    if (plan.size() == count) return;

    // BodyIndex names the BODY element, so insertions in front of it move it
    // along; left alone it would point at whatever record slid into its place.
    size_t body = count;
    if (body_index_ >= 0 && body_index_ < ElementCount() &&
        elements_[static_cast<size_t>(body_index_)].TagID == tagBody) {
        body = static_cast<size_t>(body_index_);
    }

    // Tokenize made room, so this moves records within the table. Filling
    // from the end moves every original record up to its place before its
    // old slot is needed, and each closer copies the record after it,
    // which is in place by then.
    elements_.resize(plan.size());
    size_t original = count;
    for (size_t at = plan.size(); at-- > 0;) {
        if ((plan[at] & kInserted) != 0) {
            HTMLElement copy = elements_[at + 1];
            copy.TagID = PlanTag(plan[at]);
            copy.Text = ClosingTagText(copy.TagID);
            elements_[at] = copy;
        } else {
            --original;
            if (at != original) elements_[at] = elements_[original];
            if (original == body) body_index_ = static_cast<int32_t>(at);
        }
        elements_[at].Index = static_cast<int32_t>(at);
    }
}

}  // namespace html_label
