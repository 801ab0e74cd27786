// The button's interaction: recorded event sequences for hover, presses
// with each mouse button, drags off and back, double clicks, lost capture,
// and a button disabled or destroyed by its own events; keys, access keys,
// arrow focus moves, the check-box Value and the hand pointer.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "controls/skin_button/flarvet_button.h"
#include "platform/controls/form.h"
#include "platform/headless/headless_backend.h"
#include "platform/text.h"

namespace skin_button {
namespace {

using namespace platform;
using platform::controls::Form;
using platform::controls::FormOptions;
using platform::controls::MouseEventArgs;

class Host : public ComponentHost {
  public:
    FontDesc AmbientFont() const override { return FontDesc{kTestFontName, 12}; }
};

class InteractionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        FormOptions o;
        o.name = "frmTest";
        o.client_width = 400;
        o.client_height = 200;
        form_ = std::make_unique<Form>(o);
        form_->Show();
        a_ = Make("btnA", Rect::FromXYWH(20, 20, 100, 30), "&Alpha");
        b_ = Make("btnB", Rect::FromXYWH(140, 20, 100, 30), "&Beta");
        c_ = Make("btnC", Rect::FromXYWH(260, 20, 100, 30), "Gamma");
        DoEvents();
        Record(*a_, "A");
    }

    FlarvetButon* Make(const std::string& name, Rect r, const std::string& caption) {
        auto* b = &form_->Add<FlarvetButon>(host_, name, r);
        EXPECT_TRUE(b->InitProperties().ok());
        EXPECT_TRUE(b->SetCaption(caption).ok());
        return b;
    }

    // Every event of `b`, as "A down 1", "A over", "A click" ...
    void Record(FlarvetButon& b, const std::string& tag) {
        auto mouse = [this, tag](const char* what) {
            return [this, tag, what](MouseEventArgs& a) {
                log_.push_back(tag + " " + what + " " + std::to_string(a.button));
            };
        };
        b.on_mouse_down = mouse("down");
        b.on_mouse_up = mouse("up");
        b.on_mouse_move = [this, tag](MouseEventArgs&) { ++moves_; };
        b.on_mouse_over = [this, tag] { log_.push_back(tag + " over"); };
        b.on_mouse_out = [this, tag] { log_.push_back(tag + " out"); };
        b.on_click = [this, tag] { log_.push_back(tag + " click"); };
        b.on_key_down = [this, tag](int16_t& k, int16_t) {
            log_.push_back(tag + " keydown " + std::to_string(k));
        };
        b.on_key_up = [this, tag](int16_t& k, int16_t) {
            log_.push_back(tag + " keyup " + std::to_string(k));
        };
    }
    std::vector<std::string> Take() { return std::exchange(log_, {}); }

    Point On(const FlarvetButon& b, int32_t x = 50, int32_t y = 15) const {
        return ClientToScreen(b.hwnd(), {x, y});
    }
    Point Off() const { return ClientToScreen(form_->hwnd(), {200, 150}); }
    void Button(Point p, MouseButton which, bool down) {
        InjectMouseMove(p);
        InjectMouseButton(p, which, down);
        DoEvents();
    }

    headless::HeadlessSession session_;
    Host host_;
    std::unique_ptr<Form> form_;
    FlarvetButon* a_ = nullptr;
    FlarvetButon* b_ = nullptr;
    FlarvetButon* c_ = nullptr;
    std::vector<std::string> log_;
    int moves_ = 0;
};

using Log = std::vector<std::string>;

