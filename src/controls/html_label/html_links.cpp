// Links of the HTML label without the window: which link a pointer is over,
// what a release on one does, the "vb:" call text and the host methods it
// reaches, and the delivery of a click when the click timer fires.
#include <algorithm>

#include "controls/html_label/html_label.h"
#include "controls/html_label/html_strings.h"

namespace html_label {

namespace {

constexpr size_t kMaxHostArguments = 8;

bool IsQuote(char c) {
    return c == '"' || c == '\'';
}

// A token that opens a quotation and has not closed it yet, read as it
// stands (blanks included).
bool IsOpenQuotation(std::string_view token) {
    if (token.empty() || !IsQuote(token.front())) return false;
    return token.size() == 1 ? false : token.back() != token.front();
}

// The trimmed token without the matching quotes round it. A lone quote
// both opens and closes: it is an empty argument.
std::string Unquoted(std::string_view token) {
    std::string_view t = detail::TrimBlanks(token);
    if (!t.empty() && IsQuote(t.front()) && t.back() == t.front()) {
        t = t.size() >= 2 ? t.substr(1, t.size() - 2) : std::string_view();
    }
    return std::string(t);
}

// Whether the viewport point (x, y) falls in the element's box shown at
// the scroll offsets (h, v); `edges` counts the box's edges in.
bool InBox(const HTMLElement& a, double x, double y, int32_t h, int32_t v, bool edges) {
    const double left = static_cast<double>(a.Left) - h;
    const double right = static_cast<double>(a.Right) - h;
    const double top = static_cast<double>(a.Top) - v;
    const double bottom = static_cast<double>(a.Bottom) - v;
    if (edges) return x >= left && x <= right && y >= top && y <= bottom;
    return x > left && x < right && y > top && y < bottom;
}

}  // namespace

int32_t HTMLLabel::LinkUnderPointer(float x, float y, int32_t h, int32_t v) const {
    if (!enable_anchors_) return -1;
    const double px = x;
    const double py = y;
    for (int32_t index : anchors_) {
        if (index < 0 || index >= ElementCount()) continue;
        const HTMLElement& a = elements_[static_cast<size_t>(index)];
        if (a.Href.empty()) continue;
        if (InBox(a, px, py, h, v, false)) return index;
    }
    return -1;
}

std::string_view HTMLLabel::LinkTooltip(int32_t element) const {
    if (element < 0 || element >= ElementCount()) return {};
    const HTMLElement& a = elements_[static_cast<size_t>(element)];
    return a.Title.empty() ? View(a.Href) : View(a.Title);
}

LinkRelease HTMLLabel::ReleaseLink(float x, float y, int32_t h, int32_t v) {
    if (!enable_anchors_) return {};
    const double px = x;
    const double py = y;
    const HTMLElement* hit = nullptr;
    for (int32_t index : anchors_) {
        if (index < 0 || index >= ElementCount()) continue;
        const HTMLElement& a = elements_[static_cast<size_t>(index)];
        if (InBox(a, px, py, h, v, true)) {
            hit = &a;
            break;
        }
    }
    if (hit == nullptr || hit->Href.empty()) return {};
    const std::string_view href = View(hit->Href);
    if (href.front() == '#' && enable_scroll_) {
        const std::string_view name = href.substr(1);
        LinkRelease jump;
        for (const HTMLElement& e : elements_) {
            if (!e.Name.empty() && View(e.Name) == name) {
                jump.kind = LinkRelease::Kind::kJump;
                jump.top = e.Top;
            }
        }
        return jump;
    }
    pending_href_.assign(href);
    return {LinkRelease::Kind::kPending, 0};
}

void HTMLLabel::DeliverPendingLink() {
    if (pending_href_.empty()) return;
    // The handler may destroy the component: nothing of it is touched
    // after the call.
    std::string href = std::move(pending_href_);
    pending_href_.clear();
    if (href.size() >= 3 && detail::UpperAscii(href.substr(0, 3)) == "VB:") {
        const CallText call = ParseCallText(std::string_view(href).substr(3));
        (void)InvokeHostMethod(call.name, call.args);
        return;
    }
    if (on_hyperlink_click) on_hyperlink_click(href);
}

CallText HTMLLabel::ParseCallText(std::string_view text) {
    CallText out;
    std::string token;
    auto add = [&](std::string argument) {
        if (!out.args) out.args.emplace();
        out.args->push_back(std::move(argument));
    };
    for (const char c : text) {
        if (out.name.empty()) {
            if (c == '(' || c == ' ') {
                out.name.assign(detail::TrimBlanks(token));
                token.clear();
                continue;
            }
        } else if ((c == ')' || c == ',') && !IsOpenQuotation(token)) {
            std::string argument = Unquoted(token);
            if (!argument.empty()) add(std::move(argument));
            token.clear();
            continue;
        }
        token.push_back(c);
    }
    if (!detail::TrimBlanks(token).empty()) {
        if (out.name.empty()) {
            out.name.assign(detail::TrimBlanks(token));
        } else {
            add(Unquoted(token));
        }
    }
    return out;
}

bool HTMLLabel::InvokeHostMethod(std::string_view name,
                                 const std::optional<std::vector<std::string>>& args) {
    const auto found = host_methods_.find(detail::UpperAscii(name));
    if (found == host_methods_.end() || !found->second.call) return false;
    static const std::vector<std::string> kNone;
    const std::vector<std::string>& passed =
        args && !args->empty() && args->size() <= kMaxHostArguments ? *args : kNone;
    const auto count = static_cast<int32_t>(passed.size());
    if (count < found->second.min_args || count > found->second.max_args) return false;
    // A copy: the method may register or replace methods while it runs.
    const HostMethod method = found->second;
    return method.call(passed).ok();
}

void HTMLLabel::RegisterHostMethod(std::string_view name, HostMethod method) {
    host_methods_[detail::UpperAscii(name)] = std::move(method);
}

}  // namespace html_label
