// Converting text files between Preeti and Unicode in pieces: the result
// does not depend on where the input was cut, and characters with no form
// in the other encoding are left out and reported where they were.

#include "app/text_conversion.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/preeti/preeti.h"

namespace {

// Feeds `input` in pieces of `piece` bytes.
std::string Convert(app::TextConverter& converter, std::string_view input, size_t piece) {
    std::string out;
    for (size_t at = 0; at < input.size(); at += piece)
        converter.Feed(input.substr(at, piece), out);
    converter.Finish(out);
    return out;
}

TEST(TextConverter, BothWaysWhateverThePieces) {
    const std::string unicode = "नेपाल एउटा देश हो।\nबुद्धि र क्षेत्र\n\nशब्दकोश";
    const std::string preeti = preeti::FromUnicode(unicode).value();
    for (size_t piece : {size_t{1}, size_t{2}, size_t{7}, size_t{4096}}) {
        app::TextConverter to_preeti(app::ConvertDirection::kUnicodeToPreeti);
        EXPECT_EQ(Convert(to_preeti, unicode, piece), preeti) << piece;
        EXPECT_EQ(to_preeti.unconvertible_count(), 0u);
        app::TextConverter to_unicode(app::ConvertDirection::kPreetiToUnicode);
        EXPECT_EQ(Convert(to_unicode, preeti, piece), unicode) << piece;
    }
    // A byte order mark is dropped, even split across pieces.
    app::TextConverter bom(app::ConvertDirection::kUnicodeToPreeti);
    EXPECT_EQ(Convert(bom, "\xEF\xBB\xBFघर", 1), "3/");
}

TEST(TextConverter, ReportsWhatHasNoFormAndGoesOn) {
    app::TextConverter to_preeti(app::ConvertDirection::kUnicodeToPreeti);
    EXPECT_EQ(Convert(to_preeti, "घर A\nपानी 中\xFF", 3), "3/ \nkfgL ");
    const auto& r = to_preeti.reported();
    ASSERT_EQ(to_preeti.unconvertible_count(), 3u);
    EXPECT_EQ(r[0].what, "U+0041");
    EXPECT_EQ(r[0].line, 1u);
    EXPECT_EQ(r[0].column, 4u);
    EXPECT_EQ(r[1].what, "U+4E2D");
    EXPECT_EQ(r[1].line, 2u);
    EXPECT_EQ(r[1].column, 6u);
    EXPECT_EQ(r[2].what, "byte 0xFF");
    EXPECT_EQ(r[2].column, 7u);

    app::TextConverter to_unicode(app::ConvertDirection::kPreetiToUnicode);
    EXPECT_EQ(Convert(to_unicode, "3/\x81\x01\t", 2), "घर\t");
    ASSERT_EQ(to_unicode.unconvertible_count(), 2u);
    EXPECT_EQ(to_unicode.reported()[0].what, "byte 0x81");
    EXPECT_EQ(to_unicode.reported()[1].column, 4u);
}

TEST(TextConverter, LongLinesConvertInBoundedSpans) {
    // No space or line break for far more than a span: cut between
    // syllables, the result is the same as converting it whole.
    std::string unicode;
    while (unicode.size() < 3 * app::TextConverter::kMaxSpan) unicode += "क्षेत्रबुद्धिकि";
    const std::string preeti = preeti::FromUnicode(unicode).value();
    app::TextConverter to_unicode(app::ConvertDirection::kPreetiToUnicode);
    EXPECT_TRUE(Convert(to_unicode, preeti, 5000) == unicode);
    app::TextConverter to_preeti(app::ConvertDirection::kUnicodeToPreeti);
    EXPECT_TRUE(Convert(to_preeti, unicode, 5000) == preeti);
    // Only the first reports are kept; all are counted.
    app::TextConverter latin(app::ConvertDirection::kUnicodeToPreeti);
    EXPECT_EQ(Convert(latin, std::string(1000, 'x'), 100), "");
    EXPECT_EQ(latin.unconvertible_count(), 1000u);
    EXPECT_EQ(latin.reported().size(), app::TextConverter::kMaxReported);
}

}  // namespace
