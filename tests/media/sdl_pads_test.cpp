// Pads on the real SDL platform (SDL's dummy video driver, virtual devices):
// a pad with a layout flies, fires, uses the item slots and skips lines by
// its layout, Start and Back arrive as Escape and Enter and A as a click, the
// left stick drives the menu's pointer; a joystick without a layout keeps
// its numbered buttons; devices come and go; a button released while the
// window is out of focus is not held when the focus returns.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "media/input.h"
#include "media/platform.h"

namespace {

class SdlPads : public testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        SdlOptions options;
        options.fullScreen = false;
        platform = CreateSdlPlatform(options);
        ASSERT_TRUE(platform);
    }
    void TearDown() override {
        if (handle) SDL_JoystickClose(handle);
        platform.reset();
    }

    // Attaches a virtual device: a pad SDL knows the layout of, or a plain joystick.
    void Attach(bool layout) {
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = layout ? SDL_JOYSTICK_TYPE_GAMECONTROLLER : SDL_JOYSTICK_TYPE_UNKNOWN;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.name = layout ? "Kavrix test pad" : "Kavrix test stick";
        const int index = SDL_JoystickAttachVirtualEx(&desc);
        ASSERT_GE(index, 0) << SDL_GetError();
        ASSERT_EQ(bool(SDL_IsGameController(index)), layout);
        handle = SDL_JoystickOpen(index);
        ASSERT_TRUE(handle);
        id = SDL_JoystickInstanceID(handle);
        Poll();  // the platform hears of the new device
    }

    // Pad buttons by their layout's name (the virtual pad's button n is
    // SDL's controller button n).
    void Button(SDL_GameControllerButton button, bool down) {
        SDL_JoystickSetVirtualButton(handle, button, down ? SDL_PRESSED : SDL_RELEASED);
        Poll();
    }
    void Axis(SDL_GameControllerAxis axis, int value) {
        SDL_JoystickSetVirtualAxis(handle, axis, Sint16(value));
        Poll();
    }
    void Poll() {
        SDL_JoystickUpdate();
        platform->PollEvents(events);
    }
    void PushFocus(Uint8 what) {
        SDL_Event e{};
        e.type = SDL_WINDOWEVENT;
        e.window.event = what;
        SDL_PushEvent(&e);
        Poll();
    }
    bool Held(InputState state) { return platform->JoystickStates().test(state); }
    bool Saw(EventKind kind, uint8_t key = 0) {
        for (const PlatformEvent& e : events)
            if (e.kind == kind && e.key == key) return true;
        return false;
    }

    std::unique_ptr<Platform> platform;
    SDL_Joystick* handle = nullptr;
    SDL_JoystickID id = -1;
    std::vector<PlatformEvent> events;
};

