// ProTracker "M.K." module writer. Layout: 20-byte title; 31 sample headers
// of 30 bytes (22-byte name, big-endian word length, finetune, volume, loop
// start and loop length in words); order count, restart byte 127, 128-byte
// order table; "M.K."; patterns of 64 rows x 4 cells; then the sample data.
#include "mod_writer.h"

#include <stdexcept>

namespace mod {

namespace {

constexpr int kPeriods[kNotes] = {856, 808, 762, 720, 678, 640, 604, 570, 538, 508, 480, 453,
                                  428, 404, 381, 360, 339, 320, 302, 285, 269, 254, 240, 226,
                                  214, 202, 190, 180, 170, 160, 151, 143, 135, 127, 120, 113};

void PutText(std::vector<uint8_t>& out, const std::string& text, size_t width) {
    for (size_t i = 0; i < width; ++i) out.push_back(i < text.size() ? static_cast<uint8_t>(text[i]) : 0);
}

void PutWord(std::vector<uint8_t>& out, int value) {
    out.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
    out.push_back(static_cast<uint8_t>(value & 0xFF));
}

void Check(bool ok, const std::string& what) {
    if (!ok) throw std::invalid_argument("module: " + what);
}

}  // namespace

int Period(int note) {
    Check(note >= 0 && note < kNotes, "note " + std::to_string(note) + " outside C-1..B-3");
    return kPeriods[note];
}

std::vector<uint8_t> WriteModule(const Module& module) {
    Check(module.samples.size() <= kMaxSamples, "more than 31 samples");
    Check(!module.patterns.empty() && module.patterns.size() <= kMaxPatterns, "pattern count must be 1..64");
    Check(!module.order.empty() && module.order.size() <= 128, "order list must hold 1..128 entries");

    std::vector<uint8_t> out;
    PutText(out, module.title, 20);
    for (int s = 0; s < kMaxSamples; ++s) {
        if (s >= static_cast<int>(module.samples.size())) {
            PutText(out, "", 22);
            PutWord(out, 0);
            out.push_back(0);
            out.push_back(0);
            PutWord(out, 0);
            PutWord(out, 1);
            continue;
        }
        const Sample& sm = module.samples[s];
        const std::string tag = "sample " + sm.name;
        size_t bytes = sm.data.size();
        Check(bytes % 2 == 0 && bytes <= 131070, tag + ": length must be even and at most 131070 bytes");
        Check(sm.volume >= 0 && sm.volume <= 64, tag + ": volume above 64");
        Check(sm.loopStart % 2 == 0 && sm.loopLength % 2 == 0, tag + ": odd loop bounds");
        Check(sm.loopLength == 0 || static_cast<size_t>(sm.loopStart + sm.loopLength) <= bytes,
              tag + ": loop runs past the sample end");
        PutText(out, sm.name, 22);
        PutWord(out, static_cast<int>(bytes / 2));
        out.push_back(0);  // finetune
        out.push_back(static_cast<uint8_t>(sm.volume));
        PutWord(out, sm.loopLength ? sm.loopStart / 2 : 0);
        PutWord(out, sm.loopLength ? sm.loopLength / 2 : 1);
    }
    out.push_back(static_cast<uint8_t>(module.order.size()));
    out.push_back(127);
    for (int i = 0; i < 128; ++i) {
        int p = i < static_cast<int>(module.order.size()) ? module.order[i] : 0;
        Check(p >= 0 && p < static_cast<int>(module.patterns.size()), "order entry names a missing pattern");
        out.push_back(static_cast<uint8_t>(p));
    }
    out.insert(out.end(), {'M', '.', 'K', '.'});
    for (const Pattern& pattern : module.patterns) {
        for (const auto& row : pattern.rows) {
            for (const Cell& c : row) {
                Check(c.sample >= 0 && c.sample <= static_cast<int>(module.samples.size()),
                      "cell names a missing sample");
                Check(c.effect >= 0 && c.effect <= 0xF && c.param >= 0 && c.param <= 0xFF, "effect out of range");
                int period = c.note >= 0 ? Period(c.note) : 0;
                out.push_back(static_cast<uint8_t>((c.sample & 0xF0) | ((period >> 8) & 0x0F)));
                out.push_back(static_cast<uint8_t>(period & 0xFF));
                out.push_back(static_cast<uint8_t>(((c.sample & 0x0F) << 4) | c.effect));
                out.push_back(static_cast<uint8_t>(c.param));
            }
        }
    }
    for (const Sample& sm : module.samples)
        for (int8_t v : sm.data) out.push_back(static_cast<uint8_t>(v));
    return out;
}

}  // namespace mod
