#include "framework/controls/canvas.h"

#include <QPainter>
#include <QWidget>

#include "framework/picture.h"

namespace fw {
namespace {

// Presses pass through to the window's client area, which raises MouseDown.
class CanvasWidget : public QWidget {
 public:
  CanvasWidget(QWidget* parent, std::weak_ptr<Canvas> owner)
      : QWidget(parent), owner_(std::move(owner)) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    auto canvas = owner_.lock();
    if (!canvas || !canvas->Backdrop()) return;
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), canvas->Backdrop()->Image());
  }

 private:
  std::weak_ptr<Canvas> owner_;
};

}  // namespace

QWidget* Canvas::CreateWidget(QWidget* parent) {
  return new CanvasWidget(parent, std::static_pointer_cast<Canvas>(shared_from_this()));
}

void Canvas::SetBackdrop(std::shared_ptr<Picture> picture) {
  backdrop_ = std::move(picture);
  if (QWidget* widget = Widget()) widget->update();
}

}  // namespace fw
