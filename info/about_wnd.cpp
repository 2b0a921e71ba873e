#include "info/about_wnd.h"

#include "calculator/control_wnd.h"
#include "info/ks350.h"
#include "resources/version.h"

namespace kestrova {

namespace {

constexpr fw::Color kWhite{0xff, 0xff, 0xff, 0x00};
constexpr fw::Color kNoticeBlue{0x02, 0x3f, 0xaa, 0x00};

const fw::PropertyList& WindowProperties() {
  static const fw::PropertyList list = {
      {"Width", 500},
      {"Height", 250},
      {"MinimumWidth", 64},
      {"MinimumHeight", 64},
      {"MaximumWidth", 32000},
      {"MaximumHeight", 32000},
      {"Type", 2},
      {"Title", ""},
      {"HasCloseButton", false},
      {"HasMaximizeButton", false},
      {"HasMinimizeButton", false},
      {"HasFullScreenButton", false},
      {"Resizeable", false},
      {"Composite", false},
      {"MacProcID", 0},
      {"FullScreen", false},
      {"DefaultLocation", 0},
      {"Visible", true},
      {"HasBackgroundColor", true},
      {"BackgroundColor", kWhite},
      {"MenuBarVisible", true},
      {"LiveResize", false},
  };
  return list;
}

const fw::PropertyList& NoticeProperties() {
  static const fw::PropertyList list = {
      {"InitialParent", ""},
      {"Name", "StaticText2"},
      {"Index", fw::kNoControlIndex},
      {"Left", 135},
      {"Top", 148},
      {"Width", 229},
      {"Height", 15},
      {"LockLeft", false},
      {"LockTop", false},
      {"LockRight", false},
      {"LockBottom", false},
      {"TabIndex", 3},
      {"TabPanelIndex", 0},
      {"TabStop", false},
      {"AllowAutoDeactivate", true},
      {"Enabled", true},
      {"Tooltip", ""},
      {"Multiline", true},
      {"Selectable", false},
      {"TextAlignment", 2},
      {"TextColor", kNoticeBlue},
      {"Transparent", false},
      {"Value", std::string(kRightsNotice)},
      {"Visible", true},
      {"Bold", false},
      {"Italic", false},
      {"FontName", "System"},
      {"Underline", false},
      {"FontSize", 9.0f},
      {"FontUnit", fw::FontUnit::Default},
      {"DataSource", ""},
      {"DataField", ""},
  };
  return list;
}

const fw::PropertyList& TimerProperties() {
  static const fw::PropertyList list = {
      {"Period", AboutWnd::kSplashMilliseconds},
      {"RunMode", std::int64_t{fw::Timer::Single}},
  };
  return list;
}

const fw::PropertyList& CanvasProperties() {
  static const fw::PropertyList list = {
      {"InitialParent", ""},
      {"Name", "Canvas1"},
      {"Index", fw::kNoControlIndex},
      {"Left", 33},
      {"Top", 74},
      {"Width", 447},
      {"Height", 70},
      {"LockLeft", true},
      {"LockTop", true},
      {"LockRight", false},
      {"LockBottom", false},
      {"TabIndex", 4},
      {"TabPanelIndex", 0},
      {"TabStop", true},
      {"AllowAutoDeactivate", true},
      {"Enabled", true},
      {"Tooltip", ""},
      {"AllowFocusRing", true},
      {"Visible", true},
      {"AllowFocus", false},
      {"AllowTabs", false},
      {"Transparent", true},
      {"DoubleBuffer", false},
  };
  return list;
}

}  // namespace

const fw::ClassInfo& wrapper_Timer1::Lookup() {
  static const fw::ClassInfo& info = fw::RegisterClass({"AboutWnd._wrapper_Timer1", "Timer", {}});
  return info;
}

void wrapper_Timer1::SetWindow(const std::shared_ptr<fw::Window>& window) {
  // The base keeps its own weak view too, for the runtime's use.
  fw::Timer::SetWindow(window);
  ownerWindow = fw::WeakRef(window);
}

std::shared_ptr<fw::Window> wrapper_Timer1::GetWindow() const {
  return fw::RuntimeCheckCast<fw::Window>(ownerWindow.Value());
}

const fw::ClassInfo& AboutWnd::Lookup() {
  static const fw::ClassInfo& info = fw::RegisterClass(
      {"AboutWnd.AboutWnd", "Window", {"Layout", "CreateControls", "MouseDown", "KeyDown"}, [] {
         return fw::RuntimeNewObject<AboutWnd>();
       }});
  return info;
}

bool AboutWnd::IsEventImplemented(std::string_view event) const {
  return fw::RuntimeIsEventHandled(*this, Lookup().name, event, true);
}

void AboutWnd::Layout() {
  // No menu bar of its own: the splash is a plain box.
  SetProperties(WindowProperties());
}

void AboutWnd::CreateControls() {
  CreateControls0();
}

void AboutWnd::CreateControls0() {
  AddNewControl<fw::Label>("StaticText2", NoticeProperties());

  // The list starts the timer; its handler is attached right after, before
  // the event loop can let it fire.
  AddNewControl<wrapper_Timer1>("Timer1", TimerProperties());
  fw::NotNil(Timer1(), "Timer1")->SetActionHandler(fw::Delegate(this, &AboutWnd::Timer1_Action));

  // A missing picture leaves the canvas blank; the window is built all the
  // same. The backdrop goes on before the canvas's own list.
  AddNewControl<fw::Canvas>("Canvas1", CanvasProperties(),
                            [](fw::Canvas& canvas) { canvas.SetBackdrop(KS350()); });
}

std::shared_ptr<fw::Label> AboutWnd::StaticText2() const {
  return fw::RuntimeCheckCast<fw::Label>(ControlByName("StaticText2"));
}

std::shared_ptr<fw::Timer> AboutWnd::Timer1() const {
  return fw::RuntimeCheckCast<fw::Timer>(ControlByName("Timer1"));
}

std::shared_ptr<fw::Canvas> AboutWnd::Canvas1() const {
  return fw::RuntimeCheckCast<fw::Canvas>(ControlByName("Canvas1"));
}

void AboutWnd::Timer1_Action(fw::Timer& /*timer*/) {
  GiveWay();
}

bool AboutWnd::Event_MouseDown(std::int64_t /*x*/, std::int64_t /*y*/) {
  GiveWay();
  return false;
}

bool AboutWnd::Event_KeyDown(const std::string& /*key*/) {
  GiveWay();
  return false;
}

void AboutWnd::GiveWay() {
  // Through the implicit instances, not this object: hidden first, so that a
  // failure to build the calculator window still leaves the splash out of the way.
  fw::NotNil(AboutWnd::Instance(), "the about window")->Hide();
  fw::NotNil(ControlWnd::Instance(), "the calculator window")->Show();
}

}  // namespace kestrova
