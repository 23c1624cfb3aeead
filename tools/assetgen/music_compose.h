// A small composition kit for the game's tracker music: keys and scale
// degrees, triads on a degree, motif-based melodies with variation, bass
// lines, drum grooves, and a song form turned into module patterns.
#pragma once
#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "mod_writer.h"

namespace compose {

enum class Style { Calm, Drive };

struct Key {
    int root = 0;        // 0 = C .. 11 = B
    bool minor = false;  // natural minor, else major
};

// Semitones from the key's root to a scale degree (0 = tonic; any integer,
// 7 is the tonic an octave up, -1 the leading note below).
int ScaleSemitone(const Key& key, int degree);
// True when the triad on the degree has a minor third.
bool TriadIsMinor(const Key& key, int degree);

// Sample slots of every module the kit writes (1-based, as cells use them).
enum Instrument { kKick = 1, kSnare, kHat, kCrash, kBass, kLead, kPadMajor, kPadMinor, kBell, kInstrumentCount = kBell };

// The synthesised instrument samples for a style, in slot order; colour
// (0..4) varies the lead's pulse width and the bass's brightness.
std::vector<mod::Sample> MakeInstruments(Style style, int colour = 0);

// Sections of a form, one 64-row pattern (four bars of sixteen rows) each:
//   I intro, A / B main themes, a / b their variations, C bridge, O outro.
struct Song {
    std::string title;
    Key key;
    Style style = Style::Drive;
    int bpm = 125;                               // beats per minute; rows are sixteenth notes
    uint32_t seed = 1;
    std::map<char, std::array<int, 4>> chords;   // upper-case section -> chord degree per bar
    std::string form;
    int bassGroove = 0;                          // 0..2
    int drumGroove = 0;                          // 0..2
    int colour = 0;                              // instrument colour, 0..4
};

// The song as a module; every order entry gets a pattern of its own so that
// repeats of a section can vary. Throws std::invalid_argument on a bad form.
mod::Module ComposeModule(const Song& song);
// Length in seconds of the module ComposeModule writes (speed 6).
double SongSeconds(const Song& song);

}  // namespace compose
