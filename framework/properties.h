#pragma once
// Property lists: the fixed design-time settings of a window or control, as
// (name, typed value) entries applied in order by one call. Windows and
// controls apply them the same way: each class has a table of setters by
// name, asked from the class up to its bases; the names that this platform
// accepts and ignores are listed once, in properties.cpp. An unknown name or
// a value of the wrong type is an error, so that a typo cannot pass silently.

#include <concepts>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "framework/values.h"

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

// The entry's value as a T; a value of another type raises RuntimeException
// naming the entry and its owner (a class name).
[[noreturn]] void ThrowWrongType(const Property& property, std::string_view owner);

template <class T>
const T& PropertyAs(const Property& property, std::string_view owner) {
  if (const T* typed = std::get_if<T>(&property.value)) return *typed;
  ThrowWrongType(property, owner);
}

// Sets field from the entry, checking the type.
template <class V>
void Assign(V& field, const Property& property, std::string_view owner) {
  field = PropertyAs<V>(property, owner);
}

// One entry of a class's table: the property's name and what applying it does.
template <class T>
struct PropertySetter {
  std::string_view name;
  void (*apply)(T& object, const Property& property);
};

// Whether owner accepts the entry only to ignore it (a setting that means
// nothing on this platform). A wrong type for such a name is still an error.
bool IsIgnoredProperty(std::string_view owner, const Property& property);

// Applies the entry from owner's table, or accepts it where owner ignores
// it; false when owner does not know the name (its base may).
template <class T>
bool ApplyFromTable(std::span<const PropertySetter<T>> table, std::string_view owner, T& object,
                    const Property& property) {
  for (const PropertySetter<T>& setter : table) {
    if (setter.name == property.name) {
      setter.apply(object, property);
      return true;
    }
  }
  return IsIgnoredProperty(owner, property);
}

}  // namespace fw
