// SPDX-License-Identifier: GPL-3.0-or-later
// Combo box behaviour under scripted input: caret and selection moves,
// editing keys, the mouse in the field, clipboard round trips in Latin and
// Preeti faces, Devanagari typing turned into Preeti bytes, the change
// event for every kind of change, and the drop-down list's open, choose and
// cancel sequences.

#include "platform/controls/combo_box.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/controls/form.h"
#include "platform/headless/headless_backend.h"
#include "platform/preeti/preeti.h"
#include "platform/text.h"
#include "platform/window.h"

using namespace platform;
using namespace platform::controls;
using platform::headless::HeadlessSession;

namespace {

class ComboBoxTest : public ::testing::Test {
  protected:
    void SetUp() override {
        FormOptions o;
        o.name = "frmTest";
        o.client_width = 400;
        o.client_height = 300;
        form_ = std::make_unique<Form>(o);
        form_->Show();
        combo_ = &form_->Add<ComboBox>("cmb", Rect::FromXYWH(20, 20, 200, 24));
        // 12 pt of the fixed test face: 16 pixels, every byte 8 wide.
        combo_->set_font(MakeFont(FontDesc{kTestFontName, 12}));
        combo_->on_change = [this] { log_.push_back("change " + combo_->text()); };
        combo_->on_click = [this] {
            log_.push_back("click " + std::to_string(combo_->list_index()));
        };
        combo_->SetFocus();
        DoEvents();
    }

    void UsePreetiFace() {
        auto f = MakeFont(FontDesc{"OrvSoft", 12});
        combo_->set_font(f);
    }
    // Screen point of a byte boundary in the field (text starts 4 pixels in).
    Point AtOffset(int32_t offset) const {
        return ClientToScreen(combo_->hwnd(), {4 + 8 * offset, 12});
    }
    Point Button() const { return ClientToScreen(combo_->hwnd(), {190, 12}); }
    // The list opens right below the field, one 16-pixel row per item
    // inside a one-pixel frame.
    Point ListRow(int32_t row) const {
        Rect r = GetWindowRect(combo_->hwnd());
        return {r.left + 20, r.bottom + 1 + row * 16 + 8};
    }
    void AddItems(int n) {
        for (int i = 0; i < n; ++i) ASSERT_TRUE(combo_->AddItem("item" + std::to_string(i)).ok());
    }

