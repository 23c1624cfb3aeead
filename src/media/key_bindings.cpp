// The default keys and pad buttons of the game's actions, their names in
// kavrix.conf, reading and writing lists of keys, and the held keys turned
// into the game's keys.
#include "media/key_bindings.h"

#include <strings.h>

namespace {

struct ActionSpec {
    const char* name;
    // The default keys; the first is the action's own key, the one the game
    // and recordings see (none for full screen, which is no input state).
    KeyList defaults;
    bool inputState;
};

// Every action and its keys as the game's key table has them.
const ActionSpec kActions[kKeyActionCount] = {
    {"up", {{GameKey::Up, GameKey::K}, 2}, true},
    {"down", {{GameKey::Down, GameKey::J}, 2}, true},
    {"left", {{GameKey::Left, GameKey::H}, 2}, true},
    {"right", {{GameKey::Right, GameKey::L}, 2}, true},
    {"fire", {{GameKey::Space}, 1}, true},
    {"item1", {{GameKey::Key1, GameKey::KP1}, 2}, true},
    {"item2", {{GameKey::Key2, GameKey::KP2}, 2}, true},
    {"item3", {{GameKey::Key3, GameKey::KP3}, 2}, true},
    {"next-line", {{GameKey::Enter}, 1}, true},
    {"sound", {{GameKey::F2}, 1}, true},
    {"music", {{GameKey::F3}, 1}, true},
    {"help", {{GameKey::F1}, 1}, true},
    {"louder", {{GameKey::KPPlus}, 1}, true},
    {"quieter", {{GameKey::KPMinus}, 1}, true},
    {"frame-rate", {{GameKey::F12}, 1}, true},
    {"full-screen", {{GameKey::F11}, 1}, false},
};

constexpr const char* kPadActionNames[kPadActionCount] = {"fire", "item1", "item2", "item3", "next-line", "menu"};
constexpr PadButton kPadDefaults[kPadActionCount] = {PadButton::A, PadButton::X,    PadButton::Y,
                                                     PadButton::B, PadButton::Back, PadButton::Start};
constexpr const char* kPadButtonNames[int(PadButton::Count)] = {
    "A",
    "B",
    "X",
    "Y",
    "Back",
    "Guide",
    "Start",
    "LeftStick",
    "RightStick",
    "LeftShoulder",
    "RightShoulder",
    "DPadUp",
    "DPadDown",
    "DPadLeft",
    "DPadRight",
};

KeyBindings MakeDefaults() {
    KeyBindings bindings;
    for (int a = 0; a < kKeyActionCount; ++a) bindings.actions[a] = kActions[a].defaults;
    for (int a = 0; a < kPadActionCount; ++a) bindings.pad[a] = uint16_t(1u << int(kPadDefaults[a]));
    return bindings;
}

// The words of a list: runs of characters between spaces, tabs and commas.
template <class Word>
bool EachWord(std::string_view text, Word word) {
    size_t at = 0;
    while (at < text.size()) {
        if (text[at] == ' ' || text[at] == '\t' || text[at] == ',') {
            ++at;
            continue;
        }
        size_t end = at;
        while (end < text.size() && text[end] != ' ' && text[end] != '\t' && text[end] != ',') ++end;
        if (!word(text.substr(at, end - at))) return false;
        at = end;
    }
    return true;
}

}  // namespace

bool KeyList::Holds(GameKey key) const {
    for (int i = 0; i < count; ++i)
        if (keys[i] == key) return true;
    return false;
}

bool KeyBindings::operator==(const KeyBindings& other) const {
    for (int a = 0; a < kKeyActionCount; ++a) {
        if (actions[a].count != other.actions[a].count) return false;
        for (int i = 0; i < actions[a].count; ++i)
            if (actions[a].keys[i] != other.actions[a].keys[i]) return false;
    }
    for (int a = 0; a < kPadActionCount; ++a)
        if (pad[a] != other.pad[a]) return false;
    return true;
}

const KeyBindings& DefaultKeyBindings() {
    static const KeyBindings defaults = MakeDefaults();
    return defaults;
}

const char* KeyActionName(KeyAction action) { return kActions[int(action)].name; }
const char* PadActionName(PadAction action) { return kPadActionNames[int(action)]; }
const char* PadButtonName(PadButton button) { return kPadButtonNames[int(button)]; }

bool PadButtonFromName(std::string_view name, PadButton& button) {
    for (int b = 0; b < int(PadButton::Count); ++b) {
        const std::string_view candidate = kPadButtonNames[b];
        if (candidate.size() == name.size() && strncasecmp(candidate.data(), name.data(), name.size()) == 0) {
            button = PadButton(b);
            return true;
        }
    }
    return false;
}

bool ParseKeyList(std::string_view text, KeyList& list, std::string& bad) {
    KeyList read;
    const bool ok = EachWord(text, [&](std::string_view word) {
        GameKey key;
        if (!GameKeyFromName(std::string(word).c_str(), key)) {
            bad = std::string(word);
            return false;
        }
        if (read.Holds(key)) return true;
        if (read.count == kMaxKeysPerAction) {
            bad = std::string(word) + " (more than " + std::to_string(kMaxKeysPerAction) + " keys)";
            return false;
        }
        read.keys[read.count++] = key;
        return true;
    });
    if (ok) list = read;
    return ok;
}

std::string FormatKeyList(const KeyList& list) {
    std::string text;
    for (int i = 0; i < list.count; ++i) text += std::string(i ? " " : "") + GameKeyName(list.keys[i]);
    return text;
}

bool ParsePadButtons(std::string_view text, uint16_t& buttons, std::string& bad) {
    uint16_t read = 0;
    const bool ok = EachWord(text, [&](std::string_view word) {
        PadButton button;
        if (!PadButtonFromName(word, button)) {
            bad = std::string(word);
            return false;
        }
        read |= uint16_t(1u << int(button));
        return true;
    });
    if (ok) buttons = read;
    return ok;
}

std::string FormatPadButtons(uint16_t buttons) {
    std::string text;
    for (int b = 0; b < int(PadButton::Count); ++b)
        if (buttons & (1u << b)) text += std::string(text.empty() ? "" : " ") + kPadButtonNames[b];
    return text;
}

KeySet GameKeysFromHeld(const KeySet& held, const KeyBindings& bindings) {
    KeySet keys;
    for (int a = 0; a < kKeyActionCount; ++a) {
        if (!kActions[a].inputState) continue;
        const KeyList& bound = bindings.actions[a];
        for (int i = 0; i < bound.count; ++i) {
            if (!held.test(size_t(bound.keys[i]))) continue;
            keys.set(size_t(kActions[a].defaults.keys[0]));
            break;
        }
    }
    return keys;
}
