// Links and keys: the "vb:" call text, host methods, and the windowed
// component answering the pointer and the keyboard on the headless backend,
// with the fixed-metrics face at 12 points (8 x 16 cells, 20 px lines).
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "controls/html_label/html_label_control.h"
#include "platform/controls/tooltip.h"
#include "platform/headless/headless_backend.h"
#include "platform/text.h"
#include "platform/window.h"

namespace html_label {
namespace {

using namespace platform;
using Args = std::vector<std::string>;

TEST(HtmlCallText, NamesAndArgumentsAsTheLinkWritesThem) {
    struct Case {
        const char* text;
        const char* name;
        std::optional<Args> args;
    };
    const Case cases[] = {
        {"Show", "Show", std::nullopt},
        {"Show(1, 'two', \"three\")", "Show", Args{"1", "two", "three"}},
        {"Show('a,b')", "Show", Args{"a,b"}},
        {"Show 5", "Show", Args{"5"}},
        // The blank after the comma keeps the quote from opening.
        {"Show(1, 'a,b')", "Show", Args{"1", "'a", "b'"}},
        {"Show()", "Show", std::nullopt},
        {"Show(,x)", "Show", Args{"x"}},
        {"Show(a) b", "Show", Args{"a", "b"}},
        {" Show(x)", "Show", Args{"x"}},
        // A lone quote is an empty argument: dropped inside the list, kept
        // at its end, like ''.
        {"Show(')", "Show", std::nullopt},
        {"Show('', x)", "Show", Args{"x"}},
        {"Show '", "Show", Args{""}},
        {"", "", std::nullopt},
    };
    for (const Case& c : cases) {
        const CallText call = HTMLLabel::ParseCallText(c.text);
        EXPECT_EQ(call.name, c.name) << c.text;
        EXPECT_EQ(call.args, c.args) << c.text;
    }
}

TEST(HtmlHostMethods, CallsByNameAndRefusesWhatALateBoundCallWould) {
    HTMLLabel label;
    std::vector<Args> calls;
    label.RegisterHostMethod("ShowWord", {0, 2, [&](const Args& args) {
                                              calls.push_back(args);
                                              return Status{};
                                          }});
    label.RegisterHostMethod("Broken",
                             {0, 8, [](const Args&) {
                                  return Status(Error{ErrorCode::kInvalidPropertyValue, "fails"});
                              }});
    EXPECT_TRUE(label.InvokeHostMethod("showword", Args{"abc"}));
    EXPECT_TRUE(label.InvokeHostMethod("SHOWWORD", std::nullopt));
    // Three arguments: refused, not called.
    EXPECT_FALSE(label.InvokeHostMethod("ShowWord", Args{"a", "b", "c"}));
    // More than eight: called with none.
    EXPECT_TRUE(label.InvokeHostMethod("ShowWord", Args(9, "x")));
    EXPECT_FALSE(label.InvokeHostMethod("Missing", std::nullopt));
    EXPECT_FALSE(label.InvokeHostMethod("Broken", Args{"a"}));
    EXPECT_EQ(calls, (std::vector<Args>{{"abc"}, {}, {}}));
}

LRESULT FormProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    return DefWindowProc(h, msg, wp, lp);
}

class UserHost : public ComponentHost {
  public:
    Result<bool> AmbientUserMode() const override { return true; }
};

// "line0" ... on 20 px lines from 4, then the links on the line after.
std::string Document(int lines, const std::string& tail) {
    std::string html = "<BODY BGCOLOR=white>";
    for (int k = 0; k < lines; ++k) html += "line" + std::to_string(k) + "<BR>";
    return html + tail;
}

class LinksTest : public ::testing::Test {
  protected:
    void SetUp() override {
        RegisterClass({"LinkForm", &FormProc, 0, 0xFFFFFF, {}});
        form_ = CreateWindowEx(0, "LinkForm", "", WS_POPUP | WS_VISIBLE, 0, 0, 400, 400, HWND{});
        control_ = std::make_unique<HTMLLabelControl>(form_, host_, "htmlLinks",
                                                      Rect::FromXYWH(10, 10, 204, 154));
        HTMLLabel& label = control_->label();
        label.SetEnableScroll(true);
        label.SetEnableAnchors(true);
        label.SetEnableTooltips(true);
        ASSERT_TRUE(label.SetDefaultFontName(kTestFontName).ok());
        ASSERT_TRUE(label.SetDefaultFontSize(12).ok());
        label.on_hyperlink_click = [this, &label](std::string& href) {
            clicks_.push_back(href);
            pending_in_handler_ = label.PendingHref();
        };
        label.RegisterHostMethod("ShowWord", {0, 1, [this](const Args& args) {
                                                  calls_.push_back(args);
                                                  return Status{};
                                              }});
        control_->Resize();
    }
    void TearDown() override {
        control_.reset();
        DestroyWindow(form_);
    }
    void Load(const std::string& html) { ASSERT_TRUE(control_->label().LoadDocument(html).ok()); }
    Point Screen(int32_t x, int32_t y) {
        return MapWindowPoint(control_->viewport().hwnd(), HWND{}, {x, y});
    }
    void Move(int32_t x, int32_t y) { session_.MoveMouse(Screen(x, y)); }
    void Click(int32_t x, int32_t y) { session_.Click(Screen(x, y)); }
    int32_t Scroll() const { return control_->vertical().value(); }

