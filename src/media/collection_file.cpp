// Loading picture and wave collections from ".lev" files: the resource
// header, the "TPF0" object stream of the collection component, its "List"
// of items with their properties and defaults, and the colour identifiers.
#include "media/collection_file.h"

#include <cstring>
#include <memory>

#include "media/media_error.h"
#include "media/object_stream.h"
#include "media/whole_file.h"

namespace {

// No collection of the game comes near these; a larger file, or one whose
// pictures decode to more pixels in all, is not one of ours.
constexpr long kMaxFileSize = 256L << 20;
constexpr uint64_t kMaxCollectionPixels = uint64_t(64) << 20;

// An error that already names the property or item it happened in; outer
// levels pass it on unchanged.
struct PropertyError : MediaError {
    using MediaError::MediaError;
};

struct NamedColour {
    const char* name;
    uint32_t value;
};

// The sixteen standard colours and "no colour".
constexpr NamedColour kColourNames[] = {
    {"clBlack", 0x000000},  {"clMaroon", 0x000080},  {"clGreen", 0x008000}, {"clOlive", 0x008080},
    {"clNavy", 0x800000},   {"clPurple", 0x800080},  {"clTeal", 0x808000},  {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0}, {"clRed", 0x0000FF},     {"clLime", 0x00FF00},  {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},   {"clFuchsia", 0xFF00FF}, {"clAqua", 0xFFFF00},  {"clWhite", 0xFFFFFF},
    {"clNone", 0x1FFFFFFF},
};

// The system colours 0x80000000 + n in their usual desktop values, fixed so
// that a picture keyed on one of them always loads with the same key.
struct SystemColour {
    const char* name;
    uint32_t value;  // 0xBBGGRR
};
constexpr SystemColour kSystemColours[] = {
    {"clScrollBar", 0xC8C8C8},     {"clBackground", 0x000000},
    {"clActiveCaption", 0xD1B499}, {"clInactiveCaption", 0xDBCDBF},
    {"clMenu", 0xF0F0F0},          {"clWindow", 0xFFFFFF},
    {"clWindowFrame", 0x646464},   {"clMenuText", 0x000000},
    {"clWindowText", 0x000000},    {"clCaptionText", 0x000000},
    {"clActiveBorder", 0xB4B4B4},  {"clInactiveBorder", 0xFCF7F4},
    {"clAppWorkSpace", 0xABABAB},  {"clHighlight", 0xD77800},
    {"clHighlightText", 0xFFFFFF}, {"clBtnFace", 0xF0F0F0},
    {"clBtnShadow", 0xA0A0A0},     {"clGrayText", 0x6D6D6D},
    {"clBtnText", 0x000000},       {"clInactiveCaptionText", 0x000000},
    {"clBtnHighlight", 0xFFFFFF},  {"cl3DDkShadow", 0x696969},
    {"cl3DLight", 0xE3E3E3},       {"clInfoText", 0x000000},
    {"clInfoBk", 0xE1FFFF},
};
constexpr uint32_t kSystemColourBase = 0x80000000u;
constexpr uint32_t kSystemColourCount = sizeof kSystemColours / sizeof kSystemColours[0];

bool SameText(const std::string& a, const char* b) {
    const size_t n = std::strlen(b);
    if (a.size() != n) return false;
    for (size_t i = 0; i < n; ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = char(x + 32);
        if (y >= 'A' && y <= 'Z') y = char(y + 32);
        if (x != y) return false;
    }
    return true;
}

// Integer colours 0x80000000.. name system colours; everything else stands.
uint32_t MapColour(uint32_t colour) {
    if (colour >= kSystemColourBase && colour < kSystemColourBase + kSystemColourCount)
        return kSystemColours[colour - kSystemColourBase].value;
    return colour;
}

uint32_t ReadColourValue(ByteReader& in) {
    if (in.Peek() == uint8_t(ValueTag::Ident)) {
        const std::string name = ReadIdentValue(in);
        uint32_t colour = 0;
        if (!ColorFromIdentifier(name, colour)) throw StreamReadError("Unknown colour '" + name + "'");
        return colour;
    }
    return MapColour(uint32_t(ReadIntegerValue(in)));
}

// The file's bytes: only a regular file (a pipe at the name would hold up
// the start), and none larger than any collection of ours.
std::vector<uint8_t> ReadCollectionBytes(const std::string& path) {
    std::string bytes;
    const WholeFileRead read = ReadWholeFile(path, size_t(kMaxFileSize), bytes);
    if (read.status == WholeFileStatus::TooLarge) throw MediaError("Invalid stream format");
    if (!read.Ok()) throw MediaError("Cannot open file " + path);
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

// Checks the resource header and the signature and reads the class and
// object names; leaves the reader at the first property.
ByteReader OpenObjectStream(const std::vector<uint8_t>& bytes) {
    // The header: 0xFF, uint16 10, the resource name up to its zero, uint16
    // flags, uint32 size; only the first three bytes are checked, as the
    // header is looked at through its first 79 bytes.
    const size_t probe = bytes.size() < 79 ? bytes.size() : 79;
    if (probe < 3 || bytes[0] != 0xFF || bytes[1] != 10 || bytes[2] != 0) throw MediaError("Invalid stream format");
    const void* zero = std::memchr(bytes.data() + 3, 0, probe - 3);
    if (!zero) throw MediaError("Invalid stream format");
    const size_t nameLength = size_t(static_cast<const uint8_t*>(zero) - (bytes.data() + 3));
    const size_t start = nameLength + 10;
    if (start > bytes.size() || bytes.size() - start < 4 || std::memcmp(bytes.data() + start, "TPF0", 4) != 0)
        throw MediaError("Invalid stream format");
    ByteReader in(bytes.data() + start + 4, bytes.size() - start - 4);
    try {
        in.ShortString();  // class name
        in.ShortString();  // object name
    } catch (const StreamReadError&) {
        throw MediaError("Invalid stream format");
    }
    return in;
}

// An item begins, after its optional order value, with its first property.
// The order value's tag byte (2, 3 or 4) cannot be told from the length byte
// of a property name, so a tag byte there is always taken as the order.
void SkipItemOrder(ByteReader& in) {
    const uint8_t first = in.Peek();
    if (first == uint8_t(ValueTag::Int8) || first == uint8_t(ValueTag::Int16) || first == uint8_t(ValueTag::Int32))
        ReadIntegerValue(in);
}

std::string ItemWhere(size_t index) { return "item " + std::to_string(index) + " of List"; }

// Reads the items of a "List" collection: readProperty(name, in) reads one
// property into the item and returns false for an unknown name; finish()
// stores the complete item. Errors name the item and property.
template <class BeginItem, class ReadProperty, class FinishItem>
void ReadCollectionItems(ByteReader& in, BeginItem begin, ReadProperty readProperty, FinishItem finish) {
    const uint8_t tag = in.U8();
    if (tag != uint8_t(ValueTag::Collection))
        throw PropertyError("Error reading property 'List': Invalid property value");
    for (size_t index = 0;; ++index) {
        std::string property;
        try {
            if (in.Peek() == 0) break;
            SkipItemOrder(in);
            begin();
            while (in.Peek() != 0) {
                property = in.ShortString();
                if (!readProperty(property, in))
                    throw PropertyError("Error reading " + ItemWhere(index) + ": Unknown property '" + property + "'");
                property.clear();
            }
            in.U8();
        } catch (const StreamReadError& e) {
            if (property.empty()) throw PropertyError("Error reading " + ItemWhere(index) + ": " + e.what());
            throw PropertyError("Error reading property '" + property + "' of " + ItemWhere(index) + ": " + e.what());
        }
        finish();
    }
    in.U8();  // end of the collection
}

// Reads the root's properties with readRoot(name, in) (false = unknown),
// then the end marks of the properties and of the (absent) children.
template <class ReadRoot>
void ReadRootProperties(ByteReader& in, ReadRoot readRoot) {
    std::string property;
    try {
        while (in.Peek() != 0) {
            property = in.ShortString();
            if (!readRoot(property, in)) throw PropertyError("Unknown property '" + property + "'");
            property.clear();
        }
        in.U8();
        if (in.U8() != 0) throw StreamReadError("Unexpected child object");
    } catch (const StreamReadError& e) {
        if (property.empty()) throw PropertyError(std::string("Error reading collection: ") + e.what());
        throw PropertyError("Error reading property '" + property + "': " + e.what());
    }
}

// "Picture.Data": the image class name, then its data.
RgbImage ReadPictureData(ByteReader& in) {
    const ByteSpan span = ReadBinaryValue(in);
    if (span.size == 0) return {};
    ByteReader data(span.data, span.size, ByteReader::OnEnd::DibInvalid);
    const std::string className = data.ShortString();
    if (SameText(className, "TDIB")) return DecodePackedDib(data.Current(), data.Remaining());
    if (SameText(className, "TBitmap")) {
        const uint32_t size = data.U32();
        const uint8_t* bytes = data.Take(size);
        return DecodeBmpFile(bytes, size);
    }
    if (SameText(className, "TJPEGImage")) {
        const uint32_t size = data.U32();
        if (size > data.Remaining()) throw MediaError("JPEG image is invalid: data ends early");
        return DecodeJpeg(data.Take(size), size);
    }
    // Icons, metafiles and classes nobody knows: the item keeps an empty picture.
    return {};
}

bool ReadPictureProperty(const std::string& name, ByteReader& in, PictureItem& item, RgbImage& image) {
    if (SameText(name, "Name")) item.Name = ReadStringValue(in);
    else if (SameText(name, "PatternHeight")) item.StoredPatternHeight = ReadIntegerValue(in);
    else if (SameText(name, "PatternWidth")) item.StoredPatternWidth = ReadIntegerValue(in);
    else if (SameText(name, "SkipHeight")) item.SkipHeight = ReadIntegerValue(in);
    else if (SameText(name, "SkipWidth")) item.SkipWidth = ReadIntegerValue(in);
    else if (SameText(name, "SystemMemory")) item.SystemMemory = ReadBooleanValue(in);
    else if (SameText(name, "Transparent")) item.Transparent = ReadBooleanValue(in);
    else if (SameText(name, "TransparentColor")) item.TransparentColor = ReadColourValue(in);
    else if (SameText(name, "Picture.Data")) image = ReadPictureData(in);
    else return false;
    return true;
}

bool ReadWaveProperty(const std::string& name, ByteReader& in, WaveItem& item) {
    if (SameText(name, "Name")) item.Name = ReadStringValue(in);
    else if (SameText(name, "Looped")) item.Looped = ReadBooleanValue(in);
    else if (SameText(name, "MaxPlayingCount")) item.MaxPlayingCount = ReadIntegerValue(in);
    else if (SameText(name, "Wave.WAVE")) {
        const ByteSpan span = ReadBinaryValue(in);
        item.wave = ParseWaveImage(span.data, span.size);
    } else return false;
    return true;
}

}  // namespace

bool ColorFromIdentifier(const std::string& name, uint32_t& colour) {
    for (const NamedColour& c : kColourNames) {
        if (SameText(name, c.name)) {
            colour = c.value;
            return true;
        }
    }
    for (const SystemColour& c : kSystemColours) {
        if (SameText(name, c.name)) {
            colour = c.value;
            return true;
        }
    }
    return false;
}

void ReadPictureCollection(PictureCollection& collection, const std::vector<uint8_t>& bytes) {
    collection.items.clear();
    collection.byLowerName.clear();
    uint64_t pixels = 0;  // decoded so far, all items together
    try {
        ByteReader in = OpenObjectStream(bytes);
        ReadRootProperties(in, [&](const std::string& name, ByteReader& r) {
            if (SameText(name, "List.ColorTable")) {
                // The palette of 256 entries matters only to palette displays.
                if (ReadBinaryValue(r).size != 1024) throw StreamReadError("colour table is not 1024 bytes");
                return true;
            }
            if (!SameText(name, "List")) return false;
            PictureItem item;
            RgbImage image;
            ReadCollectionItems(
                r,
                [&] {
                    item = PictureItem{};
                    image = RgbImage{};
                },
                [&](const std::string& property, ByteReader& pr) {
                    if (!ReadPictureProperty(property, pr, item, image)) return false;
                    if (!SameText(property, "Picture.Data")) return true;
                    pixels += uint64_t(image.width) * uint64_t(image.height);
                    if (pixels > kMaxCollectionPixels)
                        throw StreamReadError("the pictures are larger than " + std::to_string(kMaxCollectionPixels) +
                                              " pixels in all");
                    return true;
                },
                [&] {
                    PreparePicture(item, image);
                    collection.items.push_back(std::move(item));
                });
            return true;
        });
    } catch (...) {
        IndexCollection(collection);
        throw;
    }
    IndexCollection(collection);
}

void ReadWaveCollection(WaveCollection& collection, const std::vector<uint8_t>& bytes) {
    collection.items.clear();
    collection.byLowerName.clear();
    try {
        ByteReader in = OpenObjectStream(bytes);
        ReadRootProperties(in, [&](const std::string& name, ByteReader& r) {
            if (!SameText(name, "List")) return false;
            WaveItem item;
            ReadCollectionItems(
                r, [&] { item = WaveItem{}; },
                [&](const std::string& property, ByteReader& pr) { return ReadWaveProperty(property, pr, item); },
                [&] { collection.items.push_back(std::move(item)); });
            return true;
        });
    } catch (...) {
        IndexCollection(collection);
        throw;
    }
    IndexCollection(collection);
}

void LoadPictureCollection(PictureCollection& collection, const std::string& path) {
    const std::vector<uint8_t> bytes = ReadCollectionBytes(path);
    ReadPictureCollection(collection, bytes);
}

void LoadWaveCollection(WaveCollection& collection, const std::string& path) {
    const std::vector<uint8_t> bytes = ReadCollectionBytes(path);
    ReadWaveCollection(collection, bytes);
}
