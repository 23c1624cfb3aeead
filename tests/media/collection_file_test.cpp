// Collection files as the game reads them: round trips through the writer for
// every picture data class and for waves, files built byte by byte here,
// property defaults and colour identifiers, the bitmap decoders (palettes,
// masks, RLE, core headers) and every error message.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "levpack.h"
#include "media/collection_file.h"
#include "media/media_error.h"
#include "media/object_stream.h"
#include "media/wave.h"
#include "test_support.h"

// The byte builders and state set-ups below are laid out by hand, a value per field.
// clang-format off

namespace {

// Little-endian byte building, independent of the writer under test.
struct Bytes {
    std::vector<uint8_t> b;
    Bytes& U8(unsigned v) { b.push_back(uint8_t(v)); return *this; }
    Bytes& U16(unsigned v) { return U8(v & 0xFF).U8((v >> 8) & 0xFF); }
    Bytes& U32(uint32_t v) { return U16(v & 0xFFFF).U16(v >> 16); }
    Bytes& Str(const std::string& s) { for (char c : s) U8(uint8_t(c)); return *this; }
    Bytes& Short(const std::string& s) { return U8(unsigned(s.size())).Str(s); }
    Bytes& Raw(const std::vector<uint8_t>& v) { b.insert(b.end(), v.begin(), v.end()); return *this; }
    Bytes& Binary(const std::vector<uint8_t>& v) { return U8(10).U32(uint32_t(v.size())).Raw(v); }
};

// Resource header + "TPF0" + class and object name, then `body` (properties
// and the end marks).
std::vector<uint8_t> File(const std::string& className, const std::vector<uint8_t>& body) {
    Bytes stream;
    stream.Str("TPF0").Short(className).Short("").Raw(body);
    Bytes file;
    file.U8(0xFF).U16(10).Str("TEST").U8(0).U16(0x1030).U32(uint32_t(stream.b.size())).Raw(stream.b);
    return file.b;
}

// A picture collection whose "List" holds the given item bodies (each ends
// with its own 0).
std::vector<uint8_t> PictureFile(const std::vector<std::vector<uint8_t>>& items) {
    Bytes body;
    body.Short("List").U8(14);
    for (const auto& item : items) body.Raw(item);
    body.U8(0).U8(0).U8(0);
    return File("TPictureCollectionComponent", body.b);
}

std::vector<uint8_t> WaveFile(const std::vector<std::vector<uint8_t>>& items) {
    Bytes body;
    body.Short("List").U8(14);
    for (const auto& item : items) body.Raw(item);
    body.U8(0).U8(0).U8(0);
    return File("TWaveCollectionComponent", body.b);
}

// A packed 2x2 24-bit bottom-up DIB: top row red, green; bottom row blue, white.
std::vector<uint8_t> SmallDib() {
    Bytes d;
    d.U32(40).U32(2).U32(2).U16(1).U16(24).U32(0).U32(16).U32(0).U32(0).U32(0).U32(0);
    d.U8(0xFF).U8(0).U8(0).U8(0xFF).U8(0xFF).U8(0xFF).U16(0);  // bottom row: blue, white + pad
    d.U8(0).U8(0).U8(0xFF).U8(0).U8(0xFF).U8(0).U16(0);        // top row: red, green + pad
    return d.b;
}

std::vector<uint8_t> PictureDataTDib(const std::vector<uint8_t>& dib) {
    Bytes p;
    p.Short("TDIB").Raw(dib);
    return p.b;
}

std::string MessageOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const MediaError& e) {
        return e.what();
    }
    return "(no error)";
}

std::string ReadPicturesError(const std::vector<uint8_t>& bytes) {
    PictureCollection c;
    return MessageOf([&] { ReadPictureCollection(c, bytes); });
}

// Expected colours written 0xBBGGRR.
constexpr uint32_t kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000, kWhite = 0xFFFFFF;

// ---------------------------------------------------------------------------
// Round trips through the writer

levpack::PictureEntry Gradient(const std::string& name, int w, int h, levpack::PictureData data) {
    levpack::PictureEntry p;
    p.name = name;
    p.width = w;
    p.height = h;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p.pixels.push_back(uint32_t(x * 255 / std::max(1, w - 1)) | (uint32_t(y * 255 / std::max(1, h - 1)) << 8) |
                               (uint32_t((x + y) * 4 & 0xFF) << 16));
    p.data = data;
    return p;
}

