// Writing and reading a replay's starting state. Both walk the field list and
// then the media fields below in one order, so a value is found by its place:
// numbers in decimal, a run of zeros as "0*N", a text as "t" and its bytes in
// hexadecimal. The version line of a recording guards the order.
#include "shell/starting_state.h"

#include <bitset>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string_view>
#include <type_traits>

#include "game/level_build.h"
#include "shell/line_buffer.h"
#include "state/state_fields.h"
#include "state/world.h"

namespace {

template <class T>
struct IsBitset : std::false_type {};
template <size_t N>
struct IsBitset<std::bitset<N>> : std::true_type {};

// The first picture of the scenery collection names it: "Kostky" for the
// city, "Lod" for the mother ship.
std::string_view SceneryName(const PictureCollection& level) {
    return level.items.empty() ? std::string_view() : std::string_view(level.items[0].Name);
}

// The fields the game reads outside the field list, in their order.
template <class V, class W>
void MediaFields(V& v, W& w, std::conditional_t<std::is_const_v<W>, const uint32_t, uint32_t>& clock) {
    v.Carried("clock", clock);
    v.Carried("InputStates", w.media.input.InputStates);
    v.Carried("previous", w.media.input.previous);
    auto& music = w.media.music;
    v.Carried("songFile", music.songFile);
    v.Carried("nextHandle", music.nextHandle);
    v.Carried("currentHandle", music.currentHandle);
    v.Carried("playing", music.playing);
    v.Carried("looping", music.looping);
    v.Carried("songLengthMs", music.songLengthMs);
    v.Carried("playedMs", music.playedMs);
    v.Carried("musicVolume", music.musicVolume);
    auto& canvas = w.media.canvas;
    v.Carried("Font.Name", canvas.Font.Name);
    v.Carried("Font.Height", canvas.Font.Height);
    v.Carried("Font.Bold", canvas.Font.Bold);
    v.Carried("Font.Color", canvas.Font.Color);
    v.Carried("BrushColor", canvas.BrushColor);
    v.Carried("PenColor", canvas.PenColor);
    v.Carried("penX", canvas.penX);
    v.Carried("penY", canvas.penY);
}

// Walks the world into "state" lines of about 100 characters.
class Writer : public FlatFieldVisitor {
public:
    explicit Writer(LineBuffer& out) : out_(out) {}
    ~Writer() = default;

    template <class T>
    void Int(const char*, const T& field) {
        Value(field);
    }
    template <class T>
    void Hidden(const char*, const T& field) {
        Value(field);
    }
    template <class T>
    void Carried(const char*, const T& field) {
        Value(field);
    }
    void Index(const char*, int64_t) {}
    void Text(const char*, std::string_view) {}  // computed for showing: not carried
    template <class T>
    void Text(const char*, const T& field) {
        TextWord(FieldText(field));
    }
    template <class T>
    void HiddenText(const char* name, const T& field) {
        Text(name, field);
    }

    void TextWord(std::string_view bytes) {
        FlushZeros();
        Word("t");
        static constexpr char kHex[] = "0123456789abcdef";
        for (unsigned char c : bytes) {
            const char pair[2] = {kHex[c >> 4], kHex[c & 15]};
            Continue(std::string_view(pair, 2));
        }
    }
    void Finish() {
        FlushZeros();
        FlushLine();
    }

private:
    LineBuffer& out_;
    char line_[160] = "state";
    size_t length_ = 5;
    bool started_ = false;  // the line holds a word
    int64_t zeros_ = 0;

    template <class T>
    void Value(const T& field) {
        if constexpr (IsBitset<T>::value) Number(int64_t(field.to_ullong()));
        else if constexpr (std::is_same_v<T, std::string>) TextWord(field);
        else if constexpr (std::is_integral_v<T> || std::is_enum_v<T>) Number(int64_t(field));
        else TextWord(FieldText(field));
    }
    void Number(int64_t value) {
        if (value == 0) {
            ++zeros_;
            return;
        }
        FlushZeros();
        char text[24];
        const int n = std::snprintf(text, sizeof text, "%lld", (long long)value);
        Word(std::string_view(text, size_t(n)));
    }
    void FlushZeros() {
        if (zeros_ == 0) return;
        char text[24];
        const int n = zeros_ == 1 ? std::snprintf(text, sizeof text, "0")
                                  : std::snprintf(text, sizeof text, "0*%lld", (long long)zeros_);
        zeros_ = 0;
        Word(std::string_view(text, size_t(n)));
    }
    // A new word, on a new line when this one is long.
    void Word(std::string_view word) {
        if (length_ > 100) FlushLine();
        line_[length_++] = ' ';
        started_ = true;
        Continue(word);
    }
    // More of the current word (a long text runs on past the line's length).
    void Continue(std::string_view more) {
        for (char c : more) {
            if (length_ == sizeof line_) {
                out_.Append(std::string_view(line_, length_));
                length_ = 0;
            }
            line_[length_++] = c;
        }
    }
    void FlushLine() {
        if (started_) out_.Line(std::string_view(line_, length_));
        std::memcpy(line_, "state", 5);
        length_ = 5;
        started_ = false;
    }
};

// Reads the words back in the same order.
class Reader : public FlatFieldVisitor {
public:
    explicit Reader(const std::string& words) : text_(words) {}

