// The touch controls of the scene and menu page that run now.
#include "shell/touch_controls.h"

#include "frontend/menu_layout.h"
#include "state/world.h"

ControlsHint ControlsFor(const World& w) {
    ControlsHint hint;
    if (w.shell.CurrentScene == Scene::HlavniHra) {
        hint.mode = ControlsMode::Flight;
    } else if (w.shell.CurrentScene == Scene::Menu && w.front.MenuPage == Page::NewGame) {
        hint.field = Rect{kNameField.left, kNameField.top, kNameField.right, kNameField.bottom};
        if (w.front.NameEntryActive) hint.mode = ControlsMode::Typing;
    }
    return hint;
}