TEST(CollectionRoundTrip, PicturesOfAllThreeDataClassesKeepPropertiesAndPixels) {
    std::vector<levpack::PictureEntry> descs = {
        Gradient("Lod", 7, 5, levpack::PictureData::Dib),
        Gradient("Exploze", 9, 4, levpack::PictureData::Bitmap),
        Gradient("Pozadi", 32, 24, levpack::PictureData::Jpeg),
    };
    descs[0].patternWidth = 3, descs[0].skipWidth = 1, descs[0].patternHeight = 5;
    descs[0].transparentColor = 0xFF00FF;
    descs[1].transparent = false, descs[1].systemMemory = true, descs[1].transparentColor = 0x123456;
    descs[1].patternHeight = 2, descs[1].skipHeight = 0;
    descs[2].transparent = false;

    const std::string dir = MakeTempDir("collection_roundtrip");
    const std::string path = dir + "/obrazky.lev";
    levpack::WriteFile(path, levpack::WritePictureCollection(descs));
    PictureCollection c;
    LoadPictureCollection(c, path);

    ASSERT_EQ(c.items.size(), 3u);
    for (size_t i = 0; i < descs.size(); ++i) {
        const PictureItem& item = c.items[i];
        const levpack::PictureEntry& s = descs[i];
        SCOPED_TRACE(s.name);
        EXPECT_EQ(item.Name, s.name);
        EXPECT_EQ(item.width, s.width);
        EXPECT_EQ(item.height, s.height);
        EXPECT_EQ(item.StoredPatternWidth, s.patternWidth);
        EXPECT_EQ(item.StoredPatternHeight, s.patternHeight);
        EXPECT_EQ(item.SkipWidth, s.skipWidth);
        EXPECT_EQ(item.SkipHeight, s.skipHeight);
        EXPECT_EQ(item.Transparent, s.transparent);
        EXPECT_EQ(item.SystemMemory, s.systemMemory);
        EXPECT_EQ(item.TransparentColor, s.transparentColor);
        ASSERT_EQ(item.pixels.size(), s.pixels.size());
        for (size_t p = 0; p < s.pixels.size(); ++p) {
            const uint32_t c24 = s.pixels[p];
            const int r = c24 & 0xFF, g = (c24 >> 8) & 0xFF, b = (c24 >> 16) & 0xFF;
            const uint16_t got = item.pixels[p];
            if (s.data == levpack::PictureData::Jpeg) {
                // Lossy: each channel near the original.
                EXPECT_NEAR((got >> 11) << 3, r, 40) << p;
                EXPECT_NEAR(((got >> 5) & 63) << 2, g, 40) << p;
                EXPECT_NEAR((got & 31) << 3, b, 40) << p;
            } else {
                EXPECT_EQ(got, uint16_t(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3))) << p;
            }
        }
    }
    // Frame grid from the stored pattern: 7 wide, frames of 3 with a gap of 1 -> 2 frames.
    EXPECT_EQ(FrameCount(c.items[0]), 2);
    EXPECT_EQ(&FindPicture(c, "exploze"), &c.items[1]);
}

TEST(CollectionRoundTrip, WavesKeepPropertiesFormatAndOddLengthSamples) {
    levpack::WaveEntry a;
    a.name = "Vystrel";
    a.maxPlayingCount = 3;
    a.samples = {1, 2, 3, 4, 5, 6};
    levpack::WaveEntry b;
    b.name = "Motor";
    b.looped = true;
    b.channels = 2;
    b.sampleRate = 44100;
    b.bitsPerSample = 8;
    b.samples = {9, 8, 7, 6, 5, 4, 3};  // odd: no pad byte follows
    levpack::WaveEntry empty;
    empty.name = "Ticho";

    const std::vector<uint8_t> bytes = levpack::WriteWaveCollection({a, b, empty});
    WaveCollection c;
    ReadWaveCollection(c, bytes);
    ASSERT_EQ(c.items.size(), 3u);
    EXPECT_EQ(c.items[0].Name, "Vystrel");
    EXPECT_FALSE(c.items[0].Looped);
    EXPECT_EQ(c.items[0].MaxPlayingCount, 3);
    EXPECT_EQ(c.items[0].wave.format.channels, 1);
    EXPECT_EQ(c.items[0].wave.format.sampleRate, 22050u);
    EXPECT_EQ(c.items[0].wave.format.bitsPerSample, 16);
    EXPECT_EQ(c.items[0].wave.format.blockAlign, 2);
    EXPECT_EQ(c.items[0].wave.format.byteRate, 44100u);
    EXPECT_EQ(c.items[0].wave.samples, a.samples);
    EXPECT_TRUE(c.items[1].Looped);
    EXPECT_EQ(c.items[1].wave.format.channels, 2);
    EXPECT_EQ(c.items[1].wave.format.bitsPerSample, 8);
    EXPECT_EQ(c.items[1].wave.samples, b.samples);
    EXPECT_TRUE(c.items[2].wave.samples.empty());
    EXPECT_EQ(&FindSound(c, "MOTOR"), &c.items[1]);
}

// ---------------------------------------------------------------------------
// Files written by hand