    template <class T>
    void Int(const char* name, T& field) {
        Value(name, field);
    }
    template <class T>
    void Hidden(const char* name, T& field) {
        Value(name, field);
    }
    template <class T>
    void Carried(const char* name, T& field) {
        Value(name, field);
    }
    void Index(const char*, int64_t) {}
    void Text(const char*, std::string_view) {}
    template <class T>
    void Text(const char* name, T& field) {
        AssignText(name, field, TextWord(name));
    }
    template <class T>
    void HiddenText(const char* name, T& field) {
        Text(name, field);
    }

    std::string TextWord(const char* name) {
        const std::string_view word = NextWord(name);
        if (word.empty() || word[0] != 't' || word.size() % 2 != 1) Fail(name, "a text", word);
        std::string bytes;
        for (size_t i = 1; i < word.size(); i += 2) {
            const int high = HexDigit(word[i]), low = HexDigit(word[i + 1]);
            if (high < 0 || low < 0) Fail(name, "a text", word);
            bytes += char(high * 16 + low);
        }
        return bytes;
    }
    void Finish() {
        if (zeros_ > 0) throw std::runtime_error("the starting state ends inside a run of zeros");
        SkipBlanks();
        if (at_ < text_.size()) throw std::runtime_error("the starting state holds more values than this game has");
    }

private:
    const std::string& text_;
    size_t at_ = 0;
    int64_t zeros_ = 0;  // zeros of a run still to be handed out

    [[noreturn]] static void Fail(const char* name, const char* expected, std::string_view word) {
        throw std::runtime_error(std::string("the starting state's ") + name + " is not " + expected + " ('" +
                                 std::string(word.substr(0, 40)) + "')");
    }
    static int HexDigit(char c) {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        return -1;
    }
    void SkipBlanks() {
        while (at_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[at_]))) ++at_;
    }
    std::string_view NextWord(const char* name) {
        SkipBlanks();
        const size_t from = at_;
        while (at_ < text_.size() && !std::isspace(static_cast<unsigned char>(text_[at_]))) ++at_;
        if (from == at_) throw std::runtime_error(std::string("the starting state ends before its ") + name);
        return std::string_view(text_).substr(from, at_ - from);
    }
    int64_t Number(const char* name) {
        if (zeros_ > 0) {
            --zeros_;
            return 0;
        }
        const std::string word(NextWord(name));
        char* end = nullptr;
        errno = 0;
        const long long value = std::strtoll(word.c_str(), &end, 10);
        if (errno != 0 || end == word.c_str()) Fail(name, "a number", word);
        if (*end == '*' && value == 0) {
            char* countEnd = nullptr;
            const long long count = std::strtoll(end + 1, &countEnd, 10);
            if (*countEnd != '\0' || count < 2 || count > 10'000'000) Fail(name, "a run of zeros", word);
            zeros_ = count - 1;
            return 0;
        }
        if (*end != '\0') Fail(name, "a number", word);
        return value;
    }
    template <class T>
    void Value(const char* name, T& field) {
        if constexpr (IsBitset<T>::value) {
            field = T(uint64_t(Number(name)));
        } else if constexpr (std::is_same_v<T, std::string>) {
            field = TextWord(name);
        } else if constexpr (std::is_same_v<T, bool>) {
            field = Number(name) != 0;
        } else if constexpr (std::is_integral_v<T> || std::is_enum_v<T>) {
            field = static_cast<T>(Number(name));
        } else {
            AssignText(name, field, TextWord(name));
        }
    }
    static void AssignText(const char*, ShortString20& field, const std::string& bytes) { field.Assign(bytes); }
    template <int Capacity>
    static void AssignText(const char*, FixedString<Capacity>& field, const std::string& bytes) {
        field.Assign(bytes);
    }
    static void AssignText(const char* name, Scene& scene, const std::string& bytes) {
        for (Scene s : {Scene::Intro, Scene::Menu, Scene::Uvod, Scene::HlavniHra, Scene::Animace}) {
            if (bytes != SceneName(s)) continue;
            scene = s;
            return;
        }
        Fail(name, "a scene", bytes);
    }
};

bool SameLetters(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

}  // namespace

void WriteStartingState(const World& w, uint32_t clock, LineBuffer& out) {
    Writer writer(out);
    state_fields::World(writer, w);
    MediaFields(writer, w, clock);
    writer.TextWord(SceneryName(w.media.Level));
    writer.Finish();
}

uint32_t ReadStartingState(World& w, const std::string& words) {
    Reader reader(words);
    uint32_t clock = 0;
    state_fields::World(reader, w);
    MediaFields(reader, w, clock);
    const std::string scenery = reader.TextWord("scenery");
    reader.Finish();
    if (SameLetters(scenery, "Kostky")) EnsureLevelScenery(w, 4);
    else if (SameLetters(scenery, "Lod")) EnsureLevelScenery(w, 9);
    else throw std::runtime_error("the starting state names no scenery the game has ('" + scenery + "')");
    for (WaveItem& item : w.media.Zvuky.items) StopSound(*w.media.mixer, item);
    RestoreSong(w.media.music);
    return clock;
}
