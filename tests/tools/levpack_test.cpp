// The collection writer: byte layout of the header, object stream, picture
// data classes and wave images; items never open with an ambiguous byte; the
// manifest-driven command packs PNG pictures and raw sounds the game loads.
#include <gtest/gtest.h>

#include <png.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "levpack.h"
#include "manifest.h"
#include "media/collection_file.h"
#include "media/media_error.h"
#include "test_support.h"

namespace {

uint32_t U32At(const std::vector<uint8_t>& b, size_t at) {
    return uint32_t(b.at(at)) | (uint32_t(b.at(at + 1)) << 8) | (uint32_t(b.at(at + 2)) << 16) |
           (uint32_t(b.at(at + 3)) << 24);
}
uint16_t U16At(const std::vector<uint8_t>& b, size_t at) { return uint16_t(b.at(at) | (b.at(at + 1) << 8)); }

// Offset just past the first occurrence of `text` (as a short string when
// `shortString`), or npos.
size_t After(const std::vector<uint8_t>& b, const std::string& text, bool shortString = true, size_t from = 0) {
    std::vector<uint8_t> needle;
    if (shortString) needle.push_back(uint8_t(text.size()));
    needle.insert(needle.end(), text.begin(), text.end());
    auto it = std::search(b.begin() + long(from), b.end(), needle.begin(), needle.end());
    return it == b.end() ? std::string::npos : size_t(it - b.begin()) + needle.size();
}

levpack::PictureEntry ThreeByTwo(levpack::PictureData data) {
    levpack::PictureEntry p;
    p.name = "Box";
    p.width = 3;
    p.height = 2;
    // top row red, green, blue; bottom row white, black, grey (0xBBGGRR)
    p.pixels = {0x0000FF, 0x00FF00, 0xFF0000, 0xFFFFFF, 0x000000, 0x808080};
    p.data = data;
    return p;
}

// Bytes of the "Picture.Data" binary of the only item.
std::vector<uint8_t> PictureDataOf(const std::vector<uint8_t>& file) {
    const size_t at = After(file, "Picture.Data");
    EXPECT_NE(at, std::string::npos);
    EXPECT_EQ(file.at(at), 10);  // binary
    const uint32_t size = U32At(file, at + 1);
    return std::vector<uint8_t>(file.begin() + long(at + 5), file.begin() + long(at + 5 + size));
}

TEST(LevpackLayout, HeaderAndObjectStream) {
    std::vector<uint8_t> table(1024);
    for (size_t i = 0; i < table.size(); ++i) table[i] = uint8_t(i * 7);
    const std::vector<uint8_t> f = levpack::WritePictureCollection({ThreeByTwo(levpack::PictureData::Dib)}, table);
    ASSERT_GT(f.size(), 20u);
    EXPECT_EQ(f[0], 0xFF);
    EXPECT_EQ(U16At(f, 1), 10);
    const size_t zero = size_t(std::find(f.begin() + 3, f.end(), 0) - f.begin());
    ASSERT_LT(zero - 3, 64u);  // resource name of at most 63 characters
    const size_t nameLength = zero - 3;
    EXPECT_EQ(U16At(f, nameLength + 4), 0x1030);
    EXPECT_EQ(U32At(f, nameLength + 6), f.size() - (nameLength + 10));
    EXPECT_EQ(std::memcmp(&f[nameLength + 10], "TPF0", 4), 0);

    const size_t afterClass = After(f, "TPictureCollectionComponent");
    ASSERT_EQ(afterClass, nameLength + 14 + 28);
    EXPECT_EQ(f[afterClass], 0);  // empty object name
    const size_t table_at = After(f, "List.ColorTable");
    ASSERT_NE(table_at, std::string::npos);
    EXPECT_EQ(f[table_at], 10);
    EXPECT_EQ(U32At(f, table_at + 1), 1024u);
    EXPECT_TRUE(std::equal(table.begin(), table.end(), f.begin() + long(table_at + 5)));
    const size_t list = After(f, "List", true, table_at + 5 + 1024);
    EXPECT_EQ(list, table_at + 5 + 1024 + 5);
    EXPECT_EQ(f[list], 14);  // collection
    // The item opens with a property name whose length byte can't be taken
    // for an integer tag (2, 3, 4).
    EXPECT_GT(f[list + 1], 4);
    // Collection end, root properties end, no children.
    EXPECT_EQ(f[f.size() - 1], 0);
    EXPECT_EQ(f[f.size() - 2], 0);
    EXPECT_EQ(f[f.size() - 3], 0);
    EXPECT_EQ(f[f.size() - 4], 0);  // end of the item's properties

    // Without a colour table an all-zero one is written.
    const std::vector<uint8_t> g = levpack::WritePictureCollection({});
    const size_t gt = After(g, "List.ColorTable");
    EXPECT_EQ(U32At(g, gt + 1), 1024u);
    EXPECT_THROW(levpack::WritePictureCollection({}, std::vector<uint8_t>(10)), std::invalid_argument);
}

TEST(LevpackLayout, ItemsOfEveryKindOpenUnambiguously) {
    levpack::PictureEntry small = ThreeByTwo(levpack::PictureData::Dib);
    small.name = "A";  // a name of 1..4 characters as a value is harmless
    const std::vector<uint8_t> pictures = levpack::WritePictureCollection({small, small});
    const std::vector<uint8_t> waves =
        levpack::WriteWaveCollection({levpack::WaveEntry{"Pip", false, 0, 1, 8000, 8, {1}}});
    for (const auto* file : {&pictures, &waves}) {
        const size_t list = After(*file, "List", true, After(*file, "TPF0", false) + 20);
        ASSERT_NE(list, std::string::npos);
        EXPECT_EQ((*file)[list], 14);
        EXPECT_FALSE((*file)[list + 1] >= 2 && (*file)[list + 1] <= 4);
    }
    EXPECT_EQ(waves[After(waves, "List", true, 40)], 14);
    EXPECT_NE(After(waves, "Looped"), std::string::npos);
    // And the reader agrees: both picture items load.
    PictureCollection c;
    ReadPictureCollection(c, pictures);
    EXPECT_EQ(c.items.size(), 2u);
}

TEST(LevpackLayout, DibRowsAreBottomUpAndPaddedToFourBytes) {
    const std::vector<uint8_t> d =
        PictureDataOf(levpack::WritePictureCollection({ThreeByTwo(levpack::PictureData::Dib)}));
    ASSERT_EQ(d.at(0), 4);
    EXPECT_EQ(std::string(d.begin() + 1, d.begin() + 5), "TDIB");
    const size_t h = 5;
    EXPECT_EQ(U32At(d, h), 40u);
    EXPECT_EQ(U32At(d, h + 4), 3u);
    EXPECT_EQ(U32At(d, h + 8), 2u);  // positive: bottom-up
    EXPECT_EQ(U16At(d, h + 12), 1);
    EXPECT_EQ(U16At(d, h + 14), 24);
    EXPECT_EQ(U32At(d, h + 16), 0u);
    ASSERT_EQ(d.size(), h + 40 + 2 * 12);  // 9 bytes of pixels + 3 of padding per row
    const std::vector<uint8_t> bottom(d.begin() + long(h + 40), d.begin() + long(h + 52));
    const std::vector<uint8_t> top(d.begin() + long(h + 52), d.end());
    EXPECT_EQ(bottom, (std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0, 0, 0, 0x80, 0x80, 0x80, 0, 0, 0}));
    EXPECT_EQ(top, (std::vector<uint8_t>{0, 0, 0xFF, 0, 0xFF, 0, 0xFF, 0, 0, 0, 0, 0}));  // blue, green, red order
}

