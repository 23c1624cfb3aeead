// Mouse and key handlers: hovering items and page buttons with the hover
// sound, the clicks of every page (new game, continue, choosing, loading and
// deleting profiles, the help page's language switch, quitting), the help
// page's bound keys, and the keys that skip scenes or switch between game and
// menu.
#include <filesystem>

#include "media/cp1250.h"
#include "menu_helpers.h"
#include "state/media_calls.h"

namespace {

constexpr int kNameX = 150, kNameY = 478;
constexpr int kStartX = 720, kStartY = 554;
constexpr int kLoadX = 700, kLoadY = 424;
constexpr int kDeleteX = 700, kDeleteY = 534;
constexpr int kYesX = 300, kNoX = 480, kAnswerY = 480;
int SlotX(int k) { return k <= 3 ? 170 : 450; }
int SlotY(int k) { return 432 + 48 * ((k - 1) % 3); }

// Page 0 with the name typed and closed by Enter, the pointer on Start.
void EnterName(MenuWorld& m, const char* name) {
    m.OpenItem(0);
    m.ClickAt(kNameX, kNameY);
    for (const char* c = name; *c; ++c) {
        m.Key(uint8_t(*c));
        m.Menu();
    }
    m.Key(13);
    m.Menu();
    m.Move(kStartX, kStartY);
}

}  // namespace

TEST(MenuHover, ItemsLightWithOneSoundPerEntryAndContinueOnlyDuringAGame) {
    MenuWorld m("hover-items");
    FrontEnd& f = m.w.front;
    m.Move(MenuWorld::ItemX(0), 298);
    EXPECT_EQ(f.HoverItem, 0);
    EXPECT_TRUE(m.SoundStarted("Najeti"));
    m.SilenceAll();
    m.Move(MenuWorld::ItemX(0) + 10, 310);
    EXPECT_FALSE(m.SoundStarted("Najeti")) << "moving within the item";
    m.Move(MenuWorld::ItemX(2), 298);
    EXPECT_EQ(f.HoverItem, 2);
    EXPECT_TRUE(m.SoundStarted("Najeti"));
    m.Move(400, 100);
    EXPECT_EQ(f.HoverItem, 10);
    m.SilenceAll();
    m.Move(MenuWorld::ItemX(2), 298);
    EXPECT_TRUE(m.SoundStarted("Najeti")) << "entering again";

    m.SilenceAll();
    m.Move(MenuWorld::ItemX(1), 298);
    EXPECT_EQ(f.HoverItem, 10);
    EXPECT_FALSE(m.AnySoundPlaying()) << "continue is dead before a game";
    f.GameActive = 1;
    m.Move(MenuWorld::ItemX(1), 299);
    EXPECT_EQ(f.HoverItem, 1);

    // The bounds of an item are outside it.
    const int cases[][3] = {{66, 298, 10}, {67, 298, 0}, {137, 298, 0}, {138, 298, 10}, {100, 262, 10}, {100, 333, 0}};
    for (const auto& c : cases) {
        m.Move(c[0], c[1]);
        EXPECT_EQ(f.HoverItem, c[2]) << c[0] << "," << c[1];
    }

    // Outside the menu the pointer is only tracked.
    m.w.shell.CurrentScene = Scene::HlavniHra;
    f.IdleTimer = 0;
    m.Move(MenuWorld::ItemX(4), 298);
    EXPECT_EQ(f.HoverItem, 0);
    EXPECT_EQ(f.MouseX, MenuWorld::ItemX(4));
    EXPECT_EQ(f.IdleTimer, 1500);
}

TEST(MenuHover, PageButtonsLightUnderThePointer) {
    MenuWorld m("hover-buttons");
    FrontEnd& f = m.w.front;
    f.MenuPage = Page::QuitQuestion;
    m.Move(kYesX, kAnswerY);
    EXPECT_EQ(f.HoverButton, 1);
    EXPECT_TRUE(m.SoundStarted("Najeti"));
    m.SilenceAll();
    m.Move(kNoX, kAnswerY);
    EXPECT_EQ(f.HoverButton, 2);
    EXPECT_TRUE(m.SoundStarted("Najeti"));
    m.Move(400, 530);
    EXPECT_EQ(f.HoverButton, 0);

    // Load and delete light only once a profile is chosen.
    f.MenuPage = Page::Load;
    m.Move(kLoadX, kLoadY);
    EXPECT_EQ(f.HoverButton, 0);
    m.w.saved.CurrentProfile = 3;
    m.Move(kLoadX, kLoadY);
    EXPECT_EQ(f.HoverButton, 2);
    m.Move(kDeleteX, kDeleteY);
    EXPECT_EQ(f.HoverButton, 1);

    // Start lights only for a finished, non-empty name.
    f.MenuPage = Page::NewGame;
    f.HoverButton = 0;
    m.Move(kStartX, kStartY);
    EXPECT_EQ(f.HoverButton, 0);
    f.EnteredName.Assign("Eva");
    f.NameEntryActive = 1;
    m.Move(kStartX, kStartY);
    EXPECT_EQ(f.HoverButton, 0);
    f.NameEntryActive = 0;
    m.Move(kStartX, kStartY);
    EXPECT_EQ(f.HoverButton, 1);
}