TEST(CollectionFile, HandWrittenPictureFileWithOrderValuesIdentifiersAndDefaults) {
    Bytes first;  // opens with an int8 order value, colour as identifier, no Transparent
    first.U8(2).U8(0)
        .Short("Name").U8(6).Short("Hvezda")
        .Short("TransparentColor").U8(7).Short("clFuchsia")
        .Short("Picture.Data").Binary(PictureDataTDib(SmallDib()))
        .U8(0);
    Bytes second;  // int32 order value, colour as integer, integers of every width
    second.U8(4).U32(1)
        .Short("Name").U8(12).U32(6).Str("Meteor")  // long string
        .Short("TransparentColor").U8(4).U32(16711935)
        .Short("PatternWidth").U8(3).U16(1)
        .Short("PatternHeight").U8(19).U32(2).U32(0)  // int64
        .Short("SkipWidth").U8(2).U8(0xFF)            // -1
        .Short("Transparent").U8(8)
        .Short("SystemMemory").U8(9)
        .U8(0);
    Bytes third;  // no order value, identifiers for booleans, empty picture
    third.Short("Transparent").U8(7).Short("False")
        .Short("Name").U8(18).U32(3).U16('P').U16('o').U16(0x0161)  // wide string
        .Short("Picture.Data").Binary({})
        .U8(0);
    Bytes body;
    body.Short("List.ColorTable").Binary(std::vector<uint8_t>(1024, 7))
        .Short("List").U8(14).Raw(first.b).Raw(second.b).Raw(third.b).U8(0)
        .U8(0).U8(0);
    PictureCollection c;
    ReadPictureCollection(c, File("TPictureCollectionComponent", body.b));

    ASSERT_EQ(c.items.size(), 3u);
    const PictureItem& a = c.items[0];
    EXPECT_EQ(a.Name, "Hvezda");
    EXPECT_TRUE(a.Transparent);  // the default
    EXPECT_FALSE(a.SystemMemory);
    EXPECT_EQ(a.StoredPatternWidth, 0);
    EXPECT_EQ(PatternWidth(a), 2);
    EXPECT_EQ(a.width, 2);
    EXPECT_EQ(a.height, 2);
    EXPECT_EQ(a.pixels[0], 0xF800);  // top-left red
    EXPECT_EQ(a.pixels[1], 0x07E0);  // top-right green
    EXPECT_EQ(a.pixels[2], 0x001F);  // bottom-left blue
    EXPECT_EQ(a.pixels[3], 0xFFFF);

    const PictureItem& b = c.items[1];
    EXPECT_EQ(b.Name, "Meteor");
    EXPECT_EQ(b.TransparentColor, a.TransparentColor);  // clFuchsia == 16711935
    EXPECT_EQ(b.TransparentColor, 0xFF00FFu);
    EXPECT_EQ(b.StoredPatternWidth, 1);
    EXPECT_EQ(b.StoredPatternHeight, 2);
    EXPECT_EQ(b.SkipWidth, -1);
    EXPECT_FALSE(b.Transparent);
    EXPECT_TRUE(b.SystemMemory);
    EXPECT_EQ(b.width, 0);

    EXPECT_EQ(c.items[2].Name, std::string("Po?"));
    EXPECT_FALSE(c.items[2].Transparent);
    EXPECT_EQ(c.items[2].width, 0);
}

TEST(CollectionFile, EmptyListLoadsAsEmptyCollection) {
    PictureCollection c;
    c.items.resize(2);  // loading replaces what was there
    ReadPictureCollection(c, PictureFile({}));
    EXPECT_TRUE(c.items.empty());
    EXPECT_THROW(FindPicture(c, "Lod"), MediaError);

    WaveCollection w;
    ReadWaveCollection(w, WaveFile({}));
    EXPECT_TRUE(w.items.empty());
    EXPECT_THROW(FindSound(w, "Vystrel"), MediaError);
}

TEST(CollectionFile, SystemColoursAndNamedColoursMapToFixedValues) {
    auto keyOf = [](const std::vector<uint8_t>& colourValue) {
        Bytes item;
        item.Short("TransparentColor").Raw(colourValue).U8(0);
        PictureCollection c;
        ReadPictureCollection(c, PictureFile({item.b}));
        return c.items.at(0).TransparentColor;
    };
    Bytes windowInt, windowName, noneName, redName;
    windowInt.U8(4).U32(0x80000005);
    windowName.U8(7).Short("clWindow");
    noneName.U8(7).Short("clNone");
    redName.U8(7).Short("CLRED");  // identifiers ignore letter case
    EXPECT_EQ(keyOf(windowInt.b), keyOf(windowName.b));
    EXPECT_LT(keyOf(windowInt.b), 0x1000000u);  // a real colour, not the system index
    EXPECT_EQ(keyOf(noneName.b), 0x1FFFFFFFu);
    EXPECT_EQ(keyOf(redName.b), kRed);

    uint32_t c = 0;
    EXPECT_TRUE(ColorFromIdentifier("clInfoBk", c));
    EXPECT_TRUE(ColorFromIdentifier("clScrollBar", c));
    EXPECT_FALSE(ColorFromIdentifier("clCerulean", c));
}

