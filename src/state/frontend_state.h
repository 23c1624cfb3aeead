// State of the scenes around the game: the menu with its monitor, terminal
// and pages, the intro, the story text screen and the ending animation, and
// the texts of the language in use.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "state/fixed.h"
#include "state/words.h"

// The menu's open page: the six items in their row (the first six values)
// and the pages that questions and messages open.
enum class Page : int32_t {
    None = -1,
    NewGame = 0,
    Continue = 1,
    Load = 2,
    Scores = 3,
    Help = 4,
    QuitQuestion = 5,
    ProfilesTaken = 6,  // all six profile slots are in use
    DeleteQuestion = 7,
};

struct FrontEnd {
    // Menu (Part of the menu routine and its input handlers).
    Page MenuPage = Page::None;
    uint8_t HoverItem = 10;
    uint8_t HoverButton = 0;
    int32_t IdleTimer = 0;
    int8_t SelectionPulse = 1;
    int32_t PulseTick = 0;
    int32_t BlinkCounter = 0;
    uint8_t LogoHoverState = 0;
    int32_t MonitorMode = 1;
    int32_t MonitorTimer = 0;
    int32_t MonitorShipX = 400;
    int32_t MonitorShipSpeed = -1;
    int32_t MonitorShipTurnX = 0;
    int32_t MeteorX = 200, MeteorY = -350;
    NumberedArray<FixedString<128>, 12> TerminalLines;  // 1..12
    int32_t TerminalLineCount = 0;
    uint8_t TerminalTypedChars = 1;
    uint8_t TerminalTick = 0;
    uint8_t CupFrame = 0;
    uint8_t NewScoreRank = 0;
    uint8_t NameEntryActive = 0;
    uint8_t TypedKey = 0;
    FixedString<64> EnteredName;
    uint8_t GameActive = 0;
    int32_t MouseX = 0, MouseY = 0;
    int32_t LastHoverItem = -1;
    // Not game state (neither dumped nor hashed): every game begun (a new
    // game, a profile loaded) counts here, so the shell sees between frames
    // that one began; and the score rank whose kept replay the player clicked
    // (0 none), which the shell starts watching between frames.
    uint32_t GamesBegun = 0;
    uint8_t WatchRequest = 0;

    // Intro.
    uint8_t IntroPhase = 0;
    int32_t IntroFade = 0;
    int32_t IntroTimer = 0;
    int32_t SweepStep = 1;
    int32_t SweepX = 113, SweepY = 10;

    // Story text screen.
    uint8_t TextScreenTick = 0;

    // Ending animation.
    uint8_t EndingStage = 1;
    int32_t EndingCounter = 255;
    int32_t ProbeDrift = 0;
    int32_t ProbeDriftTick = 0;
    int32_t ProbeBlinkTimer = 0;

    // The hidden text lists, cp1250: the story and commander messages, and
    // the menu terminal's lines.
    std::vector<std::string> Texty;
    std::vector<std::string> Prikazy;
    // The other words of the language in use.
    Words words;
};
