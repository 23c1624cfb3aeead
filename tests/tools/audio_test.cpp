// The generated sounds: the wave collection as the game loads it (names,
// formats, voice limits, levels, clean ends and loops, loudness by role), the
// tracker modules as libopenmpt plays them (no warnings, four channels,
// length, tempo, continuous sound, loudness), a busy minute of play mixed
// over the music, the module byte layout and the composer's musical rules.
#include <gtest/gtest.h>
#include <libopenmpt/libopenmpt.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "assetgen.h"
#include "audio_assets.h"
#include "game/game_scene.h"
#include "game/level_build.h"
#include "game/reset.h"
#include "loudness.h"
#include "media/collection_file.h"
#include "media/mixer.h"
#include "media/music.h"
#include "media/sound.h"
#include "media/surface.h"
#include "mod_writer.h"
#include "music_compose.h"
#include "sound_roles.h"
#include "test_support.h"

namespace {

const char* const kGameSounds[] = {"Ochranne koule", "Disky",   "Kamaradi",   "Nesmrtelnost", "Lifepack",
                                   "Energypack",     "Laser",   "GoodLaser",  "Ostatni",      "RoztahnutiLej",
                                   "PrubehLej",      "Vybuch",  "Prstenec",   "bumLod",       "Box",
                                   "BoxGun",         "Baterie", "Outenergie", "Prepnuti",     "Vlajky",
                                   "Najeti",         "Klik",    "Text",       "Sonda",        "Konec"};
const char* const kModules[] = {"intro.mod", "song01.mod", "song02.mod", "song03.mod", "song04.mod", "song05.mod"};

std::vector<float> Samples(const WaveItem& item) {
    std::vector<float> out;
    const auto& b = item.wave.samples;
    for (size_t i = 0; i + 1 < b.size(); i += 2) out.push_back(static_cast<int16_t>(b[i] | (b[i + 1] << 8)) / 32768.0f);
    return out;
}

// The wave as the game's mixer plays it: 44100 Hz stereo float.
std::shared_ptr<const std::vector<float>> LoadedSamples(const WaveItem& item) {
    return std::make_shared<const std::vector<float>>(ConvertToMixFormat(item.wave));
}

float Seconds(const WaveItem& item) {
    return static_cast<float>(item.wave.samples.size() / 2) / item.wave.format.sampleRate;
}

struct WaveFileTest : ::testing::Test {
    static WaveCollection& Zvuky() {
        static WaveCollection collection = [] {
            WaveCollection c;
            LoadWaveCollection(c, TestDataDir() + "/audio/zvuky.lev");
            return c;
        }();
        return collection;
    }
};

TEST_F(WaveFileTest, HoldsEverySoundTheGamePlaysInA16BitFormat) {
    WaveCollection& zvuky = Zvuky();
    ASSERT_GE(zvuky.items.size(), 26u) << "start-up primes indexes 0..25";
    for (const char* name : kGameSounds) EXPECT_NO_THROW(FindSound(zvuky, name)) << name;
    for (const WaveItem& item : zvuky.items) {
        EXPECT_EQ(item.wave.format.formatTag, 1) << item.Name;
        EXPECT_EQ(item.wave.format.channels, 1) << item.Name;
        EXPECT_EQ(item.wave.format.bitsPerSample, 16) << item.Name;
        EXPECT_TRUE(item.wave.format.sampleRate == 22050 || item.wave.format.sampleRate == 44100) << item.Name;
        EXPECT_GT(item.wave.samples.size(), 200u) << item.Name;
    }
    EXPECT_LT(std::filesystem::file_size(TestDataDir() + "/audio/zvuky.lev"), 4u << 20);
}

TEST_F(WaveFileTest, VoiceLimitsAndLoopsSuitHowTheGamePlaysThem) {
    WaveCollection& zvuky = Zvuky();
    // Sounds the game stops itself keep going until then.
    EXPECT_TRUE(FindSound(zvuky, "Text").Looped);
    EXPECT_TRUE(FindSound(zvuky, "PrubehLej").Looped);
    // Rapid fire re-uses a few voices instead of piling up new ones.
    for (const char* name : {"Laser", "GoodLaser", "Ostatni", "Vybuch", "Prstenec"}) {
        int limit = FindSound(zvuky, name).MaxPlayingCount;
        EXPECT_GE(limit, 1) << name;
        EXPECT_LE(limit, 4) << name;
    }
    // Shots are short, the menu blips instant, the ship's blast long.
    EXPECT_LE(Seconds(FindSound(zvuky, "Laser")), 0.3f);
    EXPECT_LE(Seconds(FindSound(zvuky, "Klik")), 0.1f);
    EXPECT_LE(Seconds(FindSound(zvuky, "Najeti")), 0.1f);
    EXPECT_GE(Seconds(FindSound(zvuky, "bumLod")), 2.0f);
    EXPECT_GT(Seconds(FindSound(zvuky, "bumLod")), Seconds(FindSound(zvuky, "Vybuch")));
}

TEST_F(WaveFileTest, LevelsNeitherClipNorVanishAndEndsDoNotClick) {
    for (const WaveItem& item : Zvuky().items) {
        std::vector<float> s = Samples(item);
        ASSERT_FALSE(s.empty()) << item.Name;
        float peak = 0.0f, maxStep = 0.0f;
        for (size_t i = 0; i < s.size(); ++i) {
            peak = std::max(peak, std::fabs(s[i]));
            if (i) maxStep = std::max(maxStep, std::fabs(s[i] - s[i - 1]));
        }
        EXPECT_LT(peak, 0.99f) << item.Name << " clips";
        EXPECT_GT(peak, 0.25f) << item.Name << " is too quiet";
        if (item.Looped) {
            // The jump from the last sample back to the first is no larger
            // than any step inside the sound.
            EXPECT_LE(std::fabs(s.front() - s.back()), maxStep + 0.01f) << item.Name << " clicks at its loop";
        } else {
            EXPECT_LT(std::fabs(s.back()), 0.02f) << item.Name << " ends with a click";
        }
    }
}

TEST_F(WaveFileTest, EachRoleSitsInItsLoudnessBandWithoutOvershootingThePeak) {
    std::map<SoundRole, std::pair<double, double>> span;  // quietest, loudest of each role
    for (WaveItem& item : Zvuky().items) {
        const Loudness l = MeasureLoudness(*LoadedSamples(item), kMixRate);
        const SoundRole role = RoleOf(item.Name);
        const RoleTarget& target = TargetOf(role);
        EXPECT_GE(l.momentaryMax, target.lowLufs) << item.Name << " is too soft for " << target.title;
        EXPECT_LE(l.momentaryMax, target.highLufs) << item.Name << " is too loud for " << target.title;
        EXPECT_LE(l.truePeak, kMaxTruePeakDb) << item.Name;
        auto [it, fresh] = span.try_emplace(role, l.momentaryMax, l.momentaryMax);
        it->second = {std::min(it->second.first, l.momentaryMax), std::max(it->second.second, l.momentaryMax)};
    }
    // The gun repeats several times a second: every impact stands 4 LU above it.
    EXPECT_LE(span[SoundRole::Weapon].second + 4.0, span[SoundRole::Impact].first);
    EXPECT_LE(span[SoundRole::Warning].second, span[SoundRole::Impact].first);
    EXPECT_LT(span[SoundRole::Interface].second, span[SoundRole::Reward].first);
}

TEST(AudioGeneration, IsDeterministicAndMatchesTheBuiltFiles) {
    std::string dir = MakeTempDir("audio");
    GenerateAudio(dir);
    for (const std::string name : {"zvuky.lev", "intro.mod", "song01.mod", "song05.mod"})
        EXPECT_EQ(ReadFileBytes(dir + "/audio/" + name), ReadFileBytes(TestDataDir() + "/audio/" + name)) << name;
    std::filesystem::remove_all(dir);
}

// ---- Modules as libopenmpt plays them ------------------------------------

void CollectLog(const char* message, void* user) {
    if (message) static_cast<std::vector<std::string>*>(user)->push_back(message);
}

struct LoadedModule {
    openmpt_module* module = nullptr;
    std::vector<std::string> log;
    explicit LoadedModule(const std::string& path) {
        std::vector<uint8_t> bytes = ReadFileBytes(path);
        module = openmpt_module_create_from_memory2(bytes.data(), bytes.size(), CollectLog, &log, nullptr, nullptr,
                                                    nullptr, nullptr, nullptr);
    }
    ~LoadedModule() {
        if (module) openmpt_module_destroy(module);
    }
};

TEST(Modules, LoadCleanlyWithFourChannelsAndSongLength) {
    for (const char* name : kModules) {
        std::string path = TestDataDir() + "/audio/" + name;
        std::vector<uint8_t> bytes = ReadFileBytes(path);
        ASSERT_GT(bytes.size(), 1084u) << name;
        EXPECT_EQ(std::string(bytes.begin() + 1080, bytes.begin() + 1084), "M.K.") << name;
        LoadedModule m(path);
        ASSERT_NE(m.module, nullptr) << name;
        EXPECT_TRUE(m.log.empty()) << name << ": " << (m.log.empty() ? "" : m.log.front());
        const char* warnings = openmpt_module_get_metadata(m.module, "warnings");
        EXPECT_STREQ(warnings, "") << name;
        openmpt_free_string(warnings);
        EXPECT_EQ(openmpt_module_get_num_channels(m.module), 4) << name;
        double seconds = openmpt_module_get_duration_seconds(m.module);
        EXPECT_GE(seconds, 90.0) << name;
        EXPECT_LE(seconds, 180.0) << name;
    }
}

TEST(Modules, IntroIsSlowerThanEveryGameSongAndEachSongHasItsOwnTempo) {
    std::vector<int> tempos;
    for (const char* name : kModules) {
        LoadedModule m(TestDataDir() + "/audio/" + name);
        ASSERT_NE(m.module, nullptr);
        std::vector<int16_t> buffer(2 * 2048);
        openmpt_module_read_interleaved_stereo(m.module, 44100, 2048, buffer.data());
        tempos.push_back(openmpt_module_get_current_tempo(m.module));
    }
    for (size_t i = 1; i < tempos.size(); ++i) EXPECT_LT(tempos[0] + 30, tempos[i]) << kModules[i];
    EXPECT_EQ(std::set<int>(tempos.begin() + 1, tempos.end()).size(), 5u);
}

TEST(Modules, PlayWithoutGapsOrClipping) {
    for (const char* name : kModules) {
        LoadedModule m(TestDataDir() + "/audio/" + name);
        ASSERT_NE(m.module, nullptr);
        const int rate = 22050;
        std::vector<int16_t> second(2 * rate);
        std::vector<double> rms;
        int clipped = 0;
        while (size_t frames = openmpt_module_read_interleaved_stereo(m.module, rate, rate, second.data())) {
            double sum = 0;
            for (size_t i = 0; i < frames * 2; ++i) {
                sum += double(second[i]) * second[i];
                clipped += second[i] >= 32767 || second[i] <= -32768;
            }
            rms.push_back(std::sqrt(sum / (frames * 2)) / 32768.0);
        }
        EXPECT_EQ(clipped, 0) << name;
        ASSERT_GT(rms.size(), 90u) << name;
        // Every second before the final fade carries music (above -40 dBFS).
        for (size_t s = 0; s + 3 < rms.size(); ++s) EXPECT_GT(rms[s], 0.01) << name << " second " << s;
    }
}

TEST(Modules, SongsShareOneLoudnessAndBreathe) {
    for (const char* name : kModules) {
        LoadedModule m(TestDataDir() + "/audio/" + name);
        ASSERT_NE(m.module, nullptr);
        std::vector<float> song, chunk(2 * 4096);
        while (size_t frames = openmpt_module_read_interleaved_float_stereo(m.module, kMixRate, 4096, chunk.data()))
            song.insert(song.end(), chunk.begin(), chunk.begin() + long(2 * frames));
        const Loudness l = MeasureLoudness(song, kMixRate);
        EXPECT_NEAR(l.integrated, -16.0, 1.0) << name;
        EXPECT_GE(l.range, 4.0) << name << " keeps one level throughout";
        EXPECT_LE(l.truePeak, kMaxTruePeakDb) << name;
    }
}

// ---- A busy minute of play over the music ---------------------------------

// A minute of level 2 (alien craft, hardest difficulty) with the fire key
// held and the ship sweeping from side to side, through the game's own frame
// and mixer: the effects at the volume start-up leaves them at, the music on
// a mixer of its own at the default music volume, so each can be measured.
std::vector<float> BusyMinuteOfEffects() {
    auto t = MakeTestWorld(true, 2024);
    World& w = t.w();
    w.shell.MusicEnabled = 0;
    for (WaveItem& item : w.media.Zvuky.items) SetSoundVolume(*w.media.mixer, item, -1000);
    GameState& g = w.game;
    g.Progress.Level = 2;
    g.Progress.Difficulty = 3;
    g.Progress.ScrollDistance = 600;
    BuildLevel(w);
    g.CommanderStep = 0;
    w.shell.CurrentScene = Scene::HlavniHra;
    auto frame = [&](int n) {
        t.platform->heldKeys.reset();
        t.platform->heldKeys.set(size_t(GameKey::Space));
        t.platform->heldKeys.set(size_t((n / 90) % 2 ? GameKey::Left : GameKey::Right));
        FillSurface(*w.media.back, 0);
        SampleInput(w.media.input, w.media.platform);
        RunGameScene(w);
        g.Progress.Energy = 100;  // the ship stays in the fight, its gun charged
        g.WeaponEnergy = 110;
    };
    // The ship flies in first; the minute starts when it can fire.
    std::vector<int16_t> pcm(2 * 1024);
    for (int n = 0; n < 600 && g.ArrivalWidth >= 78; ++n) {
        frame(n);
        MixAudio(*w.media.mixer, pcm.data(), 705);
    }
    std::vector<float> out;
    constexpr int kFrames = 60 * 1000 / 16;
    for (int n = 0; n < kFrames; ++n) {
        frame(n);
        // 16 ms of sound at 44100 Hz, rounded so the minute stays in step.
        const int samples = int(int64_t(n + 1) * 44100 * 16 / 1000 - int64_t(n) * 44100 * 16 / 1000);
        MixAudio(*w.media.mixer, pcm.data(), samples);
        for (int i = 0; i < 2 * samples; ++i) out.push_back(pcm[size_t(i)] / 32768.0f);
    }
    return out;
}

std::vector<float> MinuteOfSong(const std::string& name) {
    Mixer mixer;
    mixer.available = true;
    Music music;
    music.mixer = &mixer;
    music.dataDir = TestDataDir();
    SetMusicVolumes(music, 100, 1, 1);  // the default music volume
    OpenMusic(music, -1, 44100, 0, nullptr);
    PlaySong(music, LoadSong(music, false, "audio\\" + name, 0, 0, 1));
    std::vector<int16_t> pcm(size_t(60 * kMixRate) * 2);
    MixAudio(mixer, pcm.data(), 60 * kMixRate);
    CloseMusic(music);
    std::vector<float> out;
    for (int16_t v : pcm) out.push_back(v / 32768.0f);
    return out;
}

TEST(Mix, EffectsLeadEverySongThroughABusyMinute) {
    const std::vector<double> effects = ShortTermCurve(BusyMinuteOfEffects(), kMixRate, 1.0);
    ASSERT_GE(effects.size(), 59u);
    for (const char* name : {"song01.mod", "song02.mod", "song03.mod", "song04.mod", "song05.mod"}) {
        const std::vector<double> music = ShortTermCurve(MinuteOfSong(name), kMixRate, 1.0);
        int above = 0, windows = 0;
        double lowestMargin = 100.0, sumMargin = 0.0;
        for (size_t i = 2; i < std::min(effects.size(), music.size()); ++i) {  // full 3 s windows
            const double margin = effects[i] - music[i];
            above += margin > 0.0;
            ++windows;
            lowestMargin = std::min(lowestMargin, margin);
            sumMargin += margin;
        }
        std::printf("%s: effects above the music in %d of %d short-term windows, margin mean %.1f LU, lowest %.1f LU\n",
                    name, above, windows, sumMargin / windows, lowestMargin);
        // Every three seconds of the minute, the fire and the hits are
        // heard above the song at the default music volume.
        EXPECT_EQ(above, windows) << name;
        EXPECT_GT(lowestMargin, 1.0) << name;
    }
}

// ---- Module byte layout --------------------------------------------------

TEST(ModuleWriter, WritesTheProTrackerLayout) {
    mod::Module m;
    m.title = "Test";
    for (int i = 0; i < 18; ++i) {
        mod::Sample s;
        s.name = "s" + std::to_string(i);
        s.data.assign(64, 1);
        s.volume = 40;
        if (i == 0) {
            s.loopStart = 16;
            s.loopLength = 32;
        }
        m.samples.push_back(s);
    }
    m.patterns.resize(2);
    m.patterns[1].rows[3][2] = {12, 18, 0xC, 0x20};  // C-2 (period 428), sample 18
    m.order = {1, 0, 1};
    std::vector<uint8_t> b = mod::WriteModule(m);
    ASSERT_EQ(b.size(), 1084u + 2 * 1024u + 18 * 64u);
    EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "Test");
    // Sample 1 header at 20: name, length 32 words, finetune, volume, loop 8 + 16 words.
    EXPECT_EQ(std::string(b.begin() + 20, b.begin() + 22), "s0");
    EXPECT_EQ(b[42], 0);
    EXPECT_EQ(b[43], 32);
    EXPECT_EQ(b[45], 40);
    EXPECT_EQ(b[47], 8);
    EXPECT_EQ(b[49], 16);
    // Sample 2 has no loop: loop length one word.
    EXPECT_EQ(b[50 + 28], 0);
    EXPECT_EQ(b[50 + 29], 1);
    // Order count, restart byte, order table.
    EXPECT_EQ(b[950], 3);
    EXPECT_EQ(b[951], 127);
    EXPECT_EQ(b[952], 1);
    EXPECT_EQ(b[953], 0);
    EXPECT_EQ(b[954], 1);
    // The cell: sample high nibble with period high bits, period low byte,
    // sample low nibble with the effect, parameter.
    size_t cell = 1084 + 1024 + (3 * 4 + 2) * 4;
    EXPECT_EQ(b[cell], 0x11);
    EXPECT_EQ(b[cell + 1], 0xAC);
    EXPECT_EQ(b[cell + 2], 0x2C);
    EXPECT_EQ(b[cell + 3], 0x20);
    // Sample data follows the patterns.
    EXPECT_EQ(b[1084 + 2048], 1);
}

