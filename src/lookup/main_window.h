// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: a borderless window drawn from its skin picture and cut
// to the skin's outline, with hot spots on the title strip (move, help,
// minimise, close), four tab buttons and four panels: the dictionary (the
// search box, the headword list, the word label and the definition pane),
// the information pages, the further picture page and the editors. Behind
// the dictionary panel lies the lookup logic: finding headwords as the user
// types, confirming a search with Enter, the row mark, the search history
// and the clipboard watcher. The chrome is in main_chrome.cpp.
#pragma once

#include <array>
#include <cstdint>
#include <future>
#include <memory>
#include <optional>
#include <string>

#include "app/startup.h"
#include "controls/html_label/html_label_control.h"
#include "controls/skin_button/flarvet_button.h"
#include "controls/virtual_list/virtual_list_view.h"
#include "lookup/clipboard_watcher.h"
#include "lookup/picture_pages.h"
#include "lookup/suggestion_popup.h"
#include "lookup/works_viewer.h"
#include "platform/controls/combo_box.h"
#include "platform/controls/command_button.h"
#include "platform/controls/form.h"
#include "platform/controls/label.h"
#include "platform/controls/picture_box.h"
#include "platform/controls/timer.h"
#include "platform/error.h"
#include "platform/property_bag.h"
#include "search/search_index.h"

