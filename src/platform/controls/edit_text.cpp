// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/controls/edit_text.h"

#include "platform/preeti/preeti.h"

namespace platform::controls {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// A burst longer than this (UTF-8 bytes) settles its head.
constexpr size_t kMaxOpenBurst = 96;

// Whether a syllable may begin with this character: a consonant or an
// independent vowel.
bool StartsSyllable(char32_t cp) {
    return (cp >= 0x0904 && cp <= 0x0939) || (cp >= 0x0958 && cp <= 0x0961) ||
           (cp >= 0x0972 && cp <= 0x097F);
}

}  // namespace

std::string WithoutControls(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) out += c;
    return out;
}

bool IsDevanagariInput(uint32_t cp) {
    return (cp >= 0x0900 && cp <= 0x097F) || cp == 0x200C || cp == 0x200D;
}

// --- EditText ---------------------------------------------------------------

std::string EditText::sel_text() const {
    return text_.substr(static_cast<size_t>(sel_start()), static_cast<size_t>(sel_length()));
}

void EditText::SetText(std::string_view bytes, bool select) {
    text_.assign(bytes.substr(0, static_cast<size_t>(std::max(0, max_length_))));
    caret_ = size();
    anchor_ = select ? 0 : caret_;
    unchanged_ = 0;
    ++serial_;
}

bool EditText::Edit(int32_t from, int32_t to, std::string_view bytes) {
    const int32_t len = size();
    from = std::clamp(from, 0, len);
    to = std::clamp(to, from, len);
    const int32_t room = std::max(0, max_length_ - (len - (to - from)));
    if (static_cast<int32_t>(bytes.size()) > room)
        bytes = bytes.substr(0, static_cast<size_t>(room));
    if (from == to && bytes.empty()) return false;
    text_.replace(static_cast<size_t>(from), static_cast<size_t>(to - from), bytes);
    unchanged_ = std::min(unchanged_, from);
    caret_ = anchor_ = from + static_cast<int32_t>(bytes.size());
    ++serial_;
    return true;
}

void EditText::MoveCaret(int32_t pos, bool extend) {
    caret_ = std::clamp(pos, 0, size());
    if (!extend) anchor_ = caret_;
    ++serial_;
}

void EditText::SetSelLength(int32_t length) {
    const int32_t start = sel_start();
    anchor_ = start;
    caret_ = std::clamp(start + std::max(0, length), start, size());
    ++serial_;
}

void EditText::SelectAll() {
    anchor_ = 0;
    MoveCaret(size(), true);
}

bool EditText::Backspace() {
    if (sel_length() > 0) return ReplaceSelection({});
    return caret_ > 0 && Edit(caret_ - 1, caret_, {});
}

bool EditText::Delete() {
    if (sel_length() > 0) return ReplaceSelection({});
    return Edit(caret_, caret_ + 1, {});
}

int32_t EditText::WordLeft(int32_t from) const {
    int32_t i = std::clamp(from, 0, size());
    while (i > 0 && IsBlank(text_[static_cast<size_t>(i - 1)])) --i;
    while (i > 0 && !IsBlank(text_[static_cast<size_t>(i - 1)])) --i;
    return i;
}

int32_t EditText::WordRight(int32_t from) const {
    const int32_t n = size();
    int32_t i = std::clamp(from, 0, n);
    while (i < n && !IsBlank(text_[static_cast<size_t>(i)])) ++i;
    while (i < n && IsBlank(text_[static_cast<size_t>(i)])) ++i;
    return i;
}

void EditText::SelectWordAt(int32_t pos) {
    const int32_t n = size();
    if (n == 0) return;
    const int32_t at = std::clamp(pos == n ? pos - 1 : pos, 0, n - 1);
    const bool blank = IsBlank(text_[static_cast<size_t>(at)]);
    int32_t start = at, end = at + 1;
    while (start > 0 && IsBlank(text_[static_cast<size_t>(start - 1)]) == blank) --start;
    while (end < n && IsBlank(text_[static_cast<size_t>(end)]) == blank) ++end;
    anchor_ = start;
    MoveCaret(end, true);
}

// --- PreetiComposer ----------------------------------------------------------

bool PreetiComposer::Type(EditText& text, uint32_t cp, bool preeti_face) {
    if (IsDevanagariInput(cp)) return preeti_face && TypeDevanagari(text, cp);
    std::string utf8;
    preeti::AppendUtf8(utf8, static_cast<char32_t>(cp));
    auto bytes = preeti::Utf8ToCp1252(utf8, true);
    if (!bytes || bytes->size() != 1 || static_cast<unsigned char>((*bytes)[0]) < 0x20)
        return false;
    return text.ReplaceSelection(*bytes);
}

bool PreetiComposer::TypeDevanagari(EditText& text, uint32_t cp) {
    const bool continues = !burst_.empty() && serial_ == text.serial() && text.sel_length() == 0 &&
                           text.caret() == start_ + length_;
    if (!continues) {
        // A new burst replaces the selection, if any.
        burst_.clear();
        start_ = text.sel_start();
        length_ = text.sel_length();
    }
    std::string single;
    preeti::AppendUtf8(single, static_cast<char32_t>(cp));
    std::string burst = burst_ + single;
    int32_t start = start_, length = length_;
    auto bytes = preeti::FromUnicode(burst);
    if (!bytes) {
        // The burst cannot take this character; start a new one after it.
        bytes = preeti::FromUnicode(single);
        if (!bytes) return false;
        burst = single;
        if (continues) {
            start += length;
            length = 0;
        }
    }
    // A syllable that no longer fits is refused whole: cutting it would
    // leave a different letter than the one typed.
    if (text.size() - length + static_cast<int32_t>(bytes->size()) > text.max_length())
        return false;
    if (!text.Edit(start, start + length, *bytes)) return false;
    burst_ = std::move(burst);
    start_ = start;
    length_ = static_cast<int32_t>(bytes->size());
    serial_ = text.serial();
    if (burst_.size() > kMaxOpenBurst) SettleHead(text);
    return true;
}

void PreetiComposer::SettleHead(const EditText& text) {
    const std::string_view written =
        std::string_view(text.text())
            .substr(static_cast<size_t>(start_), static_cast<size_t>(length_));
    // Cuts before a syllable's first character (not joined to what comes
    // before by a virama or a joiner), from the middle on; a cut holds when
    // the two halves convert to exactly the bytes in the text.
    char32_t previous = 0;
    int tries = 0;
    for (size_t at = 0; at < burst_.size() && tries < 4;) {
        char32_t cp = 0;
        const size_t len = preeti::DecodeUtf8(burst_, at, &cp);
        if (len == 0) return;
        if (at >= burst_.size() / 2 && StartsSyllable(cp) && previous != 0x094D &&
            previous != 0x200C && previous != 0x200D) {
            ++tries;
            const auto head = preeti::FromUnicode(std::string_view(burst_).substr(0, at));
            const auto tail = preeti::FromUnicode(std::string_view(burst_).substr(at));
            if (head && tail && head->size() + tail->size() == written.size() &&
                written.starts_with(*head) && written.ends_with(*tail)) {
                burst_.erase(0, at);
                start_ += static_cast<int32_t>(head->size());
                length_ -= static_cast<int32_t>(head->size());
                return;
            }
        }
        previous = cp;
        at += len;
    }
}

}  // namespace platform::controls
