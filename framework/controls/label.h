#pragma once
// Static text; a CR breaks its lines.

#include <string>

#include "framework/controls/rect_control.h"

namespace fw {

class Label : public RectControl {
 public:
  std::string_view ClassName() const override { return "Label"; }
  void SetText(std::string text);
  const std::string& Text() const { return text_; }

 protected:
  bool ApplyProperty(const Property& property) override;
  QWidget* CreateWidget(QWidget* parent) override;
  void UpdateStyle() override;
  void UpdateSettings() override;

 private:
  std::string text_;
  bool multiline_ = false;
  bool selectable_ = false;
};

}  // namespace fw