TEST(CollectionFile, WaveImageWithListChunkBetweenFormatAndDataLoads) {
    Bytes image;
    image.Str("RIFF").U32(4 + 24 + 8 + 5 + 8 + 4).Str("WAVE");
    image.Str("fmt ").U32(16).U16(1).U16(1).U32(11025).U32(22050).U16(2).U16(16);
    image.Str("LIST").U32(5).Str("INFOx");  // odd size, no pad byte after it
    image.Str("data").U32(4).U8(1).U8(2).U8(3).U8(4);
    Bytes item;
    item.Short("Looped").U8(8).Short("Name").U8(6).Short("Pip").Short("Wave.WAVE").Binary(image.b).U8(0);
    WaveCollection c;
    ReadWaveCollection(c, WaveFile({item.b}));
    ASSERT_EQ(c.items.size(), 1u);
    EXPECT_EQ(c.items[0].wave.format.sampleRate, 11025u);
    EXPECT_EQ(c.items[0].wave.samples, (std::vector<uint8_t>{1, 2, 3, 4}));
    EXPECT_EQ(c.items[0].MaxPlayingCount, 0);
}

TEST(CollectionFile, ReadingStopsAtTheEndOfTheWaveBinary) {
    // Trailing bytes too short for a chunk header are ignored.
    const std::vector<uint8_t> good = levpack::WaveImage(levpack::WaveEntry{"x", false, 0, 1, 8000, 8, {5, 6}});
    std::vector<uint8_t> tail = good;
    tail.insert(tail.end(), {1, 2, 3});
    EXPECT_EQ(ParseWaveImage(tail.data(), tail.size()).samples, (std::vector<uint8_t>{5, 6}));
    EXPECT_TRUE(ParseWaveImage(nullptr, 0).samples.empty());

    // A data chunk claiming more than the binary holds, among them the
    // 0xFFFFFFFF of recorders that never went back to write the size, holds
    // the samples up to the end of the binary.
    for (uint32_t claimed : {6u, 0xFFFFFFFFu}) {
        Bytes image;
        image.Str("RIFF").U32(0xFFFFFFFF).Str("WAVE");
        image.Str("fmt ").U32(16).U16(1).U16(1).U32(8000).U32(16000).U16(2).U16(16);
        image.Str("data").U32(claimed).U8(1).U8(2).U8(3).U8(4);
        Bytes item;
        item.Short("Looped").U8(8).Short("Name").U8(6).Short("Pip").Short("Wave.WAVE").Binary(image.b).U8(0);
        WaveCollection c;
        ReadWaveCollection(c, WaveFile({item.b}));
        ASSERT_EQ(c.items.size(), 1u) << claimed;
        EXPECT_EQ(c.items[0].wave.samples, (std::vector<uint8_t>{1, 2, 3, 4})) << claimed;
        EXPECT_FALSE(ConvertToMixFormat(c.items[0].wave).empty()) << claimed;
    }
    // A chunk before the data that claims too much ends the image there.
    Bytes listed;
    listed.Str("RIFF").U32(0).Str("WAVE").Str("fmt ").U32(16).U16(1).U16(1).U32(8000).U32(8000).U16(1).U16(8);
    listed.Str("LIST").U32(1000).Str("INFO");
    EXPECT_TRUE(ParseWaveImage(listed.b.data(), listed.b.size()).samples.empty());
}

// ---------------------------------------------------------------------------
// Errors

TEST(CollectionFileErrors, MissingFileNamesIt) {
    PictureCollection c;
    const std::string path = MakeTempDir("collection_missing") + "/nic.lev";
    EXPECT_EQ(MessageOf([&] { LoadPictureCollection(c, path); }), "Cannot open file " + path);
    WaveCollection w;
    EXPECT_EQ(MessageOf([&] { LoadWaveCollection(w, path); }), "Cannot open file " + path);
    EXPECT_EQ(MessageOf([&] { LoadWaveCollection(w, MakeTempDir("collection_dir")); }).rfind("Cannot open file", 0),
              0u);
}

TEST(CollectionFileErrors, BadHeaderOrSignatureIsInvalidStreamFormat) {
    const std::vector<uint8_t> good = PictureFile({});
    std::vector<uint8_t> v = good;
    v[0] = 0xFE;
    EXPECT_EQ(ReadPicturesError(v), "Invalid stream format");
    v = good;
    v[1] = 11;
    EXPECT_EQ(ReadPicturesError(v), "Invalid stream format");
    v = good;
    v[4 + 10] = 'X';  // "TPF0" after the 4-character name
    EXPECT_EQ(ReadPicturesError(v), "Invalid stream format");
    EXPECT_EQ(ReadPicturesError({}), "Invalid stream format");
    EXPECT_EQ(ReadPicturesError({0xFF, 10, 0, 'A', 'B'}), "Invalid stream format");
    // A resource name without its zero within the first 79 bytes.
    std::vector<uint8_t> longName = {0xFF, 10, 0};
    longName.resize(200, 'A');
    EXPECT_EQ(ReadPicturesError(longName), "Invalid stream format");
}

