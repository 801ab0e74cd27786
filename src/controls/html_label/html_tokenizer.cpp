// Normalisation, tokenizing, tag classification and the closing-tag fix-ups.
//
// The parser never rejects a document: unknown tags become tagUnknown, a "<"
// with no ">" after it is skipped, and text outside the outermost tags is
// dropped. Every loop here advances on every step, so no input can make it
// spin, and every read is bounded by the text or table size.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>

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

void HTMLLabel::Tokenize() {
    const std::string_view s = DocumentHTMLText();
    const size_t len = s.size();
    elements_.clear();
    children_.clear();

    auto append = [&](size_t from, size_t to, bool no_space) {  // 1-based, inclusive
        HTMLElement& e = elements_.emplace_back();
        e.Text = {static_cast<uint32_t>(from - 1), static_cast<uint32_t>(to - from + 1)};
        e.Index = static_cast<int32_t>(elements_.size() - 1);
        e.NoSpaceBefore = no_space;
    };

    // The first ">" at or after a position is remembered: positions only
    // move forward, so a stray "<" with no ">" after it costs no second
    // search to the end of the text, and the cut stays linear.
    size_t gt_from = 0;  // 0 until the first search; then InStr(gt_from, s, ">") == gt_at
    size_t gt_at = 0;
    auto next_gt = [&](size_t from) {
        if (gt_from == 0 || from < gt_from || (gt_at != 0 && gt_at < from)) {
            gt_at = InStr(from, s, ">");
            gt_from = from;
        }
        return gt_at;
    };

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
            append(i, j, false);
            if (i > 1) sp = s[i - 2] != ' ';
            j = j + 1;
            i = j;
        } else {
            i = i + 1;
        }
        j = InStr(i, s, "<");
        if (j > i) {
            std::string_view run = s.substr(i - 1, j - i);
            if (!TrimBlanks(run).empty()) append(i, j - 1, sp);
            i = j;
        } else if (j == 0) {
            j = len;
        }
    }
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

void HTMLLabel::ClassifyAll() {
    for (HTMLElement& e : elements_) ClassifyElement(e);
}

namespace {

// One fix-up pass over a table. Every record a pass inserts is a copy of the
// record that stood at the insertion point, with a new Text and TagID; and
// all the records a pass inserts are of one kind. So instead of moving the
// whole table up at each insertion (quadratic on long documents full of
// unclosed cells), the pass only counts the copies waiting before each
// original record and builds the new table once at the end. Positions walk
// this virtual table exactly as they would walk the real one.
class FixupTable {
  public:
    FixupTable(std::vector<HTMLElement>& records, TagID inserted)
        : records_(records), inserted_(inserted), before_(records.size(), 0) {}

    // (k, sub): sub < before_[k] is the sub-th copy waiting before original
    // record k; sub == before_[k] is the original record k itself.
    struct Pos {
        size_t k = 0;
        int32_t sub = 0;
    };

    Pos Start() const { return {0, 0}; }
    bool Valid(Pos p) const { return p.k < records_.size(); }
    Pos Next(Pos p) const {
        if (p.sub < before_[p.k]) return {p.k, p.sub + 1};
        return {p.k + 1, 0};
    }
    TagID At(Pos p) const { return p.sub < before_[p.k] ? inserted_ : records_[p.k].TagID; }
    // A new copy takes position p; whatever stood there moves up by one.
    void InsertAt(Pos p) {
        ++before_[p.k];
        ++inserted_count_;
    }

    // Where original record k stands once the copies are in place.
    int32_t NewIndexOf(size_t k) const {
        int64_t n = static_cast<int64_t>(k);
        for (size_t m = 0; m <= k && m < before_.size(); ++m) n += before_[m];
        return static_cast<int32_t>(n);
    }

