// The new-game check and the verdict a score board reads. The check makes a
// new game with the game's own routines (the menu's Start, or the command
// line's) on a copy of the replay's session and walks the field list of both
// worlds side by side; the verdict follows the game's score and level as the
// kept replays' recorder does.
#include "shell/new_game_verdict.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <vector>

#include "frontend/menu_input.h"
#include "frontend/menu_layout.h"
#include "game/level_build.h"
#include "media/cp1250.h"
#include "shell/runner.h"
#include "state/state_fields.h"
#include "state/world.h"

namespace {

// How far back from where the replay stands the new game's first draw may
// lie: the stars take 400 draws and level 1's objects a few thousand; this
// leaves ample room and costs a few milliseconds.
constexpr int64_t kMostDrawsBack = 4'000'000;

// The inverse of the generator's multiplier modulo 2^32, to step it back.
constexpr uint32_t InverseMultiplier() {
    uint32_t x = 1;
    for (int i = 0; i < 5; ++i) x *= 2u - 0x08088405u * x;  // Newton's iteration doubles the bits
    return x;
}
static_assert(uint32_t(InverseMultiplier() * 0x08088405u) == 1u);

uint32_t StepBack(uint32_t seed) { return (seed - 1u) * InverseMultiplier(); }

// Every field of the field list as "name=value", in order, with the path of
// objects and array elements in front ("Progress.Lives=3",
// "LevelObjects[12].X=340").
class FieldLister {
public:
    std::vector<std::string> fields;

    template <class T>
    void Int(const char* name, const T& v) {
        Add(name, std::to_string(int64_t(v)));
    }
    template <class T>
    void Hidden(const char* name, const T& v) {
        Int(name, v);
    }
    void Index(const char*, int64_t) {}
    template <class T>
    void Text(const char* name, const T& text) {
        Add(name, "'" + Cp1250ToUtf8(FieldText(text)) + "'");
    }
    template <class T>
    void HiddenText(const char* name, const T& text) {
        Text(name, text);
    }
    template <class T>
    void Carried(const char* name, const T& v) {
        if constexpr (std::is_integral_v<T> || std::is_enum_v<T>) Int(name, v);
        else Text(name, v);
    }
    void Key(const char* name) { key_ = name; }
    void BeginObject() { Push(key_ ? key_ : ""); }
    void EndObject() { path_.pop_back(); }
    void BeginArray(const char* name) {
        Push(name);
        path_.back().index = -1;
    }
    void EndArray() { path_.pop_back(); }
    bool Element(bool) {
        ++path_.back().index;
        return true;
    }

private:
    struct Level {
        std::string name;
        int64_t index = -2;  // -2: an object, not an array
    };
    std::vector<Level> path_;
    const char* key_ = nullptr;

    void Push(const char* name) {
        path_.push_back({name, -2});
        key_ = nullptr;
    }
    void Add(const char* name, const std::string& value) {
        std::string text;
        for (const Level& level : path_) {
            if (level.name.empty()) continue;
            text += level.name;
            if (level.index >= 0) text += "[" + std::to_string(level.index) + "]";
            text += ".";
        }
        text += name ? name : "";
        fields.push_back(text + "=" + value);
    }
};

std::vector<std::string> Fields(const World& w) {
    FieldLister lister;
    state_fields::World(lister, w);
    return lister.fields;
}

// "Progress.Lives: the replay has 9, a new game 3", or "" when all agree.
// The random source's position is told only when nothing else differs: a
// field of the game says more.
std::string FirstDifference(const std::vector<std::string>& replay, const std::vector<std::string>& made) {
    if (replay.size() != made.size()) return "the field lists differ in length";
    std::string seedDiffers;
    for (size_t i = 0; i < replay.size(); ++i) {
        if (replay[i] == made[i]) continue;
        const size_t equals = replay[i].find('=');
        const std::string told = replay[i].substr(0, equals) + ": the replay has " + replay[i].substr(equals + 1) +
                                 ", a new game " + made[i].substr(made[i].find('=') + 1);
        if (replay[i].rfind("RandomSeed=", 0) != 0) return told;
        seedDiffers = told;
    }
    return seedDiffers;
}

// The records a new game changes, put aside and back.
struct Records {
    Shell shell;
    SavedFiles saved;
    GameState game;
    FrontEnd front;
    Random random;
    Music music;
    bool motherShipScenery = false;

