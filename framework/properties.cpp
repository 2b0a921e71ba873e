#include "framework/properties.h"

namespace fw {

const char* TypeName(const PropertyValue& value) {
  static constexpr const char* kNames[] = {"integer", "boolean", "string",   "colour",
                                           "single",  "double",  "font unit"};
  return kNames[value.index()];
}

}  // namespace fw
