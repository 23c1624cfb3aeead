// Tagged values of the "TPF0" object stream: integers of every width,
// booleans, the three string kinds, identifiers, binaries, and skipping of the
// kinds the collections never use.
#include "media/object_stream.h"

namespace {

// Lists and collections nest; a damaged file must not recurse without end.
constexpr int kMaxNesting = 32;

[[noreturn]] void WrongKind(uint8_t tag) {
    throw StreamReadError("Invalid property value (value tag " + std::to_string(tag) + ")");
}

void SkipValueAt(ByteReader& in, int depth);

// Collection items: optional order value, then property pairs until 0.
void SkipCollection(ByteReader& in, int depth) {
    while (in.Peek() != 0) {
        const uint8_t first = in.Peek();
        if (first == uint8_t(ValueTag::Int8) || first == uint8_t(ValueTag::Int16) || first == uint8_t(ValueTag::Int32))
            ReadIntegerValue(in);
        while (in.Peek() != 0) {
            in.ShortString();
            SkipValueAt(in, depth + 1);
        }
        in.U8();
    }
    in.U8();
}

void SkipValueAt(ByteReader& in, int depth) {
    if (depth > kMaxNesting) throw StreamReadError("Values nested too deeply");
    const uint8_t tag = in.U8();
    switch (ValueTag(tag)) {
        case ValueTag::Null:
        case ValueTag::False:
        case ValueTag::True:
        case ValueTag::Nil: return;
        case ValueTag::List:
            while (in.Peek() != 0) SkipValueAt(in, depth + 1);
            in.U8();
            return;
        case ValueTag::Int8: in.Skip(1); return;
        case ValueTag::Int16: in.Skip(2); return;
        case ValueTag::Int32:
        case ValueTag::Single: in.Skip(4); return;
        case ValueTag::Extended: in.Skip(10); return;
        case ValueTag::Currency:
        case ValueTag::Date:
        case ValueTag::Int64: in.Skip(8); return;
        case ValueTag::String:
        case ValueTag::Ident: in.Skip(in.U8()); return;
        case ValueTag::Binary:
        case ValueTag::LString: in.Skip(in.U32()); return;
        case ValueTag::WString: in.Skip(uint64_t(in.U32()) * 2); return;
        case ValueTag::Set:
            while (!in.ShortString().empty()) {
            }
            return;
        case ValueTag::Collection: SkipCollection(in, depth); return;
    }
    WrongKind(tag);
}

}  // namespace

void ByteReader::Fail() const {
    switch (onEnd_) {
        case OnEnd::DibInvalid: throw MediaError("DIB is invalid");
        case OnEnd::WaveInvalid: throw MediaError("Wave is invalid");
        case OnEnd::StreamError: break;
    }
    throw StreamReadError("Stream read error");
}

int32_t ReadIntegerValue(ByteReader& in) {
    const uint8_t tag = in.U8();
    switch (ValueTag(tag)) {
        case ValueTag::Int8: return int8_t(in.U8());
        case ValueTag::Int16: return int16_t(in.U16());
        case ValueTag::Int32: return int32_t(in.U32());
        case ValueTag::Int64: {
            const int64_t v = int64_t(in.U64());
            if (v < INT32_MIN || v > INT32_MAX) throw StreamReadError("Integer value out of range");
            return int32_t(v);
        }
        default: WrongKind(tag);
    }
}

bool ReadBooleanValue(ByteReader& in) {
    const uint8_t tag = in.Peek();
    if (tag == uint8_t(ValueTag::False) || tag == uint8_t(ValueTag::True)) {
        in.U8();
        return tag == uint8_t(ValueTag::True);
    }
    if (tag == uint8_t(ValueTag::Ident)) {
        std::string name = ReadIdentValue(in);
        for (char& c : name) c = char(c >= 'A' && c <= 'Z' ? c + 32 : c);
        if (name == "true") return true;
        if (name == "false") return false;
    }
    WrongKind(tag);
}

std::string ReadStringValue(ByteReader& in) {
    const uint8_t tag = in.U8();
    switch (ValueTag(tag)) {
        case ValueTag::String: {
            const uint8_t n = in.U8();
            return std::string(reinterpret_cast<const char*>(in.Take(n)), n);
        }
        case ValueTag::LString: {
            const uint32_t n = in.U32();
            const uint8_t* p = in.Take(n);
            return std::string(reinterpret_cast<const char*>(p), n);
        }
        case ValueTag::WString: {
            // UTF-16 characters; names are single-byte, anything beyond stays '?'.
            const uint32_t count = in.U32();
            const uint8_t* p = in.Take(uint64_t(count) * 2);
            std::string s(count, '?');
            for (uint32_t i = 0; i < count; ++i) {
                const uint16_t ch = uint16_t(p[2 * i] | (p[2 * i + 1] << 8));
                if (ch < 0x100) s[i] = char(ch);
            }
            return s;
        }
        default: WrongKind(tag);
    }
}

std::string ReadIdentValue(ByteReader& in) {
    const uint8_t tag = in.U8();
    switch (ValueTag(tag)) {
        case ValueTag::Ident: {
            const uint8_t n = in.U8();
            return std::string(reinterpret_cast<const char*>(in.Take(n)), n);
        }
        case ValueTag::False: return "False";
        case ValueTag::True: return "True";
        case ValueTag::Null: return "";
        case ValueTag::Nil: return "nil";
        default: WrongKind(tag);
    }
}

ByteSpan ReadBinaryValue(ByteReader& in) {
    const uint8_t tag = in.U8();
    if (tag != uint8_t(ValueTag::Binary)) WrongKind(tag);
    const uint32_t n = in.U32();
    return ByteSpan{in.Take(n), n};
}

void SkipValue(ByteReader& in) { SkipValueAt(in, 0); }
