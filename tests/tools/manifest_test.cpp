// Checks the generated picture collections against the picture table: every
// file loads with the game's loader, names, indexes and frames match, the
// pictures fit the places the game draws them (monitor window, instrument
// bar, mother ship parts, the fighter's guns), keys do not bleed, and every
// picture name used anywhere in the game's code exists in its collection.
#include <gtest/gtest.h>

#include <cairo.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "assetgen.h"
#include "draw_util.h"
#include "media/collection_file.h"
#include "media/picture.h"
#include "media/surface.h"
#include "picture_manifest.h"
#include "test_support.h"

namespace {

std::string Lower(std::string s) {
    for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

const PictureCollection& Loaded(Collection c) {
    static std::map<Collection, std::unique_ptr<PictureCollection>> cache;
    auto& slot = cache[c];
    if (!slot) {
        slot = std::make_unique<PictureCollection>();
        LoadPictureCollection(*slot, TestDataDir() + "/" + CollectionFileName(c));
    }
    return *slot;
}

// Draws frame `frame` of a picture at (x, y) on a surface filled with a
// marker colour, so that the pixels the picture leaves alone can be told.
constexpr uint16_t kMarker = 0x07E0;  // pure green
std::unique_ptr<Surface> DrawnOnMarker(const PictureItem& item, int x, int y, int frame) {
    auto s = std::make_unique<Surface>();
    FillSurface(*s, kMarker);
    DrawPattern(item, *s, x, y, frame);
    return s;
}

int Brightness(uint16_t p) { return ((p >> 11) << 3) + (((p >> 5) & 63) << 2) + ((p & 31) << 3); }

TEST(PictureCollections, EveryFileMatchesThePictureTable) {
    for (Collection c : kAllCollections) {
        SCOPED_TRACE(CollectionFileName(c));
        const PictureCollection& col = Loaded(c);
        const std::vector<ManifestEntry> entries = ManifestOf(c);
        ASSERT_EQ(col.items.size(), entries.size());
        for (const ManifestEntry& e : entries) {
            SCOPED_TRACE(e.name);
            const PictureItem& item = PictureAt(col, e.index);
            EXPECT_EQ(item.Name, e.name);
            EXPECT_EQ(&FindPicture(col, Lower(e.name)), &item);
            EXPECT_EQ(PatternWidth(item), e.frameWidth);
            EXPECT_EQ(PatternHeight(item), e.frameHeight);
            EXPECT_EQ(FrameCount(item), e.frames);
            EXPECT_EQ(item.Transparent, e.keyed);
            if (e.keyed) {
                EXPECT_EQ(item.key565, ColorTo565(kKeyFuchsia));
            }
        }
    }
}

TEST(PictureCollections, EveryFrameShowsSomethingAndKeyedFramesHaveNoStrayKey) {
    for (const ManifestEntry& e : Manifest()) {
        const PictureItem& item = FindPicture(Loaded(e.collection), e.name);
        for (int f = 0; f < e.frames; ++f) {
            SCOPED_TRACE(std::string(e.name) + " frame " + std::to_string(f));
            auto s = DrawnOnMarker(item, 0, 0, f);
            int drawn = 0;
            for (int y = 0; y < std::min(e.frameHeight, kSurfaceHeight); ++y)
                for (int x = 0; x < std::min(e.frameWidth, kSurfaceWidth); ++x) drawn += s->pixels[y][x] != kMarker;
            EXPECT_GT(drawn, 0);
            if (!e.keyed) {
                EXPECT_EQ(drawn, std::min(e.frameWidth, 800) * std::min(e.frameHeight, 600));
            }
        }
    }
}

TEST(PictureCollections, JpegIsUsedOnlyForOpaquePictures) {
    int jpeg = 0, bitmap = 0;
    for (const ManifestEntry& e : Manifest()) {
        if (e.data == levpack::PictureData::Jpeg) {
            ++jpeg;
            EXPECT_FALSE(e.keyed) << e.name;
        }
        bitmap += e.data == levpack::PictureData::Bitmap;
    }
    EXPECT_GT(jpeg, 0);
    EXPECT_GT(bitmap, 0);
}

TEST(Flattening, EdgesBecomeKeyOrSolidAndNoSolidPixelHitsTheKey) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 40, 20);
    cairo_t* cr = cairo_create(surface);
    art::Ellipse(cr, 10, 10, 7.3, 7.3);  // anti-aliased rim
    art::Rgb(cr, 0xFFFFFF);
    cairo_fill(cr);
    cairo_rectangle(cr, 22, 2, 16, 16);  // a block in the key colour itself
    art::Rgb(cr, 0xFF00FF);
    cairo_fill(cr);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    const std::vector<uint32_t> px = art::Flatten(surface, true, kKeyFuchsia);
    const uint8_t* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    int rim = 0;
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 40; ++x) {
            const uint32_t alpha = reinterpret_cast<const uint32_t*>(data + y * stride)[x] >> 24;
            const bool key = art::Same565(px[y * 40 + x], kKeyFuchsia);
            EXPECT_EQ(key, alpha < 128) << x << "," << y;
            if (!key && alpha < 255) {
                ++rim;
                // A rim pixel is darkened towards space, never tinted with the key.
                EXPECT_LT(px[y * 40 + x] & 0xFF, 0xFFu);
            }
        }
    }
    EXPECT_GT(rim, 0);
    cairo_surface_destroy(surface);
}

