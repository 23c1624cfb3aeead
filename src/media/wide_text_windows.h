// The Windows edge of the game's text: the game keeps every string in UTF-8,
// Windows' own calls take and give UTF-16. Only the Windows build has it.
#pragma once
#include <string>
#include <string_view>

#include <windows.h>

std::wstring WideFromUtf8(std::string_view text);
std::string Utf8FromWide(std::wstring_view text);
// What a Windows error code means, in words and UTF-8, without the closing
// full stop and line end ("Access is denied").
std::string WindowsErrorText(DWORD error);
