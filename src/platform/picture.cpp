// SPDX-License-Identifier: GPL-3.0-or-later
// Picture loading: bitmaps and icons from files or memory, decided by the
// contents rather than the file name.
//
// BMP and ICO are decoded here, because the program's skins use every BMP
// variant (palettes, run-length encoding, bit fields) and icons need their
// AND mask kept as transparency. PNG, GIF and JPEG go through SDL2_image.
// Every format's header is checked for a sane size before anything is
// decoded, so a hostile or truncated file is an error, never a huge
// allocation or a read past the end.
#include "platform/picture.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <iterator>

#include "platform/font.h"

namespace platform {

namespace {

constexpr size_t kMaxFileBytes = size_t{256} << 20;

Error Invalid(const std::string& why) {
    return MakeError(ErrorCode::kInvalidPicture, why);
}

// Little- and big-endian reads from a bounded byte range; reads past the end
// give 0 and mark the reader as short, so parsing code can check once.
class Bytes {
  public:
    Bytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    size_t size() const { return size_; }
    const uint8_t* data() const { return data_; }
    bool has(size_t offset, size_t n) const { return offset <= size_ && n <= size_ - offset; }

    uint8_t u8(size_t at) const { return has(at, 1) ? data_[at] : 0; }
    uint16_t le16(size_t at) const { return static_cast<uint16_t>(u8(at) | (u8(at + 1) << 8)); }
    uint32_t le32(size_t at) const {
        return static_cast<uint32_t>(le16(at)) | (static_cast<uint32_t>(le16(at + 2)) << 16);
    }
    uint16_t be16(size_t at) const { return static_cast<uint16_t>((u8(at) << 8) | u8(at + 1)); }
    uint32_t be32(size_t at) const {
        return (static_cast<uint32_t>(be16(at)) << 16) | be16(at + 2);
    }

  private:
    const uint8_t* data_;
    size_t size_;
};

bool SizeAcceptable(int64_t w, int64_t h) {
    return w > 0 && h > 0 && w <= kMaxSurfaceSide && h <= kMaxSurfaceSide &&
           w * h <= kMaxPicturePixels;
}

// --- device-independent bitmaps (BMP files and icon images) -----------------

enum Compression : uint32_t {
    kBiRgb = 0,
    kBiRle8 = 1,
    kBiRle4 = 2,
    kBiBitfields = 3,
    kBiAlphaBitfields = 6
};

struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    int bits = 0;