TEST(MenuPictures, MonitorWindowShowsTheMonitorAndPagesFitTheConsole) {
    const PictureCollection& menu = Loaded(Collection::MenuObr);
    auto s = DrawnOnMarker(FindPicture(menu, "Podklad"), 0, 0, 0);
    for (int y = 25; y <= 241; ++y)
        for (int x = 25; x <= 773; ++x) ASSERT_EQ(s->pixels[y][x], kMarker) << x << "," << y;
    for (int x = 25; x <= 773; x += 37) {
        EXPECT_NE(s->pixels[20][x], kMarker);
        EXPECT_NE(s->pixels[250][x], kMarker);
    }
    // Item tiles, the terminal and the logo badge are solid.
    for (int i = 0; i < 6; ++i) EXPECT_NE(s->pixels[298][102 + 119 * i], kMarker);
    EXPECT_NE(s->pixels[587][734], kMarker);
    // Pages are drawn at (25, 357) and must not cover the logo hotspot.
    for (const char* page : {"Novahra", "Profil", "Skore", "Helpik", "Konec", "Vymazat", "Obsazeno"}) {
        const PictureItem& p = FindPicture(menu, page);
        EXPECT_LE(357 + PatternHeight(p), 579) << page;
        EXPECT_LE(25 + PatternWidth(p), 775) << page;
    }
    // Buttons are the size of their hit areas.
    const std::map<std::string, std::pair<int, int>> buttons = {{"Start", {93, 28}}, {"Nacti", {91, 28}},
                                                                {"Vymaz", {91, 28}}, {"Ano", {61, 23}},
                                                                {"Ne", {61, 23}},    {"Ok", {61, 24}}};
    for (const auto& [name, size] : buttons) {
        const PictureItem& b = FindPicture(menu, name);
        EXPECT_EQ(PatternWidth(b), size.first) << name;
        EXPECT_GE(PatternHeight(b), size.second - 1) << name;
    }
    // Item highlights cover the tiles 72 x 72.
    EXPECT_EQ(PatternWidth(FindPicture(menu, "Polozky")), 72);
    EXPECT_EQ(FrameCount(FindPicture(menu, "Polozky")), 6);
}

TEST(HudPictures, InstrumentBarPanelsSitWhereTheHudDraws) {
    const PictureCollection& obr = Loaded(Collection::Obrazky);
    auto s = DrawnOnMarker(FindPicture(obr, "Lista"), 0, 471, 0);
    // The bar covers the bottom of the screen.
    for (int x = 0; x < 800; x += 50) EXPECT_NE(s->pixels[471][x], kMarker);
    // Gun energy gauge: seven lit units per row, the narrow first one inside
    // the 5 px that a gun of 105..109 blacks out, so a full gun looks full.
    for (int row = 0; row < 3; ++row) {
        const int y = 542 + 16 * row;
        EXPECT_GT(Brightness(s->pixels[y][742]), 150) << row;
        for (int j = 1; j <= 6; ++j) EXPECT_GT(Brightness(s->pixels[y][743 + 6 * j]), 150) << row << "," << j;
        EXPECT_LT(Brightness(s->pixels[y][746]), 60) << row;
    }
    // Dark screens under the radar, the commander's text, the energy and score digits.
    for (auto [x, y] : {std::pair{60, 530}, {300, 500}, {170, 557}, {500, 555}, {570, 555}})
        EXPECT_LT(Brightness(s->pixels[y][x]), 90) << x << "," << y;
    // Digits and item icons fit their places.
    EXPECT_LE(PatternWidth(FindPicture(obr, "CislaBody")), 23);
    EXPECT_LE(PatternWidth(FindPicture(obr, "CislaLife")), 13);
    EXPECT_EQ(FrameCount(FindPicture(obr, "CislaLife")), 30);
    EXPECT_LE(PatternWidth(FindPicture(obr, "Special")), 56);
}

