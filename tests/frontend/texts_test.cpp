// The game's texts: the block structure of the commander messages that the
// HUD walks, the story lines of the text screen, the menu terminal's lines,
// their cp1250 form, that every line fits where the game draws it, and that
// every English line and caption is no wider than its Czech counterpart.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "frontend/texts.h"
#include "media/canvas.h"
#include "media/cp1250.h"
#include "state/world.h"
#include "test_support.h"

namespace {

struct TextsTest : ::testing::Test {
    TestWorld t = MakeTestWorld(false);
    const std::vector<std::string>& texty() { return t.w().front.Texty; }
    const std::vector<std::string>& prikazy() { return t.w().front.Prikazy; }
    void SetUp() override { LoadTexts(t.w()); }

    // The lines a commander message shows: from the marker "#<level>" on,
    // starting at the given offset, up to the next line beginning with '#'.
    std::vector<int> MessageLines(int level, int startStep) {
        int marker = -1;
        for (size_t i = 0; i < texty().size() && marker < 0; ++i)
            if (texty()[i] == "#" + std::to_string(level)) marker = static_cast<int>(i);
        EXPECT_GE(marker, 0) << "no marker for level " << level;
        std::vector<int> lines;
        for (int i = marker + startStep; i < static_cast<int>(texty().size()) && texty()[i][0] != '#'; ++i)
            lines.push_back(i);
        return lines;
    }

