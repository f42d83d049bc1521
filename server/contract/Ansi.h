#pragma once
// Text for the narrow (ANSI) entry points of the system: tooltips, the shell, DrawTextA.
#include <string>
#include <string_view>

namespace tessel {

// The text in the ANSI code page; characters the code page lacks become its default character.
std::string AnsiFromWide(std::wstring_view text);

// Whether the ANSI code page holds every character of the text, so that the narrow entry points
// show it as it is; text beyond it goes through the wide ones.
bool AnsiHolds(std::wstring_view text);

}  // namespace tessel
