#pragma once
// Windows. A window class registers its name and the events that it handles;
// Constructor raises the construction events (Layout, CreateControls,
// AddMenuHandlers) where the class handles them, opens the controls and shows
// the window if it is Visible. The runtime holds every window, shown or
// hidden, until it is closed: that is what the implicit instance finds.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/application.h"
#include "framework/controls/control.h"
#include "framework/object.h"
#include "framework/properties.h"

class QWidget;

namespace fw {

class MenuBar;

class Window : public Object, public ControlHost {
 public:
  Window();
  ~Window() override;
  std::string_view ClassName() const override { return "Window"; }

  // Builds the window: the construction events, each control's Open event,
  // then the window is shown if Visible. Once per window.
  void Constructor();

  // Shows the window and brings it to the front.
  void Show();
  // Hides it without closing it.
  void Hide();
  // Closes it as its close button would: the Close event, then it is gone.
  void Close();
  bool IsVisible() const;
  bool IsClosed() const;

  void SetMenuBar(std::shared_ptr<MenuBar> bar);
  std::shared_ptr<MenuBar> GetMenuBar() const;

  // Applies every entry, in order; an unknown name raises RuntimeException.
  void SetProperties(const PropertyList& list);
  // Every entry applied so far, in order.
  const PropertyList& AppliedProperties() const;

  // A new control of class C belonging to this window, not yet constructed.
  template <class C>
  std::shared_ptr<C> New() {
    auto control = std::make_shared<C>();
    auto self = std::static_pointer_cast<Window>(shared_from_this());
    control->SetHost(self);
    control->SetWindow(self);
    return control;
  }
  // Registers control under name; from then on the window holds it.
  void AddControl(const std::string& name, std::shared_ptr<Control> control);
  // A control put on the window as the application puts one: a new C,
  // constructed, registered under name, fetched back by name (the first
  // control of that name, which must be a C), given beforeList, then its
  // list applied. Returns the control fetched back.
  template <class C>
  std::shared_ptr<C> AddNewControl(const std::string& name, const PropertyList& properties,
                                   const std::function<void(C&)>& beforeList = nullptr) {
    auto control = New<C>();
    control->Constructor();
    AddControl(name, control);
    auto added = NotNil(RuntimeCheckCast<C>(ControlByName(name)), "control " + name);
    if (beforeList) beforeList(*added);
    added->SetProperties(properties);
    return added;
  }
  // The control registered under name, or nil.
  std::shared_ptr<Control> ControlByName(std::string_view name) const override;
  const std::vector<std::shared_ptr<Control>>& Controls() const;

  // Registers the window's handler for the menu item of that name.
  void AddMenuHandler(std::string itemName, std::function<bool()> handler);
  std::vector<std::string> MenuHandlerNames() const;
  // A choice of the named item made in this window: its handler, else the
  // item kind's own action. False when nothing handled it.
  bool ChooseMenuItem(std::string_view itemName);

  // Asked by the framework before it raises one of the events below.
  virtual bool IsEventImplemented(std::string_view event) const;

  // Window events.
  virtual void Layout() {}
  virtual void CreateControls() {}
  virtual void AddMenuHandlers() {}
  virtual void Event_Close() {}
  // A press anywhere in the window, on its controls included; true ends it.
  virtual bool Event_MouseDown(std::int64_t x, std::int64_t y);
  // A key anywhere in the window that no control consumed; true ends it.
  virtual bool Event_KeyDown(const std::string& key);

  // Values set by the property list.
  std::string Title() const;
  std::int64_t Width() const;  // client area, without the menu bar
  std::int64_t Height() const;
  std::int64_t Type() const;
  bool Resizeable() const;
  bool HasCloseButton() const;
  bool HasMinimizeButton() const;
  bool HasMaximizeButton() const;
  bool MenuBarVisible() const;

  // The Qt side: the top-level widget and the client area that holds the controls.
  QWidget* Widget() const;
  QWidget* ContentWidget() const override;

  struct Impl;

 private:
  // Keys and presses that the controls passed on.
  bool RaiseKeyDown(const std::string& key) override;
  bool RaiseMouseDown(std::int64_t x, std::int64_t y) override;

  std::unique_ptr<Impl> d_;
};

// The open window registered under that class name, shown or hidden; nil
// before the first one is built and once it is closed.
std::shared_ptr<Window> GetImplicitWindow(std::string_view registeredName);
std::vector<std::shared_ptr<Window>> OpenWindows();

// The implicit instance of the window class registered under that name: the
// open one, or a new one made by the class's registered maker and built with
// Constructor. Lets a window open another without depending on its class.
// Raises RuntimeException for a name registered without a maker.
std::shared_ptr<Window> ImplicitWindowNamed(std::string_view registeredName);

// The implicit instance of window class W: the open one, or a new one built
// with Constructor. W provides static const ClassInfo& Lookup().
template <class W>
std::shared_ptr<W> ImplicitWindow() {
  std::shared_ptr<Window> window = GetImplicitWindow(W::Lookup().name);
  if (!window) {
    auto created = RuntimeNewObject<W>();
    created->Constructor();
    window = created;
  }
  return RuntimeCheckCast<W>(window);
}

}  // namespace fw
