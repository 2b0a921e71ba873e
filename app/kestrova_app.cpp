#include "app/kestrova_app.h"

namespace kestrova {

const fw::ClassInfo& Kestrova::Lookup() {
  static const fw::ClassInfo& info = fw::RegisterClass({"Kestrova", "Application", {}});
  return info;
}

bool Kestrova::IsEventImplemented(std::string_view event) const {
  return fw::RuntimeIsEventHandled(*this, Lookup().name, event, true);
}

}  // namespace kestrova
