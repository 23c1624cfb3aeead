// Writing the state dump as JSON with the game's own names as keys. Names
// are cp1250 in memory and written as UTF-8 JSON strings.
#include "shell/state_dump.h"

#include <cinttypes>
#include <cstdio>
#include <stdexcept>

#include "media/cp1250.h"
#include "media/whole_file.h"
#include "shell/replay.h"
#include "state/state_fields.h"
#include "state/world.h"

namespace {

// A small JSON writer: objects and arrays with commas placed for us.
class Json {
public:
    std::string out;

    void Key(const char* key) {
        Comma();
        out += '"';
        out += key;
        out += "\":";
        needComma = false;
    }
    void Open(char bracket) {
        Comma();
        out += bracket;
        needComma = false;
    }
    void Close(char bracket) {
        out += bracket;
        needComma = true;
    }
    void Int(int64_t v) {
        Comma();
        out += std::to_string(v);
        needComma = true;
    }
    void Hex(uint64_t v) {
        char buffer[24];
        std::snprintf(buffer, sizeof buffer, "%016" PRIx64, v);
        String(buffer);
    }
    void String(std::string_view utf8) {
        Comma();
        out += '"';
        for (unsigned char c : utf8) {
            if (c == '"' || c == '\\') {
                out += '\\';
                out += char(c);
            } else if (c < 0x20) {
                char buffer[8];
                std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
                out += buffer;
            } else {
                out += char(c);
            }
        }
        out += '"';
        needComma = true;
    }
    void Cp1250(std::string_view text) { String(Cp1250ToUtf8(text)); }

private:
    bool needComma = false;
    void Comma() {
        if (needComma) out += ',';
    }
};

// Writes the field list as JSON: the fields in use, without the hash-only ones.
class DumpVisitor {
public:
    Json& j;
    explicit DumpVisitor(Json& json) : j(json) {}

    template <class T>
    void Int(const char* name, const T& v) {
        if (name) j.Key(name);
        j.Int(int64_t(v));
    }
    void Index(const char* name, int64_t v) { Int(name, v); }
    template <class T>
    void Hidden(const char*, const T&) {}
    template <class T>
    void Text(const char* name, const T& cp1250) {
        j.Key(name);
        j.Cp1250(FieldText(cp1250));
    }
    template <class T>
    void HiddenText(const char*, const T&) {}
    template <class T>
    void Carried(const char*, const T&) {}
    void Key(const char* name) { j.Key(name); }
    void BeginObject() { j.Open('{'); }
    void EndObject() { j.Close('}'); }
    void BeginArray(const char* name) {
        j.Key(name);
        j.Open('[');
    }
    void EndArray() { j.Close(']'); }
    bool Element(bool inUse) { return inUse; }
};

}  // namespace

std::string StateDumpJson(const World& w) {
    Json j;
    j.Open('{');
    DumpVisitor dump(j);
    state_fields::World(dump, w);
    j.Key("GameStateHash");
    j.Hex(GameStateHash(w));
    j.Key("SurfaceHash");
    j.Hex(SurfaceHash(*w.media.back));
    j.Close('}');
    j.out += '\n';
    return j.out;
}

void WriteStateDump(const World& w, const std::string& path) {
    const std::string json = StateDumpJson(w);
    WriteFileAtomically(path, reinterpret_cast<const uint8_t*>(json.data()), json.size(), "the state dump ");
}
