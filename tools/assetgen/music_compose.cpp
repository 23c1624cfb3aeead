// The composition kit: scale degrees and triads, two-bar motifs answered and
// cadenced over four-bar chord progressions, bass and drum grooves, and the
// song form laid out as module patterns (channels: drums or bell arpeggio,
// bass, lead, pad).
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <stdexcept>
#include <utility>

#include "music_compose.h"
#include "synth.h"

namespace compose {

namespace {

constexpr int kMajorSteps[7] = {0, 2, 4, 5, 7, 9, 11};
constexpr int kMinorSteps[7] = {0, 2, 3, 5, 7, 8, 10};
constexpr int kSpeed = 6;            // ticks per row
constexpr int kBarRows = 16;

enum Channel { kDrums = 0, kBassCh = 1, kLeadCh = 2, kPadCh = 3 };

using Rhythm = std::vector<std::pair<int, int>>;  // (row in bar, length in rows)

// One-bar rhythms the motifs are built from.
const std::vector<Rhythm> kDriveRhythms = {
    {{0, 4}, {4, 2}, {6, 2}, {8, 4}, {12, 4}},
    {{0, 2}, {2, 2}, {4, 4}, {10, 2}, {12, 4}},
    {{0, 6}, {6, 2}, {8, 2}, {10, 2}, {12, 4}},
    {{0, 3}, {3, 3}, {6, 4}, {12, 2}, {14, 2}},
    {{0, 8}, {8, 4}, {12, 4}},
    {{0, 2}, {4, 2}, {6, 6}, {12, 4}},
};
const std::vector<Rhythm> kCalmRhythms = {
    {{0, 8}, {8, 8}},
    {{0, 12}, {12, 4}},
    {{0, 4}, {4, 4}, {8, 8}},
    {{0, 6}, {6, 2}, {8, 8}},
};
const Rhythm kDriveCadence = {{0, 4}, {4, 4}, {8, 8}};
const Rhythm kCalmCadence = {{0, 16}};

struct Motif {
    Rhythm first, second;
    std::vector<int> firstSteps, secondSteps;
};

struct Note {
    int row, len, degree;
};

int FloorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

std::vector<int> RandomSteps(synth::Rng& rng, size_t count) {
    static const int kSteps[] = {-2, -1, -1, 0, 1, 1, 2, 3, -3, 1};
    std::vector<int> out;
    for (size_t i = 0; i < count; ++i) out.push_back(kSteps[rng.Below(10)]);
    return out;
}

Motif MakeMotif(synth::Rng& rng, Style style) {
    const auto& lib = style == Style::Drive ? kDriveRhythms : kCalmRhythms;
    Motif m;
    int a = rng.Below(static_cast<int>(lib.size()));
    int b = (a + 1 + rng.Below(static_cast<int>(lib.size()) - 1)) % static_cast<int>(lib.size());
    m.first = lib[a];
    m.second = lib[b];
    m.firstSteps = RandomSteps(rng, m.first.size());
    m.secondSteps = RandomSteps(rng, m.second.size());
    return m;
}

// The chord tone of the triad on chordDegree nearest to target.
int NearestChordTone(int chordDegree, int target) {
    int best = chordDegree, bestDist = 1000;
    for (int octave = -2; octave <= 2; ++octave)
        for (int t : {0, 2, 4}) {
            int d = chordDegree + t + 7 * octave;
            int dist = std::abs(d - target);
            if (dist < bestDist) { best = d; bestDist = dist; }
        }
    return best;
}

// A four-bar phrase: the motif, its second bar, the motif again over the
// third chord, and a cadence landing on the last chord's root.
std::vector<Note> Phrase(const Motif& motif, const std::array<int, 4>& chords, Style style,
                         synth::Rng& rng, int variation, int low, int high, int& degree) {
    std::vector<Note> notes;
    for (int bar = 0; bar < 4; ++bar) {
        const Rhythm& rhythm = bar == 3 ? (style == Style::Drive ? kDriveCadence : kCalmCadence)
                                        : (bar == 1 ? motif.second : motif.first);
        const std::vector<int>* steps = bar == 1 ? &motif.secondSteps : &motif.firstSteps;
        for (size_t i = 0; i < rhythm.size(); ++i) {
            int step = bar == 3 ? (i % 2 ? -1 : 1) : (*steps)[i % steps->size()];
            if (variation > 0 && bar < 3 && rng.Below(10) < 3 * std::min(variation, 2)) step += rng.Below(2) ? 1 : -1;
            // Keep the tune within about an octave above the tonic.
            if ((degree + step > 7 && step > 0) || (degree + step < -1 && step < 0)) step = -step;
            int target = degree + step;
            if (target < low || target > high) target = degree - step;
            bool lastOfPhrase = bar == 3 && i + 1 == rhythm.size();
            if (lastOfPhrase) {
                // Land on the root of the final chord.
                int root = chords[3];
                while (root + 7 <= degree + 3) root += 7;
                while (root - 7 >= degree - 3) root -= 7;
                if (root > high) root -= 7;
                if (root < low) root += 7;
                target = root;
            } else if (i == 0) {
                target = NearestChordTone(chords[bar], target);
            }
            degree = std::clamp(target, low, high);
            int row = bar * kBarRows + rhythm[i].first, len = rhythm[i].second;
            bool split = variation > 0 && len >= 4 && !lastOfPhrase && rng.Below(4) < std::min(variation, 2);
            if (split) {
                notes.push_back({row, len / 2, degree});
                int passing = std::clamp(degree + (rng.Below(2) ? 1 : -1), low, high);
                notes.push_back({row + len / 2, len - len / 2, passing});
            } else {
                notes.push_back({row, len, degree});
            }
        }
    }
    return notes;
}

int Fold(int note, int low, int high) {
    while (note > high) note -= 12;
    while (note < low) note += 12;
    return note;
}

void Put(mod::Pattern& p, int row, int channel, int note, int sample, int effect = 0, int param = 0) {
    if (row < 0 || row >= mod::kRows) return;
    mod::Cell& c = p.rows[row][channel];
    c.note = note;
    c.sample = sample;
    c.effect = effect;
    c.param = param;
}

void PutEffect(mod::Pattern& p, int row, int channel, int effect, int param) {
    if (row < 0 || row >= mod::kRows) return;
    mod::Cell& c = p.rows[row][channel];
    if (c.effect == 0 && c.param == 0) { c.effect = effect; c.param = param; }
}

struct Builder {
    const Song& song;
    int tonic;  // lead note number of degree 0