namespace lookup {

// Where the history is kept: the program's settings store, or a test's.
class HistoryStore {
  public:
    virtual ~HistoryStore() = default;
    virtual std::string Read(const std::string& fallback) = 0;
    // Stores the whole value, however long, or says why it could not.
    virtual platform::Status Write(const std::string& value) = 0;
};

// The settings store of the current user.
std::unique_ptr<HistoryStore> UserHistoryStore();

class MainWindow : public platform::controls::Form,
                   public app::MainWindow,
                   private platform::ComponentHost {
  public:
    explicit MainWindow(std::unique_ptr<HistoryStore> history);
    ~MainWindow() override;

    // app::MainWindow
    void CreateAndLoad() override;
    void ConfigureList(const app::HeadwordListSetup& setup) override;
    // Shows the window; the suggestion index build starts soon after, when
    // the message loop is idle.
    void Show() override;

    // --- the lookup logic, as the controls' handlers run it ----------------
    // The first entry whose headword starts with `text` (wildcards ? # *).
    int32_t FindHeadword(std::string_view text) const;
    bool IsInHistory(std::string_view text) const;
    void SetRowHighlight(int32_t row, bool on);
    void OnSearchChange();
    void OnSearchKeyDown(int16_t& key_code, int16_t shift);
    void OnSearchClick();
    void OnItemChanged(int32_t row);
    void OnClipboardTick();
    // Ctrl+C in the headword list: the shown entry as Unicode text, the
    // headword, a tab, then the definition one sentence a line.
    void CopyEntry();
    // The suggestion list: shown while the search box text matches no
    // headword and some headword is near it; `row` picks one.
    void UpdateSuggestions(int32_t found);
    void PickSuggestion(int32_t row);
    SuggestionPopup* suggestions() const { return suggest_.get(); }
    void ClearHistory();
    void SaveHistory();

    // --- the chrome (main_chrome.cpp) -----------------------------------------
    static constexpr int32_t kTabCount = 4;
    // Tab button k: brings its panel to the front, then click.wav.
    void OnTabClick(int32_t k);
    // The hot spots' actions.
    void OnMoverDown();
    void OnHelp();
    // Shows the published works viewer modally on picture `number` (1 for
    // btnTulen's Command1, 0 for btnMorik's Command2).
    void OpenWorks(int16_t number);
    WorksViewer& works_viewer() { return works_viewer_; }
    void OnMinimize();
    void OnExit();
    int32_t front_tab() const { return front_tab_; }
    PicturePages& pages() { return pages_; }

    platform::controls::ComboBox* search_box() const { return cmb_search_; }
    virtual_list::UVirtualListView* list() const { return lst_main_.get(); }
    bool highlight_shown() const { return highlight_shown_; }
    int32_t highlight_row() const { return highlight_row_; }
    const std::string& last_search() const { return last_search_; }

    void ReportState(platform::Json& out) const override;

  protected:
    // Moving the window or leaving it closes the suggestion list, which
    // stays where it was put otherwise.
    platform::LRESULT HandleMessage(platform::UINT msg, platform::WPARAM wp,
                                    platform::LPARAM lp) override;

  private:
    void BuildControls();
    // The skin, the hot spots, the tab buttons and the panels other than the
    // dictionary; the window's outline.
    void BuildChrome();
    void BuildEditorsPanel();
    void ShapeWindow();
    void LoadHistory();
    // The over-use warning: after more than kQueriesBeforeWarning entry
    // changes, once more than kWarningGapMs have passed since the last one
    // was closed. False when the window went away while it was shown.
    bool WarnOfOveruse();
    static constexpr int32_t kQueriesBeforeWarning = 50;
    static constexpr uint32_t kWarningGapMs = 2000;
    void ShowDefinition(int32_t row);
    // The index of the whole store: built on a thread of its own started in
    // an idle moment after hand-over, taken over (waiting for it if need be)
    // or built here at the first need.
    void StartIndexBuild();
    const search::SearchIndex& SuggestionIndex();

    std::unique_ptr<HistoryStore> history_;
    platform::PropertyBag list_properties_;

    platform::controls::PictureBox* pic_dict_ = nullptr;
    platform::controls::PictureBox* picture4_ = nullptr;
    platform::controls::PictureBox* picture2_ = nullptr;
    platform::controls::PictureBox* picture3_ = nullptr;
    platform::controls::ComboBox* cmb_search_ = nullptr;
    platform::controls::Label* lbl_clear_history_ = nullptr;
    platform::controls::Label* lbl_word_ = nullptr;
    html_label::HTMLLabelControl* html_definition_ = nullptr;
    platform::controls::Timer* tmr_clipboard_ = nullptr;
    platform::controls::Timer* tmr_index_ = nullptr;
    std::unique_ptr<virtual_list::UVirtualListView> lst_main_;
    std::unique_ptr<SuggestionPopup> suggest_;

    // The chrome.
    platform::controls::PictureBox* pic_main_ = nullptr;
    platform::controls::Label* lbl_mover_ = nullptr;
    platform::controls::Label* lbl_help_ = nullptr;
    platform::controls::Label* lbl_minimize_ = nullptr;
    platform::controls::Label* lbl_exit_ = nullptr;
    std::array<skin_button::FlarvetButon*, kTabCount> btn_over_{};
    platform::controls::Label* lbl_tab_mark_ = nullptr;  // the line under the tab in front
    platform::controls::PictureBox* pic_sampadak_ = nullptr;
    skin_button::FlarvetButon* btn_tulen_ = nullptr;
    skin_button::FlarvetButon* btn_morik_ = nullptr;
    platform::controls::CommandButton* command1_ = nullptr;
    platform::controls::CommandButton* command2_ = nullptr;
    PicturePages pages_;
    int32_t front_tab_ = 0;
    bool shaped_ = false;       // the mask gave the window its outline
    int32_t works_opened_ = 0;  // published-works viewer openings (Command1/2)
    WorksViewer works_viewer_;

    // Lookup state.
    bool highlight_shown_ = false;
    int32_t highlight_row_ = 0;
    std::string last_search_;
    bool clipboard_lookup_active_ = false;
    // Entry changes since the last over-use warning or key release in the
    // list, and the tick count when the last warning was closed.
    int32_t query_count_ = 0;
    uint32_t last_warning_tick_ = 0;
    bool warning_open_ = false;    // the warning is being shown
    uint64_t entry_changes_ = 0;   // every entry change handled, counted
    int32_t definition_row_ = -1;  // the entry whose definition is shown
    ClipboardWatcher clipboard_;
    std::string saved_history_;       // what is on disk, to write only changes
    std::string history_save_error_;  // why the last save failed; empty after a good one

    // Suggestions: none until the store is full and the window handed over.
    bool handed_over_ = false;
    std::optional<search::SearchIndex> index_;
    std::future<search::SearchIndex> index_build_;
    std::vector<int32_t> suggested_;  // the entry of each suggested row
};

}  // namespace lookup
