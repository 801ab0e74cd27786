// SPDX-License-Identifier: GPL-3.0-or-later
#include "lookup/main_window.h"

#include <system_error>

#include "app/definition_html.h"
#include "app/dictionary_store.h"
#include "app/headword_search.h"
#include "app/terminal_lookup.h"
#include "controls/virtual_list/mvirtual_list_view.h"
#include "lookup/search_history.h"
#include "platform/controls/message_box.h"
#include "platform/listview/commctrl.h"
#include "platform/listview/listview.h"
#include "platform/os/clipboard_text.h"
#include "platform/os/settings.h"
#include "platform/preeti/preeti.h"

namespace lookup {

using namespace platform;
using namespace platform::controls;

namespace {

constexpr Color kSearchBack = 0x0080FFFF;      // light yellow
constexpr Color kDefinitionBack = 0x00B4FFFF;  // paler yellow
constexpr Color kPanelBack = Rgb(0xFB, 0xF4, 0xE6);
constexpr int16_t kEnterKey = 13;
// The index build starts this long after the window shows, once it has
// painted.
constexpr int32_t kIndexDelayMs = 200;

class SettingsHistoryStore : public HistoryStore {
  public:
    std::string Read(const std::string& fallback) override {
        return os::GetSetting(kHistoryApp, kHistorySection, kHistoryKey, fallback);
    }
    Status Write(const std::string& value) override {
        return os::SaveSetting(kHistoryApp, kHistorySection, kHistoryKey, value);
    }
};

FormOptions MainOptions() {
    FormOptions o;
    o.name = "frmMain";
    o.caption = "Kovelin";
    o.border = BorderStyle::kNone;
    o.position = StartUpPosition::kCenterScreen;
    o.client_width = 600;
    o.client_height = 499;
    return o;
}

FontRef SearchFont() {
    FontDesc f;
    f.name = "OrvSoft";
    f.size = 14.25f;
    return MakeFont(f);
}

}  // namespace

std::unique_ptr<HistoryStore> UserHistoryStore() {
    return std::make_unique<SettingsHistoryStore>();
}

MainWindow::MainWindow(std::unique_ptr<HistoryStore> history)
    : Form(MainOptions()), history_(std::move(history)) {
    on_query_unload = [this](int16_t&, int16_t) { SaveHistory(); };
    on_unload = [](int16_t&) { PostQuitMessage(0); };
}

MainWindow::~MainWindow() {
    // A build still running reads the store; it ends before the window does.
    if (index_build_.valid()) index_build_.wait();
    // The list and the pop-up go first, while their windows still exist.
    suggest_.reset();
    lst_main_.reset();
}

void MainWindow::Show() {
    Form::Show();
    // The first definition was composed while the window was hidden; shown,
    // the pane lays it out.
    if (html_definition_) (void)html_definition_->label().Refresh();
    handed_over_ = true;
    if (tmr_index_) tmr_index_->set_enabled(true);
}

void MainWindow::CreateAndLoad() {
    // The list must come up owner-data: the switch is set before any child
    // control exists.
    virtual_list::VirtualListHookEnabled = true;
    on_load = [this] {
        BuildChrome();
        BuildControls();
        ShapeWindow();
        pic_dict_->ZOrder(0);
        LoadHistory();
        OnItemChanged(0);
        tmr_clipboard_->set_enabled(true);
    };
    Load();
}

void MainWindow::BuildControls() {
    pic_dict_ = &AddTo<PictureBox>(pic_main_->hwnd(), "picDict", Rect::FromXYWH(6, 82, 587, 411));
    picture4_ = &AddTo<PictureBox>(pic_dict_->hwnd(), "Picture4", Rect::FromXYWH(6, 2, 570, 32));
    cmb_search_ = &AddTo<ComboBox>(picture4_->hwnd(), "cmbSearch", Rect::FromXYWH(4, 4, 205, 25),
                                   std::string(kDefaultSearch));
    lbl_clear_history_ =
        &AddTo<Label>(picture4_->hwnd(), "lblClearHistory", Rect::FromXYWH(212, 8, 17, 17), "\xD7");
    lbl_word_ = &AddTo<Label>(picture4_->hwnd(), "lblWord", Rect::FromXYWH(234, 8, 331, 19),
                              std::string(kDefaultSearch));
    picture2_ = &AddTo<PictureBox>(pic_dict_->hwnd(), "Picture2", Rect::FromXYWH(6, 34, 207, 369));
    picture3_ =
        &AddTo<PictureBox>(pic_dict_->hwnd(), "Picture3", Rect::FromXYWH(216, 34, 366, 367));
    html_definition_ =
        &AddTo<html_label::HTMLLabelControl>(picture3_->hwnd(), static_cast<ComponentHost&>(*this),
                                             "htmlDefination", Rect::FromXYWH(0, 0, 361, 367));
    tmr_clipboard_ = &Add<Timer>("tmrClipBoard");
    (void)tmr_clipboard_->set_interval(500);
    tmr_clipboard_->set_enabled(false);
    tmr_index_ = &Add<Timer>("tmrIndex");
    (void)tmr_index_->set_interval(kIndexDelayMs);
    tmr_index_->set_enabled(false);
    suggest_ = std::make_unique<SuggestionPopup>(hwnd(), SearchFont());

    RegisterListViewClass();
    lst_main_ = std::make_unique<virtual_list::UVirtualListView>(
        picture2_->hwnd(), static_cast<ComponentHost&>(*this), "lstMain",
        Rect::FromXYWH(8, 14, 189, 339));
    lst_main_->ReadProperties(list_properties_);

    // The panel and its frames in the skin's warm paper colour, flat.
    for (PictureBox* p : {pic_dict_, picture4_, picture2_, picture3_}) {
        p->set_border_style(ControlBorder::kNone);
        p->set_back_color(kPanelBack);
        p->set_visible(true);
    }

    // The search box and the word label: Nepali in the Preeti face, black on
    // light yellow.
    cmb_search_->set_font(SearchFont());
    cmb_search_->set_back_color(kSearchBack);
    cmb_search_->set_fore_color(Rgb(0, 0, 0));
    cmb_search_->set_visible(true);
    lbl_word_->set_font(SearchFont());
    lbl_word_->set_back_color(kSearchBack);
    lbl_word_->set_fore_color(Rgb(0, 0, 0));
    lbl_word_->set_back_style(BackStyle::kOpaque);
    lbl_word_->set_visible(true);

    FontDesc x;
    x.name = "Arial";
    x.size = 9.75f;
    x.bold = true;
    lbl_clear_history_->set_font(MakeFont(x));
    lbl_clear_history_->set_fore_color(Rgb(192, 0, 0));
    lbl_clear_history_->set_alignment(Alignment::kCenter);
    lbl_clear_history_->set_tooltip_text("Clear Search History....");
    SetWindowCursor(lbl_clear_history_->hwnd(), Cursor{CursorShape::kHand, {}, {}});
    lbl_clear_history_->set_visible(true);

    // The definition pane: a sunken, single-bordered, scrolling HTML label on
    // pale yellow, with links and tips off.
    html_label::HTMLLabel& pane = html_definition_->label();
    pane.SetAppearance(1);
    pane.SetBorderStyle(1);
    (void)pane.SetBackColor(kDefinitionBack);
    pane.SetEnableAnchors(false);
    pane.SetEnableScroll(true);
    pane.SetEnableTooltips(false);
    (void)pane.SetDefaultFontName("MS Sans Serif");
    (void)pane.SetDefaultFontSize(10);
    pane.SetUnderlineLinks(false);
    pane.SetDefaultPadding(6);
    pane.SetDefaultSpacing(5);
    html_definition_->set_visible(true);

    // Handlers.
    cmb_search_->on_change = [this] { OnSearchChange(); };
    cmb_search_->on_key_down = [this](int16_t& code, int16_t shift) {
        OnSearchKeyDown(code, shift);
    };
    cmb_search_->on_click = [this] { OnSearchClick(); };
    lbl_clear_history_->on_click = [this] { ClearHistory(); };
    tmr_clipboard_->on_timer = [this] { OnClipboardTick(); };
    tmr_index_->on_timer = [this] {
        tmr_index_->set_enabled(false);
        StartIndexBuild();
    };
    // The box also loses the focus while the window is destroyed, after
    // the pop-up has gone.
    cmb_search_->on_lost_focus = [this] {
        if (suggest_) suggest_->Close();
    };
    // The earlier searches and the suggestions drop down in the same
    // place: one list at a time.
    cmb_search_->on_drop_down = [this] {
        if (suggest_) suggest_->Close();
    };
    suggest_->on_pick = [this](int32_t row) { PickSuggestion(row); };
    lst_main_->KeyDown = [this](int16_t& code, int16_t& shift) {
        if (code == 'C' && (shift & kCtrlMask) && !(shift & (kShiftMask | kAltMask))) CopyEntry();
    };
    lst_main_->ItemInfoCallback = [](int32_t row, int32_t sub, int32_t, std::string& text,
                                     int32_t&) {
        const app::DictionaryStore& store = app::Dictionary();
        if (row >= 0 && row < store.size() && sub == 0) text.assign(store.word(row));
    };
    lst_main_->BeforeLabelEdit = [](bool& cancel, int32_t) { cancel = true; };
    lst_main_->KeyUp = [this](int16_t&, int16_t&) { query_count_ = 0; };
    lst_main_->ravoItemChanged = [this](int32_t& row) { OnItemChanged(row); };
}

void MainWindow::ConfigureList(const app::HeadwordListSetup& setup) {
    if (!lst_main_) return;
    (void)lst_main_->SetFontName(setup.font_face);
    (void)lst_main_->SetFontSize(setup.font_size);
    (void)lst_main_->GetColumnHeaders().Add(setup.column_caption, setup.column_width);
    (void)lst_main_->SetFullRowSelect(setup.full_row_select);
    (void)lst_main_->SetShowGridLines(setup.grid_lines);
    (void)lst_main_->SetItemCount(setup.item_count);
}

// --- lookup --------------------------------------------------------------------

int32_t MainWindow::FindHeadword(std::string_view text) const {
    return app::FindHeadword(app::Dictionary(), text);
}

bool MainWindow::IsInHistory(std::string_view text) const {
    std::string_view t = TrimSpaces(text);
    for (int32_t k = 0; k < cmb_search_->list_count(); ++k)
        if (cmb_search_->list(k) == t) return true;
    return false;
}

void MainWindow::SetRowHighlight(int32_t row, bool on) {
    LVITEMA item;
    item.stateMask = LVIS_DROPHILITED;
    item.state = on ? 11u : 0u;
    SendMessage(lst_main_->hwnd(), LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                reinterpret_cast<LPARAM>(&item));
}

void MainWindow::OnSearchChange() {
    int32_t i = FindHeadword(cmb_search_->text());
    if (i != -1) (void)lst_main_->SetTopIndex(i);
    UpdateSuggestions(i);
}

void MainWindow::OnSearchKeyDown(int16_t& key_code, int16_t shift) {
    // While suggestions are up, the arrow keys move through them, Escape
    // closes them and Enter picks the one the arrows are on.
    if (suggest_ && suggest_->open() && !(shift & kAltMask)) {
        switch (key_code) {
            case VK_DOWN:
                suggest_->MoveHot(1);
                key_code = 0;
                return;
            case VK_UP:
                suggest_->MoveHot(-1);
                key_code = 0;
                return;
            case VK_ESCAPE:
                suggest_->Close();
                key_code = 0;
                return;
            case kEnterKey:
                if (const int32_t hot = suggest_->hot(); hot >= 0) {
                    key_code = 0;
                    suggest_->Close();
                    PickSuggestion(hot);
                    return;
                }
                suggest_->Close();
                break;
            default:
                break;
        }
    }
    if (key_code != kEnterKey) return;
    std::string t(TrimSpaces(cmb_search_->text()));
    int32_t i = FindHeadword(t);
    if (i != -1) (void)lst_main_->SetTopIndex(i);
    int32_t top = lst_main_->TopIndex();
    highlight_shown_ = false;
    highlight_row_ = top;
    SetRowHighlight(top, true);
    if (!t.empty() && !clipboard_lookup_active_ && !IsInHistory(t)) (void)cmb_search_->AddItem(t);
    last_search_ = t;
    // Saved at once (when it changed) so a crash or a kill loses no search;
    // a normal close then finds nothing new to write.
    SaveHistory();
}

void MainWindow::OnSearchClick() {
    int16_t code = kEnterKey;
    OnSearchKeyDown(code, 0);
}

void MainWindow::OnItemChanged(int32_t row) {
    const app::DictionaryStore& store = app::Dictionary();
    if (row < 0 || row > store.size() - 1) return;
    ++query_count_;
    const uint64_t change = ++entry_changes_;
    lbl_word_->set_caption(std::string(store.word(row)));
    if (!WarnOfOveruse()) return;
    // A later entry change that ran inside the warning's yields has shown
    // its own word and definition; this older one must not cover them.
    if (change != entry_changes_) return;
    ShowDefinition(row);
    if (highlight_shown_) SetRowHighlight(highlight_row_, false);
    highlight_shown_ = true;
}

bool MainWindow::WarnOfOveruse() {
    // An unsigned 32-bit difference stays right when the millisecond tick
    // count wraps round after 49.7 days.
    const uint32_t since = GetTickCount() - last_warning_tick_;
    if (since <= kWarningGapMs || query_count_ <= kQueriesBeforeWarning) return true;
    // The yields around the box let queued entry changes (a held arrow key)
    // run inside this one; they count, but raise no second box.
    if (warning_open_) return true;
    warning_open_ = true;
    HWND self = hwnd();
    DoEvents();
    if (!IsWindow(self)) return false;
    MessageBox(self, "Oops! , Too Much Query!!! Be CareFull You Will Crash Me Man..",
               "Too much query!!!", MB_OK | MB_ICONSTOP);
    DoEvents();
    if (!IsWindow(self)) return false;
    warning_open_ = false;
    last_warning_tick_ = GetTickCount();
    query_count_ = 0;
    return true;
}

void MainWindow::ShowDefinition(int32_t row) {
    definition_row_ = row;
    if (!html_definition_) return;
    const app::DictionaryStore& store = app::Dictionary();
    (void)html_definition_->label().SetDocumentHTML(
        app::ComposeDefinitionHtml(store.definition(row), store.word(row)));
}

// --- suggestions and copying -------------------------------------------------

LRESULT MainWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (suggest_ && (msg == WM_MOVE || (msg == WM_ACTIVATE && wp == WA_INACTIVE)))
        suggest_->Close();
    return Form::HandleMessage(msg, wp, lp);
}

