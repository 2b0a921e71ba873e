#pragma once
// The character codes that a KeyDown handler receives, as the first character
// of its key string, for keys that have no text of their own. Printable keys
// give their own text.

#include <cstdint>

namespace fw::keys {

inline constexpr std::int64_t kHome = 1;
inline constexpr std::int64_t kEnter = 3;  // the keypad's Enter
inline constexpr std::int64_t kEnd = 4;
inline constexpr std::int64_t kInsert = 5;  // Insert and Help
inline constexpr std::int64_t kBackspace = 8;
inline constexpr std::int64_t kTab = 9;
inline constexpr std::int64_t kPageUp = 11;
inline constexpr std::int64_t kPageDown = 12;
inline constexpr std::int64_t kReturn = 13;
inline constexpr std::int64_t kFunction = 16;  // function keys and others without text
inline constexpr std::int64_t kEscape = 27;
inline constexpr std::int64_t kLeft = 28;
inline constexpr std::int64_t kRight = 29;
inline constexpr std::int64_t kUp = 30;
inline constexpr std::int64_t kDown = 31;
inline constexpr std::int64_t kDelete = 127;

}  // namespace fw::keys
