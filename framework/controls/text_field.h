#pragma once
// A one-line text field with an entry mask and a length limit for what the
// user types or pastes, and a KeyDown event that sees every key first.

#include <functional>
#include <string>
#include <string_view>

#include "framework/controls/rect_control.h"

namespace fw {

class TextField : public RectControl {
 public:
  using KeyDownHandler = std::function<bool(TextField&, const std::string&)>;
  std::string_view ClassName() const override { return "TextField"; }

  // The program's text is set as it is: the length limit and the mask hold
  // for what the user types or pastes, into a text of the program's that they
  // refuse too.
  void SetText(std::string text);
  std::string Text() const;
  std::int64_t MaximumCharactersAllowed() const { return maxChars_; }
  const std::string& ValidationMask() const { return mask_; }
  bool ReadOnly() const { return readOnly_; }

  // The KeyDown event: the key as a string; true consumes the key.
  void SetKeyDownHandler(KeyDownHandler handler) { keyDown_ = std::move(handler); }
  // Raised by the widget; answers whether the key was consumed.
  bool RaiseKeyDown(const std::string& key) override;

  // Whether text would be accepted as the field's whole text by the user's
  // typing (length limit and mask).
  bool AcceptsUserText(std::string_view text) const;

 protected:
  bool ApplyProperty(const Property& property) override;
  QWidget* CreateWidget(QWidget* parent) override;
  bool Focusable() const override { return true; }
  void UpdateStyle() override;
  void UpdateSettings() override;

 private:
  KeyDownHandler keyDown_;
  std::string text_;  // until the widget holds it
  std::int64_t maxChars_ = 0;
  std::string mask_;
  bool readOnly_ = false;
  bool password_ = false;
  std::string hint_;
};

}  // namespace fw