TEST_F(InteractionTest, HoverRaisesOverOnceAndOutWithinOneTick) {
    session_.MoveMouse(On(*a_, 10, 10));
    session_.MoveMouse(On(*a_, 20, 12));
    session_.MoveMouse(On(*a_, 30, 14));
    EXPECT_EQ(Take(), (Log{"A over"}));
    EXPECT_EQ(moves_, 3);
    EXPECT_TRUE(a_->is_hovering());
    session_.Advance(30);  // the timer finds the cursor still there
    EXPECT_EQ(Take(), Log{});

    session_.MoveMouse(Off());
    EXPECT_TRUE(a_->is_hovering());
    session_.Advance(FlarvetButon::kOverTimerMs);
    EXPECT_EQ(Take(), (Log{"A out"}));
    EXPECT_FALSE(a_->is_hovering());
    EXPECT_FALSE(NextTimerDue().has_value());  // the timer stops with the hover

    // Another window above the button counts as not over.
    session_.MoveMouse(On(*a_));
    EXPECT_EQ(Take(), (Log{"A over"}));
    auto& cover = form_->Add<FlarvetButon>(host_, "btnCover", Rect::FromXYWH(60, 25, 20, 20));
    ASSERT_TRUE(cover.InitProperties().ok());
    session_.MoveMouse(ClientToScreen(cover.hwnd(), {5, 5}));
    session_.Advance(FlarvetButon::kOverTimerMs);
    EXPECT_EQ(Take(), (Log{"A out"}));
}

TEST_F(InteractionTest, EachMouseButtonPressesInItsOwnWay) {
    session_.MoveMouse(On(*a_));
    Take();
    // Left: down look, then click after the release.
    Button(On(*a_), MouseButton::kLeft, true);
    EXPECT_EQ(a_->last_state(), kStateDown);
    EXPECT_EQ(GetCapture(), a_->hwnd());
    Button(On(*a_), MouseButton::kLeft, false);
    EXPECT_EQ(Take(), (Log{"A down 1", "A up 1", "A click"}));
    EXPECT_EQ(a_->last_state(), kStateUp);
    EXPECT_EQ(GetCapture(), HWND{});

    // Right: events but no drawing and no click.
    session_.clock().Advance(1000);
    const Color corner = PersistentSurface(a_->hwnd())->pixel(0, 0);
    Button(On(*a_), MouseButton::kRight, true);
    EXPECT_EQ(a_->last_state(), kStateUp);
    EXPECT_EQ(PersistentSurface(a_->hwnd())->pixel(0, 0), corner);
    Button(On(*a_), MouseButton::kRight, false);
    // The move with the left button held showed the button down without
    // the hover look, so the next move over it starts the hover again.
    EXPECT_EQ(Take(), (Log{"A over", "A down 2", "A up 2"}));
    EXPECT_EQ(a_->last_button(), 2);

    // Middle: drawn down and up, no click.
    session_.clock().Advance(1000);
    Button(On(*a_), MouseButton::kMiddle, true);
    EXPECT_EQ(a_->last_state(), kStateDown);
    Button(On(*a_), MouseButton::kMiddle, false);
    EXPECT_EQ(a_->last_state(), kStateUp);
    EXPECT_EQ(Take(), (Log{"A down 4", "A up 4"}));
}

TEST_F(InteractionTest, DraggingOffShowsUpAndBackShowsDown) {
    Button(On(*a_), MouseButton::kLeft, true);
    session_.MoveMouse(Off());
    EXPECT_EQ(a_->last_state(), kStateUp);
    session_.MoveMouse(On(*a_, 60, 10));
    EXPECT_EQ(a_->last_state(), kStateDown);
    EXPECT_FALSE(a_->is_hovering());  // down without the hover colours
    // Released off the button: no click; the hover timer reports leaving.
    session_.MoveMouse(Off());
    session_.Advance(FlarvetButon::kOverTimerMs);
    Button(Off(), MouseButton::kLeft, false);
    EXPECT_EQ(Take(), (Log{"A over", "A down 1", "A out", "A up 1"}));
    EXPECT_EQ(a_->last_state(), kStateUp);

    // Dragged off and back before the release: a click.
    session_.clock().Advance(1000);
    Button(On(*a_), MouseButton::kLeft, true);
    session_.MoveMouse(Off());
    session_.MoveMouse(On(*a_));
    Button(On(*a_), MouseButton::kLeft, false);
    EXPECT_EQ(Take(), (Log{"A over", "A down 1", "A up 1", "A click"}));
}

