#pragma once
// The application object. It handles none of the application events and holds
// no data of its own: the version data and the menu bar live in
// fw::Application, and the framework's default behaviour applies throughout.

#include <string_view>

#include "framework/application.h"
#include "framework/object.h"

namespace kestrova {

class Kestrova : public fw::Application {
 public:
  static const fw::ClassInfo& Lookup();
  std::string_view ClassName() const override { return Lookup().name; }
  bool IsEventImplemented(std::string_view event) const override;

  // Does nothing; in particular it leaves fw::Application as it is.
  virtual void Constructor() {}
};

}  // namespace kestrova
