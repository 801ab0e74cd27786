// Converting text files between Preeti bytes and Unicode (UTF-8), a piece at
// a time, for kovelin-convert.
//
// Text arrives in pieces of any size and is converted in spans that end at a
// line break or a space, so a syllable is never cut between two spans; a
// span that finds neither within kMaxSpan bytes is cut at a syllable (Preeti)
// or character (UTF-8) boundary instead. Memory stays within a few spans
// however long the input or its lines.
//
// A byte order mark opening UTF-8 input is dropped. Characters that have no form in the other
// encoding are left out of the output and listed with their line and column (1-based, counted in
// characters of the input), the first kMaxReported of them; all are counted.
// Preeti input has no such characters except the five bytes Windows-1252
// leaves undefined and control bytes other than tab, CR and LF.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace app {

enum class ConvertDirection { kPreetiToUnicode, kUnicodeToPreeti };

struct Unconvertible {
    uint64_t line = 0;
    uint64_t column = 0;
    std::string what;  // "U+0041" for a character, "byte 0x81" for a byte
};

class TextConverter {
  public:
    static constexpr size_t kMaxSpan = 64 * 1024;
    static constexpr size_t kMaxReported = 100;

    explicit TextConverter(ConvertDirection direction) : direction_(direction) {}

    // Converts what of `piece` can be converted now, appending to `out`.
    void Feed(std::string_view piece, std::string& out);
    // Converts the rest at the end of the input.
    void Finish(std::string& out);

    const std::vector<Unconvertible>& reported() const { return reported_; }
    uint64_t unconvertible_count() const { return count_; }

  private:
    // The length of the span to convert from the front of `pending_`, 0
    // when more input is needed first.
    size_t SpanEnd(bool at_end) const;
    void Convert(std::string_view span, std::string& out);
    void ConvertPreeti(std::string_view span, std::string& out);
    void ConvertUnicode(std::string_view span, std::string& out);
    void Report(std::string what);
    // Moves the line and column past `text` of the input.
    void Advance(std::string_view text);

    ConvertDirection direction_;
    std::string pending_;
    bool past_start_ = false;  // a byte order mark is no longer possible
    uint64_t line_ = 1;
    uint64_t column_ = 1;
    uint64_t count_ = 0;
    std::vector<Unconvertible> reported_;
};

}  // namespace app
