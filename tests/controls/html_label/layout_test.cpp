// Layout on the fixed-metrics face at 12 points (16 px): every character is
// 8 px wide and 16 px high, so a line is 16 + DefaultSpacing (4) = 20 px,
// the indentation unit 2 x 8 = 16 px, and every position below can be
// worked out by hand. Padding and spacing are 4 unless a test says else.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "controls/html_label/html_label.h"
#include "controls/html_label/html_picture.h"
#include "html_test_util.h"
#include "platform/dc.h"
#include "platform/text.h"
#include "platform/text/font_engine.h"

namespace html_label {
namespace {

using testing::Find;

constexpr platform::Color kBlack = 0x000000;
constexpr platform::Color kWhite = 0xFFFFFF;

class LayoutTest : public ::testing::Test {
  protected:
    void Load(const std::string& html, int32_t width = 200, int32_t height = 150) {
        ASSERT_TRUE(label_.SetDefaultFontName(platform::kTestFontName).ok());
        ASSERT_TRUE(label_.SetDefaultFontSize(12).ok());
        ASSERT_TRUE(label_.LoadDocument(html).ok());
        Render(width, height);
    }
    void Render(int32_t width, int32_t height) {
        platform::Surface screen(1, 1);
        const platform::DC reference(screen);
        picture_.Render(label_, reference, width, height);
    }
    platform::Color Pixel(int32_t x, int32_t y) const { return picture_.surface().pixel(x, y); }
    // The element of the given tag, counting from 0 in document order.
    const HTMLElement& Tag(TagID id, int nth = 0) const {
        for (const HTMLElement& e : label_.Elements()) {
            if (e.TagID == id && nth-- == 0) return e;
        }
        static const HTMLElement none;
        return none;
    }