    int LeadNote(int degree) const { return Fold(tonic + ScaleSemitone(song.key, degree), 0, mod::kNotes - 1); }
    // The melody's compass in scale degrees: about an octave and a half
    // around the tonic, inside the notes a module can play.
    int LowDegree() const {
        int d = -3;
        while (tonic + ScaleSemitone(song.key, d) < 0) ++d;
        return d;
    }
    int HighDegree() const {
        int d = 10;
        while (tonic + ScaleSemitone(song.key, d) >= mod::kNotes) --d;
        return d;
    }
    int ChordSemitone(int chordDegree) const {
        return ((song.key.root + ScaleSemitone(song.key, chordDegree)) % 12 + 12) % 12;
    }

    void Lead(mod::Pattern& p, const std::vector<Note>& notes, int volume) const {
        bool drive = song.style == Style::Drive;
        if (notes.empty() || notes.front().row != 0) PutEffect(p, 0, kLeadCh, 0xC, 0);
        for (size_t i = 0; i < notes.size(); ++i) {
            const Note& n = notes[i];
            int accent = n.row % 8 == 0 ? 6 : 0;
            Put(p, n.row, kLeadCh, LeadNote(n.degree), kLead, 0xC, std::min(64, volume + accent));
            if (n.len >= 6)
                for (int r = n.row + 2; r < n.row + n.len; ++r) PutEffect(p, r, kLeadCh, 0x4, drive ? 0x34 : 0x23);
            int end = n.row + n.len;
            bool joined = i + 1 < notes.size() && notes[i + 1].row == end;
            if (!joined && end < mod::kRows) PutEffect(p, end, kLeadCh, 0xC, 0);
        }
    }

