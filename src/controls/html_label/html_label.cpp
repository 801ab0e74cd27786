// SPDX-License-Identifier: GPL-3.0-or-later
// HTMLLabel's properties, its saved property set and the document load
// sequence that rebuilds the element table.
#include "controls/html_label/html_label.h"

#include <limits>
#include <optional>
#include <utility>

namespace html_label {

namespace {

// Saved keys, in the order they are read and written.
constexpr std::string_view kKeyAppearance = "Appearance";
constexpr std::string_view kKeyBorderStyle = "BorderStyle";
constexpr std::string_view kKeyBackColor = "BackColor";
constexpr std::string_view kKeyEnableAnchors = "EnableAnchors";
constexpr std::string_view kKeyEnableScroll = "EnableScroll";
constexpr std::string_view kKeyEnableTooltips = "EnableTooltips";
constexpr std::string_view kKeyDefaultFontName = "DefaultFontName";
constexpr std::string_view kKeyDefaultFontSize = "DefaultFontSize";
constexpr std::string_view kKeyUnderlineLinks = "UnderlineLinks";
constexpr std::string_view kKeyDefaultPadding = "DefaultPadding";
constexpr std::string_view kKeyDefaultSpacing = "DefaultSpacing";

// Defaults on reading a saved form. Two of them differ from what a new
// instance starts with: the font name ("MS Sans Serif" against "Arial") and
// tooltips (on against off).
constexpr int32_t kSavedAppearance = 1;
constexpr int32_t kSavedBorderStyle = 1;
constexpr int32_t kSavedBackColor = static_cast<int32_t>(kButtonFaceColor);
constexpr bool kSavedEnableAnchors = false;
constexpr bool kSavedEnableScroll = false;
constexpr bool kSavedEnableTooltips = true;
constexpr const char* kSavedDefaultFontName = "MS Sans Serif";
constexpr float kSavedDefaultFontSize = 10;
constexpr bool kSavedUnderlineLinks = true;
constexpr int32_t kSavedDefaultPadding = 4;
constexpr int32_t kSavedDefaultSpacing = 4;

std::optional<int16_t> Narrow16(int32_t v) {
    if (v < std::numeric_limits<int16_t>::min() || v > std::numeric_limits<int16_t>::max()) {
        return std::nullopt;
    }
    return static_cast<int16_t>(v);
}

}  // namespace

HTMLLabel::HTMLLabel() {
    SetDocumentText({});
}

HTMLLabel::HTMLLabel(platform::ComponentHost* host, HTMLLabelView* view)
    : host_(host), view_(view) {
    SetDocumentText({});
}

void HTMLLabel::NotifyChanged(std::string_view key) {
    if (host_ != nullptr) host_->PropertyChanged(key);
}

platform::Status HTMLLabel::Reload() {
    // The normalised text is loaded again as if it had just been assigned.
    const std::string text(DocumentHTML());
    return LoadDocument(text);
}

platform::Status HTMLLabel::SetDefaultFontName(std::string name) {
    default_font_name_ = std::move(name);
    NotifyChanged(kKeyDefaultFontName);
    if (document_size_ != 0) return Reload();
    return {};
}

platform::Status HTMLLabel::SetDefaultFontSize(float points) {
    default_font_size_ = points;
    NotifyChanged(kKeyDefaultFontSize);
    if (document_size_ != 0) return Reload();
    return {};
}

platform::Status HTMLLabel::SetBackColor(platform::Color color) {
    back_color_ = color;
    NotifyChanged(kKeyBackColor);
    if (view_ != nullptr) view_->ApplyBackColor(color);
    if (elements_.empty()) {
        doc_back_color_ = color;
        if (view_ != nullptr) {
            view_->SetSurfaceBackColor(color);
            view_->RepaintViewport();
        }
        return {};
    }
    const bool body_has_color = body_index_ >= 0 && body_index_ < ElementCount() &&
                                elements_[static_cast<size_t>(body_index_)].HasBgColor;
    if (body_has_color) return {};
    // Reloading lets a BGCOLOR on BODY win over the new colour again.
    doc_back_color_ = color;
    if (view_ != nullptr) view_->SetSurfaceBackColor(color);
    return Reload();
}

void HTMLLabel::SetAppearance(int16_t value) {
    appearance_ = value;
    NotifyChanged(kKeyAppearance);
    if (view_ != nullptr) view_->ApplyFrame(appearance_, border_style_);
}

void HTMLLabel::SetBorderStyle(int16_t value) {
    border_style_ = value;
    NotifyChanged(kKeyBorderStyle);
    if (view_ != nullptr) view_->ApplyFrame(appearance_, border_style_);
}

void HTMLLabel::SetEnableTooltips(bool value) {
    enable_tooltips_ = value;
    NotifyChanged(kKeyEnableTooltips);
}

void HTMLLabel::SetEnableScroll(bool value) {
    enable_scroll_ = value;
    NotifyChanged(kKeyEnableScroll);
}

void HTMLLabel::SetEnableAnchors(bool value) {
    enable_anchors_ = value;
    NotifyChanged(kKeyEnableAnchors);
}

void HTMLLabel::SetUnderlineLinks(bool value) {
    underline_links_ = value;
    NotifyChanged(kKeyUnderlineLinks);
}

void HTMLLabel::SetDefaultPadding(int16_t value) {
    default_padding_ = value;
    NotifyChanged(kKeyDefaultPadding);
}

void HTMLLabel::SetDefaultSpacing(int16_t value) {
    default_spacing_ = value;
    NotifyChanged(kKeyDefaultSpacing);
}

platform::Status HTMLLabel::ReadProperties(const platform::PropertyBag& bag) {
    std::string overflowed;
    auto read16 = [&](std::string_view key, int32_t fallback, int16_t& target) {
        if (auto v = Narrow16(bag.Read<int32_t>(key, fallback))) {
            target = *v;
        } else if (overflowed.empty()) {
            overflowed = std::string(key);
        }
    };

    read16(kKeyAppearance, kSavedAppearance, appearance_);
    read16(kKeyBorderStyle, kSavedBorderStyle, border_style_);
    if (view_ != nullptr) view_->ApplyFrame(appearance_, border_style_);
    back_color_ = static_cast<platform::Color>(bag.Read<int32_t>(kKeyBackColor, kSavedBackColor));
    doc_back_color_ = back_color_;
    if (view_ != nullptr) {
        view_->ApplyBackColor(back_color_);
        view_->SetSurfaceBackColor(back_color_);
    }
    enable_anchors_ = bag.Read<bool>(kKeyEnableAnchors, kSavedEnableAnchors);
    enable_scroll_ = bag.Read<bool>(kKeyEnableScroll, kSavedEnableScroll);
    enable_tooltips_ = bag.Read<bool>(kKeyEnableTooltips, kSavedEnableTooltips);
    default_font_name_ =
        bag.Read<std::string>(kKeyDefaultFontName, std::string(kSavedDefaultFontName));
    default_font_size_ = bag.Read<float>(kKeyDefaultFontSize, kSavedDefaultFontSize);
    underline_links_ = bag.Read<bool>(kKeyUnderlineLinks, kSavedUnderlineLinks);
    read16(kKeyDefaultPadding, kSavedDefaultPadding, default_padding_);
    read16(kKeyDefaultSpacing, kSavedDefaultSpacing, default_spacing_);

    if (!overflowed.empty()) {
        return platform::MakeError(platform::ErrorCode::kOverflow,
                                   "saved value out of range: " + overflowed);
    }
    return {};
}

void HTMLLabel::WriteProperties(platform::PropertyBag& bag) const {
    // The bag leaves out a value equal to its default; reading gives that
    // default back, so every one of the eleven values survives a round trip.
    bag.Write<int32_t>(kKeyAppearance, appearance_, kSavedAppearance);
    bag.Write<int32_t>(kKeyBorderStyle, border_style_, kSavedBorderStyle);
    bag.Write<int32_t>(kKeyBackColor, static_cast<int32_t>(back_color_), kSavedBackColor);
    bag.Write<bool>(kKeyEnableAnchors, enable_anchors_, kSavedEnableAnchors);
    bag.Write<bool>(kKeyEnableScroll, enable_scroll_, kSavedEnableScroll);
    bag.Write<bool>(kKeyEnableTooltips, enable_tooltips_, kSavedEnableTooltips);
    bag.Write<std::string>(kKeyDefaultFontName, default_font_name_,
                           std::string(kSavedDefaultFontName));
    bag.Write<float>(kKeyDefaultFontSize, default_font_size_, kSavedDefaultFontSize);
    bag.Write<bool>(kKeyUnderlineLinks, underline_links_, kSavedUnderlineLinks);
    bag.Write<int32_t>(kKeyDefaultPadding, default_padding_, kSavedDefaultPadding);
    bag.Write<int32_t>(kKeyDefaultSpacing, default_spacing_, kSavedDefaultSpacing);
}

platform::Status HTMLLabel::Refresh(bool /*unused*/) {
    if (view_ == nullptr) return {};
    return view_->Refresh();
}

platform::Status HTMLLabel::LoadDocument(std::string_view html) {
    if (view_ != nullptr) view_->BeginBusy();

    SetDocumentText(WrapAndClean(html));
    ++document_generation_;

    doc_back_color_ = back_color_;
    text_color_ = 0;
    link_color_ = kDefaultLinkColor;
    if (view_ != nullptr) view_->ResetFont(default_font_name_, default_font_size_, text_color_);

    SetDocumentText(CollapseBlanks(DocumentHTML()));
    Tokenize();
    body_index_ = 0;
    background_image_.clear();
    ClassifyAll();
    InsertMissingCloseTags();
    BuildAnchorList();
    mBuildHierarchy();

    platform::Status status;
    if (view_ != nullptr && view_->IsHostVisible()) status = Refresh(false);

    // The normal pointer comes back even when the refresh failed, so a bad
    // document never leaves the hourglass showing.
    if (view_ != nullptr) view_->EndBusy();
    return status;
}

}  // namespace html_label
