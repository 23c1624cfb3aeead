// Writes the seed corpora of the fuzz targets into one folder per target:
// small collection files built with levpack (every picture data class, every
// wave format) and hand-built bitmaps of every kind the decoder reads, whole
// and damaged saved files, and input scripts with every kind of line.
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "levpack.h"
#include "state/saved_files.h"

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

namespace {

fs::path outDir;
int seedCount = 0;

void Seed(const std::string& target, const std::string& name, const Bytes& bytes) {
    const fs::path dir = outDir / target;
    fs::create_directories(dir);
    std::ofstream(dir / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    ++seedCount;
}

// The collection target reads its first byte as the reader to use.
enum Reader : uint8_t { kPictures = 0, kWaves = 1, kPackedDib = 2, kBmpFile = 3, kWaveImage = 4 };
void CollectionSeed(const std::string& name, Reader reader, const Bytes& bytes) {
    Bytes seed{reader};
    seed.insert(seed.end(), bytes.begin(), bytes.end());
    Seed("collection", name, seed);
}

struct Writer {
    Bytes b;
    Writer& U8(unsigned v) {
        b.push_back(uint8_t(v));
        return *this;
    }
    Writer& U16(unsigned v) { return U8(v & 0xFF).U8((v >> 8) & 0xFF); }
    Writer& U32(uint32_t v) { return U16(v & 0xFFFF).U16(v >> 16); }
    Writer& Str(const char* s) {
        for (; *s; ++s) U8(uint8_t(*s));
        return *this;
    }
};

levpack::PictureEntry Picture(const char* name, int width, int height, levpack::PictureData data) {
    levpack::PictureEntry p;
    p.name = name;
    p.width = width;
    p.height = height;
    for (int i = 0; i < width * height; ++i) p.pixels.push_back(uint32_t(0x102030 * (i + 1)) & 0xFFFFFF);
    p.data = data;
    return p;
}

void PictureCollectionSeeds() {
    using levpack::PictureData;
    levpack::PictureEntry dib = Picture("Kostky", 6, 4, PictureData::Dib);
    dib.patternWidth = 3;
    dib.patternHeight = 2;
    dib.transparentColor = 0xFF00FF;
    levpack::PictureEntry bitmap = Picture("Lod", 5, 3, PictureData::Bitmap);
    bitmap.transparent = false;
    bitmap.systemMemory = true;
    bitmap.skipWidth = 1;
    bitmap.skipHeight = 1;
    levpack::PictureEntry jpeg = Picture("Podklad", 8, 8, PictureData::Jpeg);
    jpeg.jpegQuality = 50;
    levpack::PictureEntry empty;
    empty.name = "Prazdny";
    CollectionSeed("pictures-dib", kPictures, levpack::WritePictureCollection({dib}));
    CollectionSeed("pictures-bitmap", kPictures, levpack::WritePictureCollection({bitmap}));
    CollectionSeed("pictures-jpeg", kPictures, levpack::WritePictureCollection({jpeg}));
    CollectionSeed("pictures-empty-item", kPictures, levpack::WritePictureCollection({empty}));
    Bytes colourTable(1024);
    for (size_t i = 0; i < colourTable.size(); ++i) colourTable[i] = uint8_t(i * 7);
    CollectionSeed("pictures-all", kPictures, levpack::WritePictureCollection({dib, bitmap, jpeg}, colourTable));
    CollectionSeed("pictures-none", kPictures, levpack::WritePictureCollection({}));
}

levpack::WaveEntry Wave(const char* name, int channels, int rate, int bits, size_t frames) {
    levpack::WaveEntry w;
    w.name = name;
    w.channels = channels;
    w.sampleRate = rate;
    w.bitsPerSample = bits;
    for (size_t i = 0; i < frames * size_t(channels * bits / 8); ++i) w.samples.push_back(uint8_t(i * 37));
    return w;
}

void WaveCollectionSeeds() {
    const levpack::WaveEntry formats[] = {
        Wave("Mono8", 1, 8000, 8, 6),      Wave("Stereo8", 2, 11025, 8, 5), Wave("Mono16", 1, 22050, 16, 4),
        Wave("Stereo16", 2, 44100, 16, 3), Wave("Ticho", 1, 22050, 16, 0),
    };
    for (const levpack::WaveEntry& w : formats) {
        CollectionSeed(std::string("waves-") + w.name, kWaves, levpack::WriteWaveCollection({w}));
        CollectionSeed(std::string("wave-image-") + w.name, kWaveImage, levpack::WaveImage(w));
    }
    levpack::WaveEntry looped = formats[2];
    looped.looped = true;
    looped.maxPlayingCount = 3;
    CollectionSeed("waves-all", kWaves, levpack::WriteWaveCollection({formats[0], formats[1], looped, formats[3]}));

    // A chunk between format and data, and a data size of 0xFFFFFFFF.
    Writer listed;
    listed.Str("RIFF").U32(44).Str("WAVE").Str("fmt ").U32(16).U16(1).U16(1).U32(8000).U32(8000).U16(1).U16(8);
    listed.Str("LIST").U32(5).Str("INFOx").Str("data").U32(0xFFFFFFFF).U8(1).U8(2).U8(3);
    CollectionSeed("wave-image-list-open-data", kWaveImage, listed.b);
}

// A packed bitmap: information header, colour table, rows.
Writer InfoHeader(uint32_t size, int32_t width, int32_t height, unsigned bits, uint32_t compression, uint32_t colours) {
    Writer d;
    d.U32(size).U32(uint32_t(width)).U32(uint32_t(height)).U16(1).U16(bits).U32(compression).U32(0).U32(0).U32(0);
    d.U32(colours).U32(0);
    for (uint32_t extra = 40; extra < size; extra += 4) d.U32(extra == 40 ? 0xF800 : extra == 44 ? 0x07E0 : 0x1F);
    return d;
}

void Palette(Writer& d, int entries) {
    for (int i = 0; i < entries; ++i) d.U8(i * 40).U8(255 - i * 30).U8(i * 90).U8(0);
}

void BitmapSeeds() {
    Writer one = InfoHeader(40, 9, 2, 1, 0, 0);
    Palette(one, 2);
    one.U32(0x0055AA80).U32(0x00FF0180);
    CollectionSeed("dib-1bit", kPackedDib, one.b);

    Writer four = InfoHeader(40, 5, 2, 4, 0, 6);
    Palette(four, 6);
    four.U32(0x00543210).U32(0x00012345);
    CollectionSeed("dib-4bit", kPackedDib, four.b);

    Writer eight = InfoHeader(40, 3, 2, 8, 0, 4);
    Palette(eight, 4);
    eight.U8(0).U8(1).U8(2).U8(0).U8(3).U8(2).U8(1).U8(0);
    CollectionSeed("dib-8bit", kPackedDib, eight.b);

    Writer topDown = InfoHeader(40, 2, -2, 8, 0, 2);
    Palette(topDown, 2);
    topDown.U32(0x0100).U32(0x0001);
    CollectionSeed("dib-8bit-top-down", kPackedDib, topDown.b);

    Writer rgb555 = InfoHeader(40, 2, 2, 16, 0, 0);
    rgb555.U16(0x7C00).U16(0x03E0).U16(0x001F).U16(0x7FFF);
    CollectionSeed("dib-16bit-555", kPackedDib, rgb555.b);

    Writer fields565 = InfoHeader(40, 2, 1, 16, 3, 0);
    fields565.U32(0xF800).U32(0x07E0).U32(0x001F).U16(0xF800).U16(0x07E0);
    CollectionSeed("dib-16bit-bitfields", kPackedDib, fields565.b);

    Writer v5 = InfoHeader(124, 1, 1, 32, 3, 0);
    v5.U32(0x00FF8040);
    CollectionSeed("dib-32bit-v5-header", kPackedDib, v5.b);
    Writer v3 = InfoHeader(56, 1, 1, 16, 3, 0);
    v3.U16(0x1234).U16(0);
    CollectionSeed("dib-16bit-v3-header", kPackedDib, v3.b);

    Writer rgb24 = InfoHeader(40, 2, 2, 24, 0, 0);
    rgb24.U8(1).U8(2).U8(3).U8(4).U8(5).U8(6).U16(0).U8(7).U8(8).U8(9).U8(10).U8(11).U8(12).U16(0);
    CollectionSeed("dib-24bit", kPackedDib, rgb24.b);

    Writer rgb32 = InfoHeader(40, 2, 1, 32, 0, 0);
    rgb32.U32(0x00112233).U32(0x00445566);
    CollectionSeed("dib-32bit", kPackedDib, rgb32.b);

    Writer rle8 = InfoHeader(40, 6, 3, 8, 1, 3);
    Palette(rle8, 3);
    rle8.U8(3).U8(1).U8(0).U8(3).U8(1).U8(2).U8(2).U8(0).U8(0).U8(0);  // run, absolute, end of line
    rle8.U8(0).U8(2).U8(1).U8(1).U8(2).U8(2).U8(0).U8(1);              // delta, run, end of bitmap
    CollectionSeed("dib-rle8", kPackedDib, rle8.b);

    Writer rle4 = InfoHeader(40, 7, 2, 4, 2, 4);
    Palette(rle4, 4);
    rle4.U8(5).U8(0x12).U8(0).U8(3).U8(0x31).U8(0x20).U8(0).U8(0).U8(4).U8(0x33).U8(0).U8(1);
    CollectionSeed("dib-rle4", kPackedDib, rle4.b);

    Writer core;
    core.U32(12).U16(2).U16(2).U16(1).U16(4);
    for (int i = 0; i < 16; ++i) core.U8(i * 16).U8(255 - i * 16).U8(i * 8);
    core.U32(0x000000A5).U32(0x0000005A);
    CollectionSeed("dib-core-header", kPackedDib, core.b);

    Writer bmp;
    bmp.Str("BM").U32(0).U32(0).U32(14 + 40 + 8 + 2);  // two bytes of gap before the rows
    const Writer inner = InfoHeader(40, 1, 2, 8, 0, 2);
    bmp.b.insert(bmp.b.end(), inner.b.begin(), inner.b.end());
    Palette(bmp, 2);
    bmp.U16(0xEEEE).U32(0x00000001).U32(0);
    CollectionSeed("bmp-file-with-gap", kBmpFile, bmp.b);
}

void SavedFileSeeds() {
    Seed("settings", "on-100", {1, 1, 100});
    Seed("settings", "off-0", {0, 0, 0});
    Seed("settings", "above-100", {2, 7, 250});
    Seed("settings", "short", {1, 1});
    Seed("settings", "empty", {});

    ScoreTableRecord table;
    DefaultScores(table);
    const auto scores = EncodeScores(table);
    Seed("scores", "defaults", Bytes(scores.begin(), scores.end()));
    Bytes damagedScores(scores.begin(), scores.end());
    damagedScores[40] = 200;  // a name length past 20
    damagedScores.push_back(9);
    Seed("scores", "long-name-longer-file", damagedScores);
    Seed("scores", "short", Bytes(scores.begin(), scores.begin() + 100));

    SavedFiles saved;
    DefaultProfiles(saved);
    ProgressRecord& p = saved.ProfileTable[2];
    p.PlayerName.Assign("Lada");
    p.Level = 4;
    p.ScrollDistance = 3000;
    p.LevelEnd = 10800;
    p.Score = 12345;
    p.Lives = 2;
    p.LastWeapon = 3;
    p.ItemSlots[1] = 5;
    p.BlackBoxCount = 3;
    ProgressRecord& nine = saved.ProfileTable[5];
    nine.PlayerName.Assign("Devet");
    nine.Level = 9;
    nine.ScrollDistance = 12000;
    Bytes profiles;
    for (int k = 1; k <= 6; ++k) {
        const auto slot = EncodeProgress(saved.ProfileTable[k]);
        profiles.insert(profiles.end(), slot.begin(), slot.end());
    }
    Seed("profiles", "two-games", profiles);
    Seed("profiles", "short", Bytes(profiles.begin(), profiles.begin() + 300));
    Bytes extreme = profiles;
    for (size_t i = 0; i < 108; ++i) extreme[i] = 0xFF;
    Seed("profiles", "slot-one-all-ff", extreme);
}

void Text(const std::string& name, const std::string& text) {
    Seed("input_script", name, Bytes(text.begin(), text.end()));
}

void InputScriptSeeds() {
    Text("keys", "seed 12345\n0 down Right\n36 up Right\n37 down Space # fire\n40 up space\n41 down KP+\n42 up F12\n");
    Text("menu", "0 type 32\n5 move 102 298\n5 click\n8 move 150 478\n9 click\n10 type 65\n11 type 154\n12 type 13\n");
    Text("recording",
         "seed 7\nnewgame 3 9 Zdeněk\n0 down Up\n299 up Up\nhash 300 0123456789abcdef fedcba9876543210\n"
         "hash 600 00000000000000ff\nend 600\n");
    Text("cut-recording", "seed 7\n0 down Up\nhash 300 0123456789abcdef fedcba9876543210\n");
    Text("bad-line", "seed 1\n5 down Up\nhash 300 zz\n");
}

void SettingsTextSeeds() {
    auto text = [](const std::string& name, const std::string& t) {
        Seed("settings_text", name, Bytes(t.begin(), t.end()));
    };
    text("written",
         "# Kavrix: window and scaling, written by the game\nfullscreen=on\nfilter=nearest\n"
         "integer-scale=on\n");
    text("players-own", "# mine\n fullscreen = off \n\nvsync=on\nfilter=linear\r\nfilter=blurry\ninteger-scale\n");
    text("noise", "\x01\x02garbage\n=\n=on\nfullscreen=\x1b[2J\n");
    text("language-and-keys",
         "language=en\nkey.up=Up W\nkey.fire=Space, LeftCtrl\nkey.help=\npad.fire=A RightShoulder\n"
         "key.jump=J\nkey.down=Nowhere\npad.menu=Start Start\nlanguage=xx\n");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: fuzz_seeds OUTDIR\n";
        return 2;
    }
    outDir = argv[1];
    PictureCollectionSeeds();
    WaveCollectionSeeds();
    BitmapSeeds();
    SavedFileSeeds();
    InputScriptSeeds();
    SettingsTextSeeds();
    std::cout << "fuzz_seeds: " << seedCount << " seeds in " << outDir.string() << "\n";
    return 0;
}