TEST(LevpackLayout, BitmapIsACompleteBmpFileAndJpegIsJfif) {
    const std::vector<uint8_t> b =
        PictureDataOf(levpack::WritePictureCollection({ThreeByTwo(levpack::PictureData::Bitmap)}));
    EXPECT_EQ(std::string(b.begin() + 1, b.begin() + 8), "TBitmap");
    const uint32_t size = U32At(b, 8);
    ASSERT_EQ(size, b.size() - 12);
    std::vector<uint8_t> bmp(b.begin() + 12, b.end());
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[1], 'M');
    EXPECT_EQ(U32At(bmp, 2), bmp.size());
    EXPECT_EQ(U32At(bmp, 10), 54u);
    EXPECT_EQ(U16At(bmp, 14 + 14), 32);
    EXPECT_EQ(bmp.size(), 54u + 3 * 4 * 2);
    const RgbImage decoded = DecodeBmpFile(bmp.data(), bmp.size());
    EXPECT_EQ(decoded.pixels, ThreeByTwo(levpack::PictureData::Bitmap).pixels);

    const std::vector<uint8_t> j =
        PictureDataOf(levpack::WritePictureCollection({ThreeByTwo(levpack::PictureData::Jpeg)}));
    EXPECT_EQ(std::string(j.begin() + 1, j.begin() + 11), "TJPEGImage");
    ASSERT_EQ(U32At(j, 11), j.size() - 15);
    EXPECT_EQ(j[15], 0xFF);
    EXPECT_EQ(j[16], 0xD8);
    EXPECT_EQ(j[j.size() - 2], 0xFF);
    EXPECT_EQ(j[j.size() - 1], 0xD9);
    const RgbImage jpeg = DecodeJpeg(&j[15], j.size() - 15);
    EXPECT_EQ(jpeg.width, 3);
    EXPECT_EQ(jpeg.height, 2);
}

