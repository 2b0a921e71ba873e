#include "framework/controls/label.h"

#include <QLabel>
#include <array>

#include "framework/controls/widget_p.h"

namespace fw {

QWidget* Label::CreateWidget(QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setTextFormat(Qt::PlainText);
  label->setTextInteractionFlags(Qt::NoTextInteraction);
  UpdateStyleOn(label);
  return label;
}

void Label::SetText(std::string text) {
  text_ = std::move(text);
  if (auto* label = qobject_cast<QLabel*>(Widget())) {
    label->setText(internal::ToQtLines(text_));
    label->setAccessibleName(internal::ToQtLines(text_));
  }
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
         const bool selectable = PropertyAs<bool>(p, "Label");
         if (auto* label = qobject_cast<QLabel*>(l.Widget())) {
           label->setTextInteractionFlags(selectable ? Qt::TextSelectableByMouse
                                                     : Qt::NoTextInteraction);
         }
       }},
  }};
  return ApplyFromTable<Label>(kSetters, "Label", *this, property) ||
         ApplyStyleProperty(property) || RectControl::ApplyProperty(property);
}

void Label::UpdateStyle() {
  UpdateStyleOn(qobject_cast<QLabel*>(Widget()));
}

void Label::UpdateStyleOn(QLabel* label) {
  if (!label) return;
  label->setFont(StyleFont());
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, internal::ToQColor(style_.textColor));
  label->setPalette(palette);
  label->setAlignment(internal::HorizontalAlignment(style_.alignment) | Qt::AlignTop);
  label->setWordWrap(multiline_);
}

}  // namespace fw
