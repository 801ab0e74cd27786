// SPDX-License-Identifier: GPL-3.0-or-later
// The element table's own operations: the text records refer to, insertion,
// the hierarchy builder, the hierarchy queries, the document title and the
// anchor list.
#include <algorithm>
#include <utility>

#include "controls/html_label/html_label.h"
#include "controls/html_label/html_strings.h"

namespace html_label {

// A record is plain bytes and stays small: a table of hundreds of thousands
// of elements must not cost hundreds of bytes each.
static_assert(sizeof(HTMLElement) <= 160);

namespace {

// The spellings of the closers the fix-ups insert, kept after the document.
constexpr std::string_view kClosers = "</P></TR></TD>";

// TextRefs hold 32-bit positions: a longer normalised document is cut here,
// and the default font name after it too, so both fit.
constexpr size_t kMaxTextBytes = 0x7FFFFFFF;

}  // namespace

void HTMLLabel::SetDocumentText(std::string text) {
    if (text.size() > kMaxTextBytes) text.resize(kMaxTextBytes);
    document_size_ = static_cast<uint32_t>(text.size());
    const std::string_view font = std::string_view(default_font_name_).substr(0, kMaxTextBytes);
    text.reserve(text.size() + kClosers.size() + font.size());
    text += kClosers;
    default_font_text_ = {static_cast<uint32_t>(text.size()), static_cast<uint32_t>(font.size())};
    text += font;
    text_ = std::move(text);
}

TextRef HTMLLabel::ClosingTagText(TagID closer) const {
    std::string_view spelling;
    switch (closer) {
        case tagPEnd:
            spelling = "</P>";
            break;
        case tagTREnd:
            spelling = "</TR>";
            break;
        case tagTDEnd:
            spelling = "</TD>";
            break;
        default:
            return {};
    }
    const auto at = static_cast<uint32_t>(kClosers.find(spelling));
    return {document_size_ + at, static_cast<uint32_t>(spelling.size())};
}

std::string_view HTMLLabel::View(TextRef ref) const {
    if (ref.begin > text_.size() || ref.size > text_.size() - ref.begin) return {};
    return std::string_view(text_).substr(ref.begin, ref.size);
}

bool HTMLLabel::IsNoBreakSpace(std::string_view text, size_t at) const {
    if (spelt_nbsp_.empty()) return true;
    const auto offset = static_cast<uint32_t>(text.data() + at - text_.data());
    return !std::binary_search(spelt_nbsp_.begin(), spelt_nbsp_.end(), offset);
}

std::vector<std::string_view> HTMLLabel::Words(const HTMLElement& element) const {
    if (element.IsTag) return {};
    return detail::SplitBlanks(View(element.Text));
}

std::span<const int32_t> HTMLLabel::Children(const HTMLElement& element) const {
    const size_t n = static_cast<size_t>(element.ChildCount > 0 ? element.ChildCount : 0) +
                     (element.EndedByCloser ? 1 : 0);
    if (element.ChildrenAt > children_.size() || n > children_.size() - element.ChildrenAt) {
        return {};
    }
    return std::span<const int32_t>(children_).subspan(element.ChildrenAt, n);
}

void HTMLLabel::InsertElementAt(int32_t position) {
    if (position < 0 || position >= ElementCount()) return;
    const auto at = static_cast<size_t>(position);
    if (body_index_ >= position && body_index_ < ElementCount() &&
        elements_[static_cast<size_t>(body_index_)].TagID == tagBody) {
        ++body_index_;
    }
    // The slot keeps a copy of the record that stood there, for the caller
    // to overwrite; the original and everything after it move up by one.
    HTMLElement copy = elements_[at];
    elements_.insert(elements_.begin() + position, std::move(copy));
    for (size_t k = at; k < elements_.size(); ++k) elements_[k].Index = static_cast<int32_t>(k);
}

void HTMLLabel::mBuildHierarchy() {
    const int32_t count = ElementCount();
    if (count < 1) return;
    // A rebuild gives what a fresh load gives: every element starts from
    // these zero values as the walk reaches it, and elements it never
    // reaches (after a closer at top level) keep them.
    auto reset = [](HTMLElement& e) {
        e.Parent = 0;
        e.SiblingIndex = 0;
        e.ChildCount = 0;
        e.ChildrenAt = 0;
        e.EndedByCloser = false;
    };
    reset(elements_[0]);

    // Each level of nesting is a frame: the element whose children are being
    // collected and how many it has so far. An explicit stack rather than
    // recursion, so a document of thousands of unclosed tags cannot exhaust
    // the call stack.
    struct Frame {
        int32_t parent;
        int32_t n;
    };
    std::vector<Frame> stack{{0, 0}};
    int32_t pos = 0;
    int32_t last = 0;  // the last element the walk reaches

    // Ends the innermost level: its count becomes the element's ChildCount,
    // and the element it belonged to counts it as one child.
    auto finish = [&] {
        const Frame done = stack.back();
        stack.pop_back();
        elements_[static_cast<size_t>(done.parent)].ChildCount = done.n;
        if (!stack.empty()) ++stack.back().n;
    };

    while (!stack.empty()) {
        if (pos >= count) {
            finish();
            continue;
        }
        ++pos;
        if (pos == count) {
            finish();
            continue;
        }
        last = pos;
        Frame& f = stack.back();
        HTMLElement& e = elements_[static_cast<size_t>(pos)];
        reset(e);
        e.Parent = f.parent;
        e.SiblingIndex = f.n;
        const TagRole role = e.IsTag ? RoleOf(e.TagID) : TagRole::kLeaf;
        if (role == TagRole::kCloser) {
            // Any closer ends whatever is open; it is not counted, so its
            // index stays behind as the extra last entry of the child list.
            elements_[static_cast<size_t>(f.parent)].EndedByCloser = true;
            finish();
            continue;
        }
        if (role == TagRole::kContainer) {
            stack.push_back({pos, 0});
            continue;
        }
        ++f.n;
    }

    for (int32_t k = last + 1; k < count; ++k) reset(elements_[static_cast<size_t>(k)]);

    // The child lists, one after another in element order. Every element
    // the walk reached has exactly one place, in its parent's list, and a
    // parent stands before its children, so one pass lays the lists out
    // and fills them.
    children_.assign(static_cast<size_t>(last), 0);
    size_t at = 0;
    for (int32_t k = 0; k < count; ++k) {
        HTMLElement& e = elements_[static_cast<size_t>(k)];
        e.ChildrenAt = static_cast<uint32_t>(at);
        at += static_cast<size_t>(e.ChildCount) + (e.EndedByCloser ? 1 : 0);
        if (k >= 1 && k <= last) {
            const HTMLElement& parent = elements_[static_cast<size_t>(e.Parent)];
            children_[parent.ChildrenAt + static_cast<size_t>(e.SiblingIndex)] = k;
        }
    }
}

bool HTMLLabel::GetParentElement(const HTMLElement& element, HTMLElement& copy) const {
    if (element.Parent <= 0 || element.Parent >= ElementCount()) return false;
    copy = elements_[static_cast<size_t>(element.Parent)];
    return true;
}

bool HTMLLabel::FindAncestorByTag(const HTMLElement& element, HTMLElement& copy, TagID tag) const {
    HTMLElement current = element;
    // Parents always stand before their children, so the walk ends; the
    // bound guards a table edited into a cycle.
    for (int32_t steps = 0; steps <= ElementCount(); ++steps) {
        HTMLElement parent;
        if (!GetParentElement(current, parent)) return false;
        if (parent.TagID == tag) {
            copy = std::move(parent);
            return true;
        }
        current = std::move(parent);
    }
    return false;
}

bool HTMLLabel::GetFirstChild(const HTMLElement& element, HTMLElement& copy) const {
    const std::span<const int32_t> children = Children(element);
    if (element.ChildCount <= 0 || children.empty()) return false;
    const int32_t child = children[0];
    if (child < 0 || child >= ElementCount()) return false;
    copy = elements_[static_cast<size_t>(child)];
    return true;
}

bool HTMLLabel::GetNextSibling(const HTMLElement& element, HTMLElement& copy) const {
    HTMLElement parent;
    if (!GetParentElement(element, parent)) return false;
    const std::span<const int32_t> siblings = Children(parent);
    const int64_t next = static_cast<int64_t>(element.SiblingIndex) + 1;
    if (next >= parent.ChildCount || next >= static_cast<int64_t>(siblings.size())) return false;
    const int32_t sibling = siblings[static_cast<size_t>(next)];
    if (sibling < 0 || sibling >= ElementCount()) return false;
    copy = elements_[static_cast<size_t>(sibling)];
    return true;
}

std::string HTMLLabel::DocumentTitle() const {
    // The record after TITLE is the title whatever it is, so an empty
    // TITLE element reads as "</TITLE>".
    for (int32_t k = 0; k + 1 < ElementCount(); ++k) {
        if (elements_[static_cast<size_t>(k)].TagID == tagTitle) {
            return std::string(View(elements_[static_cast<size_t>(k) + 1].Text));
        }
    }
    return "Unknown";
}

void HTMLLabel::BuildAnchorList() {
    anchors_.clear();
    if (!enable_anchors_) return;
    for (const HTMLElement& e : elements_) {
        if (e.TagID == tagA) anchors_.push_back(e.Index);
    }
}

}  // namespace html_label