void MainWindow::StartIndexBuild() {
    if (index_ || index_build_.valid()) return;
    // The store is only read after loading, so a thread may read it while
    // this one goes on; it touches no window.
    try {
        index_build_ = std::async(std::launch::async, [] {
            const app::DictionaryStore& store = app::Dictionary();
            return search::SearchIndex::Build(store.size(),
                                              [&](int32_t i) { return store.word(i); });
        });
    } catch (const std::system_error&) {
        // No thread to be had: the index is built when it is first needed.
    }
}

const search::SearchIndex& MainWindow::SuggestionIndex() {
    if (index_build_.valid()) index_ = index_build_.get();
    const app::DictionaryStore& store = app::Dictionary();
    if (!index_ || index_->size() != store.size())
        index_ = search::SearchIndex::Build(store.size(), [&](int32_t i) { return store.word(i); });
    return *index_;
}

void MainWindow::UpdateSuggestions(int32_t found) {
    if (!suggest_) return;
    const std::string& text = cmb_search_->text();
    // Only for text being typed: a word the clipboard watcher looks up while
    // another program is in front raises no pop-up over it.
    if (found != -1 || !handed_over_ || TrimSpaces(text).empty() ||
        GetFocus() != cmb_search_->hwnd()) {
        suggest_->Close();
        return;
    }
    const search::Suggestions near =
        search::SuggestForTyped(SuggestionIndex(), text, SuggestionPopup::kMaxRows);
    const app::DictionaryStore& store = app::Dictionary();
    suggested_.clear();
    std::vector<std::string> words;
    for (const search::Match& match : near.matches) {
        suggested_.push_back(match.entry);
        words.emplace_back(store.word(match.entry));
    }
    if (words.empty()) {
        suggest_->Close();
        return;
    }
    cmb_search_->ShowDropDown(false);
    suggest_->Show(GetWindowRect(cmb_search_->hwnd()), std::move(words), near.romanised);
}