    HeadlessSession session_;
    std::unique_ptr<Form> form_;
    ComboBox* combo_ = nullptr;
    std::vector<std::string> log_;
};

TEST_F(ComboBoxTest, CaretSelectionAndWordMoves) {
    session_.Type("hello  big world");
    EXPECT_EQ(combo_->caret(), 16);
    session_.Key(VK_LEFT, kModControl);
    EXPECT_EQ(combo_->caret(), 11);  // start of "world"
    session_.Key(VK_LEFT, kModControl);
    EXPECT_EQ(combo_->caret(), 7);  // blanks are skipped first
    session_.Key(VK_RIGHT, kModControl | kModShift);
    EXPECT_EQ(combo_->sel_text(), "big ");
    // Left with a selection only collapses it to its start.
    session_.Key(VK_LEFT);
    EXPECT_EQ(combo_->caret(), 7);
    EXPECT_EQ(combo_->sel_length(), 0);
    session_.Key(VK_HOME, kModShift);
    EXPECT_EQ(combo_->sel_text(), "hello  ");
    session_.Key(VK_END);
    session_.Key(VK_LEFT, kModShift);
    session_.Key(VK_LEFT, kModShift);
    EXPECT_EQ(combo_->sel_text(), "ld");
    session_.Key('A', kModControl);
    EXPECT_EQ(combo_->sel_text(), "hello  big world");
    // Preeti punctuation bytes are letters: only blanks end a word.
    combo_->set_text("g]kfn zAbsf]z");
    session_.Key(VK_HOME);
    session_.Key(VK_RIGHT, kModControl);
    EXPECT_EQ(combo_->caret(), 6);
}

TEST_F(ComboBoxTest, DeletingTypingOverAndSwallowedKeys) {
    session_.Type("abcdef");
    session_.Key(VK_BACK);
    EXPECT_EQ(combo_->text(), "abcde");
    session_.Key(VK_HOME);
    session_.Key(VK_DELETE);
    EXPECT_EQ(combo_->text(), "bcde");
    session_.Key(VK_RIGHT, kModShift);
    session_.Key(VK_RIGHT, kModShift);
    session_.Type("X");
    EXPECT_EQ(combo_->text(), "Xde");
    session_.Key(VK_END);
    session_.Key(VK_DELETE);  // nothing after the caret: no change
    session_.Key(VK_HOME);
    session_.Key(VK_BACK);  // nothing before it either
    EXPECT_EQ(log_.size(), 9u);

    combo_->on_key_down = [](int16_t& code, int16_t) {
        if (code == VK_DELETE) code = 0;
    };
    combo_->on_key_press = [](int16_t& key) {
        if (key == 'q') key = 0;
        if (key == 'u') key = 'U';
    };
    session_.Key(VK_DELETE);
    session_.Type("qu");
    EXPECT_EQ(combo_->text(), "UXde");
}

TEST_F(ComboBoxTest, MouseClickDragAndDoubleClickInTheField) {
    combo_->set_text("one two three");
    session_.Click(AtOffset(2));
    EXPECT_EQ(combo_->caret(), 2);
    // Nearer to the boundary after a byte than before it.
    session_.Click({AtOffset(5).x + 5, AtOffset(5).y});
    EXPECT_EQ(combo_->caret(), 6);
    session_.Drag(AtOffset(4), AtOffset(7), 3);
    EXPECT_EQ(combo_->sel_start(), 4);
    EXPECT_EQ(combo_->sel_text(), "two");
    session_.Click(AtOffset(20));  // past the end
    EXPECT_EQ(combo_->caret(), 13);
    session_.DoubleClick(AtOffset(9));
    EXPECT_EQ(combo_->sel_text(), "three");
    EXPECT_NE(GetCapture(), combo_->hwnd());
}

TEST_F(ComboBoxTest, ClipboardRoundTripsInLatinAndPreetiFaces) {
    // Latin face: bytes are Windows-1252 and travel as UTF-8.
    combo_->set_text("caf\xE9 \x80");
    session_.Key('A', kModControl);
    session_.Key('C', kModControl);
    EXPECT_EQ(GetClipboardTextUtf8().value_or(""), "café €");
    session_.backend().SetClipboardText("naïve\r\nsecond line");
    session_.Key(VK_END);
    session_.Key(VK_INSERT, kModShift);
    EXPECT_EQ(combo_->text(), "caf\xE9 \x80na\xEFve");
    session_.Key(VK_HOME, kModShift);
    session_.Key(VK_DELETE, kModShift);  // cut
    EXPECT_EQ(combo_->text(), "");
    EXPECT_EQ(GetClipboardTextUtf8().value_or(""), "café €naïve");

    // Preeti face: Devanagari comes in as Preeti bytes and goes out as
    // Devanagari again.
    UsePreetiFace();
    log_.clear();
    session_.backend().SetClipboardText("नेपाल");
    session_.Key('V', kModControl);
    EXPECT_EQ(combo_->text(), "g]kfn");
    session_.Key('A', kModControl);
    session_.Key(VK_INSERT, kModControl);
    EXPECT_EQ(GetClipboardTextUtf8().value_or(""), "नेपाल");
    session_.Key('X', kModControl);
    EXPECT_EQ(combo_->text(), "");
    // A text Preeti cannot write is not pasted at all.
    session_.backend().SetClipboardText("ळ");
    session_.Key('V', kModControl);
    session_.backend().SetClipboardImage();
    session_.Key('V', kModControl);
    EXPECT_EQ(log_, (std::vector<std::string>{"change g]kfn", "change "}));

    // A huge clipboard text is cut to what a field holds.
    session_.backend().SetClipboardText(std::string(100000, 'k'));
    session_.Key('V', kModControl);
    session_.Key('V', kModControl);
    EXPECT_EQ(combo_->text().size(), static_cast<size_t>(ComboBox::kMaxLength));
}

TEST_F(ComboBoxTest, DevanagariTypingBecomesPreetiBytesSyllableBySyllable) {
    UsePreetiFace();
    // The short i is written before its consonant: one change per key, the
    // burst re-converted as a whole.
    session_.Type("क");
    session_.Type("ि");
    EXPECT_EQ(combo_->text(), "ls");
    EXPECT_EQ(log_, (std::vector<std::string>{"change s", "change ls"}));

    combo_->set_text("");
    session_.Type("नेपाल");
    EXPECT_EQ(combo_->text(), "g]kfn");
    combo_->set_text("");
    session_.Type("र्कि");  // the reph goes after the syllable
    EXPECT_EQ(combo_->text(), "ls{");

    // Typing into the middle keeps the bytes around the burst.
    combo_->set_text("g]kfn");
    session_.Key(VK_HOME);
    session_.Type("कि ");
    EXPECT_EQ(combo_->text(), "ls g]kfn");

    // Moving the caret ends the burst: the vowel sign no longer reorders.
    combo_->set_text("");
    session_.Type("क");
    session_.Key(VK_LEFT);
    session_.Key(VK_RIGHT);
    session_.Type("ि");
    EXPECT_EQ(combo_->text(), "sl");
    // So does a Latin key; ASCII goes in as its own byte.
    combo_->set_text("");
    session_.Type("कa");
    session_.Type("ि");
    EXPECT_EQ(combo_->text(), "sal");
}

// Typing a long text measures only what each key adds; the field scrolls
// and shows its caret exactly as when the whole text is set at once.
TEST_F(ComboBoxTest, ALongTypedTextShowsAsTheSameTextSet) {
    UsePreetiFace();
    std::string text;
    for (int i = 0; i < 30; ++i) text += "नेपालीशब्दकोश";
    session_.Type(text);
    DoEvents();
    const std::string typed = combo_->text();
    ASSERT_EQ(typed, preeti::FromUnicode(text).value());
    const Surface after_typing = RenderWindow(form_->hwnd());
    combo_->set_text("");
    combo_->set_text(typed);
    DoEvents();
    const Surface after_setting = RenderWindow(form_->hwnd());
    ASSERT_EQ(after_typing.width(), after_setting.width());
    EXPECT_TRUE(std::equal(after_typing.data(),
                           after_typing.data() + after_typing.width() * after_typing.height(),
                           after_setting.data()));
}

TEST_F(ComboBoxTest, LatinFaceTakesWindows1252AndDropsTheRest) {
    session_.Type("é€नx");
    EXPECT_EQ(combo_->text(), "\xE9\x80x");
    EXPECT_EQ(log_.size(), 3u);
}

TEST_F(ComboBoxTest, ProgramSetTextAlwaysRaisesChange) {
    combo_->set_text("g]kfn");
    combo_->set_text("g]kfn");
    combo_->set_sel_start(1);
    combo_->set_sel_length(2);
    EXPECT_EQ(combo_->sel_text(), "]k");
    combo_->set_sel_text("X");
    EXPECT_EQ(log_, (std::vector<std::string>{"change g]kfn", "change g]kfn", "change gXfn"}));
}

TEST_F(ComboBoxTest, ItemsKeepTheChosenIndexInStep) {
    AddItems(3);
    EXPECT_EQ(combo_->AddItem("x", 5).error().code, ErrorCode::kInvalidCall);
    EXPECT_EQ(combo_->RemoveItem(3).error().code, ErrorCode::kInvalidCall);
    ASSERT_TRUE(combo_->set_list_index(2).ok());
    EXPECT_EQ(combo_->text(), "item2");
    ASSERT_TRUE(combo_->AddItem("first", 0).ok());
    EXPECT_EQ(combo_->list_index(), 3);
    ASSERT_TRUE(combo_->RemoveItem(1).ok());
    EXPECT_EQ(combo_->list_index(), 2);
    EXPECT_EQ(combo_->list(2), "item2");
    EXPECT_EQ(combo_->list(7), "");
    // Typing away from the item forgets it; typing it back finds it.
    session_.Key(VK_END);
    session_.Key(VK_BACK);
    EXPECT_EQ(combo_->list_index(), -1);
    session_.Type("1");
    EXPECT_EQ(combo_->list_index(), 1);
    combo_->Clear();
    EXPECT_EQ(combo_->list_count(), 0);
    EXPECT_EQ(combo_->list_index(), -1);
    EXPECT_EQ(combo_->set_list_index(0).error().code, ErrorCode::kInvalidPropertyValue);
}

TEST_F(ComboBoxTest, KeyboardOpensChoosesAndCancels) {
    AddItems(4);
    std::vector<std::string> keys;
    combo_->on_key_down = [&](int16_t& code, int16_t) { keys.push_back(std::to_string(code)); };

    session_.Key(VK_DOWN, kModAlt);
    ASSERT_TRUE(combo_->dropped());
    ASSERT_TRUE(IsWindowVisible(combo_->list_window()));
    EXPECT_EQ(GetActiveWindow(), form_->hwnd());  // the list never takes activation
    EXPECT_EQ(combo_->hot_index(), -1);           // the text is none of the items
    session_.Key(VK_DOWN);
    session_.Key(VK_DOWN);
    session_.Key(VK_UP);
    session_.Key(VK_DOWN);
    session_.Key(VK_DOWN);
    EXPECT_EQ(combo_->hot_index(), 2);
    session_.Key(VK_RETURN);
    EXPECT_FALSE(combo_->dropped());
    EXPECT_EQ(combo_->text(), "item2");
    EXPECT_EQ(combo_->sel_text(), "item2");
    EXPECT_EQ(log_, (std::vector<std::string>{"change item2", "click 2"}));
    // The list's keys did not reach the key-down handler.
    EXPECT_TRUE(keys.empty());

    // F4 opens at the chosen item; Escape closes and changes nothing.
    log_.clear();
    session_.Key(VK_F4);
    ASSERT_TRUE(combo_->dropped());
    EXPECT_EQ(combo_->hot_index(), 2);
    session_.Key(VK_DOWN);
    session_.Key(VK_ESCAPE);
    EXPECT_FALSE(combo_->dropped());
    EXPECT_FALSE(IsWindow(GetCapture()) && GetCapture() == combo_->hwnd());
    EXPECT_EQ(combo_->text(), "item2");
    EXPECT_TRUE(log_.empty());
    EXPECT_EQ(keys, (std::vector<std::string>{std::to_string(VK_F4)}));
}

TEST_F(ComboBoxTest, MouseOpensChoosesAndAClickOutsideCancels) {
    AddItems(3);
    int form_clicks = 0;
    form_->on_click = [&] { ++form_clicks; };

    session_.Click(Button());
    ASSERT_TRUE(combo_->dropped());
    session_.MoveMouse(ListRow(1));
    EXPECT_EQ(combo_->hot_index(), 1);
    session_.Click(ListRow(1));
    EXPECT_FALSE(combo_->dropped());
    EXPECT_EQ(combo_->text(), "item1");
    EXPECT_EQ(log_, (std::vector<std::string>{"change item1", "click 1"}));

    // Press on the button, drag into the list, release on an item.
    log_.clear();
    session_.Drag(Button(), {ListRow(0).x, ListRow(0).y + 32}, 3);
    EXPECT_EQ(combo_->text(), "item2");
    EXPECT_EQ(log_, (std::vector<std::string>{"change item2", "click 2"}));

    // A click elsewhere only closes the list: the form never sees it.
    log_.clear();
    session_.Click(Button());
    ASSERT_TRUE(combo_->dropped());
    const Point outside = ClientToScreen(form_->hwnd(), {350, 250});
    session_.Click(outside);
    EXPECT_FALSE(combo_->dropped());
    EXPECT_EQ(form_clicks, 0);
    session_.Click(outside);
    EXPECT_EQ(form_clicks, 1);
    // The button toggles the list.
    session_.Click(Button());
    session_.Click(Button());
    EXPECT_FALSE(combo_->dropped());
    EXPECT_TRUE(log_.empty());
}

TEST_F(ComboBoxTest, LongListsScrollWithTheirBarAndTheWheel) {
    AddItems(20);
    session_.Click(Button());
    ASSERT_TRUE(combo_->dropped());
    EXPECT_EQ(GetWindowRect(combo_->list_window()).height(), 8 * 16 + 2);
    HWND bar = FindWindowByName("cmbListBar", combo_->list_window());
    ASSERT_TRUE(bar);
    // The bar's down arrow, clicked through the list: one row down, the
    // list stays open and the field keeps the focus.
    const Rect br = GetWindowRect(bar);
    session_.Click({br.left + 8, br.bottom - 8});
    ASSERT_TRUE(combo_->dropped());
    EXPECT_EQ(GetFocus(), combo_->hwnd());
    session_.MoveMouse(ListRow(0));
    EXPECT_EQ(combo_->hot_index(), 1);
    InjectMouseWheel(ListRow(0), -120);
    DoEvents();
    session_.MoveMouse(ListRow(1));
    EXPECT_EQ(combo_->hot_index(), 5);
    // Arrow keys scroll the hot item into view.
    session_.Key(VK_END);  // not a list key: edits the field
    for (int i = 0; i < 10; ++i) session_.Key(VK_DOWN);
    EXPECT_EQ(combo_->hot_index(), 15);
    session_.Key(VK_RETURN);
    EXPECT_EQ(combo_->text(), "item15");
}

}  // namespace