    void Pad(mod::Pattern& p, const std::array<int, 4>& chords, bool pulse, int volume) const {
        for (int bar = 0; bar < 4; ++bar) {
            int semitone = ChordSemitone(chords[bar]);
            int note = semitone < 5 ? semitone + 12 : semitone;
            int sample = TriadIsMinor(song.key, chords[bar]) ? kPadMinor : kPadMajor;
            Put(p, bar * kBarRows, kPadCh, note, sample, 0xC, volume);
            if (pulse) Put(p, bar * kBarRows + 8, kPadCh, note, sample, 0xC, volume - 6);
        }
    }

    void Bass(mod::Pattern& p, const std::array<int, 4>& chords, int groove, int firstBar, int lastBar) const {
        static const std::vector<std::pair<int, int>> kGrooves[] = {
            {{0, 0}, {2, 0}, {4, 0}, {6, 12}, {8, 0}, {10, 0}, {12, 0}, {14, 12}},
            {{0, 0}, {3, 0}, {6, 0}, {8, 12}, {10, 0}, {12, 7}, {14, 0}},
            {{0, 0}, {2, 0}, {3, 0}, {4, 0}, {6, 0}, {7, 0}, {8, 12}, {10, 0}, {11, 0}, {12, 7}, {14, 0}, {15, 0}},
            {{0, 0}, {8, 7}},   // calm: root and fifth
            {{0, 0}},           // held root
        };
        for (int bar = firstBar; bar <= lastBar; ++bar) {
            int root = ChordSemitone(chords[bar]);
            for (const auto& [row, interval] : kGrooves[groove]) {
                int note = Fold(root + interval, 0, 23);
                int volume = row == 0 ? 60 : (row % 4 == 0 ? 52 : 44);
                if (song.style == Style::Calm) volume -= 8;
                Put(p, bar * kBarRows + row, kBassCh, note, kBass, 0xC, volume);
            }
        }
    }

    void Groove(mod::Pattern& p, int bar, int groove, bool ghosts, bool crash) const {
        static const std::vector<std::pair<int, int>> kGrooves[] = {
            {{0, kKick}, {2, kHat}, {4, kSnare}, {6, kHat}, {8, kKick}, {10, kKick}, {12, kSnare}, {14, kHat}},
            {{0, kKick}, {2, kHat}, {4, kSnare}, {6, kKick}, {8, kHat}, {10, kKick}, {12, kSnare}, {14, kHat}},
            {{0, kKick}, {2, kHat}, {4, kSnare}, {6, kHat}, {8, kKick}, {10, kHat}, {12, kSnare}, {14, kKick}},
        };
        int base = bar * kBarRows;
        for (const auto& [row, drum] : kGrooves[groove]) {
            int volume = drum == kHat ? 26 : (drum == kSnare ? 54 : 64);
            Put(p, base + row, kDrums, 24, drum, 0xC, volume);
        }
        if (ghosts)
            for (int row : {3, 7, 11, 15}) Put(p, base + row, kDrums, 24, kHat, 0xC, 14);
        if (crash) Put(p, base, kDrums, 24, kCrash, 0xC, 48);
    }

    void Fill(mod::Pattern& p, int bar) const {
        int base = bar * kBarRows;
        int rows[] = {8, 10, 12, 13, 14, 15};
        for (int i = 0; i < 6; ++i) Put(p, base + rows[i], kDrums, 24, kSnare, 0xC, 30 + i * 6);
    }

