// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's lookup logic through its handlers, on a small store:
// the history reaches the settings store as soon as it changes (so a crash
// loses nothing), a normal close saves the same value, and the entry-change
// handling keeps the row-mark cycle.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "app/definition_html.h"
#include "app/dictionary_store.h"
#include "lookup/main_window.h"
#include "platform/controls/message_box.h"
#include "platform/headless/headless_backend.h"
#include "platform/listview/commctrl.h"
#include "platform/messages.h"
#include "platform/os/sound.h"

using namespace platform;

namespace {

class MemoryHistory : public lookup::HistoryStore {
  public:
    // Writes fail with `*failure` while it is not empty.
    MemoryHistory(std::vector<std::string>* writes, std::string stored, const std::string* failure)
        : writes_(writes), stored_(std::move(stored)), failure_(failure) {}
    std::string Read(const std::string& fallback) override {
        return stored_.empty() ? fallback : stored_;
    }
    Status Write(const std::string& value) override {
        if (!failure_->empty()) return MakeError(ErrorCode::kFileIo, *failure_);
        writes_->push_back(value);
        return {};
    }

  private:
    std::vector<std::string>* writes_;
    std::string stored_;
    const std::string* failure_;
};

class MainWindowTest : public ::testing::Test {
  protected:
    void Open(std::string stored = {}) {
        app::DictionaryStore& store = app::Dictionary();
        store.Clear();
        for (const char* w : {"cfdf", "3/", "kfgL", "kfgL kfof", "xfjf"})
            store.Append(w, "c. [v=]w.");
        main_ = std::make_unique<lookup::MainWindow>(
            std::make_unique<MemoryHistory>(&writes_, stored, &write_failure_));
        main_->CreateAndLoad();
        app::HeadwordListSetup setup;
        setup.item_count = store.size();
        main_->ConfigureList(setup);
        main_->Show();
        DoEvents();
    }
    void Search(const std::string& text) {
        main_->search_box()->set_text(text);
        int16_t enter = 13;
        main_->OnSearchKeyDown(enter, 0);
    }

    // The save state as the harness reads it.
    std::pair<bool, std::string> SaveState() const {
        Json state = Json::MakeObject();
        main_->ReportState(state);
        const bool* failed = state.Get("history_save_failed")->boolean();
        const std::string* error = state.Get("history_save_error")->string();
        return {failed && *failed, error ? *error : "?"};
    }

