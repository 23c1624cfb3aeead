// Program entry on Windows: the command line is read in UTF-16 and handed to
// the game's own main (main.cpp, built as KavrixMain) in UTF-8, so file names
// with any letters arrive whole; a game started from a console writes its
// messages there, in UTF-8.
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "media/wide_text_windows.h"

int KavrixMain(int argc, char** argv);

namespace {

bool HasHandle(DWORD which) {
    HANDLE handle = ::GetStdHandle(which);
    return handle && handle != INVALID_HANDLE_VALUE && ::GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

// The game is a Windows program, which gets no console of its own (a player
// starting it sees no black window). Started from cmd.exe or PowerShell, it
// writes to theirs; output sent elsewhere (a file, a pipe) stays there.
void UseParentConsole() {
    if (HasHandle(STD_OUTPUT_HANDLE) && HasHandle(STD_ERROR_HANDLE)) return;
    if (!::AttachConsole(ATTACH_PARENT_PROCESS)) return;
    if (!HasHandle(STD_OUTPUT_HANDLE)) std::freopen("CONOUT$", "w", stdout);
    if (!HasHandle(STD_ERROR_HANDLE)) std::freopen("CONOUT$", "w", stderr);
}

}  // namespace

int main(int, char**) {
    UseParentConsole();
    // The console shows the game's UTF-8 text as it is, and gets its own
    // code page back afterwards.
    const UINT consolePage = ::GetConsoleOutputCP();
    if (consolePage != 0) ::SetConsoleOutputCP(CP_UTF8);

    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 0; wide && i < count; ++i) arguments.push_back(Utf8FromWide(wide[i]));
    if (wide) ::LocalFree(wide);
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);

    const int status = KavrixMain(int(arguments.size()), argv.data());
    std::fflush(stdout);
    std::fflush(stderr);
    if (consolePage != 0) ::SetConsoleOutputCP(consolePage);
    return status;
}
