// SPDX-License-Identifier: GPL-3.0-or-later
// The Nepali words that reach highest and lowest, shown in the main window's
// text controls at their layout sizes with the real fonts: every mark of
// every word is inside its control. Each control's ink is compared with the
// same word drawn alone on an unbounded surface; a clipped reph, ि loop or
// ु stack shows as missing pixels.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/dictionary_store.h"
#include "app/loader.h"
#include "lookup/main_window.h"
#include "no_history.h"
#include "platform/controls/label.h"
#include "platform/headless/headless_backend.h"
#include "platform/listview/commctrl.h"
#include "platform/preeti/preeti.h"
#include "platform/surface.h"
#include "platform/text.h"
#include "platform/text/font_engine.h"

using namespace platform;

namespace {

constexpr Color kWhite = 0xFFFFFF;

// The tallest and deepest words of a large word list in the fonts the
// Preeti faces use (found with kovelin-inkscan), and ॐ.
const char* const kReaching[] = {
    "श्रीमान्",
    "अहिंसक",
    "उक्सि",
    "अँचेट्",
    "किंकर्तव्यविमूढ",
    "जिङ्‍र्याइ",
    "खङ्ग्राङ्खुङ्‌रुङ",
    "पान्ड्रुङ",
    "टुहुर्याइ",
    "द्यूतक्रीडा",
    "द्रुतगामी",
    "ॐ",
};

struct Ink {
    int64_t count = 0;
    int32_t width = 0;
    int32_t height = 0;
};

// Pixels inside `box` where `a` differs from `b`.
Ink Difference(const Surface& a, const Surface& b, const Rect& box) {
    int32_t left = INT32_MAX, right = INT32_MIN, top = INT32_MAX, bottom = INT32_MIN;
    Ink ink;
    for (int32_t y = box.top; y < box.bottom; ++y) {
        for (int32_t x = box.left; x < box.right; ++x) {
            if (a.pixel(x, y) == b.pixel(x, y)) continue;
            ++ink.count;
            left = std::min(left, x);
            right = std::max(right, x + 1);
            top = std::min(top, y);
            bottom = std::max(bottom, y + 1);
        }
    }
    if (ink.count > 0) {
        ink.width = right - left;
        ink.height = bottom - top;
    }
    return ink;
}

// The word drawn alone in black on white, with room all round.
Ink Alone(const FontDesc& font, const std::string& bytes) {
    TextEngine& engine = TextEngine::Instance();
    const auto h = static_cast<int32_t>(engine.Metrics(font).height);
    const auto w = static_cast<int32_t>(engine.Measure(font, bytes).width);
    const Surface blank(w + 4 * h, 4 * h, kWhite);
    Surface s = blank;
    engine.Draw(s, Region::FromRect(s.bounds()), static_cast<float>(2 * h),
                static_cast<float>(2 * h), font, bytes, 0);
    return Difference(s, blank, s.bounds());
}

FontDesc Desc(const char* name, float size) {
    FontDesc f;
    f.name = name;
    f.size = size;
    return f;
}

using lookup::testing::NoHistory;

class InkFitTest : public ::testing::Test {
  protected:
    void SetUp() override {
        text::InstallFontEngine();
        app::DictionaryStore& store = app::Dictionary();
        store.Clear();
        store.Append("cfdf", "c");  // row 0 stays out of the way
        for (const char* word : kReaching) {
            const std::optional<std::string> bytes = preeti::FromUnicode(word);
            ASSERT_TRUE(bytes.has_value()) << word;
            words_.push_back(*bytes);
            store.Append(*bytes, "c");
        }
        // Enough rows after them that each can scroll to the top.
        for (int i = 0; i < 20; ++i) store.Append("xfjf", "c");
        main_ = std::make_unique<lookup::MainWindow>(std::make_unique<NoHistory>());
        main_->CreateAndLoad();
        app::HeadwordListSetup setup;
        setup.item_count = store.size();
        setup.grid_lines = false;  // the rows' ink is then all text
        list_font_ = Desc(setup.font_face.c_str(), setup.font_size);
        main_->ConfigureList(setup);
        main_->Show();
        // White behind the text, so ink compares exactly with the word alone.
        for (const char* name : {"cmbSearch", "lblWord"}) {
            auto* c = main_->FindControl(name);
            ASSERT_NE(c, nullptr);
            c->set_back_color(kWhite);
        }
        SetFocus(main_->list()->hwnd());  // no caret in the search box
        DoEvents();
    }
    void TearDown() override {
        main_.reset();
        app::Dictionary().Clear();
    }

