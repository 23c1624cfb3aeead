// The menu routine: the monitor's cycle of pictures and noise and the logo
// hotspot, the terminal typing and scrolling, the pulsing frame, an idle page
// falling back to the terminal, the name field, the score entry and the
// pictures and texts of the pages.
#include <algorithm>
#include <filesystem>
#include <set>
#include <string>

#include "media/canvas.h"
#include "menu_helpers.h"

namespace {

constexpr int kMonitorLeft = 40, kMonitorTop = 40, kMonitorRight = 760, kMonitorBottom = 230;

// Frames the monitor stays in its present mode (stops after limit).
int FramesInMode(MenuWorld& m, int limit) {
    const int32_t mode = m.w.front.MonitorMode;
    int frames = 0;
    while (m.w.front.MonitorMode == mode && frames < limit) {
        m.Menu();
        ++frames;
    }
    return frames;
}

}  // namespace

TEST(MenuMonitor, PicturesHold600To700FramesWithSixFramesOfNoiseBetween) {
    MenuWorld m("menu-monitor");
    FrontEnd& f = m.w.front;
    ASSERT_EQ(f.MonitorMode, 1);
    const int title = FramesInMode(m, 800);
    EXPECT_GE(title, 601);
    EXPECT_LE(title, 701);
    ASSERT_EQ(f.MonitorMode, -1);
    m.Menu();
    // Static noise fills the monitor with three greys.
    const int greys = m.CountColour(0x888888, kMonitorLeft, kMonitorTop, kMonitorRight, kMonitorBottom) +
                      m.CountColour(0x6C6C6C, kMonitorLeft, kMonitorTop, kMonitorRight, kMonitorBottom) +
                      m.CountColour(0x4C4C4C, kMonitorLeft, kMonitorTop, kMonitorRight, kMonitorBottom);
    EXPECT_EQ(greys, (kMonitorRight - kMonitorLeft) * (kMonitorBottom - kMonitorTop));
    EXPECT_EQ(1 + FramesInMode(m, 20), 6);
    ASSERT_EQ(f.MonitorMode, 2) << "the title is followed by the ship";

    // The ship stays inside the monitor and turns now and then.
    int turns = 0;
    int32_t direction = f.MonitorShipSpeed;
    while (f.MonitorMode == 2) {
        m.Menu();
        EXPECT_GE(f.MonitorShipX, 66);
        EXPECT_LE(f.MonitorShipX, 722);
        if ((f.MonitorShipSpeed < 0) != (direction < 0)) ++turns;
        direction = f.MonitorShipSpeed;
    }
    EXPECT_GT(turns, 0);
    EXPECT_EQ(f.MonitorMode, -2);
    FramesInMode(m, 20);
    EXPECT_EQ(f.MonitorMode, 1) << "the ship is followed by the title";
}

TEST(MenuMonitor, StarsFallThroughTheWindowAndTheMeteorDriftsDownToTheRight) {
    MenuWorld m("menu-stars");
    FrontEnd& f = m.w.front;
    Star* stars = m.w.game.Stars;
    f.MonitorMode = 2;
    f.MonitorTimer = -100000;  // the ship and meteor stay on the monitor
    const Star untouched = stars[50];
    Star before[50];
    for (int frame = 0; frame < 400; ++frame) {
        std::copy(stars, stars + 50, before);
        const int32_t meteorX = f.MeteorX, meteorY = f.MeteorY;
        m.Menu();
        for (int i = 0; i < 50; ++i) {
            const Star& s = stars[i];
            const int fallen = before[i].Y + before[i].Speed;
            if (fallen <= 216) {
                EXPECT_EQ(s.Y, fallen) << "star " << i;
                EXPECT_EQ(s.X, before[i].X);
                EXPECT_EQ(s.Speed, before[i].Speed);
            } else {
                // Below the window it starts again at the top, anywhere across.
                EXPECT_EQ(s.Y, 25) << "star " << i;
                EXPECT_GE(s.X, 25);
                EXPECT_LE(s.X, 772);
                EXPECT_GE(s.Speed, 1);
                EXPECT_LE(s.Speed, 3);
            }
        }
        if (meteorY < 236) {
            EXPECT_EQ(f.MeteorX, meteorX + 1);
            EXPECT_EQ(f.MeteorY, meteorY + 1);
        } else {
            EXPECT_EQ(f.MeteorY, -350);
            EXPECT_GE(f.MeteorX, -400);
            EXPECT_LT(f.MeteorX, 100);
        }
    }
    EXPECT_EQ(stars[50].Y, untouched.Y) << "only the first 50 stars fly on the monitor";
    EXPECT_EQ(stars[50].X, untouched.X);
}

