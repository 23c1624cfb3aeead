// Mouse and character input between frames: which item or page button is
// under the pointer (with its hover sound), what a click does on each page
// (new game and its profile, continue, select, load and delete a profile,
// the language, a kept replay on the score page, quit), typed characters for
// the name field, Escape, and keys that skip the intro, complete or leave the story text and end the story animation.
// These handlers change the scene at once instead of asking the frame for
// it: several events may come between two frames, and each must find the
// scene the one before it left (a key that skips the intro, then a mouse
// move that lights a menu item).
#include "frontend/menu_input.h"

#include <exception>
#include <iostream>
#include <span>
#include <string>

#include "frontend/language.h"
#include "frontend/menu_layout.h"
#include "frontend/story.h"
#include "game/finish_line.h"
#include "game/level_build.h"
#include "game/reset.h"
#include "state/media_calls.h"
#include "state/saved_files.h"
#include "state/world.h"

namespace {

constexpr int32_t kIdleFrames = 1500;
constexpr uint8_t kNoItem = 10;
constexpr uint8_t kEnter = 13, kEscape = 27;
constexpr int kLastStoryLine = 8;

bool InMenu(const Shell& s) { return s.CurrentScene == Scene::Menu; }

// Lowest free profile slot, 0 when all six are taken.
int FirstFreeSlot(const SavedFiles& saved) {
    for (int k = 1; k <= 6; ++k)
        if (saved.ProfileTable[k].PlayerName.Empty()) return k;
    return 0;
}

// A page button lights up under the pointer; the hover sound plays when the
// pointer comes onto it from no button.
void HoverOnto(World& w, uint8_t button) {
    if (w.front.HoverButton == 0) PlayGameSound(w, "Najeti");
    w.front.HoverButton = button;
}

void HoverItems(World& w, int x, int y) {
    FrontEnd& f = w.front;
    f.HoverItem = kNoItem;
    for (int i = 0; i < 6; ++i) {
        if (!ItemArea(i).Holds(x, y)) continue;
        f.HoverItem = (i == 1 && !f.GameActive) ? kNoItem : uint8_t(i);
        if (f.HoverItem != kNoItem && f.HoverItem != f.LastHoverItem) {
            PlayGameSound(w, "Najeti");
            f.LastHoverItem = f.HoverItem;
        }
    }
    if (f.HoverItem == kNoItem) f.LastHoverItem = -1;
}

// Pages with two buttons (Nacti and Vymaz, Ano and Ne): each lights while
// the pointer is on it and goes dark when the pointer leaves it, tested in
// the page table's order.
void HoverEachButton(World& w, int x, int y, std::span<const MenuButton> buttons, bool enabled) {
    for (const MenuButton& button : buttons) {
        if (enabled && button.area.Holds(x, y)) HoverOnto(w, button.number);
        else if (w.front.HoverButton == button.number) w.front.HoverButton = 0;
    }
}

// Pages with one button (Start, Ok): the pointer anywhere off it leaves no
// button lit.
void HoverOneButton(World& w, int x, int y, std::span<const MenuButton> buttons) {
    for (const MenuButton& button : buttons) {
        if (!button.area.Holds(x, y)) continue;
        HoverOnto(w, button.number);
        return;
    }
    w.front.HoverButton = 0;
}

// Start: the first free slot takes the new game's profile, level 1 is built
// and the story text begins with its typing sound and the first song.
void StartNewGame(World& w) {
    FrontEnd& f = w.front;
    PlayGameSound(w, "Klik");
    const int slot = FirstFreeSlot(w.saved);
    if (slot == 0) {
        f.MenuPage = Page::ProfilesTaken;
    } else {
        ProgressRecord& p = w.game.Progress;
        w.saved.CurrentProfile = slot;
        ResetGameState(w);
        p.PlayerName.Assign(f.EnteredName.View());  // the first 20 characters
        p.Level = 1;
        p.BlackBoxCount = 0;
        w.saved.ProfileTable[slot] = p;
        SaveProfiles(w);
        p.Level = 1;
        BuildLevel(w);
        // A game lost or left just after a finish line must not keep the new
        // game's first finish line from saving.
        w.game.FinishPassed = 0;
        w.shell.CurrentScene = Scene::Uvod;
        f.GameActive = 1;
        ++f.GamesBegun;
        PlayGameSound(w, "Text");
        Music& music = w.media.music;
        StopSong(music, w.shell.MusicChannel);
        w.shell.MusicChannel = LoadSong(music, false, "audio\\song01.mod", 0, 0, kMusicRamp);
        if (w.shell.MusicEnabled) PlaySong(music, w.shell.MusicChannel);
    }
    f.HoverButton = 0;
}

void NewGameClick(World& w, int x, int y) {
    FrontEnd& f = w.front;
    for (int d = 1; d <= 3; ++d) {
        if (!DifficultyArea(d).Holds(x, y)) continue;
        w.game.Progress.Difficulty = uint8_t(d);
        PlayGameSound(w, "Klik");
    }
    if (kNameField.Holds(x, y)) {
        PlayGameSound(w, "Klik");
        if (FirstFreeSlot(w.saved) != 0) {
            f.NameEntryActive = 1;
        } else {
            f.NameEntryActive = 0;
            f.MenuPage = Page::ProfilesTaken;
        }
    }
    if (f.HoverButton == kStartButton) StartNewGame(w);
}

// The saved game resumes where its profile was written: at the finish line
// of its last level, whose objects are rebuilt only for a profile that
// never got past level 1's finish. FinishPassed is left as it stands (it
// changes only with the level): a game resumed at its finish line after a
// fresh start shows the flags' lights and saves the slot again.
void LoadProfile(World& w) {
    const int32_t slot = w.saved.CurrentProfile;
    if (slot < 1 || slot > 6) return;  // no profile chosen: nothing to load
    StopSong(w.media.music, w.shell.MusicChannel);
    ResetGameState(w);
    w.shell.CurrentScene = Scene::HlavniHra;
    w.front.GameActive = 1;
    ProgressRecord& p = w.game.Progress;
    p = ResumableProgress(w.saved.ProfileTable[slot]);
    // No game is saved in level 9 (its battle is set up only by building the
    // level) nor past its level's end (the level would never end): such a
    // slot comes from a damaged file and starts its level afresh.
    const int32_t end = LevelEndDistance(p.Level);
    if (p.Level == 9 || p.ScrollDistance >= end) {
        std::cerr << "Kavrix: profile slot " << slot << " holds level " << p.Level << " at scroll distance "
                  << p.ScrollDistance << ", where no game is saved; the level starts afresh\n";
        p.ScrollDistance = 600;
        BuildLevel(w);
    } else if (p.Level == 1 && p.BlackBoxCount == 0) {
        BuildLevel(w);
    }
    // The level is not built again, but its scenery must be in place: the
    // game may have been left in another level (the city after the mother
    // ship, or the other way round).
    EnsureLevelScenery(w, p.Level);
    ++w.front.GamesBegun;
    PlayGameSound(w, "Klik");
}

void ProfileClick(World& w, int x, int y) {
    FrontEnd& f = w.front;
    if (f.HoverButton == 0) {
        // Choosing a profile; a click away from every name clears the choice.
        w.saved.CurrentProfile = 0;
        for (int k = 1; k <= 6; ++k) {
            if (!SlotArea(k).Holds(x, y) || w.saved.ProfileTable[k].PlayerName.Empty()) continue;
            w.saved.CurrentProfile = k;
            PlayGameSound(w, "Klik");
        }
    } else if (f.HoverButton == kDeleteButton) {
        f.MenuPage = Page::DeleteQuestion;
        PlayGameSound(w, "Klik");
    } else if (f.HoverButton == kLoadButton) {
        LoadProfile(w);
    }
    f.HoverButton = 0;
}

// The help page's language switch: the language clicked, its texts and
// pictures loaded at once (the next frame draws in it). Files that cannot be
// loaded leave the language as it was, reported as an event's error.
void LanguageClick(World& w, int x, int y) {
    for (const MenuButton& button : kHelpButtons) {
        if (!button.area.Holds(x, y)) continue;
        PlayGameSound(w, "Klik");
        const Language language = button.number == kCzechButton ? Language::Czech : Language::English;
        if (language != w.shell.language) UseLanguage(w, language);
    }
}

// A click on a score entry with a kept replay asks for it to be played
// (the shell watches it between frames); only while the table is shown.
void ScoreClick(World& w, int x, int y) {
    if (w.front.IdleTimer <= 0) return;
    for (int rank = 1; rank <= 10; ++rank)
        if (w.saved.ScoreReplays[rank].size > 0 && ScoreRowArea(rank).Holds(x, y)) w.front.WatchRequest = uint8_t(rank);
}

// Quitting always works: a step that fails on the way (the settings cannot
// be saved, say) is reported on stderr and, in the windowed game, in a
// message box, and the game ends all the same.
void QuitStep(World& w, void (*step)(World&)) {
    try {
        step(w);
    } catch (const std::exception& error) {
        std::cerr << "Kavrix: " << error.what() << "\n";
        Platform* platform = w.media.platform;
        if (platform && !platform->IsHeadless())
            platform->ShowError("Kavrix", std::string(error.what()) + "\n\n" + w.front.words.messages.endsAllTheSame);
    }
}

void QuitClick(World& w) {
    FrontEnd& f = w.front;
    if (f.HoverButton == kYesButton) {
        QuitStep(w, [](World& world) { PlayGameSound(world, "Klik"); });
        QuitStep(w, SaveSettings);
        StopSong(w.media.music, w.shell.MusicChannel);
        if (w.media.platform) w.media.platform->Minimise();
        w.shell.quitRequested = true;
    } else if (f.HoverButton == kNoButton) {
        f.MenuPage = Page::None;
        PlayGameSound(w, "Klik");
    }
    f.HoverButton = 0;
}

void DeleteClick(World& w) {
    FrontEnd& f = w.front;
    if (f.HoverButton == kYesButton) {
        PlayGameSound(w, "Klik");
        ClearProfileSlot(w);
        f.MenuPage = Page::Load;
    } else if (f.HoverButton == kNoButton) {
        f.MenuPage = Page::Load;
        PlayGameSound(w, "Klik");
    }
    f.HoverButton = 0;
}

// The story text: the first key shows it whole, a key once its last line
// is under way starts the game (Enter also starts the commander at once).
void TextScreenKey(World& w, uint8_t& key) {
    GameState& g = w.game;
    StopGameSound(w, "Text");
    if (g.TextScreenLine == kLastStoryLine) {
        w.shell.CurrentScene = Scene::HlavniHra;
        g.CommanderTimer = key == kEnter ? 1 : 0;
    }
    if (g.TextScreenLine < kLastStoryLine) {
        g.TextScreenLine = kLastStoryLine;
        const auto& texty = w.front.Texty;
        g.CommanderTextPos = texty.size() > size_t(kLastStoryLine) ? int32_t(texty[kLastStoryLine].size()) : 0;
    }
    w.front.TypedKey = 0;
    key = 0;
}

// An error inside a handler (a failed save, a missing sound) ends that
// event only, as an error inside a frame ends the frame; each message is
// reported once.
template <class Handler>
void GuardEvent(World& w, Handler handler) {
    try {
        handler();
    } catch (const std::exception& error) {
        const std::string message = error.what();
        if (w.shell.reportedErrors.insert(message).second)
            std::cerr << "Kavrix: error in an event: " << message << "\n";
    }
}

void MouseMove(World& w, int x, int y) {
    FrontEnd& f = w.front;
    f.MouseX = x;
    f.MouseY = y;
    f.IdleTimer = kIdleFrames;
    if (!InMenu(w.shell)) return;

    HoverItems(w, x, y);
    if (f.MenuPage == Page::NewGame && !f.NameEntryActive && f.EnteredName.size > 0)
        HoverOneButton(w, x, y, kNewGameButtons);
    if (kLogoHotspot.Holds(x, y)) {
        if (f.LogoHoverState != 2) f.LogoHoverState = 1;
    } else if (f.LogoHoverState == 2) {
        f.LogoHoverState = 3;
    }
    if (f.MenuPage == Page::Load) HoverEachButton(w, x, y, kLoadButtons, w.saved.CurrentProfile > 0);
    if (f.MenuPage == Page::Help) HoverEachButton(w, x, y, kHelpButtons, true);
    if (f.MenuPage == Page::QuitQuestion || f.MenuPage == Page::DeleteQuestion)
        HoverEachButton(w, x, y, PageButtons(f.MenuPage), true);
    if (f.MenuPage == Page::ProfilesTaken) HoverOneButton(w, x, y, kProfilesTakenButtons);
}

void Click(World& w) {
    if (!InMenu(w.shell)) return;
    FrontEnd& f = w.front;
    const int x = f.MouseX, y = f.MouseY;
    for (int i = 0; i < 6; ++i) {
        if (!ItemArea(i).Holds(x, y)) continue;
        // Continue before any game: the click is not heard at all.
        if (i == 1 && !f.GameActive) return;
        f.MenuPage = Page(i);  // the items open the pages of their numbers
        if (i == 0) f.TypedKey = 0;
        PlayGameSound(w, "Klik");
    }
    // Each page is tested as it stands after the steps before it.
    if (f.MenuPage == Page::NewGame) NewGameClick(w, x, y);
    if (f.MenuPage == Page::Continue && f.GameActive) {
        w.shell.CurrentScene = Scene::HlavniHra;
        StopSong(w.media.music, w.shell.MusicChannel);  // the game starts a song of its own
        f.MenuPage = Page::None;
    }
    if (f.MenuPage == Page::Load) ProfileClick(w, x, y);
    if (f.MenuPage == Page::Help) LanguageClick(w, x, y);
    if (f.MenuPage == Page::Scores) ScoreClick(w, x, y);
    if (f.MenuPage == Page::QuitQuestion) QuitClick(w);
    if (f.MenuPage == Page::ProfilesTaken) {
        if (f.HoverButton == kOkButton) {
            f.MenuPage = Page::Load;
            PlayGameSound(w, "Klik");
        }
        f.HoverButton = 0;
    }
    if (f.MenuPage == Page::DeleteQuestion) DeleteClick(w);
}

void KeyPress(World& w, uint8_t& key) {
    FrontEnd& f = w.front;
    Shell& s = w.shell;
    f.IdleTimer = kIdleFrames;
    f.TypedKey = key;
    if (s.CurrentScene == Scene::Intro) {
        f.TypedKey = 0;
        key = 0;
        s.CurrentScene = Scene::Menu;
    }
    if (s.CurrentScene == Scene::Uvod) TextScreenKey(w, key);
    if (s.CurrentScene == Scene::Animace) {
        f.TypedKey = 0;
        key = 0;
        EndStory(w);
    }
    if (key != kEscape) return;
    if (s.CurrentScene == Scene::HlavniHra && f.GameActive) {
        s.CurrentScene = Scene::Menu;
        StopSong(w.media.music, s.MusicChannel);
        StopGameSound(w, "PrubehLej");
    } else if (s.CurrentScene == Scene::Menu && f.GameActive) {
        s.CurrentScene = Scene::HlavniHra;
        StopSong(w.media.music, s.MusicChannel);
    } else {
        // The button remembered from the page before (say Start under a
        // resting pointer) must not stand for "Ano": a click without a move
        // would quit the game.
        f.MenuPage = Page::QuitQuestion;
        f.HoverButton = 0;
    }
}

}  // namespace

void OnMouseMove(World& w, int x, int y) {
    GuardEvent(w, [&] { MouseMove(w, x, y); });
}

void OnClick(World& w) {
    GuardEvent(w, [&] { Click(w); });
}

void OnKey(World& w, uint8_t& key) {
    GuardEvent(w, [&] { KeyPress(w, key); });
}