    headless::HeadlessSession session_;
    std::vector<std::string> writes_;
    std::string write_failure_;
    std::unique_ptr<lookup::MainWindow> main_;
};

TEST_F(MainWindowTest, HistoryIsWrittenWhenItChangesAndACloseWritesNothingNew) {
    Open();
    EXPECT_TRUE(writes_.empty()) << "loading writes nothing";
    Search("3/");
    ASSERT_EQ(writes_.size(), 1u);
    EXPECT_EQ(writes_.back(), "3/,3/");
    Search("3/");
    EXPECT_EQ(writes_.size(), 1u) << "the same search again changes nothing";
    Search("kfgL");
    EXPECT_EQ(writes_.back(), "kfgL,3/,kfgL");
    const size_t before = writes_.size();
    main_->Unload(controls::kFormControlMenu);
    EXPECT_EQ(writes_.size(), before) << "the value on disk is already what a close saves";
}

TEST_F(MainWindowTest, ARunWithoutEnterKeepsTheLoadedEditText) {
    Open("kfgL,3/,  ,xfjf");
    EXPECT_EQ(main_->search_box()->text(), "kfgL");
    EXPECT_EQ(main_->search_box()->list_count(), 2) << "blank items are skipped";
    main_->SaveHistory();
    // The edit text is saved first again instead of being dropped.
    ASSERT_EQ(writes_.size(), 1u);
    EXPECT_EQ(writes_.back(), "kfgL,3/,xfjf");
}

TEST_F(MainWindowTest, AFailedSaveIsReportedAndTheHistoryIsSavedWholeAtTheNextChance) {
    Open();
    EXPECT_EQ(SaveState(), std::make_pair(false, std::string()));
    write_failure_ = "disk full";
    Search("3/");
    Search("kfgL");
    EXPECT_TRUE(writes_.empty());
    EXPECT_EQ(SaveState(), std::make_pair(true, std::string("disk full")));

    // Once saving works again, the close writes everything the failed saves
    // held.
    write_failure_.clear();
    main_->Unload(controls::kFormControlMenu);
    ASSERT_EQ(writes_.size(), 1u);
    EXPECT_EQ(writes_.back(), "kfgL,3/,kfgL");
    EXPECT_EQ(SaveState(), std::make_pair(false, std::string()));
}

TEST_F(MainWindowTest, EntryChangesClearTheMarkOnlyAfterTheFirstChangeFollowingEnter) {
    Open();
    auto marked = [&](int32_t row) {
        return (SendMessage(main_->list()->hwnd(), LVM_GETITEMSTATE, static_cast<WPARAM>(row),
                            LVIS_DROPHILITED) &
                LVIS_DROPHILITED) != 0;
    };
    Search("kfgL");
    ASSERT_FALSE(main_->highlight_shown());
    const int32_t row = main_->highlight_row();
    EXPECT_TRUE(marked(row));
    main_->OnItemChanged(0);
    EXPECT_TRUE(main_->highlight_shown());
    EXPECT_TRUE(marked(row)) << "the first change after Enter leaves the mark";
    main_->OnItemChanged(99);  // outside the store: nothing at all
    EXPECT_TRUE(marked(row));
    main_->OnItemChanged(1);
    EXPECT_FALSE(marked(row)) << "the next change removes it";
}

TEST_F(MainWindowTest, OveruseWarningAfterFiftyChangesAndTwoSecondsEvenAcrossTheTickWrap) {
    Open();
    const size_t boxes_before = controls::RecentMessageBoxes().size();
    int shown = 0;
    std::string shown_with_word;
    // Each warning box is answered with Enter as soon as it is up.
    session_.backend().SetIdleHandler([&] {
        HWND box = FindWindowByName("msgbox");
        if (!box) return false;
        ++shown;
        InjectKey(VK_RETURN, true, 0);
        InjectKey(VK_RETURN, false, 0);
        return true;
    });
    auto changes = [&](int n) {
        for (int k = 0; k < n; ++k) main_->OnItemChanged(k % 2);
    };
    auto count = [&] {
        Json state = Json::MakeObject();
        main_->ReportState(state);
        return *state.Get("query_count")->integer();
    };
    // Loading showed the first entry: that was the first change.
    session_.clock().Set(10'000);
    changes(49);
    EXPECT_EQ(shown, 0) << "the 50th change does not warn";
    changes(1);
    EXPECT_EQ(shown, 1) << "the 51st does";
    EXPECT_EQ(count(), 0);
    ASSERT_EQ(controls::RecentMessageBoxes().size(), boxes_before + 1);
    const controls::MessageBoxRecord& box = controls::RecentMessageBoxes().back();
    EXPECT_EQ(box.icon, "stop");
    EXPECT_EQ(box.title, "Too much query!!!");
    EXPECT_EQ(box.text, "Oops! , Too Much Query!!! Be CareFull You Will Crash Me Man..");

    // Within two seconds of the warning the count only grows.
    changes(60);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(count(), 60);
    // A key release in the list starts the count again.
    int16_t code = 40, shift = 0;
    main_->list()->KeyUp(code, shift);
    EXPECT_EQ(count(), 0);

    // Near the end of the 32-bit tick range: a warning closed just before
    // the wrap, then three seconds later (the count has wrapped) another.
    session_.clock().Set((uint64_t{1} << 32) - 1'000);
    changes(51);
    EXPECT_EQ(shown, 2);
    session_.clock().Advance(3'000);
    changes(51);
    EXPECT_EQ(shown, 3) << "the elapsed time is taken across the wrap";
}

TEST_F(MainWindowTest, ThePaneShowsTheComposedEntryAndScrollsALongOne) {
    Open();
    app::DictionaryStore& store = app::Dictionary();
    std::string long_definition;
    for (int k = 0; k < 40; ++k) long_definition += "cfdf kfgL < xf] . ";
    store.Append("nfdf]", long_definition);
    ASSERT_TRUE(main_->list()->SetItemCount(store.size()).ok());
    auto pane = [&] {
        Json state = Json::MakeObject();
        main_->ReportState(state);
        return *state.Get("definition_pane");
    };
    main_->OnItemChanged(1);
    // The label keeps the document wrapped in its HTML and BODY tags.
    EXPECT_NE(pane()
                  .Get("document_html")
                  ->string()
                  ->find(app::ComposeDefinitionHtml(store.definition(1), store.word(1))),
              std::string::npos);
    EXPECT_EQ(*pane().Get("vertical_max")->integer(), 0);
    // Forty sentences, each on its own line, reach far below the pane; the
    // Preeti question mark "<" does not cut them short.
    main_->OnItemChanged(store.size() - 1);
    EXPECT_GT(*pane().Get("content_height")->integer(), 40 * 19);
    EXPECT_GT(*pane().Get("vertical_max")->integer(), 0);
}

// --- suggestions and copying ----------------------------------------------------

TEST_F(MainWindowTest, SuggestionsOfferNearHeadwordsOnlyWhileNothingMatches) {
    Open();
    lookup::SuggestionPopup& popup = *main_->suggestions();
    // Not for text set while the search box is not being typed in (a
    // clipboard lookup with another program in front).
    main_->search_box()->set_text("kfgf");
    EXPECT_FALSE(popup.open());
    SetFocus(main_->search_box()->hwnd());
    main_->search_box()->set_text("kfgf");  // पाना: पानी misspelt
    ASSERT_TRUE(popup.open());
    EXPECT_EQ(popup.words(), (std::vector<std::string>{"kfgL"}));
    // Latin letters read as a Latin spelling when that is nearer.
    main_->search_box()->set_text("haawaa");
    EXPECT_EQ(popup.words(), (std::vector<std::string>{"xfjf"}));
    // A text some headword begins with, or a blank one, closes the list.
    main_->search_box()->set_text("kf");
    EXPECT_FALSE(popup.open());
    main_->search_box()->set_text("   ");
    EXPECT_FALSE(popup.open());
    main_->search_box()->set_text("qqqqqqqq");  // near nothing
    EXPECT_FALSE(popup.open());
    // Moving the window closes the list.
    main_->search_box()->set_text("kfgf");
    ASSERT_TRUE(popup.open());
    MoveWindow(main_->hwnd(), 10, 10, 400, 300, true);
    EXPECT_FALSE(popup.open());
    // The earlier searches and the suggestions never drop down together.
    ASSERT_TRUE(main_->search_box()->AddItem("3/").ok());
    main_->search_box()->set_text("kfgf");
    ASSERT_TRUE(popup.open());
    main_->search_box()->ShowDropDown(true);
    EXPECT_TRUE(main_->search_box()->dropped());
    EXPECT_FALSE(popup.open());
    main_->search_box()->set_text("kfg]");  // पाने
    EXPECT_TRUE(popup.open());
    EXPECT_FALSE(main_->search_box()->dropped());
}

TEST_F(MainWindowTest, ArrowsAndEnterPickASuggestionAsEnterOnItWould) {
    Open();
    lookup::SuggestionPopup& popup = *main_->suggestions();
    SetFocus(main_->search_box()->hwnd());
    main_->search_box()->set_text("ghar");  // घर in Latin letters
    ASSERT_TRUE(popup.open());
    int16_t key = VK_UP;
    main_->OnSearchKeyDown(key, 0);
    EXPECT_EQ(key, 0) << "the arrows belong to the list while it is up";
    EXPECT_EQ(popup.hot(), static_cast<int32_t>(popup.words().size()) - 1);
    key = VK_DOWN;
    main_->OnSearchKeyDown(key, 0);
    EXPECT_EQ(popup.hot(), static_cast<int32_t>(popup.words().size()) - 1) << "stays on the last";
    key = VK_UP;
    for (int i = 0; i < 10; ++i) main_->OnSearchKeyDown(key = VK_UP, 0);
    ASSERT_EQ(popup.hot(), 0);
    ASSERT_EQ(popup.words().front(), "3/");
    key = 13;
    main_->OnSearchKeyDown(key, 0);
    EXPECT_FALSE(popup.open());
    EXPECT_EQ(main_->search_box()->text(), "3/");
    EXPECT_EQ(main_->last_search(), "3/");
    EXPECT_EQ(main_->highlight_row(), main_->list()->TopIndex());
    EXPECT_EQ(main_->search_box()->list_count(), 1);

    // Escape only closes; Enter with no row hot is the plain Enter.
    main_->search_box()->set_text("kfgf");
    ASSERT_TRUE(popup.open());
    key = VK_ESCAPE;
    main_->OnSearchKeyDown(key, 0);
    EXPECT_FALSE(popup.open());
    EXPECT_EQ(main_->search_box()->text(), "kfgf");
    main_->search_box()->set_text("kfgLL");
    ASSERT_TRUE(popup.open());
    key = 13;
    main_->OnSearchKeyDown(key, 0);
    EXPECT_FALSE(popup.open());
    EXPECT_EQ(main_->last_search(), "kfgLL");
}

TEST_F(MainWindowTest, CtrlCInTheListCopiesTheShownEntryAsUnicode) {
    Open();
    main_->OnItemChanged(1);
    int16_t code = 'C', shift = 0;
    ASSERT_TRUE(SetClipboardTextUtf8("before"));
    main_->list()->KeyDown(code, shift);
    EXPECT_EQ(GetClipboardTextUtf8().value_or(""), "before") << "C alone copies nothing";
    shift = platform::controls::kCtrlMask;
    main_->list()->KeyDown(code, shift);
    EXPECT_EQ(GetClipboardTextUtf8().value_or(""), "घर\tअ ।\n[ ख. ]\nध ।");
}

// --- the chrome: tabs, panels, hot spots ------------------------------------------

namespace {

std::string LastSoundName() {
    const std::vector<os::PlayedSound> played = os::PlayedSounds();
    if (played.empty()) return {};
    return std::filesystem::path(played.back().file).filename().string();
}

HWND FrontPanel(HWND skin) {
    // The panels are the skin's largest children; the first one in z-order
    // is in front.
    for (HWND c = GetWindow(skin, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (GetClientRect(c).width() == 587) return c;
    return {};
}

}  // namespace

TEST_F(MainWindowTest, TabsBringTheirPanelToTheFrontWithTheSoundAndTheFocus) {
    Open();
    const HWND skin = main_->FindControl("picMain")->hwnd();
    const size_t sounds_before = os::PlayedSounds().size();
    main_->OnTabClick(0);
    EXPECT_EQ(LastSoundName(), "click.wav") << "even with the panel already in front";
    EXPECT_EQ(FrontPanel(skin), main_->FindControl("picDict")->hwnd());
    EXPECT_EQ(GetFocus(), main_->search_box()->hwnd());

    main_->OnTabClick(1);
    EXPECT_EQ(FrontPanel(skin), main_->pages().info_panel()->hwnd());
    EXPECT_EQ(GetFocus(), main_->pages().info_scroll()->hwnd());
    // The first opening loads page 0 (click2.wav) before the tab's click.
    std::vector<os::PlayedSound> played = os::PlayedSounds();
    ASSERT_GE(played.size(), sounds_before + 3);
    EXPECT_NE(played[played.size() - 2].file.find("click2.wav"), std::string::npos);
    EXPECT_EQ(LastSoundName(), "click.wav");

    main_->OnTabClick(2);
    EXPECT_EQ(FrontPanel(skin), main_->pages().further_panel()->hwnd());
    EXPECT_EQ(GetFocus(), main_->pages().further_scroll()->hwnd());
    main_->OnTabClick(3);
    EXPECT_EQ(FrontPanel(skin), main_->FindControl("picSampadak")->hwnd());
    EXPECT_EQ(main_->front_tab(), 3);
    EXPECT_EQ(LastSoundName(), "click.wav");
}

TEST_F(MainWindowTest, TabZeroPutsTheEnterMarkBackOnTheRowItMarked) {
    Open();
    auto marked = [&](int32_t row) {
        return (SendMessage(main_->list()->hwnd(), LVM_GETITEMSTATE, static_cast<WPARAM>(row),
                            LVIS_DROPHILITED) &
                LVIS_DROPHILITED) != 0;
    };
    // Enough rows after the searched one for the list to scroll to it.
    app::DictionaryStore& store = app::Dictionary();
    for (int k = 0; k < 30; ++k) store.Append("zz" + std::to_string(k), "c.");
    ASSERT_TRUE(main_->list()->SetItemCount(store.size()).ok());
    Search("kfgL");
    const int32_t row = main_->highlight_row();
    ASSERT_EQ(row, 2);
    main_->SetRowHighlight(row, false);
    main_->OnTabClick(0);
    EXPECT_TRUE(marked(row));
    EXPECT_FALSE(marked(0));
    // Once an entry change has seen the mark, the tab leaves the list alone.
    main_->OnItemChanged(2);
    main_->OnItemChanged(3);
    ASSERT_TRUE(main_->highlight_shown());
    main_->OnTabClick(0);
    EXPECT_FALSE(marked(row));
}

TEST_F(MainWindowTest, TheCloseHotSpotSavesTheHistoryAndEndsTheWindow) {
    Open();
    main_->search_box()->set_text("xfjf");
    int16_t enter = 13;
    write_failure_ = "busy";
    main_->OnSearchKeyDown(enter, 0);  // the save at Enter fails
    write_failure_.clear();
    const HWND window = main_->hwnd();
    main_->OnExit();
    EXPECT_FALSE(IsWindow(window));
    ASSERT_EQ(writes_.size(), 1u);
    EXPECT_EQ(writes_.back(), "xfjf,xfjf");
}

}  // namespace
