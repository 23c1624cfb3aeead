// The words of the language in use beyond the two text lists: the menu
// items' captions, the caption of the ending, the story screen's prompt,
// the words the help page puts beside the keys, and the message boxes'
// sentences. Drawn words are cp1250; message-box sentences are UTF-8, as
// the window system shows them. frontend/texts.cpp fills them.
#pragma once
#include <string>

// A menu item's caption on its dark plate: one or two lines, each placed
// from the item's top-left corner.
struct ItemCaption {
    struct Line {
        std::string text;
        int dx = 0, dy = 0;
    };
    Line lines[2];
    int count = 0;
};

// The help page's words for keys that have a name in the language rather
// than a label on the key, and for the pad's stick and cross.
struct KeyWords {
    std::string space, up, down, left, right;
    std::string arrows;  // the four arrow keys together
    std::string orWord;  // "arrows or H J K L"
    std::string stick, dpad;
};

// The sentences of the message box about damaged saved files and of a quit
// whose saving failed. "{file}" and "{problem}" stand for the file's path
// and what was wrong with it.
struct MessageWords {
    std::string savedFilesIntro;   // "Kavrix could not use all of its saved files."
    std::string savedFileProblem;  // "The saved file '{file}' {problem}."
    std::string defaultsInUse;
    std::string keptAs;          // "... kept as '{file}'."
    std::string endsAllTheSame;  // after a failed step of quitting
};

struct Words {
    ItemCaption items[6];
    std::string ending;       // under the probe in the ending
    std::string storyPrompt;  // under the story text once it is typed
    KeyWords keys;
    MessageWords messages;
};
