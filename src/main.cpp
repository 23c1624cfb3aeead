// Program entry of Kavrix: reads the options and runs the game in a window
// (full screen by default) or headless; the exit status reports failures.
// Whatever escapes the run is told as a message with a failing status, never
// an abort.
#include <exception>
#include <iostream>
#include <string>

#include "shell/options.h"
#include "shell/runner.h"

int main(int argc, char** argv) {
    try {
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
    } catch (const std::exception& e) {
        std::cerr << "Kavrix: " << e.what() << "\n";
    } catch (...) {
        std::cerr << "Kavrix: an unexpected error ended the game\n";
    }
    return 1;
}
