// Writing four-channel ProTracker "M.K." modules: 31 sample slots of signed
// 8-bit data, 64-row patterns of four-byte cells, and an order list. Notes
// are numbered 0..35 for C-1 .. B-3 of the Amiga period table.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace mod {

constexpr int kChannels = 4;
constexpr int kRows = 64;
constexpr int kNotes = 36;
constexpr int kMaxSamples = 31;
constexpr int kMaxPatterns = 64;

struct Sample {
    std::string name;
    std::vector<int8_t> data;  // even length; at most 131070 bytes
    int volume = 64;           // 0..64
    int loopStart = 0;         // bytes, even
    int loopLength = 0;        // bytes, even; 0 = no loop
};

struct Cell {
    int note = -1;   // 0..35, or -1 for none
    int sample = 0;  // 1..31, 0 = none
    int effect = 0;  // 0x0..0xF
    int param = 0;   // 0x00..0xFF
};

struct Pattern {
    std::array<std::array<Cell, kChannels>, kRows> rows{};
};

struct Module {
    std::string title;
    std::vector<Sample> samples;  // slot 1 first
    std::vector<Pattern> patterns;
    std::vector<int> order;  // pattern numbers, 1..128 entries
};

// Amiga period of note 0..35 (finetune 0).
int Period(int note);
// The module file image; throws std::invalid_argument naming the field that
// does not fit the format.
std::vector<uint8_t> WriteModule(const Module& module);

}  // namespace mod
