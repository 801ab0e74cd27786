// SPDX-License-Identifier: GPL-3.0-or-later
// HTMLLabel: a component that shows a document written in a small subset of
// HTML.
//
// This header is the component's public face (properties, persisted keys,
// methods) and its document model: assigning DocumentHTML normalises the
// text, cuts it into tokens, classifies each token with its attributes,
// inserts the closing tags authors leave out, and records the nesting as
// parent, child and sibling indices in a flat element table.
//
// The model does not depend on the window system. Everything visual
// (pointer shape, surface font and background, frame style, layout and
// repaint) goes through an HTMLLabelView that the windowed part of the
// component supplies; without one those steps do nothing, which is what
// tests and command-line tools want.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "controls/html_label/html_element.h"
#include "platform/color.h"
#include "platform/error.h"
#include "platform/picture.h"
#include "platform/property_bag.h"

namespace html_label {

// The button-face system colour, the component's starting background.
constexpr platform::Color kButtonFaceColor = 0x8000000Fu;
constexpr platform::Color kDefaultLinkColor = 0xFF0000u;  // blue, as 0x00BBGGRR

// What the document model asks of the visible component. Every hook has a
// harmless default so the model runs headless.
class HTMLLabelView {
  public:
    virtual ~HTMLLabelView() = default;

    // The hourglass over the viewport while a document loads; both calls also
    // let pending window messages run.
    virtual void BeginBusy() {}
    virtual void EndBusy() {}
    // Whether the window hosting the component is visible: a new document is
    // laid out and painted only then.
    virtual bool IsHostVisible() const { return false; }
    // Lays the document out again and repaints. A failure is handed back to
    // whoever assigned the document.
    virtual platform::Status Refresh() { return {}; }
    // The drawing surface's font and text colour back to the document
    // defaults, at the start of every load.
    virtual void ResetFont(const std::string& /*face*/, float /*size*/,
                           platform::Color /*text_color*/) {}
    // The corner filler between the scroll bars and the component's own
    // background follow BackColor.
    virtual void ApplyBackColor(platform::Color /*color*/) {}
    virtual void SetSurfaceBackColor(platform::Color /*color*/) {}
    virtual void RepaintViewport() {}
    // Frame style of the component: flat (0) or 3-D (1); border none (0) or
    // single (1).
    virtual void ApplyFrame(int16_t /*appearance*/, int16_t /*border_style*/) {}
};

class HTMLLayout;

// A public method of the host window that "vb:" links call by name. The
// host registers it on the component; a call with a number of arguments
// outside [min_args, max_args] is refused without calling it, as a
// late-bound call with the wrong count would be.
struct HostMethod {
    int32_t min_args = 0;
    int32_t max_args = 0;
    std::function<platform::Status(const std::vector<std::string>& args)> call;
};

// The call a "vb:" link names: the method and, when the text has any, its
// arguments (absent and empty differ only in what ParseCallText saw).
struct CallText {
    std::string name;
    std::optional<std::vector<std::string>> args;
};

// What a pointer release over the viewport asks of the windowed component.
struct LinkRelease {
    enum class Kind { kNothing, kJump, kPending };
    Kind kind = Kind::kNothing;
    int32_t top = 0;  // kJump: the document y the vertical bar moves to
};

class HTMLLabel {
  public:
    HTMLLabel();
    explicit HTMLLabel(platform::ComponentHost* host, HTMLLabelView* view = nullptr);

    void SetHost(platform::ComponentHost* host) { host_ = host; }
    void SetView(HTMLLabelView* view) { view_ = view; }

    // --- Properties --------------------------------------------------------
    static std::string_view Version() { return "0.3.0"; }

    const std::string& DefaultFontName() const { return default_font_name_; }
    platform::Status SetDefaultFontName(std::string name);
    float DefaultFontSize() const { return default_font_size_; }
    platform::Status SetDefaultFontSize(float points);
    platform::Color BackColor() const { return back_color_; }
    platform::Status SetBackColor(platform::Color color);
    int16_t Appearance() const { return appearance_; }
    void SetAppearance(int16_t value);
    int16_t BorderStyle() const { return border_style_; }
    void SetBorderStyle(int16_t value);
    bool EnableTooltips() const { return enable_tooltips_; }
    void SetEnableTooltips(bool value);
    // Reading gives the normalised text, not the string that was assigned;
    // the view lasts until the next load.
    std::string_view DocumentHTML() const { return DocumentHTMLText(); }
    platform::Status SetDocumentHTML(std::string_view html) { return LoadDocument(html); }
    bool EnableScroll() const { return enable_scroll_; }
    void SetEnableScroll(bool value);
    // Links are collected at load time only while this is on, so switching it
    // on leaves the current document's links inert until the next load.
    bool EnableAnchors() const { return enable_anchors_; }
    void SetEnableAnchors(bool value);
    std::string DocumentTitle() const;
    bool UnderlineLinks() const { return underline_links_; }
    void SetUnderlineLinks(bool value);
    int16_t DefaultPadding() const { return default_padding_; }
    void SetDefaultPadding(int16_t value);
    int16_t DefaultSpacing() const { return default_spacing_; }
    void SetDefaultSpacing(int16_t value);