TEST(MenuMonitor, LogoShowsWhileTheMouseRestsOnTheHotspot) {
    MenuWorld m("menu-logo");
    FrontEnd& f = m.w.front;
    m.Move(734, 587);
    m.Menu();
    EXPECT_EQ(f.LogoHoverState, 2);
    EXPECT_EQ(f.MonitorMode, -3);
    m.Menu(6);
    ASSERT_EQ(f.MonitorMode, 3);
    m.Menu(900);
    EXPECT_EQ(f.MonitorMode, 3) << "the logo stays as long as the mouse";
    EXPECT_TRUE(m.Shows(m.w.media.MenuObr, "Quorbant", 187, 44));

    m.Move(400, 450);
    EXPECT_EQ(f.LogoHoverState, 3);
    m.Menu();
    EXPECT_EQ(f.LogoHoverState, 0);
    EXPECT_LT(f.MonitorMode, 0);
    m.Menu(6);
    EXPECT_TRUE(f.MonitorMode == 1 || f.MonitorMode == 2);
}

TEST(MenuTerminal, TypesRandomLinesAndScrollsOnceTwelveAreShown) {
    MenuWorld m("menu-terminal");
    FrontEnd& f = m.w.front;
    const auto& prikazy = f.Prikazy;
    ASSERT_EQ(prikazy.size(), 68u);
    m.Menu();
    EXPECT_EQ(f.TerminalLines[1].View(), prikazy[0]) << "the terminal greets first";
    const std::set<std::string> operations(prikazy.begin() + 1, prikazy.end());

    int lastCount = 1, framesSinceChar = 1;
    std::string before[13];
    bool scrolled = false;
    for (int frame = 0; frame < 6000 && !scrolled; ++frame) {
        for (int k = 1; k <= 12; ++k) before[k] = std::string(f.TerminalLines[k].View());
        const int typed = f.TerminalTypedChars;
        m.Menu();
        ++framesSinceChar;
        if (f.TerminalTypedChars == typed + 1) {
            EXPECT_GE(framesSinceChar, 2) << "one character every second frame";
            framesSinceChar = 0;
        }
        if (f.TerminalLineCount > lastCount) {
            EXPECT_EQ(f.TerminalLineCount, lastCount + 1);
            EXPECT_EQ(f.TerminalTypedChars, 1);
            EXPECT_TRUE(operations.count(std::string(f.TerminalLines[f.TerminalLineCount].View())));
            lastCount = f.TerminalLineCount;
        } else if (lastCount == 12 && f.TerminalTypedChars == 1 && typed > 1) {
            scrolled = true;
            for (int k = 1; k <= 11; ++k) EXPECT_EQ(f.TerminalLines[k].View(), before[k + 1]);
            EXPECT_TRUE(operations.count(std::string(f.TerminalLines[12].View())));
        }
    }
    EXPECT_TRUE(scrolled);
    EXPECT_EQ(f.TerminalLineCount, 12);
}

