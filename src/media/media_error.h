// The one error type of the media layer: a missing picture or wave name, a
// damaged collection file. The message is the text shown to the user.
#pragma once
#include <stdexcept>
#include <string>

struct MediaError : std::runtime_error {
    using std::runtime_error::runtime_error;
};
