// SPDX-License-Identifier: GPL-3.0-or-later
// Font object members that need checking: the face must be one the text
// engine can draw, and the size must be a usable number.
#include <cmath>

#include "platform/font.h"
#include "platform/text.h"

namespace platform {

Status Font::set_name(const std::string& name) {
    // An unknown face would silently draw with some other font; refusing it
    // lets the caller report the error and keeps text readable.
    if (name.empty() || !TextEngine::Instance().FaceExists(name)) {
        return MakeError(ErrorCode::kInvalidCall, "no font named '" + name + "'");
    }
    desc_.name = name;
    return Status::Ok();
}

Status Font::set_size(float points) {
    if (!std::isfinite(points) || points <= 0.0f) {
        return MakeError(ErrorCode::kInvalidCall, "font size must be above 0");
    }
    desc_.size = points;
    return Status::Ok();
}

}  // namespace platform
