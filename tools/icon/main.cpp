// SPDX-License-Identifier: GPL-3.0-or-later
// kovelin-icon: writes the program's icon, an open book on a red tile, as a
// scalable SVG and as PNG pictures of the usual theme sizes, all from the
// one description of its shapes below.
//
//   kovelin-icon OUTPUT_FOLDER NAME
//
// writes OUTPUT_FOLDER/scalable/apps/NAME.svg and
// OUTPUT_FOLDER/SIZExSIZE/apps/NAME.png for each size, the layout of an
// icon theme. The PNGs are drawn by sampling every pixel at 8 x 8 points,
// so edges are smooth at every size.
#include <zlib.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <numbers>
#include <string>
#include <vector>

namespace {

constexpr double kUnits = 256;  // the drawing's own square
constexpr int kSizes[] = {16, 24, 32, 48, 64, 128, 256};

struct Rgba {
    double r, g, b, a;
};

Rgba Hex(uint32_t rgb) {
    return {((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0, 1};
}

struct Point {
    double x, y;
};

// A filled polygon, in one colour or in a vertical gradient from `fill` at
// `y0` to `fill_end` at `y1`.
struct Shape {
    std::vector<Point> points;
    uint32_t fill;
    uint32_t fill_end;
    double y0 = 0, y1 = 0;
    bool gradient = false;
    // The SVG element, when a simpler one than a polygon says the same.
    std::string svg;
};

std::vector<Point> RoundedSquare(double x0, double y0, double x1, double y1, double r) {
    std::vector<Point> p;
    const Point centres[] = {
        {x1 - r, y0 + r}, {x1 - r, y1 - r}, {x0 + r, y1 - r}, {x0 + r, y0 + r}};
    for (int corner = 0; corner < 4; ++corner) {
        for (int step = 0; step <= 16; ++step) {
            const double angle = (-90 + 90 * corner + 90.0 * step / 16) * std::numbers::pi / 180;
            p.push_back(
                {centres[corner].x + r * std::cos(angle), centres[corner].y + r * std::sin(angle)});
        }
    }
    return p;
}

std::vector<Shape> Drawing() {
    std::vector<Shape> shapes;
    Shape tile{RoundedSquare(16, 16, 240, 240, 44),
               0xC8412F,
               0x8E241A,
               16,
               240,
               true,
               "<rect x=\"16\" y=\"16\" width=\"224\" height=\"224\" rx=\"44\" "
               "fill=\"url(#tile)\"/>"};
    shapes.push_back(tile);
    // The cover behind the pages, then the two pages rising to the spine.
    shapes.push_back({{{30, 90}, {128, 104}, {226, 90}, {226, 200}, {128, 214}, {30, 200}},
                      0x5A1A12,
                      0,
                      0,
                      0,
                      false,
                      {}});
    shapes.push_back({{{38, 78}, {124, 92}, {124, 200}, {38, 186}}, 0xFFF8E6, 0, 0, 0, false, {}});
    shapes.push_back(
        {{{132, 92}, {218, 78}, {218, 186}, {132, 200}}, 0xFFF3DA, 0, 0, 0, false, {}});
    // Lines of text on each page, following the pages' slope.
    for (int line = 0; line < 5; ++line) {
        const double y = 104 + 17 * line;
        const double slope = 14.0 / 86;
        auto left = [&](double x) { return y + (x - 38) * slope; };
        auto right = [&](double x) { return y + (218 - x) * slope; };
        const double end = line == 4 ? 86 : 112;  // the last line of a page is short
        shapes.push_back(
            {{{50, left(50)}, {end, left(end)}, {end, left(end) + 7}, {50, left(50) + 7}},
             0xC98E5A,
             0,
             0,
             0,
             false,
             {}});
        const double start = line == 4 ? 170 : 144;
        shapes.push_back({{{start, right(start)},
                           {206, right(206)},
                           {206, right(206) + 7},
                           {start, right(start) + 7}},
                          0xC98E5A,
                          0,
                          0,
                          0,
                          false,
                          {}});
    }
    return shapes;
}

std::string Svg(const std::vector<Shape>& shapes) {
    std::string out =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" "
        "viewBox=\"0 0 256 256\">\n"
        "  <defs>\n"
        "    <linearGradient id=\"tile\" x1=\"0\" y1=\"16\" x2=\"0\" y2=\"240\" "
        "gradientUnits=\"userSpaceOnUse\">\n"
        "      <stop offset=\"0\" stop-color=\"#c8412f\"/>\n"
        "      <stop offset=\"1\" stop-color=\"#8e241a\"/>\n"
        "    </linearGradient>\n"
        "  </defs>\n";
    char buffer[64];
    for (const Shape& s : shapes) {
        if (!s.svg.empty()) {
            out += "  " + s.svg + "\n";
            continue;
        }
        out += "  <polygon points=\"";
        for (size_t i = 0; i < s.points.size(); ++i) {
            std::snprintf(buffer, sizeof buffer, "%s%g,%g", i ? " " : "", s.points[i].x,
                          s.points[i].y);
            out += buffer;
        }
        std::snprintf(buffer, sizeof buffer, "\" fill=\"#%06x\"/>\n", s.fill);
        out += buffer;
    }
    out += "</svg>\n";
    return out;
}

bool Inside(const std::vector<Point>& p, double x, double y) {
    bool inside = false;
    for (size_t i = 0, j = p.size() - 1; i < p.size(); j = i++) {
        if ((p[i].y > y) != (p[j].y > y) &&
            x < (p[j].x - p[i].x) * (y - p[i].y) / (p[j].y - p[i].y) + p[i].x)
            inside = !inside;
    }
    return inside;
}

// RGBA rows, not premultiplied, as PNG wants them.
std::vector<uint8_t> Render(const std::vector<Shape>& shapes, int size) {
    constexpr int kSamples = 8;
    std::vector<uint8_t> pixels(static_cast<size_t>(size) * size * 4);
    const double scale = kUnits / size;
    for (int py = 0; py < size; ++py) {
        for (int px = 0; px < size; ++px) {
            Rgba sum{0, 0, 0, 0};  // premultiplied
            for (int sy = 0; sy < kSamples; ++sy) {
                for (int sx = 0; sx < kSamples; ++sx) {
                    const double x = (px + (sx + 0.5) / kSamples) * scale;
                    const double y = (py + (sy + 0.5) / kSamples) * scale;
                    Rgba c{0, 0, 0, 0};
                    for (const Shape& s : shapes) {
                        if (!Inside(s.points, x, y)) continue;
                        c = Hex(s.fill);
                        if (s.gradient) {
                            const double t = std::clamp((y - s.y0) / (s.y1 - s.y0), 0.0, 1.0);
                            const Rgba e = Hex(s.fill_end);
                            c = {c.r + (e.r - c.r) * t, c.g + (e.g - c.g) * t,
                                 c.b + (e.b - c.b) * t, 1};
                        }
                    }
                    sum = {sum.r + c.r * c.a, sum.g + c.g * c.a, sum.b + c.b * c.a, sum.a + c.a};
                }
            }
            uint8_t* out = &pixels[(static_cast<size_t>(py) * size + px) * 4];
            const double a = sum.a / (kSamples * kSamples);
            auto byte = [](double v) {
                return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255));
            };
            out[0] = byte(a > 0 ? sum.r / sum.a : 0);
            out[1] = byte(a > 0 ? sum.g / sum.a : 0);
            out[2] = byte(a > 0 ? sum.b / sum.a : 0);
            out[3] = byte(a);
        }
    }
    return pixels;
}

void PutBe(std::string& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>(v >> shift);
}

void Chunk(std::string& png, const char* type, const std::string& data) {
    PutBe(png, static_cast<uint32_t>(data.size()));
    const std::string body = std::string(type, 4) + data;
    png += body;
    PutBe(png, static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(body.data()),
                                           static_cast<uInt>(body.size()))));
}