    // Moves the records into the new table; the source is left empty.
    std::vector<HTMLElement> Build(TextRef text) {
        if (inserted_count_ == 0) return std::move(records_);
        std::vector<HTMLElement> out;
        out.reserve(records_.size() + inserted_count_);
        for (size_t k = 0; k < records_.size(); ++k) {
            for (int32_t n = 0; n < before_[k]; ++n) {
                HTMLElement copy = records_[k];
                copy.Text = text;
                copy.TagID = inserted_;
                out.push_back(std::move(copy));
            }
            out.push_back(std::move(records_[k]));
        }
        for (size_t k = 0; k < out.size(); ++k) out[k].Index = static_cast<int32_t>(k);
        return out;
    }

  private:
    std::vector<HTMLElement>& records_;
    TagID inserted_;
    std::vector<int32_t> before_;
    size_t inserted_count_ = 0;
};

// `tracked` is an index into `records` (or -1) that follows its record.
std::vector<HTMLElement> ParagraphPass(std::vector<HTMLElement>& records, TextRef closer_text,
                                       int32_t& tracked) {
    FixupTable t(records, tagPEnd);
    for (auto i = t.Start(); t.Valid(i); i = t.Next(i)) {
        if (t.At(i) != tagP) continue;
        for (auto j = t.Next(i); t.Valid(j); j = t.Next(j)) {
            const TagID id = t.At(j);
            if (id == tagPEnd) {
                // The record right after the closer is not examined.
                i = t.Next(j);
                break;
            }
            if (id == tagP || id == tagTable || id == tagTDEnd) {
                t.InsertAt(j);
                i = j;  // the next record examined is the one that caused it
                break;
            }
        }
        if (!t.Valid(i)) break;
    }
    if (tracked >= 0) tracked = t.NewIndexOf(static_cast<size_t>(tracked));
    return t.Build(closer_text);
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
// below it). The openers waiting for that record are kept on a stack, at
// most one per level, in one pass over the table.
//
// This gives what inserting one closer at a time and scanning again gives:
// openers are themselves enders, so each opener's scan ends before the next
// opener on its level; an opener inside another one's scan stands on a
// higher level and its scan ends before the "</TABLE>" that leads back down,
// so no scan ever meets a closer inserted by an earlier one, and the levels
// do not change when closers go in.
std::vector<HTMLElement> NestedPass(std::vector<HTMLElement>& records, TagID opener, TagID closer,
                                    std::initializer_list<TagID> enders, TextRef closer_text,
                                    int32_t& tracked) {
    FixupTable t(records, closer);
    struct Waiting {
        int64_t level;
        size_t at;
    };
    std::vector<Waiting> waiting;
    int64_t level = 0;
    for (size_t j = 0; j < records.size(); ++j) {
        const TagID id = records[j].TagID;
        bool ends = false;
        for (TagID e : enders) ends = ends || id == e;
        if (ends || id == closer) {
            if (!waiting.empty() && waiting.back().level == level) {
                if (ends) t.InsertAt({j, 0});
                waiting.pop_back();
            }
            if (id == opener) waiting.push_back({level, j});
        }
        if (id == tagTable) {
            ++level;
        } else if (id == tagTableEnd) {
            --level;
        }
    }
    if (tracked >= 0) tracked = t.NewIndexOf(static_cast<size_t>(tracked));
    return t.Build(closer_text);
}

}  // namespace

void HTMLLabel::InsertMissingCloseTags() {
    // BodyIndex names the BODY element, so insertions in front of it move it
    // along; left alone it would point at whatever record slid into its place.
    int32_t body = -1;
    if (body_index_ >= 0 && body_index_ < ElementCount() &&
        elements_[static_cast<size_t>(body_index_)].TagID == tagBody) {
        body = body_index_;
    }
    elements_ = ParagraphPass(elements_, ClosingTagText(tagPEnd), body);
    elements_ = NestedPass(elements_, tagTR, tagTREnd, {tagTR, tagTableEnd},
                           ClosingTagText(tagTREnd), body);
    elements_ = NestedPass(elements_, tagTD, tagTDEnd, {tagTD, tagTREnd, tagTableEnd},
                           ClosingTagText(tagTDEnd), body);
    if (body >= 0) body_index_ = body;
}

}  // namespace html_label
