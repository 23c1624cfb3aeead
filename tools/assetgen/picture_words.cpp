// The table of the pictures' words, Czech and English, with the room each
// English word has where it stands, and the check that it fits.
#include "picture_words.h"

#include <cmath>
#include <stdexcept>

#include "draw_util.h"

namespace {

WordsLanguage current = WordsLanguage::Czech;

struct PictureWord {
    const char* czech;
    const char* english;
    double room;  // pixels the word may take; 0: no more than the Czech word
};

// Buttons are centred on faces 61 to 93 pixels wide; page titles have the
// title bar (400 pixels before the help page's language switch), other page
// texts the page's width or a column's.
const PictureWord kWords[] = {
    // Buttons.
    {"START", "START", 0},
    {"ANO", "YES", 50},
    {"NE", "NO", 50},
    {"OK", "OK", 0},
    {"NAČÍST", "LOAD", 0},
    {"VYMAZAT", "DELETE", 0},
    {"ČEŠTINA", "ČEŠTINA", 0},
    {"ENGLISH", "ENGLISH", 0},
    // The new game page.
    {"NOVÁ HRA", "NEW GAME", 400},
    {"Jméno pilota:", "Pilot's name:", 200},
    {"Obtížnost:", "Difficulty:", 150},
    {"LEHKÁ", "EASY", 0},
    {"STŘEDNÍ", "NORMAL", 0},
    {"TĚŽKÁ", "HARD", 0},
    // The profile page and the score table.
    {"NAČTENÍ PROFILU", "LOAD PROFILE", 400},
    {"NEJLEPŠÍ PILOTI", "BEST PILOTS", 400},
    {"JMÉNO", "NAME", 0},
    {"BODY", "POINTS", 60},
    // The help page: its columns are 130 and 230 pixels wide, the actions' 150 and 200.
    {"NÁPOVĚDA", "HELP", 400},
    {"KLÁVESNICE", "KEYBOARD", 0},
    {"GAMEPAD", "GAMEPAD", 0},
    {"pohyb lodi", "fly the ship", 150},
    {"střelba", "fire", 0},
    {"použití předmětu", "use an item", 0},
    {"další zpráva velitele", "commander's next line", 150},
    {"menu / návrat do hry", "menu / back to the game", 150},
    {"tato nápověda", "this help", 0},
    {"zvuky zapnout / vypnout", "sound on / off", 0},
    {"hudba zapnout / vypnout", "music on / off", 0},
    {"hlasitost hudby", "music volume", 0},
    {"snímky za sekundu", "frames per second", 200},
    {"okno / celá obrazovka", "window / full screen", 0},
    {"Seberte předměty a zbraně z beden, chraňte se před meteory.",
     "Take items and weapons from the boxes, and keep clear of meteors.", 700},
    // The questions and the notice.
    {"KONEC", "QUIT", 400},
    {"Opravdu chcete ukončit hru?", "Do you really want to quit?", 700},
    {"VYMAZAT PROFIL", "DELETE PROFILE", 400},
    {"Opravdu vymazat vybraný profil?", "Delete the chosen profile?", 0},
    {"Uložený postup pilota bude ztracen.", "The pilot's saved progress will be lost.", 700},
    {"PROFILY OBSAZENY", "NO FREE PROFILE", 400},
    {"Všech šest profilů je obsazeno.", "All six profiles are in use.", 0},
    {"Nejprve některý profil vymažte v nabídce Načtení profilu.", "First delete a profile on the Load profile page.",
     0},
    // The console, the monitor's title and the title screen.
    {"MONITOR 01 — PŘEHLED SEKTORU", "MONITOR 01 — SECTOR OVERVIEW", 300},
    {"KAVRIX · velitelský terminál", "KAVRIX · command terminal", 0},
    {"VESMÍRNÁ STŘÍLEČKA", "SPACE SHOOTER", 0},
    {"POSLEDNÍ OBRANA KOLONIE", "THE COLONY'S LAST DEFENCE", 760},
    {"uvádí", "presents", 89},
    // The instrument bar and the probe's screen.
    {"RADAR", "RADAR", 0},
    {"SPOJENÍ S VELITELEM", "COMMANDER LINK", 0},
    {"ENERGIE", "ENERGY", 0},
    {"PŘEDMĚTY", "ITEMS", 0},
    {"SKÓRE", "SCORE", 0},
    {"ZBRAŇ", "WEAPON", 55},
    {"ENERGIE ZBRANÍ", "GUN ENERGY", 0},
    {"SONDA", "PROBE", 84},
    {"ODESLÁNO", "LAUNCHED", 84},
};

}  // namespace

void SetWordsLanguage(WordsLanguage language) { current = language; }
WordsLanguage CurrentWordsLanguage() { return current; }
const char* WordsFolder(WordsLanguage language) { return language == WordsLanguage::English ? "en/" : ""; }

std::string Say(cairo_t* cr, const std::string& czech, double size, bool bold, const char* face) {
    for (const PictureWord& word : kWords) {
        if (czech != word.czech) continue;
        if (current == WordsLanguage::Czech) return czech;
        const double width = art::TextWidth(cr, word.english, size, bold, face);
        const double czechWidth = art::TextWidth(cr, czech, size, bold, face);
        const double room = word.room > 0 ? std::fmax(word.room, czechWidth) : czechWidth;
        // Half a pixel spare: the two words are measured with subpixel advances.
        if (width > room + 0.5)
            throw std::runtime_error("the English picture word '" + std::string(word.english) + "' is " +
                                     std::to_string(int(std::ceil(width))) + " pixels wide where '" + czech + "' has " +
                                     std::to_string(int(std::floor(room))));
        return word.english;
    }
    throw std::runtime_error("no English for the picture word '" + czech + "'");
}