TEST(ShipPictures, FighterGunsShieldAndBoxFitTheGame) {
    const PictureCollection& rak = Loaded(Collection::Rakety);
    const PictureItem& ship = FindPicture(rak, "Kavrix");
    // The lasers start at x - 23 and x + 11 from a reference 42 px inside the
    // frame: the barrels must be there, at the top, in every flying frame.
    for (int f = 0; f < 9; ++f) {
        auto s = DrawnOnMarker(ship, 100, 100, f);
        const int narrow = (f % 3 == 1) ? 0 : 3;  // banking frames are narrower
        for (int gx : {142 - 23, 142 + 11}) {
            bool found = false;
            for (int dx = -narrow; dx <= narrow; ++dx) found |= s->pixels[104][gx + dx] != kMarker;
            EXPECT_TRUE(found) << "frame " << f << " gun " << gx;
        }
    }
    const PictureItem& shield = FindPicture(Loaded(Collection::Obrazky), "Nesmrtelnost");
    EXPECT_EQ(PatternWidth(shield), PatternWidth(ship) + 2);
    EXPECT_EQ(PatternHeight(shield), PatternHeight(ship) + 2);
    // The box holds a 45 x 45 overlay at (13, 14); the life box replaces it.
    const PictureItem& box = PictureAt(rak, 8);
    EXPECT_GE(PatternWidth(box), 13 + 45);
    EXPECT_GE(PatternHeight(box), 14 + 45);
    // The life box is drawn in the overlay's place instead of the box.
    EXPECT_EQ(PatternWidth(FindPicture(rak, "Zivot")), 45);
    EXPECT_EQ(PatternHeight(FindPicture(rak, "Zivot")), 45);
    EXPECT_EQ(FrameCount(FindPicture(rak, "Zivot")), 6);
    // The barrier tiles at a pitch of 44, the red beam shot is 2 x 25.
    EXPECT_EQ(PatternWidth(PictureAt(rak, 5)), 44);
    EXPECT_EQ(PatternHeight(PictureAt(rak, 5)), 44);
    EXPECT_EQ(PatternWidth(PictureAt(rak, 24)), 2);
    EXPECT_EQ(PatternHeight(PictureAt(rak, 24)), 25);
    EXPECT_EQ(FrameCount(PictureAt(rak, 14)), 2);
    for (int i = 1; i <= 20; ++i) {
        EXPECT_GE(PatternWidth(PictureAt(rak, i)), 20) << i;
        EXPECT_LE(PatternWidth(PictureAt(rak, i)), 100) << i;
    }
}

TEST(MotherShipPictures, WrecksMatchThePartsAndThePartsAreVisible) {
    struct Box {
        int x, y, w, h;
    };
    const Box parts[18] = {{586, 32, 63, 63},  {5, 141, 21, 62},   {774, 142, 21, 62}, {164, 0, 51, 45},
                           {488, 0, 39, 35},   {527, 0, 39, 35},   {85, 128, 18, 22},  {107, 123, 18, 22},
                           {676, 141, 18, 22}, {698, 129, 18, 22}, {342, 89, 30, 29},  {440, 81, 38, 27},
                           {533, 132, 70, 28}, {23, 140, 34, 41},  {743, 141, 21, 62}, {371, 50, 28, 28},
                           {247, 0, 58, 44},   {207, 98, 68, 72}};
    const PictureCollection& lod = Loaded(Collection::Velkalod);
    EXPECT_EQ(PictureAt(lod, 0).Name, "Lod");
    EXPECT_EQ(PatternHeight(PictureAt(lod, 0)), 228);
    auto s = DrawnOnMarker(PictureAt(lod, 0), 0, 0, 0);
    for (int i = 0; i < 18; ++i) {
        const PictureItem& wreck = PictureAt(lod, i + 1);
        EXPECT_EQ(PatternWidth(wreck), parts[i].w) << "part " << i;
        EXPECT_EQ(PatternHeight(wreck), parts[i].h) << "part " << i;
        EXPECT_NE(s->pixels[parts[i].y + parts[i].h / 2][parts[i].x + parts[i].w / 2], kMarker)
            << "part " << i << " is not on the hull";
    }
    EXPECT_EQ(FrameCount(PictureAt(lod, 19)), 5);
    EXPECT_EQ(PatternWidth(PictureAt(lod, 20)), 28);
    EXPECT_EQ(PatternHeight(PictureAt(lod, 20)), 23);
    EXPECT_EQ(FrameCount(PictureAt(lod, 21)), 13);
    EXPECT_EQ(FrameCount(PictureAt(lod, 22)), 5);
    EXPECT_EQ(lod.items.size(), 33u);
    // The city: picture 0 is how level construction tells the scenery apart.
    EXPECT_EQ(PictureAt(Loaded(Collection::Mesto), 0).Name, "Kostky");
}