    // Width in pixels as the game types a line: character by character.
    int TypedWidth(const std::string& line, int height, bool bold, const char* font) {
        std::unique_ptr<Surface> surface = std::make_unique<Surface>();
        Canvas canvas;
        canvas.surface = surface.get();
        SurfaceCanvas(canvas);
        canvas.Font.Name = font;
        canvas.Font.Height = height;
        canvas.Font.Bold = bold;
        int width = 0;
        for (char c : line) width += TextWidth(canvas, std::string(1, c));
        ReleaseCanvas(canvas);
        return width;
    }
};

std::vector<int> Range(int first, int last) {
    std::vector<int> out;
    for (int i = first; i <= last; ++i) out.push_back(i);
    return out;
}

TEST_F(TextsTest, MarkersStandWhereTheMessagesExpectThem) {
    ASSERT_EQ(texty().size(), 51u);
    const std::vector<std::pair<int, std::string>> markers = {{9, "#1"}, {15, "#2"}, {27, "#3"}, {31, "#9"},
                                                              {40, "#"}, {44, "#"},  {48, "#6"}, {50, "#"}};
    for (const auto& [line, text] : markers) EXPECT_EQ(texty()[line], text) << "line " << line;
    for (size_t i = 0; i < texty().size(); ++i) {
        bool isMarker = false;
        for (const auto& m : markers) isMarker |= m.first == static_cast<int>(i);
        if (!isMarker) {
            ASSERT_FALSE(texty()[i].empty()) << "line " << i << " is empty";
            EXPECT_NE(texty()[i][0], '#') << "line " << i << " would end a message early";
        }
    }
}

TEST_F(TextsTest, EachMessageShowsItsLines) {
    EXPECT_EQ(MessageLines(1, 1), Range(10, 14));  // level-1 briefing
    EXPECT_EQ(MessageLines(2, 6), Range(21, 26));  // reprimand
    EXPECT_EQ(MessageLines(3, 1), Range(28, 30));
    EXPECT_EQ(MessageLines(6, 1), Range(49, 49));   // meteor warning
    EXPECT_EQ(MessageLines(9, 1), Range(32, 39));   // level-9 briefing
    EXPECT_EQ(MessageLines(9, 10), Range(41, 43));  // mother ship in view
    EXPECT_EQ(MessageLines(9, 14), Range(45, 47));  // victory
    // With black boxes the level-2 message runs lines 16..20, then the step
    // jumps to 12, which must land on a line that ends the message.
    std::vector<int> level2 = MessageLines(2, 1);
    ASSERT_GE(level2.size(), 5u);
    EXPECT_EQ(std::vector<int>(level2.begin(), level2.begin() + 5), Range(16, 20));
    EXPECT_EQ(texty()[15 + 12][0], '#');
}

TEST_F(TextsTest, ProbeLinesOfTheLevel9BriefingSpeakOfTheProbe) {
    for (int line = 36; line <= 38; ++line)
        EXPECT_NE(Cp1250ToUtf8(texty()[line]).find("ond"), std::string::npos)
            << "line " << line << ": " << Cp1250ToUtf8(texty()[line]);
}

TEST_F(TextsTest, StoryLinesHaveTheTextScreenShape) {
    int endingWithSpace = 0;
    for (int line = 0; line <= 8; ++line) {
        const std::string& s = texty()[line];
        EXPECT_GE(s.size(), 76u) << "line " << line;
        EXPECT_LE(s.size(), 92u) << "line " << line;
        endingWithSpace += s.back() == ' ';
    }
    EXPECT_EQ(texty()[0].substr(0, 8), std::string(8, ' '));
    EXPECT_NE(texty()[0][8], ' ');
    EXPECT_GE(endingWithSpace, 5);
    EXPECT_NE(Cp1250ToUtf8(texty()[0]).find("2071"), std::string::npos);
}

TEST_F(TextsTest, TextsAreCzechInCp1250) {
    // Converting back and forth gives the same bytes, and the letters with
    // diacritics are single cp1250 bytes (ř is 0xF8, ž 0x9E, ů 0xF9).
    std::string all;
    for (const auto& s : texty()) all += s;
    for (const auto& s : prikazy()) all += s;
    EXPECT_EQ(Utf8ToCp1250(Cp1250ToUtf8(all)), all);
    EXPECT_NE(all.find('\xF8'), std::string::npos);
    EXPECT_NE(all.find('\x9E'), std::string::npos);
    EXPECT_NE(all.find('\xF9'), std::string::npos);
    EXPECT_EQ(all.find('?'), std::string::npos) << "a character fell back to '?'";
}

TEST_F(TextsTest, TerminalLinesGreetCreditAndOperate) {
    ASSERT_EQ(prikazy().size(), 68u);
    EXPECT_NE(prikazy()[0].find("KAVRIX"), std::string::npos);
    EXPECT_NE(prikazy()[0].find("1.1"), std::string::npos);
    for (size_t i = 0; i < prikazy().size(); ++i) {
        const std::string& s = prikazy()[i];
        ASSERT_FALSE(s.empty()) << "line " << i;
        for (char c : s) EXPECT_FALSE(c >= 'a' && c <= 'z') << "line " << i << " is not upper-case: " << s;
    }
    int padded = 0;
    for (const auto& s : prikazy()) padded += s.find("....") != std::string::npos;
    EXPECT_GE(padded, 20);
}

TEST_F(TextsTest, LinesFitWhereTheGameDrawsThem) {
    // Commander lines start at x 125 in Arial 13 and must end inside the
    // panel beside the portrait.
    for (int i = 10; i <= 49; ++i) {
        if (texty()[i][0] == '#') continue;
        EXPECT_LE(texty()[i].size(), 60u) << "line " << i;
        EXPECT_LE(125 + TypedWidth(texty()[i], 13, false, "Arial"), 600) << "line " << i;
    }
    // Story lines start at x 65 in Arial 20 inside the frame ending at 740.
    for (int i = 0; i <= 8; ++i) EXPECT_LE(65 + TypedWidth(texty()[i], 20, false, "Arial"), 740) << "line " << i;
    // Terminal lines start at x 32 in bold System 25; the monitor ends at 773.
    for (size_t i = 0; i < prikazy().size(); ++i)
        EXPECT_LE(32 + TypedWidth(prikazy()[i], 25, true, "System"), 773) << "line " << i;
}

// English takes the boxes Czech was written for: each story line, commander
// line and terminal line, the menu items' captions on their plates, the
// ending's caption and the story screen's prompt measure no more pixels in
// the game's font than the Czech ones they stand for; the message blocks are
// the same lines at the same places, so the commander's steps find them.
TEST_F(TextsTest, EnglishFitsWhereCzechStands) {
    const FrontEnd czech = t.w().front;
    t.w().shell.language = Language::English;
    LoadTexts(t.w());
    const FrontEnd& english = t.w().front;
    ASSERT_EQ(english.Texty.size(), czech.Texty.size());
    ASSERT_EQ(english.Prikazy.size(), czech.Prikazy.size());
    for (size_t i = 0; i < czech.Texty.size(); ++i) {
        const std::string& cs = czech.Texty[i];
        const std::string& en = english.Texty[i];
        if (cs[0] == '#') {
            EXPECT_EQ(en, cs) << "line " << i << " marks a message block";
            continue;
        }
        const bool story = i <= 8;
        const int height = story ? 20 : 13;
        EXPECT_LE(TypedWidth(en, height, false, "Arial"), TypedWidth(cs, height, false, "Arial"))
            << "line " << i << ": " << Cp1250ToUtf8(en);
        EXPECT_EQ(en.find('?'), std::string::npos) << "line " << i << " has a character cp1250 lacks";
    }
    for (size_t i = 0; i < czech.Prikazy.size(); ++i)
        EXPECT_LE(TypedWidth(english.Prikazy[i], 25, true, "System"), TypedWidth(czech.Prikazy[i], 25, true, "System"))
            << "terminal line " << i << ": " << english.Prikazy[i];
    // A caption's lines may be placed anew; each must end where the Czech
    // caption's widest line ends at the most.
    for (int item = 0; item < 6; ++item) {
        auto rightEdge = [&](const ItemCaption& caption) {
            int edge = 0;
            for (int i = 0; i < caption.count; ++i)
                edge = std::max(edge, caption.lines[i].dx + TypedWidth(caption.lines[i].text, 12, true, "Arial"));
            return edge;
        };
        const ItemCaption& cs = czech.words.items[item];
        const ItemCaption& en = english.words.items[item];
        EXPECT_LE(rightEdge(en), rightEdge(cs)) << "item " << item << ": " << en.lines[0].text;
        for (int i = 0; i < en.count; ++i) EXPECT_GE(en.lines[i].dx, 1) << "item " << item;
    }
    EXPECT_LE(TypedWidth(english.words.ending, 25, false, "System"),
              TypedWidth(czech.words.ending, 25, false, "System"));
    EXPECT_LE(TypedWidth(english.words.storyPrompt, 20, false, "Arial"),
              TypedWidth(czech.words.storyPrompt, 20, false, "Arial"));
}

}  // namespace
