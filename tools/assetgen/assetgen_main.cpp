// Asset generator entry (placeholder until the generators are built).
#include <filesystem>
#include <string>
int main(int argc, char** argv) {
    std::string out = "data";
    for (int i = 1; i + 1 < argc; ++i)
        if (std::string(argv[i]) == "--out") out = argv[i + 1];
    std::filesystem::create_directories(out);
    return 0;
}