TEST(CollectionFileErrors, BadBitmapAndWaveData) {
    Bytes badHeader;
    badHeader.U32(41).U32(1).U32(1).U16(1).U16(24);
    Bytes item;
    item.Short("Picture.Data").Binary(PictureDataTDib(badHeader.b)).U8(0);
    EXPECT_EQ(ReadPicturesError(PictureFile({item.b})), "DIB is invalid");

    Bytes notRiff;
    notRiff.Str("RIFX").U32(4).Str("WAVE");
    Bytes wave;
    wave.Short("Looped").U8(9).Short("Wave.WAVE").Binary(notRiff.b).U8(0);
    WaveCollection w;
    EXPECT_EQ(MessageOf([&] { ReadWaveCollection(w, WaveFile({wave.b})); }), "Wave is invalid");
    Bytes notWave;
    notWave.Str("RIFF").U32(4).Str("AVI ");
    EXPECT_EQ(MessageOf([&] { ParseWaveImage(notWave.b.data(), notWave.b.size()); }), "Wave is invalid");

    const std::vector<uint8_t> junk = {0xFF, 0xD8, 0xFF, 0xE0, 1, 2, 3};
    const std::string jpegError = MessageOf([&] { DecodeJpeg(junk.data(), junk.size()); });
    EXPECT_EQ(jpegError.rfind("JPEG image is invalid", 0), 0u) << jpegError;
    Bytes longJpeg;
    longJpeg.Short("TJPEGImage").U32(100).U8(0xFF).U8(0xD8);
    Bytes jpegItem;
    jpegItem.Short("Picture.Data").Binary(longJpeg.b).U8(0);
    EXPECT_EQ(ReadPicturesError(PictureFile({jpegItem.b})).rfind("JPEG image is invalid", 0), 0u);
}

TEST(CollectionFileErrors, ReadErrorsNameThePropertyOrValue) {
    Bytes unknown;
    unknown.Short("PatternHeight").U8(2).U8(1).Short("Blur").U8(9).U8(0);
    const std::string unknownMessage = ReadPicturesError(PictureFile({unknown.b}));
    EXPECT_NE(unknownMessage.find("'Blur'"), std::string::npos) << unknownMessage;

    Bytes wrongKind;
    wrongKind.Short("PatternHeight").U8(6).Short("10").U8(0);
    const std::string kindMessage = ReadPicturesError(PictureFile({wrongKind.b}));
    EXPECT_NE(kindMessage.find("'PatternHeight'"), std::string::npos) << kindMessage;

    Bytes badColour;
    badColour.Short("TransparentColor").U8(7).Short("clCerulean").U8(0);
    const std::string colourMessage = ReadPicturesError(PictureFile({badColour.b}));
    EXPECT_NE(colourMessage.find("TransparentColor"), std::string::npos) << colourMessage;
    EXPECT_NE(colourMessage.find("clCerulean"), std::string::npos) << colourMessage;

    Bytes rootUnknown;
    rootUnknown.Short("Tag").U8(2).U8(0).U8(0).U8(0);
    EXPECT_NE(ReadPicturesError(File("TPictureCollectionComponent", rootUnknown.b)).find("'Tag'"),
              std::string::npos);

    Bytes shortTable;
    shortTable.Short("List.ColorTable").Binary(std::vector<uint8_t>(1000)).U8(0).U8(0);
    EXPECT_NE(ReadPicturesError(File("TPictureCollectionComponent", shortTable.b)).find("List.ColorTable"),
              std::string::npos);

    // A binary longer than the file.
    Bytes truncated;
    truncated.Short("Picture.Data").U8(10).U32(5000).U8(4);
    const std::string truncatedMessage = ReadPicturesError(PictureFile({truncated.b}));
    EXPECT_NE(truncatedMessage.find("Picture.Data"), std::string::npos) << truncatedMessage;

    // A wave collection read as pictures names the first foreign property.
    const std::vector<uint8_t> waves = levpack::WriteWaveCollection({levpack::WaveEntry{"a", true, 0, 1, 8000, 8, {}}});
    EXPECT_NE(ReadPicturesError(waves).find("'Looped'"), std::string::npos);
}