TEST(LevpackLayout, EmptyPictureAndBadPixelCounts) {
    levpack::PictureEntry empty;
    empty.name = "Nic";
    const std::vector<uint8_t> d = PictureDataOf(levpack::WritePictureCollection({empty}));
    EXPECT_EQ(d, (std::vector<uint8_t>{4, 'T', 'D', 'I', 'B'}));
    levpack::PictureEntry wrong = ThreeByTwo(levpack::PictureData::Dib);
    wrong.pixels.pop_back();
    EXPECT_THROW(levpack::WritePictureCollection({wrong}), std::invalid_argument);
}

TEST(LevpackLayout, WaveImageChunksWithoutPadding) {
    levpack::WaveEntry w{"Pip", false, 0, 2, 11025, 16, {1, 2, 3, 4, 5}};
    const std::vector<uint8_t> b = levpack::WaveImage(w);
    ASSERT_EQ(b.size(), 12u + 24u + 8u + 5u);  // odd data, no pad byte
    EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "RIFF");
    EXPECT_EQ(U32At(b, 4), b.size() - 8);
    EXPECT_EQ(std::string(b.begin() + 8, b.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(U32At(b, 16), 16u);
    EXPECT_EQ(U16At(b, 20), 1);  // PCM
    EXPECT_EQ(U16At(b, 22), 2);  // channels
    EXPECT_EQ(U32At(b, 24), 11025u);
    EXPECT_EQ(U32At(b, 28), 11025u * 4);
    EXPECT_EQ(U16At(b, 32), 4);  // block alignment
    EXPECT_EQ(U16At(b, 34), 16);
    EXPECT_EQ(std::string(b.begin() + 36, b.begin() + 40), "data");
    EXPECT_EQ(U32At(b, 40), 5u);
    EXPECT_THROW(levpack::WaveImage(levpack::WaveEntry{"bad", false, 0, 0, 8000, 8, {}}), std::invalid_argument);
}

// ---------------------------------------------------------------------------
// The command

void WritePng(const std::string& path, int w, int h, const std::vector<uint8_t>& rgba) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = png_uint_32(w);
    image.height = png_uint_32(h);
    image.format = PNG_FORMAT_RGBA;
    ASSERT_TRUE(png_image_write_to_file(&image, path.c_str(), 0, rgba.data(), 0, nullptr)) << image.message;
}

void WriteText(const std::string& path, const std::string& text) {
    WriteFileBytes(path, std::vector<uint8_t>(text.begin(), text.end()));
}

