#pragma once
// The about window, which is also the start-up splash: the picture KS350 and
// the rights notice on a plain untitled box. It gives way to the calculator
// window when its one-shot timer fires or when the mouse or a key is pressed
// in it; giving way hides it, so the About item later shows the same window.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "framework/controls.h"
#include "framework/object.h"
#include "framework/window.h"

namespace kestrova {

// A timer that sits on a window as one of its controls. It refers to its
// window weakly, so the window's own control does not keep it alive.
class wrapper_Timer1 : public fw::Timer {
 public:
  static const fw::ClassInfo& Lookup();
  std::string_view ClassName() const override { return Lookup().name; }

  void SetWindow(const std::shared_ptr<fw::Window>& window) override;
  // The owner window, or nil when none was set or it is gone.
  std::shared_ptr<fw::Window> GetWindow() const override;
  std::int64_t GetIndex() const { return Index; }
  void SetIndex(std::int64_t index) { Index = index; }
  void Constructor() override {}

  std::int64_t Index = 0;  // place in a control array

 private:
  fw::WeakRef ownerWindow;
};

class AboutWnd : public fw::Window {
 public:
  // How long the splash stays when nothing is pressed.
  static constexpr std::int64_t kSplashMilliseconds = 4000;

  static const fw::ClassInfo& Lookup();
  // The open (shown or hidden) about window; built on first use.
  static std::shared_ptr<AboutWnd> Instance() { return fw::ImplicitWindow<AboutWnd>(); }

  std::string_view ClassName() const override { return Lookup().name; }
  bool IsEventImplemented(std::string_view event) const override;

  void Layout() override;
  void CreateControls() override;
  virtual void CreateControls0();
  virtual std::shared_ptr<fw::Label> StaticText2() const;
  virtual std::shared_ptr<fw::Timer> Timer1() const;
  virtual std::shared_ptr<fw::Canvas> Canvas1() const;
  virtual void Timer1_Action(fw::Timer& timer);
  bool Event_MouseDown(std::int64_t x, std::int64_t y) override;
  bool Event_KeyDown(const std::string& key) override;

 private:
  static void GiveWay();
};

}  // namespace kestrova
