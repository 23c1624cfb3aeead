// The six modules of the game: the calm, bright intro and menu theme, and
// five game songs, each with its own form, groove family, tempo, key and
// instruments for where it plays: meteor storms (song01, which also starts a
// new game), alien craft, barrier rows, the cities and the mother ship.
// Every module is levelled to the same integrated loudness.
#include "audio_assets.h"
#include "music_compose.h"
#include "music_level.h"

using compose::Arrangement;
using compose::Groove;
using compose::Song;
using compose::Style;

namespace {

// Arrangement shorthand: drums, bass, lead, upper voice, level percent, tempo.
Arrangement Part(int drums, int bass, int lead, int upper, int level, int bpm = 0) {
    return Arrangement{drums, bass, lead, upper, level, bpm};
}

std::vector<Song> Songs() {
    std::vector<Song> songs;
    {
        Song s;  // D major, slow: bright bells from the first bar, glassy pad, breathy flute
        s.title = "Kavrix intro";
        s.key = {2, false};
        s.style = Style::Calm;
        s.groove = Groove::Calm;
        s.bpm = 80;
        s.seed = 101;
        s.voices = {0, 0, 0};
        s.chords = {
            {'I', {0, 4, 5, 3}}, {'A', {0, 5, 3, 4}}, {'B', {3, 0, 4, 5}}, {'C', {5, 3, 0, 4}}, {'O', {3, 4, 0, 0}}};
        s.parts = {{'I', Part(0, 1, 0, 4, 70)},
                   {'A', Part(0, 1, 1, 4, 85)},
                   {'B', Part(0, 2, 1, 4, 100)},
                   {'C', Part(0, 1, 1, 4, 70)},
                   {'O', Part(0, 1, 1, 4, 80)}};
        s.form = "IIAABaCBAO";
        songs.push_back(s);
    }
    {
        Song s;  // Meteor storms. E minor, 138: straight in at full pelt, hard pulse lead over an octave-bouncing saw
                 // bass, two hushed breaks
        s.title = "Kavrix song 1";
        s.key = {4, true};
        s.bpm = 138;
        s.seed = 211;
        s.groove = Groove::Motorik;
        s.voices = {1, 1, 1};
        s.chords = {{'A', {0, 5, 2, 6}}, {'B', {3, 0, 5, 6}}, {'C', {5, 6, 0, 0}}, {'O', {0, 5, 6, 0}}};
        s.parts = {{'A', Part(2, 2, 1, 2, 100)},
                   {'B', Part(2, 2, 2, 1, 100)},
                   {'C', Part(1, 1, 0, 3, 76)},
                   {'O', Part(2, 2, 1, 1, 90)}};
        s.form = "AaBbCcAaBbCAaBbO";
        songs.push_back(s);
    }
    {
        Song s;  // Alien craft. A minor, 124 in a lilting 6/8: reed lead and warm sub bass, an arch that rises and
                 // falls twice
        s.title = "Kavrix song 2";
        s.key = {9, true};
        s.bpm = 124;
        s.seed = 307;
        s.groove = Groove::Waltz;
        s.voices = {2, 2, 2};
        s.chords = {
            {'I', {0, 0, 5, 5}}, {'A', {0, 3, 0, 4}}, {'B', {5, 6, 0, 4}}, {'C', {3, 4, 5, 4}}, {'O', {5, 6, 0, 0}}};
        s.parts = {{'I', Part(1, 1, 0, 1, 50)},
                   {'A', Part(1, 2, 1, 1, 60)},
                   {'B', Part(2, 2, 2, 2, 100)},
                   {'C', Part(3, 1, 1, 3, 55)},
                   {'O', Part(1, 1, 1, 1, 60)}};
        s.form = "IIAaBbBbCcAaBbBbCAO";
        songs.push_back(s);
    }
    {
        Song s;  // Barrier rows. D minor, 112: a drilled march, brass lead over a square sub, quiet verses and loud
                 // choruses
        s.title = "Kavrix song 3";
        s.key = {2, true};
        s.bpm = 112;
        s.seed = 401;
        s.groove = Groove::March;
        s.voices = {3, 3, 3};
        s.chords = {
            {'I', {0, 0, 6, 6}}, {'A', {0, 0, 5, 6}}, {'B', {5, 3, 6, 0}}, {'C', {3, 4, 5, 6}}, {'O', {0, 5, 6, 0}}};
        s.parts = {{'I', Part(3, 1, 0, 1, 70)},
                   {'A', Part(1, 2, 1, 0, 68)},
                   {'B', Part(2, 2, 2, 2, 100)},
                   {'C', Part(4, 1, 0, 1, 80)},
                   {'O', Part(3, 2, 1, 1, 85)}};
        s.form = "IAaBbAaBbCcBbO";
        songs.push_back(s);
    }
    {
        Song s;  // The cities. G major, 148: syncopated breakbeat, bell keys and slap bass, offbeat stabs, a half-time
                 // bridge
        s.title = "Kavrix song 4";
        s.key = {7, false};
        s.bpm = 148;
        s.seed = 503;
        s.groove = Groove::Breakbeat;
        s.voices = {4, 4, 4};
        s.chords = {
            {'I', {0, 4, 5, 3}}, {'A', {0, 3, 0, 4}}, {'B', {5, 3, 0, 4}}, {'C', {1, 4, 0, 0}}, {'O', {3, 4, 0, 0}}};
        s.parts = {{'I', Part(2, 2, 0, 1, 65)},
                   {'A', Part(2, 2, 1, 2, 90)},
                   {'B', Part(2, 2, 2, 3, 100)},
                   {'C', Part(3, 1, 1, 1, 65)},
                   {'O', Part(2, 2, 1, 2, 85)}};
        s.form = "IIAaBbCAaBbCcBbAaO";
        songs.push_back(s);
    }
    {
        Song s;  // The mother ship. C minor, 160: double-kick assault, screaming sync lead, growling bass; the middle
                 // drops to a 112 dirge
        s.title = "Kavrix song 5";
        s.key = {0, true};
        s.bpm = 160;
        s.seed = 601;
        s.groove = Groove::Assault;
        s.voices = {5, 5, 5};
        s.chords = {
            {'I', {0, 0, 5, 5}}, {'A', {0, 6, 5, 6}}, {'B', {3, 4, 5, 6}}, {'C', {5, 4, 3, 4}}, {'O', {5, 6, 0, 0}}};
        s.parts = {{'I', Part(1, 1, 0, 1, 65)},
                   {'A', Part(2, 2, 1, 2, 100)},
                   {'B', Part(2, 2, 2, 1, 100)},
                   {'C', Part(3, 1, 1, 3, 70, 112)},
                   {'O', Part(2, 2, 1, 1, 90)}};
        s.form = "IIAaBbAaCcAaBbAaBbO";
        songs.push_back(s);
    }
    return songs;
}

}  // namespace

std::vector<ModuleFile> MakeModules() {
    static const char* const kNames[] = {"intro.mod",  "song01.mod", "song02.mod",
                                         "song03.mod", "song04.mod", "song05.mod"};
    std::vector<ModuleFile> out;
    std::vector<Song> songs = Songs();
    for (size_t i = 0; i < songs.size(); ++i)
        out.push_back({kNames[i], mod::WriteModule(LevelModule(compose::ComposeModule(songs[i]), kNames[i]))});
    return out;
}
