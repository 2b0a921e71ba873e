#pragma once
// The application's fixed help text, embedded at build time from
// help_text.txt: nothing is read from a file at run time.

#include <cstdint>
#include <string_view>

namespace kestrova {

// UTF-8; lines are broken by CR alone, and the text does not end with one.
std::string_view HelpText();

// The heading line "Kestrova" is set in bold over this many characters. A
// constant, so the help window never measures the text to find it.
inline constexpr std::int64_t kHelpHeadingLength = 8;

}  // namespace kestrova
