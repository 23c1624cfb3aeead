// Input states: the key table, the joystick mapping, the edge-triggered
// update with consumed states, the key names of input scripts, and the
// player's bindings turned into the game's keys.
#include <gtest/gtest.h>

#include <string>

#include "media/input.h"
#include "media/key_bindings.h"

namespace {

KeySet Keys(std::initializer_list<GameKey> keys) {
    KeySet set;
    for (GameKey k : keys) set.set(size_t(k));
    return set;
}

InputSet States(std::initializer_list<InputState> states) {
    InputSet set;
    for (InputState s : states) set.set(s);
    return set;
}

TEST(KeyTable, EveryKeyFeedsItsState) {
    struct Row {
        GameKey key;
        InputState state;
    };
    const Row table[] = {
        {GameKey::K, isUp},          {GameKey::Up, isUp},          {GameKey::J, isDown},
        {GameKey::Down, isDown},     {GameKey::H, isLeft},         {GameKey::Left, isLeft},
        {GameKey::L, isRight},       {GameKey::Right, isRight},    {GameKey::Space, isButton1},
        {GameKey::Enter, isButton2}, {GameKey::F2, isButton3},     {GameKey::F3, isButton4},
        {GameKey::Key1, isButton5},  {GameKey::KP1, isButton5},    {GameKey::Key2, isButton6},
        {GameKey::KP2, isButton6},   {GameKey::Key3, isButton7},   {GameKey::KP3, isButton7},
        {GameKey::F1, isButton8},    {GameKey::KPPlus, isButton9}, {GameKey::KPMinus, isButton10},
        {GameKey::F12, isButton11},
    };
    for (const Row& row : table)
        EXPECT_EQ(StatesFromKeys(Keys({row.key})), States({row.state})) << GameKeyName(row.key);
    // Escape belongs to the window's key events, not to the states.
    EXPECT_TRUE(StatesFromKeys(Keys({GameKey::Escape})).none());
    EXPECT_EQ(StatesFromKeys(Keys({GameKey::Up, GameKey::Space, GameKey::KP2})), States({isUp, isButton1, isButton6}));
    EXPECT_EQ(StatesFromKeys(Keys({GameKey::K, GameKey::Up})), States({isUp}));
}

TEST(Joystick, AxesBeyondTheDeadZoneAndButtons) {
    EXPECT_TRUE(StatesFromJoystick(0, 0, 0).none());
    EXPECT_TRUE(StatesFromJoystick(-50, 50, 0).none());
    EXPECT_EQ(StatesFromJoystick(-51, 0, 0), States({isLeft}));
    EXPECT_EQ(StatesFromJoystick(1000, 0, 0), States({isRight}));
    EXPECT_EQ(StatesFromJoystick(0, -1000, 0), States({isUp}));
    EXPECT_EQ(StatesFromJoystick(0, 51, 0), States({isDown}));
    EXPECT_EQ(StatesFromJoystick(-700, 700, 0), States({isLeft, isDown}));
    EXPECT_EQ(StatesFromJoystick(0, 0, 1u), States({isButton1}));
    EXPECT_EQ(StatesFromJoystick(0, 0, (1u << 2) | (1u << 31)), States({isButton3, isButton32}));
}

// One frame as the game runs it: sample, update, then the routine tests the
// state and consumes it when it acts on it.
bool FrameSeesAndConsumes(Input& input, const KeySet& held, InputState state) {
    UpdateInput(input, StatesFromKeys(held));
    const bool seen = IsHeld(input, state);
    if (seen) Consume(input, state);
    return seen;
}

TEST(UpdateInput, ConsumedStateReturnsOnlyOnTheNextPress) {
    Input input;
    const KeySet space = Keys({GameKey::Space}), none;
    EXPECT_TRUE(FrameSeesAndConsumes(input, space, isButton1));
    for (int frame = 0; frame < 30; ++frame)
        EXPECT_FALSE(FrameSeesAndConsumes(input, space, isButton1)) << "held frame " << frame;
    EXPECT_FALSE(FrameSeesAndConsumes(input, none, isButton1));
    EXPECT_TRUE(FrameSeesAndConsumes(input, space, isButton1));
    EXPECT_FALSE(FrameSeesAndConsumes(input, space, isButton1));
}

TEST(UpdateInput, UnconsumedStateStaysWhileHeld) {
    Input input;
    const KeySet right = Keys({GameKey::Right}), none;
    for (int frame = 0; frame < 5; ++frame) {
        UpdateInput(input, StatesFromKeys(right));
        EXPECT_TRUE(IsHeld(input, isRight));
    }
    UpdateInput(input, StatesFromKeys(none));
    EXPECT_FALSE(IsHeld(input, isRight));
}

TEST(UpdateInput, SecondKeyOfAStateIsNoNewPress) {
    Input input;
    EXPECT_TRUE(FrameSeesAndConsumes(input, Keys({GameKey::Up}), isUp));
    // K joins while Up is still held: the state was already in the sample.
    EXPECT_FALSE(FrameSeesAndConsumes(input, Keys({GameKey::Up, GameKey::K}), isUp));
    EXPECT_FALSE(FrameSeesAndConsumes(input, Keys({GameKey::K}), isUp));
}

TEST(KeyNames, ScriptNamesRoundTrip) {
    // Every key has one name, read back without regard to letter case.
    for (int k = 0; k < int(GameKey::Count); ++k) {
        const std::string name = GameKeyName(GameKey(k));
        GameKey key{};
        ASSERT_TRUE(GameKeyFromName(name.c_str(), key)) << name;
        EXPECT_EQ(int(key), k) << name;
    }
    GameKey key{};
    EXPECT_TRUE(GameKeyFromName("KP+", key));
    EXPECT_EQ(key, GameKey::KPPlus);
    EXPECT_TRUE(GameKeyFromName("space", key));
    EXPECT_EQ(key, GameKey::Space);
    EXPECT_TRUE(GameKeyFromName("leftctrl", key));
    EXPECT_EQ(key, GameKey::LeftCtrl);
    EXPECT_FALSE(GameKeyFromName("F13", key));
    EXPECT_FALSE(GameKeyFromName("", key));
    EXPECT_FALSE(GameKeyFromName(nullptr, key));
}

TEST(KeyBindings, TheDefaultsGiveEveryKeyItsStateOfTheKeyTable) {
    // Czech games and their recordings stay as they were: through the
    // default bindings every key feeds the states it fed by itself.
    for (int k = 0; k < int(GameKey::Count); ++k) {
        const KeySet held = Keys({GameKey(k)});
        EXPECT_EQ(StatesFromKeys(GameKeysFromHeld(held, DefaultKeyBindings())), StatesFromKeys(held))
            << GameKeyName(GameKey(k));
    }
}

TEST(KeyBindings, BoundKeysBecomeTheGameKeysOfTheirActions) {
    KeyBindings bindings = DefaultKeyBindings();
    std::string bad;
    ASSERT_TRUE(ParseKeyList("w, Up", bindings.actions[int(KeyAction::Up)], bad));
    ASSERT_TRUE(ParseKeyList("LeftCtrl space LEFTCTRL", bindings.actions[int(KeyAction::Fire)], bad));
    ASSERT_TRUE(ParseKeyList("", bindings.actions[int(KeyAction::Help)], bad));
    EXPECT_EQ(FormatKeyList(bindings.Of(KeyAction::Up)), "W Up");
    EXPECT_EQ(FormatKeyList(bindings.Of(KeyAction::Fire)), "LeftCtrl Space");
    // The game sees its own keys: Up for W, Space for the left Ctrl.
    EXPECT_EQ(GameKeysFromHeld(Keys({GameKey::W}), bindings), Keys({GameKey::Up}));
    EXPECT_EQ(GameKeysFromHeld(Keys({GameKey::LeftCtrl, GameKey::D}), bindings), Keys({GameKey::Space}));
    EXPECT_TRUE(GameKeysFromHeld(Keys({GameKey::K, GameKey::F1}), bindings).none()) << "K and F1 are free now";
    EXPECT_EQ(GameKeysFromHeld(Keys({GameKey::L}), bindings), Keys({GameKey::Right})) << "the rest keep theirs";

    KeyList list = bindings.Of(KeyAction::Down);
    EXPECT_FALSE(ParseKeyList("S Foo", list, bad));
    EXPECT_EQ(bad, "Foo");
    EXPECT_FALSE(ParseKeyList("A B C D E", list, bad)) << "four keys at most";
    EXPECT_EQ(FormatKeyList(list), "Down J") << "a bad list changes nothing";

    uint16_t buttons = 0;
    ASSERT_TRUE(ParsePadButtons("rightshoulder, A", buttons, bad));
    EXPECT_EQ(FormatPadButtons(buttons), "A RightShoulder");
    EXPECT_FALSE(ParsePadButtons("Z", buttons, bad));
}

}  // namespace