TEST_F(InteractionTest, DoubleClickPressesAgainWithoutASecondClick) {
    session_.MoveMouse(On(*a_));
    Take();
    session_.DoubleClick(On(*a_));
    EXPECT_EQ(Take(), (Log{"A down 1", "A up 1", "A click", "A down 1", "A up 1"}));
    EXPECT_EQ(GetCapture(), HWND{});
    // A right double click is two right presses.
    session_.clock().Advance(1000);
    session_.Click(On(*a_), MouseButton::kRight);
    session_.clock().Advance(50);
    session_.Click(On(*a_), MouseButton::kRight);
    EXPECT_EQ(Take(), (Log{"A down 2", "A up 2", "A down 2", "A up 2"}));
}

TEST_F(InteractionTest, LostCaptureEndsThePressWithoutAClick) {
    Button(On(*a_), MouseButton::kLeft, true);
    EXPECT_EQ(a_->last_state(), kStateDown);
    SetCapture(c_->hwnd());
    EXPECT_EQ(a_->last_state(), kStateUp);
    ReleaseCapture();
    Button(On(*a_), MouseButton::kLeft, false);
    EXPECT_EQ(Take(), (Log{"A over", "A down 1", "A up 1"}));
}

TEST_F(InteractionTest, DisabledOrDestroyedInsideItsOwnEvents) {
    a_->on_click = [this] {
        log_.push_back("A click");
        a_->SetEnabled(false);
    };
    session_.Click(On(*a_));
    EXPECT_FALSE(IsWindowEnabled(a_->hwnd()));
    EXPECT_FALSE(a_->is_hovering());
    EXPECT_FALSE(NextTimerDue().has_value());
    EXPECT_EQ(GetCapture(), HWND{});
    session_.clock().Advance(1000);
    session_.Click(On(*a_));
    EXPECT_EQ(Take(), (Log{"A over", "A down 1", "A up 1", "A click"}));

    // A button its owner deletes in MouseUp, in Click, or in MouseOver.
    for (const char* when : {"up", "click", "over"}) {
        auto own = std::make_unique<FlarvetButon>(form_->hwnd(), host_, "btnGone",
                                                  Rect::FromXYWH(20, 80, 100, 30));
        ASSERT_TRUE(own->InitProperties().ok());
        const std::string w = when;
        auto drop = [&own] { own.reset(); };
        if (w == "up") own->on_mouse_up = [drop](MouseEventArgs&) { drop(); };
        if (w == "click") own->on_click = drop;
        if (w == "over") own->on_mouse_over = drop;
        session_.clock().Advance(1000);
        session_.Click(ClientToScreen(form_->hwnd(), {50, 95}));
        session_.Advance(10);
        EXPECT_EQ(own, nullptr) << when;
        session_.MoveMouse(Off());
    }
}

TEST_F(InteractionTest, SpaceClicksOnlyWhenReleasedAfterItsOwnPress) {
    a_->SetFocus();
    session_.Key(VK_SPACE);
    EXPECT_EQ(Take(), (Log{"A keydown 32", "A keyup 32", "A click"}));

    InjectKey(VK_SPACE, true, 0);
    DoEvents();
    EXPECT_EQ(a_->last_state(), kStateDown);
    InjectKey('X', true, 0);
    InjectKey(VK_SPACE, false, 0);
    InjectKey('X', false, 0);
    DoEvents();
    EXPECT_EQ(Take(), (Log{"A keydown 32", "A keydown 88", "A keyup 32", "A keyup 88"}));

    // A second release of the space bar is no second click.
    InjectKey(VK_SPACE, true, 0);
    InjectKey(VK_SPACE, false, 0);
    InjectKey(VK_SPACE, false, 0);
    DoEvents();
    EXPECT_EQ(Take(), (Log{"A keydown 32", "A keyup 32", "A click", "A keyup 32"}));

    // The owner can swallow the key: a key-down changed to 0 is no press.
    a_->on_key_down = [](int16_t& k, int16_t) { k = 0; };
    session_.Key(VK_SPACE);
    EXPECT_EQ(Take(), (Log{"A keyup 32"}));
    // Enter and Escape do nothing of themselves.
    Record(*a_, "A");
    session_.Key(VK_RETURN);
    session_.Key(VK_ESCAPE);
    EXPECT_EQ(Take(), (Log{"A keydown 13", "A keyup 13", "A keydown 27", "A keyup 27"}));
}

