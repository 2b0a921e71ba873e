#include "framework/controls/push_button.h"

#include <QPointer>
#include <QPushButton>
#include <array>

#include "framework/controls/widget_p.h"
#include "framework/runtime.h"

namespace fw {
namespace {

class ButtonWidget : public internal::ControlWidget<QPushButton, PushButton> {
 public:
  using ControlWidget::ControlWidget;

 protected:
  // The button acts on the press, not on the release: its own MouseDown,
  // then its window's.
  void mousePressEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton) {
      QPoint local = event->position().toPoint();
      QPointer<ButtonWidget> alive(this);
      const int modalRuns = internal::ModalRuns();
      if (auto button = OwnerControl(); button && button->RaiseMouseDown(local.x(), local.y())) {
        return;
      }
      if (!alive || PressEndedByWindow(*event)) return;
      // A box shown by a handler took the release: pressing the button now
      // would leave it drawn down.
      if (!alive || internal::ModalRuns() != modalRuns) return;
    }
    QPushButton::mousePressEvent(event);
  }
};

}  // namespace

QWidget* PushButton::CreateWidget(QWidget* parent) {
  auto* button = new ButtonWidget(parent, std::static_pointer_cast<PushButton>(shared_from_this()));
  button->setAutoDefault(false);
  return button;
}

bool PushButton::RaiseMouseDown(std::int64_t x, std::int64_t y) {
  if (!mouseDown_) return false;
  auto keep = shared_from_this();
  return DispatchBool([&] { return mouseDown_(*this, x, y); });
}

bool PushButton::ApplyProperty(const Property& property) {
  using B = PushButton;
  static constexpr std::array<PropertySetter<B>, 3> kSetters = {{
      {"Caption",
       [](B& b, const Property& p) {
         Assign(b.caption_, p, "PushButton");
         b.UpdateSettings();
       }},
      {"Default",
       [](B& b, const Property& p) {
         Assign(b.default_, p, "PushButton");
         b.UpdateSettings();
       }},
      {"Cancel", [](B& b, const Property& p) { Assign(b.cancel_, p, "PushButton"); }},
  }};
  return ApplyFromTable<B>(kSetters, "PushButton", *this, property) ||
         ApplyStyleProperty(property) || RectControl::ApplyProperty(property);
}

void PushButton::UpdateSettings() {
  auto* button = qobject_cast<QPushButton*>(Widget());
  if (!button) return;
  button->setText(internal::ToQt(caption_));
  button->setAccessibleName(internal::ToQt(caption_));
  button->setDefault(default_);
}

void PushButton::UpdateStyle() {
  auto* button = qobject_cast<QPushButton*>(Widget());
  if (!button) return;
  button->setFont(StyleFont());
}

}  // namespace fw
