// Decoding of the bitmap picture data of collection files: packed
// device-independent bitmaps ("TDIB") and BMP file images ("TBitmap"), with
// core or info headers, palettes, 1..32 bits per pixel, colour masks, RLE8
// and RLE4. Damaged data gives "DIB is invalid", never a read past the end.
#include <algorithm>
#include <bit>
#include <cstdint>
#include <vector>

#include "media/collection_file.h"
#include "media/media_error.h"
#include "media/object_stream.h"

namespace {

// Pictures larger than this are refused: no picture of the game comes near,
// and a damaged header must not ask for gigabytes.
constexpr int64_t kMaxSide = 16384;
constexpr int64_t kMaxPixels = int64_t(16) << 20;

enum : uint32_t { kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3 };

[[noreturn]] void Invalid() { throw MediaError("DIB is invalid"); }

uint32_t Rgb(uint8_t r, uint8_t g, uint8_t b) { return uint32_t(r) | (uint32_t(g) << 8) | (uint32_t(b) << 16); }

// One channel of a bit-field pixel, scaled to 0..255.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    uint32_t max = 0;

    explicit Channel(uint32_t m) : mask(m) {
        if (m == 0) return;
        shift = std::countr_zero(m);
        max = m >> shift;
    }
    uint8_t Get(uint32_t pixel) const {
        if (max == 0) return 0;
        const uint64_t v = (pixel & mask) >> shift;
        return uint8_t((v * 255 + max / 2) / max);
    }
};

struct DibHeader {
    int64_t width = 0, height = 0;
    bool topDown = false;
    int bits = 0;
    uint32_t compression = kBiRgb;
    uint32_t masks[3] = {0, 0, 0};
    std::vector<uint32_t> palette;
};

// Reads the header, masks and colour table; leaves the reader at the byte
// after the colour table.
DibHeader ReadHeader(ByteReader& in) {
    DibHeader h;
    const uint32_t headerSize = in.U32();
    bool core = false;
    uint32_t colorsUsed = 0;
    if (headerSize == 12) {
        core = true;
        h.width = in.U16();
        h.height = in.U16();
        in.U16();  // planes
        h.bits = in.U16();
    } else if (headerSize == 40 || headerSize == 52 || headerSize == 56 || headerSize == 108 || headerSize == 124) {
        // The information header and its longer successors, which only add
        // fields after the first 40 bytes (their masks sit where the masks
        // after a 40-byte header would).
        h.width = int32_t(in.U32());
        const int32_t height = int32_t(in.U32());
        in.U16();  // planes
        h.bits = in.U16();
        h.compression = in.U32();
        in.U32();  // image size
        in.U32();  // horizontal resolution
        in.U32();  // vertical resolution
        colorsUsed = in.U32();
        in.U32();  // important colours
        if (height < 0) {
            if (height == INT32_MIN) Invalid();
            h.topDown = true;
            h.height = -int64_t(height);
        } else {
            h.height = height;
        }
        if (h.compression == kBiBitfields || headerSize > 40) {
            if (h.compression == kBiBitfields || headerSize >= 52) {
                h.masks[0] = in.U32();
                h.masks[1] = in.U32();
                h.masks[2] = in.U32();
            }
            if (headerSize > 40) in.Skip(headerSize - 52);
        }
    } else {
        Invalid();
    }

    if (h.width < 0 || h.height < 0 || h.width > kMaxSide || h.height > kMaxSide) Invalid();
    if (h.width * h.height > kMaxPixels) Invalid();
    switch (h.bits) {
        case 1:
        case 4:
        case 8:
        case 16:
        case 24:
        case 32: break;
        default: Invalid();
    }
    switch (h.compression) {
        case kBiRgb: break;
        case kBiRle8:
            if (h.bits != 8 || h.topDown) Invalid();
            break;
        case kBiRle4:
            if (h.bits != 4 || h.topDown) Invalid();
            break;
        case kBiBitfields:
            if (h.bits != 16 && h.bits != 32) Invalid();
            break;
        default: Invalid();
    }

    size_t count = colorsUsed;
    if (h.bits <= 8 && (count == 0 || core)) count = size_t(1) << h.bits;
    // A table counted above 256 colours is read as 256; the pixels follow.
    count = std::min<size_t>(count, 256);
    const size_t entry = core ? 3 : 4;
    const uint8_t* table = in.Take(count * entry);
    if (h.bits <= 8) {
        h.palette.resize(size_t(1) << h.bits, 0);
        for (size_t i = 0; i < count && i < h.palette.size(); ++i) {
            const uint8_t* e = table + i * entry;
            h.palette[i] = Rgb(e[2], e[1], e[0]);
        }
    }
    return h;
}

uint32_t PaletteColour(const DibHeader& h, unsigned index) { return index < h.palette.size() ? h.palette[index] : 0; }

