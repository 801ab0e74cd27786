// HTMLLabelControl: the HTML label as a child window of its host.
//
// The component window holds the visible parts: the viewport (picViewPort),
// which only ever shows a copy of part of the off-screen picture (picHTML)
// at the scroll position, the vertical and horizontal scroll bars
// (vscScroll, hscScroll) and, in the square between them, the corner, where
// the component's own background shows in BackColor. The document model
// (HTMLLabel) calls back through HTMLLabelView; Refresh lays the document
// out in two passes into the picture, sets the scroll ranges and repaints.
//
// The viewport answers the user: over a link the pointer is the hand and
// the tooltip the link's title; a release on a link jumps to a named place
// or, through the one-shot click timer (tmrHyperlinkClick, 100 ms), calls
// a host method or raises HyperlinkClick; arrows, Page Up and Down and
// Ctrl+Home and End move the vertical bar.
//
// Positions are program pixels of the component's client area; the
// component's frame (Appearance, BorderStyle) lies outside it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "controls/html_label/html_label.h"
#include "controls/html_label/html_picture.h"
#include "platform/controls/control.h"
#include "platform/controls/scroll_bar.h"
#include "platform/controls/timer.h"
#include "platform/property_bag.h"

namespace html_label {

inline constexpr const char* kHTMLLabelClass = "HTMLLabel";

// The controls' component is shown only when it is taller than this.
constexpr int32_t kMinResizeHeight = 24;  // 360 twips

class HTMLLabelControl : public platform::controls::Control, public HTMLLabelView {
  public:
    // The host answers the ambient user mode (design mode draws nothing) and
    // must outlive the component.
    HTMLLabelControl(platform::HWND parent, platform::ComponentHost& host, const std::string& name,
                     const platform::Rect& bounds);
    ~HTMLLabelControl() override;

    HTMLLabel& label() { return label_; }
    const HTMLLabel& label() const { return label_; }

    // --- HTMLLabelView ------------------------------------------------------------
    void BeginBusy() override;
    void EndBusy() override;
    bool IsHostVisible() const override;
    platform::Status Refresh() override;
    void ResetFont(const std::string& face, float size, platform::Color text_color) override;
    void ApplyBackColor(platform::Color color) override;
    void SetSurfaceBackColor(platform::Color color) override;
    void RepaintViewport() override;
    void ApplyFrame(int16_t appearance, int16_t border_style) override;

    // Arranges the parts for the component's size: the viewport and, with
    // EnableScroll, the bars and the corner. Resets both scroll values and
    // the picture to the viewport's size (keeping what fits); does not lay
    // the document out again. Nothing happens while the component is too
    // low or its top-level window is minimised.
    void Resize();

    // --- parts, for hosts and tests --------------------------------------------------
    platform::controls::Control& viewport();
    platform::controls::ScrollBar& vertical() { return *vertical_; }
    platform::controls::ScrollBar& horizontal() { return *horizontal_; }
    platform::controls::Timer& click_timer() { return *click_timer_; }
    const HTMLPicture& picture() const { return picture_; }
    // The corner square between the bars; empty while it is hidden.
    platform::Rect corner() const { return corner_; }
    bool UserMode() const;

    void ReportState(platform::Json& out) const override;

  protected:
    platform::LRESULT HandleMessage(platform::UINT msg, platform::WPARAM wp,
                                    platform::LPARAM lp) override;

  private:
    class ViewPort;
    friend class ViewPort;

    void PaintViewport(platform::DC& dc);
    void ScrollChanged();
    void SetRanges();
    void PointerMoved(float x, float y);
    void PointerReleased(float x, float y);
    void KeyDown(int16_t key, int16_t shift);
    void ClickTimerTick();

    platform::ComponentHost& host_;
    HTMLLabel label_;
    HTMLPicture picture_;
    std::unique_ptr<ViewPort> viewport_;
    std::unique_ptr<platform::controls::ScrollBar> vertical_;
    std::unique_ptr<platform::controls::ScrollBar> horizontal_;
    std::unique_ptr<platform::controls::Timer> click_timer_;
    platform::Rect corner_;
    int16_t pointer_before_busy_ = 0;
    int32_t busy_depth_ = 0;
};

}  // namespace html_label
