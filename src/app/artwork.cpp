// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/artwork.h"

#include <string>

#include "app/app_paths.h"
#include "platform/window.h"

namespace app {

platform::Result<platform::PictureRef> LoadArtwork(std::string_view name, int32_t device_scale) {
    if (device_scale >= 2) {
        auto sharp = platform::LoadPicture(
            DataFilePath(std::string(kSharpArtworkFolder) + std::string(name)));
        if (sharp) {
            platform::Surface& pixels = sharp.value()->pixels();
            // Only whole program pixels, and no mask, which speaks of the
            // picture's own pixels.
            if (pixels.width() % 2 == 0 && pixels.height() % 2 == 0 && !sharp.value()->has_mask()) {
                pixels.set_scale(2);
                return sharp;
            }
        }
    }
    return platform::LoadPicture(DataFilePath(name));
}

platform::Status ShowArtwork(platform::controls::PictureBox& box, std::string_view name) {
    auto picture = LoadArtwork(name, platform::DeviceScale());
    if (!picture) return picture.error();
    box.set_picture(std::move(picture.value()));
    return {};
}

}  // namespace app
