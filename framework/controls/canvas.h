#pragma once
// An area that shows its backdrop picture at the picture's own size from the
// top left.

#include <memory>

#include "framework/controls/rect_control.h"

namespace fw {

class Picture;

class Canvas : public RectControl {
 public:
  std::string_view ClassName() const override { return "Canvas"; }
  void SetBackdrop(std::shared_ptr<Picture> picture);
  std::shared_ptr<Picture> Backdrop() const { return backdrop_; }

 protected:
  QWidget* CreateWidget(QWidget* parent) override;

 private:
  std::shared_ptr<Picture> backdrop_;
};

}  // namespace fw
