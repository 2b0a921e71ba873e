#pragma once
// Controls: the objects a window holds by name. Each drives a Qt widget and
// keeps the application's view of it (texts with carriage returns, positions
// in window coordinates). Events reach typed handler slots; a handler's true
// means handled and ends the event.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/object.h"
#include "framework/properties.h"

class QLabel;
class QWidget;
class QTimer;

namespace fw {

class Window;
class Picture;

class Control : public Object {
 public:
  Control();
  ~Control() override;
  std::string_view ClassName() const override { return "Control"; }

  // The control's default constructor; a RectControl makes its widget here.
  virtual void Constructor() {}

  // The window the control belongs to (set by Window::New).
  virtual void SetWindow(const std::shared_ptr<Window>& window);
  virtual std::shared_ptr<Window> GetWindow() const;

  const std::string& Name() const { return name_; }
  std::int64_t Index() const { return index_; }

  // Applies every entry, in order; an unknown name or a value of the wrong
  // type raises RuntimeException.
  void SetProperties(const PropertyList& list);
  const PropertyList& AppliedProperties() const { return applied_; }

  // Raised by the window once it is built.
  virtual void RaiseOpen() {}

 protected:
  // Applies one entry; false for a name the class does not know. Subclasses
  // handle theirs and pass the rest to their base.
  virtual bool ApplyProperty(const Property& property);

 private:
  std::weak_ptr<Window> window_;
  std::string name_;
  std::int64_t index_ = 0;
  PropertyList applied_;
};

class RectControl : public Control {
 public:
  RectControl();
  ~RectControl() override;
  std::string_view ClassName() const override { return "RectControl"; }

  // Makes the widget in the window's client area.
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
  std::int64_t TabIndex() const { return tabIndex_; }
  bool TabStop() const { return tabStop_; }
  bool LockLeft() const { return lockLeft_; }
  bool LockTop() const { return lockTop_; }
  bool LockRight() const { return lockRight_; }
  bool LockBottom() const { return lockBottom_; }
  const std::string& InitialParent() const { return initialParent_; }

  QWidget* Widget() const;

  // Follows a resize of the window's client area by its locks.
  void FollowResize(std::int64_t dx, std::int64_t dy);
  // Puts the widget at its window coordinates inside its parent.
  void PlaceWidget();

 protected:
  bool ApplyProperty(const Property& property) override;
  virtual QWidget* CreateWidget(QWidget* parent) = 0;
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
    bool hasBackground = false;
    std::int64_t alignment = 0;
  };
  Style style_;
  // Style properties shared by the text controls; false if not one of them.
  bool ApplyStyleProperty(const Property& property);
  virtual void UpdateStyle() {}

 private:
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

class Label : public RectControl {
 public:
  std::string_view ClassName() const override { return "Label"; }
  // CRs break lines.
  void SetText(std::string text);
  const std::string& Text() const { return text_; }

 protected:
  bool ApplyProperty(const Property& property) override;
  QWidget* CreateWidget(QWidget* parent) override;
  void UpdateStyle() override;

 private:
  void UpdateStyleOn(QLabel* label);
  std::string text_;
  bool multiline_ = false;
};

class TextField : public RectControl {
 public:
  using KeyDownHandler = std::function<bool(TextField&, const std::string&)>;
  std::string_view ClassName() const override { return "TextField"; }

  // The program's text is set as it is: the length limit and the mask hold
  // for what the user types or pastes.
  void SetText(std::string text);
  std::string Text() const;
  std::int64_t MaximumCharactersAllowed() const { return maxChars_; }
  const std::string& ValidationMask() const { return mask_; }
  bool ReadOnly() const { return readOnly_; }

  // The KeyDown event: the key as a string; true consumes the key.
  void SetKeyDownHandler(KeyDownHandler handler) { keyDown_ = std::move(handler); }
  // Raised by the widget; answers whether the key was consumed.
  bool RaiseKeyDown(const std::string& key);

