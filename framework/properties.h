#pragma once
// Property lists: the fixed design-time settings of a window or control, as
// (name, typed value) entries applied in order by one call. Each framework
// class maps names to setters; an unknown name or a value of the wrong type is
// an error, so that a typo cannot pass silently.

#include <concepts>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace fw {

// Four bytes in stored order: red, green, blue, then transparency (00 opaque).
struct Color {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  std::uint8_t alpha = 0;
  friend bool operator==(const Color&, const Color&) = default;
};

enum class FontUnit : std::uint8_t { Default = 0, Pixel = 1, Point = 2, Inch = 3, Millimeter = 4 };

using PropertyValue = std::variant<std::int64_t, bool, std::string, Color, float, double, FontUnit>;

struct Property {
  template <std::integral I>
  requires(!std::same_as<I, bool>) Property(std::string n, I v)
      : name(std::move(n)), value(static_cast<std::int64_t>(v)) {}
  Property(std::string n, bool v) : name(std::move(n)), value(v) {}
  Property(std::string n, const char* v) : name(std::move(n)), value(std::string(v)) {}
  Property(std::string n, std::string v) : name(std::move(n)), value(std::move(v)) {}
  Property(std::string n, Color v) : name(std::move(n)), value(v) {}
  Property(std::string n, float v) : name(std::move(n)), value(v) {}
  Property(std::string n, double v) : name(std::move(n)), value(v) {}
  Property(std::string n, FontUnit v) : name(std::move(n)), value(v) {}

  std::string name;
  PropertyValue value;
};

using PropertyList = std::vector<Property>;

// The Index of a control that is not a member of a control array.
inline constexpr std::int64_t kNoControlIndex = -2147483648LL;

// The name of a value's type, for error messages.
const char* TypeName(const PropertyValue& value);

}  // namespace fw
