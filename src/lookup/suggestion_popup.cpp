#include "lookup/suggestion_popup.h"

#include <algorithm>
#include <cmath>

#include "platform/preeti/preeti.h"
#include "platform/text.h"

namespace lookup {

using namespace platform;

namespace {

constexpr const char* kClassName = "KvSuggestList";
constexpr const char* kSelfProp = "kv.suggest";
constexpr int32_t kTextPad = 2;  // pixels between the frame and the text

}  // namespace

SuggestionPopup::SuggestionPopup(HWND owner, FontRef font) : owner_(owner), font_(std::move(font)) {
}

SuggestionPopup::~SuggestionPopup() {
    Close();
}

int32_t SuggestionPopup::RowHeight() const {
    const FontMetrics m = TextEngine::Instance().Metrics(font_->desc());
    return std::max(1, static_cast<int32_t>(std::ceil(m.height)));
}

void SuggestionPopup::Show(const Rect& anchor, std::vector<std::string> words, bool romanised) {
    if (words.size() > kMaxRows) words.resize(kMaxRows);
    if (words.empty()) {
        Close();
        return;
    }
    words_ = std::move(words);
    romanised_ = romanised;
    hot_ = -1;
    pressed_ = -1;
    if (!open()) {
        if (!IsClassRegistered(kClassName))
            RegisterClass({kClassName, &SuggestionPopup::Proc, 0, kNoBackground, {}});
        hwnd_ = CreateWindowEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kClassName, "",
                               WS_POPUP, 0, 0, 1, 1, owner_);
        if (!hwnd_) return;
        SetProp(hwnd_, kSelfProp, reinterpret_cast<intptr_t>(this));
        SetWindowName(hwnd_, "lstSuggest");
    }
    // As wide as the search box, or wider for a long word; below it, or
    // above it where the screen ends.
    int32_t width = anchor.width();
    for (const std::string& word : words_) {
        const float w = TextEngine::Instance().Measure(font_->desc(), word).width;
        width = std::max(width, static_cast<int32_t>(std::ceil(w)) + 2 * kTextPad + 2);
    }
    const int32_t height = static_cast<int32_t>(words_.size()) * RowHeight() + 2;
    int32_t y = anchor.bottom;
    if (y + height > GetSystemMetrics(SM_CYSCREEN) && anchor.top - height >= 0)
        y = anchor.top - height;
    MoveWindow(hwnd_, anchor.left, y, width, height, true);
    InvalidateRect(hwnd_);
    ShowWindow(hwnd_, SW_SHOWNA);
}

void SuggestionPopup::Close() {
    if (!open()) return;
    HWND list = hwnd_;
    hwnd_ = {};
    hot_ = -1;
    pressed_ = -1;
    if (IsWindow(list)) DestroyWindow(list);
}

void SuggestionPopup::MoveHot(int32_t delta) {
    if (!open()) return;
    const int32_t last = static_cast<int32_t>(words_.size()) - 1;
    SetHot(hot_ < 0 ? (delta > 0 ? 0 : last) : std::clamp(hot_ + delta, 0, last));
}

void SuggestionPopup::SetHot(int32_t row) {
    if (row == hot_) return;
    hot_ = row;
    if (open()) InvalidateRect(hwnd_);
}

int32_t SuggestionPopup::RowAt(Point client) const {
    const Rect rows = GetClientRect(hwnd_).inflate(-1, -1);
    if (!rows.contains(client)) return -1;
    const int32_t row = (client.y - rows.top) / RowHeight();
    return row < static_cast<int32_t>(words_.size()) ? row : -1;
}

void SuggestionPopup::Pick(int32_t row) {
    if (row < 0 || row >= static_cast<int32_t>(words_.size())) return;
    Close();
    if (on_pick) on_pick(row);
}

void SuggestionPopup::Paint(DC& dc) {
    const Rect client = GetClientRect(hwnd_);
    dc.FillRect(client, SystemColor(COLOR_WINDOW));
    dc.FrameRect(client, SystemColor(COLOR_WINDOWFRAME));
    const Rect rows = client.inflate(-1, -1);
    const int32_t height = RowHeight();
    dc.SetFont(font_->desc());
    dc.SetBkMode(BkMode::kTransparent);
    dc.SetClip(Region::FromRect(rows));
    for (int32_t row = 0; row < static_cast<int32_t>(words_.size()); ++row) {
        const Rect r{rows.left, rows.top + row * height, rows.right, rows.top + (row + 1) * height};
        const bool hot = row == hot_;
        if (hot) dc.FillRect(r, SystemColor(COLOR_HIGHLIGHT));
        dc.SetTextColor(hot ? SystemColor(COLOR_HIGHLIGHTTEXT) : SystemColor(COLOR_WINDOWTEXT));
        dc.TextOut(static_cast<float>(r.left + kTextPad), static_cast<float>(r.top),
                   words_[static_cast<size_t>(row)]);
    }
}

void SuggestionPopup::ReportState(Json& out) const {
    out.Set("suggestions_open", open());
    Json shown = Json::MakeArray();
    if (open())
        for (const std::string& word : words_) shown.Push(word);
    out.Set("suggestions", std::move(shown));
    Json unicode = Json::MakeArray();
    if (open())
        for (const std::string& word : words_) unicode.Push(preeti::ToUnicode(word));
    out.Set("suggestions_unicode", std::move(unicode));
    out.Set("suggestion_hot", hot_);
    out.Set("suggestions_romanised", open() && romanised_);
}

LRESULT SuggestionPopup::Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<SuggestionPopup*>(GetProp(h, kSelfProp));
    const Point pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    switch (msg) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            auto dc = BeginPaint(h, &ps);
            if (dc && self) self->Paint(*dc);
            EndPaint(h, &ps);
            return 0;
        }
        case WM_MOUSEMOVE:
            if (self)
                if (const int32_t row = self->RowAt(pt); row >= 0) self->SetHot(row);
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            if (self) {
                self->pressed_ = self->RowAt(pt);
                if (self->pressed_ >= 0) self->SetHot(self->pressed_);
            }
            return 0;
        case WM_LBUTTONUP:
            // A click picks the row it began and ended on.
            if (self) {
                const int32_t row = self->RowAt(pt);
                const bool same = row >= 0 && row == self->pressed_;
                self->pressed_ = -1;
                if (same) self->Pick(row);
            }
            return 0;
        case WM_REPORTSTATE:
            if (self) self->ReportState(*reinterpret_cast<Json*>(lp));
            return 0;
        case WM_NCDESTROY:
            RemoveProp(h, kSelfProp);
            break;
        default:
            break;
    }
    return DefWindowProc(h, msg, wp, lp);
}

}  // namespace lookup