TEST(MenuClick, NewGamePageSetsDifficultyAndOpensTheNameFieldOrTheFullNotice) {
    MenuWorld m("click-new-game");
    FrontEnd& f = m.w.front;
    m.OpenItem(0);
    EXPECT_EQ(f.MenuPage, Page::NewGame);
    for (int d : {1, 3}) {
        m.SilenceAll();
        m.ClickAt(520, 431 + 39 * (d - 1));
        EXPECT_EQ(m.w.game.Progress.Difficulty, d);
        EXPECT_TRUE(m.SoundStarted("Klik"));
    }
    m.ClickAt(kNameX, kNameY);
    EXPECT_EQ(f.NameEntryActive, 1);

    for (int k = 1; k <= 6; ++k) m.TakeSlot(k, "Hana");
    f.NameEntryActive = 0;
    m.ClickAt(kNameX, kNameY);
    EXPECT_EQ(f.NameEntryActive, 0);
    EXPECT_EQ(f.MenuPage, Page::ProfilesTaken);
    m.ClickAt(390, 505);
    EXPECT_EQ(f.MenuPage, Page::Load) << "Ok leads to the profiles, where one can be deleted";
}

TEST(MenuClick, StartSavesTheProfileBuildsLevelOneAndOpensTheStory) {
    MenuWorld m("click-start");
    FrontEnd& f = m.w.front;
    ProgressRecord& p = m.w.game.Progress;
    m.TakeSlot(1, "Eva");
    m.w.shell.MusicEnabled = 1;
    EnterName(m, "Lilli Jilli Lilijilli");  // 21 narrow letters
    ASSERT_EQ(f.HoverButton, 1);
    m.ClickAt(520, 431);  // difficulty 1 on the way
    m.Move(kStartX, kStartY);
    p.Score = 999;
    m.Click();
    EXPECT_EQ(m.w.shell.CurrentScene, Scene::Uvod);
    EXPECT_EQ(f.GameActive, 1);
    EXPECT_EQ(f.HoverButton, 0);
    EXPECT_EQ(m.w.saved.CurrentProfile, 2);
    EXPECT_EQ(p.PlayerName.View(), "Lilli Jilli Lilijill");
    EXPECT_EQ(p.Score, 0);
    EXPECT_EQ(p.Level, 1);
    EXPECT_EQ(p.Difficulty, 1);
    EXPECT_EQ(p.LevelEnd, 9400) << "level 1 is built";
    EXPECT_EQ(m.w.game.TextScreenLine, 0);
    EXPECT_TRUE(m.SoundStarted("Text"));
    EXPECT_EQ(IsSongPlaying(m.w.media.music, m.w.shell.MusicChannel), 1);

    EXPECT_EQ(m.w.saved.ProfileTable[2].PlayerName.View(), "Lilli Jilli Lilijill");

    // With every slot taken, Start shows the notice instead.
    for (int k = 3; k <= 6; ++k) m.TakeSlot(k, "Hana");
    m.w.shell.CurrentScene = Scene::Menu;
    f.MenuPage = Page::NewGame;
    m.Move(kStartX, kStartY);
    m.Click();
    EXPECT_EQ(f.MenuPage, Page::ProfilesTaken);
    EXPECT_EQ(m.w.shell.CurrentScene, Scene::Menu);
}

TEST(MenuClick, ContinueBeforeAnyGameIsSilentAndDuringAGameResumesIt) {
    MenuWorld m("click-continue");
    FrontEnd& f = m.w.front;
    f.MenuPage = Page::Scores;
    m.OpenItem(1);
    EXPECT_EQ(f.MenuPage, Page::Scores);
    EXPECT_EQ(m.w.shell.CurrentScene, Scene::Menu);
    EXPECT_FALSE(m.AnySoundPlaying());

    f.GameActive = 1;
    m.OpenItem(1);
    EXPECT_EQ(m.w.shell.CurrentScene, Scene::HlavniHra);
    EXPECT_EQ(f.MenuPage, Page::None);
    EXPECT_TRUE(m.SoundStarted("Klik"));
}

