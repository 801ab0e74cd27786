// SPDX-License-Identifier: GPL-3.0-or-later
// Picture loading from bytes the tests build by hand, and rejection of
// damaged or hostile files.
#include "platform/picture.h"

#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "os/os_test_util.h"

namespace platform {
namespace {

using Bytes = std::vector<uint8_t>;

constexpr Color kRed = Rgb(255, 0, 0);
constexpr Color kGreen = Rgb(0, 255, 0);
constexpr Color kBlue = Rgb(0, 0, 255);
constexpr Color kWhite = Rgb(255, 255, 255);

void Put16(Bytes& b, uint32_t v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(Bytes& b, uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}
void Append(Bytes& b, std::initializer_list<uint8_t> more) {
    b.insert(b.end(), more);
}

// A 40-byte bitmap info header.
Bytes InfoHeader(int32_t w, int32_t h, uint16_t bpp, uint32_t compression, uint32_t colors) {
    Bytes b;
    Put32(b, 40);
    Put32(b, static_cast<uint32_t>(w));
    Put32(b, static_cast<uint32_t>(h));
    Put16(b, 1);
    Put16(b, bpp);
    Put32(b, compression);
    Put32(b, 0);
    Put32(b, 3780);
    Put32(b, 3780);
    Put32(b, colors);
    Put32(b, 0);
    return b;
}

// A BMP file from an info header, a palette (colours as 0x00BBGGRR) and bits.
Bytes BmpFile(const Bytes& info, const std::vector<Color>& palette, const Bytes& bits) {
    Bytes b = {'B', 'M'};
    const uint32_t offset = 14 + static_cast<uint32_t>(info.size() + palette.size() * 4);
    Put32(b, offset + static_cast<uint32_t>(bits.size()));
    Put32(b, 0);
    Put32(b, offset);
    b.insert(b.end(), info.begin(), info.end());
    for (Color c : palette) Append(b, {BlueOf(c), GreenOf(c), RedOf(c), 0});
    b.insert(b.end(), bits.begin(), bits.end());
    return b;
}

Result<PictureRef> Load(const Bytes& b) {
    return LoadPictureFromMemory(b.data(), b.size());
}

std::vector<Color> Row(const Picture& p, int32_t y) {
    std::vector<Color> out;
    for (int32_t x = 0; x < p.width_px(); ++x) out.push_back(p.pixels().pixel(x, y));
    return out;
}

TEST(PictureUnits, HimetricRoundsToNearestWithHalvesToEven) {
    EXPECT_EQ(PixelsToHimetric(96), 2540);
    EXPECT_EQ(PixelsToHimetric(1), 26);
    EXPECT_EQ(PixelsToHimetric(12), 318);  // 317.5
    EXPECT_EQ(PixelsToHimetric(36), 952);  // 952.5
    EXPECT_EQ(PixelsToHimetric(-1), -26);
    EXPECT_EQ(HimetricToPixels(2540), 96);
    EXPECT_EQ(HimetricToPixels(13), 0);
    for (int32_t px = 0; px <= 2000; ++px) ASSERT_EQ(HimetricToPixels(PixelsToHimetric(px)), px);
}

TEST(PictureBmp, TwentyFourBitFilesOfOddWidthsLoadExactly) {
    for (const int32_t w : {1, 2, 3, 5}) {
        Surface s(w, 2);
        for (int32_t x = 0; x < w; ++x) {
            s.set_pixel(x, 0, Rgb(static_cast<uint8_t>(x * 40), 7, 200));
            s.set_pixel(x, 1, Rgb(1, static_cast<uint8_t>(x * 50), 3));
        }
        Result<PictureRef> pic = Load(EncodeBmp24(s));
        ASSERT_TRUE(pic.ok()) << pic.error().message;
        EXPECT_EQ((*pic)->kind(), PictureKind::kBitmap);
        EXPECT_FALSE((*pic)->has_mask());
        ASSERT_EQ((*pic)->pixels().bounds(), s.bounds());
        for (int32_t y = 0; y < 2; ++y) {
            for (int32_t x = 0; x < w; ++x) EXPECT_EQ((*pic)->pixels().pixel(x, y), s.pixel(x, y));
        }
    }
}

TEST(PictureBmp, PalettedDepthsAndTopDownRows) {
    const std::vector<Color> pal = {kRed, kGreen, kBlue, kWhite};
    // 1 bit: 10 pixels, row padded to 4 bytes.
    Bytes one = {0b10110000, 0b01000000, 0, 0, 0b01000000, 0, 0, 0};
    Result<PictureRef> p1 = Load(BmpFile(InfoHeader(10, 2, 1, 0, 2), {kRed, kGreen}, one));
    ASSERT_TRUE(p1.ok()) << p1.error().message;
    // The second file row is the picture's top row.
    EXPECT_EQ(Row(**p1, 0)[1], kGreen);
    EXPECT_EQ(Row(**p1, 0)[0], kRed);
    EXPECT_EQ(Row(**p1, 1), (std::vector<Color>{kGreen, kRed, kGreen, kGreen, kRed, kRed, kRed,
                                                kRed, kRed, kGreen}));
    // 4 bits, 3 pixels.
    Result<PictureRef> p4 = Load(BmpFile(InfoHeader(3, 1, 4, 0, 4), pal, {0x23, 0x10, 0, 0}));
    ASSERT_TRUE(p4.ok()) << p4.error().message;
    EXPECT_EQ(Row(**p4, 0), (std::vector<Color>{kBlue, kWhite, kGreen}));
    // 8 bits, top-down (negative height).
    Result<PictureRef> p8 =
        Load(BmpFile(InfoHeader(2, -2, 8, 0, 4), pal, {3, 2, 0, 0, 1, 0, 0, 0}));
    ASSERT_TRUE(p8.ok()) << p8.error().message;
    EXPECT_EQ(Row(**p8, 0), (std::vector<Color>{kWhite, kBlue}));
    EXPECT_EQ(Row(**p8, 1), (std::vector<Color>{kGreen, kRed}));
    // An index beyond a short palette reads as black rather than past it.
    Result<PictureRef> short_pal =
        Load(BmpFile(InfoHeader(1, 1, 8, 0, 2), {kRed, kGreen}, {200, 0, 0, 0}));
    ASSERT_TRUE(short_pal.ok());
    EXPECT_EQ((*short_pal)->pixels().pixel(0, 0), 0u);
}

TEST(PictureBmp, ThirtyTwoAndSixteenBitPixels) {
    Result<PictureRef> p32 =
        Load(BmpFile(InfoHeader(2, 1, 32, 0, 0), {}, {0x10, 0x20, 0x30, 0, 0xFF, 0xFF, 0xFF, 0}));
    ASSERT_TRUE(p32.ok()) << p32.error().message;
    EXPECT_EQ(Row(**p32, 0), (std::vector<Color>{Rgb(0x30, 0x20, 0x10), kWhite}));
    // 5-6-5 bit fields: pure red then pure green.
    Bytes info = InfoHeader(2, 1, 16, 3, 0);
    Put32(info, 0xF800);
    Put32(info, 0x07E0);
    Put32(info, 0x001F);
    Bytes file = {'B', 'M'};
    Put32(file, 0);
    Put32(file, 0);
    Put32(file, 14 + static_cast<uint32_t>(info.size()));
    file.insert(file.end(), info.begin(), info.end());
    Append(file, {0x00, 0xF8, 0xE0, 0x07});
    Result<PictureRef> p16 = Load(file);
    ASSERT_TRUE(p16.ok()) << p16.error().message;
    EXPECT_EQ(Row(**p16, 0), (std::vector<Color>{kRed, kGreen}));
}

TEST(PictureBmp, RunLengthEncodedRowsDecode) {
    const std::vector<Color> pal = {kRed, kGreen, kBlue, kWhite};
    // RLE8, 6 x 3, bottom row first: a run, an absolute run (padded), a
    // delta that skips pixels, end of line, end of bitmap.
    const Bytes rle8 = {
        3, 1,              // 3 x green
        0, 3, 2, 3, 0, 0,  // absolute: blue, white, red (+ pad)
        0, 0,              // end of line
        0, 2, 2, 1,        // skip 2 right, 1 up: now (2, row 2)
        2, 3,              // 2 x white
        0, 1,              // end of bitmap
    };
    Result<PictureRef> p = Load(BmpFile(InfoHeader(6, 3, 8, 1, 4), pal, rle8));
    ASSERT_TRUE(p.ok()) << p.error().message;
    const Color k0 = 0;  // skipped pixels stay black
    EXPECT_EQ(Row(**p, 2), (std::vector<Color>{kGreen, kGreen, kGreen, kBlue, kWhite, kRed}));
    EXPECT_EQ(Row(**p, 1), (std::vector<Color>(6, k0)));
    EXPECT_EQ(Row(**p, 0), (std::vector<Color>{k0, k0, kWhite, kWhite, k0, k0}));

    // RLE4, 5 x 1: a run alternating two colours, then an absolute run.
    const Bytes rle4 = {2, 0x12, 0, 3, 0x13, 0x00, 0, 1};
    Result<PictureRef> p4 = Load(BmpFile(InfoHeader(5, 1, 4, 2, 4), pal, rle4));
    ASSERT_TRUE(p4.ok()) << p4.error().message;
    EXPECT_EQ(Row(**p4, 0), (std::vector<Color>{kGreen, kBlue, kGreen, kWhite, kRed}));

    // Runs that overshoot the row or the picture are dropped, not written.
    const Bytes wild = {255, 1, 0, 2, 255, 255, 9, 2, 0, 1};
    Result<PictureRef> pw = Load(BmpFile(InfoHeader(4, 2, 8, 1, 4), pal, wild));
    ASSERT_TRUE(pw.ok()) << pw.error().message;
    EXPECT_EQ(Row(**pw, 1), (std::vector<Color>(4, kGreen)));
}

// Writes a temporary file and removes it when the test ends.
class TempFile {
  public:
    explicit TempFile(const std::string& name)
        : path_((std::filesystem::temp_directory_path() / name).string()) {}
    ~TempFile() { std::remove(path_.c_str()); }
    const std::string& path() const { return path_; }
    Bytes Read() const {
        std::ifstream f(path_, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(f), {});
    }

  private:
    std::string path_;
};

Bytes PngBytes(const Surface& s) {
    TempFile file("kovelin_picture_test.png");
    EXPECT_TRUE(s.WritePng(file.path()).ok());
    return file.Read();
}

TEST(PictureFormats, PngGifAndJpegAreRecognisedByContent) {
    Surface s(3, 2, kBlue);
    s.set_pixel(2, 1, kRed);
    // The misleading extension must not matter.
    TempFile file("kovelin_picture_test_skin.dat");
    ASSERT_TRUE(s.WritePng(file.path()).ok());
    Result<PictureRef> png = LoadPicture(file.path());
    ASSERT_TRUE(png.ok()) << png.error().message;
    EXPECT_EQ((*png)->pixels().pixel(2, 1), kRed);
    EXPECT_EQ((*png)->pixels().pixel(0, 0), kBlue);
    EXPECT_EQ((*png)->width_himetric(), PixelsToHimetric(3));

    // A 2 x 1 GIF: red, blue, coded by hand.
    const Bytes gif = {'G', 'I',  'F', '8', '9', 'a', 2,    0,    1,    0, 0x80, 0,
                       0,   0xFF, 0,   0,   0,   0,   0xFF, 0x2C, 0,    0, 0,    0,
                       2,   0,    1,   0,   0,   2,   2,    0x44, 0x0A, 0, 0x3B};
    Result<PictureRef> g = Load(gif);
    ASSERT_TRUE(g.ok()) << g.error().message;
    EXPECT_EQ(Row(**g, 0), (std::vector<Color>{kRed, kBlue}));

    // JPEG is lossy: a flat colour must come back close.
    Surface flat(16, 8, Rgb(200, 100, 50));
    SDL_Surface* sdl =
        SDL_CreateRGBSurfaceWithFormatFrom(flat.data(), 16, 8, 32, 64, SDL_PIXELFORMAT_ARGB8888);
    ASSERT_NE(sdl, nullptr);
    TempFile jpg_file("kovelin_picture_test.jpg");
    ASSERT_EQ(IMG_SaveJPG(sdl, jpg_file.path().c_str(), 95), 0) << SDL_GetError();
    SDL_FreeSurface(sdl);
    Result<PictureRef> jpg = Load(jpg_file.Read());
    ASSERT_TRUE(jpg.ok()) << jpg.error().message;
    ASSERT_EQ((*jpg)->pixels().bounds(), flat.bounds());
    const Color c = (*jpg)->pixels().pixel(7, 4);
    EXPECT_NEAR(RedOf(c), 200, 6);
    EXPECT_NEAR(GreenOf(c), 100, 6);
    EXPECT_NEAR(BlueOf(c), 50, 6);

    EXPECT_EQ(LoadPicture(file.path() + ".missing").error().code, ErrorCode::kFileNotFound);
}

TEST(PictureFiles, PipesAndDevicesAreRefusedWithoutBlocking) {
    os_test::ScratchFolder dir;
    ASSERT_EQ(::mkfifo((dir / "splash.bmp").c_str(), 0600), 0);
    const int code = os_test::RunInChildWithin(10, [&] {
        for (const std::string& path : {dir / "splash.bmp", std::string("/dev/zero")}) {
            const Result<PictureRef> picture = LoadPicture(path);
            if (picture.ok() || picture.error().code != ErrorCode::kFileIo) return 1;
        }
        return 0;
    });
    EXPECT_EQ(code, 0) << (code == 128 + SIGALRM ? "loading blocked" : "");
}

// An icon file holding the given images (each a DIB without file header or
// a PNG), with directory sizes w x h.
Bytes IcoFile(const std::vector<std::pair<Size, Bytes>>& images) {
    Bytes b;
    Append(b, {0, 0, 1, 0});
    Put16(b, static_cast<uint32_t>(images.size()));
    uint32_t offset = 6 + 16 * static_cast<uint32_t>(images.size());
    for (const auto& [size, data] : images) {
        Append(b, {static_cast<uint8_t>(size.cx), static_cast<uint8_t>(size.cy), 0, 0});
        Put16(b, 1);
        Put16(b, 32);
        Put32(b, static_cast<uint32_t>(data.size()));
        Put32(b, offset);
        offset += static_cast<uint32_t>(data.size());
    }
    for (const auto& image : images) b.insert(b.end(), image.second.begin(), image.second.end());
    return b;
}

TEST(PictureIcons, LargestImageIsChosenAndTheAndMaskBecomesTransparency) {
    // A 2 x 2 icon, 24-bit colour rows then the AND mask (bottom row first).
    Bytes small = InfoHeader(2, 4, 24, 0, 0);
    Append(small, {0, 0, 0xFF, 0, 0xFF, 0, 0, 0});        // bottom: red, green
    Append(small, {0xFF, 0, 0, 0xFF, 0xFF, 0xFF, 0, 0});  // top: blue, white
    Append(small, {0x40, 0, 0, 0, 0x80, 0, 0, 0});        // bottom: right clear; top: left clear
    Surface big(4, 3, kGreen);
    big.set_pixel(0, 0, kRed);
    // A PNG image with alpha: the transparent column comes from the alpha.
    big.data()[3] = 0x00FFFFFF;
    TempFile png_file("kovelin_icon_part.png");
    SDL_Surface* sdl =
        SDL_CreateRGBSurfaceWithFormatFrom(big.data(), 4, 3, 32, 16, SDL_PIXELFORMAT_ARGB8888);
    ASSERT_NE(sdl, nullptr);
    ASSERT_EQ(IMG_SavePNG(sdl, png_file.path().c_str()), 0);
    SDL_FreeSurface(sdl);

    Result<PictureRef> only_dib = Load(IcoFile({{{2, 2}, small}}));
    ASSERT_TRUE(only_dib.ok()) << only_dib.error().message;
    const Picture& icon = **only_dib;
    EXPECT_EQ(icon.kind(), PictureKind::kIcon);
    ASSERT_TRUE(icon.has_mask());
    EXPECT_EQ(Row(icon, 0), (std::vector<Color>{kBlue, kWhite}));
    EXPECT_EQ(Row(icon, 1), (std::vector<Color>{kRed, kGreen}));
    EXPECT_FALSE(icon.opaque_at(0, 0));
    EXPECT_TRUE(icon.opaque_at(1, 0));
    EXPECT_TRUE(icon.opaque_at(0, 1));
    EXPECT_FALSE(icon.opaque_at(1, 1));
    EXPECT_FALSE(icon.opaque_at(2, 0));

    Result<PictureRef> both = Load(IcoFile({{{2, 2}, small}, {{4, 3}, png_file.Read()}}));
    ASSERT_TRUE(both.ok()) << both.error().message;
    EXPECT_EQ((*both)->width_px(), 4);
    EXPECT_EQ((*both)->pixels().pixel(0, 0), kRed);
    EXPECT_TRUE((*both)->opaque_at(0, 0));
    EXPECT_FALSE((*both)->opaque_at(3, 0));
}

TEST(PictureDamage, GarbageTruncationAndHugeSizesAreRejected) {
    auto expect_invalid = [](const Bytes& b, const char* what) {
        Result<PictureRef> r = Load(b);
        EXPECT_FALSE(r.ok()) << what;
        if (!r.ok()) {
            EXPECT_EQ(r.error().code, ErrorCode::kInvalidPicture) << what;
        }
    };
    expect_invalid({}, "empty");
    expect_invalid({'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd'}, "text");
    EXPECT_FALSE(LoadPictureFromMemory(nullptr, 100).ok());

    Surface s(5, 4, kRed);
    s.set_pixel(1, 1, kBlue);
    const Bytes bmp = EncodeBmp24(s);
    const Bytes png = PngBytes(s);
    const Bytes rle =
        BmpFile(InfoHeader(4, 2, 8, 1, 2), {kRed, kGreen}, {4, 1, 0, 0, 0, 4, 1, 0, 2, 0, 0, 1});
    ASSERT_TRUE(Load(rle).ok());
    Bytes ico_dib = InfoHeader(2, 4, 24, 0, 0);
    ico_dib.resize(ico_dib.size() + 16 + 8, 0x55);
    const Bytes ico = IcoFile({{{2, 2}, ico_dib}});
    ASSERT_TRUE(Load(ico).ok());
    // Every cut-short prefix fails cleanly. Only trailers that carry no
    // pixels may go missing: the PNG end chunk (12 bytes), the run-length
    // end marker (2 bytes), and the icon's optional AND mask.
    for (const auto& [file, optional_tail] :
         {std::pair{&bmp, size_t{0}}, std::pair{&png, size_t{12}}, std::pair{&rle, size_t{2}}}) {
        for (size_t n = 0; n + optional_tail < file->size(); ++n) {
            const Bytes prefix(file->begin(), file->begin() + static_cast<std::ptrdiff_t>(n));
            ASSERT_FALSE(Load(prefix).ok()) << n;
        }
    }
    for (size_t n = 0; n < ico.size(); ++n) {
        const Bytes prefix(ico.begin(), ico.begin() + static_cast<std::ptrdiff_t>(n));
        (void)Load(prefix);
    }
    // Flipping bytes of valid files never crashes.
    for (const Bytes* file : {&bmp, &png, &rle, &ico}) {
        for (size_t i = 0; i < file->size(); ++i) {
            Bytes bent = *file;
            bent[i] ^= 0xA5;
            (void)Load(bent);
        }
    }

    // Headers claiming enormous pictures are refused before decoding.
    expect_invalid(BmpFile(InfoHeader(100000, 100000, 24, 0, 0), {}, {0, 0, 0, 0}), "huge bmp");
    expect_invalid(BmpFile(InfoHeader(16384, 16384, 8, 1, 2), {kRed, kGreen}, {0, 1}), "huge rle");
    expect_invalid(BmpFile(InfoHeader(0, 5, 24, 0, 0), {}, {}), "zero width");
    expect_invalid(BmpFile(InfoHeader(2, 2, 24, 4, 0), {}, Bytes(16)), "jpeg-in-bmp");
    Bytes huge_png = png;
    huge_png[16] = 0x7F;  // IHDR width
    expect_invalid(huge_png, "huge png");
    expect_invalid({'G', 'I', 'F', '8', '9', 'a', 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0x3B},
                   "huge gif");
    expect_invalid({0xFF, 0xD8, 0xFF, 0xD9}, "jpeg without frame");
    expect_invalid({0, 0, 1, 0, 0, 0}, "icon without images");
}

}  // namespace
}  // namespace platform
