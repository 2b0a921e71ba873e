#pragma once
// Shared pieces of the runtime's widget tests: recording test windows, a
// fixture that leaves the runtime clean for the next test, and helpers that
// drive real widgets (activation, the live modal box, pictures on disk).

#include <gtest/gtest.h>

#include <QColor>
#include <QSize>
#include <QString>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "framework/controls.h"
#include "framework/object.h"
#include "framework/properties.h"
#include "framework/window.h"
#include "tests/support/modal_guard.h"

class QWidget;

namespace fwtest {

// What the test windows and controls did, in order.
std::vector<std::string>& Log();
int CountInLog(std::string_view entry);
// The log without the entries that start with prefix.
std::vector<std::string> LogWithout(std::string_view prefix);

// What a test window does in its events. Each window takes a copy of its
// class's script when it is made, so a test sets the script before the build.
struct WindowScript {
  std::function<void(fw::Window&)> layout;
  std::function<void(fw::Window&)> createControls;
  std::function<void(fw::Window&)> addMenuHandlers;
  std::function<void(fw::Window&)> close;
  std::function<bool(std::int64_t, std::int64_t)> mouseDown;
  std::function<bool(const std::string&)> keyDown;
};

// A window class registered under Traits::kName with the events of
// Traits::Events(); every event it receives is logged.
template <class Traits>
class RecordingWnd : public fw::Window {
 public:
  static const fw::ClassInfo& Lookup() {
    static const fw::ClassInfo& info =
        fw::RegisterClass({Traits::kName, "Window", Traits::Events()});
    return info;
  }
  static WindowScript& Next() {
    static WindowScript script;
    return script;
  }

  std::string_view ClassName() const override { return Lookup().name; }
  bool IsEventImplemented(std::string_view event) const override {
    return fw::RuntimeIsEventHandled(*this, Lookup().name, event, true);
  }

  void Layout() override {
    Log().push_back("Layout");
    if (script_.layout) script_.layout(*this);
  }
  void CreateControls() override {
    Log().push_back("CreateControls");
    if (script_.createControls) script_.createControls(*this);
  }
  void AddMenuHandlers() override {
    Log().push_back("AddMenuHandlers");
    if (script_.addMenuHandlers) script_.addMenuHandlers(*this);
  }
  void Event_Close() override {
    Log().push_back("Close");
    if (script_.close) script_.close(*this);
  }
  bool Event_MouseDown(std::int64_t x, std::int64_t y) override {
    Log().push_back("MouseDown " + std::to_string(x) + "," + std::to_string(y));
    return script_.mouseDown && script_.mouseDown(x, y);
  }
  bool Event_KeyDown(const std::string& key) override {
    Log().push_back("KeyDown " + key);
    return script_.keyDown && script_.keyDown(key);
  }

  // A menu handler that logs its item's name and answers answer.
  bool MenuAction(const std::string& item, bool answer) {
    Log().push_back("Menu " + item);
    return answer;
  }

 private:
  WindowScript script_ = Next();
};

struct FullTraits {
  static constexpr const char* kName = "TestWnd.TestWnd";
  static std::set<std::string, std::less<>> Events() {
    return {"Layout", "CreateControls", "AddMenuHandlers", "Close", "MouseDown", "KeyDown"};
  }
};
// Handles every window event the runtime raises.
using TestWnd = RecordingWnd<FullTraits>;

struct PartTraits {
  static constexpr const char* kName = "PartWnd.PartWnd";
  static std::set<std::string, std::less<>> Events() { return {"CreateControls"}; }
};
// Overrides every event but registers only CreateControls as handled.
using PartWnd = RecordingWnd<PartTraits>;

// Runs each test with an empty log and fresh scripts, and puts the runtime
// back afterwards: windows closed, quit and failure state cleared.
class GuiTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
};

// A control made the way the application makes one (Window::AddNewControl).
template <class C>
std::shared_ptr<C> AddControl(fw::Window& window, const std::string& name,
                              const fw::PropertyList& properties) {
  return window.AddNewControl<C>(name, properties);
}

// Left, Top, Width, Height, then extra.
fw::PropertyList Bounds(std::int64_t left, std::int64_t top, std::int64_t width,
                        std::int64_t height, const fw::PropertyList& extra = {});

// A plain titled, visible window of that client size, then extra.
fw::PropertyList WindowList(std::int64_t width, std::int64_t height,
                            const fw::PropertyList& extra = {});

// The application's three window lists: every entry name the runtime is asked
// to apply, with the values the application applies.
fw::PropertyList CalculatorWindowList();
fw::PropertyList HelpWindowList();
fw::PropertyList AboutWindowList();

// The control of that name as C, failing the test when it is missing.
template <class C>
std::shared_ptr<C> Get(const fw::Window& window, std::string_view name) {
  auto control = fw::RuntimeCheckCast<C>(window.ControlByName(name));
  EXPECT_TRUE(control) << "no control named " << name;
  return control;
}

// Shows the window and waits until it is the active window.
bool Activate(fw::Window& window);

// Watches for the application's modal widget from the event loop that shows
// it; hands it to inspect, then closes it with its first button as a user
// would. Gives up after a few seconds so that a test cannot hang.
class ModalCloser {
 public:
  explicit ModalCloser(std::function<void(QWidget*)> inspect);
  ~ModalCloser();
  ModalCloser(const ModalCloser&) = delete;
  ModalCloser& operator=(const ModalCloser&) = delete;
  int Seen() const { return seen_; }

 private:
  void Poll();
  // Given up with the polling, so that a later box meets the shared guard.
  std::optional<kestrova::testing::ExpectModalBoxes> expected_{std::in_place};
  std::function<void(QWidget*)> inspect_;
  QTimer timer_;
  int tries_ = 0;
  int seen_ = 0;
};

// Writes a PNG of one colour and answers its path.
QString WritePng(const QString& directory, const QString& name, QSize size, QColor color);

// The colour of one pixel of what the widget draws.
QColor PixelOf(QWidget* widget, int x, int y);

}  // namespace fwtest
