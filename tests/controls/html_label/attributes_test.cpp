// SPDX-License-Identifier: GPL-3.0-or-later
// Tag attributes and colours of the HTML label.
#include <gtest/gtest.h>

#include "html_test_util.h"

namespace html_label {
namespace {

using testing::Find;
using testing::Loaded;
using V = std::vector<std::string>;

TEST(HtmlAttributes, ExtractionHandlesQuotesBlanksAndMissingEquals) {
    HTMLLabel label;
    EXPECT_EQ(label.mintExtractTagAttributes("<A href = 'x.htm' title=\"Go on\">"), 2);
    EXPECT_EQ(label.AttrNames(), (V{"HREF", "TITLE"}));
    EXPECT_EQ(label.AttrValues(), (V{"x.htm", "Go on"}));
    // A missing closing quote runs to the end of the tag.
    EXPECT_EQ(label.mintExtractTagAttributes("<A href='x.htm>"), 1);
    EXPECT_EQ(label.AttrValues(), (V{"x.htm"}));
    // A word without "=" becomes part of the next name.
    EXPECT_EQ(label.mintExtractTagAttributes("<TD NOWRAP WIDTH=5>"), 1);
    EXPECT_EQ(label.AttrNames(), (V{"NOWRAP WIDTH"}));
    EXPECT_EQ(label.mintExtractTagAttributes("<BR>"), 0);
    EXPECT_TRUE(label.AttrNames().empty());
    EXPECT_EQ(label.mintExtractTagAttributes("<A x=>"), 1);
    EXPECT_EQ(label.AttrValues(), (V{""}));
    // An "=" straight after a quoted value with none after it ends the list.
    EXPECT_EQ(label.mintExtractTagAttributes("<A x='1'=>"), 1);
    EXPECT_EQ(label.mintExtractTagAttributes("<!-- a=   "), 1);
    EXPECT_EQ(label.AttrNames().size(), label.AttrValues().size());
}

TEST(HtmlAttributes, FontFaceSizeAndColour) {
    HTMLLabel label = Loaded("<FONT face='Arial, Helvetica' size=+1 color=#FF0000>x");
    const HTMLElement& f = Find(label, "<FONT face='Arial, Helvetica' size=+1 color=#FF0000>");
    EXPECT_EQ(label.View(f.FontFace), "Arial");
    EXPECT_FLOAT_EQ(f.FontSize, 11.2f);
    EXPECT_EQ(f.Color, 255u);
    // Sizes are relative to DefaultFontSize, 3 being the default itself.
    const std::pair<const char*, float> sizes[] = {{"3", 10},    {"5", 12.4f}, {"1", 7.6f},
                                                   {"-2", 7.6f}, {"big", 10},  {"", 10}};
    for (const auto& [size, points] : sizes) {
        const std::string tag = std::string("<FONT size=") + size + ">";
        EXPECT_FLOAT_EQ(Find(Loaded(tag), tag).FontSize, points) << size;
    }
    const HTMLLabel comma = Loaded("<FONT face=',x'>");
    EXPECT_EQ(comma.View(Find(comma, "<FONT face=',x'>").FontFace), ",x");
}

TEST(HtmlAttributes, ColoursByHexAndByName) {
    EXPECT_EQ(*HTMLLabel::ParseColor("red"), 255u);
    EXPECT_EQ(*HTMLLabel::ParseColor("RED"), 255u);
    EXPECT_EQ(*HTMLLabel::ParseColor("pink"), 0u);
    EXPECT_EQ(*HTMLLabel::ParseColor("#00ff00"), 65280u);
    EXPECT_EQ(*HTMLLabel::ParseColor("F00"), 240u);
    EXPECT_EQ(*HTMLLabel::ParseColor("0000ff"), 0xFF0000u);
    EXPECT_EQ(*HTMLLabel::ParseColor("silver"), 0xC0C0C0u);
    EXPECT_EQ(*HTMLLabel::ParseColor("Navy"), 0x800000u);
    EXPECT_EQ(*HTMLLabel::ParseColor(""), 0u);
    // Eight digits: the first, second and last pairs.
    EXPECT_EQ(*HTMLLabel::ParseColor("12345678"), 0x783412u);
    // One or two digits leave no green pair: not a colour.
    EXPECT_FALSE(HTMLLabel::ParseColor("F").ok());
    EXPECT_FALSE(HTMLLabel::ParseColor("#ff").ok());
    EXPECT_EQ(HTMLLabel::ColorFromName("Fuchsia"), "FF00FF");
    EXPECT_EQ(HTMLLabel::ColorFromName("nonsense"), "000000");
}

TEST(HtmlAttributes, DocumentWideAttributesChangeTheDocumentState) {
    HTMLLabel label = Loaded("<BODY bgcolor=#FFFFCC text=navy link=maroon background=bg.gif>x");
    EXPECT_EQ(label.DocBackColor(), 0xCCFFFFu);
    EXPECT_EQ(label.TextColor(), 0x800000u);
    EXPECT_EQ(label.LinkColor(), 0x000080u);
    EXPECT_EQ(label.BackgroundImage(), "bg.gif");
    EXPECT_FALSE(label.Elements()[static_cast<size_t>(label.BodyIndex())].HasBgColor);
    // TEXT works on any tag, not only BODY.
    EXPECT_EQ(Loaded("<FONT text=blue>x").TextColor(), 0xFF0000u);
    // A short colour is ignored and the previous value stays.
    EXPECT_EQ(Loaded("<BODY text=red><P text=#F>x").TextColor(), 255u);
}

TEST(HtmlAttributes, TableCellAndImageFields) {
    const std::string td = "<TD bgcolor=silver valign=bottom colspan=2 width=50%>";
    const HTMLLabel row = Loaded("<TABLE><TR>" + td);
    const HTMLElement& cell = Find(row, td);
    EXPECT_EQ(cell.BgColor, 0xC0C0C0u);
    EXPECT_TRUE(cell.HasBgColor);
    EXPECT_EQ(cell.VAlign, 5);
    EXPECT_EQ(cell.ColSpan, 2);
    EXPECT_FLOAT_EQ(cell.WidthSpec, 0.5f);

    HTMLLabel t =
        Loaded("<TABLE width=300px border=1 height=40%><IMG src=a.gif width=40 height=30>");
    EXPECT_FLOAT_EQ(Find(t, "<TABLE width=300px border=1 height=40%>").WidthSpec, 300);
    EXPECT_FLOAT_EQ(Find(t, "<TABLE width=300px border=1 height=40%>").HeightSpec, 0.4f);
    EXPECT_EQ(Find(t, "<TABLE width=300px border=1 height=40%>").Border, 1);
    const HTMLElement& img = Find(t, "<IMG src=a.gif width=40 height=30>");
    EXPECT_EQ(img.ImgWidth, 40);
    EXPECT_EQ(img.ImgHeight, 30);
    EXPECT_EQ(t.View(img.Src), "a.gif");

    const std::string a = "<A href = 'x.htm' title='Go' name=top>";
    const HTMLLabel linked = Loaded(a);
    const HTMLElement& link = Find(linked, a);
    EXPECT_EQ(linked.View(link.Href), "x.htm");
    EXPECT_EQ(linked.View(link.Title), "Go");
    EXPECT_EQ(linked.View(link.Name), "top");
}

TEST(HtmlAttributes, UnknownValuesAndNonNumbersAreIgnored) {
    EXPECT_FALSE(Find(Loaded("<P align=left>"), "<P align=left>").AlignCenter);
    EXPECT_TRUE(Find(Loaded("<P align=Center>"), "<P align=Center>").AlignCenter);
    EXPECT_TRUE(Find(Loaded("<P align=right>"), "<P align=right>").AlignRight);
    const std::string td = "<TD valign=middle border=thin colspan=x cellpadding=1e9 width=50PX>";
    const HTMLLabel odd = Loaded(td);
    const HTMLElement& cell = Find(odd, td);
    EXPECT_EQ(cell.VAlign, 3);
    EXPECT_EQ(cell.Border, 0);
    EXPECT_EQ(cell.ColSpan, 1);
    EXPECT_EQ(cell.CellPadding, 0);         // beyond 16 bits: ignored, not wrapped
    EXPECT_FLOAT_EQ(cell.WidthSpec, 1.0f);  // "px" is removed only in lower case
    // HEIGHT keeps "px", so it is not a number there.
    EXPECT_FLOAT_EQ(Find(Loaded("<TABLE height=100px>"), "<TABLE height=100px>").HeightSpec, 0);
    // Integer conversions round halves to even.
    EXPECT_EQ(Find(Loaded("<TABLE border=2.5>"), "<TABLE border=2.5>").Border, 2);
    EXPECT_EQ(Find(Loaded("<TABLE border=3.5>"), "<TABLE border=3.5>").Border, 4);
    // A later attribute overrides an earlier one of the same effect.
    const HTMLLabel named = Loaded("<A name=a id=b>");
    EXPECT_EQ(named.View(Find(named, "<A name=a id=b>").Name), "b");
}

}  // namespace
}  // namespace html_label
