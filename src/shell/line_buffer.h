// A recording's text held in memory while the game is played: its room is
// taken once, when the recording begins, and lines are copied in without
// touching the heap, so recording never costs a frame an allocation. What
// does not fit is not kept: the buffer says it is full and takes no more.
#pragma once
#include <cstring>
#include <memory>
#include <string_view>

class LineBuffer {
public:
    // The room is reserved, not touched: pages are used as lines arrive.
    explicit LineBuffer(size_t capacity) : data_(new char[capacity]), capacity_(capacity) {}

    // Appends the text as it is; false (and nothing more kept) once full.
    bool Append(std::string_view text) {
        if (full_ || text.size() > capacity_ - size_) {
            full_ = true;
            return false;
        }
        std::memcpy(data_.get() + size_, text.data(), text.size());
        size_ += text.size();
        return true;
    }
    // Appends the text and a newline.
    bool Line(std::string_view text) { return Append(text) && Append("\n"); }

    std::string_view Text() const { return std::string_view(data_.get(), size_); }
    bool Full() const { return full_; }

private:
    std::unique_ptr<char[]> data_;
    size_t capacity_ = 0, size_ = 0;
    bool full_ = false;
};
