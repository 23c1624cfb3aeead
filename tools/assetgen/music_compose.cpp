// The composition kit: scale degrees and triads, two-bar motifs answered and
// cadenced over four-bar chord progressions, and the song form laid out as
// module patterns. Channels: drums (or the intro's bells), bass, lead, and
// an upper voice (pad, stabs or arpeggio). Each section is played as the
// song's arrangement for its letter says, with its groove family's figures.
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <stdexcept>
#include <utility>

#include "music_compose.h"
#include "music_grooves.h"
#include "synth.h"

namespace compose {

namespace {

constexpr int kMajorSteps[7] = {0, 2, 4, 5, 7, 9, 11};
constexpr int kMinorSteps[7] = {0, 2, 3, 5, 7, 8, 10};
constexpr int kSpeed = 6;  // ticks per row

enum Channel { kDrums = 0, kBassCh = 1, kLeadCh = 2, kUpperCh = 3 };

using Rhythm = std::vector<std::pair<int, int>>;  // (row in bar, length in rows)

// One-bar rhythms the motifs are built from, for bars of 16 and of 12 rows.
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
const std::vector<Rhythm> kLiltRhythms = {
    {{0, 4}, {4, 2}, {6, 4}, {10, 2}}, {{0, 6}, {6, 3}, {9, 3}}, {{0, 2}, {2, 2}, {4, 2}, {6, 6}},
    {{0, 3}, {3, 3}, {6, 6}},          {{0, 9}, {9, 3}},
};
const Rhythm kDriveCadence = {{0, 4}, {4, 4}, {8, 8}};
const Rhythm kCalmCadence = {{0, 16}};
const Rhythm kLiltCadence = {{0, 4}, {4, 2}, {6, 6}};

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

const std::vector<Rhythm>& RhythmsFor(Style style, int barRows) {
    if (barRows == 12) return kLiltRhythms;
    return style == Style::Drive ? kDriveRhythms : kCalmRhythms;
}

const Rhythm& CadenceFor(Style style, int barRows) {
    if (barRows == 12) return kLiltCadence;
    return style == Style::Drive ? kDriveCadence : kCalmCadence;
}

Motif MakeMotif(synth::Rng& rng, Style style, int barRows) {
    const auto& lib = RhythmsFor(style, barRows);
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
            if (dist < bestDist) {
                best = d;
                bestDist = dist;
            }
        }
    return best;
}

// A four-bar phrase: the motif, its second bar, the motif again over the
// third chord, and a cadence landing on the last chord's root.
std::vector<Note> Phrase(const Motif& motif, const std::array<int, 4>& chords, Style style, int barRows,
                         synth::Rng& rng, int variation, int low, int high, int& degree) {
    std::vector<Note> notes;
    for (int bar = 0; bar < 4; ++bar) {
        const Rhythm& rhythm = bar == 3 ? CadenceFor(style, barRows) : (bar == 1 ? motif.second : motif.first);
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
            int row = bar * barRows + rhythm[i].first, len = rhythm[i].second;
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
    if (c.effect == 0 && c.param == 0) {
        c.effect = effect;
        c.param = param;
    }
}

struct Builder {
    const Song& song;
    const GrooveSet& groove;
    int tonic;  // lead note number of degree 0
    int bar;    // rows per bar
    int level = 100;

    int Vol(int v) const { return std::clamp(v * level / 100, 1, 64); }
    int Pitch(int base, int degree, int low, int high) const {
        return Fold(base + ScaleSemitone(song.key, degree), low, high);
    }
    int LeadNote(int degree, int octave) const { return Pitch(tonic + 12 * octave, degree, 0, mod::kNotes - 1); }
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

    void Lead(mod::Pattern& p, const std::vector<Note>& notes, int volume, int octave) const {
        bool drive = song.style == Style::Drive;
        if (notes.empty() || notes.front().row != 0) PutEffect(p, 0, kLeadCh, 0xC, 0);
        for (size_t i = 0; i < notes.size(); ++i) {
            const Note& n = notes[i];
            int accent = n.row % (bar / 2) == 0 ? 6 : 0;
            Put(p, n.row, kLeadCh, LeadNote(n.degree, octave), kLead, 0xC, Vol(volume + accent));
            if (n.len >= 6)
                for (int r = n.row + 2; r < n.row + n.len; ++r) PutEffect(p, r, kLeadCh, 0x4, drive ? 0x34 : 0x23);
            int end = n.row + n.len;
            bool joined = i + 1 < notes.size() && notes[i + 1].row == end;
            if (!joined && end < 4 * bar) PutEffect(p, end, kLeadCh, 0xC, 0);
        }
    }

    // The triad sample on the chord's root: held for the bar, or struck on
    // the groove's stab rows.
    void Upper(mod::Pattern& p, const std::array<int, 4>& chords, bool stabs, int volume) const {
        for (int b = 0; b < 4; ++b) {
            int semitone = ChordSemitone(chords[b]);
            int note = semitone < 5 ? semitone + 12 : semitone;
            int sample = TriadIsMinor(song.key, chords[b]) ? kPadMinor : kPadMajor;
            if (!stabs) {
                Put(p, b * bar, kUpperCh, note, sample, 0xC, Vol(volume));
                continue;
            }
            for (int r = 0; r < bar; ++r) {
                if (groove.stabs[r] != 'x') continue;
                Put(p, b * bar + r, kUpperCh, note, sample, 0xC, Vol(volume));
                if (r + 1 < bar) PutEffect(p, b * bar + r + 1, kUpperCh, 0xA, 0x0C);  // short and plucked
            }
        }
    }

    void Arpeggio(mod::Pattern& p, const std::array<int, 4>& chords, int channel, int volume, int octave) const {
        static const int kShape[] = {0, 2, 4, 7, 9, 7, 4, 2};
        const int step = groove.arpStep;
        for (int b = 0; b < 4; ++b)
            for (int i = 0; i * step < bar; ++i) {
                int note = Pitch(tonic + 12 * octave, chords[b] + kShape[i % 8], 12, mod::kNotes - 1);
                Put(p, b * bar + i * step, channel, note, kBell, 0xC, Vol(volume + (i == 0 ? 8 : 0)));
            }
    }

    void Bass(mod::Pattern& p, const std::array<int, 4>& chords, int style) const {
        const char* figure = style == 1 ? "R" : groove.bass;
        const int length = style == 1 ? 1 : bar;
        for (int b = 0; b < 4; ++b) {
            for (int r = 0; r < length; ++r) {
                char c = figure[r];
                int degree = chords[b];
                if (c == 'O') degree += 7;
                else if (c == 'F') degree += 4;
                else if (c == 'T') degree += 2;
                else if (c != 'R' && c != 'r') continue;
                int note = Fold(song.key.root + ScaleSemitone(song.key, degree), 0, 23);
                int volume = c == 'r' ? 40 : (r == 0 ? 58 : (r % 4 == 0 ? 52 : 46));
                if (song.style == Style::Calm) volume -= 8;
                Put(p, b * bar + r, kBassCh, note, kBass, 0xC, Vol(volume));
            }
        }
    }

    void Drums(mod::Pattern& p, int b, const char* pattern) const {
        for (int r = 0; r < bar; ++r) {
            int sample = 0, note = 24, volume = 0;
            switch (pattern[r]) {
                case 'K': sample = kKick, volume = 64; break;
                case 'k': sample = kKick, volume = 50; break;
                case 'S': sample = kSnare, volume = 56; break;
                case 's': sample = kSnare, volume = 38; break;
                case 'g': sample = kSnare, volume = 18; break;
                case 'H': sample = kHat, volume = 32; break;
                case 'h': sample = kHat, volume = 22; break;
                case 'C': sample = kCrash, volume = 46; break;
                case 'T': sample = kTom, volume = 50, note = 27; break;
                case 't': sample = kTom, volume = 48, note = 20; break;
                default: continue;
            }
            Put(p, b * bar + r, kDrums, note, sample, 0xC, Vol(volume));
        }
    }

    void FadeOut(mod::Pattern& p, int fromRow) const {
        for (int r = fromRow; r < 4 * bar; ++r)
            for (int ch = 0; ch < mod::kChannels; ++ch) PutEffect(p, r, ch, 0xA, 0x01);
    }
};

Arrangement DefaultArrangement(char section, Style style) {
    Arrangement a;
    if (style == Style::Calm) a.drums = 0, a.bass = 1, a.upper = 4;
    if (section == 'I') a.lead = 0, a.drums = style == Style::Calm ? 0 : 1;
    if (section == 'C') a.drums = style == Style::Calm ? 0 : 3, a.bass = 1;
    return a;
}

}  // namespace

int ScaleSemitone(const Key& key, int degree) {
    int octave = FloorDiv(degree, 7);
    int d = degree - octave * 7;
    return octave * 12 + (key.minor ? kMinorSteps : kMajorSteps)[d];
}

bool TriadIsMinor(const Key& key, int degree) {
    return ScaleSemitone(key, degree + 2) - ScaleSemitone(key, degree) == 3;
}

int BarRows(Groove groove) { return GrooveOf(groove).barRows; }

mod::Module ComposeModule(const Song& song) {
    if (song.form.empty() || song.form.size() > mod::kMaxPatterns)
        throw std::invalid_argument("song " + song.title + ": form must hold 1..64 sections");
    if (song.bpm < 32 || song.bpm > 255) throw std::invalid_argument("song " + song.title + ": tempo out of range");
    if (!song.chords.count('A')) throw std::invalid_argument("song " + song.title + ": no chords for section A");

    mod::Module m;
    m.title = song.title;
    m.samples = MakeInstruments(song);
    const GrooveSet& groove = GrooveOf(song.groove);
    Builder b{song, groove, song.key.root + 12, groove.barRows};
    const int sectionRows = 4 * b.bar;

    std::map<char, Motif> motifs;
    std::map<char, int> seen;
    synth::Rng variationRng(song.seed * 7919u + 17u);
    int degree = 2;
    int tempo = song.bpm;

    for (size_t index = 0; index < song.form.size(); ++index) {
        char letter = song.form[index];
        char section = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
        if (std::string("IABCO").find(section) == std::string::npos)
            throw std::invalid_argument(std::string("song ") + song.title + ": unknown section '" + letter + "'");
        auto found = song.chords.find(section);
        const std::array<int, 4>& chords = found != song.chords.end() ? found->second : song.chords.at('A');
        auto part = song.parts.find(section);
        const Arrangement a = part != song.parts.end() ? part->second : DefaultArrangement(section, song.style);
        int occurrence = seen[section]++;
        int variation = std::min(2, occurrence + (letter != section ? 1 : 0));
        char next = index + 1 < song.form.size()
                        ? static_cast<char>(std::toupper(static_cast<unsigned char>(song.form[index + 1])))
                        : 0;
        b.level = a.level;

        mod::Pattern p;
        char motifKey = section == 'O' ? 'A' : section;
        if (!motifs.count(motifKey)) {
            synth::Rng motifRng(song.seed * 131u + static_cast<uint32_t>(motifKey));
            Style motifStyle = section == 'C' && b.bar == 16 ? Style::Calm : song.style;
            motifs[motifKey] = MakeMotif(motifRng, motifStyle, b.bar);
        }
        if (a.lead > 0) {
            Style phraseStyle = section == 'C' && b.bar == 16 ? Style::Calm : song.style;
            std::vector<Note> notes = Phrase(motifs[motifKey], chords, phraseStyle, b.bar, variationRng,
                                             section == 'O' ? 0 : variation, b.LowDegree(), b.HighDegree(), degree);
            b.Lead(p, notes, song.style == Style::Drive ? 42 : 44, a.lead - 1);
        } else {
            PutEffect(p, 0, kLeadCh, 0xC, 0);
        }
        if (a.upper == 1 || a.upper == 2) b.Upper(p, chords, a.upper == 2, song.style == Style::Drive ? 24 : 32);
        if (a.upper == 3) b.Arpeggio(p, chords, kUpperCh, 22, 1);
        if (a.upper == 4) {
            // The intro: bells on the drum channel, a glassy pad above.
            b.Arpeggio(p, chords, kDrums, 20 + 2 * std::min(occurrence, 2), section == 'I' ? 1 : 0);
            b.Upper(p, chords, false, 30);
        }
        if (a.bass > 0) b.Bass(p, chords, a.bass);
        if (a.drums > 0 && a.upper != 4) {
            for (int bar = 0; bar < 4; ++bar) {
                const char* pattern = a.drums == 1 ? groove.light : a.drums == 3 ? groove.half : groove.main;
                if (a.drums == 4 && bar == 3) pattern = groove.build;
                bool fill = bar == 3 && a.drums >= 2 && (next != section || letter != section);
                b.Drums(p, bar, fill ? groove.fill : pattern);
            }
            if (a.drums >= 2 && occurrence == 0) Put(p, 0, kDrums, 24, kCrash, 0xC, b.Vol(46));
        }
        if (section == 'O') {
            if (a.upper != 4) Put(p, 3 * b.bar, kDrums, 24, kCrash, 0xC, b.Vol(50));
            b.FadeOut(p, 3 * b.bar + 4);
        }
        if (index == 0) {
            // Tempo: speed 6 ticks per row and the song's beats per minute.
            p.rows[0][kBassCh].effect = 0xF;
            p.rows[0][kBassCh].param = kSpeed;
            p.rows[0][kLeadCh].effect = 0xF;
            p.rows[0][kLeadCh].param = song.bpm;
        } else if ((a.bpm > 0 ? a.bpm : song.bpm) != tempo) {
            p.rows[0][kUpperCh].effect = 0xF;
            p.rows[0][kUpperCh].param = a.bpm > 0 ? a.bpm : song.bpm;
        }
        tempo = index == 0 ? song.bpm : (a.bpm > 0 ? a.bpm : song.bpm);
        if (sectionRows < mod::kRows) {
            // Bars of twelve rows: the pattern ends after its four bars.
            p.rows[sectionRows - 1][kLeadCh].effect = 0xD;
            p.rows[sectionRows - 1][kLeadCh].param = 0;
        }
        m.patterns.push_back(p);
        m.order.push_back(static_cast<int>(index));
    }
    return m;
}

}  // namespace compose
