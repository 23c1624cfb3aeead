// Collection file writer: the resource header, the "TPF0" object stream with
// its tagged values, picture items ("TDIB", "TBitmap", "TJPEGImage" data) and
// wave items with RIFF wave images. The mirror of the game's reader.
#include "levpack.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include <jpeglib.h>

namespace levpack {
namespace {

// Tag bytes of the object stream's values.
enum : uint8_t {
    kTagNull = 0,
    kTagInt8 = 2,
    kTagInt16 = 3,
    kTagInt32 = 4,
    kTagString = 6,
    kTagIdent = 7,
    kTagFalse = 8,
    kTagTrue = 9,
    kTagBinary = 10,
    kTagCollection = 14,
};

class ByteWriter {
public:
    std::vector<uint8_t> bytes;

    void U8(uint8_t v) { bytes.push_back(v); }
    void U16(uint16_t v) {
        U8(uint8_t(v));
        U8(uint8_t(v >> 8));
    }
    void U32(uint32_t v) {
        U16(uint16_t(v));
        U16(uint16_t(v >> 16));
    }
    void Raw(const void* data, size_t size) {
        const auto* p = static_cast<const uint8_t*>(data);
        bytes.insert(bytes.end(), p, p + size);
    }
    void Raw(const std::vector<uint8_t>& data) { bytes.insert(bytes.end(), data.begin(), data.end()); }
    void Chars(const char* text) {
        while (*text) U8(uint8_t(*text++));
    }
    // Length byte, then the characters.
    void ShortString(const std::string& s) {
        if (s.size() > 255) throw std::invalid_argument("levpack: name longer than 255 characters: " + s);
        U8(uint8_t(s.size()));
        Raw(s.data(), s.size());
    }
    // The smallest integer tag that holds the value.
    void Integer(int64_t v) {
        if (v >= -128 && v <= 127) {
            U8(kTagInt8);
            U8(uint8_t(int8_t(v)));
        } else if (v >= -32768 && v <= 32767) {
            U8(kTagInt16);
            U16(uint16_t(int16_t(v)));
        } else {
            U8(kTagInt32);
            U32(uint32_t(int32_t(v)));
        }
    }
    void Bool(bool v) { U8(v ? kTagTrue : kTagFalse); }
    void String(const std::string& s) {
        U8(kTagString);
        ShortString(s);
    }
    void Ident(const std::string& s) {
        U8(kTagIdent);
        ShortString(s);
    }
    void Binary(const std::vector<uint8_t>& data) {
        U8(kTagBinary);
        U32(uint32_t(data.size()));
        Raw(data);
    }
};

// Colours that have a name of their own are stored as that name, the way a
// collection editor stores them; the game's reader accepts both forms.
struct NamedColour {
    const char* name;
    uint32_t value;
};
constexpr NamedColour kNamedColours[] = {
    {"clBlack", 0x000000},  {"clMaroon", 0x000080},  {"clGreen", 0x008000}, {"clOlive", 0x008080},
    {"clNavy", 0x800000},   {"clPurple", 0x800080},  {"clTeal", 0x808000},  {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0}, {"clRed", 0x0000FF},     {"clLime", 0x00FF00},  {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},   {"clFuchsia", 0xFF00FF}, {"clAqua", 0xFFFF00},  {"clWhite", 0xFFFFFF},
    {"clNone", 0x1FFFFFFF},
};

void WriteColour(ByteWriter& out, uint32_t colour) {
    for (const NamedColour& c : kNamedColours) {
        if (c.value == colour) {
            out.Ident(c.name);
            return;
        }
    }
    out.Integer(int32_t(colour));
}

void CheckPixels(const PictureEntry& p) {
    if (p.width < 0 || p.height < 0 || size_t(p.width) * size_t(p.height) != p.pixels.size())
        throw std::invalid_argument("levpack: picture '" + p.name + "' has " + std::to_string(p.pixels.size()) +
                                    " pixels for " + std::to_string(p.width) + "x" + std::to_string(p.height));
}

// A 40-byte information header followed by bottom-up rows without palette:
// 24 bits (blue, green, red; rows padded to 4 bytes) or 32 bits (blue, green,
// red, 0).
void WriteDib(ByteWriter& out, const PictureEntry& p, int bits) {
    const uint32_t stride = ((uint32_t(p.width) * uint32_t(bits) + 31) / 32) * 4;
    out.U32(40);
    out.U32(uint32_t(p.width));
    out.U32(uint32_t(p.height));
    out.U16(1);  // planes
    out.U16(uint16_t(bits));
    out.U32(0);  // BI_RGB
    out.U32(stride * uint32_t(p.height));
    out.U32(2835);  // 72 dpi
    out.U32(2835);
    out.U32(0);  // colours used
    out.U32(0);  // important colours
    for (int y = p.height - 1; y >= 0; --y) {
        const size_t start = out.bytes.size();
        for (int x = 0; x < p.width; ++x) {
            const uint32_t c = p.pixels[size_t(y) * size_t(p.width) + size_t(x)];
            out.U8(uint8_t(c >> 16));  // blue
            out.U8(uint8_t(c >> 8));   // green
            out.U8(uint8_t(c));        // red
            if (bits == 32) out.U8(0);
        }
        while (out.bytes.size() - start < stride) out.U8(0);
    }
}

struct JpegErrorManager {
    jpeg_error_mgr pub;
    jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void JpegErrorExit(j_common_ptr info) {
    auto* err = reinterpret_cast<JpegErrorManager*>(info->err);
    (*info->err->format_message)(info, err->message);
    longjmp(err->jump, 1);
}

// The libjpeg part: the caller's buffer and size live outside this frame, so
// a longjmp back here leaves nothing indeterminate behind.
bool CompressInto(const PictureEntry& p, uint8_t* row, JpegErrorManager* err, jpeg_compress_struct* cinfo,
                  unsigned char** buffer, unsigned long* size) {
    if (setjmp(err->jump)) {
        jpeg_destroy_compress(cinfo);
        return false;
    }
    jpeg_create_compress(cinfo);
    jpeg_mem_dest(cinfo, buffer, size);
    cinfo->image_width = JDIMENSION(p.width);
    cinfo->image_height = JDIMENSION(p.height);
    cinfo->input_components = 3;
    cinfo->in_color_space = JCS_RGB;
    jpeg_set_defaults(cinfo);
    jpeg_set_quality(cinfo, p.jpegQuality, TRUE);
    jpeg_start_compress(cinfo, TRUE);
    while (cinfo->next_scanline < cinfo->image_height) {
        const uint32_t* src = &p.pixels[size_t(cinfo->next_scanline) * size_t(p.width)];
        for (int x = 0; x < p.width; ++x) {
            row[size_t(x) * 3 + 0] = uint8_t(src[x]);
            row[size_t(x) * 3 + 1] = uint8_t(src[x] >> 8);
            row[size_t(x) * 3 + 2] = uint8_t(src[x] >> 16);
        }
        JSAMPROW rows[1] = {row};
        jpeg_write_scanlines(cinfo, rows, 1);
    }
    jpeg_finish_compress(cinfo);
    jpeg_destroy_compress(cinfo);
    return true;
}

std::vector<uint8_t> EncodeJpeg(const PictureEntry& p) {
    jpeg_compress_struct cinfo{};
    JpegErrorManager err{};
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = JpegErrorExit;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    std::vector<uint8_t> row(size_t(p.width) * 3);
    const bool ok = CompressInto(p, row.data(), &err, &cinfo, &buffer, &size);
    // After a failure the library may already have replaced the buffer it
    // handed out, so it is left alone then (a rare leak beats a double free).
    if (!ok) throw std::runtime_error(std::string("levpack: JPEG encoding failed: ") + err.message);
    std::vector<uint8_t> result(buffer, buffer + size);
    free(buffer);
    return result;
}

// "Picture.Data": the image class name, then that class's data. A picture
// without pixels is an empty "TDIB".
std::vector<uint8_t> PictureDataBytes(const PictureEntry& p) {
    ByteWriter out;
    if (p.width == 0 || p.height == 0) {
        out.ShortString("TDIB");
        return out.bytes;
    }
    switch (p.data) {
        case PictureData::Dib:
            out.ShortString("TDIB");
            WriteDib(out, p, 24);
            break;
        case PictureData::Bitmap: {
            ByteWriter dib;
            WriteDib(dib, p, 32);
            const uint32_t fileSize = 14 + uint32_t(dib.bytes.size());
            out.ShortString("TBitmap");
            out.U32(fileSize);
            out.Chars("BM");
            out.U32(fileSize);
            out.U32(0);        // reserved
            out.U32(14 + 40);  // offset of the pixel rows
            out.Raw(dib.bytes);
            break;
        }
        case PictureData::Jpeg: {
            const std::vector<uint8_t> jpeg = EncodeJpeg(p);
            out.ShortString("TJPEGImage");
            out.U32(uint32_t(jpeg.size()));
            out.Raw(jpeg);
            break;
        }
    }
    return out.bytes;
}

// Resource header around the object stream.
std::vector<uint8_t> WithHeader(const std::string& resourceName, const std::vector<uint8_t>& stream) {
    ByteWriter out;
    out.U8(0xFF);
    out.U16(10);
    out.Chars(resourceName.c_str());
    out.U8(0);
    out.U16(0x1030);
    out.U32(uint32_t(stream.size()));
    out.Raw(stream);
    return out.bytes;
}

}  // namespace

std::vector<uint8_t> WritePictureCollection(const std::vector<PictureEntry>& items,
                                            const std::vector<uint8_t>& colorTable) {
    if (!colorTable.empty() && colorTable.size() != 1024)
        throw std::invalid_argument("levpack: colour table must be 1024 bytes");
    ByteWriter out;
    out.Chars("TPF0");
    out.ShortString("TPictureCollectionComponent");
    out.ShortString("");
    out.ShortString("List.ColorTable");
    out.Binary(colorTable.empty() ? std::vector<uint8_t>(1024, 0) : colorTable);
    out.ShortString("List");
    out.U8(kTagCollection);
    for (const PictureEntry& p : items) {
        CheckPixels(p);
        // An item must not open with a name of 2..4 characters: the reader
        // would take its length byte for an integer tag (the item's order).
        out.ShortString("PatternHeight");
        out.Integer(p.patternHeight);
        out.ShortString("PatternWidth");
        out.Integer(p.patternWidth);
        out.ShortString("Name");
        out.String(p.name);
        out.ShortString("SkipHeight");
        out.Integer(p.skipHeight);
        out.ShortString("SkipWidth");
        out.Integer(p.skipWidth);
        out.ShortString("SystemMemory");
        out.Bool(p.systemMemory);
        out.ShortString("Transparent");
        out.Bool(p.transparent);
        out.ShortString("TransparentColor");
        WriteColour(out, p.transparentColor);
        out.ShortString("Picture.Data");
        out.Binary(PictureDataBytes(p));
        out.U8(0);  // end of the item's properties
    }
    out.U8(0);  // end of the collection
    out.U8(0);  // end of the root's properties
    out.U8(0);  // no child objects
    return WithHeader("TPICTURECOLLECTIONCOMPONENT", out.bytes);
}

std::vector<uint8_t> WaveImage(const WaveEntry& wave) {
    if (wave.channels <= 0 || wave.sampleRate <= 0 || wave.bitsPerSample <= 0)
        throw std::invalid_argument("levpack: wave '" + wave.name + "' has no valid format");
    const uint16_t blockAlign = uint16_t(wave.channels * ((wave.bitsPerSample + 7) / 8));
    ByteWriter out;
    out.Chars("RIFF");
    out.U32(uint32_t(4 + 8 + 16 + 8 + wave.samples.size()));
    out.Chars("WAVE");
    out.Chars("fmt ");
    out.U32(16);
    out.U16(1);  // PCM
    out.U16(uint16_t(wave.channels));
    out.U32(uint32_t(wave.sampleRate));
    out.U32(uint32_t(wave.sampleRate) * blockAlign);
    out.U16(blockAlign);
    out.U16(uint16_t(wave.bitsPerSample));
    out.Chars("data");
    out.U32(uint32_t(wave.samples.size()));
    out.Raw(wave.samples);
    return out.bytes;
}

std::vector<uint8_t> WriteWaveCollection(const std::vector<WaveEntry>& items) {
    ByteWriter out;
    out.Chars("TPF0");
    out.ShortString("TWaveCollectionComponent");
    out.ShortString("");
    out.ShortString("List");
    out.U8(kTagCollection);
    for (const WaveEntry& w : items) {
        // "Looped" first: see WritePictureCollection.
        out.ShortString("Looped");
        out.Bool(w.looped);
        out.ShortString("MaxPlayingCount");
        out.Integer(w.maxPlayingCount);
        out.ShortString("Name");
        out.String(w.name);
        out.ShortString("Wave.WAVE");
        out.Binary(WaveImage(w));
        out.U8(0);
    }
    out.U8(0);
    out.U8(0);
    out.U8(0);
    return WithHeader("TWAVECOLLECTIONCOMPONENT", out.bytes);
}

}  // namespace levpack
