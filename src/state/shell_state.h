// State of the application shell: the active scene and the changes asked of
// it, sound and music settings, whether the level's finish line is passed,
// and the run's options.
#pragma once
#include <cstdint>
#include <string>
#include <unordered_set>

#include "state/language.h"
#include "state/scene_requests.h"

struct ShellOptions {
    std::string dataDir = ".";   // where video\ and audio\ are found
    std::string saveDir = ".";   // where the three saved files live
    bool createSaveDir = false;  // the per-user save folder is made on the first save
    // Replays (and watching one inside the game) read the saved files they
    // start from but write none: the player's files stay as they were.
    bool writeSaves = true;
    int64_t seed = -1;  // RandomInt seed and clock value for reseeds; -1 = the clock
};

// The scenes, by the names the game gives them: the intro, the main menu, the
// story text before level 1 ("Uvod"), the game itself ("HlavniHra") and the
// ending animation ("Animace").
enum class Scene : uint8_t { Intro, Menu, Uvod, HlavniHra, Animace };
// The scene's name as the state dump and the replay hash write it.
constexpr const char* SceneName(Scene scene) {
    switch (scene) {
        case Scene::Intro: return "Intro";
        case Scene::Menu: return "Menu";
        case Scene::Uvod: return "Uvod";
        case Scene::HlavniHra: return "HlavniHra";
        case Scene::Animace: return "Animace";
    }
    return "?";
}

struct Shell {
    Scene CurrentScene = Scene::Intro;
    // Scene changes asked for by the step of the frame now running; the
    // frame carries them out before it tests the next scene.
    SceneRequests requests;
    uint8_t SoundEnabled = 1;
    uint8_t MusicEnabled = 1;
    uint8_t MusicVolume = 100;
    int32_t MusicChannel = 0;
    uint8_t ShowFrameRate = 0;
    // The language the texts and the pictures with words are in; the
    // front end's language switch changes it (frontend/language.cpp).
    Language language = Language::Czech;

    // Frame-rate measurement over periods of at least 1000 ms.
    uint32_t rateStartMs = 0;
    int32_t rateTicks = 0;
    int32_t FrameRate = 0;

    ShellOptions options;
    bool quitRequested = false;
    // Errors inside frames are reported once each.
    std::unordered_set<std::string> reportedErrors;
};
