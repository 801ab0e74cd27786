// SPDX-License-Identifier: GPL-3.0-or-later
// The pixel surface and its PNG reading and writing.
//
// PNG files go through SDL2_image. SDL surfaces are plain memory and need no
// video subsystem, so none of this calls SDL_Init: the headless harness and
// the tests run without a display.
#include "platform/surface.h"

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <cstring>

namespace platform {

namespace {

int32_t ClampSide(int32_t v) {
    return std::clamp<int32_t>(v, 0, kMaxSurfaceSide);
}

// Copies any SDL surface into a Surface, dropping its alpha (our pixels are
// always opaque; pictures keep transparency in a separate mask).
Result<Surface> SurfaceFromSdl(SDL_Surface* loaded) {
    if (loaded->w <= 0 || loaded->h <= 0 || loaded->w > kMaxSurfaceSide ||
        loaded->h > kMaxSurfaceSide) {
        return MakeError(ErrorCode::kInvalidPicture, "picture size out of range");
    }
    SDL_Surface* argb = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0);
    if (argb == nullptr) return MakeError(ErrorCode::kInvalidPicture, SDL_GetError());
    Surface out(argb->w, argb->h);
    const auto* base = static_cast<const uint8_t*>(argb->pixels);
    for (int32_t y = 0; y < argb->h; ++y) {
        uint32_t* dst = out.row(y);
        std::memcpy(dst, base + static_cast<size_t>(y) * argb->pitch,
                    static_cast<size_t>(argb->w) * 4);
        for (int32_t x = 0; x < argb->w; ++x) dst[x] |= 0xFF000000u;
    }
    SDL_FreeSurface(argb);
    return out;
}

}  // namespace

Surface::Surface(int32_t width, int32_t height, Color fill) {
    resize(width, height, fill);
}

Surface Surface::AtScale(int32_t width, int32_t height, int32_t scale, Color fill) {
    scale = std::clamp<int32_t>(scale, 1, kMaxDeviceScale);
    const int64_t w = std::clamp<int64_t>(width, 0, kMaxSurfaceSide / scale);
    const int64_t h = std::clamp<int64_t>(height, 0, kMaxSurfaceSide / scale);
    Surface out(static_cast<int32_t>(w * scale), static_cast<int32_t>(h * scale), fill);
    out.scale_ = scale;
    return out;
}

void Surface::set_scale(int32_t scale) {
    scale_ = std::clamp<int32_t>(scale, 1, kMaxDeviceScale);
}

Color Surface::pixel(int32_t x, int32_t y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    return ColorFromArgb(row(y)[x]);
}

void Surface::set_pixel(int32_t x, int32_t y, Color c) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    row(y)[x] = ArgbFromColor(c);
}

void Surface::fill(Color c) {
    std::fill(pixels_.begin(), pixels_.end(), ArgbFromColor(c));
}

void Surface::resize(int32_t width, int32_t height, Color fill) {
    width = ClampSide(width);
    height = ClampSide(height);
    if (width == 0 || height == 0) width = height = 0;
    if (width == width_ && height == height_) return;

    std::vector<uint32_t> fresh(static_cast<size_t>(width) * static_cast<size_t>(height),
                                ArgbFromColor(fill));
    const int32_t keep_w = std::min(width, width_);
    const int32_t keep_h = std::min(height, height_);
    for (int32_t y = 0; y < keep_h; ++y) {
        std::copy_n(row(y), keep_w, fresh.data() + static_cast<size_t>(y) * width);
    }
    pixels_ = std::move(fresh);
    width_ = width;
    height_ = height;
}

Status Surface::WritePng(const std::string& path) const {
    if (empty()) return MakeError(ErrorCode::kInvalidCall, "cannot write an empty surface");
    // SDL only reads through this pointer; the cast is for its C signature.
    SDL_Surface* s =
        SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint32_t*>(pixels_.data()), width_, height_,
                                           32, width_ * 4, SDL_PIXELFORMAT_ARGB8888);
    if (s == nullptr) return MakeError(ErrorCode::kPlatform, SDL_GetError());
    const int rc = IMG_SavePNG(s, path.c_str());
    SDL_FreeSurface(s);
    if (rc != 0)
        return MakeError(ErrorCode::kFileIo, "cannot write " + path + ": " + SDL_GetError());
    return Status::Ok();
}

Result<Surface> Surface::ReadPng(const std::string& path) {
    SDL_RWops* rw = SDL_RWFromFile(path.c_str(), "rb");
    if (rw == nullptr) return MakeError(ErrorCode::kFileNotFound, "cannot open " + path);
    SDL_Surface* loaded = IMG_LoadPNG_RW(rw);
    SDL_RWclose(rw);
    if (loaded == nullptr) {
        return MakeError(ErrorCode::kInvalidPicture, "not a PNG file: " + path);
    }
    Result<Surface> out = SurfaceFromSdl(loaded);
    SDL_FreeSurface(loaded);
    return out;
}

}  // namespace platform
