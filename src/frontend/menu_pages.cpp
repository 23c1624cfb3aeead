// The pages of the main menu: new game (difficulty mark, Start, the name
// field fed by typed characters), profile list, score table with the cup and
// the entry of a finished game's score, help, the questions and the notice
// of taken profiles; and the Czech captions of the hovered item.
#include "frontend/menu_pages.h"

#include <cstdio>
#include <string>
#include <string_view>

#include "frontend/menu.h"
#include "media/canvas.h"
#include "media/cp1250.h"
#include "state/media_calls.h"
#include "state/world.h"

namespace {

constexpr int kPageX = 25, kPageY = 357;
constexpr uint32_t kGreen = 0x8000;
constexpr uint32_t kBrightGreen = 0xFF00;
// Names may be as wide as the field allows, measured before each letter.
constexpr int kNameFieldWidth = 230;
constexpr int kNameX = 49, kNameY = 466;

void MenuPicture(World& w, std::string_view name, int x, int y, int frame = 0) {
    DrawPicture(w, w.media.MenuObr, name, x, y, frame);
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
void FeedNameField(World& w, Canvas& canvas) {
    FrontEnd& f = w.front;
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
    MenuPicture(w, "Krizek", 423, 415 + 39 * (w.game.Progress.Difficulty - 1));
    if (f.HoverButton == 1) MenuPicture(w, "Start", 676, 540);
    Canvas& canvas = TextCanvas(w, 25, kGreen);
    FeedNameField(w, canvas);
    TextOut(canvas, kNameX, kNameY, f.EnteredName.View());
    if (f.BlinkCounter < 10 && f.NameEntryActive) {
        const int width = TextWidth(canvas, f.EnteredName.View());
        canvas.BrushColor = kGreen;
        FillRect(canvas, Rect{width + 51, 466, width + 64, 489});
    }
    ReleaseCanvas(canvas);
}

// Three names in each of two columns, centred; the selected slot is bright.
void ProfilePage(World& w) {
    FrontEnd& f = w.front;
    MenuPicture(w, "Profil", kPageX, kPageY);
    if (f.HoverButton == 1) MenuPicture(w, "Vymaz", 663, 520);
    if (f.HoverButton == 2) MenuPicture(w, "Nacti", 663, 410);
    Canvas& canvas = TextCanvas(w, 25, kGreen);
    for (int k = 1; k <= 6; ++k) {
        const std::string_view name = w.saved.ProfileTable[k].PlayerName.View();
        const int centre = k <= 3 ? 174 : 451;
        const int y = 420 + 48 * ((k - 1) % 3);
        canvas.Font.Color = k == w.saved.CurrentProfile ? kBrightGreen : kGreen;
        TextOut(canvas, centre - TextWidth(canvas, name) / 2, y, name);
    }
    ReleaseCanvas(canvas);
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
        const int column = rank <= 5 ? 0 : 1;
        const int y = 425 + 22 * ((rank - 1) % 5);
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
        TextOut(canvas, column == 0 ? 151 : 476, y, entry);
        TextOut(canvas, column == 0 ? 391 : 716, y, std::string_view(score, size_t(digits)));
    }
    ReleaseCanvas(canvas);
}

void QuestionPage(World& w, std::string_view picture, int yesX, int noX, int y) {
    MenuPicture(w, picture, kPageX, kPageY);
    if (w.front.HoverButton == 1) MenuPicture(w, "Ano", yesX, y);
    if (w.front.HoverButton == 2) MenuPicture(w, "Ne", noX, y);
}

struct Caption {
    std::string text;
    int x, y;
};

// The captions are written in UTF-8 here and converted once, on first use.
const Caption* ItemCaptions(int item, int& count) {
    static const Caption captions[7] = {
        {Utf8ToCp1250("NOVÁ HRA"), 75, 295},   {Utf8ToCp1250("POKRAČOVAT"), 186, 295},
        {Utf8ToCp1250("NAČTENÍ"), 317, 290},   {Utf8ToCp1250("PROFILU"), 317, 300},
        {Utf8ToCp1250("SKÓRE"), 440, 295},     {Utf8ToCp1250("NÁPOVĚDA"), 550, 295},
        {Utf8ToCp1250("KONEC"), 680, 295},
    };
    static constexpr int first[6] = {0, 1, 2, 4, 5, 6};
    count = item == 2 ? 2 : 1;
    return &captions[first[item]];
}

}  // namespace

void DrawMenuPage(World& w) {
    switch (w.front.MenuPage) {
        case Page::NewGame: NewGamePage(w); break;
        case Page::Load: ProfilePage(w); break;
        case Page::Scores: ScorePage(w); break;
        case Page::Help: MenuPicture(w, "Helpik", kPageX, kPageY); break;
        case Page::QuitQuestion: QuestionPage(w, "Konec", 276, 453, 469); break;
        case Page::ProfilesTaken:
            MenuPicture(w, "Obsazeno", kPageX, kPageY);
            if (w.front.HoverButton == 1) MenuPicture(w, "Ok", 363, 492);
            break;
        case Page::DeleteQuestion: QuestionPage(w, "Vymazat", 277, 454, 470); break;
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
    Rectangle(canvas, 72 + 119 * item, 267, 133 + 119 * item, 327);
    int count = 0;
    const Caption* captions = ItemCaptions(item, count);
    for (int i = 0; i < count; ++i) TextOut(canvas, captions[i].x, captions[i].y, captions[i].text);
    ReleaseCanvas(canvas);
}
