// The element table's own operations: insertion, the hierarchy builder, the
// hierarchy queries, the document title and the anchor list.
#include <utility>

#include "controls/html_label/html_label.h"

namespace html_label {

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
    // A rebuild gives what a fresh load gives: elements the walk never
    // reaches (after a closer at top level) keep these zero values.
    for (HTMLElement& e : elements_) {
        e.Parent = 0;
        e.SiblingIndex = 0;
        e.ChildCount = 0;
        e.Children.clear();
    }

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
        Frame& f = stack.back();
        HTMLElement& parent = elements_[static_cast<size_t>(f.parent)];
        parent.Children.resize(static_cast<size_t>(f.n));
        parent.Children.push_back(pos);
        HTMLElement& e = elements_[static_cast<size_t>(pos)];
        e.Parent = parent.Index;
        e.SiblingIndex = f.n;
        const TagRole role = e.IsTag ? RoleOf(e.TagID) : TagRole::kLeaf;
        if (role == TagRole::kCloser) {
            // Any closer ends whatever is open; it is not counted, so its
            // index stays behind as the extra last entry of Children.
            finish();
            continue;
        }
        if (role == TagRole::kContainer) {
            stack.push_back({pos, 0});
            continue;
        }
        ++f.n;
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
    if (element.ChildCount <= 0 || element.Children.empty()) return false;
    const int32_t child = element.Children[0];
    if (child < 0 || child >= ElementCount()) return false;
    copy = elements_[static_cast<size_t>(child)];
    return true;
}

bool HTMLLabel::GetNextSibling(const HTMLElement& element, HTMLElement& copy) const {
    HTMLElement parent;
    if (!GetParentElement(element, parent)) return false;
    const int64_t next = static_cast<int64_t>(element.SiblingIndex) + 1;
    if (next >= parent.ChildCount || next >= static_cast<int64_t>(parent.Children.size())) {
        return false;
    }
    const int32_t sibling = parent.Children[static_cast<size_t>(next)];
    if (sibling < 0 || sibling >= ElementCount()) return false;
    copy = elements_[static_cast<size_t>(sibling)];
    return true;
}

std::string HTMLLabel::DocumentTitle() const {
    // The record after TITLE is the title whatever it is, so an empty
    // TITLE element reads as "</TITLE>".
    for (int32_t k = 0; k + 1 < ElementCount(); ++k) {
        if (elements_[static_cast<size_t>(k)].TagID == tagTitle) {
            return elements_[static_cast<size_t>(k) + 1].Text;
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

void HTMLLabel::SetElementsForTesting(std::vector<HTMLElement> elements) {
    elements_ = std::move(elements);
    for (size_t k = 0; k < elements_.size(); ++k) elements_[k].Index = static_cast<int32_t>(k);
}

}  // namespace html_label
