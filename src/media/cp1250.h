// Windows-1250 text: the game's strings are cp1250 bytes; source files are
// UTF-8 and are converted once at start-up.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// Throws std::invalid_argument naming the character when one has no cp1250 code.
std::string Utf8ToCp1250(std::string_view utf8);
std::string Cp1250ToUtf8(std::string_view cp1250);
char32_t Cp1250ToUnicode(uint8_t byte);
// 0 when the character has no cp1250 code.
uint8_t UnicodeToCp1250(char32_t ch);
