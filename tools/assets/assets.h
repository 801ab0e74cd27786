// What the pictures and sounds of kovelin-assets share: colour mixing,
// text, anti-aliased discs, file writing.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dc.h"
#include "platform/surface.h"

namespace assets {

using platform::Color;
using platform::Rect;
using platform::Rgb;

// The program's warm palette.
inline constexpr Color kCream = Rgb(0xFF, 0xF8, 0xE6);
inline constexpr Color kSand = Rgb(0xF6, 0xE3, 0xC0);
inline constexpr Color kRed = Rgb(0xC0, 0x39, 0x2B);
inline constexpr Color kDeepRed = Rgb(0x8E, 0x24, 0x1A);
inline constexpr Color kInk = Rgb(0x5A, 0x1A, 0x12);
inline constexpr Color kSoftInk = Rgb(0x8A, 0x5A, 0x3C);

// a to b by t in 0..1.
Color Mix(Color a, Color b, double t);

// One line of text in the face; Nepali faces take Preeti bytes.
void DrawText(platform::DC& dc, std::string_view bytes, const char* face, float points, bool bold,
              Color color, Rect box, uint32_t format);
// UTF-8 Devanagari to Preeti bytes (empty when it cannot be expressed).
std::string Preeti(std::string_view unicode);

// A disc centred at (cx, cy) with soft edges: each edge pixel is mixed with
// what is under it by how much of it the disc covers.
void FillDisc(platform::DC& dc, double cx, double cy, double r, Color c);
// A picture of `w` x `h` filled with `fill`, made as the reference context
// makes its surfaces.
platform::Surface NewPicture(int32_t w, int32_t h, Color fill);

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);
bool WriteBmp(const std::string& path, const platform::Surface& picture);

// 16-bit mono PCM samples in -1..1 at `rate`, as a complete wave file.
std::vector<uint8_t> WaveFile(const std::vector<double>& samples, uint32_t rate);

// --- the pictures and sounds --------------------------------------------------
// Each writes its files into `folder` (ending in "/"); false when one
// cannot be written.
bool WriteSkin(const std::string& folder);            // skin.bmp, mask.dat
bool WriteEditors(const std::string& folder);         // e0.bmp, e1.bmp, about.bmp, c0.bmp, c1.bmp
bool WriteSounds(const std::string& folder);          // start, click, click2, huh, k, r, e
bool WriteButtonPictures(const std::string& folder);  // btnbook, btnbook_over, btnstar
// Renders the page documents in `pages` (s0.html .. s5.html, op.html) to
// s0.dat .. s5.dat and op.dat, and the published works pages (k0.html,
// k1.html) to k0.dat and k1.dat.
bool WritePages(const std::string& pages, const std::string& folder);

}  // namespace assets
