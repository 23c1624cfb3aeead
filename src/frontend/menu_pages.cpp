// The pages of the main menu: new game (difficulty mark, Start, the name
// field fed by typed characters), profile list, score table with the cup and
// the entry of a finished game's score, help with the keys bound and the
// language switch, the questions and the notice
// of taken profiles; and the caption of the hovered item.
#include "frontend/menu_pages.h"

#include <cstdio>
#include <string_view>

#include "frontend/help_keys.h"
#include "frontend/menu.h"
#include "frontend/menu_layout.h"
#include "media/canvas.h"
#include "state/media_calls.h"
#include "state/world.h"

namespace {

constexpr uint32_t kGreen = 0x8000;
constexpr uint32_t kBrightGreen = 0xFF00;
// Names may be as wide as the field allows, measured before each letter.
constexpr int kNameFieldWidth = 230;

void MenuPicture(World& w, std::string_view name, int x, int y, int frame = 0) {
    DrawPicture(w, w.media.MenuObr, name, x, y, frame);
}

// The page's buttons: the one under the pointer is lit.
void DrawPageButtons(World& w, Page page) {
    for (const MenuButton& button : PageButtons(page))
        if (w.front.HoverButton == button.number) MenuPicture(w, button.picture, button.x, button.y);
}

Canvas& TextCanvas(World& w, int height, uint32_t colour) {
    Canvas& canvas = TakeCanvas(w);
    canvas.Font.Name = "Arial";
    canvas.Font.Height = height;
    canvas.Font.Bold = true;
    canvas.Font.Color = colour;
    canvas.BrushColor = 0;
    return canvas;
}

// Takes the typed character into the name: backspace deletes, Enter closes
// the field, printable cp1250 codes are added while the name fits.
void FeedNameField(FrontEnd& f, Canvas& canvas) {
    if (!f.NameEntryActive || f.TypedKey == 0) return;
    const uint8_t key = f.TypedKey;
    auto& name = f.EnteredName;
    if (key == 8) {
        if (name.size > 0) --name.size;
    } else if (key == 13) {
        f.NameEntryActive = 0;
    } else if (key >= 32) {
        // The buffer's capacity also bounds names of letters without width.
        constexpr int capacity = int(sizeof name.data);
        if (TextWidth(canvas, name.View()) < kNameFieldWidth && name.size < capacity)
            name.data[name.size++] = char(key);
    }
    f.TypedKey = 0;
}

void NewGamePage(World& w) {
    FrontEnd& f = w.front;
    MenuPicture(w, "Novahra", kPageX, kPageY);
    MenuPicture(w, "Krizek", kDifficultyMarkX, kDifficultyMarkY + kDifficultyStep * (w.game.Progress.Difficulty - 1));
    DrawPageButtons(w, Page::NewGame);
    Canvas& canvas = TextCanvas(w, 25, kGreen);
    FeedNameField(f, canvas);
    TextOut(canvas, kNameX, kNameY, f.EnteredName.View());
    if (f.BlinkCounter < 10 && f.NameEntryActive) {
        const int width = TextWidth(canvas, f.EnteredName.View());
        canvas.BrushColor = kGreen;
        FillRect(canvas, Rect{kNameX + width + 2, kNameY, kNameX + width + 15, kNameY + 23});
    }
    ReleaseCanvas(canvas);
}

// Three names in each of two columns, centred; the selected slot is bright.
void ProfilePage(World& w) {
    MenuPicture(w, "Profil", kPageX, kPageY);
    DrawPageButtons(w, Page::Load);
    Canvas& canvas = TextCanvas(w, 25, kGreen);
    for (int k = 1; k <= 6; ++k) {
        const std::string_view name = w.saved.ProfileTable[k].PlayerName.View();
        const int centre = SlotColumnOf(k).centreX;
        const int y = kSlotNameY + kSlotStep * SlotRow(k);
        canvas.Font.Color = k == w.saved.CurrentProfile ? kBrightGreen : kGreen;
        TextOut(canvas, centre - TextWidth(canvas, name) / 2, y, name);
    }
    ReleaseCanvas(canvas);
}

// A small play mark left of an entry whose game was kept as a replay: a
// triangle pointing right, in the entry's colour, as tall as its text.
void ReplayMark(Canvas& canvas, int rank, uint32_t colour) {
    const int x = ScoreColumnOf(rank).rankX + kReplayMarkDx, middle = ScoreRowY(rank) + 10;
    canvas.BrushColor = colour;
    for (int dx = 0; dx < 7; ++dx) FillRect(canvas, Rect{x + dx, middle - 6 + dx, x + dx + 1, middle + 7 - dx});
    canvas.BrushColor = 0;
}

// The ten best, ranks 1-5 on the left and 6-10 on the right; a score just
// entered is bright. The cup turns while the page is open.
void ScorePage(World& w) {
    FrontEnd& f = w.front;
    MenuPicture(w, "Skore", kPageX, kPageY);
    MenuPicture(w, "Pohar", 32, 405, f.CupFrame);
    if (f.PulseTick == 4) f.CupFrame = f.CupFrame < 9 ? uint8_t(f.CupFrame + 1) : 0;
    EnterFinishedScore(w);
    Canvas& canvas = TextCanvas(w, 19, kGreen);
    for (int rank = 1; rank <= 10; ++rank) {
        const ScoreColumn& column = ScoreColumnOf(rank);
        const int y = ScoreRowY(rank);
        const std::string_view name = w.saved.ScoreTable.Names[rank].View();
        char text[40];
        const int prefix = std::snprintf(text, sizeof text, "%d. ", rank);
        std::string_view entry(text, size_t(prefix));
        if (size_t(prefix) + name.size() <= sizeof text) {
            for (size_t i = 0; i < name.size(); ++i) text[size_t(prefix) + i] = name[i];
            entry = std::string_view(text, size_t(prefix) + name.size());
        }
        char score[16];
        const int digits = std::snprintf(score, sizeof score, "%d", int(w.saved.ScoreTable.Scores[rank]));
        canvas.Font.Color = rank == f.NewScoreRank ? kBrightGreen : kGreen;
        TextOut(canvas, column.rankX, y, entry);
        TextOut(canvas, column.scoreX, y, std::string_view(score, size_t(digits)));
        if (w.saved.ScoreReplays[rank].size > 0) ReplayMark(canvas, rank, canvas.Font.Color);
    }
    ReleaseCanvas(canvas);
}

// The page's picture and its lit button.
void ButtonPage(World& w, Page page, std::string_view picture) {
    MenuPicture(w, picture, kPageX, kPageY);
    DrawPageButtons(w, page);
}

}  // namespace

