#include "framework/controls/label.h"

#include <QLabel>
#include <array>

#include "framework/controls/widget_p.h"

namespace fw {

QWidget* Label::CreateWidget(QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setTextFormat(Qt::PlainText);
  return label;
}

void Label::SetText(std::string text) {
  text_ = std::move(text);
  UpdateSettings();
}

bool Label::ApplyProperty(const Property& property) {
  static constexpr std::array<PropertySetter<Label>, 4> kSetters = {{
      {"Value",
       [](Label& l, const Property& p) { l.SetText(PropertyAs<std::string>(p, "Label")); }},
      {"Text", [](Label& l, const Property& p) { l.SetText(PropertyAs<std::string>(p, "Label")); }},
      {"Multiline",
       [](Label& l, const Property& p) {
         Assign(l.multiline_, p, "Label");
         l.UpdateStyle();
       }},
      {"Selectable",
       [](Label& l, const Property& p) {
         Assign(l.selectable_, p, "Label");
         l.UpdateSettings();
       }},
  }};
  return ApplyFromTable<Label>(kSetters, "Label", *this, property) ||
         ApplyStyleProperty(property) || RectControl::ApplyProperty(property);
}

void Label::UpdateSettings() {
  auto* label = qobject_cast<QLabel*>(Widget());
  if (!label) return;
  label->setText(internal::ToQtLines(text_));
  label->setAccessibleName(internal::ToQtLines(text_));
  label->setTextInteractionFlags(selectable_ ? Qt::TextSelectableByMouse : Qt::NoTextInteraction);
}

void Label::UpdateStyle() {
  auto* label = qobject_cast<QLabel*>(Widget());
  if (!label) return;
  label->setFont(StyleFont());
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, internal::ToQColor(style_.textColor));
  label->setPalette(palette);
  label->setAlignment(internal::HorizontalAlignment(style_.alignment) | Qt::AlignTop);
  label->setWordWrap(multiline_);
}

}  // namespace fw