TEST(ModuleWriter, RefusesWhatTheFormatCannotHold) {
    auto base = [] {
        mod::Module m;
        mod::Sample s;
        s.data.assign(64, 0);
        m.samples.push_back(s);
        m.patterns.resize(1);
        m.order = {0};
        return m;
    };
    mod::Module m = base();
    m.patterns[0].rows[0][0] = {36, 1, 0, 0};  // above B-3
    EXPECT_THROW(mod::WriteModule(m), std::invalid_argument);
    m = base();
    m.samples[0].loopStart = 32;
    m.samples[0].loopLength = 64;  // runs past the end
    EXPECT_THROW(mod::WriteModule(m), std::invalid_argument);
    m = base();
    m.samples[0].data.push_back(0);  // odd length
    EXPECT_THROW(mod::WriteModule(m), std::invalid_argument);
    m = base();
    m.order = {1};  // missing pattern
    EXPECT_THROW(mod::WriteModule(m), std::invalid_argument);
    m = base();
    m.patterns[0].rows[0][0] = {0, 2, 0, 0};  // missing sample
    EXPECT_THROW(mod::WriteModule(m), std::invalid_argument);
}

// ---- Composition ---------------------------------------------------------

compose::Song TestSong() {
    compose::Song s;
    s.title = "test";
    s.key = {9, true};  // A minor
    s.bpm = 140;
    s.seed = 5;
    s.chords = {{'I', {0, 5, 2, 6}}, {'A', {0, 5, 3, 4}}, {'B', {5, 2, 6, 0}}, {'O', {3, 4, 0, 0}}};
    s.form = "IAaBO";
    return s;
}

