// SPDX-License-Identifier: GPL-3.0-or-later
// Picture boxes: a picture shown at the top-left, a back colour, and a
// drawing surface that components and the program print and draw on. With
// auto-redraw on, drawing goes to a persistent image that survives repaints;
// without it drawing lands on the screen and the next repaint clears it.
// Positions for printing (CurrentX/CurrentY) and the scale size are in the
// box's scale mode, pixels or twips.
#pragma once

#include <memory>
#include <string>

#include "platform/controls/control.h"
#include "platform/controls/label.h"
#include "platform/picture.h"

namespace platform::controls {

enum class ScaleMode { kTwips = 1, kPixels = 3 };

class PictureBox : public Control {
  public:
    PictureBox(HWND parent, std::string name, const Rect& r = Rect::FromXYWH(0, 0, 100, 100));

    // Clears the box to its back colour (and its picture) and puts
    // CurrentX/CurrentY back at 0.
    void Cls();
    // Draws the text at CurrentX/CurrentY in the box's font and fore colour
    // with a transparent background, then moves CurrentX past it.
    void Print(std::string_view text);
    // Prints, then moves to the start of the next line.
    void PrintLine(std::string_view text = {});
    // The width and height a text would take, in scale units.
    float TextWidth(std::string_view text) const;
    float TextHeight(std::string_view text = {}) const;

    // Loads a picture file; on failure the current picture stays.
    Status LoadPicture(const std::string& path);
    void set_picture(PictureRef p);
    const PictureRef& picture() const { return picture_; }
    // With auto-size on, the box takes the size of its picture.
    bool auto_size() const { return auto_size_; }
    void set_auto_size(bool on);

    bool auto_redraw() const { return HasPersistentDrawing(hwnd_); }
    void set_auto_redraw(bool on);
    ControlBorder border_style() const { return border_; }
    void set_border_style(ControlBorder b);

    ScaleMode scale_mode() const { return scale_mode_; }
    // Changing the mode keeps CurrentX/CurrentY at the same place.
    void set_scale_mode(ScaleMode m);
    float current_x() const { return current_x_; }
    float current_y() const { return current_y_; }
    void set_current_x(float v) { current_x_ = v; }
    void set_current_y(float v) { current_y_ = v; }
    // The client area in scale units.
    float scale_width() const;
    float scale_height() const;

    // A context for drawing on the box: the persistent image with
    // auto-redraw on, the screen otherwise. Pixel coordinates.
    std::unique_ptr<DC> drawing_dc();

    void ReportState(Json& out) const override;

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

  private:
    float ToPixels(float v) const;
    float FromPixels(float px) const;
    void FitToPicture();
    void PaintBackground(DC& dc) const;
    void KeepPersistentSize();

    PictureRef picture_;
    ScaleMode scale_mode_ = ScaleMode::kTwips;
    ControlBorder border_ = ControlBorder::kFixedSingle;
    bool auto_size_ = false;
    float current_x_ = 0;
    float current_y_ = 0;
};

}  // namespace platform::controls
