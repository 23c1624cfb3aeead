// The six modules of the game: the calm, wide intro and menu theme and five
// driving game songs, each in its own key, tempo and form.
#include "audio_assets.h"
#include "music_compose.h"

using compose::Song;
using compose::Style;

namespace {

std::vector<Song> Songs() {
    std::vector<Song> songs;
    {
        Song s;  // D major, slow: arpeggiated bells, flute, soft pads
        s.title = "Kavrix intro";
        s.key = {2, false};
        s.style = Style::Calm;
        s.bpm = 80;
        s.seed = 101;
        s.chords = {{'I', {0, 4, 5, 3}}, {'A', {0, 5, 3, 4}}, {'B', {3, 0, 4, 5}},
                    {'C', {5, 3, 0, 4}}, {'O', {3, 4, 0, 0}}};
        s.form = "IIAABaCBAO";
        songs.push_back(s);
    }
    {
        Song s;  // E minor, 140
        s.title = "Kavrix song 1";
        s.colour = 0;
        s.key = {4, true};
        s.bpm = 140;
        s.seed = 211;
        s.chords = {{'I', {0, 0, 5, 6}}, {'A', {0, 5, 2, 6}}, {'B', {3, 0, 5, 6}},
                    {'C', {5, 6, 0, 0}}, {'O', {0, 5, 6, 0}}};
        s.form = "IIAaBbAaCCBbAaBbO";
        s.bassGroove = 0;
        s.drumGroove = 0;
        songs.push_back(s);
    }
    {
        Song s;  // A minor, 150
        s.title = "Kavrix song 2";
        s.colour = 1;
        s.key = {9, true};
        s.bpm = 150;
        s.seed = 307;
        s.chords = {{'I', {0, 6, 5, 6}}, {'A', {0, 6, 5, 6}}, {'B', {5, 2, 6, 0}},
                    {'C', {3, 4, 0, 0}}, {'O', {5, 6, 0, 0}}};
        s.form = "IIAaAbBbCAaBbCBbAaBO";
        s.bassGroove = 2;
        s.drumGroove = 1;
        songs.push_back(s);
    }
    {
        Song s;  // G major, 132
        s.title = "Kavrix song 3";
        s.colour = 2;
        s.key = {7, false};
        s.bpm = 132;
        s.seed = 401;
        s.chords = {{'I', {0, 4, 0, 4}}, {'A', {0, 4, 5, 3}}, {'B', {3, 4, 0, 5}},
                    {'C', {5, 3, 1, 4}}, {'O', {3, 4, 0, 0}}};
        s.form = "IAaBbAaCBbCAaBbAO";
        s.bassGroove = 1;
        s.drumGroove = 2;
        songs.push_back(s);
    }
    {
        Song s;  // C minor, 145
        s.title = "Kavrix song 4";
        s.colour = 3;
        s.key = {0, true};
        s.bpm = 145;
        s.seed = 503;
        s.chords = {{'I', {0, 3, 0, 4}}, {'A', {0, 3, 6, 2}}, {'B', {5, 6, 0, 0}},
                    {'C', {3, 5, 6, 4}}, {'O', {5, 6, 0, 0}}};
        s.form = "IIAaBAbBCCAaBbAbBO";
        s.bassGroove = 0;
        s.drumGroove = 1;
        songs.push_back(s);
    }
    {
        Song s;  // F sharp minor, 138
        s.title = "Kavrix song 5";
        s.colour = 4;
        s.key = {6, true};
        s.bpm = 138;
        s.seed = 601;
        s.chords = {{'I', {0, 5, 0, 5}}, {'A', {0, 2, 6, 5}}, {'B', {3, 4, 5, 6}},
                    {'C', {5, 3, 2, 4}}, {'O', {3, 6, 0, 0}}};
        s.form = "IIAaBbAaCCBbAaBbBO";
        s.bassGroove = 2;
        s.drumGroove = 0;
        songs.push_back(s);
    }
    return songs;
}

}  // namespace

std::vector<ModuleFile> MakeModules() {
    static const char* const kNames[] = {"intro.mod", "song01.mod", "song02.mod", "song03.mod", "song04.mod", "song05.mod"};
    std::vector<ModuleFile> out;
    std::vector<Song> songs = Songs();
    for (size_t i = 0; i < songs.size(); ++i)
        out.push_back({kNames[i], mod::WriteModule(compose::ComposeModule(songs[i]))});
    return out;
}