std::vector<std::pair<int, int>> LeadNotes(const mod::Pattern& p) {  // (row, note)
    std::vector<std::pair<int, int>> out;
    for (int r = 0; r < mod::kRows; ++r)
        if (p.rows[r][2].note >= 0) out.push_back({r, p.rows[r][2].note});
    return out;
}

TEST(Composer, ScaleDegreesAndTriads) {
    compose::Key major{0, false}, minor{9, true};
    EXPECT_EQ(compose::ScaleSemitone(major, 2), 4);
    EXPECT_EQ(compose::ScaleSemitone(minor, 2), 3);
    EXPECT_EQ(compose::ScaleSemitone(major, 7), 12);
    EXPECT_EQ(compose::ScaleSemitone(major, -1), -1);
    EXPECT_EQ(compose::ScaleSemitone(minor, -1), -2);
    for (int d : {1, 2, 5}) EXPECT_TRUE(compose::TriadIsMinor(major, d)) << d;
    for (int d : {0, 3, 4}) EXPECT_FALSE(compose::TriadIsMinor(major, d)) << d;
    for (int d : {0, 3, 4}) EXPECT_TRUE(compose::TriadIsMinor(minor, d)) << d;
}

TEST(Composer, EveryNoteStaysInTheKeyAndPhrasesCadenceOnTheChordRoot) {
    compose::Song song = TestSong();
    mod::Module m = compose::ComposeModule(song);
    ASSERT_EQ(m.patterns.size(), song.form.size());
    std::set<int> scale;
    for (int d = 0; d < 7; ++d) scale.insert((song.key.root + compose::ScaleSemitone(song.key, d)) % 12);
    for (const mod::Pattern& p : m.patterns)
        for (const auto& row : p.rows)
            for (int ch = 1; ch < 4; ++ch)
                if (row[ch].note >= 0) {
                    EXPECT_TRUE(scale.count(row[ch].note % 12)) << "note " << row[ch].note;
                }
    // Melodic sections end on the root of their last chord.
    for (size_t i : {1u, 2u, 3u}) {
        auto notes = LeadNotes(m.patterns[i]);
        ASSERT_FALSE(notes.empty());
        int lastChord = song.chords.at(static_cast<char>(std::toupper(song.form[i])))[3];
        int root = (song.key.root + compose::ScaleSemitone(song.key, lastChord)) % 12;
        EXPECT_EQ(notes.back().second % 12, root) << "section " << song.form[i];
    }
}

