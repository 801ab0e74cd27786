// SPDX-License-Identifier: GPL-3.0-or-later
// The program's pictures at the device scale.
//
// Every picture of the data folder but the window's outline comes in two
// sets: drawn for scale 1, and drawn at twice the resolution in the sharp
// set's folder (kSharpArtworkFolder). The set follows the device scale the
// program draws at: the sharp one from 2 up, so a fractional scale (drawn
// at the next whole one and reduced) reduces it too. A picture the sharp
// set lacks comes from the other set and is enlarged as before.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/controls/picture_box.h"
#include "platform/error.h"
#include "platform/picture.h"

namespace app {

// The data file `name` of the set for `device_scale`, as a picture of the
// same program size in either set (a sharp one holds 2 x 2 device pixels
// per program pixel).
platform::Result<platform::PictureRef> LoadArtwork(std::string_view name, int32_t device_scale);

// LoadArtwork at the window system's device scale, into a picture box; when
// it fails the box keeps its picture.
platform::Status ShowArtwork(platform::controls::PictureBox& box, std::string_view name);

}  // namespace app
