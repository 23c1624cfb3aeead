// Program entry of Kavrix: reads the options and runs the game in a window
// (full screen by default) or headless; the exit status reports failures.
#include <iostream>
#include <string>

#include "shell/options.h"
#include "shell/runner.h"

int main(int argc, char** argv) {
    RunOptions options;
    std::string error;
    if (!ParseOptions(argc, argv, options, error)) {
        std::cerr << "kavrix: " << error << "\n" << UsageText() << "Try 'kavrix --help' for what each option does.\n";
        return 2;
    }
    if (options.help) {
        std::cout << UsageText() << "\n" << HelpText();
        return 0;
    }
    if (options.version) {
        std::cout << VersionText();
        return 0;
    }
    return RunKavrix(options);
}