void DecodeRows(const DibHeader& h, ByteReader& in, RgbImage& image) {
    const uint64_t stride = ((uint64_t(h.width) * uint64_t(h.bits) + 31) / 32) * 4;
    const uint8_t* rows = in.Take(stride * uint64_t(h.height));

    uint32_t masks[3] = {h.masks[0], h.masks[1], h.masks[2]};
    if (h.compression == kBiRgb && h.bits == 16) {
        masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
    }
    const Channel red(masks[0]), green(masks[1]), blue(masks[2]);

    for (int64_t y = 0; y < h.height; ++y) {
        const uint8_t* src = rows + uint64_t(h.topDown ? y : h.height - 1 - y) * stride;
        uint32_t* dst = &image.pixels[size_t(y * h.width)];
        for (int64_t x = 0; x < h.width; ++x) {
            switch (h.bits) {
                case 1: dst[x] = PaletteColour(h, (src[x >> 3] >> (7 - (x & 7))) & 1); break;
                case 4: dst[x] = PaletteColour(h, (src[x >> 1] >> ((x & 1) ? 0 : 4)) & 15); break;
                case 8: dst[x] = PaletteColour(h, src[x]); break;
                case 16: {
                    const uint32_t p = uint32_t(src[2 * x] | (src[2 * x + 1] << 8));
                    dst[x] = Rgb(red.Get(p), green.Get(p), blue.Get(p));
                    break;
                }
                case 24: dst[x] = Rgb(src[3 * x + 2], src[3 * x + 1], src[3 * x]); break;
                case 32:
                    if (h.compression == kBiBitfields) {
                        const uint32_t p = uint32_t(src[4 * x]) | (uint32_t(src[4 * x + 1]) << 8) |
                                           (uint32_t(src[4 * x + 2]) << 16) | (uint32_t(src[4 * x + 3]) << 24);
                        dst[x] = Rgb(red.Get(p), green.Get(p), blue.Get(p));
                    } else {
                        dst[x] = Rgb(src[4 * x + 2], src[4 * x + 1], src[4 * x]);
                    }
                    break;
            }
        }
    }
}

// Run-length encoded rows, bottom-up. Pixels that no run reaches stay at
// palette entry 0; runs past the right edge are cut off; the data must end
// with the end-of-bitmap mark or after the last row.
void DecodeRle(const DibHeader& h, ByteReader& in, RgbImage& image) {
    const bool four = h.compression == kBiRle4;
    std::fill(image.pixels.begin(), image.pixels.end(), PaletteColour(h, 0));
    int64_t x = 0, y = 0;  // y counts rows from the bottom
    auto put = [&](unsigned index) {
        if (x < h.width && y < h.height)
            image.pixels[size_t((h.height - 1 - y) * h.width + x)] = PaletteColour(h, index);
        ++x;
    };
    while (y < h.height) {
        if (in.Remaining() < 2) Invalid();
        const uint8_t count = in.U8();
        const uint8_t value = in.U8();
        if (count > 0) {
            for (unsigned i = 0; i < count && x < h.width; ++i)
                put(four ? ((i & 1) ? (value & 15) : (value >> 4)) : value);
            continue;
        }
        switch (value) {
            case 0:  // end of line
                x = 0;
                ++y;
                break;
            case 1:  // end of bitmap
                return;
            case 2:  // delta
                x += in.U8();
                y += in.U8();
                break;
            default: {  // absolute run of `value` pixels, padded to a word
                const size_t bytes = four ? (size_t(value) + 1) / 2 : value;
                const uint8_t* src = in.Take(bytes);
                for (unsigned i = 0; i < value; ++i) {
                    if (x >= h.width) {
                        ++x;
                        continue;
                    }
                    put(four ? ((i & 1) ? (src[i / 2] & 15) : (src[i / 2] >> 4)) : src[i]);
                }
                if (bytes & 1) in.Skip(1);
                break;
            }
        }
    }
}

// Decodes from the header at the reader's position. pixelOffset, when not
// zero, is where the pixel data starts counted from the header (BMP files may
// leave a gap after the colour table).
RgbImage Decode(ByteReader& in, uint64_t pixelOffset) {
    const size_t start = in.Position();
    DibHeader h = ReadHeader(in);
    if (pixelOffset != 0) {
        const uint64_t consumed = in.Position() - start;
        if (pixelOffset < consumed) Invalid();
        in.Skip(pixelOffset - consumed);
    }
    RgbImage image;
    if (h.width == 0 || h.height == 0) return image;
    if (h.compression == kBiRle8 || h.compression == kBiRle4) {
        // Runs expand at most 255 pixels per two bytes; a header claiming
        // far more than its data can give is damaged.
        if (uint64_t(h.width) * uint64_t(h.height) > uint64_t(in.Remaining()) * 256 + 65536) Invalid();
    } else {
        const uint64_t stride = ((uint64_t(h.width) * uint64_t(h.bits) + 31) / 32) * 4;
        if (stride * uint64_t(h.height) > in.Remaining()) Invalid();
    }
    image.width = int(h.width);
    image.height = int(h.height);
    image.pixels.assign(size_t(h.width * h.height), 0);
    if (h.compression == kBiRle8 || h.compression == kBiRle4) DecodeRle(h, in, image);
    else DecodeRows(h, in, image);
    return image;
}

}  // namespace

RgbImage DecodePackedDib(const uint8_t* data, size_t size) {
    if (size == 0) return {};
    ByteReader in(data, size, ByteReader::OnEnd::DibInvalid);
    return Decode(in, 0);
}

RgbImage DecodeBmpFile(const uint8_t* data, size_t size) {
    if (size == 0) return {};
    ByteReader in(data, size, ByteReader::OnEnd::DibInvalid);
    if (in.U8() != 'B' || in.U8() != 'M') Invalid();
    in.U32();  // file size, often wrong; the binary's length counts
    in.U32();  // reserved
    const uint32_t offBits = in.U32();
    if (offBits != 0 && offBits < 14) Invalid();
    return Decode(in, offBits == 0 ? 0 : offBits - 14);
}
