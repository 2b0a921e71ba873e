#include "framework/controls/control.h"

#include <array>

namespace fw {

Control::Control() = default;
Control::~Control() = default;

void Control::SetWindow(const std::shared_ptr<Window>& window) {
  window_ = window;
}

std::shared_ptr<Window> Control::GetWindow() const {
  return window_.lock();
}

void Control::SetProperties(const PropertyList& list) {
  for (const Property& property : list) {
    if (!ApplyProperty(property)) {
      throw RuntimeException("a " + std::string(ClassName()) + " has no property named " +
                             property.name);
    }
    applied_.push_back(property);
  }
}

bool Control::ApplyProperty(const Property& property) {
  static constexpr std::array<PropertySetter<Control>, 2> kSetters = {{
      {"Name", [](Control& c, const Property& p) { Assign(c.name_, p, c.ClassName()); }},
      {"Index", [](Control& c, const Property& p) { Assign(c.index_, p, c.ClassName()); }},
  }};
  return ApplyFromTable<Control>(kSetters, "Control", *this, property);
}

}  // namespace fw
