// Screenshots: the PNG written from the back surface reads back as an
// 800 x 600 RGB picture with the surface's colours widened to 8 bits.
#include <gtest/gtest.h>

#include <png.h>

#include <unistd.h>
#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

#include "media/png_writer.h"

namespace {

namespace fs = std::filesystem;

TEST(WritePng, ReadsBackWithTheSurfaceColours) {
    auto surface = std::make_unique<Surface>();
    FillSurface(*surface, 0);
    surface->pixels[0][0] = 0xFFFF;                    // white
    surface->pixels[0][1] = 0xF800;                    // red
    surface->pixels[0][2] = 0x07E0;                    // green
    surface->pixels[0][3] = 0x001F;                    // blue
    surface->pixels[599][799] = ColorTo565(0x808080);  // mid grey, bottom right
    const fs::path path = fs::temp_directory_path() / ("kavrix-png-" + std::to_string(::getpid()) + ".png");
    ASSERT_TRUE(WritePng(*surface, path.string()));

    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, path.string().c_str())) << image.message;
    EXPECT_EQ(image.width, 800u);
    EXPECT_EQ(image.height, 600u);
    image.format = PNG_FORMAT_RGB;
    std::vector<png_byte> rgb(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) << image.message;
    fs::remove(path);

    auto pixel = [&](int x, int y) {
        const png_byte* p = &rgb[(size_t(y) * 800 + size_t(x)) * 3];
        return std::array<int, 3>{p[0], p[1], p[2]};
    };
    EXPECT_EQ(pixel(0, 0), (std::array<int, 3>{255, 255, 255}));
    EXPECT_EQ(pixel(1, 0), (std::array<int, 3>{255, 0, 0}));
    EXPECT_EQ(pixel(2, 0), (std::array<int, 3>{0, 255, 0}));
    EXPECT_EQ(pixel(3, 0), (std::array<int, 3>{0, 0, 255}));
    EXPECT_EQ(pixel(4, 0), (std::array<int, 3>{0, 0, 0}));
    for (int c : pixel(799, 599)) EXPECT_NEAR(c, 128, 4);
}

TEST(WritePng, UnwritablePathFails) {
    auto surface = std::make_unique<Surface>();
    EXPECT_FALSE(WritePng(*surface, "/nonexistent-dir-kavrix/shot.png"));
}

}  // namespace
