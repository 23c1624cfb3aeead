// The groove families (see music_grooves.h). Each song of the game takes one:
// a straight motorik pulse for the meteor storms, a lilting 6/8 for the alien
// craft, a drilled march for the barrier rows, a syncopated breakbeat for the
// cities and a double-kick assault for the mother ship.
#include "music_grooves.h"

namespace compose {

const GrooveSet& GrooveOf(Groove groove) {
    static const GrooveSet kSets[] = {
        // Calm: the intro's bells carry the pulse; no drums.
        {16, "................", "................", "................", "................", "................",
         "R.......F.......", "x.......x.......", 4},
        // Motorik: four on the floor, eighth hats, octave-bouncing bass.
        {16, "K.h.S.h.k.h.S.hh", "h.h.h.h.h.h.h.h.", "K.......S.......", "K...K...K...KkKk", "K.h.S.h.SsSsTtTt",
         "R.R.O.R.R.R.O.RF", "..x...x...x...x.", 2},
        // Waltz: bars of twelve rows, kick on one, snare on four, lilting hats.
        {12, "K.h.h.S.h.hg", "h..h..h..h..", "K.....S.....", "K..K..K.KKKK", "K.h.SsSgTtTt", "R....FO..F..",
         "x.....x.....", 2},
        // March: heavy half-time kick, snare with drag ghosts, square sub bass.
        {16, "K.g.S.g.K.K.S.gs", "h...h...h...h...", "K.......S...g.gg", "SgSgSgSgSSSSSSSS", "SgSgSgSgSSSSTtTt",
         "R...R...R.RR..F.", "x.......x.......", 4},
        // Breakbeat: syncopated kick, ghosted snare, busy hats, funky bass.
        {16, "K.h.S.hKh.K.S.hg", "h.hhh.hhh.hhh.hh", "K.....h.S.....h.", "K.S.K.S.KSKSKSSS", "K.S.hS.SS.TtT.Tt",
         "R..R..O.R.T..F.R", "..x..x....x..x..", 2},
        // Assault: double kick under the backbeat, galloping bass.
        {16, "KhKhShKhKhKhShKK", "h.h.h.h.h.h.h.h.", "K...h...S...h...", "KKKKSKKKSKKKSSSS", "SSSSTTTTttttSSSS",
         "R.RRR.RRO.RRR.RF", "x.....x.....x...", 2},
    };
    return kSets[static_cast<int>(groove)];
}

}  // namespace compose
