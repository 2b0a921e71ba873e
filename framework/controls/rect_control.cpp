#include "framework/controls/rect_control.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>
#include <algorithm>
#include <array>
#include <cctype>
#include <string>
#include <string_view>
#include <vector>

#include "framework/internal.h"

namespace fw {

struct RectControl::Guard {
  QPointer<QWidget> widget;
};

RectControl::RectControl() : guard_(std::make_unique<Guard>()) {}
RectControl::~RectControl() = default;

QWidget* RectControl::Widget() const {
  return guard_->widget.data();
}

QWidget* RectControl::TabChainWidget() const {
  QWidget* widget = Widget();
  if (!tabStop_ || !widget || !(widget->focusPolicy() & Qt::TabFocus)) return nullptr;
  return widget;
}

void RectControl::Constructor() {
  auto host = Host();
  if (!host) throw NilObjectException("a control was made without a window");
  guard_->widget = CreateWidget(host->ContentWidget());
  // Properties may have come before the widget: it takes them by the paths
  // that later changes take.
  UpdateWidget();
  UpdateStyle();
  UpdateSettings();
}

void RectControl::SetBounds(std::int64_t left, std::int64_t top, std::int64_t width,
                            std::int64_t height) {
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  PlaceWidget();
}

void RectControl::PlaceWidget() {
  QWidget* widget = Widget();
  if (!widget) return;
  std::int64_t offsetX = 0, offsetY = 0;
  if (auto parent = ParentControl()) {
    offsetX = parent->Left();
    offsetY = parent->Top();
  }
  widget->setGeometry(static_cast<int>(left_ - offsetX), static_cast<int>(top_ - offsetY),
                      static_cast<int>(std::max<std::int64_t>(width_, 0)),
                      static_cast<int>(std::max<std::int64_t>(height_, 0)));
}

void RectControl::FollowResize(std::int64_t dx, std::int64_t dy) {
  if (!initialParent_.empty()) return;
  if (lockRight_ && lockLeft_) {
    width_ += dx;
  } else if (lockRight_) {
    left_ += dx;
  }
  if (lockBottom_ && lockTop_) {
    height_ += dy;
  } else if (lockBottom_) {
    top_ += dy;
  }
  PlaceWidget();
}

void RectControl::SetVisible(bool visible) {
  visible_ = visible;
  if (QWidget* widget = Widget()) widget->setVisible(visible);
}

void RectControl::SetEnabled(bool enabled) {
  enabled_ = enabled;
  if (QWidget* widget = Widget()) widget->setEnabled(enabled);
}

void RectControl::SetFocus() {
  QWidget* widget = Widget();
  if (!widget) throw NilObjectException("the control " + Name() + " has no widget");
  widget->setFocus(Qt::OtherFocusReason);
}

bool RectControl::HasFocus() const {
  QWidget* widget = Widget();
  return widget && widget->window()->focusWidget() == widget;
}

void RectControl::UpdateFocusPolicy() {
  QWidget* widget = Widget();
  if (!widget) return;
  if (!Focusable() || !allowFocus_) {
    widget->setFocusPolicy(Qt::NoFocus);
  } else {
    widget->setFocusPolicy(tabStop_ ? Qt::StrongFocus : Qt::ClickFocus);
  }
}

bool RectControl::OfferKey(const std::string& key) {
  if (key.empty()) return false;
  if (RaiseKeyDown(key)) return true;
  auto host = Host();
  return host && host->RaiseKeyDown(key);
}

bool RectControl::OfferMouseDownToWindow(const QWidget* surface, QPointF local) {
  auto host = Host();
  if (!host) return false;
  QPoint at = local.toPoint();
  if (QWidget* content = host->ContentWidget(); content && surface) {
    at = surface->mapTo(content, at);
  }
  return host->RaiseMouseDown(at.x(), at.y());
}

std::shared_ptr<RectControl> RectControl::ParentControl() const {
  auto host = Host();
  if (initialParent_.empty() || !host) return nullptr;
  return std::dynamic_pointer_cast<RectControl>(host->ControlByName(initialParent_));
}

void RectControl::SetInitialParent(std::string parent) {
  initialParent_ = std::move(parent);
  if (initialParent_.empty()) return;
  auto control = ParentControl();
  if (!control || !control->Widget()) {
    throw RuntimeException("no control named " + initialParent_ + " to place " + Name() + " in");
  }
}

bool RectControl::ApplyProperty(const Property& property) {
  using R = RectControl;
  static constexpr std::array<PropertySetter<R>, 15> kSetters = {{
      {"Left", [](R& c, const Property& p) { Assign(c.left_, p, c.ClassName()); }},
      {"Top", [](R& c, const Property& p) { Assign(c.top_, p, c.ClassName()); }},
      {"Width", [](R& c, const Property& p) { Assign(c.width_, p, c.ClassName()); }},
      {"Height", [](R& c, const Property& p) { Assign(c.height_, p, c.ClassName()); }},
      {"LockLeft", [](R& c, const Property& p) { Assign(c.lockLeft_, p, c.ClassName()); }},
      {"LockTop", [](R& c, const Property& p) { Assign(c.lockTop_, p, c.ClassName()); }},
      {"LockRight", [](R& c, const Property& p) { Assign(c.lockRight_, p, c.ClassName()); }},
      {"LockBottom", [](R& c, const Property& p) { Assign(c.lockBottom_, p, c.ClassName()); }},
      {"TabIndex", [](R& c, const Property& p) { Assign(c.tabIndex_, p, c.ClassName()); }},
      {"TabStop", [](R& c, const Property& p) { Assign(c.tabStop_, p, c.ClassName()); }},
      {"AllowFocus", [](R& c, const Property& p) { Assign(c.allowFocus_, p, c.ClassName()); }},
      {"Visible", [](R& c, const Property& p) { Assign(c.visible_, p, c.ClassName()); }},
      {"Enabled", [](R& c, const Property& p) { Assign(c.enabled_, p, c.ClassName()); }},
      {"Tooltip", [](R& c, const Property& p) { Assign(c.tooltip_, p, c.ClassName()); }},
      {"InitialParent",
       [](R& c, const Property& p) {
         c.SetInitialParent(PropertyAs<std::string>(p, c.ClassName()));
       }},
  }};
  if (!ApplyFromTable<R>(kSetters, "RectControl", *this, property)) {
    return Control::ApplyProperty(property);
  }
  UpdateWidget();
  return true;
}

// The widget takes the control's settings; the name arrives after the widget
// is made (Window::AddControl).
void RectControl::UpdateWidget() {
  QWidget* widget = Widget();
  if (!widget) return;
  auto parent = ParentControl();
  if (QWidget* inside = parent ? parent->Widget() : nullptr;
      inside && widget->parentWidget() != inside) {
    widget->setParent(inside);
  }
  widget->setObjectName(QString::fromStdString(Name()));
  PlaceWidget();
  widget->setVisible(visible_);
  widget->setEnabled(enabled_);
  const QString tip = internal::ToQt(tooltip_).toHtmlEscaped();
  widget->setToolTip(tip.isEmpty() ? QString() : QStringLiteral("<p>%1</p>").arg(tip));
  UpdateFocusPolicy();
}

namespace {

// The words of a family name in lower case, split at spaces and hyphens and
// where a capital follows a small letter: "FreeMono" is "free" and "mono".
std::vector<std::string> FamilyWords(std::string_view name) {
  std::vector<std::string> words(1);
  char previous = ' ';
  for (char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    const bool split = c == ' ' || c == '-';
    const bool camel = std::isupper(byte) && std::islower(static_cast<unsigned char>(previous));
    if ((split || camel) && !words.back().empty()) words.emplace_back();
    if (!split) words.back() += static_cast<char>(std::tolower(byte));
    previous = c;
  }
  if (words.back().empty()) words.pop_back();
  return words;
}

}  // namespace

QFont RectControl::StyleFont() const {
  QFont font = QApplication::font();
  if (StyleFixedPitch()) {
    // Courier's metric twins (0.6 em a character) before any other
    // fixed-pitch font, should the family asked for be missing.
    QStringList families = {QString::fromStdString(style_.fontName)};
    for (const char* fallback : {"Courier", "Courier New", "Nimbus Mono PS", "Liberation Mono",
                                 "DejaVu Sans Mono", "monospace"}) {
      if (!families.contains(QLatin1String(fallback))) families.append(fallback);
    }
    font.setFamilies(families);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    // Columns keep the face's own advance whatever hinting the desktop asks
    // for: full hinting would round 13-pixel Courier's 7.8 pixels to 8, and
    // the display's rows of 102 characters would no longer fit it.
    font.setHintingPreference(QFont::PreferVerticalHinting);
  } else if (!style_.fontName.empty() && style_.fontName != "System") {
    font.setFamilies({QString::fromStdString(style_.fontName)});
  }
  // Sizes are in the window's units (one unit, one pixel); 0 keeps the default.
  if (style_.fontSize > 0) font.setPixelSize(static_cast<int>(style_.fontSize + 0.5f));
  font.setBold(style_.bold);
  font.setItalic(style_.italic);
  font.setUnderline(style_.underline);
  return font;
}

// Judged by the name the control asks for, not by the face the system
// delivers: where the system's sans-serif faces are monospaced, prose is
// still prose. Any Courier, a family with the word Mono (DejaVu Sans Mono,
// FreeMono, but not Monotype Corsiva) and the usual fixed-pitch names.
bool RectControl::StyleFixedPitch() const {
  static constexpr std::array<std::string_view, 6> kFixed = {"monospace",      "fixed", "consolas",
                                                             "lucida console", "menlo", "monaco"};
  const std::vector<std::string> words = FamilyWords(style_.fontName);
  if (words.empty()) return false;
  if (words.front() == "courier") return true;
  if (std::find(words.begin(), words.end(), "mono") != words.end()) return true;
  std::string name = words.front();
  for (std::size_t i = 1; i < words.size(); ++i) name += " " + words[i];
  return std::find(kFixed.begin(), kFixed.end(), name) != kFixed.end();
}

bool RectControl::ApplyStyleProperty(const Property& property) {
  using R = RectControl;
  static constexpr std::array<PropertySetter<R>, 9> kSetters = {{
      {"FontName", [](R& c, const Property& p) { Assign(c.style_.fontName, p, c.ClassName()); }},
      {"FontSize", [](R& c, const Property& p) { Assign(c.style_.fontSize, p, c.ClassName()); }},
      {"Bold", [](R& c, const Property& p) { Assign(c.style_.bold, p, c.ClassName()); }},
      {"Italic", [](R& c, const Property& p) { Assign(c.style_.italic, p, c.ClassName()); }},
      {"Underline", [](R& c, const Property& p) { Assign(c.style_.underline, p, c.ClassName()); }},
      {"TextColor", [](R& c, const Property& p) { Assign(c.style_.textColor, p, c.ClassName()); }},
      {"BackgroundColor",
       [](R& c, const Property& p) { Assign(c.style_.backgroundColor, p, c.ClassName()); }},
      {"HasBorder", [](R& c, const Property& p) { Assign(c.style_.hasBorder, p, c.ClassName()); }},
      {"TextAlignment",
       [](R& c, const Property& p) { Assign(c.style_.alignment, p, c.ClassName()); }},
  }};
  if (!ApplyFromTable<R>(kSetters, "TextStyle", *this, property)) return false;
  UpdateStyle();
  return true;
}

}  // namespace fw