TEST(MenuClick, OnlyTakenSlotsAreChosenAndALevelOneProfileIsBuiltOnLoading) {
    MenuWorld m("click-profiles");
    GameState& g = m.w.game;
    m.TakeSlot(5, "Lida");
    m.w.saved.CurrentProfile = 1;
    m.OpenItem(2);
    EXPECT_EQ(m.w.saved.CurrentProfile, 0) << "a click away from the names clears the choice";
    m.SilenceAll();
    m.ClickAt(SlotX(1), SlotY(1));
    EXPECT_EQ(m.w.saved.CurrentProfile, 0) << "a free slot cannot be chosen";
    EXPECT_FALSE(m.AnySoundPlaying());
    m.ClickAt(SlotX(5), SlotY(5));
    EXPECT_EQ(m.w.saved.CurrentProfile, 5);
    EXPECT_TRUE(m.SoundStarted("Klik"));

    // Delete asks first; No keeps the profile and its choice.
    m.ClickAt(kDeleteX, kDeleteY);
    EXPECT_EQ(m.w.front.MenuPage, Page::DeleteQuestion);
    m.ClickAt(kNoX, kAnswerY);
    EXPECT_EQ(m.w.front.MenuPage, Page::Load);
    EXPECT_EQ(m.w.saved.ProfileTable[5].PlayerName.View(), "Lida");
    EXPECT_EQ(m.w.saved.CurrentProfile, 5);
    EXPECT_FALSE(std::filesystem::exists(m.dir + "/profily.lev")) << "nothing is saved";

    g.ArrivalWidth = 72;
    m.ClickAt(kLoadX, kLoadY);
    EXPECT_EQ(m.w.shell.CurrentScene, Scene::HlavniHra);
    EXPECT_EQ(g.Progress.PlayerName.View(), "Lida");
    EXPECT_EQ(g.Progress.LevelEnd, 9400) << "a profile still in level 1 gets its level built";
    EXPECT_EQ(g.ArrivalWidth, 400) << "the ship flies in again";
}

TEST(MenuKeys, EscapeSwitchesGameAndMenuOrAsksToQuit) {
    MenuWorld m("keys-escape");
    FrontEnd& f = m.w.front;
    m.Key(27);
    EXPECT_EQ(f.MenuPage, Page::QuitQuestion);
    m.Key(27);
    EXPECT_EQ(f.MenuPage, Page::QuitQuestion) << "a second Escape keeps the question";
    m.ClickAt(kNoX, kAnswerY);
    EXPECT_EQ(f.MenuPage, Page::None);

    f.GameActive = 1;
    m.Key(27);
    EXPECT_EQ(m.w.shell.CurrentScene, Scene::HlavniHra);
    // Leaving the game silences the beam and the game's song.
    Music& music = m.w.media.music;
    m.w.shell.MusicChannel = LoadSong(music, false, "audio\\song01.mod", 0, 0, 1);
    PlaySong(music, m.w.shell.MusicChannel);
    PlayGameSound(m.w, "PrubehLej");
    ASSERT_TRUE(m.SoundStarted("PrubehLej"));
    ASSERT_EQ(IsSongPlaying(music, m.w.shell.MusicChannel), 1);
    m.Key(27);
    EXPECT_EQ(m.w.shell.CurrentScene, Scene::Menu);
    EXPECT_FALSE(m.SoundStarted("PrubehLej"));
    EXPECT_EQ(IsSongPlaying(music, m.w.shell.MusicChannel), 0);
    EXPECT_EQ(f.TypedKey, 27);
    EXPECT_EQ(f.IdleTimer, 1500);

    // Yes saves the settings and ends the program.
    f.GameActive = 0;
    m.w.shell.SoundEnabled = 0;
    m.w.shell.MusicVolume = 42;
    m.Key(27);
    m.ClickAt(kYesX, kAnswerY);
    EXPECT_TRUE(m.w.shell.quitRequested);
    const auto settings = ReadFileBytes(m.dir + "/nastaveni.lev");
    ASSERT_EQ(settings.size(), kSettingsFileSize);
    EXPECT_EQ(settings[0], 0);
    EXPECT_EQ(settings[2], 42);
}