    // --- Persistence ---------------------------------------------------------
    // Applies the saved keys in their fixed order; a missing key gives its
    // default. A saved 16-bit value out of range leaves that property as it
    // was and the call reports an overflow once every other key is applied.
    platform::Status ReadProperties(const platform::PropertyBag& bag);
    void WriteProperties(platform::PropertyBag& bag) const;

    // --- Methods -------------------------------------------------------------
    // Lays the document out again and repaints; the argument has no effect.
    platform::Status Refresh(bool unused = false);
    // Replaces the whole document. Never rejects a text; only a failing
    // refresh is reported.
    platform::Status LoadDocument(std::string_view html);

    // --- Events ----------------------------------------------------------------
    // LoadImage: raised by the layout for every image and for the document's
    // background picture, with the source text and an empty picture that the
    // host may fill. A picture left empty is read from the file the source
    // names; when that fails too, the image is drawn as a framed box.
    std::function<void(std::string& src, platform::PictureRef& picture)> on_load_image;

    // HyperlinkClick: a click on a link that is neither a jump inside the
    // document nor a "vb:" call, with its target, which the handler may
    // change. The handler may destroy the component.
    std::function<void(std::string& href)> on_hyperlink_click;

    // --- Links -------------------------------------------------------------------
    // Pointer positions are viewport pixels; h and v are the scroll bars'
    // values, so that the document point (x + h, y + v) is the one meant.
    //
    // The link under the pointer: the first anchor with a target whose box
    // holds the point strictly inside; -1 for none or with EnableAnchors off.
    int32_t LinkUnderPointer(float x, float y, int32_t h, int32_t v) const;
    // The tooltip of a link: its TITLE, or its target without one.
    std::string_view LinkTooltip(int32_t element) const;
    // A release: the first anchor whose box holds the point, edges
    // included, decides. A "#name" target with EnableScroll on asks for a
    // jump to the last element so named (nothing when none is); any other
    // target waits in PendingHref for the click timer.
    LinkRelease ReleaseLink(float x, float y, int32_t h, int32_t v);
    // The click timer's tick: calls the host method a "vb:" target names
    // or raises HyperlinkClick, once; PendingHref is empty afterwards.
    void DeliverPendingLink();
    static CallText ParseCallText(std::string_view text);
    // Calls the registered method of that name (letter case ignored) with
    // the arguments, none when there are more than eight. A method that is
    // missing, refuses the count or fails changes nothing; false then.
    bool InvokeHostMethod(std::string_view name,
                          const std::optional<std::vector<std::string>>& args);
    void RegisterHostMethod(std::string_view name, HostMethod method);

    // --- Document model --------------------------------------------------------
    // Changes with every load, so that what a renderer keeps for one document
    // (pictures read from files) is dropped with it.
    uint32_t DocumentGeneration() const { return document_generation_; }
    const std::vector<HTMLElement>& Elements() const { return elements_; }
    int32_t ElementCount() const { return static_cast<int32_t>(elements_.size()); }
    std::string_view DocumentHTMLText() const {
        return std::string_view(text_).substr(0, document_size_);
    }
    // The characters of a record's text field; a range outside the label's
    // text (a record from another label) reads as empty.
    std::string_view View(TextRef ref) const;
    // Whether the kNoBreakSpace at `at` in `text` (a view into the label's
    // text) shows as a blank: every one does but the text "&nbsp;" that an
    // escaped ampersand spells ("&amp;nbsp;").
    bool IsNoBreakSpace(std::string_view text, size_t at) const;
    // A text run's words, split at every blank (empty ones included); a tag
    // has none.
    std::vector<std::string_view> Words(const HTMLElement& element) const;
    // The element's children in document order and, when a closer ended it,
    // the closer's index as one extra entry after ChildCount children.
    std::span<const int32_t> Children(const HTMLElement& element) const;
    const std::vector<std::string>& AttrNames() const { return attr_names_; }
    const std::vector<std::string>& AttrValues() const { return attr_values_; }
    const std::vector<int32_t>& Anchors() const { return anchors_; }
    int32_t AnchorCount() const { return static_cast<int32_t>(anchors_.size()); }
    const std::string& PendingHref() const { return pending_href_; }
    platform::Color TextColor() const { return text_color_; }
    platform::Color LinkColor() const { return link_color_; }
    const std::string& BackgroundImage() const { return background_image_; }
    // One line of the document's default font, measured by the last layout:
    // the scroll bars' small step.
    int32_t LineStep() const { return line_step_; }
    int32_t ContentWidth() const { return content_width_; }
    int32_t ContentHeight() const { return content_height_; }
    platform::Color DocBackColor() const { return doc_back_color_; }
    int32_t BodyIndex() const { return body_index_; }