TEST(CollectionFileErrors, ItemsReadBeforeTheErrorStayAndCanBeFound) {
    Bytes good1, good2, bad;
    good1.Short("PatternHeight").U8(2).U8(0).Short("Name").U8(6).Short("Prvni").U8(0);
    good2.Short("PatternHeight").U8(2).U8(0).Short("Name").U8(6).Short("Druhy")
        .Short("Picture.Data").Binary(PictureDataTDib(SmallDib())).U8(0);
    bad.Short("PatternHeight").U8(2).U8(0).Short("Name").U8(6).Short("Treti")
        .Short("Picture.Data").Binary({4, 'T', 'D', 'I', 'B', 1, 2}).U8(0);
    PictureCollection c;
    EXPECT_EQ(MessageOf([&] { ReadPictureCollection(c, PictureFile({good1.b, good2.b, bad.b})); }),
              "DIB is invalid");
    ASSERT_EQ(c.items.size(), 2u);
    EXPECT_EQ(FindPicture(c, "druhy").width, 2);
    EXPECT_THROW(FindPicture(c, "Treti"), MediaError);

    Bytes wave1, wave2;
    wave1.Short("Looped").U8(8).Short("Name").U8(6).Short("Jedna").U8(0);
    wave2.Short("Looped").U8(8).Short("Name").U8(6).Short("Dve").Short("Wave.WAVE").Binary({'R', 'I'}).U8(0);
    WaveCollection w;
    EXPECT_EQ(MessageOf([&] { ReadWaveCollection(w, WaveFile({wave1.b, wave2.b})); }), "Wave is invalid");
    ASSERT_EQ(w.items.size(), 1u);
    EXPECT_EQ(FindSound(w, "jedna").Name, "Jedna");
}

TEST(CollectionFile, UnknownImageClassGivesEmptyPictureWithoutError) {
    Bytes data;
    data.Short("TMetafile").U32(3).U8(1).U8(2).U8(3);
    Bytes item;
    item.Short("PatternHeight").U8(2).U8(0).Short("Name").U8(6).Short("Ikona")
        .Short("Picture.Data").Binary(data.b).U8(0);
    PictureCollection c;
    ReadPictureCollection(c, PictureFile({item.b}));
    ASSERT_EQ(c.items.size(), 1u);
    EXPECT_EQ(c.items[0].width, 0);
    // An empty "TDIB" is an empty picture too.
    EXPECT_EQ(DecodePackedDib(nullptr, 0).width, 0);
}

// ---------------------------------------------------------------------------
// Bitmap decoders

Bytes InfoHeader(int32_t w, int32_t h, int bits, uint32_t compression, uint32_t colours = 0) {
    Bytes d;
    d.U32(40).U32(uint32_t(w)).U32(uint32_t(h)).U16(1).U16(unsigned(bits)).U32(compression).U32(0)
        .U32(0).U32(0).U32(colours).U32(0);
    return d;
}

TEST(DibDecode, OneAndFourBitPalettesMostSignificantPixelFirst) {
    Bytes one = InfoHeader(10, 1, 1, 0);
    one.U32(0x000000).U32(0x00FF0000);  // palette: black, red (blue, green, red, 0)
    one.U8(0b10100000).U8(0b01000000).U16(0);
    RgbImage a = DecodePackedDib(one.b.data(), one.b.size());
    ASSERT_EQ(a.pixels.size(), 10u);
    EXPECT_EQ(a.pixels[0], kRed);
    EXPECT_EQ(a.pixels[1], 0u);
    EXPECT_EQ(a.pixels[2], kRed);
    EXPECT_EQ(a.pixels[9], kRed);
    EXPECT_EQ(a.pixels[8], 0u);

    Bytes four = InfoHeader(3, 1, 4, 0, 3);  // only 3 palette entries stored
    four.U32(0xFF0000).U32(0x00FF00).U32(0x0000FF);  // red, green, blue (blue, green, red, 0 bytes)
    four.U8(0x01).U8(0x20).U16(0);
    RgbImage b = DecodePackedDib(four.b.data(), four.b.size());
    EXPECT_EQ(b.pixels, (std::vector<uint32_t>{kRed, kGreen, kBlue}));
}

TEST(DibDecode, CoreHeaderWithThreeBytePalette) {
    Bytes d;
    d.U32(12).U16(2).U16(2).U16(1).U16(8);
    for (int i = 0; i < 256; ++i) d.U8(i == 1 ? 0xFF : 0).U8(i == 2 ? 0xFF : 0).U8(i == 3 ? 0xFF : 0);
    d.U8(1).U8(2).U16(0);  // bottom row: blue, green
    d.U8(3).U8(0).U16(0);  // top row: red, black
    RgbImage img = DecodePackedDib(d.b.data(), d.b.size());
    EXPECT_EQ(img.pixels, (std::vector<uint32_t>{kRed, 0, kBlue, kGreen}));
}