TEST(MenuPage, IdlePageGivesWayToTheTerminalAndComesBack) {
    MenuWorld m("menu-idle");
    FrontEnd& f = m.w.front;
    f.MenuPage = Page::Help;
    f.IdleTimer = 1500;
    m.Menu(3);
    // The bound keys are written into the page's columns, over a few of its
    // faintest pixels.
    EXPECT_TRUE(m.Shows(m.w.media.MenuObr, "Helpik", 25, 357, 0, 0.99));
    const int typed = f.TerminalTypedChars, lines = f.TerminalLineCount;
    m.Menu(10);
    EXPECT_EQ(f.TerminalTypedChars, typed) << "the terminal waits while a page is open";
    EXPECT_EQ(f.TerminalLineCount, lines);

    // The frame counts the idle timer down; at 0 the page disappears.
    m.w.shell.CurrentScene = Scene::Menu;
    f.IdleTimer = 2;
    m.Frames(3);
    EXPECT_EQ(f.IdleTimer, 0);
    EXPECT_FALSE(m.Shows(m.w.media.MenuObr, "Helpik", 25, 357, 0, 0.5));
    EXPECT_EQ(f.TerminalLineCount, 1);
    EXPECT_GT(m.CountColour(0xFF00, 25, 357, 775, 575), 0) << "the terminal's newest letter";
    m.Move(500, 500);
    m.Frames(1);
    EXPECT_TRUE(m.Shows(m.w.media.MenuObr, "Helpik", 25, 357, 0, 0.95)) << "under the pointer";
}

TEST(MenuPage, OpenItemFramePulsesFromBrightGreenToBlack) {
    MenuWorld m("menu-pulse");
    FrontEnd& f = m.w.front;
    f.MenuPage = Page::Scores;
    f.IdleTimer = 1500;
    std::set<int> seen;
    int previous = f.SelectionPulse;
    for (int frame = 0; frame < 5 * 50; ++frame) {
        const int pulse = f.SelectionPulse;
        m.Menu();
        const uint16_t outline = m.w.media.back->pixels[300][66 + 119 * 3];
        if (pulse == 0) {
            EXPECT_EQ(outline, ColorTo565(0xFF00));
        } else if (pulse == 11 || pulse == -11) {
            EXPECT_EQ(outline, 0);
        }
        if (f.SelectionPulse != previous) {
            EXPECT_TRUE(f.SelectionPulse == previous + 1 || (previous == 11 && f.SelectionPulse == -11));
            previous = f.SelectionPulse;
        }
        seen.insert(f.SelectionPulse);
    }
    EXPECT_EQ(seen.size(), 23u) << "every step from -11 to 11";
}

TEST(MenuNameField, TakesTypedLettersUpToTheFieldWidth) {
    MenuWorld m("menu-name");
    FrontEnd& f = m.w.front;
    m.OpenItem(0);
    m.Key('J');
    m.Menu(2);
    EXPECT_EQ(f.EnteredName.View(), "") << "the field is still closed";
    m.ClickAt(150, 478);
    ASSERT_EQ(f.NameEntryActive, 1);
    m.Menu();
    EXPECT_EQ(f.EnteredName.View(), "J") << "a letter typed before opening is taken";
    for (uint8_t key : {uint8_t(0xE1), uint8_t('n'), uint8_t('x'), uint8_t(8), uint8_t('a')}) {
        m.Key(key);
        m.Menu();
    }
    EXPECT_EQ(f.EnteredName.View(), "J\xE1na");
    m.Key(13);
    m.Menu();
    EXPECT_EQ(f.NameEntryActive, 0);
    m.Key('x');
    m.Menu();
    EXPECT_EQ(f.EnteredName.View(), "J\xE1na");

    // The width before each letter decides: wide letters fill the field sooner.
    auto fill = [&](uint8_t letter) {
        f.EnteredName.Assign("");
        f.NameEntryActive = 1;
        for (int i = 0; i < 80; ++i) {
            m.Key(letter);
            m.Menu();
        }
        return f.EnteredName.size;
    };
    const int wide = fill('W'), narrow = fill('i');
    EXPECT_GT(narrow, wide);
    Canvas& canvas = m.w.media.canvas;
    canvas.Font = CanvasFont{"Arial", 25, true, 0x8000};
    EXPECT_LT(TextWidth(canvas, f.EnteredName.View().substr(0, size_t(narrow - 1))), 230);
    EXPECT_GE(TextWidth(canvas, f.EnteredName.View()), 230);
    // Codes without a letter have no width; the name still stays bounded.
    const int blank = fill(0x81);
    EXPECT_GT(blank, 0);
    EXPECT_LE(blank, int(sizeof f.EnteredName.data));
}

