// The game's words in English, as written in UTF-8, line for line beside the
// Czech ones (texts_cs.cpp): the same nine story lines and the same message
// blocks, each line no wider than its Czech counterpart in the game's font,
// so it fits the same frame and panel. The terminal's operations are the
// machine's own words and are shared; only its greeting and credits change.
#include "frontend/text_sources.h"

namespace {

std::vector<std::string_view> EnglishTerminal() {
    std::vector<std::string_view> lines = {
        "WELCOME TO KAVRIX OPERATING SYSTEM 1.1", "KAVRIX - A SPACE GAME FOR ONE PILOT", "CODE: THE KAVRIX TEAM",
        "ART, SOUND, MUSIC: THE KAVRIX TEAM",     "THANKS TO ALL OUR TEST PILOTS",
    };
    const std::vector<std::string_view>& czech = CzechTexts().prikazy;
    lines.insert(lines.end(), czech.begin() + lines.size(), czech.end());
    return lines;
}

}  // namespace

const TextSource& EnglishTexts() {
    static const TextSource english = {
        .texty =
            {
                "        The year is 2071. Mankind has settled the Solar System to its farthest edges. ",
                "For decades a chain of guard stations has watched over a peaceful frontier. ",
                "But three weeks ago a scout unit sent far beyond the last station fell silent. ",
                "Its final report was static, broken orders and the image of a vast alien ship. ",
                "Command has raised the alarm, but every fighter wing is away in distant sectors. ",
                "All that is left at the base is a reserve pilot and an old fighter of the Kavrix type. ",
                "Its armour has seen better days, its guns are dated, its engines loud, but it flies. ",
                "Cross the sector, find the black boxes of the lost unit and learn what happened. ",
                "The commander awaits your call. Start your engines, pilot. Mankind has only you.",
                "#1",
                "Commander here. Welcome, pilot.",
                "The scouts vanished in this sector without a trace.",
                "Find their black boxes and bring them home.",
                "Watch out, a meteor storm is on the radar!",
                "Keep moving and shoot anything in your way. Out.",
                "#2",
                "Well done, pilot. The black boxes are read.",
                "The unit did not break down. It was attacked.",
                "They were not human. They were aliens.",
                "They are headed for our stations.",
                "Stop them before they reach the system!",
                "Pilot! You brought back not one black box!",
                "That is not my idea of serving in this wing.",
                "Luckily a station picked up a distress call.",
                "Unknown alien warships destroyed the unit.",
                "Now they are heading for our stations.",
                "Make it right in battle. Stop them, no excuses!",
                "#3",
                "Recon has found something troubling, pilot.",
                "Behind our stations the invaders build cities.",
                "Barriers guard them. Blast through them!",
                "#9",
                "Pilot, the hour that decides this war has come.",
                "We found the invaders' mother ship. It is huge.",
                "All their attacks come from its decks.",
                "Destroy it before it is too late.",
                "The ship is about to launch a probe.",
                "The probe will carry Earth's position to them.",
                "If it escapes, more fleets will come.",
                "Good luck, pilot. All of mankind is with you.",
                "#",
                "Warning! The mother ship is on the radar!",
                "Its defences are strong. Aim at the turrets.",
                "Keep at it, pilot. Now or never!",
                "#",
                "The mother ship is destroyed! You did it, pilot.",
                "The stations are safe. We all thank you.",
                "Only that probe... no one saw it destroyed. Out.",
                "#6",
                "Look out, pilot! Another meteor storm!",
                "#",
            },
        .prikazy = EnglishTerminal(),
        .words =
            {
                .items =
                    {
                        {{{"NEW", 24, 28}, {"GAME", 20, 38}}, 2},
                        {{{"CONTINUE", 8, 33}}, 1},
                        {{{"LOAD", 20, 28}, {"PROFILE", 12, 38}}, 2},
                        {{{"SCORE", 17, 33}}, 1},
                        {{{"HELP", 21, 33}}, 1},
                        {{{"QUIT", 22, 33}}, 1},
                    },
                .ending = "FAR OUT IN SPACE ...",
                .storyPrompt = "Press Enter to continue",
                .keys =
                    {
                        .space = "Space",
                        .up = "Up",
                        .down = "Down",
                        .left = "Left",
                        .right = "Right",
                        .arrows = "Arrows",
                        .orWord = "or",
                        .stick = "stick",
                        .dpad = "D-pad",
                    },
                .messages =
                    {
                        .savedFilesIntro = "Kavrix could not use all of its saved files.",
                        .savedFileProblem = "The saved file '{file}' {problem}.",
                        .defaultsInUse = "Its defaults are in use.",
                        .keptAs = "Before the game first saves over it, it will be kept as '{file}'.",
                        .endsAllTheSame = "The game ends all the same.",
                    },
            },
    };
    return english;
}
