// The ending animation: the white flash and its factors, the closing message,
// the ship leaving, the probe's descent under the caption and its drift with
// beeps, the closing sound and the return to the score page, a key ending
// it early, and a second victory in the same run playing it again.
#include "frontend/story.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "frame_probes.h"
#include "shell/scene_changes.h"
#include "state/saved_files.h"
#include "test_support.h"

namespace {

constexpr uint16_t kCaptionGreen = ColorTo565(0x8000);

struct Story {
    TestWorld t = MakeTestWorld();
    World& w = t.w();
    FrontEnd& f = w.front;
    ProgressRecord& p = w.game.Progress;
    std::string dir = MakeTempDir("story");
    Story() {
        for (Star& star : w.game.Stars) star.X = 900;  // nothing but what the story draws
        w.shell.options.saveDir = dir;
        w.shell.CurrentScene = Scene::Animace;
        p.Level = 9;
        p.Score = 4321;
        p.ScrollDistance = 11500;  // where the mother ship's end left it
        // The finished game's profile slot.
        w.saved.ProfileTable[2] = p;
        w.saved.ProfileTable[2].PlayerName.Assign("Pilot");
        w.saved.CurrentProfile = 2;
        f.GameActive = 1;
        f.MenuPage = Page::None;
        f.HoverButton = 2;
        w.shell.MusicEnabled = 1;
        w.shell.MusicChannel = LoadSong(w.media.music, false, "audio\\song01.mod", 0, 0, 1);
        PlaySong(w.media.music, w.shell.MusicChannel);
    }
    void Frame() {
        RunStoryAnimation(w);   // the starfield clears the surface
        ApplySceneRequests(w);  // as the frame does after the story
    }
    bool Playing(const char* name) {
        WaveItem& item = FindSound(w.media.Zvuky, name);
        bool playing = item.mainVoice >= 0 && w.media.mixer->voices[item.mainVoice].playing;
        for (int v : item.voices) playing = playing || w.media.mixer->voices[v].playing;
        return playing;
    }
    void Silence() {
        for (Voice& voice : w.media.mixer->voices) voice.playing = false;
    }
    bool CaptionShown() const {
        for (int y = 570; y < 600; ++y)
            for (int x = 20; x < 400; ++x)
                if (w.media.back->pixels[y][x] == kCaptionGreen) return true;
        return false;
    }
    // The story is over and the score page is due, the slot freed and saved.
    void ExpectBackInTheMenu() {
        EXPECT_EQ(w.shell.CurrentScene, Scene::Menu);
        EXPECT_EQ(f.MenuPage, Page::Scores);
        EXPECT_EQ(f.IdleTimer, 1500);
        EXPECT_EQ(f.HoverButton, 0);
        EXPECT_EQ(f.GameActive, 0);
        EXPECT_EQ(p.Lives, 0);
        EXPECT_EQ(p.Score, 4321);  // left for the score page to enter
        EXPECT_EQ(w.saved.CurrentProfile, 0);
        EXPECT_TRUE(w.saved.ProfileTable[2].PlayerName.Empty());
        const std::vector<uint8_t> file = ReadFileBytes(SavedFilePath(w, kProfilesFileName));
        ASSERT_EQ(file.size(), kProfilesFileSize);
        EXPECT_TRUE(DecodeProgress(file.data() + kProgressRecordSize).PlayerName.Empty());
        // Ready to play again from the flash.
        EXPECT_EQ(f.EndingStage, 1);
        EXPECT_EQ(f.EndingCounter, 255);
        EXPECT_EQ(f.ProbeDrift, 0);
    }
};

TEST(StoryFlash, WhiteFadesOutInSixFramesThenTheMessageStarts) {
    Story s;
    auto white = std::make_unique<Surface>();
    for (int factor = 255; factor > 0; factor -= 50) {
        s.Frame();
        // Above the ship and the instrument bar, the flash alone.
        FillSurface(*white, 0);
        BlendDrawPattern(FindPicture(s.w.media.Obrazky, "bila"), *white, Rect{0, 0, 800, 600}, 0, factor);
        EXPECT_EQ(s.w.media.back->pixels[150][600], white->pixels[150][600]) << "factor " << factor;
        EXPECT_EQ(s.w.game.StarMode, 1);  // the stars run backwards
        EXPECT_EQ(s.f.EndingStage, 1);
    }
    EXPECT_FALSE(Shows(s.w, s.w.media.Rakety, "OpacnaRaketa", 358, 266, 0));  // still under the flash
    EXPECT_EQ(IsSongPlaying(s.w.media.music, s.w.shell.MusicChannel), 1);

    s.Frame();  // no flash any more: the game music stops and the closing message begins
    EXPECT_EQ(s.w.media.back->pixels[150][600], 0);
    EXPECT_TRUE(Shows(s.w, s.w.media.Rakety, "OpacnaRaketa", 358, 266, 0));
    EXPECT_EQ(s.f.EndingStage, 2);
    EXPECT_NE(s.w.game.CommanderStep, 0);
    EXPECT_NE(IsSongPlaying(s.w.media.music, s.w.shell.MusicChannel), 1);

    // While the message runs the ship waits; once it is over the ship starts
    // down in the same frame.
    for (int i = 0; i < 50; ++i) s.Frame();
    EXPECT_EQ(s.f.EndingStage, 2);
    s.w.game.CommanderStep = 0;
    SetNoText(s.w.game.CommanderText);
    s.Frame();
    EXPECT_EQ(s.f.EndingStage, 3);
    EXPECT_EQ(s.f.EndingCounter, 2);
}

TEST(StoryRun, ShipLeavesProbeDescendsUnderTheCaptionDriftsAndTheStoryEnds) {
    int framesWithSound[2] = {};  // frames until the menu
    for (int sound = 1; sound >= 0; --sound) {
        Story s;
        s.w.shell.SoundEnabled = uint8_t(sound);
        // From the ship's departure on (its first frame is shared with the
        // end of the message, see above).
        s.f.EndingStage = 3;
        s.f.EndingCounter = 2;
        int frames = 0, shipFrames = 0, captionFrames = 0, beeps = 0, lastBeep = -1, driftFrames = 0, blinks = 0;
        int32_t konecAt = -1, shipAt100 = -1;
        bool probeChecked = false;
        while (s.w.shell.CurrentScene == Scene::Animace && frames < 20000) {
            const uint8_t stage = s.f.EndingStage;
            const int32_t counter = s.f.EndingCounter, drift = s.f.ProbeDrift, distance = s.p.ScrollDistance;
            s.Silence();
            s.Frame();
            ++frames;
            if (stage == 3) {
                ++shipFrames;
                if (counter == 100) shipAt100 = Shows(s.w, s.w.media.Rakety, "OpacnaRaketa", 358, 366, 0);
            }
            captionFrames += s.CaptionShown();
            if (stage == 4) {
                // The caption belongs to the fast descent; the drift starts
                // in the frame the descent passes 2300.
                const bool shown = s.CaptionShown();
                EXPECT_EQ(shown, drift == 0) << "at " << distance;
                if (s.w.shell.CurrentScene == Scene::Animace) {
                    // Stars rush past during the descent and run normally in the drift.
                    EXPECT_EQ(s.w.game.StarMode, s.p.ScrollDistance > 2300 ? 0 : 2) << "at " << distance;
                    if (s.p.ScrollDistance > 2300) {
                        // Upwards by 2, 1, 1, 1 pixels, starting with 2.
                        ++driftFrames;
                        EXPECT_EQ(s.f.ProbeDrift, -(driftFrames + (driftFrames + 3) / 4)) << "at " << distance;
                    }
                    // Each blink shows the probe's other frame.
                    if (s.f.EndingCounter != counter) {
                        ++blinks;
                        EXPECT_EQ(s.f.EndingCounter, 1 - counter);
                        EXPECT_EQ(s.f.ProbeBlinkTimer, 0);
                    }
                }
                if (distance == 3000) {
                    EXPECT_TRUE(Shows(s.w, s.w.media.Obrazky, "Sonda", 400, 3001 - 2000 + drift, counter));
                    probeChecked = true;
                }
            }
            if (s.Playing("Sonda")) {
                if (lastBeep >= 0) {
                    EXPECT_EQ(frames - lastBeep, 101);
                }
                lastBeep = frames;
                ++beeps;
            }
            if (s.Playing("Konec")) {
                EXPECT_EQ(konecAt, -1);
                konecAt = s.p.ScrollDistance;
            }
        }
        EXPECT_EQ(shipFrames, 225);  // two pixels a frame down to 450
        EXPECT_EQ(shipAt100, 1);
        EXPECT_TRUE(probeChecked);
        // From 600 to 2300 at five a frame, the first in the frame the ship is gone.
        EXPECT_EQ(captionFrames, 341);
        framesWithSound[sound] = frames;
        EXPECT_EQ(s.p.ScrollDistance, 4100);
        EXPECT_EQ(driftFrames, 4099 - 2303);  // 2304 up to the last frame before the end
        EXPECT_EQ(blinks, driftFrames / 101);
        if (sound) {
            EXPECT_EQ(beeps, blinks);
            EXPECT_EQ(konecAt, 3800);
            EXPECT_GT(beeps, 15);  // every 101 frames through the 1800-frame drift
        } else {
            EXPECT_EQ(konecAt, -1);
            EXPECT_EQ(beeps, 0);
        }
        s.ExpectBackInTheMenu();
    }
    EXPECT_EQ(framesWithSound[0], framesWithSound[1]);  // silence changes no timing
}

TEST(StoryEnd, KeyDuringTheFlashEndsAtOnceAndASecondVictoryPlaysAgain) {
    Story s;
    s.Frame();
    s.Frame();
    ASSERT_EQ(s.f.EndingCounter, 155);
    EndStory(s.w);
    s.ExpectBackInTheMenu();

    // Another won game in the same run starts again with the full flash.
    s.w.shell.CurrentScene = Scene::Animace;
    s.p.ScrollDistance = 11800;
    s.Frame();
    EXPECT_EQ(s.f.EndingStage, 1);
    EXPECT_EQ(s.f.EndingCounter, 205);
    EXPECT_TRUE(Shows(s.w, s.w.media.Obrazky, "bila", 0, 0, 0));  // factor 255: opaque
}

}  // namespace