TEST(MenuScores, NothingIsSavedForNoScoreAndANewEntryIsBright) {
    MenuWorld m("menu-scores");
    FrontEnd& f = m.w.front;
    ProgressRecord& p = m.w.game.Progress;
    f.MenuPage = Page::Scores;
    f.IdleTimer = 1500;
    p.Lives = 0;
    p.Score = 0;
    m.Menu();
    EXPECT_FALSE(std::filesystem::exists(m.dir + "/skore.lev")) << "a score of 0 saves nothing";

    p.Score = 27500;
    p.PlayerName.Assign("\x8Eofie");
    m.Menu(2);
    EXPECT_EQ(m.w.saved.ScoreTable.Names[6].View(), "\x8Eofie");
    EXPECT_EQ(f.NewScoreRank, 6);
    // Rank 6 heads the right column in bright green, the rest stays green.
    EXPECT_GT(m.CountColour(0xFF00, 476, 425, 780, 447), 0);
    EXPECT_EQ(m.CountColour(0xFF00, 151, 425, 460, 447), 0);
    EXPECT_GT(m.CountColour(0x8000, 151, 425, 460, 447), 0);
}

TEST(MenuPage, PagesShowTheirPicturesButtonsAndNames) {
    MenuWorld m("menu-pages");
    FrontEnd& f = m.w.front;
    const PictureCollection& menu = m.w.media.MenuObr;
    f.IdleTimer = 1500;
    const struct {
        Page page;
        const char* picture;
    } pages[] = {{Page::NewGame, "Novahra"},       {Page::Load, "Profil"},        {Page::Scores, "Skore"},
                 {Page::Help, "Helpik"},           {Page::QuitQuestion, "Konec"}, {Page::ProfilesTaken, "Obsazeno"},
                 {Page::DeleteQuestion, "Vymazat"}};
    for (const auto& page : pages) {
        f.MenuPage = page.page;
        m.Menu();
        EXPECT_TRUE(m.Shows(menu, page.picture, 25, 357, 0, 0.8)) << page.picture;
    }

    // Each page lights its buttons at their own places; the two questions
    // place theirs one pixel apart.
    const struct {
        Page page;
        int button;
        const char* picture;
        int x, y;
    } buttons[] = {{Page::Load, 1, "Vymaz", 663, 520},       {Page::Load, 2, "Nacti", 663, 410},
                   {Page::QuitQuestion, 1, "Ano", 276, 469}, {Page::QuitQuestion, 2, "Ne", 453, 469},
                   {Page::ProfilesTaken, 1, "Ok", 363, 492}, {Page::DeleteQuestion, 1, "Ano", 277, 470},
                   {Page::DeleteQuestion, 2, "Ne", 454, 470}};
    for (const auto& b : buttons) {
        f.MenuPage = b.page;
        f.HoverButton = 0;
        m.Menu();
        EXPECT_FALSE(m.Shows(menu, b.picture, b.x, b.y)) << b.picture << " unlit on page " << int(b.page);
        f.HoverButton = uint8_t(b.button);
        m.Menu();
        EXPECT_TRUE(m.Shows(menu, b.picture, b.x, b.y)) << b.picture << " on page " << int(b.page);
    }

    f.MenuPage = Page::NewGame;
    m.w.game.Progress.Difficulty = 3;
    m.Menu();
    EXPECT_TRUE(m.Shows(menu, "Krizek", 423, 493));
    EXPECT_FALSE(m.Shows(menu, "Start", 676, 540));
    f.HoverButton = 1;
    m.Menu();
    EXPECT_TRUE(m.Shows(menu, "Start", 676, 540));

    // Profile names centred in their column; the chosen slot is bright.
    f.MenuPage = Page::Load;
    f.HoverButton = 2;
    m.TakeSlot(2, "Ota");
    m.TakeSlot(5, "Bohumila");
    m.w.saved.CurrentProfile = 5;
    m.Menu();
    EXPECT_TRUE(m.Shows(menu, "Nacti", 663, 410));
    auto centre = [&](uint32_t colour, int top, int from, int to) {
        int left = 800, right = -1;
        for (int y = top; y < top + 25; ++y)
            for (int x = from; x < to; ++x)
                if (m.w.media.back->pixels[y][x] == ColorTo565(colour)) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
        return (left + right) / 2;
    };
    EXPECT_NEAR(centre(0xFF00, 420 + 48, 337, 566), 451, 3);
    EXPECT_NEAR(centre(0x8000, 420 + 48, 60, 290), 174, 3);

    // The hovered item's caption on its dark plate.
    f.HoverItem = 1;
    m.Menu();
    EXPECT_GT(m.CountColour(0xFF00, 72 + 119, 267, 133 + 119, 327), 0);
    EXPECT_GT(m.CountColour(0, 72 + 119, 267, 133 + 119, 327), 2000);
}