TEST(LevpackCommand, PacksPicturesFromManifestWithKeyForClearPixels) {
    const std::string dir = MakeTempDir("levpack_pictures");
    // 2x1: opaque red, fully clear.
    WritePng(dir + "/lod.png", 2, 1, {255, 0, 0, 255, 10, 20, 30, 0});
    WritePng(dir + "/pozadi.png", 1, 1, {0, 0, 255, 255});
    WriteText(dir + "/obr.txt",
              "# ships\n"
              "Lod lod.png pattern=1x1 skip=0x0 key=clFuchsia data=bitmap\n"
              "\n"
              "Pozadi pozadi.png transparent=no data=jpeg quality=80 system=yes  # background\n");
    std::string errors;
    ASSERT_EQ(levpack::RunLevpack({"pictures", dir + "/obr.lev", dir + "/obr.txt"}, errors), 0) << errors;
    PictureCollection c;
    LoadPictureCollection(c, dir + "/obr.lev");
    ASSERT_EQ(c.items.size(), 2u);
    const PictureItem& lod = FindPicture(c, "Lod");
    EXPECT_EQ(FrameCount(lod), 2);
    EXPECT_EQ(lod.TransparentColor, 0xFF00FFu);
    EXPECT_EQ(lod.pixels[0], 0xF800);
    EXPECT_EQ(lod.pixels[1], lod.key565);  // the clear pixel carries the key
    const PictureItem& pozadi = FindPicture(c, "pozadi");
    EXPECT_FALSE(pozadi.Transparent);
    EXPECT_TRUE(pozadi.SystemMemory);
    EXPECT_GT(pozadi.pixels.at(0) & 0x1F, 24);  // blue survives the JPEG round
}

TEST(LevpackCommand, PacksRawSoundsFromManifest) {
    const std::string dir = MakeTempDir("levpack_waves");
    WriteFileBytes(dir + "/pip.raw", {1, 2, 3, 4});
    WriteText(dir + "/zvuky.txt", "Pip pip.raw rate=11025 channels=2 bits=8 looped=yes max=4\n");
    std::string errors;
    ASSERT_EQ(levpack::RunLevpack({"waves", dir + "/zvuky.lev", dir + "/zvuky.txt"}, errors), 0) << errors;
    WaveCollection c;
    LoadWaveCollection(c, dir + "/zvuky.lev");
    ASSERT_EQ(c.items.size(), 1u);
    EXPECT_TRUE(c.items[0].Looped);
    EXPECT_EQ(c.items[0].MaxPlayingCount, 4);
    EXPECT_EQ(c.items[0].wave.format.channels, 2);
    EXPECT_EQ(c.items[0].wave.format.sampleRate, 11025u);
    EXPECT_EQ(c.items[0].wave.samples, (std::vector<uint8_t>{1, 2, 3, 4}));
}

TEST(LevpackCommand, ErrorsNameTheManifestLineAndNothingIsWritten) {
    const std::string dir = MakeTempDir("levpack_errors");
    WritePng(dir + "/a.png", 1, 1, {0, 0, 0, 255});
    struct Case {
        std::string manifest, expect;
    } cases[] = {
        {"A a.png\nB missing.png\n", "obr.txt:2"},
        {"A a.png pattern=3\n", "pattern"},
        {"A a.png colour=red\n", "unknown option 'colour'"},
        {"A a.png data=gif\n", "gif"},
        {"A\n", "missing file name"},
        {"A a.png key=clMauve\n", "clMauve"},
    };
    for (const Case& c : cases) {
        WriteText(dir + "/obr.txt", c.manifest);
        std::string errors;
        EXPECT_EQ(levpack::RunLevpack({"pictures", dir + "/obr.lev", dir + "/obr.txt"}, errors), 1) << c.manifest;
        EXPECT_NE(errors.find(c.expect), std::string::npos) << errors;
    }
    std::string errors;
    EXPECT_EQ(levpack::RunLevpack({"waves", dir + "/z.lev", dir + "/none.txt"}, errors), 1);
    EXPECT_NE(errors.find("none.txt"), std::string::npos);
    EXPECT_EQ(levpack::RunLevpack({"sprites", "x", "y"}, errors), 2);
    EXPECT_NE(errors.find("usage"), std::string::npos);
    PictureCollection none;
    EXPECT_THROW(LoadPictureCollection(none, dir + "/obr.lev"), MediaError);
}

}  // namespace
