// SPDX-License-Identifier: GPL-3.0-or-later
// Normalisation, tokens, tag names, classification and the closing-tag
// fix-ups of the HTML label.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "html_test_util.h"

namespace html_label {
namespace {

using testing::Find;
using testing::Loaded;
using testing::Tags;
using testing::Texts;
using testing::WordsOf;
using V = std::vector<std::string>;

TEST(HtmlNormalise, WrapsOnlyWhatIsMissingAndReadsBackNormalised) {
    EXPECT_EQ(Loaded("abc").DocumentHTML(), "<HTML><BODY>abc</BODY></HTML>");
    // Searches ignore case; "<body" counts as present, "<HTML " does not.
    EXPECT_EQ(Loaded("<body>x").DocumentHTML(), "<HTML><body>x</HTML>");
    EXPECT_EQ(Loaded("<HTML lang=x><BODY>x").DocumentHTML(), "<HTML><HTML lang=x><BODY>x</HTML>");
    EXPECT_EQ(Loaded("").DocumentHTML(), "<HTML><BODY></BODY></HTML>");
    EXPECT_EQ(Loaded("").ElementCount(), 4);
}

TEST(HtmlNormalise, LineEndsTabsAndBlankRuns) {
    EXPECT_EQ(HTMLLabel::WrapAndClean("<BODY><HTML>a\r\nb"), "<BODY><HTML>a  b");
    EXPECT_EQ(HTMLLabel::CollapseBlanks("a\tb"), "a b");
    EXPECT_EQ(HTMLLabel::CollapseBlanks("a   b"), "a b");
    // Three rounds of pair replacement: n blanks become ceil(n / 8).
    EXPECT_EQ(HTMLLabel::CollapseBlanks("a" + std::string(8, ' ') + "b"), "a b");
    EXPECT_EQ(HTMLLabel::CollapseBlanks("a" + std::string(9, ' ') + "b"), "a  b");
    EXPECT_EQ(HTMLLabel::CollapseBlanks("a" + std::string(17, ' ') + "b"), "a   b");
    // Both runs reach the same words.
    for (const char* doc : {"<P>a\tb", "<P>a   b"}) {
        EXPECT_EQ(WordsOf(Loaded(doc), "a b"), (V{"a", "b"})) << doc;
    }
}

TEST(HtmlNormalise, ReloadShrinksLongBlankRunsFurther) {
    HTMLLabel label;
    ASSERT_TRUE(label.LoadDocument("<P>a" + std::string(20, ' ') + "b").ok());
    EXPECT_NE(label.DocumentHTML().find("a   b"), std::string::npos);
    ASSERT_TRUE(label.SetDefaultFontSize(12).ok());
    EXPECT_NE(label.DocumentHTML().find("a b"), std::string::npos);
}

TEST(HtmlTokenize, WrapperTokensAndTheirIdentifiers) {
    HTMLLabel label = Loaded("Hello");
    EXPECT_EQ(Texts(label), (V{"<HTML>", "<BODY>", "Hello", "</BODY>", "</HTML>"}));
    EXPECT_EQ(Tags(label),
              (std::vector<int32_t>{tagUnknown, tagBody, tagText, tagBodyEnd, tagUnknown}));
    for (int32_t k = 0; k < label.ElementCount(); ++k) EXPECT_EQ(label.Elements()[k].Index, k);
}

TEST(HtmlTokenize, DropsBlankRunsAndTextOutsideTheTags) {
    HTMLLabel label = Loaded("<HTML>lead<BODY><B> </B>x</BODY>trail</HTML>tail");
    EXPECT_EQ(Texts(label),
              (V{"<HTML>", "lead", "<BODY>", "<B>", "</B>", "x", "</BODY>", "trail", "</HTML>"}));
    // Text before the first tag is dropped too.
    EXPECT_EQ(Texts(Loaded("pre<HTML><BODY>x")).front(), "<HTML>");
}

TEST(HtmlTokenize, NoSpaceBeforeFollowsTheTagBeforeTheRun) {
    EXPECT_TRUE(Find(Loaded("x<B>y</B>"), "y").NoSpaceBefore);
    EXPECT_FALSE(Find(Loaded("x <B>y</B>"), "y").NoSpaceBefore);
    // The flag is carried from tag to tag: "</B>" glued to "y" decides for "z".
    EXPECT_TRUE(Find(Loaded("x <B>y</B> z"), " z").NoSpaceBefore);
    EXPECT_FALSE(Find(Loaded("x <B>y </B> z"), " z").NoSpaceBefore);
}

TEST(HtmlTokenize, CommentsAndStrayAngleBrackets) {
    HTMLLabel c = Loaded("<!-- a > b <i> -->x");
    EXPECT_EQ(Find(c, "<!-- a > b <i> -->").TagID, tagCommentOpen);
    EXPECT_EQ(Find(Loaded("<!--a-->"), "<!--a-->").TagID, tagUnknown);
    // A stray "<" in running text starts a tag reaching to the next ">".
    HTMLLabel s = Loaded("<P>a < b</P>c");
    EXPECT_EQ(Texts(s)[3], "a ");
    EXPECT_EQ(Texts(s)[4], "< b</P>");
    EXPECT_EQ(s.Elements()[4].TagID, tagUnknown);
    // A "<" with no ">" after it is skipped; the loop still ends.
    EXPECT_EQ(Texts(Loaded("<HTML><BODY>a<b")), (V{"<HTML>", "<BODY>", "a"}));
    EXPECT_EQ(Texts(Loaded("<HTML><BODY>a<<<")), (V{"<HTML>", "<BODY>", "a"}));
}

TEST(HtmlTokenize, UnclosedCommentRunsToTheEndAndShowsNothing) {
    HTMLLabel label = Loaded("<HTML><BODY>a<!-- never closed <B>b</B>");
    ASSERT_EQ(label.ElementCount(), 4);
    const HTMLElement& c = label.Elements()[3];
    EXPECT_EQ(label.View(c.Text), "<!-- never closed <B>b</B>");
    EXPECT_TRUE(c.IsTag);
    EXPECT_EQ(c.TagID, tagCommentOpen);
    EXPECT_TRUE(label.Words(c).empty());
}

TEST(HtmlTagName, NamesAreUpperCasedUpToTheFirstBlank) {
    EXPECT_EQ(HTMLLabel::mstrTagID("<font size=2>"), "FONT");
    EXPECT_EQ(HTMLLabel::mstrTagID("<BR>"), "BR");
    EXPECT_EQ(HTMLLabel::mstrTagID("<BR/>"), "BR/");
    EXPECT_EQ(HTMLLabel::mstrTagID("<!-- note -->"), "!--");
    EXPECT_EQ(HTMLLabel::mstrTagID("< B>"), "");
    EXPECT_EQ(HTMLLabel::mstrTagID("</td >"), "/TD");
    // Upper-casing leaves the upper half of the byte range alone.
    EXPECT_EQ(HTMLLabel::mstrTagID("<a\xE9>"), "A\xE9");
    EXPECT_EQ(HTMLLabel::mstrTagID("<>"), "");
}

TEST(HtmlClassify, EveryTagNameMapsToItsIdentifier) {
    const std::pair<const char*, TagID> cases[] = {
        {"NOFRAMES", tagBody}, {"/NOFRAMES", tagBodyEnd},
        {"STRONG", tagBold},   {"em", tagItalic},
        {"/EM", tagItalicEnd}, {"TH", tagTD},
        {"/th", tagTDEnd},     {"H6", tagH},
        {"/H6", tagHEnd},      {"H7", tagUnknown},
        {"TFOOT", tagTFoot},   {"/STYLE", tagStyleEnd},
        {"SUP", tagSup},       {"BLOCKQUOTE", tagBlockquote},
    };
    for (const auto& [name, id] : cases) {
        const std::string tag = std::string("<") + name + ">";
        const HTMLLabel label = Loaded(tag);
        const HTMLElement& e = Find(label, tag);
        EXPECT_EQ(e.TagID, id) << name;
        EXPECT_TRUE(e.IsTag) << name;
    }
}

TEST(HtmlClassify, PerTagDefaultsFollowTheComponentState) {
    HTMLLabel label = Loaded(
        "<BODY text=#0000FF><FONT>a</FONT><H1>b</H1><h3>c</h3><BIG>d</BIG><SMALL>e</SMALL>"
        "<TABLE><TR><TD>f</TD></TR></TABLE><A>g</A><IMG src=x>");
    const HTMLElement& font = Find(label, "<FONT>");
    EXPECT_EQ(label.View(font.FontFace), "Arial");
    EXPECT_FLOAT_EQ(font.FontSize, 10);
    EXPECT_EQ(font.Color, 0xFF0000u);  // the BODY TEXT colour already in force
    EXPECT_FLOAT_EQ(Find(label, "<H1>").FontSize, 17.2f);
    EXPECT_FLOAT_EQ(Find(label, "<h3>").FontSize, 14.8f);
    EXPECT_FLOAT_EQ(Find(label, "<BIG>").FontSize, 11);
    EXPECT_FLOAT_EQ(Find(label, "<SMALL>").FontSize, 9);
    const HTMLElement& table = Find(label, "<TABLE>");
    EXPECT_EQ(table.CellSpacing, 2);
    EXPECT_EQ(table.CellPadding, 2);
    EXPECT_FLOAT_EQ(table.WidthSpec, 1.0f);
    const HTMLElement& td = Find(label, "<TD>");
    EXPECT_EQ(td.ColSpan, 1);
    EXPECT_EQ(td.VAlign, 3);
    EXPECT_EQ(td.BgColor, kButtonFaceColor);
    EXPECT_FALSE(td.HasBgColor);
    const HTMLElement& a = Find(label, "<A>");
    EXPECT_EQ(a.Top, -1);
    EXPECT_EQ(a.Right, -1);
    EXPECT_EQ(Find(label, "<IMG src=x>").HSpace, 2);
}

TEST(HtmlClassify, TextRunsSplitAtEveryBlank) {
    HTMLLabel label = Loaded("<P> a  b </P>");
    EXPECT_EQ(WordsOf(label, " a b "), (V{"", "a", "b", ""}));
    EXPECT_EQ(Find(label, " a b ").TagID, tagText);
    EXPECT_FALSE(Find(label, " a b ").IsTag);
    // A no-break space keeps its words together.
    EXPECT_EQ(WordsOf(Loaded("<P>a&nbsp;b"), "a&nbsp;b"), (V{"a&nbsp;b"}));
}

TEST(HtmlFixups, ParagraphsAreClosedBeforeTheNextBlock) {
    EXPECT_EQ(Texts(Loaded("<P>a<P>b")),
              (V{"<HTML>", "<BODY>", "<P>", "a", "</P>", "<P>", "b", "</BODY>", "</HTML>"}));
    HTMLLabel t = Loaded("<P>a<TABLE>");
    EXPECT_EQ(Texts(t)[4], "</P>");
    EXPECT_EQ(t.Elements()[4].TagID, tagPEnd);
    // The inserted record is a copy of the one it displaced, attributes kept.
    EXPECT_FLOAT_EQ(t.Elements()[4].WidthSpec, 1.0f);
    EXPECT_TRUE(t.Elements()[4].IsTag);
    // The record right after an author's "</P>" is not examined, so the
    // paragraph it opens is never closed.
    EXPECT_EQ(Texts(Loaded("<HTML><BODY><P>a</P><P>b<P>c</BODY>")),
              (V{"<HTML>", "<BODY>", "<P>", "a", "</P>", "<P>", "b", "<P>", "c", "</BODY>"}));
}

TEST(HtmlFixups, RowsAndCellsAreClosedOutsideNestedTables) {
    HTMLLabel cell = Loaded("<TD>x</TR>");
    EXPECT_EQ(Texts(cell)[4], "</TD>");
    EXPECT_EQ(cell.Elements()[4].TagID, tagTDEnd);
    const char* nested = "<TR><TD><TABLE><TR><TD>y</TD></TR></TABLE></TD></TR>";
    EXPECT_EQ(Loaded(nested).ElementCount(), Loaded("").ElementCount() + 11);
    EXPECT_EQ(Texts(Loaded("<HTML><BODY><TABLE><TR><TD>a<TD>b<TR><TD>c</TABLE>")),
              (V{"<HTML>", "<BODY>", "<TABLE>", "<TR>", "<TD>", "a", "</TD>", "<TD>", "b", "</TD>",
                 "</TR>", "<TR>", "<TD>", "c", "</TD>", "</TR>", "</TABLE>"}));
}

// One record of a reference table: the record, its text, and which record
// of the classified table it came from (-1 for an inserted closer).
struct Slot {
    HTMLElement record;
    std::string text;
    int32_t origin = -1;
};

// The fix-up passes written the plain way, one vector insertion per missing
// closer and every scan run to its end, as the reference the fast passes
// must agree with.
std::vector<Slot> ReferenceFixups(std::vector<Slot> t) {
    auto count = [&] { return static_cast<int32_t>(t.size()); };
    auto tag = [&](int32_t k) { return t[static_cast<size_t>(k)].record.TagID; };
    auto insert = [&](int32_t j, const char* text, TagID id) {
        Slot copy = t[static_cast<size_t>(j)];
        copy.record.TagID = id;
        copy.text = text;
        copy.origin = -1;
        t.insert(t.begin() + j, copy);
    };
    for (int32_t i = 0; i < count(); ++i) {
        if (tag(i) != tagP) continue;
        for (int32_t j = i + 1; j < count(); ++j) {
            if (tag(j) == tagPEnd) {
                i = j + 1;
                break;
            }
            if (tag(j) == tagP || tag(j) == tagTable || tag(j) == tagTDEnd) {
                insert(j, "</P>", tagPEnd);
                i = j;
                break;
            }
        }
    }
    auto nested = [&](TagID opener, TagID closer, std::vector<TagID> enders, const char* text) {
        int32_t i = 0;
        while (i < count()) {
            if (tag(i) != opener) {
                ++i;
                continue;
            }
            bool stopped = false;
            int depth = 0;
            for (int32_t j = i + 1; j < count() && !stopped; ++j) {
                const TagID id = tag(j);
                if (depth == 0) {
                    if (id == closer) {
                        stopped = true;
                    } else if (id == tagTable) {
                        depth = 1;
                    } else if (std::find(enders.begin(), enders.end(), id) != enders.end()) {
                        insert(j, text, closer);
                        stopped = true;
                    }
                } else if (id == tagTable) {
                    ++depth;
                } else if (id == tagTableEnd) {
                    --depth;
                }
            }
            i += stopped ? 2 : 1;
        }
    };
    nested(tagTR, tagTREnd, {tagTR, tagTableEnd}, "</TR>");
    nested(tagTD, tagTDEnd, {tagTD, tagTREnd, tagTableEnd}, "</TD>");
    return t;
}

// The record without the fields that say where it stands.
HTMLElement Unplaced(HTMLElement e) {
    e.Text = {};
    e.Index = e.Parent = e.SiblingIndex = e.ChildCount = 0;
    e.ChildrenAt = 0;
    e.EndedByCloser = false;
    return e;
}

// Loads `doc` and checks the table against the reference fix-ups applied to
// the same document's classified table: texts, tags, every other field of
// every record (an inserted closer copies the record it displaced), the
// numbering and BodyIndex. Documents must not set TEXT colours, which the
// second classification below would start from.
void ExpectFixupsAgree(const std::string& doc) {
    HTMLLabel fast;
    ASSERT_TRUE(fast.LoadDocument(doc).ok());

    HTMLLabel classified;
    (void)classified.LoadDocument(doc);
    // Start again from the classified table, before any fix-up.
    classified.Tokenize();
    classified.ClassifyAll();
    std::vector<Slot> slots;
    for (const HTMLElement& e : classified.Elements()) {
        slots.push_back({e, std::string(classified.View(e.Text)), e.Index});
    }
    const std::vector<Slot> reference = ReferenceFixups(std::move(slots));

    ASSERT_EQ(static_cast<size_t>(fast.ElementCount()), reference.size()) << doc;
    for (size_t k = 0; k < reference.size(); ++k) {
        const HTMLElement& e = fast.Elements()[k];
        ASSERT_EQ(fast.View(e.Text), reference[k].text) << doc << " at " << k;
        ASSERT_EQ(e.TagID, reference[k].record.TagID) << doc << " at " << k;
        ASSERT_EQ(e.Index, static_cast<int32_t>(k)) << doc;
        ASSERT_TRUE(Unplaced(e) == Unplaced(reference[k].record)) << doc << " at " << k;
    }
    int32_t body = classified.BodyIndex();
    for (size_t k = 0; k < reference.size(); ++k) {
        if (reference[k].origin == classified.BodyIndex()) body = static_cast<int32_t>(k);
    }
    ASSERT_EQ(fast.BodyIndex(), body) << doc;
}

TEST(HtmlFixups, AgreeWithOneInsertionAtATimeOnRandomTagSoup) {
    const char* pieces[] = {"<P>",
                            "</P>",
                            "<TABLE>",
                            "</TABLE>",
                            "<TR>",
                            "</TR>",
                            "<TD>",
                            "</TD>",
                            "x",
                            "<B>",
                            "<BODY>",
                            "<TH width=40%>",
                            "</TH>",
                            "<TD bgcolor=red colspan=2>",
                            "<TABLE border=1>",
                            "<P align=center>",
                            "<FONT size=2>",
                            "</FONT>"};
    std::mt19937 rng(1234);
    for (int round = 0; round < 1500; ++round) {
        std::string doc = round % 3 == 0 ? "" : "<HTML><BODY>";
        const int n = static_cast<int>(rng() % 60);
        for (int k = 0; k < n; ++k) doc += pieces[rng() % std::size(pieces)];
        ExpectFixupsAgree(doc);
    }
}

TEST(HtmlFixups, AgreeWithOneInsertionAtATimeOnLongUnbalancedShapes) {
    // Rows left open before tables never closed, tables nested without end,
    // closers with no opener, and the same shapes closed late.
    const char* units[] = {"<TR><TABLE>",        "<TABLE><TR><TD>x",    "<TD><TABLE><TR>",
                           "</TABLE><TR><TD>",   "<P><TABLE><TD></TR>", "<TR><TD><P>x</TD>",
                           "<TABLE><TD><TABLE>", "</TABLE></TABLE><TR>"};
    for (const char* unit : units) {
        std::string doc;
        for (int k = 0; k < 150; ++k) doc += unit;
        ExpectFixupsAgree(doc);
        ExpectFixupsAgree(doc + std::string(150, ' ') + "</TABLE></TABLE></TABLE></TR></TD>");
    }
}

// The tokenizer written the plain way: every "<" searches afresh for its ">".
struct RefToken {
    std::string text;
    bool no_space = false;
    bool operator==(const RefToken&) const = default;
};

std::vector<RefToken> ReferenceTokens(std::string_view s) {
    auto in_str = [&](size_t start, std::string_view what) -> size_t {
        if (start < 1) start = 1;
        if (start > s.size()) return 0;
        const size_t at = s.find(what, start - 1);
        return at == std::string_view::npos ? 0 : at + 1;
    };
    std::vector<RefToken> out;
    const size_t len = s.size();
    size_t i = 1;
    size_t j = 0;
    bool sp = false;
    while (j < len) {
        i = in_str(i, "<");
        if (i == 0) break;
        if (s.substr(i - 1).starts_with("<!--")) {
            const size_t close = in_str(i, "-->");
            j = close == 0 ? len : close + 2;
        } else {
            j = in_str(i, ">");
        }
        if (j > 0) {
            out.push_back({std::string(s.substr(i - 1, j - i + 1)), false});
            if (i > 1) sp = s[i - 2] != ' ';
            i = j = j + 1;
        } else {
            i = i + 1;
        }
        j = in_str(i, "<");
        if (j > i) {
            const std::string_view run = s.substr(i - 1, j - i);
            if (run.find_first_not_of(' ') != std::string_view::npos) {
                out.push_back({std::string(run), sp});
            }
            i = j;
        } else if (j == 0) {
            j = len;
        }
    }
    return out;
}

TEST(HtmlTokenize, AgreesWithAFreshSearchForEveryAngleBracket) {
    // Stray "<" with and without a ">" somewhere after it, comments open and
    // closed, blanks on either side.
    const char* pieces[] = {"<", "<", ">", " ", "a", "b ", "<!--", "-->", "<B>", "</B>", "--"};
    std::mt19937 rng(99);
    for (int round = 0; round < 3000; ++round) {
        std::string doc = round % 2 == 0 ? "<HTML><BODY>" : "";
        const int n = static_cast<int>(rng() % 40);
        for (int k = 0; k < n; ++k) doc += pieces[rng() % std::size(pieces)];
        HTMLLabel label = Loaded(doc);
        label.Tokenize();
        std::vector<RefToken> tokens;
        for (const HTMLElement& e : label.Elements()) {
            tokens.push_back({std::string(label.View(e.Text)), e.NoSpaceBefore});
        }
        ASSERT_TRUE(tokens == ReferenceTokens(label.DocumentHTML())) << doc;
    }
}

}  // namespace
}  // namespace html_label
