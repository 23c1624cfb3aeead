// Small fixed-size containers the game state is built from: arrays that keep
// the 1-based numbering of the game's records, and strings that never
// allocate during a frame.
#pragma once
#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

// An array numbered First..First+N-1 (LevelObjects 1..1200, ItemSlots 1..3).
template <class T, int N, int First = 1>
struct NumberedArray {
    std::array<T, N> items{};
    T& operator[](int i) { return items[size_t(i - First)]; }
    const T& operator[](int i) const { return items[size_t(i - First)]; }
    static constexpr int first = First;
    static constexpr int last = First + N - 1;
    auto begin() { return items.begin(); }
    auto end() { return items.end(); }
    auto begin() const { return items.begin(); }
    auto end() const { return items.end(); }
};

// A Pascal string[20]: one length byte and 20 cp1250 bytes, kept byte for
// byte as it lies in a saved file (bytes past the length are carried along).
struct ShortString20 {
    uint8_t length = 0;
    char chars[20] = {};
    // The visible text; a length above 20 is read as 20.
    std::string_view View() const { return std::string_view(chars, length > 20 ? 20 : length); }
    void Assign(std::string_view text) {
        length = uint8_t(text.size() > 20 ? 20 : text.size());
        std::memcpy(chars, text.data(), length);
    }
    bool Empty() const { return length == 0; }
};

// A string with fixed capacity for texts changed during play (the commander
// line). Assigning never allocates; longer texts are cut at the capacity.
template <int Capacity>
struct FixedString {
    char data[Capacity] = {};
    int size = 0;
    void Assign(std::string_view text) {
        size = int(text.size() > size_t(Capacity) ? Capacity : text.size());
        std::memcpy(data, text.data(), size_t(size));
    }
    std::string_view View() const { return std::string_view(data, size_t(size)); }
    bool operator==(std::string_view other) const { return View() == other; }
};
