// A small composition kit for the game's tracker music: keys and scale
// degrees, triads on a degree, motif-based melodies with variation, and a
// song's form turned into module patterns, each section played by an
// arrangement of its own (drum style, bass, lead, upper voice, dynamics,
// tempo) from the song's own groove family and instruments.
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
enum Instrument {
    kKick = 1,
    kSnare,
    kHat,
    kCrash,
    kBass,
    kLead,
    kPadMajor,
    kPadMinor,
    kBell,
    kTom,
    kInstrumentCount = kTom
};

// The groove families: each its own drum kit patterns, bass figures and
// chord stabs. Waltz plays bars of twelve rows (6/8), the others sixteen.
enum class Groove { Calm, Motorik, Waltz, March, Breakbeat, Assault };

// How one section letter of a song is played.
struct Arrangement {
    int drums = 2;    // 0 none, 1 light (hats), 2 main groove, 3 half time, 4 build-up
    int bass = 2;     // 0 none, 1 held roots, 2 the family's figure
    int lead = 1;     // 0 none, 1 melody, 2 melody an octave up
    int upper = 1;    // 0 none, 1 held pad, 2 chord stabs, 3 arpeggio, 4 bell arpeggio on the drum channel
    int level = 100;  // percent of the song's full volume
    int bpm = 0;      // the section's tempo (0: the song's)
};

// The instruments a song is played with (indexes into the kit's recipes,
// so that no two songs share a lead or a bass).
struct Voices {
    int lead = 0;  // 0 flute, 1 pulse, 2 reed, 3 brass saw, 4 bell keys, 5 sync scream
    int bass = 0;  // 0 round, 1 saw pluck, 2 sine sub, 3 square sub, 4 slap, 5 growl
    int kit = 0;   // drum kit colour 0..5
};

// Sections of a form, one pattern (four bars) each: I intro, A / B main
// themes, a / b their variations, C bridge, O outro; the letters' meaning
// in sound comes from the song's arrangements.
struct Song {
    std::string title;
    Key key;
    Style style = Style::Drive;
    int bpm = 125;  // beats per minute; rows are sixteenth notes
    uint32_t seed = 1;
    std::map<char, std::array<int, 4>> chords;  // upper-case section -> chord degree per bar
    std::string form;
    Groove groove = Groove::Motorik;
    std::map<char, Arrangement> parts;  // upper-case section -> arrangement (defaults if missing)
    Voices voices;
};

// The song as a module; every order entry gets a pattern of its own so that
// repeats of a section can vary. Throws std::invalid_argument on a bad form.
mod::Module ComposeModule(const Song& song);
// The instrument samples of a song, in slot order.
std::vector<mod::Sample> MakeInstruments(const Song& song);
// Rows per bar of the song's groove family.
int BarRows(Groove groove);

}  // namespace compose
