// SPDX-License-Identifier: GPL-3.0-or-later
// The HTML label's element table, hierarchy, title, anchors, properties,
// persistence and load sequence.
#include <gtest/gtest.h>

#include "html_test_util.h"

namespace html_label {
namespace {

using testing::ChildrenOf;
using testing::Find;
using testing::Loaded;
using testing::Texts;

TEST(HtmlHierarchy, AnyCloserEndsTheOpenContainer) {
    HTMLLabel label = Loaded("<HTML><BODY><B>a</I>b</BODY></HTML>");
    const HTMLElement& b = Find(label, "<B>");
    EXPECT_EQ(b.ChildCount, 1);
    const std::vector<int32_t> children = ChildrenOf(label, b);
    ASSERT_EQ(children.size(), 2u);
    EXPECT_EQ(Texts(label)[children[0]], "a");
    EXPECT_EQ(Texts(label)[children[1]], "</I>");
    HTMLElement next;
    ASSERT_TRUE(label.GetNextSibling(b, next));
    EXPECT_EQ(label.View(next.Text), "b");
}

TEST(HtmlHierarchy, ParagraphsBecomeSiblingsAndTheFinalTagJoinsBody) {
    HTMLLabel label = Loaded("<P>a<P>b");
    // <HTML> <BODY> <P> a </P> <P> b </BODY> </HTML>
    const auto& e = label.Elements();
    EXPECT_EQ(e[2].ChildCount, 1);
    EXPECT_EQ(ChildrenOf(label, e[2]), (std::vector<int32_t>{3, 4}));
    EXPECT_EQ(e[5].Parent, 1);
    EXPECT_EQ(e[5].SiblingIndex, 1);
    EXPECT_EQ(ChildrenOf(label, e[5]),
              (std::vector<int32_t>{6, 7}));  // "</BODY>" ends the second P
    EXPECT_EQ(e[8].Parent, 1);
    EXPECT_EQ(e[1].ChildCount, 3);
    EXPECT_EQ(e[0].ChildCount, 1);
}

TEST(HtmlHierarchy, LeavesNestNothingAndATopLevelCloserEndsTheWalk) {
    HTMLLabel label = Loaded("<HTML><BODY><UL><LI>a<LI>b</UL></BODY></HTML>");
    const HTMLElement& ul = Find(label, "<UL>");
    EXPECT_EQ(ul.ChildCount, 4);  // LI, a, LI, b
    EXPECT_EQ(Find(label, "a").Parent, ul.Index);

    // "</B>" at top level ends the walk: what follows stays outside.
    HTMLLabel top = Loaded("<HTML></B><BODY>x</BODY></HTML>");
    EXPECT_EQ(top.Elements()[0].ChildCount, 0);
    for (int32_t k = 2; k < top.ElementCount(); ++k) {
        EXPECT_EQ(top.Elements()[k].Parent, 0);
        EXPECT_EQ(top.Elements()[k].SiblingIndex, 0);
        EXPECT_TRUE(top.Children(top.Elements()[k]).empty());
    }
}

TEST(HtmlHierarchy, DeepNestingAndLongDocumentsLoadWhole) {
    // Far beyond what a recursive walk or 16-bit counters would survive.
    std::string deep;
    for (int k = 0; k < 40000; ++k) deep += "<B>";
    HTMLLabel label = Loaded(deep + "x");
    ASSERT_EQ(label.ElementCount(), 40000 + 5);
    const HTMLElement& x = Find(label, "x");
    EXPECT_EQ(x.Parent, x.Index - 1);
    EXPECT_EQ(label.Elements()[2].ChildCount, 1);

    std::string wide;
    for (int k = 0; k < 20000; ++k) wide += "<TD>a";
    HTMLLabel cells = Loaded("<TABLE><TR>" + wide + "</TABLE>");
    EXPECT_EQ(cells.ElementCount(), 4 + 2 + 3 * 20000 + 2);
    EXPECT_GT(cells.DocumentHTML().size(), 32767u);
    EXPECT_EQ(cells.Elements().back().Index, cells.ElementCount() - 1);
}

TEST(HtmlTable, InsertElementAtCopiesAndRenumbers) {
    // <HTML> <BODY> <r0> ... <r9> </BODY> </HTML>
    std::string doc;
    for (int k = 0; k < 10; ++k) doc += "<r" + std::to_string(k) + ">";
    HTMLLabel label = Loaded(doc);
    ASSERT_EQ(label.ElementCount(), 14);
    label.InsertElementAt(7);
    ASSERT_EQ(label.ElementCount(), 15);
    EXPECT_EQ(Texts(label)[7], "<r5>");
    EXPECT_EQ(label.Elements()[7].Index, 7);
    for (int k = 8; k <= 12; ++k) {
        EXPECT_EQ(Texts(label)[k], "<r" + std::to_string(k - 3) + ">");
        EXPECT_EQ(label.Elements()[k].Index, k);
    }
    label.InsertElementAt(15);  // outside the table: refused
    label.InsertElementAt(-1);
    EXPECT_EQ(label.ElementCount(), 15);
    // BODY moves along with an insertion in front of it.
    label.InsertElementAt(1);
    EXPECT_EQ(label.BodyIndex(), 2);
}

TEST(HtmlTable, QueriesHandOutCopiesAndStopAtTheTop) {
    HTMLLabel label = Loaded("<TABLE><TR><TD><B>x</B></TD></TR></TABLE>");
    const HTMLElement& x = Find(label, "x");
    HTMLElement found;
    ASSERT_TRUE(label.FindAncestorByTag(x, found, tagTD));
    EXPECT_EQ(label.View(found.Text), "<TD>");
    EXPECT_FALSE(label.FindAncestorByTag(x, found, tagUL));
    ASSERT_TRUE(label.GetFirstChild(Find(label, "<TR>"), found));
    EXPECT_EQ(label.View(found.Text), "<TD>");
    EXPECT_FALSE(label.GetFirstChild(x, found));
    // Top-level elements report no parent, so <HTML>'s children have none.
    EXPECT_FALSE(label.GetParentElement(label.Elements()[1], found));
    EXPECT_FALSE(label.GetNextSibling(label.Elements()[1], found));
    // A copy is independent of the table.
    ASSERT_TRUE(label.GetParentElement(x, found));
    found.ChildCount = 99;
    EXPECT_EQ(Find(label, "<B>").ChildCount, 1);
    // A record of a longer document reads as empty in a shorter one, and
    // its child list as none, rather than reading past the end.
    const HTMLLabel small = Loaded("x");
    EXPECT_EQ(small.View(label.Elements().back().Text), "");
    const HTMLElement& b = Find(label, "<B>");
    ASSERT_FALSE(label.Children(b).empty());
    EXPECT_TRUE(small.Children(b).empty());
    EXPECT_FALSE(small.GetFirstChild(b, found));
}

TEST(HtmlTitle, TakesTheRecordAfterTheFirstTitle) {
    EXPECT_EQ(Loaded("<TITLE>My page</TITLE>").DocumentTitle(), "My page");
    EXPECT_EQ(Loaded("<TITLE></TITLE>").DocumentTitle(), "</TITLE>");
    EXPECT_EQ(Loaded("<P>x").DocumentTitle(), "Unknown");
    EXPECT_EQ(HTMLLabel().DocumentTitle(), "Unknown");
    EXPECT_EQ(HTMLLabel().DocumentHTML(), "");
    // TITLE as the very last record has nothing after it.
    EXPECT_EQ(Loaded("<HTML><BODY><TITLE>").DocumentTitle(), "Unknown");
}

TEST(HtmlAnchors, CollectedOnlyWhileEnabledAtLoadTime) {
    const char* doc = "<A name=top>t</A><A href=x>y</A><B>z</B>";
    HTMLLabel label;
    ASSERT_TRUE(label.LoadDocument(doc).ok());
    EXPECT_EQ(label.AnchorCount(), 0);
    label.SetEnableAnchors(true);
    EXPECT_EQ(label.AnchorCount(), 0);  // inert until the next load
    ASSERT_TRUE(label.LoadDocument(doc).ok());
    ASSERT_EQ(label.AnchorCount(), 2);
    EXPECT_EQ(Texts(label)[label.Anchors()[0]], "<A name=top>");
    EXPECT_EQ(Texts(label)[label.Anchors()[1]], "<A href=x>");
}

// Records what the model asks of the visible component.
class RecordingView : public HTMLLabelView {
  public:
    void BeginBusy() override { log += "busy;"; }
    void EndBusy() override { log += "idle;"; }
    bool IsHostVisible() const override { return visible; }
    platform::Status Refresh() override {
        log += "refresh;";
        return refresh_result;
    }
    void ResetFont(const std::string& face, float size, platform::Color) override {
        log += "font " + face + " " + std::to_string(static_cast<int>(size)) + ";";
    }
    void ApplyBackColor(platform::Color) override { log += "back;"; }
    void SetSurfaceBackColor(platform::Color) override { log += "surface;"; }
    void RepaintViewport() override { log += "repaint;"; }