void DrawMenuPage(World& w) {
    switch (w.front.MenuPage) {
        case Page::NewGame: NewGamePage(w); break;
        case Page::Load: ProfilePage(w); break;
        case Page::Scores: ScorePage(w); break;
        case Page::Help:
            ButtonPage(w, Page::Help, "Helpik");
            DrawHelpKeys(w);
            break;
        case Page::QuitQuestion: ButtonPage(w, Page::QuitQuestion, "Konec"); break;
        case Page::ProfilesTaken: ButtonPage(w, Page::ProfilesTaken, "Obsazeno"); break;
        case Page::DeleteQuestion: ButtonPage(w, Page::DeleteQuestion, "Vymazat"); break;
        case Page::None:
        case Page::Continue: break;  // no content
    }
}

void DrawItemCaption(World& w) {
    const int item = w.front.HoverItem;
    if (item > 5) return;
    Canvas& canvas = TextCanvas(w, 12, kBrightGreen);
    canvas.BrushColor = 0;
    canvas.PenColor = 0;
    // The dark plate inside the item, under its caption.
    const MenuArea area = ItemArea(item);
    Rectangle(canvas, area.left + 6, area.top + 5, area.right - 5, area.bottom - 7);
    // Each line is placed from the item's top-left corner, so that it moves
    // with the item row.
    const ItemCaption& caption = w.front.words.items[item];
    for (int i = 0; i < caption.count; ++i) {
        const ItemCaption::Line& line = caption.lines[i];
        TextOut(canvas, area.left + line.dx, area.top + line.dy, line.text);
    }
    ReleaseCanvas(canvas);
}