// Pixels of one frame as drawn on the marker surface, for comparing frames.
std::vector<uint16_t> FramePixels(const PictureItem& item, int frame) {
    const int w = std::min(PatternWidth(item), kSurfaceWidth), h = std::min(PatternHeight(item), kSurfaceHeight);
    auto s = DrawnOnMarker(item, 0, 0, frame);
    std::vector<uint16_t> out;
    for (int y = 0; y < h; ++y) out.insert(out.end(), &s->pixels[y][0], &s->pixels[y][0] + w);
    return out;
}

int Covered(const std::vector<uint16_t>& px) {
    return int(std::count_if(px.begin(), px.end(), [](uint16_t p) { return p != kMarker; }));
}

long TotalBrightness(const std::vector<uint16_t>& px) {
    long sum = 0;
    for (uint16_t p : px) sum += p == kMarker ? 0 : Brightness(p);
    return sum;
}

TEST(Animations, NeighbouringFramesDifferSoEveryAnimationMoves) {
    for (const ManifestEntry& e : Manifest()) {
        if (e.frames < 2) continue;
        const PictureItem& item = FindPicture(Loaded(e.collection), e.name);
        std::vector<uint16_t> previous = FramePixels(item, 0);
        for (int f = 1; f < e.frames; ++f) {
            std::vector<uint16_t> current = FramePixels(item, f);
            EXPECT_NE(previous, current) << e.name << " frames " << f - 1 << " and " << f;
            previous = std::move(current);
        }
    }
}

TEST(Animations, ExplosionsGrowAndTheShockWaveWidens) {
    const PictureCollection& obr = Loaded(Collection::Obrazky);
    for (const char* name : {"Velkybum", "MalyBum"}) {
        const PictureItem& boom = FindPicture(obr, name);
        // The fire ball covers more of its frame from the first frame to the third.
        EXPECT_LT(Covered(FramePixels(boom, 0)), Covered(FramePixels(boom, 2))) << name;
    }
    const PictureItem& big = FindPicture(obr, "Velkybum");
    // ... and the last frame is a dimmer smoke than the hottest one.
    EXPECT_LT(TotalBrightness(FramePixels(big, 5)), TotalBrightness(FramePixels(big, 2)));
    // The ring's widest row grows with every frame.
    const PictureItem& wave = FindPicture(obr, "Vlna");
    int lastSpan = 0;
    for (int f = 0; f < FrameCount(wave); ++f) {
        auto s = DrawnOnMarker(wave, 0, 0, f);
        const int y = PatternHeight(wave) / 2;
        int left = -1, right = -1;
        for (int x = 0; x < PatternWidth(wave); ++x)
            if (s->pixels[y][x] != kMarker) {
                if (left < 0) left = x;
                right = x;
            }
        ASSERT_GE(left, 0) << "frame " << f;
        EXPECT_GT(right - left, lastSpan) << "frame " << f;
        lastSpan = right - left;
    }
}

TEST(Animations, HitFramesOfTheFighterAreLitAndTheLifeBoxFadesWhenTaken) {
    const PictureItem& ship = FindPicture(Loaded(Collection::Rakety), "Kavrix");
    for (int f = 0; f < 3; ++f)
        EXPECT_GT(TotalBrightness(FramePixels(ship, f + 3)), TotalBrightness(FramePixels(ship, f)) * 11 / 10)
            << "frame " << f;
    const PictureItem& life = FindPicture(Loaded(Collection::Rakety), "Zivot");
    EXPECT_LT(TotalBrightness(FramePixels(life, 5)), TotalBrightness(FramePixels(life, 1)));
}

