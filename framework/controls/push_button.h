#pragma once
// A push button whose MouseDown comes with the press, not the release.

#include <cstdint>
#include <functional>
#include <string>

#include "framework/controls/rect_control.h"

namespace fw {

class PushButton : public RectControl {
 public:
  using MouseDownHandler = std::function<bool(PushButton&, std::int64_t, std::int64_t)>;
  std::string_view ClassName() const override { return "PushButton"; }

  const std::string& Caption() const { return caption_; }
  bool Default() const { return default_; }
  bool Cancel() const { return cancel_; }

  // Raised by a mouse press on the button, never by the keyboard.
  void SetMouseDownHandler(MouseDownHandler handler) { mouseDown_ = std::move(handler); }
  bool RaiseMouseDown(std::int64_t x, std::int64_t y);

 protected:
  bool ApplyProperty(const Property& property) override;
  QWidget* CreateWidget(QWidget* parent) override;
  void UpdateStyle() override;
  void UpdateSettings() override;

 private:
  MouseDownHandler mouseDown_;
  std::string caption_;
  bool default_ = false;
  bool cancel_ = false;
};

}  // namespace fw
