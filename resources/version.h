#pragma once
// The application's version data. The rights notice is also the about
// window's one line of text, so both read it from here.

#include <cstdint>
#include <string_view>

namespace kestrova {

inline constexpr std::int64_t kMajorVersion = 1;
inline constexpr std::int64_t kMinorVersion = 0;
inline constexpr std::int64_t kBugVersion = 0;
inline constexpr std::int64_t kNonReleaseVersion = 0;
inline constexpr std::int64_t kStageCode = 0;
inline constexpr std::string_view kRightsNotice = "Copyright 2026 the Kestrova authors";
inline constexpr std::string_view kShortVersion = "1.0";
inline constexpr std::string_view kApplicationName = "Kestrova";
// The executable's name, and its folder in the data directory when installed;
// the top-level CMakeLists.txt names both from one variable.
inline constexpr std::string_view kProgramName = KESTROVA_PROGRAM_NAME;

}  // namespace kestrova