TEST(DibDecode, ColourTableCountedAbove256IsReadAs256) {
    // The header counts 300 colours; 256 entries are read and the pixel row
    // follows the 256th.
    Bytes d = InfoHeader(2, 1, 8, 0, 300);
    for (int i = 0; i < 256; ++i) d.U32(i == 1 ? 0x00FF0000u : i == 255 ? 0x0000FF00u : 0u);
    d.U8(1).U8(255).U16(0);
    RgbImage img = DecodePackedDib(d.b.data(), d.b.size());
    EXPECT_EQ(img.pixels, (std::vector<uint32_t>{kRed, kGreen}));

    // A 24-bit picture may carry a table for palette displays: it is skipped
    // the same way.
    Bytes rgb = InfoHeader(1, 1, 24, 0, 70000);
    for (int i = 0; i < 256; ++i) rgb.U32(0x00123456);
    rgb.U8(0xFF).U8(0).U8(0).U8(0);
    EXPECT_EQ(DecodePackedDib(rgb.b.data(), rgb.b.size()).pixels, (std::vector<uint32_t>{kBlue}));
}

TEST(DibDecode, SixteenBitFiveFiveFiveAndBitfieldsFiveSixFive) {
    Bytes rgb = InfoHeader(2, 1, 16, 0);  // plain 16 bits means 5-5-5
    rgb.U16(0x7C00).U16(0x03E0);
    EXPECT_EQ(DecodePackedDib(rgb.b.data(), rgb.b.size()).pixels, (std::vector<uint32_t>{kRed, kGreen}));

    Bytes f565 = InfoHeader(3, 1, 16, 3);
    f565.U32(0xF800).U32(0x07E0).U32(0x001F);
    f565.U16(0xF800).U16(0x07E0).U16(0x001F).U16(0);
    EXPECT_EQ(DecodePackedDib(f565.b.data(), f565.b.size()).pixels, (std::vector<uint32_t>{kRed, kGreen, kBlue}));

    Bytes f555 = InfoHeader(2, 1, 16, 3);
    f555.U32(0x7C00).U32(0x03E0).U32(0x001F);
    f555.U16(0x001F).U16(0x4210);  // blue; half grey: 16/31 of full
    const RgbImage img = DecodePackedDib(f555.b.data(), f555.b.size());
    EXPECT_EQ(img.pixels[0], kBlue);
    EXPECT_EQ(img.pixels[1], 0x848484u);  // 16 * 255 / 31 rounded = 132
}

TEST(DibDecode, TopDownAndThirtyTwoBitRows) {
    Bytes d = InfoHeader(1, -2, 32, 0);
    d.U32(0x00FF0000).U32(0x000000FF);  // first row stored is the top row
    EXPECT_EQ(DecodePackedDib(d.b.data(), d.b.size()).pixels, (std::vector<uint32_t>{kRed, kBlue}));
}

TEST(DibDecode, RunLengthEncodedEightAndFourBit) {
    Bytes rle8 = InfoHeader(4, 2, 8, 1, 3);
    rle8.U32(0xFF0000).U32(0x00FF00).U32(0x0000FF);  // red, green, blue
    rle8.U8(3).U8(1).U8(0).U8(0);                    // bottom row: 3 green, end of line
    rle8.U8(0).U8(3).U8(2).U8(0).U8(1).U8(0);        // top row: absolute blue, red, green (+pad)
    rle8.U8(1).U8(2);                                // one more blue
    rle8.U8(0).U8(1);                                // end of bitmap
    RgbImage a = DecodePackedDib(rle8.b.data(), rle8.b.size());
    EXPECT_EQ(a.pixels, (std::vector<uint32_t>{kBlue, kRed, kGreen, kBlue, kGreen, kGreen, kGreen, kRed}));

    Bytes rle4 = InfoHeader(5, 1, 4, 2, 3);
    rle4.U32(0xFF0000).U32(0x00FF00).U32(0x0000FF);  // red, green, blue
    rle4.U8(3).U8(0x12);                   // green, blue, green
    rle4.U8(0).U8(2).U8(0).U8(0);          // delta: zero move
    rle4.U8(0).U8(3).U8(0x20).U8(0x10);    // absolute: blue, red, (green dropped past the edge)
    rle4.U8(0).U8(1);
    RgbImage b = DecodePackedDib(rle4.b.data(), rle4.b.size());
    EXPECT_EQ(b.pixels, (std::vector<uint32_t>{kGreen, kBlue, kGreen, kBlue, kRed}));

    // Delta jumps leave pixels at palette entry 0.
    Bytes delta = InfoHeader(3, 2, 8, 1, 2);
    delta.U32(0x000000).U32(0xFFFFFF);
    delta.U8(0).U8(2).U8(2).U8(1).U8(1).U8(1).U8(0).U8(1);
    RgbImage c = DecodePackedDib(delta.b.data(), delta.b.size());
    EXPECT_EQ(c.pixels, (std::vector<uint32_t>{0, 0, kWhite, 0, 0, 0}));
}