TEST(MenuTerminal, TheLineBeingTypedIsSpacedLikeAFinishedLine) {
    MenuWorld m("menu-terminal-spacing");
    FrontEnd& f = m.w.front;
    const std::string line = "SCAN SPACE 567.012.009 AD45";
    f.TerminalLineCount = 2;
    f.TerminalLines[1].Assign("READY");
    f.TerminalLines[2].Assign(line);
    f.TerminalTypedChars = uint8_t(line.size());  // fully typed: all in the normal green
    f.BlinkCounter = 10;                          // cursor off
    f.TerminalTick = 0;
    f.MenuPage = Page::None;
    m.Menu();

    // The same line written whole, as the lines above it are.
    auto whole = std::make_unique<Surface>();
    Canvas canvas;
    canvas.surface = whole.get();
    SurfaceCanvas(canvas);
    canvas.Font = CanvasFont{"system", 25, true, 0x8000};
    canvas.BrushColor = 0;
    TextOut(canvas, 32, 379, line);
    const int width = TextWidth(canvas, line);
    ReleaseCanvas(canvas);
    int differing = 0;
    for (int y = 379; y < 379 + 16; ++y)
        for (int x = 32; x < 32 + width; ++x) differing += m.w.media.back->pixels[y][x] != whole->pixels[y][x];
    EXPECT_EQ(differing, 0);
}

TEST(MenuPage, CursorsBlinkBehindTheNameAndTheTerminalLine) {
    MenuWorld m("menu-cursors");
    FrontEnd& f = m.w.front;
    Canvas& canvas = m.w.media.canvas;
    auto width = [&](const CanvasFont& font, std::string_view text) {
        canvas.Font = font;
        int total = 0;
        for (char c : text) total += TextWidth(canvas, std::string_view(&c, 1));
        return total;
    };

    // The name field: a 13 x 23 block after the name while the field is open.
    f.MenuPage = Page::NewGame;
    f.IdleTimer = 1500;
    f.EnteredName.Assign("Eva");
    canvas.Font = CanvasFont{"Arial", 25, true, 0x8000};
    const int w = TextWidth(canvas, "Eva");
    const int block = 13 * 23;
    f.NameEntryActive = 1;
    f.BlinkCounter = 0;
    m.Menu();
    EXPECT_EQ(m.CountColour(0x8000, w + 51, 466, w + 64, 489), block);
    f.BlinkCounter = 10;
    m.Menu();
    EXPECT_LT(m.CountColour(0x8000, w + 51, 466, w + 64, 489), block) << "off for the second half of the blink";
    f.NameEntryActive = 0;
    f.BlinkCounter = 0;
    m.Menu();
    EXPECT_LT(m.CountColour(0x8000, w + 51, 466, w + 64, 489), block) << "a closed field has no cursor";

    // The terminal: a 13 x 17 block where the typed part of the last line ends.
    f.MenuPage = Page::None;
    f.TerminalLineCount = 2;
    f.TerminalLines[1].Assign("READY");
    f.TerminalLines[2].Assign("OPEN SUBJECT");
    f.TerminalTypedChars = 6;
    f.TerminalTick = 0;
    f.BlinkCounter = 0;
    m.Menu();
    const int x = 32 + width(CanvasFont{"system", 25, true, 0x8000}, "OPEN S");
    EXPECT_EQ(m.CountColour(0x8000, x, 379, x + 13, 396), 13 * 17);
    f.BlinkCounter = 10;
    m.Menu();
    EXPECT_EQ(m.CountColour(0x8000, x, 379, x + 13, 396), 0);
}