    headless::HeadlessSession session_;
    UserHost host_;
    HWND form_;
    std::unique_ptr<HTMLLabelControl> control_;
    std::vector<std::string> clicks_;
    std::string pending_in_handler_ = "(no click)";
    std::vector<Args> calls_;
};

TEST_F(LinksTest, TheHandAndTheTitleShowOverALinkAtTheScrollPosition) {
    // The link's box: from its first word at (4, 404) to 36 across and
    // 404 + 20 + 4 down.
    Load(Document(20,
                  "<A HREF='word.htm' TITLE='Meaning'>word</A> plain <A HREF=b.htm>b</A>"
                  "<BR>more<BR>more<BR>more<BR>more<BR>more<BR>more<BR>more<BR>more"));
    const HTMLElement& a =
        control_->label().Elements()[static_cast<size_t>(control_->label().Anchors()[0])];
    ASSERT_EQ(a.Left, 4);
    ASSERT_EQ(a.Top, 404);
    ASSERT_EQ(a.Right, 36);
    ASSERT_EQ(a.Bottom, 428);

    Move(10, 10);
    EXPECT_EQ(GetCurrentCursor().shape, CursorShape::kArrow);
    ASSERT_TRUE(control_->vertical().set_value(400).ok());
    Move(10, 11);
    EXPECT_EQ(GetCurrentCursor().shape, CursorShape::kHand);
    EXPECT_EQ(control_->viewport().tooltip_text(), "Meaning");
    // The tip shows once the pointer rests.
    session_.Advance(controls::tooltips::kHoverDelayMs + 100);
    ASSERT_TRUE(controls::tooltips::VisibleTip());
    EXPECT_EQ(GetWindowText(controls::tooltips::VisibleTip()), "Meaning");
    // Without a title the tip is the target.
    Move(4 + 8 * 11 + 2, 10);
    EXPECT_EQ(control_->viewport().tooltip_text(), "b.htm");
    // Exactly on the left edge is not over the link; off it, the arrow and
    // no tip.
    Move(4, 10);
    EXPECT_EQ(GetCurrentCursor().shape, CursorShape::kArrow);
    EXPECT_EQ(control_->viewport().tooltip_text(), "");
}

TEST_F(LinksTest, AReleaseOnALinkRaisesHyperlinkClickOnceAfterTheTimer) {
    Load(Document(0, "<A HREF='one.htm'>one</A> <A HREF='two.htm'>two</A> <A NAME=n>name</A>"));
    // The left edge takes a release, though it shows no hand.
    Click(4, 10);
    EXPECT_TRUE(clicks_.empty());
    EXPECT_EQ(control_->label().PendingHref(), "one.htm");
    // A second release within 100 ms replaces the first.
    session_.Advance(50);
    Click(4 + 8 * 4 + 2, 10);
    session_.Advance(100);
    EXPECT_EQ(clicks_, (std::vector<std::string>{"two.htm"}));
    EXPECT_EQ(pending_in_handler_, "");  // cleared before the host hears of it
    EXPECT_EQ(control_->label().PendingHref(), "");
    EXPECT_FALSE(control_->click_timer().enabled());
    // An anchor without a target and a release beside every link do nothing.
    Click(4 + 8 * 8 + 2, 10);
    Click(150, 100);
    session_.Advance(200);
    EXPECT_EQ(clicks_.size(), 1u);
}

TEST_F(LinksTest, HashLinksJumpToTheNamedPlaceOrGoToTheHost) {
    Load(Document(0, "<A HREF='#end'>to the end</A> <A HREF='#nowhere'>x</A><BR>") +
         "<P>a</P><P>b</P><P>c</P><P>d</P><P>e</P><P>f</P><P>g</P><P ID=end>end</P>"
         "<P>h</P><P>i</P><P>j</P><P>k</P><P>l</P><P>m</P><P>n</P><P>o</P><P>p</P>");
    int32_t end_top = 0;
    for (const HTMLElement& e : control_->label().Elements()) {
        if (control_->label().View(e.Name) == "end") end_top = e.Top;
    }
    ASSERT_GT(end_top, 0);
    ASSERT_GT(control_->vertical().max(), end_top);
    Click(6, 10);
    EXPECT_EQ(Scroll(), end_top);
    session_.Advance(200);
    EXPECT_TRUE(clicks_.empty());
    // A name nobody carries moves nothing.
    ASSERT_TRUE(control_->vertical().set_value(0).ok());
    Click(4 + 8 * 11 + 2, 10);
    EXPECT_EQ(Scroll(), 0);
    // Without scrolling the host receives the whole target.
    control_->label().SetEnableScroll(false);
    Click(6, 10);
    session_.Advance(100);
    EXPECT_EQ(clicks_, (std::vector<std::string>{"#end"}));
}

TEST_F(LinksTest, VbLinksCallTheHostAndAFailedCallLeavesLaterLinksWorking) {
    Load(Document(0,
                  "<A HREF=\"vb:ShowWord('abc')\">a</A> <A HREF='VB:Nothing(1)'>b</A> "
                  "<A HREF=\"vB:ShowWord(1,2)\">c</A> <A HREF=next.htm>d</A>"));
    Click(6, 10);
    session_.Advance(100);
    EXPECT_EQ(calls_, (std::vector<Args>{{"abc"}}));
    EXPECT_TRUE(clicks_.empty());
    // A missing method, and one refusing two arguments: nothing happens.
    Click(4 + 16 + 2, 10);
    session_.Advance(100);
    Click(4 + 32 + 2, 10);
    session_.Advance(100);
    EXPECT_EQ(calls_.size(), 1u);
    EXPECT_TRUE(clicks_.empty());
    Click(4 + 48 + 2, 10);
    session_.Advance(100);
    EXPECT_EQ(clicks_, (std::vector<std::string>{"next.htm"}));
}

TEST_F(LinksTest, KeysMoveTheVerticalBarWithinItsLimits) {
    Load(Document(40, "end"));
    const int32_t max = control_->vertical().max();
    const int32_t page = control_->vertical().large_change();
    ASSERT_GT(max, 3 * page);
    control_->viewport().SetFocus();
    session_.Key(VK_DOWN);
    EXPECT_EQ(Scroll(), 20);  // one line of the default font
    session_.Key(VK_NEXT);
    EXPECT_EQ(Scroll(), 20 + page);
    session_.Key(VK_UP);
    session_.Key(VK_PRIOR);
    EXPECT_EQ(Scroll(), 0);
    // Home and End move only with Ctrl.
    session_.Key(VK_END);
    EXPECT_EQ(Scroll(), 0);
    session_.Key(VK_END, kModControl);
    EXPECT_EQ(Scroll(), max);
    // Near the end a page or a line moves exactly to the end, and no further.
    ASSERT_TRUE(control_->vertical().set_value(max - 5).ok());
    session_.Key(VK_NEXT);
    EXPECT_EQ(Scroll(), max);
    session_.Key(VK_DOWN);
    EXPECT_EQ(Scroll(), max);
    ASSERT_TRUE(control_->vertical().set_value(5).ok());
    session_.Key(VK_UP);
    EXPECT_EQ(Scroll(), 0);
    session_.Key(VK_END, kModControl);
    session_.Key(VK_HOME, kModControl);
    EXPECT_EQ(Scroll(), 0);
    // Without EnableScroll the keys do nothing.
    control_->label().SetEnableScroll(false);
    session_.Key(VK_END, kModControl);
    EXPECT_EQ(Scroll(), 0);
}

TEST_F(LinksTest, WithAnchorsOffLinksAreInert) {
    control_->label().SetEnableAnchors(false);
    Load(Document(0, "<A HREF='x.htm'>word</A>"));
    Move(10, 10);
    EXPECT_EQ(GetCurrentCursor().shape, CursorShape::kArrow);
    Click(10, 10);
    session_.Advance(200);
    EXPECT_TRUE(clicks_.empty());
    // Switched on, the loaded document's links stay inert until the next load.
    control_->label().SetEnableAnchors(true);
    Click(10, 10);
    session_.Advance(200);
    EXPECT_TRUE(clicks_.empty());
    Load(Document(0, "<A HREF='x.htm'>word</A>"));
    Click(10, 10);
    session_.Advance(200);
    EXPECT_EQ(clicks_, (std::vector<std::string>{"x.htm"}));
}

}  // namespace
}  // namespace html_label