std::string Png(const std::vector<uint8_t>& rgba, int size) {
    std::string raw;
    for (int y = 0; y < size; ++y) {
        raw += '\0';  // no filter
        raw.append(reinterpret_cast<const char*>(&rgba[static_cast<size_t>(y) * size * 4]),
                   static_cast<size_t>(size) * 4);
    }
    uLongf packed_size = compressBound(static_cast<uLong>(raw.size()));
    std::string packed(packed_size, '\0');
    compress2(reinterpret_cast<Bytef*>(packed.data()), &packed_size,
              reinterpret_cast<const Bytef*>(raw.data()), static_cast<uLong>(raw.size()), 9);
    packed.resize(packed_size);

    std::string png = "\x89PNG\r\n\x1a\n";
    std::string header;
    PutBe(header, static_cast<uint32_t>(size));
    PutBe(header, static_cast<uint32_t>(size));
    header += std::string("\x08\x06\x00\x00\x00", 5);  // 8-bit RGBA, no interlace
    Chunk(png, "IHDR", header);
    Chunk(png, "IDAT", packed);
    Chunk(png, "IEND", {});
    return png;
}

bool Write(const std::filesystem::path& path, const std::string& bytes) {
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: kovelin-icon OUTPUT_FOLDER NAME\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    const std::string name = argv[2];
    const std::vector<Shape> shapes = Drawing();
    bool ok = Write(folder / "scalable" / "apps" / (name + ".svg"), Svg(shapes));
    for (const int size : kSizes) {
        const std::string dir = std::to_string(size) + "x" + std::to_string(size);
        ok &= Write(folder / dir / "apps" / (name + ".png"), Png(Render(shapes, size), size));
    }
    if (!ok) {
        std::fprintf(stderr, "kovelin-icon: cannot write into %s\n", folder.c_str());
        return 1;
    }
    return 0;
}