    std::string log;
    bool visible = false;
    platform::Status refresh_result;
};

TEST(HtmlLoad, RefreshesOnlyWhenVisibleAndAlwaysRestoresThePointer) {
    RecordingView view;
    HTMLLabel label(nullptr, &view);
    ASSERT_TRUE(label.LoadDocument("x").ok());
    EXPECT_EQ(view.log, "busy;font Arial 10;idle;");

    view.log.clear();
    view.visible = true;
    view.refresh_result = platform::MakeError(platform::ErrorCode::kOutOfMemory);
    platform::Status s = label.LoadDocument("x");
    EXPECT_EQ(s.error().code, platform::ErrorCode::kOutOfMemory);
    EXPECT_EQ(view.log, "busy;font Arial 10;refresh;idle;");
}

TEST(HtmlLoad, ResetsDocumentStateBetweenDocuments) {
    HTMLLabel label;
    ASSERT_TRUE(label.LoadDocument("<BODY text=red link=red bgcolor=red background=x>").ok());
    ASSERT_TRUE(label.LoadDocument("<P>plain").ok());
    EXPECT_EQ(label.TextColor(), 0u);
    EXPECT_EQ(label.LinkColor(), kDefaultLinkColor);
    EXPECT_EQ(label.DocBackColor(), kButtonFaceColor);
    EXPECT_EQ(label.BackgroundImage(), "");
    EXPECT_EQ(label.BodyIndex(), 1);
}

TEST(HtmlProperties, FontChangesReloadOnlyALoadedDocument) {
    RecordingView view;
    HTMLLabel label(nullptr, &view);
    ASSERT_TRUE(label.SetDefaultFontSize(12).ok());
    EXPECT_EQ(view.log, "");
    EXPECT_EQ(label.ElementCount(), 0);

    ASSERT_TRUE(label.LoadDocument("<H1>x").ok());
    view.log.clear();
    ASSERT_TRUE(label.SetDefaultFontSize(20).ok());
    EXPECT_EQ(view.log, "busy;font Arial 20;idle;");
    EXPECT_FLOAT_EQ(Find(label, "<H1>").FontSize, 27.2f);
    ASSERT_TRUE(label.SetDefaultFontName("Tahoma").ok());
    EXPECT_EQ(view.log, "busy;font Arial 20;idle;busy;font Tahoma 20;idle;");
}

TEST(HtmlProperties, BackColorRepaintsAnEmptyLabelAndReloadsADocument) {
    RecordingView view;
    HTMLLabel label(nullptr, &view);
    ASSERT_TRUE(label.SetBackColor(0x123456).ok());
    EXPECT_EQ(view.log, "back;surface;repaint;");
    EXPECT_EQ(label.DocBackColor(), 0x123456u);

    // A BGCOLOR on BODY wins again after the reload.
    ASSERT_TRUE(label.LoadDocument("<BODY bgcolor=red><TD>x").ok());
    view.log.clear();
    ASSERT_TRUE(label.SetBackColor(0xABCDEF).ok());
    EXPECT_EQ(view.log, "back;surface;busy;font Arial 10;idle;");
    EXPECT_EQ(label.DocBackColor(), 255u);
    EXPECT_EQ(Find(label, "<TD>").BgColor, 0xABCDEFu);  // cells start with BackColor
}

TEST(HtmlProperties, BodyIndexFollowsBodyPastInsertedClosers) {
    HTMLLabel label = Loaded("<HTML><P>a<TD>b</TD><P>c<BODY bgcolor=red>d</BODY></HTML>");
    EXPECT_EQ(Texts(label)[label.BodyIndex()], "<BODY bgcolor=red>");
}

// Remembers which saved keys changed.
class RecordingHost : public platform::ComponentHost {
  public:
    void PropertyChanged(std::string_view key) override { changed += std::string(key) + ";"; }
    std::string changed;
};

TEST(HtmlPersistence, NewInstanceDefaultsDifferFromSavedDefaults) {
    HTMLLabel fresh;
    EXPECT_EQ(fresh.DefaultFontName(), "Arial");
    EXPECT_FALSE(fresh.EnableTooltips());
    platform::PropertyBag bag;
    fresh.WriteProperties(bag);
    EXPECT_FALSE(bag.Read<bool>("EnableTooltips", true));
    EXPECT_EQ(bag.Read<std::string>("defaultfontname", ""), "Arial");

    HTMLLabel loaded;
    ASSERT_TRUE(loaded.ReadProperties(platform::PropertyBag{}).ok());
    EXPECT_TRUE(loaded.EnableTooltips());
    EXPECT_EQ(loaded.DefaultFontName(), "MS Sans Serif");
    EXPECT_EQ(loaded.BackColor(), kButtonFaceColor);
    EXPECT_EQ(loaded.Appearance(), 1);
    EXPECT_EQ(loaded.ElementCount(), 0);  // reading loads no document
}

TEST(HtmlPersistence, EveryValueSurvivesARoundTrip) {
    RecordingHost host;
    HTMLLabel a(&host);
    a.SetAppearance(0);
    a.SetBorderStyle(0);
    ASSERT_TRUE(a.SetBackColor(0x00B4FFFF).ok());
    a.SetEnableAnchors(true);
    a.SetEnableScroll(true);
    a.SetEnableTooltips(true);
    ASSERT_TRUE(a.SetDefaultFontName("MS Sans Serif").ok());
    ASSERT_TRUE(a.SetDefaultFontSize(9.5f).ok());
    a.SetUnderlineLinks(false);
    a.SetDefaultPadding(6);
    a.SetDefaultSpacing(5);
    EXPECT_EQ(host.changed,
              "Appearance;BorderStyle;BackColor;EnableAnchors;EnableScroll;EnableTooltips;"
              "DefaultFontName;DefaultFontSize;UnderlineLinks;DefaultPadding;DefaultSpacing;");

    platform::PropertyBag bag;
    a.WriteProperties(bag);
    HTMLLabel b;
    ASSERT_TRUE(b.ReadProperties(bag).ok());
    EXPECT_EQ(b.Appearance(), 0);
    EXPECT_EQ(b.BorderStyle(), 0);
    EXPECT_EQ(b.BackColor(), 0x00B4FFFFu);
    EXPECT_EQ(b.DocBackColor(), 0x00B4FFFFu);
    EXPECT_TRUE(b.EnableAnchors());
    EXPECT_TRUE(b.EnableScroll());
    EXPECT_TRUE(b.EnableTooltips());
    EXPECT_EQ(b.DefaultFontName(), "MS Sans Serif");
    EXPECT_FLOAT_EQ(b.DefaultFontSize(), 9.5f);
    EXPECT_FALSE(b.UnderlineLinks());
    EXPECT_EQ(b.DefaultPadding(), 6);
    EXPECT_EQ(b.DefaultSpacing(), 5);
}

TEST(HtmlPersistence, OutOfRangeSavedValueIsReportedAndTheRestApplied) {
    platform::PropertyBag bag;
    bag.Write<int32_t>("DefaultPadding", 70000, 4);
    bag.Write<int32_t>("DefaultSpacing", 9, 4);
    HTMLLabel label;
    platform::Status s = label.ReadProperties(bag);
    EXPECT_EQ(s.error().code, platform::ErrorCode::kOverflow);
    EXPECT_EQ(label.DefaultPadding(), 4);
    EXPECT_EQ(label.DefaultSpacing(), 9);
}

}  // namespace
}  // namespace html_label