TEST_F(SdlPads, APadWithALayoutPlaysTheWholeGame) {
    Attach(true);
    EXPECT_TRUE(platform->JoystickStates().none());
    const struct {
        SDL_GameControllerButton button;
        InputState state;
    } layout[] = {
        {SDL_CONTROLLER_BUTTON_A, kFireKey},         {SDL_CONTROLLER_BUTTON_X, kItemKey1},
        {SDL_CONTROLLER_BUTTON_Y, kItemKey2},        {SDL_CONTROLLER_BUTTON_B, kItemKey3},
        {SDL_CONTROLLER_BUTTON_BACK, kNextLineKey},  {SDL_CONTROLLER_BUTTON_DPAD_UP, isUp},
        {SDL_CONTROLLER_BUTTON_DPAD_DOWN, isDown},   {SDL_CONTROLLER_BUTTON_DPAD_LEFT, isLeft},
        {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, isRight},
    };
    for (const auto& row : layout) {
        Button(row.button, true);
        InputSet expected;
        expected.set(row.state);
        EXPECT_EQ(platform->JoystickStates(), expected) << "button " << row.button;
        Button(row.button, false);
    }
    // The pad's other buttons are not the keyboard's F-keys, as a pad's raw
    // numbers would be (sound, music, help).
    Button(SDL_CONTROLLER_BUTTON_LEFTSHOULDER, true);
    Button(SDL_CONTROLLER_BUTTON_GUIDE, true);
    EXPECT_TRUE(platform->JoystickStates().none());

    events.clear();
    Button(SDL_CONTROLLER_BUTTON_START, true);
    EXPECT_TRUE(Saw(EventKind::KeyPress, 27)) << "Start is Escape";
    Button(SDL_CONTROLLER_BUTTON_BACK, true);
    EXPECT_TRUE(Saw(EventKind::KeyPress, 13)) << "Back is Enter";
    Button(SDL_CONTROLLER_BUTTON_A, true);
    EXPECT_TRUE(Saw(EventKind::Click)) << "A clicks in the menu";

    // The left stick flies past its dead zone and drives the pointer.
    Axis(SDL_CONTROLLER_AXIS_LEFTX, 20000);
    Axis(SDL_CONTROLLER_AXIS_LEFTY, -32768);
    EXPECT_TRUE(Held(isRight));
    EXPECT_TRUE(Held(isUp));
    int x = 0, y = 0;
    platform->PadStick(x, y);
    EXPECT_EQ(x, 20000 * 1000 / 32767);
    EXPECT_EQ(y, -1000);
    Axis(SDL_CONTROLLER_AXIS_LEFTX, 4000);  // inside the dead zone
    Axis(SDL_CONTROLLER_AXIS_LEFTY, -4000);
    EXPECT_FALSE(Held(isRight));
    EXPECT_FALSE(Held(isUp));
    platform->PadStick(x, y);
    EXPECT_EQ(x, 0);

    // Unplugged while held: nothing stays held.
    Button(SDL_CONTROLLER_BUTTON_A, true);
    ASSERT_TRUE(Held(kFireKey));
    SDL_JoystickClose(handle);
    handle = nullptr;
    SDL_JoystickDetachVirtual(0);
    Poll();
    EXPECT_TRUE(platform->JoystickStates().none());
    // Plugged in again while the game runs: read at once.
    Attach(true);
    Button(SDL_CONTROLLER_BUTTON_Y, true);
    EXPECT_TRUE(Held(kItemKey2));
}

TEST_F(SdlPads, AJoystickWithoutALayoutKeepsItsNumberedButtons) {
    Attach(false);
    Button(SDL_GameControllerButton(1), true);  // its second button: the second input button
    InputSet expected;
    expected.set(isButton2);
    EXPECT_EQ(platform->JoystickStates(), expected);
    Button(SDL_GameControllerButton(1), false);
    Axis(SDL_GameControllerAxis(0), -32768);  // its first axis to the left
    EXPECT_TRUE(Held(isLeft));
    int x = 1, y = 1;
    platform->PadStick(x, y);
    EXPECT_EQ(x, 0) << "only a pad with a layout moves the menu's pointer";
    events.clear();
    Button(SDL_GameControllerButton(0), true);
    EXPECT_TRUE(events.empty()) << "no clicks or characters from numbered buttons";
}

TEST_F(SdlPads, AButtonReleasedOutOfFocusIsUpWhenTheFocusReturns) {
    Attach(true);
    Input input;
    Button(SDL_CONTROLLER_BUTTON_A, true);
    UpdateInput(input, platform->JoystickStates());
    ASSERT_TRUE(IsHeld(input, kFireKey));
    PushFocus(SDL_WINDOWEVENT_FOCUS_LOST);
    EXPECT_TRUE(platform->JoystickStates().none()) << "nothing is read out of focus";
    Button(SDL_CONTROLLER_BUTTON_A, false);
    events.clear();
    Button(SDL_CONTROLLER_BUTTON_START, true);
    EXPECT_FALSE(Saw(EventKind::KeyPress, 27)) << "a press out of focus is not the game's";
    Button(SDL_CONTROLLER_BUTTON_START, false);
    PushFocus(SDL_WINDOWEVENT_FOCUS_GAINED);
    UpdateInput(input, platform->JoystickStates());
    EXPECT_FALSE(IsHeld(input, kFireKey));
    // And a button still held through the focus change is still held.
    Button(SDL_CONTROLLER_BUTTON_X, true);
    PushFocus(SDL_WINDOWEVENT_FOCUS_LOST);
    PushFocus(SDL_WINDOWEVENT_FOCUS_GAINED);
    UpdateInput(input, platform->JoystickStates());
    EXPECT_TRUE(IsHeld(input, kItemKey1));
}

}  // namespace
