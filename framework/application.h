#pragma once
// The application object: version data, menu bar and the application events,
// none of which the framework needs the application to handle.

#include <cstdint>
#include <memory>
#include <string>

#include "framework/object.h"

namespace fw {

class MenuBar;

struct VersionData {
  std::int64_t majorVersion = 0;
  std::int64_t minorVersion = 0;
  std::int64_t bugVersion = 0;
  std::int64_t nonReleaseVersion = 0;
  std::int64_t stageCode = 0;
  std::string longVersion;
  std::string shortVersion;
  std::string packageInfo;
};

class Application : public Object {
 public:
  std::string_view ClassName() const override { return "Application"; }

  // The eight values in this order; the name and short version also go to Qt.
  void SetVersionData(std::int64_t major, std::int64_t minor, std::int64_t bug,
                      std::int64_t nonRelease, std::int64_t stage, std::string longVersion,
                      std::string shortVersion, std::string packageInfo);
  const VersionData& Version() const { return version_; }

  void SetMenuBar(std::shared_ptr<MenuBar> bar);
  std::shared_ptr<MenuBar> GetMenuBar() const { return menuBar_; }

  static void SetSupportsHiDPI(bool supports);
  static bool SupportsHiDPI();

  // Asked by the framework before it raises an application event; an
  // application class answers from its class table.
  virtual bool IsEventImplemented(std::string_view event) const;

 private:
  VersionData version_;
  std::shared_ptr<MenuBar> menuBar_;
};

// A new, unconstructed object of an application class (the class is
// registered first if it is not yet).
template <class T>
std::shared_ptr<T> RuntimeNewObject();

}  // namespace fw

#include "framework/runtime.h"

namespace fw {
template <class T>
std::shared_ptr<T> RuntimeNewObject() {
  testing::MaybeFail("RuntimeNewObject");
  const ClassInfo& info = T::Lookup();
  RuntimeTraceAdd("RuntimeNewObject " + info.name);
  return std::make_shared<T>();
}
}  // namespace fw
