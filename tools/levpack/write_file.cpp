// Atomic file writes for the collection writer: a temporary file in the same
// directory, renamed over the target.
#include <cstdio>
#include <fstream>
#include <stdexcept>

#include "levpack.h"

namespace levpack {

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    const std::string temp = path + ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        out.flush();
        if (!out) throw std::runtime_error("Cannot write file " + temp);
    }
    if (std::rename(temp.c_str(), path.c_str()) != 0) {
        std::remove(temp.c_str());
        throw std::runtime_error("Cannot replace file " + path);
    }
}

}  // namespace levpack
