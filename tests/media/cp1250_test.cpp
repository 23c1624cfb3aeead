// Windows-1250 text: the code page agrees with the system's converter for
// every assigned byte, Czech strings survive both directions, and text that
// cannot be shown fails with the character named.
#include <gtest/gtest.h>

#include <iconv.h>

#include <stdexcept>
#include <string>

#include "media/cp1250.h"

namespace {

// The C library's converter, as an independent reference for one byte.
bool SystemCp1250ToUtf8(uint8_t byte, std::string& utf8) {
    iconv_t cd = iconv_open("UTF-8", "CP1250");
    if (cd == iconv_t(-1)) return false;
    char in[1] = {char(byte)};
    char out[8] = {};
    char* inPtr = in;
    char* outPtr = out;
    size_t inLeft = 1, outLeft = sizeof out;
    const size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (r == size_t(-1)) return false;
    utf8.assign(out, size_t(outPtr - out));
    return true;
}

TEST(Cp1250, UpperHalfAgreesWithTheSystemConverter) {
    int compared = 0;
    for (int byte = 0x20; byte < 0x100; ++byte) {
        std::string expected;
        if (!SystemCp1250ToUtf8(uint8_t(byte), expected)) continue;  // unassigned bytes
        EXPECT_EQ(Cp1250ToUtf8(std::string(1, char(byte))), expected) << "byte " << byte;
        ++compared;
    }
    if (compared == 0) GTEST_SKIP() << "no CP1250 converter on this system";
    EXPECT_GE(compared, 0xE0 - 5);
}

TEST(Cp1250, CzechLettersBothWays) {
    const std::string czech = "Příliš žluťoučký kůň úpěl ďábelské ódy ĚŠČŘŽÝÁÍÉŮÚŇŤĎ";
    const std::string bytes = Utf8ToCp1250(czech);
    EXPECT_EQ(bytes.size(), 53u);         // one byte per letter
    EXPECT_EQ(uint8_t(bytes[1]), 0xF8);   // ř
    EXPECT_EQ(uint8_t(bytes[5]), 0x9A);   // š
    EXPECT_EQ(uint8_t(bytes[7]), 0x9E);   // ž
    EXPECT_EQ(uint8_t(bytes[10]), 0x9D);  // ť
    EXPECT_EQ(Cp1250ToUtf8(bytes), czech);
    EXPECT_EQ(Cp1250ToUnicode(0xC8), U'Č');
    EXPECT_EQ(UnicodeToCp1250(U'ů'), 0xF9);
    EXPECT_EQ(UnicodeToCp1250(U'€'), 0x80);
}

TEST(Cp1250, EveryByteSurvivesARoundTrip) {
    for (int byte = 1; byte < 0x100; ++byte) {
        const char32_t ch = Cp1250ToUnicode(uint8_t(byte));
        EXPECT_EQ(UnicodeToCp1250(ch), byte) << "byte " << byte;
    }
    std::string all;
    for (int byte = 1; byte < 0x100; ++byte) all += char(byte);
    EXPECT_EQ(Utf8ToCp1250(Cp1250ToUtf8(all)), all);
}

TEST(Cp1250, UnshowableTextFailsNamingTheCharacter) {
    EXPECT_EQ(UnicodeToCp1250(U'日'), 0);
    try {
        Utf8ToCp1250("Ahoj 日");
        FAIL() << "no error";
    } catch (const std::invalid_argument& e) {
        EXPECT_NE(std::string(e.what()).find("U+65E5"), std::string::npos) << e.what();
    }
    EXPECT_THROW(Utf8ToCp1250("\xC5"), std::invalid_argument);    // cut short
    EXPECT_THROW(Utf8ToCp1250("a\x80z"), std::invalid_argument);  // stray continuation
    EXPECT_THROW(Utf8ToCp1250("\xC5z"), std::invalid_argument);   // bad continuation
    EXPECT_EQ(Utf8ToCp1250(""), "");
}

}  // namespace
