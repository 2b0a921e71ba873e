#include "framework/display_check.h"

#include <dlfcn.h>

#include <cstdlib>
#include <string_view>

namespace fw::internal {
namespace {

// libxcb is loaded only when the platform is X11, as Qt's own X11 plugin loads
// it, so the program links no X library and builds against Qt alone. These are
// the few entry points of its stable interface (soname 1) that the check uses.
struct Xcb {
  struct Connection;
  struct Setup;
  // xcb_connection_has_error's answer for a screen the server does not have.
  static constexpr int kInvalidScreen = 6;

  Connection* (*connect)(const char* display, int* screen) = nullptr;
  int (*hasError)(Connection*) = nullptr;
  void (*disconnect)(Connection*) = nullptr;
  const Setup* (*getSetup)(Connection*) = nullptr;
  int (*rootsLength)(const Setup*) = nullptr;

  // Null when the library or one of its entry points is missing. Kept loaded:
  // Qt loads the same library next.
  static const Xcb* Load() {
    static const Xcb* loaded = []() -> const Xcb* {
      void* library = dlopen("libxcb.so.1", RTLD_NOW | RTLD_LOCAL);
      if (library == nullptr) return nullptr;
      static Xcb xcb;
      bool found = Bind(library, "xcb_connect", xcb.connect) &&
                   Bind(library, "xcb_connection_has_error", xcb.hasError) &&
                   Bind(library, "xcb_disconnect", xcb.disconnect) &&
                   Bind(library, "xcb_get_setup", xcb.getSetup) &&
                   Bind(library, "xcb_setup_roots_length", xcb.rootsLength);
      return found ? &xcb : nullptr;
    }();
    return loaded;
  }

 private:
  template <typename Function>
  static bool Bind(void* library, const char* name, Function& function) {
    function = reinterpret_cast<Function>(dlsym(library, name));
    return function != nullptr;
  }
};

bool Set(const char* variable) {
  const char* value = std::getenv(variable);
  return value != nullptr && *value != '\0';
}

}  // namespace

DisplayCheck::DisplayCheck() {
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  std::string_view name = platform ? platform : "";
  bool x11 = name.starts_with("xcb") || (name.empty() && !Set("WAYLAND_DISPLAY"));
  if (name.empty() && !Set("DISPLAY") && !Set("WAYLAND_DISPLAY")) {
    missing_ = "no display to open windows on (DISPLAY is not set)";
    return;
  }
  if (name.starts_with("wayland") && !Set("WAYLAND_DISPLAY")) {
    missing_ = "no display to open windows on (WAYLAND_DISPLAY is not set)";
    return;
  }
  if (!x11) return;
  if (!Set("DISPLAY")) {
    missing_ = "no display to open windows on (DISPLAY is not set)";
    return;
  }
  // Qt aborts the process when it cannot reach the display, or when the
  // display has no such screen: ask first.
  std::string display = std::getenv("DISPLAY");
  const Xcb* xcb = Xcb::Load();
  if (xcb == nullptr) {
    missing_ = "cannot open the display " + display + ": the X library libxcb.so.1 is missing";
    return;
  }
  int screen = 0;
  Xcb::Connection* connection = xcb->connect(nullptr, &screen);
  connection_ = connection;
  int error = xcb->hasError(connection);
  // Given the screen's number to fill in, xcb checks that the server has it.
  if (error == Xcb::kInvalidScreen ||
      (error == 0 && screen >= xcb->rootsLength(xcb->getSetup(connection)))) {
    missing_ =
        "cannot open the display " + display + ": it has no screen " + std::to_string(screen);
  } else if (error != 0) {
    missing_ = "cannot open the display " + display;
  }
}

DisplayCheck::~DisplayCheck() {
  // xcb_connect never returns null; a failed connection is freed the same way.
  if (connection_ != nullptr) Xcb::Load()->disconnect(static_cast<Xcb::Connection*>(connection_));
}

}  // namespace fw::internal
