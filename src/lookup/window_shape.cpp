#include "lookup/window_shape.h"

#include "platform/picture.h"

namespace lookup {

std::optional<platform::Region> TransparentForm(const std::string& mask_path) {
    auto picture = platform::LoadPicture(mask_path);
    if (!picture || !*picture) return std::nullopt;
    platform::Region region = platform::Region::FromMask((*picture)->pixels(), kMaskColor);
    if (region.empty()) return std::nullopt;
    return region;
}

}  // namespace lookup
