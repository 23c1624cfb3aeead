// The groove families of the game's music, written one bar per string, one
// character per row: drum patterns (K/k kick, S/s snare, g ghost snare, H/h
// hat, C crash, T/t high and low tom, '.' rest), the bass figure (R root,
// r soft root, O octave, F fifth, T third, '.' rest) and the rows of chord
// stabs ('x').
#pragma once
#include "music_compose.h"

namespace compose {

struct GrooveSet {
    int barRows;
    const char* main;
    const char* light;
    const char* half;
    const char* build;
    const char* fill;
    const char* bass;
    const char* stabs;
    int arpStep;  // rows between the notes of an arpeggio
};

const GrooveSet& GrooveOf(Groove groove);

}  // namespace compose
