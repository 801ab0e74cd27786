// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing pieces shared by the scroll bar and the combo box: the classic
// raised and pressed button edges, the sunken field edge, the solid arrow
// glyph and the dithered track.
#pragma once

#include "platform/color.h"
#include "platform/dc.h"
#include "platform/geometry.h"

namespace platform::controls::classic {

enum class ArrowDirection { kUp, kDown, kLeft, kRight };

// A button face with the two-pixel raised edge.
void RaisedEdge(DC& dc, const Rect& r);
// A pressed button: flat face inside a one-pixel shadow frame.
void FlatPressed(DC& dc, const Rect& r);
// The two-pixel sunken edge of edit fields; returns the rectangle inside it.
Rect SunkenEdge(DC& dc, const Rect& r);
// A solid triangle centred in r.
void Arrow(DC& dc, const Rect& r, ArrowDirection direction, Color color);
// Alternating pixels of two colours (the scroll bar track).
void Dither(DC& dc, const Rect& r, Color a, Color b);

}  // namespace platform::controls::classic