  // Whether text would be accepted as the field's whole text by the user's
  // typing (length limit and mask).
  bool AcceptsUserText(std::string_view text) const;

 protected:
  bool ApplyProperty(const Property& property) override;
  QWidget* CreateWidget(QWidget* parent) override;
  bool Focusable() const override { return true; }
  void UpdateStyle() override;

 private:
  KeyDownHandler keyDown_;
  std::int64_t maxChars_ = 0;
  std::string mask_;
  bool readOnly_ = false;
};

class TextArea;

// The styled view of a text area's text. Positions count characters of the
// text (CRs included) from 0.
class StyledText {
 public:
  explicit StyledText(std::weak_ptr<TextArea> area) : area_(std::move(area)) {}
  // Characters start to start + length - 1 become bold (or plain). Parts out
  // of the text are ignored.
  void SetBold(std::int64_t start, std::int64_t length, bool value);
  bool Bold(std::int64_t position) const;

 private:
  std::shared_ptr<TextArea> Area() const;
  std::weak_ptr<TextArea> area_;
};

class TextArea : public RectControl {
 public:
  using OpenHandler = std::function<void(TextArea&)>;
  TextArea();
  ~TextArea() override;
  std::string_view ClassName() const override { return "TextArea"; }

  // The text with its carriage returns, character for character.
  void SetText(std::string text);
  std::string Text() const;
  // Appends to the end of the text; appends are gathered and laid out once.
  void AddText(std::string_view piece);
  std::unique_ptr<StyledText> GetStyledText();

  void SetOpenHandler(OpenHandler handler) { open_ = std::move(handler); }
  void RaiseOpen() override;

  // Writes out gathered appends (done before anything reads or styles the text).
  void Flush() const;

 protected:
  bool ApplyProperty(const Property& property) override;
  QWidget* CreateWidget(QWidget* parent) override;
  bool Focusable() const override { return true; }
  void UpdateStyle() override;

 private:
  friend class StyledText;
  struct BoldMark {
    std::int64_t start;
    std::int64_t length;
    bool value;
  };
  std::vector<BoldMark> boldMarks_;
  OpenHandler open_;
  mutable std::string pending_;
  bool readOnly_ = false;
  bool hideSelection_ = false;
  bool vScroll_ = true;
  bool hScroll_ = false;
};

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

 private:
  MouseDownHandler mouseDown_;
  std::string caption_;
  bool default_ = false;
  bool cancel_ = false;
};

// Shows its backdrop picture at the picture's own size from the top left.
class Canvas : public RectControl {
 public:
  std::string_view ClassName() const override { return "Canvas"; }
  void SetBackdrop(std::shared_ptr<Picture> picture);
  std::shared_ptr<Picture> Backdrop() const { return backdrop_; }

 protected:
  bool ApplyProperty(const Property& property) override;
  QWidget* CreateWidget(QWidget* parent) override;

 private:
  std::shared_ptr<Picture> backdrop_;
};

class Timer : public Control {
 public:
  using ActionHandler = std::function<void(Timer&)>;
  enum RunModes : std::int64_t { Off = 0, Single = 1, Multiple = 2 };
  Timer();
  ~Timer() override;
  std::string_view ClassName() const override { return "Timer"; }

  std::int64_t Period() const { return period_; }
  void SetPeriod(std::int64_t milliseconds);
  std::int64_t RunMode() const { return runMode_; }
  // Setting a mode other than Off (re)starts the timer.
  void SetRunMode(std::int64_t mode);
  bool IsActive() const;
  int FireCount() const { return fired_; }

  void SetActionHandler(ActionHandler handler) { action_ = std::move(handler); }

 protected:
  bool ApplyProperty(const Property& property) override;

 private:
  void Restart();
  void Fire();
  std::unique_ptr<QTimer> timer_;
  ActionHandler action_;
  std::int64_t period_ = 1000;
  std::int64_t runMode_ = Off;
  int fired_ = 0;
};

}  // namespace fw
