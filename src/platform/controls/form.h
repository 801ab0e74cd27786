// SPDX-License-Identifier: GPL-3.0-or-later
// Forms: the program's top-level windows, with the load / query-unload /
// unload life cycle, modal and modeless showing, window state, a
// background colour or picture, persistent drawing, and the controls placed
// on them (which the form owns).
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/controls/control.h"
#include "platform/picture.h"

namespace platform::controls {

enum class BorderStyle { kNone = 0, kFixedSingle = 1, kFixedDialog = 3, kFixedToolWindow = 4 };
enum class StartUpPosition { kManual = 0, kCenterOwner = 1, kCenterScreen = 2 };
enum class WindowState { kNormal = 0, kMinimized = 1 };

// Why a form is being unloaded (the query-unload event's mode argument).
enum UnloadMode : int16_t {
    kFormControlMenu = 0,  // the user closed it (close box, Alt+F4)
    kFormCode = 1,         // the program unloaded it
    kAppWindows = 2,
    kAppTaskManager = 3,
    kFormMdiForm = 4,
    kFormOwner = 5,
};

struct FormOptions {
    std::string name;  // "frmMain"
    std::string caption;
    BorderStyle border = BorderStyle::kFixedSingle;
    StartUpPosition position = StartUpPosition::kCenterScreen;
    int32_t client_width = 320;  // pixels
    int32_t client_height = 240;
    int32_t left = 0;  // for kManual, screen pixels
    int32_t top = 0;
    bool min_button = true;
    Color back_color = SystemColor(COLOR_BTNFACE);
};

class Form {
  public:
    explicit Form(FormOptions options);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    HWND hwnd() const { return hwnd_; }
    const std::string& name() const { return options_.name; }
    bool loaded() const { return IsWindow(hwnd_); }

    // Creates the window (hidden) and raises on_load, once.
    void Load();
    // Loads if needed, then shows. A modal show returns when the form is
    // hidden or unloaded.
    void Show(bool modal = false);
    void Hide();
    // Raises on_query_unload (which can cancel), then on_unload (which can
    // cancel too), then destroys the window. Returns false when cancelled.
    bool Unload(int16_t mode = kFormCode);

    WindowState window_state() const;
    void set_window_state(WindowState s);
    std::string caption() const;
    void set_caption(const std::string& c);
    Color back_color() const { return back_color_; }
    void set_back_color(Color c);
    // A picture drawn at the top-left of the client area under the controls.
    void set_picture(PictureRef p);
    const PictureRef& picture() const { return picture_; }
    // Persistent drawing (the form keeps what is drawn on it).
    void set_auto_redraw(bool on);
    std::unique_ptr<DC> drawing_dc();
    // Client-area size in pixels.
    Size client_size() const;
    void set_client_size(int32_t width, int32_t height);

    // The controls on the form, created by the form (usually in on_load).
    template <class T, class... Args>
    T& Add(Args&&... args) {
        auto c = std::make_unique<T>(hwnd_, std::forward<Args>(args)...);
        T& ref = *c;
        controls_.push_back(std::move(c));
        return ref;
    }
    // A control placed in a container (a picture box, a panel) of this
    // form; the form owns it like the others.
    template <class T, class... Args>
    T& AddTo(HWND container, Args&&... args) {
        auto c = std::make_unique<T>(container, std::forward<Args>(args)...);
        T& ref = *c;
        controls_.push_back(std::move(c));
        return ref;
    }
    Control* FindControl(const std::string& name) const;
    const std::vector<std::unique_ptr<Control>>& controls() const { return controls_; }

    // --- events ----------------------------------------------------------------
    std::function<void()> on_load;
    // Setting cancel to nonzero keeps the form.
    std::function<void(int16_t& cancel, int16_t unload_mode)> on_query_unload;
    std::function<void(int16_t& cancel)> on_unload;
    std::function<void()> on_activate;
    std::function<void()> on_resize;
    std::function<void(DC&)> on_paint;
    std::function<void(MouseEventArgs&)> on_mouse_down;
    std::function<void(MouseEventArgs&)> on_mouse_move;
    std::function<void(MouseEventArgs&)> on_mouse_up;
    std::function<void()> on_click;
    std::function<void(int16_t& key_code, int16_t shift)> on_key_down;

    // Adds the form's own observable state to a harness report.
    virtual void ReportState(Json& out) const;

    static Form* FromWindow(HWND h);

  protected:
    virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

  private:
    static LRESULT Trampoline(HWND h, UINT msg, WPARAM wp, LPARAM lp);
    void DestroyControls();

    FormOptions options_;
    HWND hwnd_;
    Color back_color_;
    PictureRef picture_;
    std::vector<std::unique_ptr<Control>> controls_;
    bool unloading_ = false;
};

}  // namespace platform::controls