    void HalfTime(mod::Pattern& p, int bar) const {
        int base = bar * kBarRows;
        Put(p, base, kDrums, 24, kKick, 0xC, 60);
        Put(p, base + 4, kDrums, 24, kHat, 0xC, 20);
        Put(p, base + 8, kDrums, 24, kSnare, 0xC, 48);
        Put(p, base + 12, kDrums, 24, kHat, 0xC, 20);
    }

    // The intro's bell arpeggio over each bar's chord, every `step` rows.
    void Arpeggio(mod::Pattern& p, const std::array<int, 4>& chords, int step, int volume, int firstBar, int lastBar) const {
        static const int kShape[] = {0, 2, 4, 7, 9, 7, 4, 2};
        for (int bar = firstBar; bar <= lastBar; ++bar)
            for (int i = 0; i * step < kBarRows; ++i) {
                int degree = chords[bar] + kShape[i % 8];
                int note = Fold(tonic + ScaleSemitone(song.key, degree), 12, mod::kNotes - 1);
                Put(p, bar * kBarRows + i * step, kDrums, note, kBell, 0xC, volume + (i == 0 ? 8 : 0));
            }
    }

    void FadeOut(mod::Pattern& p, int fromRow) const {
        for (int r = fromRow; r < mod::kRows; ++r)
            for (int ch = 0; ch < mod::kChannels; ++ch) PutEffect(p, r, ch, 0xA, 0x01);
    }
};

}  // namespace

int ScaleSemitone(const Key& key, int degree) {
    int octave = FloorDiv(degree, 7);
    int d = degree - octave * 7;
    return octave * 12 + (key.minor ? kMinorSteps : kMajorSteps)[d];
}

bool TriadIsMinor(const Key& key, int degree) {
    return ScaleSemitone(key, degree + 2) - ScaleSemitone(key, degree) == 3;
}

double SongSeconds(const Song& song) {
    return static_cast<double>(song.form.size()) * mod::kRows * kSpeed * 2.5 / song.bpm;
}

mod::Module ComposeModule(const Song& song) {
    if (song.form.empty() || song.form.size() > mod::kMaxPatterns)
        throw std::invalid_argument("song " + song.title + ": form must hold 1..64 sections");
    if (song.bpm < 32 || song.bpm > 255) throw std::invalid_argument("song " + song.title + ": tempo out of range");
    if (!song.chords.count('A')) throw std::invalid_argument("song " + song.title + ": no chords for section A");

    mod::Module m;
    m.title = song.title;
    m.samples = MakeInstruments(song.style, song.colour);
    bool drive = song.style == Style::Drive;
    Builder b{song, song.key.root + 12};

    std::map<char, Motif> motifs;
    std::map<char, int> seen;
    synth::Rng variationRng(song.seed * 7919u + 17u);
    int degree = 2;

    for (size_t index = 0; index < song.form.size(); ++index) {
        char letter = song.form[index];
        char section = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
        if (std::string("IABCO").find(section) == std::string::npos)
            throw std::invalid_argument(std::string("song ") + song.title + ": unknown section '" + letter + "'");
        auto found = song.chords.find(section);
        const std::array<int, 4>& chords = found != song.chords.end() ? found->second : song.chords.at('A');
        int occurrence = seen[section]++;
        int variation = std::min(2, occurrence + (letter != section ? 1 : 0));
        char next = index + 1 < song.form.size()
                        ? static_cast<char>(std::toupper(static_cast<unsigned char>(song.form[index + 1]))) : 0;
        bool fill = drive && (next != section || letter != section);

        mod::Pattern p;
        char motifKey = section == 'O' ? 'A' : section;
        if (!motifs.count(motifKey)) {
            synth::Rng motifRng(song.seed * 131u + static_cast<uint32_t>(motifKey));
            Style motifStyle = section == 'C' ? Style::Calm : song.style;
            motifs[motifKey] = MakeMotif(motifRng, motifStyle);
        }
        const Motif& motif = motifs[motifKey];

        switch (section) {
        case 'I':
            b.Pad(p, chords, false, drive ? 22 : 34);
            if (drive) {
                b.Bass(p, chords, 4, 0, 1);
                b.Bass(p, chords, song.bassGroove, 2, 3);
                for (int bar = 0; bar < 2; ++bar)
                    for (int row = 0; row < kBarRows; row += 2)
                        Put(p, bar * kBarRows + row, kDrums, 24, kHat, 0xC, row % 4 == 0 ? 24 : 16);
                b.Groove(p, 2, song.drumGroove, false, false);
                b.Groove(p, 3, song.drumGroove, false, false);
                b.Fill(p, 3);
            } else {
                b.Bass(p, chords, 4, 0, 3);
                b.Arpeggio(p, chords, 4, 18 + 4 * occurrence, 0, 3);
            }
            PutEffect(p, 0, kLeadCh, 0xC, 0);
            break;
        case 'A':
        case 'B': {
            std::vector<Note> notes = Phrase(motif, chords, song.style, variationRng, variation, b.LowDegree(), b.HighDegree(), degree);
            b.Lead(p, notes, drive ? 40 : 44);
            b.Pad(p, chords, drive && section == 'B', drive ? 20 : 30);
            if (drive) {
                b.Bass(p, chords, section == 'B' ? (song.bassGroove + 1) % 3 : song.bassGroove, 0, 3);
                for (int bar = 0; bar < 4; ++bar)
                    b.Groove(p, bar, song.drumGroove, variation > 0 || section == 'B', bar == 0 && occurrence == 0);
                if (fill) b.Fill(p, 3);
            } else {
                b.Bass(p, chords, 3, 0, 3);
                b.Arpeggio(p, chords, section == 'B' ? 2 : 4, 16, 0, 3);
            }
            break;
        }
        case 'C': {
            std::vector<Note> notes = Phrase(motif, chords, Style::Calm, variationRng, variation, b.LowDegree(), b.HighDegree(), degree);
            b.Lead(p, notes, drive ? 36 : 40);
            b.Pad(p, chords, false, drive ? 26 : 30);
            b.Bass(p, chords, 3, 0, 3);
            if (drive) {
                for (int bar = 0; bar < 4; ++bar) b.HalfTime(p, bar);
                b.Fill(p, 3);
            } else {
                b.Arpeggio(p, chords, 2, 14, 0, 3);
            }
            break;
        }
        case 'O': {
            std::vector<Note> notes = Phrase(motif, chords, song.style, variationRng, 0, b.LowDegree(), b.HighDegree(), degree);
            b.Lead(p, notes, drive ? 40 : 42);
            b.Pad(p, chords, false, drive ? 22 : 30);
            b.Bass(p, chords, drive ? song.bassGroove : 3, 0, 2);
            b.Bass(p, chords, 4, 3, 3);
            if (drive) {
                for (int bar = 0; bar < 3; ++bar) b.Groove(p, bar, song.drumGroove, false, bar == 0);
                Put(p, 3 * kBarRows, kDrums, 24, kCrash, 0xC, 52);
            } else {
                b.Arpeggio(p, chords, 4, 16, 0, 3);
            }
            b.FadeOut(p, 3 * kBarRows + 4);
            break;
        }
        }
        if (index == 0) {
            // Tempo: speed 6 ticks per row and the song's beats per minute.
            p.rows[0][kBassCh].effect = 0xF;
            p.rows[0][kBassCh].param = kSpeed;
            p.rows[0][kLeadCh].effect = 0xF;
            p.rows[0][kLeadCh].param = song.bpm;
        }
        m.patterns.push_back(p);
        m.order.push_back(static_cast<int>(index));
    }
    return m;
}

}  // namespace compose