    HTMLLabel label_;
    HTMLPicture picture_;
};

TEST_F(LayoutTest, ParagraphWrapsGreedilyAndDrawsEachWordWhereMeasured) {
    Load("<BODY BGCOLOR=white><P>aaaa bbbb cccc dddd eeee ffff gggg hhhh iiii jjjj</P>");
    // P: one line down to 24; the right limit is 200 - 4. Words of 32 px
    // and blanks of 8: a word fits while its end + the gap stays below 196.
    const HTMLElement& run = Find(label_, "aaaa bbbb cccc dddd eeee ffff gggg hhhh iiii jjjj");
    EXPECT_EQ(run.Top, 24);
    EXPECT_EQ(run.Left, 4);
    // Three lines, at 24, 44 and 64; the last ends after "jjjj" at 44 + 32.
    EXPECT_EQ(run.Bottom, 64 + 2 * 20 + 4);
    EXPECT_EQ(run.Right, 76);
    // Glyphs are boxes over the ascent (13 rows) leaving the cell's last
    // column free.
    for (int32_t x : {4, 44, 84, 124}) EXPECT_EQ(Pixel(x, 24), kBlack) << x;  // aaaa..dddd
    EXPECT_EQ(Pixel(36, 24), kWhite);   // the blank after aaaa
    EXPECT_EQ(Pixel(164, 24), kWhite);  // eeee did not fit on line 1
    EXPECT_EQ(Pixel(4, 44), kBlack);    // eeee starts line 2 without a blank
    EXPECT_EQ(Pixel(124, 44), kBlack);  // hhhh
    EXPECT_EQ(Pixel(44, 64), kBlack);   // jjjj
    EXPECT_EQ(Pixel(84, 64), kWhite);
    // The closing </P> advances once more; the content fits the viewport.
    EXPECT_EQ(label_.ContentHeight(), 150);
    EXPECT_EQ(picture_.height(), 150);
}

TEST_F(LayoutTest, AlignmentRightAndCentre) {
    Load("<BODY BGCOLOR=white><P ALIGN=RIGHT>ab cd</P><P ALIGN=CENTER>ab cd</P><P>ab cd</P>");
    // The line measures 4 + 16 + 8 + 16 = 44. Right: 196 + 4 - 44 - 4 =
    // 152, so the line ends exactly at 196 - 4. Centred: (196 - 44) / 2 + 4.
    EXPECT_EQ(Pixel(152, 24), kBlack);
    EXPECT_EQ(Pixel(151, 24), kWhite);
    EXPECT_EQ(Pixel(176 + 14, 24), kBlack);  // last column of "cd" (cells leave 1 px free)
    EXPECT_EQ(Pixel(192, 24), kWhite);
    // The closing </P> advances to 44 and sets JustBroke; the next P still
    // advances.
    EXPECT_EQ(Find(label_, "ab cd").Top, 24);
    EXPECT_EQ(Tag(tagP, 1).Top, 44);
    EXPECT_EQ(Pixel(80, 64), kBlack);
    EXPECT_EQ(Pixel(79, 64), kWhite);
    EXPECT_EQ(Pixel(104, 64), kBlack);  // one blank after "ab"
    EXPECT_EQ(Pixel(4, 104), kBlack);   // left-aligned again
}

TEST_F(LayoutTest, AClosingMarkHangsIntoTheGapRatherThanStandAlone) {
    // 22 cells end at 180; " ." would reach 196, inside the limit of 200
    // but into the gap of 4, which a word may not enter.
    const std::string cells(22, 'a');
    Load("<BODY BGCOLOR=white>" + cells + " .<BR>" + cells + " b");
    EXPECT_EQ(Pixel(188, 4), kBlack);   // the full stop stays on the line
    EXPECT_EQ(Pixel(188, 24), kWhite);  // "b" does not
    EXPECT_EQ(Pixel(4, 44), kBlack);

    // Where even the gap is too small, the word before the mark goes down
    // with it: "bb" and "." start the second line.
    // 20 cells end at 164, "bb" at 188, and " ." would pass 200.
    const std::string wide(20, 'a');
    Load("<BODY BGCOLOR=white>" + wide + " bb .");
    EXPECT_EQ(Pixel(4 + 160 + 8, 4), kWhite);
    EXPECT_EQ(Pixel(4, 24), kBlack);       // "bb"
    EXPECT_EQ(Pixel(4 + 24, 24), kBlack);  // "."
}

TEST_F(LayoutTest, InlineTagsKeepWordsTogetherUnlessBlanksSurroundThem) {
    Load("<BODY BGCOLOR=white>ab<B>cd</B>ef gh <I>ij</I>");
    // No blank around B: "abcdef" is one piece of 48 px; " gh" and " ij".
    EXPECT_EQ(Pixel(4 + 16, 4), kBlack);  // "c" straight after "ab"
    EXPECT_EQ(Pixel(4 + 48, 4), kWhite);  // the blank before gh
    EXPECT_EQ(Pixel(4 + 56, 4), kBlack);
    EXPECT_EQ(Pixel(4 + 72, 4), kWhite);
    EXPECT_EQ(Pixel(4 + 80, 4), kBlack);  // ij after one blank
}

TEST_F(LayoutTest, TheFitTestCountsTheBlankBeforeAWordAfterAGluedTag) {
    // "abcd" ends at 36; "ef" fits in 58 - 4 only without the blank that
    // is drawn before it, so it opens the next line rather than being cut
    // off at the picture's edge.
    Load("<BODY BGCOLOR=white>ab<SUB>cd ef</SUB>", 58, 60);
    EXPECT_EQ(Pixel(4 + 8 * 5, 4), kWhite);
    EXPECT_EQ(Pixel(4, 24), kBlack);
    EXPECT_EQ(Find(label_, "cd ef").Right, 4 + 16);
}

TEST_F(LayoutTest, EntitiesAreDecodedWhenTheRecordsAreMade) {
    Load("<BODY>a &lt;b&gt; &amp;c x&nbsp;&nbsp;y &lt;P&gt;&amp;nbsp;");
    const HTMLElement& run = label_.Elements()[2];
    EXPECT_EQ(run.TagID, tagText);
    // The markup characters are decoded once (so "&amp;nbsp;" is the text
    // "&nbsp;"); the no-break space stays as written.
    EXPECT_EQ(label_.View(run.Text), "a <b> &c x&nbsp;&nbsp;y <P>&nbsp;");
    // The normalised document keeps what was written, so a reload decodes
    // the same way again.
    EXPECT_NE(label_.DocumentHTML().find("&lt;b&gt;"), std::string_view::npos);
    ASSERT_TRUE(label_.SetDefaultFontSize(12).ok());
    EXPECT_EQ(label_.View(label_.Elements()[2].Text), "a <b> &c x&nbsp;&nbsp;y <P>&nbsp;");
    // Two &nbsp; draw as two blanks and keep x and y together; the spelt
    // "&nbsp;" draws its six characters.
    Render(200, 150);
    EXPECT_EQ(Pixel(4 + 8 * 9, 4), kBlack);  // "x" after "a <b> &c "
    EXPECT_NE(Pixel(4 + 8 * 10, 4), kBlack);
    EXPECT_NE(Pixel(4 + 8 * 11, 4), kBlack);
    EXPECT_EQ(Pixel(4 + 8 * 12, 4), kBlack);  // "y"
    for (int32_t cell = 17; cell < 23; ++cell) EXPECT_EQ(Pixel(4 + 8 * cell, 4), kBlack) << cell;
    EXPECT_EQ(Find(label_, "a <b> &c x&nbsp;&nbsp;y <P>&nbsp;").Right, 4 + 8 * 23);
}

TEST_F(LayoutTest, ANoBreakSpaceIsMeasuredAsWrittenWhenTheLineIsFilled) {
    // "xxxxxx" ends at 52; " a&nbsp;b" measures 9 cells (72 px) and would
    // end past 96 - 4, so it opens the next line, where it is drawn as
    // "a b" (24 px). Drawn width alone (32 px) would have fitted.
    Load("<BODY BGCOLOR=white><P>xxxxxx a&nbsp;b", 100, 80);
    EXPECT_EQ(Pixel(4 + 8 * 7, 24), kWhite);
    EXPECT_EQ(Pixel(4, 44), kBlack);       // "a"
    EXPECT_EQ(Pixel(4 + 8, 44), kWhite);   // the blank
    EXPECT_EQ(Pixel(4 + 16, 44), kBlack);  // "b"
    EXPECT_EQ(Pixel(4 + 24, 44), kWhite);
    EXPECT_EQ(Find(label_, "xxxxxx a&nbsp;b").Right, 4 + 24);
}

TEST_F(LayoutTest, ListsIndentNumberAndNest) {
    Load("<BODY><UL><LI>one<LI>two</UL><OL><LI>a<LI>b<UL><LI>x</UL><LI>c</OL><P>end");
    // UL at the top: one line down (24), indentation 16. Each LI breaks a
    // line; its marker is at 4 + 16 and the text after the 3-cell marker.
    EXPECT_EQ(Tag(tagLI, 0).Top, 44);
    EXPECT_EQ(Tag(tagLI, 0).Indent, 16);
    EXPECT_EQ(Find(label_, "one").Left, 44);
    EXPECT_EQ(Tag(tagLI, 1).Top, 64);
    // </UL> advances to 84; OL follows a break, so its first item is at 104.
    EXPECT_EQ(Tag(tagLI, 2).Top, 104);
    EXPECT_TRUE(Tag(tagLI, 2).IsNumbered);
    EXPECT_EQ(Tag(tagLI, 2).ItemNumber, 1);
    EXPECT_EQ(Tag(tagLI, 3).ItemNumber, 2);
    // The nested list is one unit further in and does not number.
    EXPECT_EQ(Tag(tagLI, 4).Indent, 32);
    EXPECT_FALSE(Tag(tagLI, 4).IsNumbered);
    EXPECT_EQ(Find(label_, "x").Left, 36 + 24);
    // The outer counter carries on after the nested list.
    EXPECT_EQ(Tag(tagLI, 5).ItemNumber, 3);
    EXPECT_EQ(Find(label_, "c").Left, 20 + 24);
    EXPECT_EQ(Find(label_, "end").Left, 4);
}

TEST_F(LayoutTest, ContinuationLinesKeepTheIndentationOfTheirFirstLine) {
    // After a list marker, later lines start under the first word, whatever
    // the padding: text at padding + 16 + 24 on both lines.
    for (int16_t padding : {4, 6}) {
        label_.SetDefaultPadding(padding);
        Load("<BODY BGCOLOR=white><UL><LI>aaaa bbbb cccc dddd eeee ffff</UL>");
        const int32_t text = padding + 16 + 24;
        const int32_t first = padding + 40;  // UL and LI each go one line down
        EXPECT_EQ(Pixel(text, first), kBlack) << padding;
        EXPECT_EQ(Pixel(text, first + 20), kBlack) << padding;
        EXPECT_EQ(Pixel(text - 1, first + 20), kWhite) << padding;
    }
    // A quotation's lines all start one unit in (two lines down: 44).
    label_.SetDefaultPadding(4);
    Load("<BODY BGCOLOR=white><BLOCKQUOTE>aaaa bbbb cccc dddd eeee</BLOCKQUOTE>");
    EXPECT_EQ(Pixel(20, 44), kBlack);
    EXPECT_EQ(Pixel(19, 44), kWhite);
    EXPECT_EQ(Pixel(20, 64), kBlack);  // eeee
    EXPECT_EQ(Pixel(19, 64), kWhite);
}

TEST_F(LayoutTest, UnderlineStartsAtTheFirstUnderlinedWord) {
    Load("<BODY BGCOLOR=white>ab <U>cd ef</U> gh");
    // The underline is the first row below the 13-row ascent: y = 4 + 13.
    EXPECT_EQ(Pixel(4 + 16 + 4, 17), kWhite);  // the blank before cd
    EXPECT_EQ(Pixel(4 + 24, 17), kBlack);      // under cd
    EXPECT_EQ(Pixel(4 + 40 + 4, 17), kBlack);  // the blank between cd and ef
}

TEST_F(LayoutTest, MoreThanSixteenNestedListsAreIgnoredNotOverrun) {
    std::string html = "<BODY>";
    for (int k = 0; k < 40; ++k) html += "<OL><LI>x" + std::to_string(k);
    for (int k = 0; k < 40; ++k) html += "</OL>";
    html += "</UL></UL><P>end";  // stray closers change nothing
    Load(html, 300, 150);
    // Levels stop at 16 (indent 16 x 16); the deeper items are still laid
    // out, numbered 1 in the innermost level that counts.
    EXPECT_EQ(Tag(tagLI, 15).Indent, 16 * 16);
    EXPECT_EQ(Tag(tagLI, 39).Indent, 16 * 16);
    EXPECT_EQ(Tag(tagLI, 39).ItemNumber, 24 + 1);
    EXPECT_GT(Find(label_, "x39").Top, Find(label_, "x38").Top);
    EXPECT_EQ(Find(label_, "end").Left, 4);
}

TEST_F(LayoutTest, RuleDrawsAtFivePixelsBelowThePenAndAdvancesSpacingPlusSix) {
    Load("<BODY BGCOLOR=white><P>abc</P><HR>def");
    // </P> left the pen at 44; the rule is at 49 from 4 to 196 (end excluded).
    const HTMLElement& rule = Tag(tagHR);
    EXPECT_EQ(rule.Top, 49);
    EXPECT_EQ(Pixel(4, 49), platform::Rgb(128, 128, 0));
    EXPECT_EQ(Pixel(195, 49), platform::Rgb(128, 128, 0));
    EXPECT_EQ(Pixel(196, 49), kWhite);
    EXPECT_EQ(Pixel(4, 48), kWhite);
    EXPECT_EQ(Find(label_, "def").Top, 44 + 4 + 6);
}

TEST_F(LayoutTest, HeadingsEndTheirLineAndBigChangesTheSizeInline) {
    Load("<BODY>ab<H1>Head</H1>cd<BIG>ef</BIG>gh");
    // H1 is 12 + 6 x 1.2 = 19.2 pt = 26 px high: line 30 px. Something was
    // printed, so the heading starts one of its lines lower: 4 + 30.
    const HTMLElement& head = Find(label_, "Head");
    EXPECT_EQ(head.Top, 34);
    // </H1> breaks with the heading's line height and returns to 20 px lines.
    EXPECT_EQ(Find(label_, "cd").Top, 64);
    // Inside a run BIG only changes the size: 13 pt cells are 9 px wide.
    EXPECT_EQ(Tag(tagBigEnd).Top, 64);
    EXPECT_EQ(Tag(tagBigEnd).Left, 20 + 18);
}

TEST_F(LayoutTest, MissingImagesGetAFramedBoxAndExplicitSizesStay) {
    Load("<BODY BGCOLOR=white><IMG SRC=\"no such file.png\"><BR><IMG SRC=none WIDTH=40 HEIGHT=30>");
    const HTMLElement& first = Tag(tagImg, 0);
    EXPECT_EQ(first.ImgWidth, 24);
    EXPECT_EQ(first.ImgHeight, 24);
    EXPECT_EQ(first.Border, 1);
    // Frame from (4 + 2, 4 + 2) to (6 + 25, 6 + 25): dark top and left,
    // light right and bottom (button face on a white background).
    EXPECT_EQ(Pixel(6, 6),
              platform::TranslateColor(platform::SystemColor(platform::COLOR_BTNSHADOW)));
    EXPECT_EQ(Pixel(6, 30),
              platform::TranslateColor(platform::SystemColor(platform::COLOR_BTNSHADOW)));
    EXPECT_EQ(Pixel(31, 31),
              platform::TranslateColor(platform::SystemColor(platform::COLOR_BTNFACE)));
    EXPECT_EQ(Pixel(15, 15), kWhite);
    const HTMLElement& second = Tag(tagImg, 1);
    EXPECT_EQ(second.ImgWidth, 40);
    EXPECT_EQ(second.ImgHeight, 30);
    // The first image made its line 24 + 2 + 4 = 30 high.
    EXPECT_EQ(second.Top, 4 + 30);
}

TEST_F(LayoutTest, ImagesFromFilesAndFromTheHost) {
    const std::string path = ::testing::TempDir() + "html_layout_red.png";
    ASSERT_TRUE(platform::Surface(10, 6, 0x0000FF).WritePng(path).ok());
    label_.on_load_image = [](std::string& src, platform::PictureRef& picture) {
        if (src == "host") {
            picture = std::make_shared<platform::Picture>(platform::Surface(5, 5, 0xFF0000),
                                                          platform::PictureKind::kBitmap);
        }
    };
    Load("<BODY BGCOLOR=white><P>x<IMG SRC=\"" + path + "\"><IMG SRC=host WIDTH=10>");
    std::remove(path.c_str());
    const HTMLElement& file = Tag(tagImg, 0);
    EXPECT_EQ(file.ImgWidth, 10);
    EXPECT_EQ(file.ImgHeight, 6);
    EXPECT_EQ(file.Border, 0);
    // After text an image starts a new line: 24 + 20, drawn at HSpace and
    // VSpace (2 each) from the pen.
    EXPECT_EQ(file.Top, 44);
    EXPECT_EQ(Pixel(6, 46), 0x0000FFu);
    EXPECT_EQ(Pixel(15, 51), 0x0000FFu);
    EXPECT_EQ(Pixel(16, 46), kWhite);
    EXPECT_EQ(Pixel(6, 52), kWhite);
    // Two images in a row go on separate lines; the first one's line stays
    // 20 px (6 + 2 x 2 is less).
    const HTMLElement& host = Tag(tagImg, 1);
    EXPECT_EQ(host.Top, 64);
    EXPECT_EQ(host.ImgWidth, 10);  // stretched from 5
    EXPECT_EQ(host.ImgHeight, 5);
    EXPECT_EQ(Pixel(15, 70), 0xFF0000u);
    EXPECT_EQ(Pixel(15, 71), kWhite);
}

TEST_F(LayoutTest, BothPassesAgreeAndRenderingAgainGivesTheSameResult) {
    const std::string html =
        "<BODY><H2>t</H2><P ALIGN=CENTER>one two three four five six seven eight nine</P>"
        "<UL><LI>a b c d e f g h i j k l m n o p q r s t</UL><BLOCKQUOTE>q r s</BLOCKQUOTE>";
    Load(html);
    const std::vector<HTMLElement> once = label_.Elements();
    const int32_t height = label_.ContentHeight();
    Render(200, 150);
    EXPECT_EQ(label_.Elements(), once);
    EXPECT_EQ(label_.ContentHeight(), height);

    // The measuring pass alone writes the same boxes as the drawing pass,
    // and draws nothing.
    constexpr platform::Color kUntouched = platform::Rgb(1, 2, 3);
    platform::Surface scratch(200, 150, kUntouched);
    platform::DC dc(scratch);
    picture_.layout().RenderDocument(label_, false, {&dc, 200, 150, 200, 150});
    for (size_t k = 0; k < once.size(); ++k) {
        EXPECT_EQ(label_.Elements()[k].Top, once[k].Top) << k;
        EXPECT_EQ(label_.Elements()[k].Left, once[k].Left) << k;
    }
    int32_t drawn = 0;
    for (int32_t y = 0; y < 150; ++y)
        for (int32_t x = 0; x < 200; ++x) drawn += scratch.pixel(x, y) != kUntouched ? 1 : 0;
    EXPECT_EQ(drawn, 0);
}

TEST_F(LayoutTest, LongDocumentsGrowThePictureToTheContent) {
    std::string html = "<BODY>";
    for (int k = 0; k < 30; ++k) html += "line<BR>";
    Load(html, 200, 150);
    // 30 lines of 20 px from 4: the last break leaves the pen at 604.
    EXPECT_EQ(label_.ContentHeight(), 604 + 20);
    EXPECT_EQ(picture_.height(), 624);
    EXPECT_EQ(picture_.width(), 200);
}

TEST_F(LayoutTest, LinksAreColouredUnderlinedFromTheirFirstWordAndBoxedAcrossLines) {
    label_.SetEnableAnchors(true);
    Load("<BODY BGCOLOR=white>ab <A HREF=x>cd ef gh ij kl mn op</A> qr", 120, 100);
    const platform::Color link = label_.LinkColor();
    // Line 1: "ab", then the link from 28 ("ij" does not fit before 120 - 4).
    EXPECT_EQ(Pixel(28, 4), link);
    EXPECT_EQ(Pixel(4, 4), kBlack);
    // The underline (row 4 + 13) starts at the link's first word, not at the
    // blank before it, and runs on through the blanks between its words.
    EXPECT_EQ(Pixel(24, 17), kWhite);
    EXPECT_EQ(Pixel(28, 17), link);
    EXPECT_EQ(Pixel(46, 17), link);
    // Line 2 holds "ij kl mn op"; "qr" is back in the text colour on line 3.
    EXPECT_EQ(Pixel(4, 37), link);
    EXPECT_EQ(Pixel(4, 44), kBlack);
    EXPECT_EQ(Pixel(4, 57), kWhite);
    // The box runs from the first line's top to below the last line, and to
    // the end of "op".
    const HTMLElement& a = Tag(tagA);
    EXPECT_EQ(a.Top, 4);
    EXPECT_EQ(a.Bottom, 24 + 20 + 4);
    EXPECT_EQ(a.Right, 92);
}

TEST_F(LayoutTest, AnAnchorWithoutTargetAtBlockLevelKeepsTheTextColour) {
    label_.SetEnableAnchors(true);
    Load("<BODY BGCOLOR=white><P><A NAME=here>xy</A>");
    EXPECT_EQ(Pixel(4, 24), kBlack);
    EXPECT_EQ(Tag(tagA).Top, 24);
}

TEST_F(LayoutTest, InlineScriptIsSkippedAndTheTextGoesOnOnTheSameLine) {
    Load("<BODY BGCOLOR=white>ab <SCRIPT>zzzz zzzz</SCRIPT>cd");
    EXPECT_EQ(Pixel(20, 4), kWhite);  // the blank after "ab"
    EXPECT_EQ(Pixel(28, 4), kBlack);  // then "cd"
    EXPECT_EQ(Pixel(44, 4), kWhite);  // and nothing of the script after it
    EXPECT_EQ(Pixel(4, 24), kWhite);
}

TEST_F(LayoutTest, ABlankEndingARunIsDrawnBeforeTextAfterGluedTags) {
    // The tag just before "cd" is glued to the one before it, but the run
    // before them ends with a blank: drawn as measured, "ab cd".
    for (const char* html : {"<BODY BGCOLOR=white>ab <FONT COLOR=black><B>cd</B></FONT>",
                             "<BODY BGCOLOR=white>ab <I></I><B>cd</B>"}) {
        Load(html);
        EXPECT_EQ(Pixel(20, 4), kWhite) << html;
        EXPECT_EQ(Pixel(28, 4), kBlack) << html;
    }
    // Glued on both sides, no blank.
    Load("<BODY BGCOLOR=white>ab<B>cd</B>");
    EXPECT_EQ(Pixel(20, 4), kBlack);
}

TEST_F(LayoutTest, EndOfParagraphAdvancesOnceAfterABreak) {
    // </P> after <BR> does not advance; of three </P> the first and the
    // third do.
    Load("<BODY><P>a<BR></P>b");
    EXPECT_EQ(Find(label_, "b").Top, 44);
    Load("<BODY><P>a</P></P></P>b");
    EXPECT_EQ(Find(label_, "b").Top, 64);
    // <P> always advances, even right after a break.
    Load("<BODY>a<BR><P>b");
    EXPECT_EQ(Find(label_, "b").Top, 44);
}

TEST_F(LayoutTest, AlignmentIsInheritedFromCentreAndDivisions) {
    Load("<BODY BGCOLOR=white><CENTER><P>ab</P><P>cd</P></CENTER>");
    // Both paragraphs centred: (196 - 20) / 2 + 4.
    EXPECT_EQ(Pixel(92, 24), kBlack);
    EXPECT_EQ(Pixel(92, 64), kBlack);
    EXPECT_EQ(Pixel(4, 64), kWhite);
    // </P> inside a right-aligned division goes back to the right: "cd"
    // ends 4 px before the full width the division's end restored.
    Load("<BODY BGCOLOR=white><DIV ALIGN=RIGHT><P>ab</P>cd</DIV>");
    EXPECT_EQ(Pixel(4, 44), kBlack);
    EXPECT_EQ(Pixel(180, 64), kBlack);
    EXPECT_EQ(Pixel(179, 64), kWhite);
}

TEST_F(LayoutTest, FontChangesTheLineHeightOnlyInsideARun) {
    // SIZE=7 is 12 + 4 x 1.2 points: 22 px cells, 26 px lines.
    Load("<BODY><P><FONT SIZE=7>ab</FONT><BR>c");
    EXPECT_EQ(Find(label_, "c").Top, 44);
    Load("<BODY>x<FONT SIZE=7>ab</FONT><BR>c");
    EXPECT_EQ(Find(label_, "c").Top, 30);
    // </FONT> returns to the default size, not to the enclosing FONT's:
    // "a" in 6 px cells (SIZE=1 is 9.6 points), "bb" in 8 px, not 11.
    Load("<BODY><FONT SIZE=7><FONT SIZE=1>a</FONT>bb");
    EXPECT_EQ(Tag(tagFontEnd).Right, 10);
    EXPECT_EQ(Find(label_, "bb").Right, 26);
}

TEST_F(LayoutTest, ListItemOutsideAListGetsABulletAtTheMargin) {
    Load("<BODY BGCOLOR=white><LI>ab");
    EXPECT_EQ(Tag(tagLI).Top, 24);
    EXPECT_NE(Pixel(4, 24), kWhite);  // the bullet cell
    EXPECT_EQ(Pixel(28, 24), kBlack);
}

TEST_F(LayoutTest, ListMarkersInAPreetiFaceAreSetInArial) {
    // In a Preeti face character 149 is a Devanagari sign: the markers are
    // Latin text, set in Arial at the same size, and the item's text starts
    // after the Arial marker.
    platform::text::InstallFontEngine();
    ASSERT_TRUE(label_.SetDefaultFontName("OrvPreeti").ok());
    ASSERT_TRUE(label_.SetDefaultFontSize(12).ok());
    ASSERT_TRUE(label_.LoadDocument("<BODY><UL><LI>s]</UL><OL><LI>s]</OL>").ok());
    Render(200, 150);
    platform::TextEngine& engine = platform::TextEngine::Instance();
    const auto width = [&](const char* face, std::string_view text) {
        return engine.Measure(platform::FontDesc{face, 12}, text).width;
    };
    const double indent = std::nearbyint(2 * width("OrvPreeti", "W"));
    ASSERT_NE(width("Arial", "\x95  "), width("OrvPreeti", "\x95  "));
    EXPECT_EQ(Tag(tagLI, 0).Indent, static_cast<int32_t>(indent));
    EXPECT_EQ(label_.Elements()[static_cast<size_t>(Tag(tagLI, 0).Index) + 1].Left,
              static_cast<int32_t>(std::nearbyint(4 + indent + width("Arial", "\x95  "))));
    EXPECT_EQ(label_.Elements()[static_cast<size_t>(Tag(tagLI, 1).Index) + 1].Left,
              static_cast<int32_t>(std::nearbyint(4 + indent + width("Arial", "W. "))));
}

TEST_F(LayoutTest, BackgroundPictureIsTiledOverTheWholePicture) {
    label_.on_load_image = [](std::string& src, platform::PictureRef& picture) {
        if (src == "tile") {
            picture = std::make_shared<platform::Picture>(platform::Surface(3, 2, 0x00AA00),
                                                          platform::PictureKind::kBitmap);
        }
    };
    Load("<BODY BACKGROUND=tile BGCOLOR=white>", 100, 60);
    for (auto [x, y] : {std::pair{0, 0}, {50, 31}, {99, 59}}) {
        EXPECT_EQ(Pixel(x, y), 0x00AA00u) << x << "," << y;
    }
}

// --- tables ----------------------------------------------------------------------
// Spacing and padding are 2 and the border 1 unless a test says else, so a
// cell's content starts 1 + 2 inside its frame, and its text half a spacing
// further in.

class TableTest : public LayoutTest {
  protected:
    void Load(const std::string& html, int32_t width = 200, int32_t height = 150) {
        boxes_.clear();
        picture_.layout().RecordTableBoxes(&boxes_);
        LayoutTest::Load(html, width, height);
        picture_.layout().RecordTableBoxes(nullptr);
    }
    // The frame the drawing pass gave the element, as {left, top, right, bottom}.
    std::vector<int32_t> Box(const HTMLElement& e) const {
        for (const TableBox& b : boxes_) {
            if (b.element == e.Index) return {b.left, b.top, b.right, b.bottom};
        }
        return {};
    }
    std::vector<int32_t> Widths(TagID id) const {
        std::vector<int32_t> out;
        for (const HTMLElement& e : label_.Elements()) {
            if (e.TagID == id) out.push_back(e.ComputedWidth);
        }
        return out;
    }
    std::vector<TableBox> boxes_;
};

TEST_F(TableTest, ColumnWidthsFromPercentPixelsAndWhatIsLeft) {
    // 30% and 70% of 300 - 3 x 2: 88.2 and 205.8, which already fill it.
    Load("<BODY><TABLE WIDTH=300><TR><TD WIDTH=30%>a</TD><TD WIDTH=70%>b</TD></TR></TABLE>");
    EXPECT_EQ(Widths(tagTD), (std::vector<int32_t>{88, 206}));
    // One fixed column of 100 in 400: the two open ones share (392 - 100) div 2.
    Load("<BODY><TABLE WIDTH=400><TR><TD WIDTH=100>a<TD>b<TD>c</TABLE>");
    EXPECT_EQ(Widths(tagTD), (std::vector<int32_t>{100, 146, 146}));
    // Fixed columns wider than a pixel table: the columns stay, the table grows.
    Load("<BODY><TABLE WIDTH=200><TR><TD WIDTH=100>a<TD WIDTH=150>b</TABLE>");
    EXPECT_EQ(Widths(tagTD), (std::vector<int32_t>{100, 150}));
    EXPECT_EQ(Tag(tagTable).ComputedWidth, 250);
    // Fixed columns narrower than the table are scaled to fill it: 50 and
    // 100 of 154 become 51.3 and 102.7; as wide as the table, they stay.
    Load("<BODY><TABLE WIDTH=160><TR><TD WIDTH=50>a<TD WIDTH=100>b</TABLE>");
    EXPECT_EQ(Widths(tagTD), (std::vector<int32_t>{51, 103}));
    Load("<BODY><TABLE WIDTH=150><TR><TD WIDTH=50>a<TD WIDTH=100>b</TABLE>");
    EXPECT_EQ(Widths(tagTD), (std::vector<int32_t>{50, 100}));
    // Without WIDTH a table spans the surface less three paddings.
    Load("<BODY><TABLE><TR><TD>a<TD>b</TABLE>");
    EXPECT_EQ(Tag(tagTable).ComputedWidth, 200 - 2 * 4 - 4);
    EXPECT_EQ(Widths(tagTD), (std::vector<int32_t>{91, 91}));
}

TEST_F(TableTest, ASpanCoversItsColumnsAndTheSpacingBetweenThem) {
    Load(
        "<BODY><TABLE WIDTH=300><TR><TD COLSPAN=2>head</TD></TR>"
        "<TR><TD WIDTH=30%>a</TD><TD>b</TD></TR></TABLE>");
    // The row without spans decides the columns: 88 and (294 - 88.2) = 206.
    EXPECT_EQ(Widths(tagTD), (std::vector<int32_t>{88 + 206 + 2, 88, 206}));
    // The span's frame ends where the second column's does.
    Load(
        "<BODY><TABLE BORDER=1 WIDTH=300><TR><TD COLSPAN=2>head</TD></TR>"
        "<TR><TD WIDTH=30%>a</TD><TD>b</TD></TR></TABLE>");
    EXPECT_EQ(Box(Tag(tagTD, 0))[2], Box(Tag(tagTD, 2))[2]);
    EXPECT_EQ(Box(Tag(tagTD, 0))[0], Box(Tag(tagTD, 1))[0]);
}

TEST_F(TableTest, CellsSitInsideTheFrameWithPaddingAndSpacingOnEverySide) {
    Load(
        "<BODY BGCOLOR=white><TABLE BORDER=1 WIDTH=100><TR><TD>ab</TD><TD>cd</TD></TR>"
        "</TABLE>after");
    // The table is the first content: at the top padding. Columns of
    // (100 - 6) / 2; rows start 1 + 2 down, cells 1 + 2 right of the frame
    // and 2 apart; the row is the line (20) plus the padding above it.
    EXPECT_EQ(Tag(tagTable).Top, 4);
    EXPECT_EQ(Box(Tag(tagTable)), (std::vector<int32_t>{4, 4, 105, 33}));
    EXPECT_EQ(Box(Tag(tagTD, 0)), (std::vector<int32_t>{7, 7, 53, 30}));
    EXPECT_EQ(Box(Tag(tagTD, 1)), (std::vector<int32_t>{56, 7, 102, 30}));
    EXPECT_EQ(Tag(tagTR).RowHeight, 23);
    EXPECT_EQ(Tag(tagTable).MeasuredHeight, 1 + 23 + 2 + 1 + 1);
    // Text starts one padding, one border and half a spacing inside.
    EXPECT_EQ(Find(label_, "ab").Top, 10);
    EXPECT_EQ(Pixel(11, 10), kBlack);
    EXPECT_EQ(Pixel(10, 10), kWhite);
    EXPECT_EQ(Pixel(60, 10), kBlack);
    EXPECT_EQ(Pixel(59, 10), kWhite);
    // A raised frame round the table (light on the top and left of a white
    // page), sunken ones round the cells.
    const platform::Color light =
        platform::TranslateColor(platform::SystemColor(platform::COLOR_BTNFACE));
    const platform::Color dark =
        platform::TranslateColor(platform::SystemColor(platform::COLOR_BTNSHADOW));
    EXPECT_EQ(Pixel(4, 20), light);
    EXPECT_EQ(Pixel(105, 20), dark);
    EXPECT_EQ(Pixel(50, 33), dark);
    EXPECT_EQ(Pixel(7, 20), dark);
    EXPECT_EQ(Pixel(53, 20), light);
    EXPECT_EQ(Pixel(5, 20), kWhite);
    EXPECT_EQ(Pixel(104, 20), kWhite);
    // Text that follows starts below the frame, one spacing clear of it.
    EXPECT_EQ(Find(label_, "after").Top, 33 + 1 + 4);
    EXPECT_EQ(Find(label_, "after").Left, 4);
}

TEST_F(TableTest, BackgroundsFillTheTableUpToItsFrameAndEachCellInsideItsOwn) {
    Load(
        "<BODY BGCOLOR=white><TABLE BORDER=1 WIDTH=100 BGCOLOR=#00FF00><TR>"
        "<TD BGCOLOR=#FF0000>ab</TD><TD>cd</TD></TR></TABLE>");
    const platform::Color green = 0x00FF00;
    const platform::Color red = 0x0000FF;  // 0x00BBGGRR
    for (auto [x, y] : {std::pair{5, 5}, {104, 32}, {54, 20}, {103, 5}}) {
        EXPECT_EQ(Pixel(x, y), green) << x << "," << y;
    }
    EXPECT_EQ(Pixel(8, 8), red);
    EXPECT_EQ(Pixel(52, 29), red);
    EXPECT_NE(Pixel(53, 29), red);  // the cell's frame
    EXPECT_EQ(Pixel(106, 20), kWhite);
}

TEST_F(TableTest, FramesTakeInWhatTheyHold) {
    // A fixed cell of 150 in a table of 50% of 188 (94): the table widens
    // to the cell before its frame is drawn, which stays border + spacing
    // clear of the cell on the right as on the left.
    Load("<BODY BGCOLOR=white><TABLE BORDER=2 WIDTH=50%><TR><TD WIDTH=150>a</TD></TR></TABLE>");
    const std::vector<int32_t> table = Box(Tag(tagTable));
    const std::vector<int32_t> cell = Box(Tag(tagTD));
    ASSERT_EQ(table.size(), 4u);
    ASSERT_EQ(cell.size(), 4u);
    EXPECT_EQ(cell[0] - table[0], 2 + 2);
    EXPECT_EQ(table[2] - cell[2], 2 + 2);

    // A nested table that ends its cell: the row reaches below its frame.
    Load(
        "<BODY><TABLE BORDER=1 WIDTH=190><TR><TD>ab<TABLE BORDER=1><TR><TD>in</TD></TR>"
        "</TABLE></TD></TR></TABLE>");
    EXPECT_GT(Box(Tag(tagTD, 0))[3], Box(Tag(tagTable, 1))[3]);

    // A table wider than the view: the content reaches its right frame
    // (at 4 + 300 + 1) and the padding after it, so the frame is drawn.
    label_.SetEnableScroll(true);
    Load("<BODY BGCOLOR=white><TABLE BORDER=1 WIDTH=300><TR><TD>a</TD></TR></TABLE>");
    EXPECT_EQ(Box(Tag(tagTable))[2], 305);
    EXPECT_EQ(label_.ContentWidth(), 305 + 1 + 4);
    EXPECT_EQ(Pixel(305, 20),
              platform::TranslateColor(platform::SystemColor(platform::COLOR_BTNSHADOW)));
}

TEST_F(TableTest, FramesShowOnTheTablesOwnBackground) {
    // A white table on a coloured page: the light edges (right and bottom
    // of a sunken cell frame, top and left of the raised table frame) are
    // the button face, which shows on white, not white.
    Load(
        "<BODY BGCOLOR=#8080FF><TABLE BORDER=1 WIDTH=100 BGCOLOR=white><TR><TD>ab</TD></TR>"
        "</TABLE>");
    const platform::Color face =
        platform::TranslateColor(platform::SystemColor(platform::COLOR_BTNFACE));
    const std::vector<int32_t> cell = Box(Tag(tagTD));
    ASSERT_EQ(cell.size(), 4u);
    EXPECT_EQ(Pixel(cell[2], cell[1] + 5), face);
    EXPECT_EQ(Pixel(cell[0] + 5, cell[3]), face);
    EXPECT_EQ(Pixel(4, 10), face);
}

TEST_F(TableTest, CellsAlignTheirContentVerticallyInTheRow) {
    Load(
        "<BODY BGCOLOR=white><TABLE BORDER=1 WIDTH=180><TR><TD WIDTH=40>aaa bbb ccc</TD>"
        "<TD VALIGN=CENTER>x</TD><TD VALIGN=BOTTOM>y</TD></TR></TABLE>");
    // Three lines from 10 make the row 70 - 7 = 63 high; a one-line cell
    // holds 16 px of text.
    EXPECT_EQ(Tag(tagTR).RowHeight, 63);
    EXPECT_EQ(Tag(tagTD, 0).MeasuredHeight, 56);
    EXPECT_EQ(Tag(tagTD, 1).MeasuredHeight, 16);
    EXPECT_EQ(Find(label_, "aaa bbb ccc").Top, 10);
    // Centred: 7 + (63 - 16) div 2. Bottom: the text ends half a spacing
    // and two paddings above the row's foot (7 + 63).
    EXPECT_EQ(Find(label_, "x").Top, 30);
    EXPECT_EQ(Find(label_, "y").Top, 49);
    EXPECT_EQ(Pixel(121, 49 + 12), kBlack);
    EXPECT_EQ(Pixel(121, 48), kWhite);
    EXPECT_EQ(Find(label_, "y").Top + 16, 70 - 1 - 2 * 2);
}

TEST_F(TableTest, NestedTablesSitInsideTheirCellAndTextAfterThemStaysThere) {
    Load(
        "<BODY BGCOLOR=white><TABLE BORDER=1 WIDTH=190><TR><TD WIDTH=60>left</TD>"
        "<TD>ab<TABLE BORDER=1><TR><TD>in</TD></TR></TABLE>xx yyyy zzzz wwww</TD></TR>"
        "</TABLE>",
        240, 200);
    // Outer columns 60 and 184 - 60; the second cell's content edge is at
    // 4 + 65 + 3 = 72, its right limit at 4 + 65 + 124 - 4 = 189.
    const HTMLElement& inner = Tag(tagTable, 1);
    // Below the cell's first line, one inner padding in from its content
    // edge, and as far from the right limit on the other side.
    EXPECT_EQ(inner.Top, 10 + 20);
    const std::vector<int32_t> frame = Box(inner);
    ASSERT_EQ(frame.size(), 4u);
    EXPECT_EQ(frame[0], 72 + 2);
    EXPECT_EQ(frame[2], 189 - 2);
    // Text after it: at the cell's content edge, one spacing below the
    // frame, wrapping at the cell's right limit (14 cells fit, not 19).
    const HTMLElement& after = Find(label_, "xx yyyy zzzz wwww");
    EXPECT_EQ(after.Left, 72);
    EXPECT_EQ(after.Top, frame[3] + 1 + 4);
    EXPECT_EQ(Pixel(73, after.Top), kBlack);
    EXPECT_EQ(Pixel(72, after.Top), kWhite);
    EXPECT_EQ(Pixel(73 + 8 * 8, after.Top), kBlack);   // "zzzz" on the first line
    EXPECT_EQ(Pixel(73 + 8 * 13, after.Top), kWhite);  // "wwww" would end past 189
    EXPECT_EQ(Pixel(73, after.Top + 20), kBlack);
    // The outer row takes in the inner table and the text after it.
    EXPECT_EQ(Box(Tag(tagTD, 1))[3], after.Top + 2 * 20);
    EXPECT_GT(Box(Tag(tagTD, 1))[3], frame[3]);
}

TEST_F(TableTest, WhatTheTableStateCannotHoldIsLeftOutAndDegenerateWidthsStayFinite) {
    // Twenty cells in a row: the first seventeen are laid out.
    std::string row = "<BODY><TABLE BORDER=1><TR>";
    for (int k = 0; k < 20; ++k) row += "<TD>c" + std::to_string(k);
    Load(row + "</TABLE>after", 400, 150);
    EXPECT_EQ(Find(label_, "c16").Top, 10);
    EXPECT_EQ(Find(label_, "c17").Top, 0);
    EXPECT_EQ(Find(label_, "c19").Top, 0);
    EXPECT_GT(Find(label_, "after").Top, 34);
    EXPECT_EQ(boxes_.size(), 1u + 17u);

    // Twenty tables nested and never closed: sixteen are laid out and all
    // are closed at the end of the document.
    std::string nested = "<BODY>";
    for (int k = 0; k < 20; ++k) nested += "<TABLE BORDER=1><TR><TD>x" + std::to_string(k);
    Load(nested, 400, 150);
    EXPECT_GT(Find(label_, "x15").Top, Find(label_, "x14").Top);
    EXPECT_EQ(Find(label_, "x16").Top, 0);
    int tables = 0;
    for (const TableBox& b : boxes_) tables += b.cell ? 0 : 1;
    EXPECT_EQ(tables, 16);
    EXPECT_GT(Tag(tagTable, 0).MeasuredHeight, Tag(tagTable, 15).MeasuredHeight);

    // A first row without cells gives no columns; a zero-width table
    // gives columns of nothing. Either way the cells' text is drawn.
    Load("<BODY BGCOLOR=white><TABLE BORDER=1><TR></TR><TR><TD>a</TD></TR></TABLE>");
    EXPECT_EQ(Widths(tagTD), (std::vector<int32_t>{0}));
    EXPECT_EQ(Pixel(Find(label_, "a").Left + 1, Find(label_, "a").Top), kBlack);
    Load("<BODY BGCOLOR=white><TABLE BORDER=1 WIDTH=0><TR><TD>a</TD><TD>b</TD></TR></TABLE>");
    EXPECT_EQ(Widths(tagTD), (std::vector<int32_t>{0, 0}));
    EXPECT_EQ(Pixel(Find(label_, "b").Left + 1, Find(label_, "b").Top), kBlack);
    // Negative sizes count as none, and a cell narrower than its border
    // keeps its frame the right way round.
    Load(
        "<BODY><TABLE BORDER=3 WIDTH=0><TR><TD>a</TD></TR></TABLE>"
        "<TABLE BORDER=-2 CELLSPACING=-5 CELLPADDING=-1 WIDTH=50><TR><TD>b</TD></TR></TABLE>");
    for (const TableBox& b : boxes_) {
        EXPECT_LE(b.left, b.right) << b.element;
        EXPECT_LE(b.top, b.bottom) << b.element;
    }
    EXPECT_EQ(Widths(tagTD), (std::vector<int32_t>{0, 50}));
}

TEST_F(TableTest, CellsOutsideRowsFormOneRowAndUnclosedTablesEndWithTheDocument) {
    Load("<BODY><TABLE BORDER=1 WIDTH=100><TD>ab<TD>cd");
    EXPECT_EQ(Widths(tagTD), (std::vector<int32_t>{47, 47}));
    EXPECT_EQ(Tag(tagTable).RowHeight, 23);
    EXPECT_EQ(Tag(tagTable).MeasuredHeight, 28);
    EXPECT_EQ(Box(Tag(tagTD, 1)), (std::vector<int32_t>{56, 7, 102, 30}));
    // Rows and cells outside any table are left alone.
    Load("<BODY BGCOLOR=white><TD>ab</TD></TR>cd");
    EXPECT_EQ(Pixel(Find(label_, "ab").Left + 1, Find(label_, "ab").Top), kBlack);
    EXPECT_TRUE(boxes_.empty());
}

TEST_F(TableTest, BothPassesAgreeAndACentredTableIsCentred) {
    const std::string html =
        "<BODY><CENTER><TABLE BORDER=2 CELLPADDING=4 CELLSPACING=3 WIDTH=60%><TR>"
        "<TD>one two three</TD><TD VALIGN=BOTTOM>x</TD></TR><TR><TD COLSPAN=2>"
        "<TABLE><TR><TD>in</TD></TR></TABLE></TD></TR></TABLE>centred</CENTER>";
    Load(html);
    const std::vector<HTMLElement> once = label_.Elements();
    Render(200, 150);
    EXPECT_EQ(label_.Elements(), once);
    // 60% of 188 is 113; centred between 4 and 200.
    const HTMLElement& table = Tag(tagTable);
    EXPECT_EQ(table.ComputedWidth, 113);
    EXPECT_EQ(Box(table)[0], 4 + (196 - 113) / 2);
    // The centring comes back after the table: 56 px of text centred
    // between 4 and 200.
    const int32_t top = Find(label_, "centred").Top;
    EXPECT_EQ(Pixel(74, top), kBlack);
    EXPECT_NE(Pixel(73, top), kBlack);
}

}  // namespace
}  // namespace html_label
