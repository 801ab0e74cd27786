// What the pictures and sounds of kovelin-assets share: colour mixing,
// text, anti-aliased discs, file writing.
#pragma once

#include <cstdint>
#include <functional>
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

// Shapes with soft edges, in program pixels, drawn at the picture's device
// resolution: each device pixel at an edge is mixed with what is under it
// by how much of it the shape covers.
// A disc centred at (cx, cy).
void FillDisc(platform::Surface& picture, double cx, double cy, double r, Color c);
// A stroke `width` wide from (x0, y0) to (x1, y1), with round ends.
void FillStroke(platform::Surface& picture, double x0, double y0, double x1, double y1,
                double width, Color c);
// A picture of `w` x `h` program pixels filled with `fill`, realised at
// `scale` device pixels per program pixel as a context at that scale makes
// its surfaces.
platform::Surface NewPicture(int32_t w, int32_t h, Color fill, int32_t scale = 1);

// A picture drawn for one device scale (1 or 2).
using Drawing = std::function<platform::Surface(int32_t scale)>;

// The data folder being written, and the names of the files written into
// it (relative to it, in order): the program's data files, which are
// installed from this list.
class Output {
  public:
    explicit Output(std::string folder);  // ends in "/"

    // Writes folder + name; false when it cannot be written.
    bool Write(const std::string& name, const std::vector<uint8_t>& bytes);
    bool Bmp(const std::string& name, const platform::Surface& picture);
    bool Png(const std::string& name, const platform::Surface& picture);
    // A picture in every set the program picks from at start: draw(1) as
    // `name`, and draw(2) as `name` in the sharp set's folder, for scale 2
    // and above (and fractional scales, which are reduced from 2).
    enum class Format { kBmp, kPng };
    bool Artwork(const std::string& name, const Drawing& draw, Format format = Format::kBmp);

    const std::string& folder() const { return folder_; }
    const std::vector<std::string>& written() const { return written_; }

  private:
    std::string folder_;
    std::vector<std::string> written_;
};

// 16-bit mono PCM samples in -1..1 at `rate`, as a complete wave file.
std::vector<uint8_t> WaveFile(const std::vector<double>& samples, uint32_t rate);

// --- the pictures and sounds --------------------------------------------------
// Each writes its files through `out`; false when one cannot be written.
bool WriteStartupPictures(Output& out);  // wait.bmp, splash.bmp
bool WriteSkin(Output& out);             // skin.bmp, mask.dat
bool WriteEditors(Output& out);          // e0.bmp, e1.bmp, about.bmp, c0.bmp, c1.bmp
bool WriteSounds(Output& out);           // start, click, click2, huh, k, r, e
bool WriteButtonPictures(Output& out);   // btnbook, btnbook_over, btnstar
// Renders the page documents in `pages` (s0.html .. s5.html, op.html) to
// s0.dat .. s5.dat and op.dat, and the published works pages (k0.html,
// k1.html) to k0.dat and k1.dat.
bool WritePages(const std::string& pages, Output& out);

}  // namespace assets