void MainWindow::PickSuggestion(int32_t row) {
    if (row < 0 || row >= static_cast<int32_t>(suggested_.size())) return;
    const app::DictionaryStore& store = app::Dictionary();
    const int32_t entry = suggested_[static_cast<size_t>(row)];
    if (entry < 0 || entry >= store.size()) return;
    // As if the word had been typed and Enter pressed: the change handling
    // scrolls the list to it and closes the suggestions, Enter marks and
    // records it.
    HWND self = hwnd();
    cmb_search_->set_text(std::string(store.word(entry)));
    if (!IsWindow(self)) return;
    OnSearchClick();
}

void MainWindow::CopyEntry() {
    const app::DictionaryStore& store = app::Dictionary();
    if (definition_row_ < 0 || definition_row_ >= store.size()) return;
    const app::DictEntry entry = store[definition_row_];
    std::string text = preeti::ToUnicode(entry.word);
    text += '\t';
    text += app::DefinitionLines(entry.definition);
    while (!text.empty() && text.back() == '\n') text.pop_back();
    if (!SetClipboardTextUtf8(text)) return;
    // Should the copy read back as program text, the watcher takes it as
    // already seen and does not look it up.
    (void)clipboard_.Tick(os::ClipboardToProgramText(text));
}

// --- history ------------------------------------------------------------------

