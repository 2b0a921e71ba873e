#pragma once
// A control with a widget, placed in window coordinates, also when it sits
// inside another control. The text controls share a style (font, colours,
// alignment) that their widgets take.

#include <QPointF>
#include <cstdint>
#include <memory>
#include <string>

#include "framework/controls/control.h"

class QFont;

namespace fw {

class RectControl : public Control {
 public:
  RectControl();
  ~RectControl() override;
  std::string_view ClassName() const override { return "RectControl"; }

  // Makes the widget in the window's client area; it takes every property
  // given so far.
  void Constructor() override;

  // Window coordinates, also for a control placed inside another control.
  std::int64_t Left() const { return left_; }
  std::int64_t Top() const { return top_; }
  std::int64_t Width() const { return width_; }
  std::int64_t Height() const { return height_; }
  void SetBounds(std::int64_t left, std::int64_t top, std::int64_t width, std::int64_t height);

  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  void SetFocus();
  bool HasFocus() const;
  const std::string& Tooltip() const { return tooltip_; }
  std::int64_t TabIndex() const override { return tabIndex_; }
  bool TabStop() const { return tabStop_; }
  bool LockLeft() const { return lockLeft_; }
  bool LockTop() const { return lockTop_; }
  bool LockRight() const { return lockRight_; }
  bool LockBottom() const { return lockBottom_; }
  const std::string& InitialParent() const { return initialParent_; }

  QWidget* Widget() const;
  QWidget* TabChainWidget() const override;

  // Follows a resize of the window's client area by its locks.
  void FollowResize(std::int64_t dx, std::int64_t dy) override;
  // Puts the widget at its window coordinates inside its parent.
  void PlaceWidget();

  // A key pressed in the widget: the control's KeyDown, then the window's;
  // true when one of them consumed it.
  bool OfferKey(const std::string& key);
  // A press in the widget that the control did not end, at local in
  // surface's coordinates: the window's MouseDown; true when it consumed it.
  bool OfferMouseDownToWindow(const QWidget* surface, QPointF local);

 protected:
  bool ApplyProperty(const Property& property) override;
  virtual QWidget* CreateWidget(QWidget* parent) = 0;
  // The class's own properties onto the widget, all of them: for a new widget
  // and after each change.
  virtual void UpdateSettings() {}
  // The control's own KeyDown; true consumes the key.
  virtual bool RaiseKeyDown(const std::string& /*key*/) { return false; }
  // Whether the control can take the keyboard focus at all.
  virtual bool Focusable() const { return false; }
  void UpdateFocusPolicy();

  struct Style {
    std::string fontName = "System";
    float fontSize = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    Color textColor{0, 0, 0, 0};
    Color backgroundColor{255, 255, 255, 0};
    bool hasBorder = true;  // as the widgets come: framed
    std::int64_t alignment = 0;
  };
  Style style_;
  // The style properties of the text controls; false if not one of them.
  bool ApplyStyleProperty(const Property& property);
  virtual void UpdateStyle() {}
  // The style's font; a fixed-pitch family falls back on others of Courier's
  // metrics, then on any fixed-pitch font.
  QFont StyleFont() const;
  // Whether the style's font name is a fixed-pitch family, by the name alone;
  // the font's fallbacks and a text area's margin both follow it.
  bool StyleFixedPitch() const;

 private:
  void SetInitialParent(std::string parent);
  // The control named by InitialParent, or nil.
  std::shared_ptr<RectControl> ParentControl() const;
  void UpdateWidget();

  struct Guard;  // the widget, owned by the window's widget tree
  std::unique_ptr<Guard> guard_;
  std::int64_t left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  bool visible_ = true, enabled_ = true;
  bool lockLeft_ = false, lockTop_ = false, lockRight_ = false, lockBottom_ = false;
  bool tabStop_ = false;
  bool allowFocus_ = true;
  std::int64_t tabIndex_ = 0;
  std::string tooltip_;
  std::string initialParent_;
};

}  // namespace fw