TEST(DibDecode, DamagedHeadersAndRunsAreInvalid) {
    auto message = [](const Bytes& d) { return MessageOf([&] { DecodePackedDib(d.b.data(), d.b.size()); }); };
    Bytes hugeSide = InfoHeader(100000, 1, 24, 0);
    EXPECT_EQ(message(hugeSide), "DIB is invalid");
    Bytes beyondData = InfoHeader(16000, 16000, 24, 0);
    EXPECT_EQ(message(beyondData), "DIB is invalid");
    Bytes badBits = InfoHeader(1, 1, 7, 0);
    EXPECT_EQ(message(badBits), "DIB is invalid");
    Bytes rleWrongBits = InfoHeader(1, 1, 24, 1);
    EXPECT_EQ(message(rleWrongBits), "DIB is invalid");
    Bytes rleTopDown = InfoHeader(1, -1, 8, 1, 1);
    rleTopDown.U32(0).U8(0).U8(1);
    EXPECT_EQ(message(rleTopDown), "DIB is invalid");
    Bytes runsEndEarly = InfoHeader(4, 4, 8, 1, 1);
    runsEndEarly.U32(0).U8(2).U8(0).U8(0);  // a run, then a lone escape byte
    EXPECT_EQ(message(runsEndEarly), "DIB is invalid");
    Bytes absoluteBeyondData = InfoHeader(4, 1, 8, 1, 1);
    absoluteBeyondData.U32(0).U8(0).U8(200).U8(1);
    EXPECT_EQ(message(absoluteBeyondData), "DIB is invalid");
    Bytes rleHugeClaim = InfoHeader(16384, 1000, 8, 1, 1);
    rleHugeClaim.U32(0).U8(0).U8(1);
    EXPECT_EQ(message(rleHugeClaim), "DIB is invalid");
}

TEST(DibDecode, BmpFileHonoursPixelOffset) {
    Bytes dib = InfoHeader(1, 1, 24, 0);
    Bytes file;
    file.Str("BM").U32(0).U32(0).U32(14 + 40 + 6);  // a 6-byte gap before the pixels
    file.Raw(dib.b).U32(0xDEADBEEF).U16(0).U8(0xFF).U8(0).U8(0).U8(0);
    EXPECT_EQ(DecodeBmpFile(file.b.data(), file.b.size()).pixels, (std::vector<uint32_t>{kBlue}));
    Bytes notBmp;
    notBmp.Str("XX").U32(0).U32(0).U32(54).Raw(dib.b);
    EXPECT_EQ(MessageOf([&] { DecodeBmpFile(notBmp.b.data(), notBmp.b.size()); }), "DIB is invalid");
    Bytes offsetInsideHeader;
    offsetInsideHeader.Str("BM").U32(0).U32(0).U32(20).Raw(dib.b).U32(0);
    EXPECT_EQ(MessageOf([&] { DecodeBmpFile(offsetInsideHeader.b.data(), offsetInsideHeader.b.size()); }),
              "DIB is invalid");
}

// ---------------------------------------------------------------------------
// Object stream values

TEST(ObjectStream, SkipsEveryKindOfValue) {
    Bytes v;
    v.U8(0)                                   // null
        .U8(1).U8(2).U8(5).U8(9).U8(0)        // list of int8 5, true
        .U8(2).U8(1).U8(3).U16(2).U8(4).U32(3)
        .U8(5).Raw(std::vector<uint8_t>(10))  // extended
        .U8(6).Short("abc").U8(7).Short("clRed").U8(8).U8(9)
        .U8(10).U32(3).U8(1).U8(2).U8(3)
        .U8(11).Short("a").Short("b").U8(0)   // set
        .U8(12).U32(2).Str("xy").U8(13)
        .U8(14).U8(2).U8(0).Short("Name").U8(6).Short("n").U8(0).Short("X").U8(8).U8(0).U8(0)
        .U8(15).U32(0).U8(16).U32(0).U32(0).U8(17).U32(0).U32(0)
        .U8(18).U32(2).U16('a').U16('b').U8(19).U32(0).U32(0)
        .U8(0xAB);                             // marker after the last value
    ByteReader in(v.b.data(), v.b.size());
    for (int i = 0; i < 20; ++i) SkipValue(in);
    EXPECT_EQ(in.U8(), 0xAB);
    EXPECT_TRUE(in.AtEnd());

    Bytes bad;
    bad.U8(20);
    ByteReader unknownTag(bad.b.data(), bad.b.size());
    EXPECT_THROW(SkipValue(unknownTag), StreamReadError);
    std::vector<uint8_t> deep(200, 1);
    ByteReader nested(deep.data(), deep.size());
    EXPECT_THROW(SkipValue(nested), StreamReadError);
}

}  // namespace
