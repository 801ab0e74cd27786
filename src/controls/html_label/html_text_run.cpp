// LayoutTextRun: a run of text and the inline tags inside it, broken into
// lines by a greedy word fill and drawn with left, right or centred
// alignment. Words are read straight from the element's text (a word is the
// bytes between two blanks, empty ones included) and lines are kept in a
// list reused from run to run, so drawing a run allocates nothing once the
// buffers have grown.
#include <algorithm>
#include <cmath>
#include <limits>

#include "controls/html_label/html_label.h"
#include "controls/html_label/html_layout.h"

namespace html_label {

using detail::Narrow;
using detail::Round;

namespace {

// Whether a word is only full stops and commas: the marks that close a
// sentence or a clause both in Latin text and in Preeti bytes (where "." is
// the danda).
bool IsClosingMark(std::string_view word) {
    if (word.empty() || word.size() > 2) return false;
    return word.find_first_not_of(".,") == std::string_view::npos;
}

// The end of the word that starts at `start`: the next blank or the end.
size_t WordEnd(std::string_view text, size_t start) {
    const size_t blank = text.find(' ', start);
    return blank == std::string_view::npos ? text.size() : blank;
}

}  // namespace

std::string_view HTMLLayout::Shown(std::string_view word) {
    size_t at = word.find(kNoBreakSpace);
    if (at == std::string_view::npos) return word;
    shown_.clear();
    size_t from = 0;
    for (; at != std::string_view::npos; at = word.find(kNoBreakSpace, at + kNoBreakSpace.size())) {
        if (!label_->IsNoBreakSpace(word, at)) continue;
        shown_.append(word.substr(from, at - from));
        shown_.push_back(' ');
        from = at + kNoBreakSpace.size();
    }
    if (from == 0) return word;
    shown_.append(word.substr(from));
    return shown_;
}

void HTMLLayout::ApplyInlineTag(int32_t i) {
    const HTMLElement& e = E(i);
    switch (e.TagID) {
        case tagBold:
        case tagBoldEnd:
            font_.bold = e.TagID == tagBold;
            SyncFont();
            break;
        case tagItalic:
        case tagItalicEnd:
            font_.italic = e.TagID == tagItalic;
            SyncFont();
            break;
        case tagUnderline:
        case tagUnderlineEnd:
            font_.underline = e.TagID == tagUnderline;
            SyncFont();
            break;
        case tagFont:
            SetFontFace(label_->View(e.FontFace));
            SetFontSize(e.FontSize);
            fore_ = e.Color;
            s_.CurrentFontSize = e.FontSize;
            Remeasure();
            s_.IndentUnit = MeasureIndentUnit();
            break;
        case tagFontEnd:
            ResetFont();
            s_.CurrentFontSize = label_->DefaultFontSize();
            break;
        case tagA:
            fore_ = label_->LinkColor();
            s_.InLink = true;
            break;
        case tagAEnd:
            font_.underline = false;
            SyncFont();
            fore_ = label_->TextColor();
            s_.InLink = false;
            break;
        case tagBig:
        case tagSmall:
            SetFontSize(e.FontSize);
            break;
        case tagBigEnd:
        case tagSmallEnd:
            Remeasure();
            EndSizedText();
            break;
        default:
            // SUB, SUP and unknown tags change nothing.
            break;
    }
}

int32_t HTMLLayout::LayoutTextRun(int32_t first, int64_t left, int64_t gap) {
    const auto count = static_cast<int32_t>(elements_->size());
    const int64_t right = s_.RightLimit;

    // --- measuring: where the lines break ---------------------------------
    saved_font_ = font_;
    const platform::Color saved_fore = fore_;
    const bool saved_in_link = s_.InLink;
    int64_t indent = E(first).Indent;
    // A run that starts where a line already has content (after a list
    // marker or an image) is not aligned. A pen at the left edge, or at the
    // run's own indentation (a fresh line inside a list or a quotation),
    // starts a line like any other. After a list marker (whose item stored
    // the pen as the indentation) the later lines start under the first
    // word; after other content, at the run's indentation. Both phases use
    // the same start.
    const int64_t pen_at_call = s_.PenX;
    const bool continues_line =
        pen_at_call != left && pen_at_call != left - gap && pen_at_call != left + indent;
    if (continues_line && indent == pen_at_call) indent = pen_at_call - left;
    lines_.clear();

    int32_t el = first;
    size_t start = 0;
    RunLine line{first, 0, first, 0, s_.PenX};
    // What the line's text would hold: whether it has any character yet,
    // and whether its last one is a blank.
    bool filled = false;
    bool ends_blank = false;
    int32_t next = count;
    // The line as it stood before its last word was added, so that a
    // closing mark that does not fit can take that word with it to the
    // next line.
    struct Before {
        bool valid = false;  // the word was not the line's first
        int32_t element = 0;
        size_t start = 0;
        RunLine line;
        bool filled = false;
        bool ends_blank = false;
    } before;
    auto close_line = [&] {
        if (ends_blank) line.EndX -= Round(TextWidth(" "));
        lines_.push_back(line);
    };

    for (;;) {
        const HTMLElement& e = E(el);
        const std::string_view text = TextOf(e);
        const size_t stop = WordEnd(text, start);
        const std::string_view word = text.substr(start, stop - start);
        const bool first_word = start == 0;
        const bool separator = filled && !ends_blank && !e.NoSpaceBefore;
        // The fit test counts the blank that placing the word would add,
        // so that a word fits only when its right edge plus the gap stays
        // left of the right limit, whether or not its element follows a tag
        // without a blank.
        const bool blank_before = separator || !first_word;

        double width;
        if (filled && blank_before) {
            shown_.clear();
            shown_.push_back(' ');
            shown_.append(word);
            width = TextWidth(shown_);
        } else {
            width = TextWidth(word);
        }
        // A closing mark on its own (a full stop, a danda, a comma) may hang
        // into the gap rather than start a line by itself.
        const int64_t margin = IsClosingMark(word) ? 0 : gap;
        if (filled && static_cast<double>(line.EndX) + width + static_cast<double>(margin) >=
                          static_cast<double>(right)) {
            // The line is full; the word opens the next one. A word too wide
            // for an empty line is placed anyway. A closing mark does not
            // open a line: the word before it (of the same text, and not the
            // line's first) goes down with it.
            if (margin == 0 && before.valid && before.element == el) {
                line = before.line;
                filled = before.filled;
                ends_blank = before.ends_blank;
                start = before.start;
                before.valid = false;
            }
            close_line();
            line = RunLine{el, static_cast<uint32_t>(start), el, static_cast<uint32_t>(start),
                           left + indent};
            filled = false;
            ends_blank = false;
            continue;
        }

        before = {filled, el, start, line, filled, ends_blank};
        line.EndElement = el;
        line.EndWord = static_cast<uint32_t>(start);
        if (blank_before) {
            line.EndX += Round(TextWidth(" "));
            filled = true;
            ends_blank = true;
        }
        line.EndX += Round(TextWidth(Shown(word)));
        if (!word.empty()) {
            filled = true;
            ends_blank = false;
        }
        if (stop < text.size()) {
            start = stop + 1;
            continue;
        }

        // The element's last word: go on through the inline tags after it.
        int32_t j = el + 1;
        bool more_text = false;
        while (j < count) {
            const HTMLElement& n = E(j);
            if (!n.IsTag) {
                more_text = true;
                break;
            }
            if (IsInlineTag(n.TagID) || n.TagID == tagUnknown) {
                ApplyInlineTag(j);
                line.EndElement = j;
                line.EndWord = 0;
                ++j;
            } else if (n.TagID == tagScript) {
                j = SkipScript(j);
            } else {
                break;
            }
        }
        if (!more_text) {
            next = j;
            close_line();
            break;
        }
        el = j;
        start = 0;
    }

    // --- drawing: the same tags again, in the font the run started with ---
    font_ = saved_font_;
    SyncFont();
    fore_ = saved_fore;
    s_.InLink = saved_in_link;
    const bool anchors = label_->EnableAnchors();
    const int64_t spacing = label_->DefaultSpacing();

    for (size_t li = 0; li < lines_.size(); ++li) {
        const RunLine& l = lines_[li];
        if (li == 0 && continues_line) {
            // The pen stays where the line's content ends.
        } else if (s_.AlignRightOn) {
            s_.PenX = right + left - l.EndX - gap;
        } else if (!s_.CenterOn) {
            s_.PenX = left + indent;
        } else {
            s_.PenX = Round(static_cast<double>(right - l.EndX) / 2 + static_cast<double>(left));
        }
        blank_emitted_ = false;
        blank_owed_ = false;
        last_underlined_ = false;

        for (int32_t j = l.StartElement; j <= l.EndElement && j < count; ++j) {
            HTMLElement& n = E(j);
            if (n.IsTag) {
                n.Left = Narrow(s_.PenX);
                n.Top = Narrow(s_.PenY);
                n.Indent = Narrow(s_.RunIndent);
                n.Bottom = Narrow(s_.PenY + s_.LineHeight + spacing);
                n.Right = Narrow(s_.PenX);
                if (IsInlineTag(n.TagID)) ApplyInlineTag(j);
                if (anchors && n.TagID == tagA) {
                    s_.CurrentAnchor = j;
                    s_.LinkEndX = s_.PenX;
                    n.Left = Narrow(s_.PenX);
                } else if (anchors && n.TagID == tagAEnd && s_.CurrentAnchor >= 0) {
                    HTMLElement& anchor = E(s_.CurrentAnchor);
                    anchor.Bottom = Narrow(s_.PenY + s_.LineHeight + spacing);
                    anchor.Right = Narrow(s_.LinkEndX);
                    s_.CurrentAnchor = -1;
                }
                if (n.TagID == tagScript) j = SkipScript(j) - 1;
                continue;
            }
            const std::string_view text = TextOf(n);
            size_t from = j == l.StartElement ? l.StartWord : 0;
            const size_t last = j == l.EndElement ? l.EndWord : std::string_view::npos;
            for (;;) {
                const size_t stop = WordEnd(text, from);
                DrawWord(n, static_cast<uint32_t>(from), text.substr(from, stop - from), l, left,
                         indent, gap);
                if (stop >= text.size() || (last != std::string_view::npos && from >= last)) break;
                from = stop + 1;
            }
            n.Bottom = Narrow(s_.PenY + 2 * s_.LineHeight + spacing);
            n.Right = Narrow(s_.PenX);
        }

        s_.PenY += s_.LineHeight;
        current_y_ = static_cast<double>(s_.PenY);
        s_.PenX = left + indent;
    }
    s_.PenY -= s_.LineHeight;
    s_.JustBroke = false;
    return next;
}

void HTMLLayout::DrawWord(const HTMLElement& e, uint32_t word_start, std::string_view word,
                          const RunLine& line, int64_t left, int64_t indent, int64_t gap) {
    const int64_t right = s_.RightLimit;
    current_x_ = static_cast<double>(s_.PenX);
    current_y_ = static_cast<double>(s_.PenY);
    const bool first_word = word_start == 0;
    if (s_.PenX > left + indent && (!e.NoSpaceBefore || !first_word || blank_owed_) &&
        !blank_emitted_) {
        if (s_.InLink) {
            // A link's underline does not begin with a blank.
            current_x_ += TextWidth(" ");
            blank_emitted_ = true;
        } else if (!word.empty()) {
            const double pen = static_cast<double>(s_.PenX - 1);
            const bool right_start =
                s_.AlignRightOn && pen <= static_cast<double>(right - (line.EndX - left) - gap);
            const bool centre_start =
                s_.CenterOn &&
                static_cast<double>(left) + static_cast<double>(right - line.EndX) / 2 >= pen;
            const bool leave_out = (s_.AlignRightOn && s_.CenterOn) ? (right_start && centre_start)
                                                                    : (right_start || centre_start);
            if (!leave_out) {
                // A blank between an underlined word and one that is not
                // underlined is not underlined either.
                const bool underline = font_.underline;
                if (underline && !last_underlined_) {
                    font_.underline = false;
                    SyncFont();
                }
                Print(" ");
                if (font_.underline != underline) {
                    font_.underline = underline;
                    SyncFont();
                }
                blank_emitted_ = true;
            }
        } else {
            // The measuring pass counted this blank; it is drawn before
            // the next word.
            blank_owed_ = true;
        }
    }
    if (s_.InLink && label_->EnableAnchors() && s_.CurrentAnchor >= 0) {
        E(s_.CurrentAnchor).Left = Narrow(s_.PenX);
    }
    if (!word.empty()) {
        if (s_.InLink) {
            font_.underline = label_->UnderlineLinks();
            SyncFont();
            s_.InLink = false;
        }
        Print(Shown(word));
        blank_emitted_ = false;
        blank_owed_ = false;
        last_underlined_ = font_.underline;
    }
    s_.PenX = Round(current_x_);
    if (s_.CurrentAnchor >= 0) s_.LinkEndX = s_.PenX;
}

}  // namespace html_label
