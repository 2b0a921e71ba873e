#pragma once
// A multi-line text area that keeps the application's text character for
// character (CR line breaks included), with a styled view for bold runs.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/controls/rect_control.h"

namespace fw {

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
  void UpdateSettings() override;

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
  bool allowTabs_ = false;
};

}  // namespace fw
