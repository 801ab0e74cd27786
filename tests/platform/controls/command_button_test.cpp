// SPDX-License-Identifier: GPL-3.0-or-later
// Command buttons: the events of mouse and keyboard presses in order, what
// does and does not count as a click, and clicks run by setting the value
// (hidden buttons, re-entry, a handler that unloads the form).

#include "platform/controls/command_button.h"

#include "form_fixture.h"

namespace controls_test {
namespace {

class CommandButtonTest : public FormTest {
  protected:
    CommandButton& MakeButton(const char* name = "cmdTest") {
        CommandButton& b =
            form->Add<CommandButton>(name, Rect::FromXYWH(20, 20, 75, 23), std::string("Go"));
        b.on_mouse_down = [this](MouseEventArgs&) { log.push_back("down"); };
        b.on_mouse_up = [this](MouseEventArgs&) { log.push_back("up"); };
        b.on_click = [this] { log.push_back("click"); };
        b.on_key_down = [this](int16_t& k, int16_t) {
            log.push_back("keydown " + std::to_string(k));
        };
        b.on_key_up = [this](int16_t& k, int16_t) { log.push_back("keyup " + std::to_string(k)); };
        return b;
    }
    using Log = std::vector<std::string>;
};

TEST_F(CommandButtonTest, MouseClickOnlyWhenReleasedInside) {
    CommandButton& b = MakeButton();
    session.Click(Screen(b, 10, 10));
    EXPECT_EQ(log, (Log{"down", "up", "click"}));
    EXPECT_TRUE(b.has_focus());

    // Press, slide off (the face pops up), release outside: no click.
    log.clear();
    session.clock().Advance(1000);
    InjectMouseMove(Screen(b, 10, 10));
    InjectMouseButton(Screen(b, 10, 10), MouseButton::kLeft, true);
    DoEvents();
    EXPECT_EQ(PixelOf(b, 1, 1), GetSysColor(COLOR_BTNSHADOW));  // sunken
    InjectMouseMove(Screen(b, 200, 10));
    DoEvents();
    EXPECT_NE(PixelOf(b, 1, 1), GetSysColor(COLOR_BTNSHADOW));
    InjectMouseButton(Screen(b, 200, 10), MouseButton::kLeft, false);
    DoEvents();
    EXPECT_EQ(log, (Log{"down", "up"}));

    b.set_enabled(false);
    log.clear();
    session.clock().Advance(1000);
    session.Click(Screen(b, 10, 10));
    EXPECT_TRUE(log.empty());
}

TEST_F(CommandButtonTest, SpaceClicksOnReleaseEnterAtOnce) {
    CommandButton& b = MakeButton();
    b.SetFocus();
    InjectKey(VK_SPACE, true, 0);
    DoEvents();
    EXPECT_EQ(log, (Log{"keydown 32"}));
    InjectKey(VK_SPACE, false, 0);
    DoEvents();
    EXPECT_EQ(log, (Log{"keydown 32", "keyup 32", "click"}));

    log.clear();
    InjectKey(VK_RETURN, true, 0);
    DoEvents();
    EXPECT_EQ(log, (Log{"keydown 13", "click"}));

    // A key-down handler that swallows the key stops the click.
    log.clear();
    b.on_key_down = [](int16_t& k, int16_t) { k = 0; };
    session.Key(VK_RETURN);
    session.Key(VK_SPACE);
    EXPECT_EQ(log, (Log{"keyup 13", "keyup 32"}));
}

TEST_F(CommandButtonTest, SettingTheValueRunsTheClickEvenWhenHidden) {
    CommandButton& b = MakeButton();
    b.set_visible(false);
    bool value_inside = false;
    int clicks = 0;
    b.on_click = [&] {
        ++clicks;
        value_inside = b.value();
        b.set_value(true);  // re-entry is ignored, not recursed into
    };
    b.set_value(true);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(value_inside);
    EXPECT_FALSE(b.value());
    b.set_value(false);
    EXPECT_EQ(clicks, 1);
    b.set_value(true);
    EXPECT_EQ(clicks, 2);
}

TEST_F(CommandButtonTest, ClickHandlerMayUnloadTheForm) {
    CommandButton& b = MakeButton();
    b.on_click = [this] { form->Unload(); };
    session.Click(Screen(b, 10, 10));
    EXPECT_FALSE(form->loaded());

    form->Load();
    CommandButton& again = MakeButton("cmdAgain");
    again.on_click = [this] { form->Unload(); };
    again.set_value(true);
    EXPECT_FALSE(form->loaded());

    form->Show();
    CommandButton& keyed = MakeButton("cmdKeyed");
    keyed.on_click = [this] { form->Unload(); };
    keyed.SetFocus();
    session.Key(VK_RETURN);
    EXPECT_FALSE(form->loaded());
}

}  // namespace
}  // namespace controls_test
