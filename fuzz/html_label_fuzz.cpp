// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: loads arbitrary bytes as an HTML label document, checks
// that the element table it builds is consistent, then lays it out in both
// passes on a small surface (tables included: every frame the drawing pass
// records must be a finite rectangle), copies the viewport from the
// picture, and points at, releases on and delivers its links, "vb:" calls
// included.
//
// The first byte picks component settings (anchors on or off, a default font
// size, scrolling, padding and spacing), so the settings-dependent paths are
// reached too; the rest is the
// document. Any crash, hang, sanitizer report or broken invariant is a
// finding.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "controls/html_label/html_label.h"
#include "controls/html_label/html_picture.h"
#include "platform/dc.h"
#include "platform/picture.h"

namespace {

using html_label::HTMLElement;
using html_label::HTMLLabel;

void Check(bool ok) {
    if (!ok) std::abort();
}

void CheckTable(const HTMLLabel& label) {
    const int32_t count = label.ElementCount();
    Check(count >= 1);
    for (int32_t k = 0; k < count; ++k) {
        const HTMLElement& e = label.Elements()[static_cast<size_t>(k)];
        Check(e.Index == k);
        Check(e.Parent >= 0 && e.Parent < count);
        const auto children = label.Children(e);
        Check(e.ChildCount >= 0 && static_cast<size_t>(e.ChildCount) <= children.size());
        Check(children.size() <= static_cast<size_t>(e.ChildCount) + 1);
        for (int32_t child : children) {
            Check(child > k && child < count);
            Check(label.Elements()[static_cast<size_t>(child)].Parent == k);
        }
        Check(static_cast<int32_t>(e.TagID) < html_label::kTagIDCount);
        Check(e.IsTag == (e.TagID != html_label::tagText));
        // Every text field lies inside the label's text.
        for (html_label::TextRef ref :
             {e.Text, e.Name, e.FontFace, e.Href, e.Title, e.Src, e.Alt}) {
            Check(label.View(ref).size() == ref.size);
        }
        Check(!label.View(e.Text).empty());

        HTMLElement copy;
        (void)label.GetParentElement(e, copy);
        (void)label.GetFirstChild(e, copy);
        (void)label.GetNextSibling(e, copy);
        (void)label.FindAncestorByTag(e, copy, html_label::tagTable);
    }
    Check(label.BodyIndex() >= 0 && label.BodyIndex() < count);
    for (int32_t a : label.Anchors()) {
        Check(a >= 0 && a < count);
        Check(label.Elements()[static_cast<size_t>(a)].TagID == html_label::tagA);
    }
    (void)label.DocumentTitle();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const uint8_t settings = data[0];
    const std::string_view html(reinterpret_cast<const char*>(data + 1), size - 1);

    HTMLLabel label;
    label.SetEnableAnchors((settings & 1) != 0);
    if ((settings & 2) != 0) (void)label.SetDefaultFontSize(static_cast<float>(settings >> 2));
    Check(label.LoadDocument(html).ok());
    CheckTable(label);

    // Reloading the normalised text, as a font change does, must hold up too.
    if ((settings & 4) != 0) {
        Check(label.SetDefaultFontName("Tahoma").ok());
        CheckTable(label);
    }

    // The whole pipeline on a small surface: both passes, then the viewport
    // copied at the top, in the middle and at the end of the picture.
    label.SetEnableScroll((settings & 8) != 0);
    label.SetDefaultPadding(static_cast<int16_t>((settings >> 4) & 3) * 4);
    label.SetDefaultSpacing(static_cast<int16_t>((settings >> 6) & 3) * 3);
    label.on_load_image = [](std::string& src, platform::PictureRef& picture) {
        // Pictures come from here, never from files the input names.
        const int32_t side = static_cast<int32_t>(src.size() % 7) + 1;
        picture = std::make_shared<platform::Picture>(platform::Surface(side, side + 1, 0x00FF00),
                                                      platform::PictureKind::kBitmap);
    };
    platform::Surface screen(64, 48);
    platform::DC viewport(screen);
    html_label::HTMLPicture picture;
    std::vector<html_label::TableBox> tables;
    picture.layout().RecordTableBoxes(&tables);
    picture.Render(label, viewport, 64, 48);
    picture.layout().RecordTableBoxes(nullptr);
    for (const html_label::TableBox& b : tables) {
        Check(b.element > 0 && b.element < label.ElementCount());
        Check(b.left <= int64_t{b.right} + 1 && b.top <= int64_t{b.bottom} + 1);
    }
    Check(picture.width() >= 64 && picture.height() >= 48);
    Check(picture.width() <= platform::kMaxSurfaceSide &&
          picture.height() <= platform::kMaxSurfaceSide);
    for (int32_t y : {0, picture.height() / 2, picture.height() - 48}) {
        (void)picture.Paint(viewport, 0, 0, 64, 48, 0, y);
    }
    CheckTable(label);

    // Links: every anchor's box under the pointer, released on and
    // delivered, at two scroll positions; host calls reach one method.
    int host_calls = 0;
    label.RegisterHostMethod("M", {0, 8, [&](const std::vector<std::string>& args) {
                                       Check(args.size() <= 8);
                                       ++host_calls;
                                       return platform::Status{};
                                   }});
    label.on_hyperlink_click = [](std::string& href) { Check(!href.empty()); };
    for (int32_t a : label.Anchors()) {
        const HTMLElement& e = label.Elements()[static_cast<size_t>(a)];
        for (int32_t v : {0, 7}) {
            const float x = static_cast<float>(e.Left) + 1;
            const float y = static_cast<float>(e.Top - v) + 1;
            const int32_t over = label.LinkUnderPointer(x, y, 0, v);
            Check(over == -1 || (over >= 0 && over < label.ElementCount()));
            (void)label.LinkTooltip(over);
            (void)label.ReleaseLink(x, y, 0, v);
            label.DeliverPendingLink();
            Check(label.PendingHref().empty());
        }
    }
    const html_label::CallText call = HTMLLabel::ParseCallText(html);
    (void)label.InvokeHostMethod(call.name, call.args);

    (void)HTMLLabel::ParseColor(html);
    (void)HTMLLabel::mstrTagID(html);
    return 0;
}