void MainWindow::LoadHistory() {
    std::string stored = history_->Read(kDefaultSearch);
    saved_history_ = stored;
    LoadedHistory h = ParseHistory(stored);
    if (!h.edit_text) return;
    for (const auto& item : h.items) (void)cmb_search_->AddItem(item);
    // The word in the edit text counts as the last search, so a run in which
    // Enter is never pressed saves what it loaded instead of dropping it.
    last_search_ = std::string(TrimSpaces(*h.edit_text));
    cmb_search_->set_text(*h.edit_text);
}

void MainWindow::SaveHistory() {
    if (!cmb_search_) return;
    std::vector<std::string> items;
    for (int32_t k = 0; k < cmb_search_->list_count(); ++k) items.push_back(cmb_search_->list(k));
    std::string value = ComposeHistory(last_search_, items);
    if (value == saved_history_) return;
    // A failed save is kept in view (the state report) and tried again at
    // the next change or at close, with the whole history.
    const Status written = history_->Write(value);
    if (!written) {
        history_save_error_ = written.error().message.empty() ? "the history could not be saved"
                                                              : written.error().message;
        return;
    }
    history_save_error_.clear();
    saved_history_ = value;
}

void MainWindow::ClearHistory() {
    int answer = MessageBox(hwnd(), "Clear All Search History!", "Confirm Clear",
                            MB_YESNO | MB_ICONQUESTION);
    if (answer != IDYES) return;
    cmb_search_->Clear();
    cmb_search_->set_text(kDefaultSearch);
    last_search_ = kDefaultSearch;
    SaveHistory();
}