    // Tokenizer and classifier. Tokenize reads DocumentHTMLText; it makes
    // room in the table for the closers InsertMissingCloseTags will add, so
    // that inserting them moves records within the table.
    void Tokenize();
    static bool IsTagToken(std::string_view text);
    static std::string mstrTagID(std::string_view tag);
    void ClassifyElement(HTMLElement& record);
    void ClassifyAll();
    void InsertMissingCloseTags();

    // Attributes and colours.
    int32_t mintExtractTagAttributes(std::string_view tag);
    void InterpretAttributes(HTMLElement& record);
    // Fails only for a hexadecimal value too short to hold a green pair.
    static platform::Result<platform::Color> ParseColor(std::string_view value);
    static std::string ColorFromName(std::string_view name);

    // Table operations and queries. Out-of-range indices are refused
    // (nothing happens, or false) rather than trusted.
    void InsertElementAt(int32_t position);
    void mBuildHierarchy();
    bool GetParentElement(const HTMLElement& element, HTMLElement& copy) const;
    bool FindAncestorByTag(const HTMLElement& element, HTMLElement& copy, TagID tag) const;
    bool GetFirstChild(const HTMLElement& element, HTMLElement& copy) const;
    bool GetNextSibling(const HTMLElement& element, HTMLElement& copy) const;
    void BuildAnchorList();

    // The two halves of normalisation, exposed so their rules can be checked
    // on their own: wrapping and line ends, then tabs and blank runs.
    static std::string WrapAndClean(std::string_view html);
    static std::string CollapseBlanks(std::string_view text);

  private:
    // The layout writes the element boxes and the content size.
    friend class HTMLLayout;

    void NotifyChanged(std::string_view key);
    platform::Status Reload();
    // Makes `text` the document and appends the spellings records borrow.
    void SetDocumentText(std::string text);
    // The text of a closer the fix-ups insert ("</P>", "</TR>" or "</TD>").
    TextRef ClosingTagText(TagID closer) const;

    platform::ComponentHost* host_ = nullptr;
    HTMLLabelView* view_ = nullptr;

    // Property values.
    std::string default_font_name_ = "Arial";
    float default_font_size_ = 10;
    platform::Color back_color_ = kButtonFaceColor;
    int16_t appearance_ = 1;
    int16_t border_style_ = 1;
    bool enable_tooltips_ = false;
    bool enable_scroll_ = false;
    bool enable_anchors_ = false;
    bool underline_links_ = true;
    int16_t default_padding_ = 4;
    int16_t default_spacing_ = 4;

    // Document state. The text is the normalised document (its first
    // document_size_ bytes) followed by the closing tags the fix-ups insert
    // and the default font name, so that every record's text is a TextRef.
    std::string text_;
    uint32_t document_size_ = 0;
    TextRef default_font_text_;
    std::vector<HTMLElement> elements_;
    // Where in the text "&amp;nbsp;" left the characters "&nbsp;", in order.
    std::vector<uint32_t> spelt_nbsp_;
    std::vector<int32_t> children_;  // every element's child list, one after another
    std::vector<std::string> attr_names_;
    std::vector<std::string> attr_values_;
    std::vector<uint32_t> attr_value_at_;  // where each value starts in the tag
    std::vector<int32_t> anchors_;
    std::string pending_href_;
    std::map<std::string, HostMethod, std::less<>> host_methods_;  // by upper-case name
    platform::Color text_color_ = 0;
    platform::Color link_color_ = kDefaultLinkColor;
    std::string background_image_;
    int32_t line_step_ = 1;
    int32_t content_width_ = 0;
    int32_t content_height_ = 0;
    platform::Color doc_back_color_ = kButtonFaceColor;
    int32_t body_index_ = 0;
    uint32_t document_generation_ = 0;
};

}  // namespace html_label