// Centre of the covered pixels of a picture drawn at (x, y), in screen pixels.
std::pair<double, double> Centroid(const PictureItem& item, int x, int y, int frame) {
    auto s = DrawnOnMarker(item, x, y, frame);
    double sx = 0, sy = 0;
    long n = 0;
    for (int py = 0; py < kSurfaceHeight; ++py)
        for (int px = 0; px < kSurfaceWidth; ++px)
            if (s->pixels[py][px] != kMarker) {
                sx += px;
                sy += py;
                ++n;
            }
    return n ? std::pair{sx / n, sy / n} : std::pair{-1.0, -1.0};
}

TEST(Placement, IntroEmblemRingsShareOneCentreAndTheLetteringLeavesItClear) {
    const PictureCollection& menu = Loaded(Collection::MenuObr);
    // The places the intro draws them.
    const struct {
        const char* name;
        int x, y;
    } rings[] = {{"Bodliny", 356, 194}, {"Vnejsi kruh", 371, 209}, {"Vnitrni kruh", 383, 221}};
    for (const auto& r : rings) {
        const auto [cx, cy] = Centroid(FindPicture(menu, r.name), r.x, r.y, 0);
        EXPECT_NEAR(cx, 403.5, 1.5) << r.name;
        EXPECT_NEAR(cy, 241.5, 1.5) << r.name;
    }
    // "Napis" at (244, 229) crosses the emblem (356..452): that stretch stays clear.
    auto s = DrawnOnMarker(FindPicture(menu, "Napis"), 244, 229, 0);
    for (int y = 229; y < 260; ++y)
        for (int x = 360; x < 448; ++x) ASSERT_EQ(s->pixels[y][x], kMarker) << x << "," << y;
}

TEST(Placement, FinishLightsSitOnTheFlagPoles) {
    const PictureCollection& obr = Loaded(Collection::Obrazky);
    const PictureItem& light = FindPicture(obr, "VlajkaLight");
    // Pole columns: the covered pixels of the bottom row of each flag (only the pole reaches it).
    auto poleX = [&](const char* flag, int x) {
        const PictureItem& item = FindPicture(obr, flag);
        auto s = DrawnOnMarker(item, x, 100, 0);
        const int y = 100 + PatternHeight(item) - 2;
        double sum = 0;
        int n = 0;
        for (int px = x; px < x + PatternWidth(item); ++px)
            if (s->pixels[y][px] != kMarker) sum += px, ++n;
        return n ? sum / n : -100.0;
    };
    EXPECT_NEAR(Centroid(light, 0, 100, 0).first, poleX("VlajkaLeva", 0), 2.0);
    EXPECT_NEAR(Centroid(light, 787, 100, 1).first, poleX("VlajkaPrava", 750), 2.0);
}

TEST(Placement, CityTilesHaveNoHolesAtTheirEdges) {
    // The city grid lays tiles edge to edge; a keyed pixel on a tile's edge
    // would let the stars show through the streets.
    for (const ManifestEntry& e : ManifestOf(Collection::Mesto)) {
        const PictureItem& item = FindPicture(Loaded(Collection::Mesto), e.name);
        for (int f = 0; f < e.frames; ++f) {
            auto s = DrawnOnMarker(item, 0, 0, f);
            for (int i = 0; i < 101; ++i) {
                ASSERT_NE(s->pixels[0][i], kMarker) << e.name << " " << f;
                ASSERT_NE(s->pixels[100][i], kMarker) << e.name << " " << f;
                ASSERT_NE(s->pixels[i][0], kMarker) << e.name << " " << f;
                ASSERT_NE(s->pixels[i][100], kMarker) << e.name << " " << f;
            }
        }
    }
}

TEST(Generation, IsDeterministicAndMatchesTheBuildsData) {
    const std::string dir = MakeTempDir("picture_generation");
    GeneratePictures(dir);
    for (Collection c : kAllCollections) {
        const std::vector<uint8_t> fresh = ReadFileBytes(dir + "/" + CollectionFileName(c));
        ASSERT_FALSE(fresh.empty()) << CollectionFileName(c);
        EXPECT_EQ(fresh, ReadFileBytes(TestDataDir() + "/" + CollectionFileName(c))) << CollectionFileName(c);
    }
    std::filesystem::remove_all(dir);
}

