// Environment variables on Linux and in the browser: their bytes as they are.
#include "media/environment.h"

#include <cstdlib>

std::string EnvironmentVariable(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}
