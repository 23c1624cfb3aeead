// Damaged collection files: every truncation of small valid files, seeded
// random byte flips and huge length fields. Each read must either succeed or
// fail with MediaError, leaving a collection whose name index stays valid.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "levpack.h"
#include "media/collection_file.h"
#include "media/media_error.h"

namespace {

std::vector<levpack::PictureEntry> SamplePictures() {
    std::vector<levpack::PictureEntry> descs;
    const levpack::PictureData kinds[] = {levpack::PictureData::Dib, levpack::PictureData::Bitmap,
                                          levpack::PictureData::Jpeg};
    int n = 0;
    for (levpack::PictureData kind : kinds) {
        levpack::PictureEntry p;
        p.name = "P" + std::to_string(n);
        p.width = 3 + n;
        p.height = 2 + n;
        for (int i = 0; i < p.width * p.height; ++i) p.pixels.push_back(uint32_t(i * 0x10305 + n * 77));
        p.patternWidth = 1;
        p.skipHeight = n;
        p.transparentColor = n == 0 ? 0xFF00FF : 0x123456;
        p.data = kind;
        descs.push_back(p);
        ++n;
    }
    return descs;
}

std::vector<uint8_t> SamplePictureFile() { return levpack::WritePictureCollection(SamplePictures()); }

std::vector<uint8_t> SampleWaveFile() {
    return levpack::WriteWaveCollection({levpack::WaveEntry{"Pip", false, 2, 1, 8000, 8, {1, 2, 3}},
                                         levpack::WaveEntry{"Hum", true, 0, 2, 22050, 16, {1, 2, 3, 4, 5, 6, 7, 8}}});
}

template <class Collection>
void CheckIndex(const Collection& c) {
    for (const auto& [name, index] : c.byLowerName) {
        ASSERT_GE(index, 0);
        ASSERT_LT(size_t(index), c.items.size());
    }
}

// Reads the bytes both ways; anything but success or MediaError fails.
void ExpectReadOrMediaError(const std::vector<uint8_t>& bytes, const std::string& what) {
    PictureCollection pictures;
    try {
        ReadPictureCollection(pictures, bytes);
    } catch (const MediaError&) {
    } catch (const std::exception& e) {
        ADD_FAILURE() << what << ": pictures: " << e.what();
    }
    CheckIndex(pictures);
    for (const PictureItem& item : pictures.items)
        ASSERT_EQ(item.pixels.size(), size_t(item.width) * size_t(item.height)) << what;
    WaveCollection waves;
    try {
        ReadWaveCollection(waves, bytes);
    } catch (const MediaError&) {
    } catch (const std::exception& e) {
        ADD_FAILURE() << what << ": waves: " << e.what();
    }
    CheckIndex(waves);
}

TEST(CollectionFuzz, ValidSamplesLoad) {
    PictureCollection p;
    ReadPictureCollection(p, SamplePictureFile());
    EXPECT_EQ(p.items.size(), 3u);
    WaveCollection w;
    ReadWaveCollection(w, SampleWaveFile());
    EXPECT_EQ(w.items.size(), 2u);
}

TEST(CollectionFuzz, EveryTruncationFailsCleanly) {
    for (const std::vector<uint8_t>& file : {SamplePictureFile(), SampleWaveFile()}) {
        for (size_t length = 0; length < file.size(); ++length) {
            const std::vector<uint8_t> cut(file.begin(), file.begin() + long(length));
            PictureCollection p;
            WaveCollection w;
            // A cut file never loads completely: the end marks are missing.
            EXPECT_THROW(ReadPictureCollection(p, cut), MediaError) << length;
            EXPECT_THROW(ReadWaveCollection(w, cut), MediaError) << length;
            CheckIndex(p);
            CheckIndex(w);
        }
    }
}

TEST(CollectionFuzz, RandomByteFlips) {
    std::mt19937 random(20261207);
    const std::vector<uint8_t> files[] = {SamplePictureFile(), SampleWaveFile()};
    for (const std::vector<uint8_t>& file : files) {
        for (int round = 0; round < 1500; ++round) {
            std::vector<uint8_t> damaged = file;
            const int flips = 1 + int(random() % 4);
            for (int i = 0; i < flips; ++i) {
                const size_t at = random() % damaged.size();
                damaged[at] = uint8_t(random() % 3 == 0 ? damaged[at] ^ (1u << (random() % 8)) : random());
            }
            ExpectReadOrMediaError(damaged, "round " + std::to_string(round));
            if (HasFailure()) return;
        }
    }
}

TEST(CollectionFuzz, HugeAndNegativeLengthsAnywhere) {
    const uint32_t values[] = {0xFFFFFFFFu, 0x80000000u, 0x7FFFFFFFu, 0x00FFFFFFu, 0x4000u};
    for (const std::vector<uint8_t>& file : {SamplePictureFile(), SampleWaveFile()}) {
        for (size_t at = 0; at + 4 <= file.size(); ++at) {
            for (uint32_t v : values) {
                std::vector<uint8_t> damaged = file;
                for (int i = 0; i < 4; ++i) damaged[at + size_t(i)] = uint8_t(v >> (8 * i));
                ExpectReadOrMediaError(damaged, "offset " + std::to_string(at));
            }
            if (HasFailure()) return;
        }
    }
}

TEST(CollectionFuzz, DecodersOnMutatedBitmapsAndWaves) {
    // The decoders alone, on inputs closer to their own format.
    std::mt19937 random(7);
    std::vector<uint8_t> dib = {40,  0,   0,   0, 4, 0, 0, 0, 4, 0, 0, 0, 1, 0, 8, 0, 1, 0, 0, 0, 0, 0,
                                0,   0,   0,   0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                255, 255, 255, 0, 4, 1, 0, 2, 2, 0, 0, 3, 1, 0, 1, 0, 0, 0, 4, 1, 0, 1};
    const std::vector<uint8_t> wave = levpack::WaveImage(levpack::WaveEntry{"w", false, 0, 1, 8000, 16, {1, 2, 3, 4}});
    for (int round = 0; round < 3000; ++round) {
        std::vector<uint8_t> d = dib;
        std::vector<uint8_t> w = wave;
        for (int i = 0; i < 3; ++i) {
            d[random() % d.size()] = uint8_t(random());
            w[random() % w.size()] = uint8_t(random());
        }
        // Change the compression and bit depth now and then to reach every path.
        if (round % 3 == 0) d[16] = uint8_t(random() % 5);
        if (round % 5 == 0) d[14] = uint8_t(std::vector<int>{1, 4, 8, 16, 24, 32}[random() % 6]);
        d.resize(random() % (d.size() + 1));
        try {
            const RgbImage img = DecodePackedDib(d.data(), d.size());
            ASSERT_EQ(img.pixels.size(), size_t(img.width) * size_t(img.height));
        } catch (const MediaError&) {
        }
        try {
            ParseWaveImage(w.data(), w.size());
        } catch (const MediaError&) {
        }
    }
}

}  // namespace
