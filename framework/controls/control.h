#pragma once
// The base of every control, and what a control may ask of its window.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "framework/object.h"
#include "framework/properties.h"

class QWidget;

namespace fw {

class Window;
class Control;

// What a window offers the controls on it. The window knows its controls
// only as Control; they reach it only through this.
class ControlHost {
 public:
  // The client area: the parent of the controls' widgets.
  virtual QWidget* ContentWidget() const = 0;
  // The control registered under name, or nil.
  virtual std::shared_ptr<Control> ControlByName(std::string_view name) const = 0;
  // A key that no control consumed, and a press at client-area coordinates:
  // the window's KeyDown and MouseDown; true when the window consumed it.
  virtual bool RaiseKeyDown(const std::string& key) = 0;
  virtual bool RaiseMouseDown(std::int64_t x, std::int64_t y) = 0;

 protected:
  ~ControlHost() = default;
};

class Control : public Object {
 public:
  Control();
  ~Control() override;
  std::string_view ClassName() const override { return "Control"; }

  // The control's default constructor; a RectControl makes its widget here.
  virtual void Constructor() {}

  // The window the control belongs to (set by Window::New), held weakly for
  // the application's code; the framework goes through Host().
  virtual void SetWindow(const std::shared_ptr<Window>& window);
  virtual std::shared_ptr<Window> GetWindow() const;
  // What that window offers the control (set by Window::New).
  void SetHost(std::weak_ptr<ControlHost> host) { host_ = std::move(host); }
  std::shared_ptr<ControlHost> Host() const { return host_.lock(); }

  const std::string& Name() const { return name_; }
  std::int64_t Index() const { return index_; }

  // Applies every entry, in order; an unknown name or a value of the wrong
  // type raises RuntimeException.
  void SetProperties(const PropertyList& list);
  const PropertyList& AppliedProperties() const { return applied_; }

  // Raised by the window once it is built.
  virtual void RaiseOpen() {}
  // The window's client area grew by dx, dy.
  virtual void FollowResize(std::int64_t /*dx*/, std::int64_t /*dy*/) {}
  // The widget that the window's tab chain passes through, or null.
  virtual QWidget* TabChainWidget() const { return nullptr; }
  virtual std::int64_t TabIndex() const { return 0; }

 protected:
  // Applies one entry; false for a name the class does not know. Subclasses
  // apply theirs and pass the rest to their base.
  virtual bool ApplyProperty(const Property& property);

 private:
  std::weak_ptr<Window> window_;
  std::weak_ptr<ControlHost> host_;
  std::string name_;
  std::int64_t index_ = 0;
  PropertyList applied_;
};

}  // namespace fw