// --- clipboard ----------------------------------------------------------------

void MainWindow::OnClipboardTick() {
    // Text that cannot become the program's bytes (Devanagari the legacy
    // encoding cannot express) counts as no text, like a picture would.
    std::optional<std::string> text;
    if (auto utf8 = GetClipboardTextUtf8()) {
        std::string bytes = os::ClipboardToProgramText(*utf8);
        if (!bytes.empty() || TrimSpaces(*utf8).empty()) text = std::move(bytes);
    }
    auto lookup = clipboard_.Tick(text);
    clipboard_lookup_active_ = true;
    if (lookup) {
        cmb_search_->set_text(*lookup);
        OnSearchClick();
    }
    clipboard_lookup_active_ = false;
}

// --- state report ---------------------------------------------------------------

void MainWindow::ReportState(Json& out) const {
    if (!cmb_search_) return;
    out.Set("front_tab", static_cast<int64_t>(front_tab_));
    out.Set("shaped", shaped_);
    out.Set("works_opened", static_cast<int64_t>(works_opened_));
    pages_.ReportState(out);
    out.Set("search_text", cmb_search_->text());
    Json items = Json::MakeArray();
    for (int32_t k = 0; k < cmb_search_->list_count(); ++k) items.Push(cmb_search_->list(k));
    out.Set("history_items", std::move(items));
    out.Set("last_search", last_search_);
    out.Set("highlight_shown", highlight_shown_);
    out.Set("highlight_row", static_cast<int64_t>(highlight_row_));
    out.Set("word", lbl_word_->caption());
    out.Set("definition_row", static_cast<int64_t>(definition_row_));
    if (html_definition_) {
        // The pane's document, title, content size and scroll values.
        Json pane = Json::MakeObject();
        pane.Set("document_html", std::string(html_definition_->label().DocumentHTML()));
        html_definition_->ReportState(pane);
        out.Set("definition_pane", std::move(pane));
    }
    out.Set("last_clipboard_text", clipboard_.last_text());
    out.Set("query_count", static_cast<int64_t>(query_count_));
    out.Set("last_warning_tick", static_cast<int64_t>(last_warning_tick_));
    out.Set("history_save_failed", !history_save_error_.empty());
    out.Set("history_save_error", history_save_error_);
    // The settings value itself, as stored; null when there is none (a
    // stored value never holds a zero byte).
    const std::string stored = history_->Read(std::string(1, '\0'));
    out.Set("history_stored", stored == std::string(1, '\0') ? Json() : Json(stored));
    if (suggest_) suggest_->ReportState(out);
    out.Set("suggestion_index_started", index_.has_value() || index_build_.valid());
    out.Set("suggestion_index_size", index_ ? Json(static_cast<int64_t>(index_->size())) : Json());
    // The headword list's own report, lifted here so scenarios read it
    // next to the search state.
    if (lst_main_) {
        Json list = Json::MakeObject();
        SendMessage(lst_main_->hwnd(), WM_REPORTSTATE, 0, reinterpret_cast<LPARAM>(&list));
        for (const char* key : {"count", "top", "selected", "drop_highlighted", "visible",
                                "rows_per_page", "row_height", "columns", "font", "rows"})
            if (const Json* v = list.Get(key)) out.Set(std::string("list_") + key, *v);
        Json component = Json::MakeObject();
        lst_main_->ReportState(component);
        if (const Json* v = component.Get("events")) out.Set("list_events", *v);
    }
}

}  // namespace lookup