TEST(MenuKeys, AnyKeySkipsTheIntroAndEndsTheStory) {
    MenuWorld m("keys-skip");
    FrontEnd& f = m.w.front;
    m.w.shell.CurrentScene = Scene::Intro;
    EXPECT_EQ(m.Key('q'), 0) << "the key is consumed";
    EXPECT_EQ(m.w.shell.CurrentScene, Scene::Menu);
    EXPECT_EQ(f.TypedKey, 0);

    m.TakeSlot(2, "Vitek");
    m.w.saved.CurrentProfile = 2;
    f.GameActive = 1;
    m.w.shell.CurrentScene = Scene::Animace;
    EXPECT_EQ(m.Key(27), 0);
    EXPECT_EQ(m.w.shell.CurrentScene, Scene::Menu);
    EXPECT_EQ(f.MenuPage, Page::Scores) << "Escape ends the story like any key, it does not ask to quit";
    EXPECT_EQ(f.GameActive, 0);
    EXPECT_EQ(m.w.game.Progress.Lives, 0);
    EXPECT_EQ(m.w.saved.CurrentProfile, 0);
    EXPECT_TRUE(m.w.saved.ProfileTable[2].PlayerName.Empty());
}

TEST(MenuClick, AFailedSaveEndsTheClickWithAMessageNamingTheFile) {
    MenuWorld m("click-save-fails");
    m.w.shell.options.saveDir = m.dir + "/missing";
    EnterName(m, "Eva");
    testing::internal::CaptureStderr();
    m.Click();
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_NE(errors.find("profily.lev"), std::string::npos) << errors;
    EXPECT_EQ(m.w.shell.CurrentScene, Scene::Menu) << "the game does not start without its profile";
    EXPECT_EQ(m.w.front.GameActive, 0);
}

TEST(MenuKeys, EscapeOverALitStartButtonDoesNotQuitOnTheNextClick) {
    MenuWorld m("keys-escape-stale-button");
    FrontEnd& f = m.w.front;
    // The new-game page with a name, the pointer resting on Start.
    f.MenuPage = Page::NewGame;
    f.EnteredName.Assign("Ivo");
    f.NameEntryActive = 0;
    m.Move(720, 554);
    ASSERT_EQ(f.HoverButton, 1);
    m.Key(27);
    ASSERT_EQ(f.MenuPage, Page::QuitQuestion);
    EXPECT_EQ(f.HoverButton, 0) << "no answer is lit before the pointer is on it";
    m.Click();  // still resting where Start was
    EXPECT_FALSE(m.w.shell.quitRequested);
    EXPECT_EQ(f.MenuPage, Page::QuitQuestion);
}

// The help page writes the keys bound, not the defaults, and its title bar
// switches the language at once: the texts and the pictures with words of
// the other language, the same page still open.
TEST(MenuClick, HelpPageShowsTheBoundKeysAndSwitchesTheLanguage) {
    MenuWorld m("menu-help");
    FrontEnd& f = m.w.front;
    m.OpenItem(4);
    ASSERT_EQ(f.MenuPage, Page::Help);
    m.Menu();
    // The fire row of the left key column (the second row, from y 438).
    auto fireRow = [&] {
        std::vector<uint16_t> row;
        for (int y = 438; y < 455; ++y)
            for (int x = 45; x < 175; ++x) row.push_back(m.w.media.back->pixels[y][x]);
        return row;
    };
    const std::vector<uint16_t> space = fireRow();
    EXPECT_GT(m.CountColour(0xFF00, 45, 438, 175, 455), 20) << "the default key written";
    std::string bad;
    ASSERT_TRUE(ParseKeyList("LeftCtrl", m.w.media.bindings.actions[int(KeyAction::Fire)], bad));
    m.Menu();
    EXPECT_NE(fireRow(), space) << "the bound key replaces the default";
    EXPECT_GT(m.CountColour(0xFF00, 45, 438, 175, 455), 20);

    const PictureCollection czech = m.w.media.MenuObr;
    m.SilenceAll();
    m.ClickAt(724, 374);  // ENGLISH
    EXPECT_TRUE(m.SoundStarted("Klik"));
    EXPECT_EQ(m.w.shell.language, Language::English);
    EXPECT_EQ(f.MenuPage, Page::Help);
    EXPECT_EQ(Cp1250ToUtf8(f.Texty[10]), "Commander here. Welcome, pilot.");
    EXPECT_EQ(f.words.items[5].lines[0].text, "QUIT");
    m.Move(400, 500);  // off the lit button
    m.Menu();
    EXPECT_TRUE(m.Shows(m.w.media.MenuObr, "Helpik", 25, 357, 0, 0.99));
    EXPECT_FALSE(m.Shows(czech, "Helpik", 25, 357, 0, 0.9)) << "the English page, not the Czech one";

    m.ClickAt(638, 374);  // ČEŠTINA
    EXPECT_EQ(m.w.shell.language, Language::Czech);
    EXPECT_EQ(Cp1250ToUtf8(f.Texty[10]), "Tady velitel. Vítej v sedle, pilote zálohy.");
    m.Move(400, 500);
    m.Menu();
    EXPECT_TRUE(m.Shows(czech, "Helpik", 25, 357, 0, 0.99));
}
