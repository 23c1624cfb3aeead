// The story text screen: typing speed per line, the last letter of a line
// appearing with the whole line, the glow of the newest letters, the green
// frame, the typing sound stopping at the end, and the keys that complete
// the text and start the game.
#include "frontend/text_screen.h"
#include "menu_helpers.h"
#include "state/media_calls.h"

namespace {

constexpr int kLineTop = 195, kLineStep = 20, kLineHeight = 20;

// A new game's story screen as Start leaves it, the typing sound running.
MenuWorld StoryWorld(const char* tag) {
    MenuWorld m(tag);
    m.w.shell.CurrentScene = Scene::Uvod;
    PlayGameSound(m.w, "Text");
    return m;
}

int LineLength(World& w, int line) { return int(w.front.Texty[size_t(line)].size()); }

int InLine(MenuWorld& m, uint32_t colour, int line) {
    const int top = kLineTop + kLineStep * line;
    return m.CountColour(colour, 56, top, 739, top + kLineHeight);
}

// Pixels of a line greener than the plain text colour 0xAA00 can be.
int Glowing(MenuWorld& m, int line) {
    const int top = kLineTop + kLineStep * line;
    const int plain = (ColorTo565(0xAA00) >> 5) & 0x3F;
    int n = 0;
    for (int y = top; y < top + kLineHeight; ++y)
        for (int x = 56; x < 739; ++x) n += ((m.w.media.back->pixels[y][x] >> 5) & 0x3F) > plain ? 1 : 0;
    return n;
}

}  // namespace

TEST(TextScreen, TypesALetterEverySecondFrameAndFinishesEachLineWhole) {
    MenuWorld m = StoryWorld("text-typing");
    World& w = m.w;
    GameState& g = w.game;
    ASSERT_GE(w.front.Texty.size(), 10u);
    EXPECT_EQ(w.front.Texty[9], "#1") << "nine story lines come before the commander's first block";

    int line = 0, framesInLine = 0;
    for (int frame = 0; frame < 4000 && !(g.TextScreenLine == 8 && g.CommanderTextPos >= LineLength(w, 8)); ++frame) {
        const int posBefore = g.CommanderTextPos;
        m.Frames(1);
        ++framesInLine;
        if (g.TextScreenLine != line) {
            const int n = LineLength(w, line);
            EXPECT_EQ(posBefore, n - 1) << "line " << line << " ends before its last letter is typed alone";
            EXPECT_GE(framesInLine, 2 * (n - 1) - 1) << "line " << line;
            EXPECT_LE(framesInLine, 2 * (n - 1)) << "line " << line;
            EXPECT_EQ(g.TextScreenLine, line + 1);
            EXPECT_TRUE(m.SoundStarted("Text"));
            line = g.TextScreenLine;
            framesInLine = 0;
        } else if (line > 0) {
            // A finished line is plain green; only the line being typed glows.
            EXPECT_EQ(Glowing(m, line - 1), 0) << "line " << line - 1;
            EXPECT_GT(InLine(m, 0xAA00, line - 1), 0);
            if (g.CommanderTextPos > 2) {
                EXPECT_GT(Glowing(m, line), 0) << "the newest letters of line " << line;
            }
        }
    }
    EXPECT_EQ(line, 8);
    EXPECT_EQ(g.CommanderTextPos, LineLength(w, 8));
    EXPECT_FALSE(m.SoundStarted("Text")) << "the typing sound stops with the last line";
    EXPECT_EQ(w.shell.CurrentScene, Scene::Uvod) << "the text waits for a key";

    // The thin frame around the text.
    const uint16_t frameColour = ColorTo565(0x039F15);
    EXPECT_EQ(w.media.back->pixels[250][55], frameColour);
    EXPECT_EQ(w.media.back->pixels[250][739], frameColour);
    EXPECT_EQ(w.media.back->pixels[180][400], frameColour);
    EXPECT_EQ(w.media.back->pixels[389][400], frameColour);
    EXPECT_EQ(w.media.back->pixels[390][400], 0);
}

TEST(TextScreen, AKeyDuringLineThreeShowsTheWholeTextAndTheNextStartsTheGame) {
    MenuWorld m = StoryWorld("text-key-line3");
    World& w = m.w;
    GameState& g = w.game;
    while (g.TextScreenLine < 3) m.Frames(1);
    m.Frames(20);
    ASSERT_EQ(g.TextScreenLine, 3);
    ASSERT_TRUE(m.SoundStarted("Text"));

    EXPECT_EQ(m.Key('x'), 0);
    EXPECT_EQ(w.shell.CurrentScene, Scene::Uvod);
    EXPECT_EQ(g.TextScreenLine, 8);
    EXPECT_EQ(g.CommanderTextPos, LineLength(w, 8));
    EXPECT_FALSE(m.SoundStarted("Text"));
    m.Frames(1);
    for (int line = 0; line <= 8; ++line) EXPECT_GT(InLine(m, 0xAA00, line), 0) << "line " << line;

    m.Key(13);
    EXPECT_EQ(w.shell.CurrentScene, Scene::HlavniHra);
    EXPECT_EQ(g.CommanderTimer, 1) << "Enter calls the commander at once";
    const int32_t distance = g.Progress.ScrollDistance;
    m.Frames(1);
    EXPECT_EQ(g.Progress.ScrollDistance, distance + 1) << "the game runs";
}

TEST(TextScreen, AKeyJustAsTheLastLineBeginsStartsTheGameAtOnce) {
    MenuWorld m = StoryWorld("text-key-line8");
    GameState& g = m.w.game;
    for (int frame = 0; frame < 4000 && g.TextScreenLine < 8; ++frame) m.Frames(1);
    ASSERT_EQ(g.TextScreenLine, 8);
    ASSERT_LE(g.CommanderTextPos, 1);
    m.Key(' ');
    EXPECT_EQ(m.w.shell.CurrentScene, Scene::HlavniHra);
    EXPECT_EQ(g.CommanderTimer, 0);
    EXPECT_LE(g.CommanderTextPos, 1) << "the text is not completed first";
    EXPECT_FALSE(m.SoundStarted("Text"));
}
