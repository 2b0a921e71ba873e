#pragma once
// What the controls' Qt widgets share; private to the controls.
//
// A widget that takes keys and presses holds its control weakly and gives it
// every key first, Tab included (Qt would take Tab for the focus chain before
// keyPressEvent); the control passes what it does not consume on to its
// window. A press goes to the window's MouseDown before the widget's own
// handling.

#include <QColor>
#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <cstdint>
#include <memory>
#include <string>

#include "framework/controls/rect_control.h"
#include "framework/internal.h"

namespace fw::internal {

QColor ToQColor(Color color);
// A TextAlignment code as Qt's horizontal alignment.
Qt::Alignment HorizontalAlignment(std::int64_t code);

template <class Base, class Owner = RectControl>
class ControlWidget : public Base {
 public:
  ControlWidget(QWidget* parent, std::weak_ptr<Owner> owner)
      : Base(parent), owner_(std::move(owner)) {}

 protected:
  std::shared_ptr<Owner> OwnerControl() const { return owner_.lock(); }
  // Runs before the widget handles a key or a press of the user's.
  virtual void BeforeInput() {}
  // The widget that presses arrive in (a scroll area's viewport).
  virtual const QWidget* PressSurface() const { return this; }

  bool event(QEvent* event) override {
    if (event->type() == QEvent::KeyPress) {
      auto* key = static_cast<QKeyEvent*>(event);
      if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
        if (Offer(*key)) return true;
        // Offered already: keyPressEvent, if Qt calls it for this Tab, must not offer it again.
        QScopedValueRollback<bool> offered(tabOffered_, true);
        return Base::event(event);
      }
    }
    return Base::event(event);
  }

  // A widget that offered a key accepts it in the end, whatever its base did
  // with it, so that the key does not travel up to the window's own widget and
  // raise the window's KeyDown a second time.
  void keyPressEvent(QKeyEvent* event) override {
    BeforeInput();
    if (!tabOffered_ && Offer(*event)) {
      event->accept();
      return;
    }
    Base::keyPressEvent(event);
    event->accept();
  }

  void mousePressEvent(QMouseEvent* event) override {
    BeforeInput();
    if (PressEndedByWindow(*event)) return;
    Base::mousePressEvent(event);
  }

  // The window's MouseDown for a press here; true when it ended the press.
  bool PressEndedByWindow(const QMouseEvent& event) {
    auto owner = owner_.lock();
    return owner && owner->OfferMouseDownToWindow(PressSurface(), event.position());
  }

 private:
  bool Offer(const QKeyEvent& event) {
    auto owner = owner_.lock();
    return owner && owner->OfferKey(KeyString(event));
  }

  std::weak_ptr<Owner> owner_;
  bool tabOffered_ = false;
};

}  // namespace fw::internal
