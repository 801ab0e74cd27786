#include "app/text_conversion.h"

#include <cstdio>

#include "platform/preeti/preeti.h"

namespace app {
namespace {

bool IsUndefinedCp1252(uint8_t byte) {
    return byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D;
}

bool IsStrayControl(uint8_t byte) {
    return (byte < 0x20 && byte != '\t' && byte != '\r' && byte != '\n') || byte == 0x7F;
}

std::string CodePointName(char32_t cp) {
    char name[16];
    std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(cp));
    return name;
}

std::string ByteName(uint8_t byte) {
    char name[16];
    std::snprintf(name, sizeof name, "byte 0x%02X", byte);
    return name;
}

// The length of the UTF-8 character starting at `pos`, or 1 for a byte that
// starts none.
size_t Utf8Length(std::string_view text, size_t pos) {
    char32_t cp = 0;
    const size_t length = preeti::DecodeUtf8(text, pos, &cp);
    return length == 0 ? 1 : length;
}

// Devanagari signs, the nukta, the halant and the joiners: characters that
// belong to the cluster before them.
bool JoinsPrevious(char32_t cp) {
    return (cp >= 0x900 && cp <= 0x903) || (cp >= 0x93A && cp <= 0x94F) ||
           (cp >= 0x951 && cp <= 0x957) || cp == 0x962 || cp == 0x963 || cp == 0x200C ||
           cp == 0x200D;
}

}  // namespace

void TextConverter::Feed(std::string_view piece, std::string& out) {
    pending_.append(piece);
    // A byte order mark at the start of UTF-8 input is no text.
    if (direction_ == ConvertDirection::kUnicodeToPreeti && !past_start_) {
        if (pending_.size() < 3 && std::string_view("\xEF\xBB\xBF").starts_with(pending_)) return;
        if (pending_.starts_with("\xEF\xBB\xBF")) pending_.erase(0, 3);
        past_start_ = true;
    }
    while (const size_t end = SpanEnd(false)) {
        Convert(std::string_view(pending_).substr(0, end), out);
        pending_.erase(0, end);
    }
}

void TextConverter::Finish(std::string& out) {
    while (!pending_.empty()) {
        const size_t end = SpanEnd(true);
        Convert(std::string_view(pending_).substr(0, end), out);
        pending_.erase(0, end);
    }
}

size_t TextConverter::SpanEnd(bool at_end) const {
    const std::string_view text = pending_;
    const size_t window = std::min(text.size(), kMaxSpan);
    // After the last line break or space in reach.
    const size_t cut = text.substr(0, window).find_last_of("\n ");
    if (cut != std::string_view::npos) return cut + 1;
    if (text.size() < kMaxSpan) return at_end ? text.size() : 0;
    // A long run without either: cut at the last boundary before the window
    // ends that keeps a syllable or a character whole.
    size_t end = 0;
    if (direction_ == ConvertDirection::kPreetiToUnicode) {
        for (size_t at = 0; at < window;) {
            const size_t next = preeti::SyllableEnd(text, at);
            if (next > window) break;
            end = next;
            at = next;
        }
    } else {
        // Before a character that starts a new cluster: no sign, and not
        // after a halant or a joiner.
        char32_t previous = 0;
        for (size_t at = 0; at < window;) {
            char32_t cp = 0;
            const size_t length = preeti::DecodeUtf8(text, at, &cp);
            if (at > 0 && !JoinsPrevious(cp) && previous != 0x94D && previous != 0x200C &&
                previous != 0x200D)
                end = at;
            previous = length == 0 ? 0 : cp;
            at += length == 0 ? 1 : length;
        }
    }
    return end > 0 ? end : window;
}

void TextConverter::Convert(std::string_view span, std::string& out) {
    if (direction_ == ConvertDirection::kPreetiToUnicode) {
        ConvertPreeti(span, out);
    } else {
        ConvertUnicode(span, out);
    }
}

void TextConverter::ConvertPreeti(std::string_view span, std::string& out) {
    size_t start = 0;
    for (size_t at = 0; at < span.size(); ++at) {
        const auto byte = static_cast<uint8_t>(span[at]);
        if (!IsUndefinedCp1252(byte) && !IsStrayControl(byte)) continue;
        preeti::AppendUnicode(span.substr(start, at - start), out);
        Advance(span.substr(start, at - start));
        Report(ByteName(byte));
        Advance(span.substr(at, 1));
        start = at + 1;
    }
    preeti::AppendUnicode(span.substr(start), out);
    Advance(span.substr(start));
}

void TextConverter::ConvertUnicode(std::string_view span, std::string& out) {
    // Each failure ends a piece at the character that stopped it; the piece
    // before it converts on its own.
    while (!span.empty()) {
        size_t bad = 0;
        if (std::optional<std::string> bytes = preeti::FromUnicode(span, &bad)) {
            out += *bytes;
            Advance(span);
            return;
        }
        bad = std::min(bad, span.size() - 1);
        // The text before may hold characters that a check of the whole
        // (invalid UTF-8 first) did not reach.
        if (bad > 0) ConvertUnicode(span.substr(0, bad), out);
        char32_t cp = 0;
        const size_t length = preeti::DecodeUtf8(span, bad, &cp);
        const size_t skip = length == 0 ? 1 : length;
        Report(length == 0 ? ByteName(static_cast<uint8_t>(span[bad])) : CodePointName(cp));
        Advance(span.substr(bad, skip));
        span.remove_prefix(bad + skip);
    }
}

void TextConverter::Report(std::string what) {
    ++count_;
    if (reported_.size() < kMaxReported) reported_.push_back({line_, column_, std::move(what)});
}

void TextConverter::Advance(std::string_view text) {
    for (size_t at = 0; at < text.size();) {
        const size_t length =
            direction_ == ConvertDirection::kUnicodeToPreeti ? Utf8Length(text, at) : 1;
        if (text[at] == '\n') {
            ++line_;
            column_ = 1;
        } else {
            ++column_;
        }
        at += length;
    }
}

}  // namespace app