    explicit Records(const World& w)
        : shell(w.shell), saved(w.saved), game(w.game), front(w.front), random(w.random), music(w.media.music) {
        const auto& items = w.media.Level.items;
        std::string first = items.empty() ? "" : items[0].Name;
        for (char& c : first) c = char(std::tolower(uint8_t(c)));
        motherShipScenery = first == "lod";
    }
    void PutBack(World& w) const {
        w.shell = shell;
        w.saved = saved;
        w.game = game;
        w.front = front;
        w.random = random;
        w.media.music = music;
        EnsureLevelScenery(w, motherShipScenery ? 9 : 4);
        for (WaveItem& item : w.media.Zvuky.items) StopSound(*w.media.mixer, item);
        RestoreSong(w.media.music);
    }
};

// The new game the replay's session would have begun from this position of
// the random source, by the way its scene says it began.
void MakeNewGame(World& w, const Records& replay, uint32_t seedBefore) {
    replay.PutBack(w);
    w.random.seed = seedBefore;
    // The slot the game took was the first free one when it began. It was
    // written before the level was built, so it holds what Progress held
    // then where a new game sets nothing (the level end of the game before).
    const int32_t slot = replay.saved.CurrentProfile;
    if (slot >= 1 && slot <= 6) {
        w.game.Progress = replay.saved.ProfileTable[slot];
        w.saved.ProfileTable[slot].PlayerName.length = 0;
    }
    if (replay.shell.CurrentScene == Scene::Uvod) {
        // The menu's Start, clicked on the new-game page.
        w.shell.CurrentScene = Scene::Menu;
        w.front.MenuPage = Page::NewGame;
        w.front.HoverButton = kStartButton;
        // The story's song the Start loads took the last handle counted.
        w.media.music.nextHandle = replay.music.nextHandle - 1;
        OnClick(w);
    } else {
        StartNewGame(w, Cp1250ToUtf8(replay.game.Progress.PlayerName.View()), replay.game.Progress.Difficulty, 1);
    }
}

// Does the first star drawn from this position match the replay's? A quick
// test before the whole game is made: ResetGameState draws each star's x,
// y, colour and speed in that order.
bool FirstStarMatches(uint32_t seedBefore, const Star& star) {
    Random r{seedBefore};
    if (RandomInt(r, 800) != star.X || RandomInt(r, 600) != star.Y) return false;
    RandomInt(r, 4);
    return RandomInt(r, 3) + 1 == star.Speed;
}

}  // namespace

std::string CheckBegunAsNewGame(World& w) {
    const ProgressRecord& p = w.game.Progress;
    if (w.shell.CurrentScene != Scene::Uvod && w.shell.CurrentScene != Scene::HlavniHra)
        return std::string("it begins in the scene \"") + SceneName(w.shell.CurrentScene) +
               "\", where no new game begins";
    if (p.Level != 1)
        return "it begins at level " + std::to_string(p.Level) + "; only games begun at level 1 are listed";
    if (p.Difficulty < 1 || p.Difficulty > 3) return "its difficulty " + std::to_string(p.Difficulty) + " is not 1..3";
    if (p.PlayerName.Empty()) return "its player has no name";

    const Records replay(w);
    const std::vector<std::string> replayFields = Fields(w);
    // What differs is told of the new game that drew as many numbers as the
    // replay's did, else of the first whose first star matched.
    std::string told = "its stars are not a new game's: no position of the random source draws them";
    bool toldSameDraws = false, toldAny = false;
    uint32_t seed = w.random.seed;
    for (int64_t back = 0; back < kMostDrawsBack; ++back, seed = StepBack(seed)) {
        if (!FirstStarMatches(seed, replay.game.Stars[0])) continue;
        MakeNewGame(w, replay, seed);
        const std::string difference = FirstDifference(replayFields, Fields(w));
        if (difference.empty()) {
            replay.PutBack(w);
            return "";
        }
        const bool sameDraws = w.random.seed == replay.random.seed;
        if (!toldAny || (sameDraws && !toldSameDraws)) told = difference;
        toldAny = true;
        toldSameDraws = toldSameDraws || sameDraws;
    }
    replay.PutBack(w);
    return "its starting state is not a new game's: " + told;
}

NewGameVerdict::NewGameVerdict(const World& w)
    : player_(Cp1250ToUtf8(w.game.Progress.PlayerName.View())),
      difficulty_(w.game.Progress.Difficulty),
      levelReached_(w.game.Progress.Level),
      gamesBegun_(w.front.GamesBegun) {}

void NewGameVerdict::BeforeFrame(const World& w) { overAtFrameStart_ = !w.front.GameActive; }

void NewGameVerdict::AfterFrame(const World& w, int64_t framesRun) {
    if (endedAfter_ >= 0 || anotherGameBegan_ >= 0) return;  // the game this verdict is about is over
    if (w.front.GamesBegun != gamesBegun_) {
        anotherGameBegan_ = framesRun;
        return;
    }
    const ProgressRecord& p = w.game.Progress;
    levelReached_ = std::max(levelReached_, int(p.Level));
    // The menu's difficulty can be changed while a game pauses in the menu,
    // and the levels built after it take it: the game counts at its lowest.
    difficulty_ = std::min(difficulty_, int(p.Difficulty));
    if (p.Score > 0) score_ = p.Score;  // entering the table sets it to 0
    // A lost or won game leaves the scene with no lives; the score page
    // enters its score in the first frame that begins with the game over.
    if (overAtFrameStart_ && p.Lives == 0) endedAfter_ = framesRun;
}

std::string NewGameVerdict::Json(int64_t framesRun) const {
    std::string name;
    for (unsigned char c : player_) {
        char escaped[8];
        if (c == '"' || c == '\\') name += '\\', name += char(c);
        else if (c < 0x20) std::snprintf(escaped, sizeof escaped, "\\u%04x", c), name += escaped;
        else name += char(c);
    }
    return "{\"newGame\":true,\"player\":\"" + name + "\",\"difficulty\":" + std::to_string(difficulty_) +
           ",\"score\":" + std::to_string(score_) + ",\"levelReached\":" + std::to_string(levelReached_) +
           ",\"ended\":" + (endedAfter_ >= 0 ? "true" : "false") +
           ",\"endedAfterFrame\":" + std::to_string(endedAfter_) +
           ",\"anotherGameBeganAfterFrame\":" + std::to_string(anotherGameBegan_) +
           ",\"frames\":" + std::to_string(framesRun) + "}\n";
}
