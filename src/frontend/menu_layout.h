// Where everything the pointer can touch lies on the main menu: the row of
// six items, the logo hotspot, and for each page its buttons (the picture lit
// while the pointer is on one, and the area that answers the pointer) and its
// fields. The drawing (menu.cpp, menu_pages.cpp) and the hit-testing
// (menu_input.cpp) both read these tables: a button moves here, in one line.
#pragma once
#include <cstdint>
#include <span>

#include "state/frontend_state.h"

// An area that answers the pointer; the pointer must lie strictly between
// the bounds.
struct MenuArea {
    int left, right, top, bottom;
    constexpr bool Holds(int x, int y) const { return x > left && x < right && y > top && y < bottom; }
    constexpr MenuArea Moved(int dx, int dy) const { return {left + dx, right + dx, top + dy, bottom + dy}; }
};

// A page button: its number in HoverButton while the pointer is on it, the
// picture lit then and where it is drawn, and the area that answers.
struct MenuButton {
    uint8_t number;
    const char* picture;
    int x, y;
    MenuArea area;
};

// What HoverButton holds while the pointer is on a page's button.
constexpr uint8_t kStartButton = 1;    // page 0
constexpr uint8_t kDeleteButton = 1;   // page 2, "Vymaz"
constexpr uint8_t kLoadButton = 2;     // page 2, "Nacti"
constexpr uint8_t kYesButton = 1;      // pages 5 and 7, "Ano"
constexpr uint8_t kNoButton = 2;       // pages 5 and 7, "Ne"
constexpr uint8_t kOkButton = 1;       // page 6
constexpr uint8_t kCzechButton = 1;    // page 4, "Cestina"
constexpr uint8_t kEnglishButton = 2;  // page 4, "English"

// The six items (new game, continue, load profile, scores, help, quit), each
// kItemStep to the right of the one before; "Polozky" lights an item.
constexpr MenuArea kFirstItem{66, 138, 262, 334};
constexpr int kItemStep = 119;
constexpr MenuArea ItemArea(int item) { return kFirstItem.Moved(kItemStep * item, 0); }

// On every page: the pointer resting here calls up the maker's logo.
constexpr MenuArea kLogoHotspot{693, 775, 579, 595};

// Every page's picture.
constexpr int kPageX = 25, kPageY = 357;

// Page 0, new game.
constexpr MenuButton kNewGameButtons[] = {
    {kStartButton, "Start", 676, 540, {676, 769, 540, 568}},
};
// Difficulty d (1..3) lies (d - 1) rows of kDifficultyStep below the first:
// "Krizek" marks the chosen one, a click in its area chooses it.
constexpr int kDifficultyMarkX = 423, kDifficultyMarkY = 415;
constexpr MenuArea kFirstDifficulty{430, 618, 420, 443};
constexpr int kDifficultyStep = 39;
constexpr MenuArea DifficultyArea(int d) { return kFirstDifficulty.Moved(0, kDifficultyStep * (d - 1)); }
// The name field: the name is written from (kNameX, kNameY) and its cursor
// block stands 2 pixels after it; a click in the area opens the field.
constexpr int kNameX = 49, kNameY = 466;
constexpr MenuArea kNameField{45, 314, 458, 498};

// Page 2, load profile. The pointer is tested on "Nacti" before "Vymaz".
constexpr MenuButton kLoadButtons[] = {
    {kLoadButton, "Nacti", 663, 410, {663, 754, 410, 438}},
    {kDeleteButton, "Vymaz", 663, 520, {663, 754, 520, 548}},
};
// The six profile names, slots 1..3 in the left column and 4..6 in the
// right, each name centred on its column and kSlotStep below the one
// before; a click in a name's area chooses the slot.
struct SlotColumn {
    int centreX;
    MenuArea firstArea;
};
constexpr SlotColumn kSlotColumns[2] = {{174, {40, 309, 412, 452}}, {451, {317, 586, 412, 452}}};
constexpr int kSlotNameY = 420, kSlotStep = 48;
constexpr const SlotColumn& SlotColumnOf(int slot) { return kSlotColumns[slot <= 3 ? 0 : 1]; }
constexpr int SlotRow(int slot) { return (slot - 1) % 3; }
constexpr MenuArea SlotArea(int slot) { return SlotColumnOf(slot).firstArea.Moved(0, kSlotStep * SlotRow(slot)); }

// Page 4, help: the language switch in the title bar, each language named
// in its own; the help picture shows the language in use lit.
constexpr MenuButton kHelpButtons[] = {
    {kCzechButton, "Cestina", 598, 363, {598, 678, 363, 385}},
    {kEnglishButton, "English", 684, 363, {684, 764, 363, 385}},
};
// The keys the player has bound, written into the help picture's columns:
// the keyboard's keys of the left and right columns, the pad's buttons in
// caps; the first row's top and the rows' step.
constexpr int kHelpLeftKeysX = 45, kHelpPadX = 181, kHelpRightKeysX = 435;
constexpr int kHelpLeftKeysRight = 175, kHelpRightKeysRight = 560;  // where the action labels begin
constexpr int kHelpFirstRowY = 415, kHelpRowStep = 23;
// Page 3, scores: rank r (1..10) in row (r - 1) % 5 of its column, ranks
// 1-5 on the left and 6-10 on the right, each row kScoreRowStep below the one
// before; the rank and name from rankX, the score from scoreX. An entry with a
// kept replay shows a small play mark left of its rank, and a click on its
// row plays the replay.
struct ScoreColumn {
    int rankX, scoreX;
    MenuArea firstRow;
};
constexpr ScoreColumn kScoreColumns[2] = {{151, 391, {136, 462, 423, 446}}, {476, 716, {461, 776, 423, 446}}};
constexpr int kScoreRowY = 425, kScoreRowStep = 22;
constexpr int kReplayMarkDx = -12;  // the mark's left edge from the rank's
constexpr const ScoreColumn& ScoreColumnOf(int rank) { return kScoreColumns[rank <= 5 ? 0 : 1]; }
constexpr int ScoreRowY(int rank) { return kScoreRowY + kScoreRowStep * ((rank - 1) % 5); }
constexpr MenuArea ScoreRowArea(int rank) {
    return ScoreColumnOf(rank).firstRow.Moved(0, kScoreRowStep * ((rank - 1) % 5));
}

// Page 5, the quit question.
constexpr MenuButton kQuitButtons[] = {
    {kYesButton, "Ano", 276, 469, {276, 337, 469, 492}},
    {kNoButton, "Ne", 453, 469, {453, 514, 469, 492}},
};

// Page 6, the notice that all profiles are taken.
constexpr MenuButton kProfilesTakenButtons[] = {
    {kOkButton, "Ok", 363, 492, {363, 424, 493, 516}},
};

// Page 7, the delete question: its pictures lie a pixel right of and below
// the quit question's, its areas are the same.
constexpr MenuButton kDeleteButtons[] = {
    {kYesButton, "Ano", 277, 470, {276, 337, 469, 492}},
    {kNoButton, "Ne", 454, 470, {453, 514, 469, 492}},
};

// The buttons of a page; none for the pages without any.
constexpr std::span<const MenuButton> PageButtons(Page page) {
    switch (page) {
        case Page::NewGame: return kNewGameButtons;
        case Page::Load: return kLoadButtons;
        case Page::Help: return kHelpButtons;
        case Page::QuitQuestion: return kQuitButtons;
        case Page::ProfilesTaken: return kProfilesTakenButtons;
        case Page::DeleteQuestion: return kDeleteButtons;
        default: return {};
    }
}
