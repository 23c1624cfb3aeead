// Bounds-checked reading of collection files: a byte reader that never reads
// past its end, and the tagged values of the "TPF0" object stream (integers,
// booleans, strings, identifiers, binaries, and skipping of every other kind).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "media/media_error.h"

// A damaged object stream (data ending early, a value of the wrong kind, an
// unknown property). The loader adds the name of the property being read.
struct StreamReadError : MediaError {
    using MediaError::MediaError;
};

// Tags of the object stream's values.
enum class ValueTag : uint8_t {
    Null = 0,
    List = 1,
    Int8 = 2,
    Int16 = 3,
    Int32 = 4,
    Extended = 5,
    String = 6,
    Ident = 7,
    False = 8,
    True = 9,
    Binary = 10,
    Set = 11,
    LString = 12,
    Nil = 13,
    Collection = 14,
    Single = 15,
    Currency = 16,
    Date = 17,
    WString = 18,
    Int64 = 19,
};

// Reads little-endian fields from a block of bytes. Every read checks the
// remaining length first; running out throws the error given at construction
// (StreamReadError "Stream read error" unless told otherwise).
class ByteReader {
public:
    enum class OnEnd { StreamError, DibInvalid, WaveInvalid };

    ByteReader(const uint8_t* data, size_t size, OnEnd onEnd = OnEnd::StreamError)
        : data_(data), size_(size), onEnd_(onEnd) {}

    size_t Position() const { return pos_; }
    size_t Remaining() const { return size_ - pos_; }
    bool AtEnd() const { return pos_ >= size_; }
    const uint8_t* Current() const { return data_ + pos_; }

    uint8_t Peek() const {
        Need(1);
        return data_[pos_];
    }
    uint8_t U8() {
        Need(1);
        return data_[pos_++];
    }
    uint16_t U16() {
        Need(2);
        const uint16_t v = uint16_t(data_[pos_] | (data_[pos_ + 1] << 8));
        pos_ += 2;
        return v;
    }
    uint32_t U32() {
        Need(4);
        const uint32_t v = uint32_t(data_[pos_]) | (uint32_t(data_[pos_ + 1]) << 8) |
                           (uint32_t(data_[pos_ + 2]) << 16) | (uint32_t(data_[pos_ + 3]) << 24);
        pos_ += 4;
        return v;
    }
    uint64_t U64() {
        const uint64_t lo = U32();
        return lo | (uint64_t(U32()) << 32);
    }
    // The next n bytes; the reader moves past them.
    const uint8_t* Take(uint64_t n) {
        Need(n);
        const uint8_t* p = data_ + pos_;
        pos_ += size_t(n);
        return p;
    }
    void Skip(uint64_t n) { Take(n); }
    // A length byte, then that many characters.
    std::string ShortString() {
        const uint8_t n = U8();
        const uint8_t* p = Take(n);
        return std::string(reinterpret_cast<const char*>(p), n);
    }

    [[noreturn]] void Fail() const;

private:
    void Need(uint64_t n) const {
        if (n > Remaining()) Fail();
    }

    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
    OnEnd onEnd_;
};

// Value readers of the object stream. Each reads the tag and its payload and
// throws StreamReadError when the tag is not of the expected kind.
int32_t ReadIntegerValue(ByteReader& in);
bool ReadBooleanValue(ByteReader& in);
std::string ReadStringValue(ByteReader& in);
// An identifier, or a boolean written as false/true ("False"/"True").
std::string ReadIdentValue(ByteReader& in);
// A binary value: returns its bytes in place (pointer and length).
struct ByteSpan {
    const uint8_t* data = nullptr;
    size_t size = 0;
};
ByteSpan ReadBinaryValue(ByteReader& in);
// Skips one value of any kind (nested lists and collections included).
void SkipValue(ByteReader& in);
