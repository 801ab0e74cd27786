// SPDX-License-Identifier: GPL-3.0-or-later
// Message boxes answered by scripted keys and clicks inside their modal
// loop: the value each answer returns for each button set, the default
// button, Escape and the close box, and the box's class, owner and size.

#include "platform/controls/message_box.h"

#include <functional>

#include "form_fixture.h"

namespace controls_test {
namespace {

class MessageBoxTest : public FormTest {
  protected:
    // Runs `script` once the box is up, then returns the box's answer.
    int Ask(uint32_t flags, std::function<void(HWND box)> script,
            std::string text = "Delete the word?") {
        session.backend().QueueStep([this, script] {
            HWND box = FindWindowByName("msgbox");
            seen_class = GetClassName(box);
            owner_enabled = IsWindowEnabled(form->hwnd());
            box_rect = GetWindowRect(box);
            script(box);
            return true;
        });
        return MessageBox(form->hwnd(), text, "Kovelin", flags);
    }
    static std::function<void(HWND)> Keys(std::vector<uint32_t> keys) {
        return [keys](HWND) {
            for (uint32_t k : keys) {
                InjectKey(k, true, 0);
                InjectKey(k, false, 0);
            }
        };
    }
    std::string seen_class;
    bool owner_enabled = true;
    Rect box_rect;
};

TEST_F(MessageBoxTest, KeyboardAnswers) {
    struct Case {
        uint32_t flags;
        std::vector<uint32_t> keys;
        int expected;
    } cases[] = {
        {MB_OK | MB_ICONINFORMATION, {VK_RETURN}, IDOK},
        {MB_OK, {VK_ESCAPE}, IDOK},
        {MB_OKCANCEL, {VK_RETURN}, IDOK},
        {MB_OKCANCEL, {VK_ESCAPE}, IDCANCEL},
        {MB_YESNO | MB_ICONQUESTION, {VK_RETURN}, IDYES},
        {MB_YESNO, {VK_ESCAPE}, IDNO},
        {MB_YESNO, {VK_TAB, VK_RETURN}, IDNO},
        {MB_YESNO, {VK_RIGHT, VK_RIGHT, VK_RETURN}, IDYES},  // arrows wrap round
        {MB_YESNO | MB_DEFBUTTON2, {VK_RETURN}, IDNO},
        {MB_YESNO | MB_DEFBUTTON2, {VK_SPACE}, IDNO},
        {MB_YESNOCANCEL | MB_ICONEXCLAMATION, {VK_ESCAPE}, IDCANCEL},
        {MB_YESNOCANCEL | MB_DEFBUTTON3, {VK_RETURN}, IDCANCEL},
        {MB_YESNOCANCEL, {VK_LEFT, VK_RETURN}, IDCANCEL},
        // A second default on a one-button box falls back to the only button.
        {MB_OK | MB_DEFBUTTON2, {VK_RETURN}, IDOK},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "flags 0x" << std::hex << c.flags);
        EXPECT_EQ(Ask(c.flags, Keys(c.keys)), c.expected);
        EXPECT_EQ(seen_class, "#32770");
        EXPECT_FALSE(owner_enabled);
        EXPECT_FALSE(FindWindowByName("msgbox"));
        EXPECT_TRUE(IsWindowEnabled(form->hwnd()));
    }
}

TEST_F(MessageBoxTest, ClickAndCloseBoxAnswers) {
    auto click = [this](const char* button) {
        return [this, button](HWND box) {
            HWND b = FindWindowByName(button, box);
            Point p = ClientToScreen(b, {10, 10});
            InjectMouseMove(p);
            InjectMouseButton(p, MouseButton::kLeft, true);
            InjectMouseButton(p, MouseButton::kLeft, false);
            session.clock().Advance(1000);
        };
    };
    EXPECT_EQ(Ask(MB_YESNOCANCEL, click("btnNo")), IDNO);
    EXPECT_EQ(Ask(MB_YESNOCANCEL, click("btnYes")), IDYES);
    EXPECT_EQ(Ask(MB_YESNO, [](HWND box) { InjectCloseRequest(box); }), IDNO);
    EXPECT_EQ(Ask(MB_OKCANCEL, [](HWND box) { InjectCloseRequest(box); }), IDCANCEL);
    // A box that goes away unanswered never reads as a Yes.
    EXPECT_EQ(Ask(MB_YESNO, [](HWND box) { DestroyWindow(box); }), IDNO);
}

TEST_F(MessageBoxTest, SizedToItsTextAndCentredOnTheOwner) {
    Ask(MB_OK, Keys({VK_RETURN}), "Short.");
    const Rect short_box = box_rect;
    const Rect owner = GetWindowRect(form->hwnd());
    EXPECT_LE(std::abs((short_box.left + short_box.right) - (owner.left + owner.right)), 1);
    EXPECT_LE(std::abs((short_box.top + short_box.bottom) - (owner.top + owner.bottom)), 1);

    std::string long_text;
    for (int i = 0; i < 60; ++i) long_text += "a long message ";
    Ask(MB_OK | MB_ICONSTOP, Keys({VK_RETURN}), long_text);
    // Wrapped, not stretched across the screen: the box grows downwards.
    EXPECT_LE(box_rect.width(), GetSystemMetrics(SM_CXSCREEN) * 3 / 4);
    EXPECT_GT(box_rect.height(), short_box.height() + 20);
    EXPECT_GT(box_rect.width(), short_box.width());
}

}  // namespace
}  // namespace controls_test
