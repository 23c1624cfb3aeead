// Windows-1250 <-> Unicode for the game's Czech texts: the upper half of the
// code page as a table; the five unassigned bytes map to the C1 controls of
// the same value so that every byte survives a round trip.
#include "media/cp1250.h"

#include <cstdio>
#include <stdexcept>

namespace {

// clang-format off
constexpr char16_t kUpperHalf[128] = {
    // 0x80
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021,
    0x0088, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,
    // 0x90
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,
    // 0xA0
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,
    // 0xB0
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,
    // 0xC0
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,
    // 0xD0
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
    // 0xE0
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,
    // 0xF0
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};
// clang-format on

std::string Describe(char32_t ch) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "U+%04X", unsigned(ch));
    return buf;
}

void AppendUtf8(std::string& out, char32_t ch) {
    if (ch < 0x80) {
        out += char(ch);
    } else if (ch < 0x800) {
        out += char(0xC0 | (ch >> 6));
        out += char(0x80 | (ch & 0x3F));
    } else if (ch < 0x10000) {
        out += char(0xE0 | (ch >> 12));
        out += char(0x80 | ((ch >> 6) & 0x3F));
        out += char(0x80 | (ch & 0x3F));
    } else {
        out += char(0xF0 | (ch >> 18));
        out += char(0x80 | ((ch >> 12) & 0x3F));
        out += char(0x80 | ((ch >> 6) & 0x3F));
        out += char(0x80 | (ch & 0x3F));
    }
}

}  // namespace

char32_t Cp1250ToUnicode(uint8_t byte) { return byte < 0x80 ? char32_t(byte) : char32_t(kUpperHalf[byte - 0x80]); }

uint8_t UnicodeToCp1250(char32_t ch) {
    if (ch == 0) return 0;
    if (ch < 0x80) return uint8_t(ch);
    for (int i = 0; i < 128; ++i)
        if (char32_t(kUpperHalf[i]) == ch) return uint8_t(0x80 + i);
    return 0;
}

std::string Utf8ToCp1250(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    size_t i = 0;
    while (i < utf8.size()) {
        const uint8_t lead = uint8_t(utf8[i]);
        char32_t ch = 0;
        int extra = 0;
        if (lead < 0x80) {
            ch = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            ch = lead & 0x1F;
            extra = 1;
        } else if ((lead & 0xF0) == 0xE0) {
            ch = lead & 0x0F;
            extra = 2;
        } else if ((lead & 0xF8) == 0xF0) {
            ch = lead & 0x07;
            extra = 3;
        } else {
            throw std::invalid_argument("invalid UTF-8 byte at offset " + std::to_string(i));
        }
        if (i + size_t(extra) >= utf8.size() && extra > 0)
            throw std::invalid_argument("truncated UTF-8 sequence at offset " + std::to_string(i));
        for (int k = 1; k <= extra; ++k) {
            const uint8_t cont = uint8_t(utf8[i + size_t(k)]);
            if ((cont & 0xC0) != 0x80)
                throw std::invalid_argument("invalid UTF-8 sequence at offset " + std::to_string(i));
            ch = (ch << 6) | (cont & 0x3F);
        }
        i += size_t(extra) + 1;
        const uint8_t code = UnicodeToCp1250(ch);
        if (code == 0 && ch != 0)
            throw std::invalid_argument("character " + Describe(ch) + " has no Windows-1250 code");
        out += char(code);
    }
    return out;
}

std::string Cp1250ToUtf8(std::string_view cp1250) {
    std::string out;
    out.reserve(cp1250.size() * 2);
    for (char c : cp1250) AppendUtf8(out, Cp1250ToUnicode(uint8_t(c)));
    return out;
}
