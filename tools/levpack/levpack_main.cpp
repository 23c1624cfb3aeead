// levpack: packs PNG pictures or raw PCM sounds listed in a text manifest
// into one collection file.
//   levpack pictures OUT.lev MANIFEST.txt
//   levpack waves OUT.lev MANIFEST.txt
#include <cstdio>
#include <string>
#include <vector>

#include "manifest.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string errors;
    const int status = levpack::RunLevpack(args, errors);
    if (!errors.empty()) std::fputs(errors.c_str(), stderr);
    return status;
}