TEST(Composer, MotifReturnsAndRepeatsVary) {
    compose::Song song = TestSong();
    mod::Module m = compose::ComposeModule(song);
    // First A: the third bar repeats the rhythm of the first.
    std::vector<int> bar1, bar3;
    for (auto [row, note] : LeadNotes(m.patterns[1])) {
        if (row < 16) bar1.push_back(row);
        if (row >= 32 && row < 48) bar3.push_back(row - 32);
    }
    EXPECT_FALSE(bar1.empty());
    EXPECT_EQ(bar1, bar3);
    // The varied A is not a copy of the first.
    EXPECT_NE(LeadNotes(m.patterns[1]), LeadNotes(m.patterns[2]));
    // The intro section has no melody yet.
    EXPECT_TRUE(LeadNotes(m.patterns[0]).empty());
    // The same song composes to the same bytes.
    EXPECT_EQ(mod::WriteModule(m), mod::WriteModule(compose::ComposeModule(song)));
}

TEST(Composer, RejectsAFormItCannotWrite) {
    compose::Song song = TestSong();
    song.form = "IAX";
    EXPECT_THROW(compose::ComposeModule(song), std::invalid_argument);
    song.form = std::string(65, 'A');
    EXPECT_THROW(compose::ComposeModule(song), std::invalid_argument);
}

}  // namespace
