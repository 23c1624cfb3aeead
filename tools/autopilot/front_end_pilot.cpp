// The front end's places: menu items at 66 + 119 i .. 138 + 119 i across
// and 262 .. 334 down, the name field, the difficulty rows, Start, the
// profile names and the load button of the load page, the quit question's
// No.
#include "front_end_pilot.h"

#include <cmath>
#include <cstdlib>

#include "state/world.h"

namespace autopilot {
namespace {

constexpr int kPointerStep = 45;  // pixels a hand moves the pointer per frame

struct Point {
    int x, y;
};
Point ItemCentre(int i) { return {102 + 119 * i, 298}; }
constexpr Point kNameField{180, 478};
constexpr Point kStart{722, 554};
constexpr Point kLoadButton{708, 424};
constexpr Point kQuitNo{483, 480};
Point DifficultyRow(int d) { return {524, 431 + 39 * (d - 1)}; }
Point ProfileName(int k) { return k <= 3 ? Point{174, 432 + 48 * (k - 1)} : Point{451, 432 + 48 * (k - 4)}; }

ScriptEvent Event(ScriptEventKind kind) {
    ScriptEvent e;
    e.kind = kind;
    return e;
}

}  // namespace

bool FrontEndPilot::PointTo(const World& w, int x, int y, std::vector<ScriptEvent>& events) {
    if (pointerX_ < 0) {
        pointerX_ = w.front.MouseX;
        pointerY_ = w.front.MouseY;
    }
    const int dx = x - pointerX_, dy = y - pointerY_;
    if (dx == 0 && dy == 0) return true;
    const double distance = std::sqrt(double(dx) * dx + double(dy) * dy);
    if (distance <= kPointerStep) {
        pointerX_ = x;
        pointerY_ = y;
    } else {
        pointerX_ += int(std::lround(dx * kPointerStep / distance));
        pointerY_ += int(std::lround(dy * kPointerStep / distance));
    }
    ScriptEvent e = Event(ScriptEventKind::Move);
    e.x = pointerX_;
    e.y = pointerY_;
    events.push_back(e);
    return false;
}

void FrontEndPilot::Click(std::vector<ScriptEvent>& events, int pause) {
    events.push_back(Event(ScriptEventKind::Click));
    wait_ = pause;
}

void FrontEndPilot::Type(uint8_t code, std::vector<ScriptEvent>& events, int pause) {
    ScriptEvent e = Event(ScriptEventKind::Type);
    e.code = code;
    events.push_back(e);
    wait_ = pause;
}

void FrontEndPilot::Intro(const World& w, std::vector<ScriptEvent>& events) {
    // Watch the emblem come together for a while, then a key.
    if (++sceneFrames_ == 400) Type(' ', events, 20);
}

void FrontEndPilot::NewGame(const World& w, std::vector<ScriptEvent>& events) {
    sceneFrames_ = 0;
    if (wait_ > 0) {
        --wait_;
        return;
    }
    const FrontEnd& f = w.front;
    if (f.MenuPage == Page::QuitQuestion) {  // a stray quit question: No
        if (PointTo(w, kQuitNo.x, kQuitNo.y, events)) Click(events, 12);
        return;
    }
    if (f.MenuPage != Page::NewGame) {
        const Point item = ItemCentre(0);
        if (PointTo(w, item.x, item.y, events)) Click(events, 25);
        return;
    }
    const std::string_view typed = f.EnteredName.View();
    const bool complete = typed == name_;
    if (!f.NameEntryActive && !complete) {
        if (PointTo(w, kNameField.x, kNameField.y, events)) Click(events, 15);
        return;
    }
    if (f.NameEntryActive && !complete) {
        if (name_.compare(0, typed.size(), typed) != 0 || typed.size() > name_.size()) {
            Type(8, events, 4);
        } else {
            Type(uint8_t(name_[typed.size()]), events, 5 + int(typed.size() % 3) * 2);
        }
        return;
    }
    if (f.NameEntryActive) {
        Type(13, events, 20);
        return;
    }
    // The difficulty is clicked even when it is already marked.
    if (!difficultyChosen_ || w.game.Progress.Difficulty != difficulty_) {
        const Point row = DifficultyRow(difficulty_);
        if (PointTo(w, row.x, row.y, events)) {
            Click(events, 20);
            difficultyChosen_ = true;
        }
        return;
    }
    if (PointTo(w, kStart.x, kStart.y, events) && f.HoverButton == 1) Click(events, 30);
}

void FrontEndPilot::LoadProfile(const World& w, int slot, std::vector<ScriptEvent>& events) {
    if (wait_ > 0) {
        --wait_;
        return;
    }
    const FrontEnd& f = w.front;
    if (f.MenuPage == Page::QuitQuestion) {
        if (PointTo(w, kQuitNo.x, kQuitNo.y, events)) Click(events, 12);
        return;
    }
    if (f.MenuPage != Page::Load) {
        const Point item = ItemCentre(2);
        if (PointTo(w, item.x, item.y, events)) Click(events, 25);
        return;
    }
    if (w.saved.CurrentProfile != slot) {
        const Point name = ProfileName(slot);
        if (PointTo(w, name.x, name.y, events)) Click(events, 20);
        return;
    }
    if (PointTo(w, kLoadButton.x, kLoadButton.y, events) && f.HoverButton == 2) Click(events, 30);
}

void FrontEndPilot::TextScreen(const World& w, std::vector<ScriptEvent>& events) {
    ++sceneFrames_;
    if (wait_ > 0) {
        --wait_;
        return;
    }
    // Read a few lines as they are typed, show the rest at once, then go.
    if (w.game.TextScreenLine < 8 && sceneFrames_ >= 300) Type(' ', events, 90);
    else if (w.game.TextScreenLine == 8 && sceneFrames_ >= 300) Type(13, events, 30);
}

}  // namespace autopilot