    // The inner report-mode list that draws the rows.
    HWND Rows() const {
        HWND h = main_->list()->hwnd();
        return GetClassName(h) == "ListView20WndClass" ? h : GetWindow(h, GW_CHILD);
    }

    // A control's rectangle in the rendered main window.
    Rect InWindow(HWND hwnd) const {
        const Rect top = GetWindowRect(main_->hwnd());
        const Rect r = GetWindowRect(hwnd);
        return Rect{r.left - top.left, r.top - top.top, r.right - top.left, r.bottom - top.top};
    }

    headless::HeadlessSession session_;
    std::vector<std::string> words_;
    FontDesc list_font_;
    std::unique_ptr<lookup::MainWindow> main_;
};

TEST_F(InkFitTest, EveryMarkOfTheReachingWordsIsInsideItsControl) {
    const FontDesc search_font = Desc("OrvSoft", 14.25f);
    HWND search = main_->FindControl("cmbSearch")->hwnd();
    auto* label = dynamic_cast<controls::Label*>(main_->FindControl("lblWord"));
    ASSERT_NE(label, nullptr);
    HWND word_label = label->hwnd();
    HWND rows = Rows();
    ASSERT_TRUE(IsWindow(rows));
    for (size_t i = 0; i < words_.size(); ++i) {
        const std::string& w = words_[i];
        SCOPED_TRACE(kReaching[i]);
        main_->search_box()->set_text("");
        label->set_caption("");
        DoEvents();
        const Surface before = RenderWindow(main_->hwnd());
        // The search scrolls the word's row to the top of the list.
        main_->search_box()->set_text(w);
        main_->OnItemChanged(static_cast<int32_t>(i + 1));
        SetFocus(rows);
        DoEvents();
        const Surface after = RenderWindow(main_->hwnd());
        ASSERT_EQ(SendMessage(rows, LVM_GETTOPINDEX, 0, 0), static_cast<LRESULT>(i + 1));

        const Ink alone = Alone(search_font, w);
        for (HWND hwnd : {search, word_label}) {
            const Ink shown = Difference(after, before, InWindow(hwnd));
            EXPECT_EQ(shown.count, alone.count) << GetWindowName(hwnd);
            EXPECT_EQ(shown.height, alone.height) << GetWindowName(hwnd);
            EXPECT_EQ(shown.width, alone.width) << GetWindowName(hwnd);
        }
        Rect row{LVIR_BOUNDS, 0, 0, 0};
        ASSERT_NE(SendMessage(rows, LVM_GETITEMRECT, static_cast<WPARAM>(i + 1),
                              reinterpret_cast<LPARAM>(&row)),
                  0);
        const Rect list = InWindow(rows);
        const Rect cell{list.left + row.left, list.top + row.top, list.left + row.right,
                        list.top + row.bottom};
        const Surface white(after.width(), after.height(), kWhite);
        const Ink in_row = Difference(after, white, cell);
        const Ink row_alone = Alone(list_font_, w);
        EXPECT_EQ(in_row.count, row_alone.count) << "list row";
        EXPECT_EQ(in_row.height, row_alone.height) << "list row";
    }
}

// At least eleven whole rows show in the 339-pixel headword list.
TEST_F(InkFitTest, TheHeadwordListShowsElevenWholeRows) {
    HWND rows = Rows();
    EXPECT_GE(SendMessage(rows, LVM_GETCOUNTPERPAGE, 0, 0), 11);
}

}  // namespace
