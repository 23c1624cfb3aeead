// The page's controls in the browser build: what web/touch.js sends, kept in
// fixed room until the next frame takes it, and the scene's controls told
// back to the page.
#include <emscripten.h>

#include <algorithm>
#include <cstdint>

#include "media/cp1250.h"
#include "media/page_controls.h"
#include "media/surface.h"

namespace {

// More than a player's fingers send between two frames; the rest is dropped.
constexpr int kMostEvents = 64;

// The menu takes one typed character a frame (the name field keeps the
// frame's last): characters wait here and go one a frame, as typing does,
// even when the on-screen keyboard hands over a whole word at once.
struct CharacterQueue {
    uint8_t codes[kMostEvents];
    int first = 0, count = 0;
};

struct PageInput {
    InputSet states;
    PlatformEvent events[kMostEvents];
    int count = 0;
    CharacterQueue typed;
    ControlsHint shown;
    bool told = false;
};
PageInput page;

void Queue(const PlatformEvent& event) {
    if (page.count < kMostEvents) page.events[page.count++] = event;
}

// clang-format off
EM_JS(void, TellPageControls, (int mode, int left, int top, int right, int bottom), {
    if (Module['kavrixControls']) Module['kavrixControls'](mode, left, top, right, bottom);
});
// clang-format on

}  // namespace

extern "C" {

// The input states the page's controls hold (bit n is input state n).
EMSCRIPTEN_KEEPALIVE void kavrix_page_states(uint32_t mask) { page.states = InputSet(mask); }

// The pointer moved to (x, y) in surface pixels, and clicked there when click is 1.
EMSCRIPTEN_KEEPALIVE void kavrix_page_pointer(int x, int y, int click) {
    PlatformEvent move{EventKind::MouseMove};
    move.x = std::clamp(x, 0, kSurfaceWidth - 1);
    move.y = std::clamp(y, 0, kSurfaceHeight - 1);
    Queue(move);
    if (click) {
        PlatformEvent press = move;
        press.kind = EventKind::Click;
        Queue(press);
    }
}

// A character typed (a Unicode code point), or Backspace 8, Enter 13, Escape 27.
EMSCRIPTEN_KEEPALIVE void kavrix_page_character(int character) {
    const bool control = character == 8 || character == 13 || character == 27;
    const uint8_t code = control ? uint8_t(character) : UnicodeToCp1250(char32_t(character));
    if (!control && code < 0x20) return;  // none in cp1250
    CharacterQueue& typed = page.typed;
    if (typed.count < kMostEvents) typed.codes[(typed.first + typed.count++) % kMostEvents] = code;
}

}  // extern "C"

void TakePageEvents(std::vector<PlatformEvent>& events) {
    events.insert(events.end(), page.events, page.events + page.count);
    page.count = 0;
    CharacterQueue& typed = page.typed;
    if (typed.count == 0) return;
    PlatformEvent key{EventKind::KeyPress};
    key.key = typed.codes[typed.first];
    typed.first = (typed.first + 1) % kMostEvents;
    --typed.count;
    events.push_back(key);
}

InputSet PageInputStates() { return page.states; }

void ShowPageControls(const ControlsHint& hint) {
    if (page.told && hint == page.shown) return;
    page.told = true;
    page.shown = hint;
    TellPageControls(int(hint.mode), hint.field.left, hint.field.top, hint.field.right, hint.field.bottom);
}