    explicit Channel(uint32_t m = 0) : mask(m) {
        if (m == 0) return;
        while (((m >> shift) & 1u) == 0) ++shift;
        while (shift + bits < 32 && ((m >> (shift + bits)) & 1u) != 0) ++bits;
    }
    // Scales the channel to 8 bits.
    uint8_t Of(uint32_t v) const {
        if (mask == 0 || bits == 0) return 0;
        const uint32_t raw = (v & mask) >> shift;
        const uint32_t max = bits >= 32 ? 0xFFFFFFFFu : ((1u << bits) - 1);
        return static_cast<uint8_t>((static_cast<uint64_t>(raw) * 255 + max / 2) / max);
    }
};

struct DecodedDib {
    Surface pixels;
    std::vector<uint8_t> alpha;  // per pixel, only filled for 32-bit images
    bool any_alpha = false;
};

// Decodes a DIB whose header starts at `header` and whose pixel bits start
// at `bits_at` (both offsets into `in`). Icons store twice the image height
// (colour rows, then the AND mask), so `icon` halves it.
Result<DecodedDib> DecodeDib(const Bytes& in, size_t header, size_t bits_at, bool icon,
                             std::vector<uint8_t>* and_mask) {
    const uint32_t header_size = in.le32(header);
    int64_t width = 0;
    int64_t height = 0;
    uint32_t bpp = 0;
    uint32_t compression = kBiRgb;
    uint32_t colors_used = 0;
    size_t palette_at = header + header_size;
    size_t palette_entry = 4;
    std::array<uint32_t, 4> masks{};
    if (!in.has(header, 16)) return Invalid("bitmap header is cut short");
    if (header_size == 12) {
        width = in.le16(header + 4);
        height = static_cast<int16_t>(in.le16(header + 6));
        bpp = in.le16(header + 10);
        palette_entry = 3;
    } else if (header_size >= 40 && header_size <= 1024) {
        if (!in.has(header, header_size)) return Invalid("bitmap header is cut short");
        width = static_cast<int32_t>(in.le32(header + 4));
        height = static_cast<int32_t>(in.le32(header + 8));
        bpp = in.le16(header + 14);
        compression = in.le32(header + 16);
        colors_used = in.le32(header + 32);
        if (compression == kBiBitfields || compression == kBiAlphaBitfields) {
            // Short headers keep the masks just after themselves.
            const size_t masks_at = header + 40;
            const int count = compression == kBiAlphaBitfields ? 4 : 3;
            if (!in.has(masks_at, 4 * count)) return Invalid("bit-field masks are missing");
            for (int i = 0; i < count; ++i) masks[i] = in.le32(masks_at + 4 * i);
            if (header_size == 40) palette_at += 4 * count;
        } else if (header_size >= 56) {
            masks[3] = in.le32(header + 52);
        }
    } else {
        return Invalid("unknown bitmap header");
    }

    const bool top_down = height < 0;
    if (top_down) height = -height;
    if (icon) height /= 2;
    if (!SizeAcceptable(width, height)) return Invalid("bitmap size out of range");

    const bool paletted = bpp == 1 || bpp == 4 || bpp == 8;
    if (!paletted && bpp != 16 && bpp != 24 && bpp != 32) return Invalid("unsupported bit depth");
    switch (compression) {
        case kBiRgb:
            break;
        case kBiRle8:
            if (bpp != 8 || top_down) return Invalid("bad RLE8 bitmap");
            break;
        case kBiRle4:
            if (bpp != 4 || top_down) return Invalid("bad RLE4 bitmap");
            break;
        case kBiBitfields:
        case kBiAlphaBitfields:
            if (bpp != 16 && bpp != 32) return Invalid("bit fields need 16 or 32 bits");
            break;
        default:
            return Invalid("unsupported bitmap compression");
    }

    // The palette, padded with black when the file holds fewer entries.
    std::array<uint32_t, 256> palette{};
    if (paletted) {
        size_t n = colors_used == 0 ? (size_t{1} << bpp) : std::min<size_t>(colors_used, 256);
        for (size_t i = 0; i < n; ++i) {
            const size_t at = palette_at + i * palette_entry;
            if (!in.has(at, 3)) break;
            palette[i] = ArgbFromColor(Rgb(in.u8(at + 2), in.u8(at + 1), in.u8(at)));
        }
    }
    for (auto& p : palette) p |= 0xFF000000u;

    const auto w = static_cast<int32_t>(width);
    const auto h = static_cast<int32_t>(height);
    DecodedDib out{Surface(w, h, 0), {}, false};
    const size_t stride = ((static_cast<size_t>(w) * bpp + 31) / 32) * 4;
    auto row_of = [&](int32_t i) { return top_down ? i : h - 1 - i; };  // file row -> image row

    if (compression == kBiRle8 || compression == kBiRle4) {
        const bool four = compression == kBiRle4;
        size_t at = bits_at;
        int32_t x = 0;
        int32_t y = 0;  // file rows, bottom up
        auto put = [&](uint8_t index) {
            if (x < w && y < h) out.pixels.row(h - 1 - y)[x] = palette[index];
            ++x;
        };
        bool done = false;
        while (!done) {
            if (!in.has(at, 2)) {
                // Some writers stop after the last row without an end marker.
                if (y >= h || (y == h - 1 && x >= w)) break;
                return Invalid("run-length data is cut short");
            }
            const uint8_t count = in.u8(at);
            const uint8_t value = in.u8(at + 1);
            at += 2;
            if (count > 0) {
                for (int i = 0; i < count && x < w; ++i) {
                    put(four ? ((i % 2 == 0) ? (value >> 4) : (value & 0x0F)) : value);
                }
                continue;
            }
            switch (value) {
                case 0:  // end of line
                    x = 0;
                    ++y;
                    break;
                case 1:
                    done = true;
                    break;
                case 2:  // move right and up
                    if (!in.has(at, 2)) return Invalid("run-length data is cut short");
                    x += in.u8(at);
                    y += in.u8(at + 1);
                    at += 2;
                    break;
                default: {
                    const size_t bytes = four ? (value + 1) / 2 : value;
                    if (!in.has(at, bytes)) return Invalid("run-length data is cut short");
                    for (int i = 0; i < value; ++i) {
                        const uint8_t b = in.u8(at + (four ? i / 2 : i));
                        put(four ? ((i % 2 == 0) ? (b >> 4) : (b & 0x0F)) : b);
                    }
                    at += bytes + (bytes & 1);  // runs are padded to 16 bits
                    break;
                }
            }
            if (y >= h) done = true;
        }
        return out;
    }

    if (!in.has(bits_at, stride * static_cast<size_t>(h)))
        return Invalid("bitmap bits are cut short");

    Channel red(0x00FF0000u), green(0x0000FF00u), blue(0x000000FFu), alpha(0xFF000000u);
    if (bpp == 16) {
        red = Channel(0x7C00);
        green = Channel(0x03E0);
        blue = Channel(0x001F);
        alpha = Channel(0);
    }
    if (compression == kBiBitfields || compression == kBiAlphaBitfields) {
        red = Channel(masks[0]);
        green = Channel(masks[1]);
        blue = Channel(masks[2]);
        alpha = Channel(masks[3]);
    } else if (bpp == 32 && header_size >= 56 && masks[3] != 0) {
        alpha = Channel(masks[3]);
    }
    if (bpp == 32) out.alpha.assign(static_cast<size_t>(w) * h, 0);

    for (int32_t i = 0; i < h; ++i) {
        const uint8_t* src = in.data() + bits_at + static_cast<size_t>(i) * stride;
        const int32_t y = row_of(i);
        uint32_t* dst = out.pixels.row(y);
        for (int32_t x = 0; x < w; ++x) {
            switch (bpp) {
                case 1:
                    dst[x] = palette[(src[x / 8] >> (7 - x % 8)) & 1];
                    break;
                case 4:
                    dst[x] = palette[(src[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 0x0F];
                    break;
                case 8:
                    dst[x] = palette[src[x]];
                    break;
                case 24:
                    dst[x] = ArgbFromColor(Rgb(src[x * 3 + 2], src[x * 3 + 1], src[x * 3]));
                    break;
                default: {
                    const size_t at = static_cast<size_t>(x) * (bpp / 8);
                    uint32_t v = src[at] | (src[at + 1] << 8);
                    if (bpp == 32)
                        v |= (uint32_t{src[at + 2]} << 16) | (uint32_t{src[at + 3]} << 24);
                    dst[x] = ArgbFromColor(Rgb(red.Of(v), green.Of(v), blue.Of(v)));
                    if (bpp == 32) {
                        const uint8_t a = alpha.Of(v);
                        out.alpha[static_cast<size_t>(y) * w + x] = a;
                        out.any_alpha = out.any_alpha || a != 0;
                    }
                    break;
                }
            }
        }
    }

    if (and_mask != nullptr) {
        // The AND mask follows the colour rows: one bit a pixel, set where
        // the icon is transparent. Icons written without one are opaque.
        const size_t mask_stride = ((static_cast<size_t>(w) + 31) / 32) * 4;
        const size_t mask_at = bits_at + stride * static_cast<size_t>(h);
        and_mask->assign(static_cast<size_t>(w) * h, 1);
        if (in.has(mask_at, mask_stride * static_cast<size_t>(h))) {
            for (int32_t i = 0; i < h; ++i) {
                const uint8_t* src = in.data() + mask_at + static_cast<size_t>(i) * mask_stride;
                const int32_t y = row_of(i);
                for (int32_t x = 0; x < w; ++x) {
                    const bool transparent = ((src[x / 8] >> (7 - x % 8)) & 1) != 0;
                    (*and_mask)[static_cast<size_t>(y) * w + x] = transparent ? 0 : 1;
                }
            }
        }
    }
    return out;
}

Result<PictureRef> LoadBmp(const Bytes& in) {
    if (!in.has(0, 14 + 16)) return Invalid("BMP file is cut short");
    const uint32_t bits_at = in.le32(10);
    Result<DecodedDib> dib = DecodeDib(in, 14, bits_at, false, nullptr);
    if (!dib.ok()) return dib.error();
    return std::make_shared<Picture>(std::move(dib->pixels), PictureKind::kBitmap);
}

// --- formats decoded by SDL2_image --------------------------------------------

struct SdlImage {
    Surface pixels;
    std::vector<uint8_t> alpha;
};

Result<SdlImage> DecodeWithSdl(const uint8_t* data, size_t size,
                               SDL_Surface* (*loader)(SDL_RWops*)) {
    if (size > static_cast<size_t>(INT32_MAX)) return Invalid("picture too large");
    SDL_RWops* rw = SDL_RWFromConstMem(data, static_cast<int>(size));
    if (rw == nullptr) return Invalid(SDL_GetError());
    SDL_Surface* loaded = loader(rw);
    SDL_RWclose(rw);
    if (loaded == nullptr) return Invalid(std::string("cannot decode picture: ") + SDL_GetError());
    SDL_Surface* argb = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(loaded);
    if (argb == nullptr) return Invalid(SDL_GetError());
    if (!SizeAcceptable(argb->w, argb->h)) {
        SDL_FreeSurface(argb);
        return Invalid("picture size out of range");
    }
    SdlImage out{Surface(argb->w, argb->h),
                 std::vector<uint8_t>(static_cast<size_t>(argb->w) * argb->h)};
    const auto* base = static_cast<const uint8_t*>(argb->pixels);
    for (int32_t y = 0; y < argb->h; ++y) {
        uint32_t* dst = out.pixels.row(y);
        std::memcpy(dst, base + static_cast<size_t>(y) * argb->pitch,
                    static_cast<size_t>(argb->w) * 4);
        for (int32_t x = 0; x < argb->w; ++x) {
            out.alpha[static_cast<size_t>(y) * argb->w + x] = static_cast<uint8_t>(dst[x] >> 24);
            dst[x] |= 0xFF000000u;
        }
    }
    SDL_FreeSurface(argb);
    return out;
}

bool IsPng(const Bytes& in) {
    static constexpr uint8_t kSig[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    return in.has(0, 8) && std::memcmp(in.data(), kSig, 8) == 0;
}

bool PngSizeAcceptable(const Bytes& in) {
    // The IHDR chunk always comes first.
    return in.has(0, 24) && std::memcmp(in.data() + 12, "IHDR", 4) == 0 &&
           SizeAcceptable(in.be32(16), in.be32(20));
}

bool GifSizeAcceptable(const Bytes& in) {
    return in.has(0, 13) && SizeAcceptable(in.le16(6), in.le16(8));
}

// Walks JPEG markers to the frame header, which holds the image size.
bool JpegSizeAcceptable(const Bytes& in) {
    size_t at = 2;
    while (in.has(at, 4)) {
        if (in.u8(at) != 0xFF) return false;
        const uint8_t marker = in.u8(at + 1);
        if (marker == 0xFF) {  // fill byte
            ++at;
            continue;
        }
        const bool frame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) return in.has(at, 9) && SizeAcceptable(in.be16(at + 7), in.be16(at + 5));
        if (marker == 0xD9 || marker == 0xDA) return false;  // no frame before the data
        at += 2 + in.be16(at + 2);
    }
    return false;
}

PictureRef BitmapFrom(SdlImage image) {
    return std::make_shared<Picture>(std::move(image.pixels), PictureKind::kBitmap);
}

// --- icons ------------------------------------------------------------------------

Result<PictureRef> LoadIco(const Bytes& in) {
    const uint16_t count = in.le16(4);
    if (count == 0 || !in.has(6, size_t{16} * count)) return Invalid("icon directory is cut short");
    // The largest image is the best one to show; the first wins a tie.
    size_t best = 0;
    int64_t best_area = -1;
    for (size_t i = 0; i < count; ++i) {
        const size_t e = 6 + 16 * i;
        const int64_t w = in.u8(e) == 0 ? 256 : in.u8(e);
        const int64_t h = in.u8(e + 1) == 0 ? 256 : in.u8(e + 1);
        if (w * h > best_area) {
            best_area = w * h;
            best = e;
        }
    }
    const size_t size = in.le32(best + 8);
    const size_t offset = in.le32(best + 12);
    if (!in.has(offset, size) || size < 16) return Invalid("icon image is cut short");
    const Bytes image(in.data() + offset, size);

    if (IsPng(image)) {
        if (!PngSizeAcceptable(image)) return Invalid("icon size out of range");
        Result<SdlImage> decoded = DecodeWithSdl(image.data(), image.size(), IMG_LoadPNG_RW);
        if (!decoded.ok()) return decoded.error();
        std::vector<uint8_t> mask(decoded->alpha.size());
        std::transform(decoded->alpha.begin(), decoded->alpha.end(), mask.begin(),
                       [](uint8_t a) { return a >= 128 ? 1 : 0; });
        auto pic = std::make_shared<Picture>(std::move(decoded->pixels), PictureKind::kIcon);
        pic->set_mask(std::move(mask));
        return pic;
    }

    std::vector<uint8_t> mask;
    const uint32_t header_size = image.le32(0);
    if (header_size != 12 && header_size < 40) return Invalid("unknown icon image");
    // Icon bitmaps have no file header: the bits follow the palette (or the
    // bit-field masks) directly.
    const uint16_t bpp = header_size == 12 ? image.le16(10) : image.le16(14);
    const uint32_t compression = header_size == 12 ? 0 : image.le32(16);
    uint32_t colors = header_size == 12 ? 0 : image.le32(32);
    size_t palette_bytes = 0;
    if (bpp <= 8) {
        if (colors == 0 || colors > 256) colors = 1u << std::min<uint16_t>(bpp, 8);
        palette_bytes = static_cast<size_t>(colors) * (header_size == 12 ? 3 : 4);
    } else if (header_size == 40 &&
               (compression == kBiBitfields || compression == kBiAlphaBitfields)) {
        palette_bytes = compression == kBiAlphaBitfields ? 16 : 12;
    }
    Result<DecodedDib> dib = DecodeDib(image, 0, header_size + palette_bytes, true, &mask);
    if (!dib.ok()) return dib.error();
    // 32-bit icons carry real transparency in their alpha channel; older
    // ones rely on the AND mask alone.
    if (dib->any_alpha) {
        for (size_t i = 0; i < mask.size(); ++i) mask[i] = dib->alpha[i] >= 128 ? 1 : 0;
    }
    auto pic = std::make_shared<Picture>(std::move(dib->pixels), PictureKind::kIcon);
    pic->set_mask(std::move(mask));
    return pic;
}

// Rounds n / d (d > 0) to the nearest integer, halves to even.
int64_t DivRoundEven(int64_t n, int64_t d) {
    int64_t q = n / d;
    int64_t r = n % d;
    if (r < 0) {
        r += d;
        --q;
    }
    if (2 * r > d || (2 * r == d && (q % 2) != 0)) ++q;
    return q;
}

}  // namespace

int32_t PixelsToHimetric(int32_t pixels) {
    return static_cast<int32_t>(DivRoundEven(int64_t{pixels} * 2540, kPixelsPerInch));
}

int32_t HimetricToPixels(int32_t himetric) {
    return static_cast<int32_t>(DivRoundEven(int64_t{himetric} * kPixelsPerInch, 2540));
}

Picture::Picture(Surface pixels, PictureKind kind) : pixels_(std::move(pixels)), kind_(kind) {
}

bool Picture::opaque_at(int32_t x, int32_t y) const {
    if (x < 0 || y < 0 || x >= pixels_.width() || y >= pixels_.height()) return false;
    if (mask_.empty()) return true;
    const size_t i = static_cast<size_t>(y) * pixels_.width() + x;
    return i < mask_.size() && mask_[i] != 0;
}

Result<PictureRef> LoadPictureFromMemory(const uint8_t* data, size_t size) {
    if (data == nullptr || size < 4) return Invalid("not a picture");
    const Bytes in(data, size);
    if (in.u8(0) == 'B' && in.u8(1) == 'M') return LoadBmp(in);
    if (in.le16(0) == 0 && (in.le16(2) == 1 || in.le16(2) == 2)) return LoadIco(in);
    if (IsPng(in)) {
        if (!PngSizeAcceptable(in)) return Invalid("PNG size out of range");
        Result<SdlImage> image = DecodeWithSdl(data, size, IMG_LoadPNG_RW);
        if (!image.ok()) return image.error();
        return BitmapFrom(std::move(*image));
    }
    if (in.has(0, 6) &&
        (std::memcmp(data, "GIF87a", 6) == 0 || std::memcmp(data, "GIF89a", 6) == 0)) {
        if (!GifSizeAcceptable(in)) return Invalid("GIF size out of range");
        Result<SdlImage> image = DecodeWithSdl(data, size, IMG_LoadGIF_RW);
        if (!image.ok()) return image.error();
        return BitmapFrom(std::move(*image));
    }
    if (in.u8(0) == 0xFF && in.u8(1) == 0xD8 && in.u8(2) == 0xFF) {
        if (!JpegSizeAcceptable(in)) return Invalid("JPEG size out of range");
        Result<SdlImage> image = DecodeWithSdl(data, size, IMG_LoadJPG_RW);
        if (!image.ok()) return image.error();
        return BitmapFrom(std::move(*image));
    }
    return Invalid("unknown picture format");
}

Result<PictureRef> LoadPicture(const std::string& path) {
    // Opened without blocking and read only when it is a regular file: a
    // pipe in its place would wait for a writer, a device might never end.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) return MakeError(ErrorCode::kFileNotFound, "cannot open " + path);
    std::vector<uint8_t> bytes;
    struct stat st {};
    bool read_all = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    if (read_all && static_cast<uint64_t>(st.st_size) > kMaxFileBytes) {
        ::close(fd);
        return Invalid("picture file too large");
    }
    if (read_all) bytes.resize(static_cast<size_t>(st.st_size));
    for (size_t got = 0; read_all && got < bytes.size();) {
        const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) read_all = false;  // an error, or a file that shrank meanwhile
        if (n > 0) got += static_cast<size_t>(n);
    }
    ::close(fd);
    if (!read_all) return MakeError(ErrorCode::kFileIo, "cannot read a picture from " + path);
    return LoadPictureFromMemory(bytes.data(), bytes.size());
}

std::vector<uint8_t> EncodeBmp24(const Surface& pixels) {
    const int32_t w = pixels.width();
    const int32_t h = pixels.height();
    const size_t stride = ((static_cast<size_t>(w) * 3) + 3) & ~size_t{3};
    const size_t image_bytes = stride * static_cast<size_t>(h);
    std::vector<uint8_t> out(54 + image_bytes, 0);
    auto put16 = [&](size_t at, uint32_t v) {
        out[at] = static_cast<uint8_t>(v);
        out[at + 1] = static_cast<uint8_t>(v >> 8);
    };
    auto put32 = [&](size_t at, uint32_t v) {
        put16(at, v & 0xFFFF);
        put16(at + 2, v >> 16);
    };
    out[0] = 'B';
    out[1] = 'M';
    put32(2, static_cast<uint32_t>(out.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<uint32_t>(w));
    put32(22, static_cast<uint32_t>(h));
    put16(26, 1);
    put16(28, 24);
    put32(34, static_cast<uint32_t>(image_bytes));
    put32(38, 3780);  // 96 dpi in pixels per metre
    put32(42, 3780);
    for (int32_t y = 0; y < h; ++y) {
        uint8_t* row = out.data() + 54 + static_cast<size_t>(h - 1 - y) * stride;
        for (int32_t x = 0; x < w; ++x) {
            const Color c = pixels.pixel(x, y);
            row[x * 3] = BlueOf(c);
            row[x * 3 + 1] = GreenOf(c);
            row[x * 3 + 2] = RedOf(c);
        }
    }
    return out;
}

}  // namespace platform