TEST(Generation, FailuresNameTheFile) {
    const std::string dir = MakeTempDir("picture_generation_fail");
    // A plain file where the video directory should be.
    WriteFileBytes(dir + "/video", {1, 2, 3});
    try {
        GeneratePictures(dir);
        ADD_FAILURE() << "generation into a blocked directory succeeded";
    } catch (const std::exception& e) {
        EXPECT_NE(std::string(e.what()).find("video"), std::string::npos) << e.what();
    }
    try {
        WriteContactSheet(dir + "/no/such/dir/sheet.png");
        ADD_FAILURE() << "contact sheet into a missing directory succeeded";
    } catch (const std::exception& e) {
        EXPECT_NE(std::string(e.what()).find("sheet.png"), std::string::npos) << e.what();
    }
    std::filesystem::remove_all(dir);
}

TEST(Generation, ContactSheetIsAPngShowingEveryCollection) {
    const std::string dir = MakeTempDir("contact_sheet");
    WriteContactSheet(dir + "/sheet.png");
    const std::vector<uint8_t> png = ReadFileBytes(dir + "/sheet.png");
    ASSERT_GT(png.size(), 24u);
    const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    EXPECT_TRUE(std::equal(signature, signature + 8, png.begin()));
    const uint32_t width = uint32_t(png[16]) << 24 | png[17] << 16 | png[18] << 8 | png[19];
    const uint32_t height = uint32_t(png[20]) << 24 | png[21] << 16 | png[22] << 8 | png[23];
    EXPECT_GE(width, 800u);  // the 800-wide pictures are shown whole
    EXPECT_GT(height, 600u * 4);
    std::filesystem::remove_all(dir);
}

// Every picture name the game's code passes to a drawing call together with
// its collection must be in that collection's table.
TEST(GameCode, EveryPictureNameUsedInTheCodeIsInItsCollection) {
    const std::filesystem::path src = std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "src";
    ASSERT_TRUE(std::filesystem::is_directory(src)) << src;
    std::map<std::string, std::set<std::string>> known;  // collection member -> lower names
    std::map<std::string, int> counts;
    for (const ManifestEntry& e : Manifest()) {
        const char* member = e.collection == Collection::Rakety    ? "Rakety"
                             : e.collection == Collection::Obrazky ? "Obrazky"
                             : e.collection == Collection::MenuObr ? "MenuObr"
                                                                   : "Level";
        known[member].insert(Lower(e.name));
        counts[member] = std::max(counts[member], e.index + 1);
    }
    // media.<Collection>, "<Name>"  and  PictureAt(...media.<Collection>, <index>)
    const std::regex byName(R"(media\s*\.\s*(Rakety|Obrazky|MenuObr|Level)\s*,\s*"([^"]+)\")");
    const std::regex byIndex(
        R"(PictureAt\s*\(\s*\w+\s*\.\s*media\s*\.\s*(Rakety|Obrazky|MenuObr|Level)\s*,\s*(\d+)\s*\))");
    int uses = 0;
    for (const auto& file : std::filesystem::recursive_directory_iterator(src)) {
        const std::string ext = file.path().extension().string();
        if (ext != ".cpp" && ext != ".h") continue;
        std::ifstream in(file.path());
        std::stringstream text;
        text << in.rdbuf();
        const std::string code = text.str();
        for (std::sregex_iterator it(code.begin(), code.end(), byName), end; it != end; ++it) {
            if ((*it)[2].str().find(".lev") != std::string::npos) continue;  // loading a file
            ++uses;
            EXPECT_TRUE(known[(*it)[1]].count(Lower((*it)[2])))
                << file.path().filename() << ": \"" << (*it)[2] << "\" is not in " << (*it)[1];
        }
        for (std::sregex_iterator it(code.begin(), code.end(), byIndex), end; it != end; ++it) {
            ++uses;
            EXPECT_LT(std::stoi((*it)[2]), counts[(*it)[1]]) << file.path().filename();
        }
    }
    // The game draws dozens of pictures; finding none means the scan is broken.
    EXPECT_GT(uses, 10);
}

}  // namespace
