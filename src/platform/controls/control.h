// SPDX-License-Identifier: GPL-3.0-or-later
// The base of the standard controls: a C++ object that owns one child
// window and turns its messages into the events forms handle (click, mouse,
// keys, focus), in the shape the program's windows were designed with.
//
// Each control class has one dispatch function, HandleMessage, which decodes
// the messages it cares about and passes everything else to the base
// version (which raises the common events) and from there to the default
// window procedure. The window's procedure is a shared trampoline, so a
// component that subclasses the window with SetWindowProc and calls the
// previous procedure gets the control's full behaviour.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/font.h"
#include "platform/json.h"
#include "platform/window.h"

namespace platform::controls {

// Mouse buttons and shift state as event arguments: 1 left, 2 right,
// 4 middle; shift 1, control 2, alt 4.
enum MouseButtonBits : int16_t { kLeftButton = 1, kRightButton = 2, kMiddleButton = 4 };
enum ShiftBits : int16_t { kShiftMask = 1, kCtrlMask = 2, kAltMask = 4 };

// MousePointer values.
enum MousePointer : int16_t {
    kPointerDefault = 0,
    kPointerArrow = 1,
    kPointerIBeam = 3,
    kPointerHourglass = 11,
    kPointerCustom = 99,
};

struct MouseEventArgs {
    int16_t button = 0;  // for moves: the buttons held
    int16_t shift = 0;
    float x = 0;  // client pixels
    float y = 0;
};

class Control {
  public:
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    HWND hwnd() const { return hwnd_; }
    const std::string& name() const { return name_; }
    // Position in the parent's client area, in pixels.
    Rect bounds() const;
    void Move(int32_t left, int32_t top, int32_t width, int32_t height);
    void Move(const Rect& r) { Move(r.left, r.top, r.width(), r.height()); }

    bool visible() const;
    void set_visible(bool v);
    bool enabled() const;
    void set_enabled(bool v);

    // The font object is shared: changing it through any holder changes the
    // control's text; call Refresh (or set_font again) to repaint.
    const FontRef& font() const { return font_; }
    void set_font(FontRef f);
    Color fore_color() const { return fore_color_; }
    void set_fore_color(Color c);
    Color back_color() const { return back_color_; }
    void set_back_color(Color c);

    const std::string& tooltip_text() const { return tooltip_; }
    void set_tooltip_text(std::string t) { tooltip_ = std::move(t); }
    int16_t mouse_pointer() const { return mouse_pointer_; }
    void set_mouse_pointer(int16_t p);
    void set_mouse_icon(PictureRef icon);

    void SetFocus();
    bool has_focus() const { return GetFocus() == hwnd_; }
    // 0 brings the control to the front of its siblings, 1 sends it back.
    void ZOrder(int position = 0);
    // Repaints now.
    void Refresh();

    // Adds the control's own observable state to a harness report.
    virtual void ReportState(Json& out) const;

    // --- events ----------------------------------------------------------------
    std::function<void()> on_click;
    std::function<void()> on_dbl_click;
    std::function<void(MouseEventArgs&)> on_mouse_down;
    std::function<void(MouseEventArgs&)> on_mouse_move;
    std::function<void(MouseEventArgs&)> on_mouse_up;
    // Handlers may change the key code (0 swallows the key).
    std::function<void(int16_t& key_code, int16_t shift)> on_key_down;
    std::function<void(int16_t& key_code, int16_t shift)> on_key_up;
    std::function<void(int16_t& key_ascii)> on_key_press;
    std::function<void()> on_got_focus;
    std::function<void()> on_lost_focus;

    // The control behind a window made by this framework, or null.
    static Control* FromWindow(HWND h);
    // Registers the trampoline class once; control classes call this with
    // their own class name before creating their window.
    static void EnsureClass(const std::string& class_name, uint32_t class_style = CS_DBLCLKS,
                            Color background = kNoBackground);

  protected:
    Control() = default;
    // Creates the window. `parent` is the form's or container's window.
    bool Create(HWND parent, const std::string& class_name, const std::string& name, const Rect& r,
                uint32_t style = 0, uint32_t ex_style = 0, const std::string& text = {});

    // The one dispatch function. The base raises the common events (mouse,
    // click on button release inside, keys, focus) and answers
    // WM_REPORTSTATE; unknown messages go to DefWindowProc.
    virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

    // Whether a left press-and-release raises on_click (labels and pictures
    // do; buttons and combo boxes raise it themselves).
    virtual bool ClickOnRelease() const { return true; }

    static int16_t ShiftState();
    Color EffectiveBackColor() const { return TranslateColor(back_color_); }
    Color EffectiveForeColor() const { return TranslateColor(fore_color_); }

    HWND hwnd_;
    std::string name_;
    FontRef font_ = MakeFont();
    Color fore_color_ = SystemColor(COLOR_BTNTEXT);
    Color back_color_ = SystemColor(COLOR_BTNFACE);
    std::string tooltip_;
    int16_t mouse_pointer_ = kPointerDefault;
    PictureRef mouse_icon_;

  private:
    static LRESULT Trampoline(HWND h, UINT msg, WPARAM wp, LPARAM lp);
    bool pressed_inside_ = false;
};

}  // namespace platform::controls
