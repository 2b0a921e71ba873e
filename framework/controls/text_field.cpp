#include "framework/controls/text_field.h"

#include <QLineEdit>
#include <QValidator>
#include <array>

#include "framework/controls/widget_p.h"
#include "framework/runtime.h"

namespace fw {
namespace {

// The field's entry rules, for what the user types or pastes. QLineEdit takes
// back a refused edit only from a text that its validator accepted; so the
// program's own text passes too while nothing of the user's is left to undo
// (as it was set, or undone back to it), and the rules judge every change made
// to it. Typed back to it, it is refused again.
class FieldValidator : public QValidator {
 public:
  FieldValidator(QLineEdit* field, std::weak_ptr<TextField> owner)
      : QValidator(field), field_(field), owner_(std::move(owner)) {}
  void SetProgramText(QString text) { programText_ = std::move(text); }
  State validate(QString& input, int&) const override {
    auto field = owner_.lock();
    if (!field || field->AcceptsUserText(internal::FromQt(input))) return Acceptable;
    if (input == programText_ && !field_->isUndoAvailable()) return Acceptable;
    return Invalid;
  }

 private:
  const QLineEdit* field_;
  std::weak_ptr<TextField> owner_;
  QString programText_;
};

class FieldWidget : public internal::ControlWidget<QLineEdit> {
 public:
  FieldWidget(QWidget* parent, const std::shared_ptr<TextField>& owner)
      : ControlWidget(parent, owner), validator_(new FieldValidator(this, owner)) {
    setValidator(validator_);
  }
  void SetProgramText(const std::string& text) {
    validator_->SetProgramText(internal::ToQt(text));
    setText(internal::ToQt(text));
  }

 private:
  FieldValidator* validator_;
};

QLineEdit* LineEdit(QWidget* widget) {
  return qobject_cast<QLineEdit*>(widget);
}

}  // namespace

QWidget* TextField::CreateWidget(QWidget* parent) {
  auto* field = new FieldWidget(parent, std::static_pointer_cast<TextField>(shared_from_this()));
  field->SetProgramText(text_);
  return field;
}

void TextField::SetText(std::string text) {
  if (auto* field = dynamic_cast<FieldWidget*>(Widget())) {
    field->SetProgramText(text);
  } else {
    text_ = std::move(text);
  }
}

std::string TextField::Text() const {
  auto* field = LineEdit(Widget());
  return field ? internal::FromQt(field->text()) : text_;
}

bool TextField::RaiseKeyDown(const std::string& key) {
  if (!keyDown_) return false;
  auto keep = shared_from_this();
  return DispatchBool([&] { return keyDown_(*this, key); });
}

bool TextField::AcceptsUserText(std::string_view text) const {
  std::int64_t length = 0;
  for (unsigned char c : text) length += (c & 0xC0) != 0x80;
  if (maxChars_ > 0 && length > maxChars_) return false;
  if (mask_.empty()) return true;
  // Masks of digit places ("#") around one decimal point, as ".###".
  bool maskIsNumeric = mask_.find_first_not_of("#.") == std::string::npos;
  if (!maskIsNumeric) return true;
  std::size_t maskPoint = mask_.find('.');
  std::int64_t decimalsAllowed =
      maskPoint == std::string::npos ? 0 : static_cast<std::int64_t>(mask_.size() - maskPoint - 1);
  bool seenPoint = false;
  std::int64_t decimals = 0;
  for (char c : text) {
    if (c == '.') {
      if (seenPoint || maskPoint == std::string::npos) return false;
      seenPoint = true;
    } else if (c >= '0' && c <= '9') {
      if (seenPoint && ++decimals > decimalsAllowed) return false;
    } else {
      return false;
    }
  }
  return true;
}

bool TextField::ApplyProperty(const Property& property) {
  using F = TextField;
  static constexpr std::array<PropertySetter<F>, 7> kSetters = {{
      {"Value",
       [](F& f, const Property& p) { f.SetText(PropertyAs<std::string>(p, "TextField")); }},
      {"Text", [](F& f, const Property& p) { f.SetText(PropertyAs<std::string>(p, "TextField")); }},
      {"MaximumCharactersAllowed",
       [](F& f, const Property& p) { Assign(f.maxChars_, p, "TextField"); }},
      {"ValidationMask", [](F& f, const Property& p) { Assign(f.mask_, p, "TextField"); }},
      {"ReadOnly",
       [](F& f, const Property& p) {
         Assign(f.readOnly_, p, "TextField");
         f.UpdateSettings();
       }},
      {"Password",
       [](F& f, const Property& p) {
         Assign(f.password_, p, "TextField");
         f.UpdateSettings();
       }},
      {"Hint",
       [](F& f, const Property& p) {
         Assign(f.hint_, p, "TextField");
         f.UpdateSettings();
       }},
  }};
  return ApplyFromTable<F>(kSetters, "TextField", *this, property) ||
         ApplyStyleProperty(property) || RectControl::ApplyProperty(property);
}

void TextField::UpdateSettings() {
  auto* field = LineEdit(Widget());
  if (!field) return;
  field->setReadOnly(readOnly_);
  field->setEchoMode(password_ ? QLineEdit::Password : QLineEdit::Normal);
  field->setPlaceholderText(internal::ToQt(hint_));
}

void TextField::UpdateStyle() {
  auto* field = LineEdit(Widget());
  if (!field) return;
  field->setFont(StyleFont());
  QPalette palette = field->palette();
  palette.setColor(QPalette::Text, internal::ToQColor(style_.textColor));
  palette.setColor(QPalette::Base, internal::ToQColor(style_.backgroundColor));
  field->setPalette(palette);
  field->setFrame(style_.hasBorder);
  field->setAlignment(internal::HorizontalAlignment(style_.alignment) | Qt::AlignVCenter);
}

}  // namespace fw
