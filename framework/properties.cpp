#include "framework/properties.h"

#include <array>
#include <type_traits>

namespace fw {
namespace {

template <class T, class... Ts>
constexpr std::size_t IndexIn(const std::variant<Ts...>*) {
  constexpr bool matches[] = {std::is_same_v<T, Ts>...};
  std::size_t index = 0;
  while (!matches[index]) ++index;
  return index;
}

// The index of T among PropertyValue's types.
template <class T>
constexpr std::size_t kTypeOf = IndexIn<T>(static_cast<const PropertyValue*>(nullptr));

struct Ignored {
  std::string_view owner;
  std::string_view name;
  std::size_t type;  // the index of the value's type in PropertyValue
};

// Settings of the platform the windows were designed on that mean nothing
// here (data binding, focus rings, drawing hints, spell checking ...), by the
// class that accepts them. They are type-checked and kept in the applied list.
constexpr std::array kIgnored = {
    Ignored{"Window", "HasFullScreenButton", kTypeOf<bool>},
    Ignored{"Window", "Composite", kTypeOf<bool>},
    Ignored{"Window", "MacProcID", kTypeOf<std::int64_t>},
    Ignored{"Window", "FullScreen", kTypeOf<bool>},
    Ignored{"Window", "LiveResize", kTypeOf<bool>},
    Ignored{"Control", "TabPanelIndex", kTypeOf<std::int64_t>},
    Ignored{"Control", "DataSource", kTypeOf<std::string>},
    Ignored{"Control", "DataField", kTypeOf<std::string>},
    Ignored{"Control", "AllowAutoDeactivate", kTypeOf<bool>},
    Ignored{"RectControl", "AllowFocusRing", kTypeOf<bool>},
    Ignored{"RectControl", "Transparent", kTypeOf<bool>},
    Ignored{"RectControl", "DoubleBuffer", kTypeOf<bool>},
    Ignored{"RectControl", "AllowTabs", kTypeOf<bool>},
    Ignored{"TextStyle", "FontUnit", kTypeOf<FontUnit>},
    Ignored{"TextField", "Format", kTypeOf<std::string>},
    Ignored{"TextField", "AllowSpellChecking", kTypeOf<bool>},
    Ignored{"TextArea", "LineHeight", kTypeOf<double>},
    Ignored{"TextArea", "LineSpacing", kTypeOf<double>},
    Ignored{"TextArea", "MaximumCharactersAllowed", kTypeOf<std::int64_t>},
    Ignored{"TextArea", "Format", kTypeOf<std::string>},
    Ignored{"TextArea", "ValidationMask", kTypeOf<std::string>},
    Ignored{"TextArea", "Multiline", kTypeOf<bool>},
    Ignored{"TextArea", "AllowStyledText", kTypeOf<bool>},
    Ignored{"TextArea", "AllowSpellChecking", kTypeOf<bool>},
    Ignored{"PushButton", "MacButtonStyle", kTypeOf<std::int64_t>},
    Ignored{"Timer", "Enabled", kTypeOf<bool>},
};

}  // namespace

const char* TypeName(const PropertyValue& value) {
  static constexpr const char* kNames[] = {"integer", "boolean", "string",   "colour",
                                           "single",  "double",  "font unit"};
  return kNames[value.index()];
}

void ThrowWrongType(const Property& property, std::string_view owner) {
  throw RuntimeException("property " + property.name + " of " + std::string(owner) +
                         " does not take a " + TypeName(property.value));
}

bool IsIgnoredProperty(std::string_view owner, const Property& property) {
  for (const Ignored& ignored : kIgnored) {
    if (ignored.owner != owner || ignored.name != property.name) continue;
    if (property.value.index() != ignored.type) ThrowWrongType(property, owner);
    return true;
  }
  return false;
}

}  // namespace fw
