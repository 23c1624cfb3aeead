// A world for the level tests: small picture collections built in memory
// with known frame sizes (object pictures 0..25 of Rakety, "Zivot", and the
// overlays and explosions of Obrazky), sound off, nothing loaded from disk.
#pragma once
#include <string>
#include <vector>

#include "frame_probes.h"
#include "levpack.h"
#include "media/asset_path.h"
#include "media/collection_file.h"
#include "media/mixer.h"
#include "media/picture.h"
#include "media/sound.h"
#include "media/surface.h"
#include "state/game_state.h"
#include "test_support.h"

namespace levelfixture {

struct Size {
    int width, height, frames;
};

// Frame sizes of the Rakety pictures by index: varied, so that a rule
// reading the wrong picture's size shows.
inline Size RaketySize(int index) {
    switch (index) {
        case 0: return {40, 40, 1};
        case 1: return {62, 52, 3};
        case 2: return {48, 36, 3};
        case 3: return {54, 42, 3};
        case 4: return {66, 56, 3};
        case 5: return {44, 44, 1};  // barrier block
        case 7: return {72, 60, 3};
        case 8: return {50, 50, 1};  // box
        case 9: return {30, 30, 1};  // meteors 9..13
        case 10: return {42, 38, 1};
        case 11: return {56, 50, 1};
        case 12: return {64, 60, 1};
        case 13: return {36, 44, 1};
        case 14: return {32, 32, 2};  // black box, two blink frames
        case 15: return {46, 40, 3};
        case 16: return {60, 54, 3};
        case 17: return {70, 64, 3};
        case 18: return {58, 50, 3};
        case 19: return {52, 46, 3};
        case 20: return {50, 44, 3};
        case 21: return {41, 37, 3};  // odd sizes: halves of negative values
        case 23: return {8, 16, 1};   // enemy shot kind 0
        case 24: return {2, 26, 1};   // kind 1, the red beam
        case 25: return {12, 12, 1};  // kind 2
        default: return {20, 20, 1};
    }
}
constexpr int kRaketyPictures = 26;

// Every frame of a picture has its own blue, so that a drawing test can tell
// which frame was drawn: red and green name the picture, blue the frame.
inline uint32_t FrameColour(uint32_t colour, int frame) {
    return (colour & 0x00FFFFu) | (uint32_t(0x20 + 0x18 * frame) << 16);
}
// The back surface's value of that frame's colour.
inline uint16_t FramePixel(uint32_t colour, int frame) {
    const uint32_t c = FrameColour(colour, frame);
    return RgbTo565(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

inline PictureItem MakePicture(const std::string& name, int width, int height, int frames, uint32_t colour) {
    PictureItem item;
    item.Name = name;
    item.StoredPatternWidth = width;
    item.StoredPatternHeight = height;
    item.Transparent = true;
    item.TransparentColor = 0;
    RgbImage image;
    image.width = width * frames;
    image.height = height;
    image.pixels.resize(size_t(image.width) * size_t(height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < image.width; ++x)
            image.pixels[size_t(y) * size_t(image.width) + size_t(x)] = FrameColour(colour, x / width);
    PreparePicture(item, image);
    return item;
}

// Base colours of the pictures (see FrameColour).
inline uint32_t RaketyColour(int index) { return 0x204080u + uint32_t(index) * 0x0801u; }
constexpr uint32_t kZivotColour = 0x00C0FFu;
constexpr uint32_t kSpecialColour = 0x00FF00u;
constexpr uint32_t kIconGunsColour = 0x0000F0u;
constexpr uint32_t kMalyBumColour = 0x00FFFFu;
constexpr uint32_t kVelkybumColour = 0x0080FFu;
constexpr uint32_t kVlnaColour = 0x00F0F0u;

inline void BuildCollections(World& w) {
    w.media.Rakety = PictureCollection{};
    for (int i = 0; i < kRaketyPictures; ++i) {
        const Size s = RaketySize(i);
        w.media.Rakety.items.push_back(
            MakePicture("Obj" + std::to_string(i), s.width, s.height, s.frames, RaketyColour(i)));
    }
    w.media.Rakety.items.push_back(MakePicture("Zivot", 24, 24, 7, kZivotColour));
    IndexCollection(w.media.Rakety);

    w.media.Obrazky = PictureCollection{};
    w.media.Obrazky.items.push_back(MakePicture("Special", 24, 24, 8, kSpecialColour));
    w.media.Obrazky.items.push_back(MakePicture("IconGuns", 24, 24, 5, kIconGunsColour));
    w.media.Obrazky.items.push_back(MakePicture("MalyBum", 24, 24, 3, kMalyBumColour));
    w.media.Obrazky.items.push_back(MakePicture("Velkybum", 100, 100, 6, kVelkybumColour));
    w.media.Obrazky.items.push_back(MakePicture("Vlna", 156, 140, 6, kVlnaColour));
    IndexCollection(w.media.Obrazky);

    w.media.Level = PictureCollection{};
    w.media.Level.items.push_back(MakePicture("Sentinel", 8, 8, 1, 0x123456u));
    IndexCollection(w.media.Level);
}

// A world with the in-memory collections, the game reset, sound off.
inline TestWorld MakeLevelWorld(uint32_t seed = 12345) {
    TestWorld t = MakeTestWorld(false, seed);
    BuildCollections(t.w());
    t.w().shell.SoundEnabled = 0;
    t.w().shell.CurrentScene = Scene::HlavniHra;
    return t;
}

// The game's generated sound effects, so that a test can hear which were
// started (the pictures stay the in-memory ones).
inline void LoadSounds(World& w) {
    LoadWaveCollection(w.media.Zvuky, ResolveAssetPath(TestDataDir(), "audio\\zvuky.lev"));
    AttachWaves(*w.media.mixer, w.media.Zvuky);
    w.shell.SoundEnabled = 1;
}

// Writes "video/mesto.lev" (first picture "Kostky") and "video/velkalod.lev"
// (first picture "Lod", then the ship's numbered pictures) into dir.
inline void WriteSceneryFiles(const std::string& dir) {
    auto picture = [](const std::string& name, int width, int height) {
        levpack::PictureEntry s;
        s.name = name;
        s.width = width;
        s.height = height;
        s.pixels.assign(size_t(width) * size_t(height), 0x406080u);
        s.transparentColor = 0;
        return s;
    };
    std::vector<levpack::PictureEntry> city{picture("Kostky", 101, 101), picture("Reaktor", 101, 101)};
    std::vector<levpack::PictureEntry> ship{picture("Lod", 200, 120)};
    for (int i = 1; i <= 32; ++i) ship.push_back(picture("Part" + std::to_string(i), 20, 20));
    RunCommand("mkdir -p '" + dir + "/video'");
    levpack::WriteFile(dir + "/video/mesto.lev", levpack::WritePictureCollection(city));
    levpack::WriteFile(dir + "/video/velkalod.lev", levpack::WritePictureCollection(ship));
}

}  // namespace levelfixture