TEST_F(InteractionTest, ArrowKeysMoveTheFocusThroughTheTabOrder) {
    b_->SetFocus();
    session_.Key(VK_RIGHT);
    EXPECT_EQ(GetFocus(), c_->hwnd());
    session_.Key(VK_DOWN);
    EXPECT_EQ(GetFocus(), a_->hwnd());  // round to the first
    session_.Key(VK_LEFT);
    EXPECT_EQ(GetFocus(), c_->hwnd());
    session_.Key(VK_UP);
    EXPECT_EQ(GetFocus(), b_->hwnd());
    EXPECT_TRUE(b_->button_has_focus());
    EXPECT_FALSE(c_->button_has_focus());
    // A disabled button is passed over.
    c_->SetEnabled(false);
    session_.Key(VK_RIGHT);
    EXPECT_EQ(GetFocus(), a_->hwnd());
}

TEST_F(InteractionTest, AccessKeysClickTheButtonWhoseCaptionMarksThem) {
    Record(*b_, "B");
    c_->SetFocus();
    session_.Key('B', kModAlt);
    EXPECT_EQ(Take(), (Log{"B click"}));
    EXPECT_EQ(b_->last_button(), 1);
    EXPECT_EQ(GetFocus(), c_->hwnd());  // the focus stays
    session_.Key('A', kModAlt | kModShift);
    EXPECT_EQ(Take(), (Log{"A click"}));
    // No button answers "g": Gamma has no access key.
    session_.Key('G', kModAlt);
    EXPECT_EQ(Take(), Log{});
    // A disabled button is not a tab stop and is not asked.
    b_->SetEnabled(false);
    session_.Key('B', kModAlt);
    EXPECT_EQ(Take(), Log{});

    // Two buttons with one key: the first after the focus in Tab order.
    FlarvetButon& twin = *Make("btnTwin", Rect::FromXYWH(20, 100, 100, 30), "&Again");
    Record(twin, "T");
    c_->SetFocus();
    session_.Key('A', kModAlt);
    EXPECT_EQ(Take(), (Log{"T click"}));
    twin.SetFocus();
    session_.Key('A', kModAlt);
    EXPECT_EQ(Take(), (Log{"A click"}));
}

TEST_F(InteractionTest, CheckBoxBehaviourTogglesValueOnEveryKindOfClick) {
    a_->SetCheckBoxBehaviour(true);
    session_.Click(On(*a_));
    EXPECT_TRUE(a_->Value());
    session_.MoveMouse(Off());
    session_.Advance(FlarvetButon::kOverTimerMs);
    EXPECT_EQ(a_->last_state(), kStateDown);  // stays down while Value is on
    a_->SetFocus();
    session_.Key(VK_SPACE);
    EXPECT_FALSE(a_->Value());
    EXPECT_EQ(a_->last_state(), kStateUp);
    session_.Key('A', kModAlt);
    EXPECT_TRUE(a_->Value());
    EXPECT_EQ(a_->last_state(), kStateDown);
    // A right click does not toggle.
    session_.clock().Advance(1000);
    session_.Click(On(*a_), MouseButton::kRight);
    EXPECT_TRUE(a_->Value());
}

TEST_F(InteractionTest, FocusRectangleFollowsTabAndTheHandPointerShows) {
    ASSERT_TRUE(b_->SetButtonType(7).ok());
    const Color face = GetSysColor(COLOR_BTNFACE);
    a_->SetFocus();
    EXPECT_EQ(PersistentSurface(b_->hwnd())->pixel(3, 3), face);
    session_.Key(VK_TAB);
    EXPECT_TRUE(b_->button_has_focus());
    EXPECT_EQ(PersistentSurface(b_->hwnd())->pixel(3, 3), face ^ 0xFFFFFFu);
    b_->SetShowFocusRect(false);
    EXPECT_EQ(PersistentSurface(b_->hwnd())->pixel(3, 3), face);

    b_->SetHandPointer(true);
    session_.MoveMouse(On(*b_));
    EXPECT_EQ(GetCurrentCursor().shape, CursorShape::kHand);
    b_->SetHandPointer(false);
    session_.MoveMouse(On(*b_, 51, 15));
    EXPECT_EQ(GetCurrentCursor().shape, CursorShape::kArrow);
}

}  // namespace
}  // namespace skin_button
