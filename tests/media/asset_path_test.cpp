// Asset names with backslashes resolve to files under the data directory
// whatever the letter case of each path component.
#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <fstream>

#include "media/asset_path.h"

namespace {

namespace fs = std::filesystem;

struct AssetPathTest : ::testing::Test {
    fs::path dir;
    void SetUp() override {
        dir = fs::temp_directory_path() / ("kavrix-assetpath-" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir / "Video");
        fs::create_directories(dir / "audio");
        std::ofstream(dir / "Video" / "Rakety.LEV") << "x";
        std::ofstream(dir / "audio" / "song01.mod") << "x";
        std::ofstream(dir / "audio" / "Intro.mod") << "x";
    }
    void TearDown() override { fs::remove_all(dir); }
};

TEST_F(AssetPathTest, EachComponentMatchesWithoutRegardToCase) {
    EXPECT_EQ(ResolveAssetPath(dir.string(), "video\\rakety.lev"), (dir / "Video" / "Rakety.LEV").string());
    EXPECT_EQ(ResolveAssetPath(dir.string(), "VIDEO\\RAKETY.lev"), (dir / "Video" / "Rakety.LEV").string());
    EXPECT_EQ(ResolveAssetPath(dir.string(), "audio\\Intro.mod"), (dir / "audio" / "Intro.mod").string());
    EXPECT_EQ(ResolveAssetPath(dir.string(), "audio\\intro.mod"), (dir / "audio" / "Intro.mod").string());
    EXPECT_EQ(ResolveAssetPath(dir.string(), "Audio/SONG01.MOD"), (dir / "audio" / "song01.mod").string());
    EXPECT_TRUE(fs::exists(ResolveAssetPath(dir.string(), "video\\RAKETY.LEV")));
}

TEST_F(AssetPathTest, MissingFilesKeepTheirNameForTheErrorMessage) {
    EXPECT_EQ(ResolveAssetPath(dir.string(), "video\\mesto.lev"), (dir / "video" / "mesto.lev").string());
    EXPECT_EQ(ResolveAssetPath(dir.string(), "nic\\rakety.lev"), (dir / "nic" / "rakety.lev").string());
    EXPECT_FALSE(fs::exists(ResolveAssetPath(dir.string(), "audio\\song02.mod")));
}

TEST_F(AssetPathTest, WorkingDirectoryWhenNoDataDirectory) {
    const fs::path old = fs::current_path();
    fs::current_path(dir);
    const std::string path = ResolveAssetPath("", "video\\rakety.lev");
    fs::current_path(old);
    EXPECT_TRUE(fs::exists(dir / path));
    EXPECT_EQ(fs::path(path).filename(), "Rakety.LEV");
}

}  // namespace
