#include "framework/controls.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>
#include <QValidator>
#include <algorithm>

#include "framework/internal.h"
#include "framework/picture.h"
#include "framework/runtime.h"
#include "framework/window.h"

namespace fw {
namespace {

template <class T>
const T& As(const Property& property, std::string_view className) {
  if (const T* typed = std::get_if<T>(&property.value)) return *typed;
  throw RuntimeException("property " + property.name + " of " + std::string(className) +
                         " does not take a " + TypeName(property.value));
}

QColor ToQColor(Color color) {
  return QColor(color.red, color.green, color.blue, 255 - color.alpha);
}

QFont MakeFont(const std::string& name, float size, bool bold, bool italic, bool underline) {
  QFont font = QApplication::font();
  if (name == "Courier") {
    // Courier's metric twins before any other fixed-pitch font: 0.6 em a character.
    font.setFamilies({"Courier", "Courier New", "Nimbus Mono PS", "Liberation Mono",
                      "DejaVu Sans Mono", "monospace"});
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
  } else if (!name.empty() && name != "System") {
    font.setFamilies({QString::fromStdString(name)});
  }
  // Sizes are in the window's units (one unit, one pixel); 0 keeps the default.
  if (size > 0) font.setPixelSize(static_cast<int>(size + 0.5f));
  font.setBold(bold);
  font.setItalic(italic);
  font.setUnderline(underline);
  return font;
}

Qt::Alignment HorizontalAlignment(std::int64_t code) {
  switch (code) {
    case 2:
      return Qt::AlignHCenter;
    case 3:
      return Qt::AlignRight;
    default:
      return Qt::AlignLeft;
  }
}

// Where a press on a control lies in its window's client area.
QPoint InWindow(const QWidget* widget, QPointF local) {
  auto window = internal::WindowOf(widget);
  if (!window || !window->ContentWidget()) return local.toPoint();
  return widget->mapTo(window->ContentWidget(), local.toPoint());
}

// Passes a key to the control's KeyDown, then to its window's. A widget that
// offered a key accepts it in the end, whatever its base class did with it, so
// that the key does not travel up to the window's own widget and raise the
// window's KeyDown a second time.
template <class C>
bool OfferKey(QWidget* widget, const std::weak_ptr<C>& owner, QKeyEvent* event,
              bool (C::*raise)(const std::string&)) {
  std::string key = internal::KeyString(*event);
  if (key.empty()) return false;
  if (auto control = owner.lock(); control && raise && ((*control).*raise)(key)) return true;
  return internal::RaiseWindowKeyDown(widget, key);
}

class FieldWidget : public QLineEdit {
 public:
  FieldWidget(QWidget* parent, std::weak_ptr<TextField> owner)
      : QLineEdit(parent), owner_(std::move(owner)) {}

 protected:
  // Qt takes Tab for the focus chain before keyPressEvent: the field sees it first.
  bool event(QEvent* event) override {
    if (event->type() == QEvent::KeyPress) {
      auto* key = static_cast<QKeyEvent*>(event);
      if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
        if (OfferKey(this, owner_, key, &TextField::RaiseKeyDown)) return true;
        // Offered already: keyPressEvent, if Qt calls it for this Tab, must not offer it again.
        QScopedValueRollback<bool> offered(tabOffered_, true);
        return QLineEdit::event(event);
      }
    }
    return QLineEdit::event(event);
  }
  void keyPressEvent(QKeyEvent* event) override {
    if (!tabOffered_ && OfferKey(this, owner_, event, &TextField::RaiseKeyDown)) {
      event->accept();
      return;
    }
    QLineEdit::keyPressEvent(event);
    event->accept();
  }
  void mousePressEvent(QMouseEvent* event) override {
    if (internal::RaiseWindowMouseDown(this, InWindow(this, event->position()))) return;
    QLineEdit::mousePressEvent(event);
  }

 private:
  std::weak_ptr<TextField> owner_;
  bool tabOffered_ = false;
};

// The field's entry rules, for what the user types or pastes.
class FieldValidator : public QValidator {
 public:
  FieldValidator(QObject* parent, std::weak_ptr<TextField> owner)
      : QValidator(parent), owner_(std::move(owner)) {}
  State validate(QString& input, int&) const override {
    auto field = owner_.lock();
    if (!field || field->AcceptsUserText(internal::FromQt(input))) return Acceptable;
    return Invalid;
  }

 private:
  std::weak_ptr<TextField> owner_;
};

// The first palette kept in the same colours as palette, in its colour group.
// Qt's style caches drawn pieces of a scroll bar under keys that hold the
// palette's cache key, and a widget inside one with a palette of its own gets
// a palette with a key of its own, equal colours or not: drawn with its own,
// each new window's text area would add pieces to the cache for good.
QPalette SharedPalette(const QPalette& palette) {
  static std::vector<QPalette> kept;
  constexpr std::size_t kKept = 16;
  auto found = std::find(kept.begin(), kept.end(), palette);
  if (found == kept.end()) {
    if (kept.size() == kKept) kept.erase(kept.begin());
    found = kept.insert(kept.end(), palette);
  }
  QPalette shared = *found;
  shared.setCurrentColorGroup(palette.currentColorGroup());
  return shared;
}

class AreaScrollBar : public QScrollBar {
 public:
  using QScrollBar::QScrollBar;

 protected:
  void initStyleOption(QStyleOptionSlider* option) const override {
    QScrollBar::initStyleOption(option);
    option->palette = SharedPalette(option->palette);
  }
};

class AreaWidget : public QTextEdit {
 public:
  AreaWidget(QWidget* parent, std::weak_ptr<TextArea> owner)
      : QTextEdit(parent), owner_(std::move(owner)) {
    setVerticalScrollBar(new AreaScrollBar(Qt::Vertical, this));
    setHorizontalScrollBar(new AreaScrollBar(Qt::Horizontal, this));
  }

 protected:
  bool event(QEvent* event) override {
    if (event->type() == QEvent::KeyPress) {
      auto* key = static_cast<QKeyEvent*>(event);
      if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
        if (OfferKey<TextArea>(this, owner_, key, nullptr)) return true;
        QScopedValueRollback<bool> offered(tabOffered_, true);
        return QTextEdit::event(event);
      }
    }
    return QTextEdit::event(event);
  }
  void keyPressEvent(QKeyEvent* event) override {
    if (auto area = owner_.lock()) area->Flush();
    if (!tabOffered_ && OfferKey<TextArea>(this, owner_, event, nullptr)) {
      event->accept();
      return;
    }
    QTextEdit::keyPressEvent(event);
    event->accept();
  }
  void mousePressEvent(QMouseEvent* event) override {
    if (auto area = owner_.lock()) area->Flush();
    if (internal::RaiseWindowMouseDown(this, InWindow(viewport(), event->position()))) return;
    QTextEdit::mousePressEvent(event);
  }
  void paintEvent(QPaintEvent* event) override {
    if (auto area = owner_.lock()) area->Flush();
    QTextEdit::paintEvent(event);
  }

 private:
  std::weak_ptr<TextArea> owner_;
  bool tabOffered_ = false;
};

class ButtonWidget : public QPushButton {
 public:
  ButtonWidget(QWidget* parent, std::weak_ptr<PushButton> owner)
      : QPushButton(parent), owner_(std::move(owner)) {}

 protected:
  // The button acts on the press, not on the release.
  void mousePressEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton) {
      QPoint local = event->position().toPoint();
      QPointer<ButtonWidget> alive(this);
      const int modalRuns = internal::ModalRuns();
      if (auto button = owner_.lock(); button && button->RaiseMouseDown(local.x(), local.y())) {
        return;
      }
      if (!alive) return;
      if (internal::RaiseWindowMouseDown(this, InWindow(this, event->position()))) return;
      // A box shown by the handler took the release: pressing the button
      // now would leave it drawn down.
      if (!alive || internal::ModalRuns() != modalRuns) return;
    }
    QPushButton::mousePressEvent(event);
  }
  void keyPressEvent(QKeyEvent* event) override {
    if (!OfferKey<PushButton>(this, owner_, event, nullptr)) QPushButton::keyPressEvent(event);
    event->accept();
  }

 private:
  std::weak_ptr<PushButton> owner_;
};

class CanvasWidget : public QWidget {
 public:
  CanvasWidget(QWidget* parent, std::weak_ptr<Canvas> owner)
      : QWidget(parent), owner_(std::move(owner)) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    auto canvas = owner_.lock();
    if (!canvas || !canvas->Backdrop()) return;
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), canvas->Backdrop()->Image());
  }

 private:
  std::weak_ptr<Canvas> owner_;
};

class LabelWidget : public QLabel {
 public:
  using QLabel::QLabel;
};

// The code points of text, as QString positions.
qsizetype QtPosition(const QString& text, std::int64_t codePoint) {
  qsizetype position = 0;
  for (std::int64_t i = 0; i < codePoint && position < text.size(); ++i) {
    position += (text[position].isHighSurrogate() && position + 1 < text.size()) ? 2 : 1;
  }
  return position;
}

// A CR becomes a paragraph break of the document. QTextCursor::insertText
// would also break at an LF and fold CR LF into one break, so an LF goes in
// as a line separator: one character of its own that reads back as an LF.
QString ToDocument(std::string_view text) {
  QString converted = internal::ToQt(text);
  converted.replace(QLatin1Char('\n'), QChar::LineSeparator);
  return converted;
}

QString RawText(const QTextDocument& document) {
  QString raw = document.toRawText();
  raw.replace(QChar::ParagraphSeparator, QLatin1Char('\r'));
  raw.replace(QChar::LineSeparator, QLatin1Char('\n'));
  return raw;
}

// The program's own changes to a text are not the user's to undo: they go in
// with undo off, which also forgets the edits before them.
class ProgramEdit {
 public:
  explicit ProgramEdit(QTextDocument* document)
      : document_(document), undo_(document->isUndoRedoEnabled()) {
    document_->setUndoRedoEnabled(false);
  }
  ~ProgramEdit() { document_->setUndoRedoEnabled(undo_); }
  ProgramEdit(const ProgramEdit&) = delete;
  ProgramEdit& operator=(const ProgramEdit&) = delete;

 private:
  QTextDocument* document_;
  bool undo_;
};

// Sets the weight of the characters start to end - 1 (code points of the
// text); the part beyond the end of the text is ignored.
void SetWeight(QTextDocument* document, std::int64_t start, std::int64_t end, bool bold) {
  QString raw = RawText(*document);
  qsizetype from = QtPosition(raw, start);
  qsizetype to = QtPosition(raw, end);
  if (from >= to) return;
  ProgramEdit edit(document);
  QTextCursor cursor(document);
  cursor.setPosition(static_cast<int>(from));
  cursor.setPosition(static_cast<int>(to), QTextCursor::KeepAnchor);
  QTextCharFormat format;
  format.setFontWeight(bold ? QFont::Bold : QFont::Normal);
  cursor.mergeCharFormat(format);
}

}  // namespace

// ---- Control ----

Control::Control() = default;
Control::~Control() = default;

void Control::SetWindow(const std::shared_ptr<Window>& window) {
  window_ = window;
}

std::shared_ptr<Window> Control::GetWindow() const {
  return window_.lock();
}

void Control::SetProperties(const PropertyList& list) {
  for (const Property& property : list) {
    if (!ApplyProperty(property)) {
      throw RuntimeException("a " + std::string(ClassName()) + " has no property named " +
                             property.name);
    }
    applied_.push_back(property);
  }
}

bool Control::ApplyProperty(const Property& property) {
  const std::string& name = property.name;
  if (name == "Name") {
    name_ = As<std::string>(property, ClassName());
  } else if (name == "Index" || name == "TabPanelIndex") {
    std::int64_t value = As<std::int64_t>(property, ClassName());
    if (name == "Index") index_ = value;
  } else if (name == "DataSource" || name == "DataField") {
    (void)As<std::string>(property, ClassName());
  } else if (name == "AllowAutoDeactivate") {
    (void)As<bool>(property, ClassName());
  } else {
    return false;
  }
  return true;
}

// ---- RectControl ----

struct RectControl::Guard {
  QPointer<QWidget> widget;
};

RectControl::RectControl() : guard_(std::make_unique<Guard>()) {}
RectControl::~RectControl() = default;

QWidget* RectControl::Widget() const {
  return guard_->widget.data();
}

void RectControl::Constructor() {
  auto window = GetWindow();
  if (!window) throw NilObjectException("a control was made without a window");
  QWidget* widget = CreateWidget(window->ContentWidget());
  guard_->widget = widget;
  widget->setObjectName(QString::fromStdString(Name()));
  UpdateFocusPolicy();
  PlaceWidget();
  widget->setVisible(visible_);
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
  if (!initialParent_.empty()) {
    if (auto window = GetWindow()) {
      if (auto parent =
              std::dynamic_pointer_cast<RectControl>(window->ControlByName(initialParent_))) {
        offsetX = parent->Left();
        offsetY = parent->Top();
      }
    }
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

bool RectControl::ApplyProperty(const Property& property) {
  const std::string& name = property.name;
  auto integer = [&] { return As<std::int64_t>(property, ClassName()); };
  auto boolean = [&] { return As<bool>(property, ClassName()); };
  if (name == "Left") {
    left_ = integer();
  } else if (name == "Top") {
    top_ = integer();
  } else if (name == "Width") {
    width_ = integer();
  } else if (name == "Height") {
    height_ = integer();
  } else if (name == "LockLeft") {
    lockLeft_ = boolean();
  } else if (name == "LockTop") {
    lockTop_ = boolean();
  } else if (name == "LockRight") {
    lockRight_ = boolean();
  } else if (name == "LockBottom") {
    lockBottom_ = boolean();
  } else if (name == "TabIndex") {
    tabIndex_ = integer();
  } else if (name == "TabStop") {
    tabStop_ = boolean();
  } else if (name == "AllowFocus") {
    allowFocus_ = boolean();
  } else if (name == "Visible") {
    visible_ = boolean();
  } else if (name == "Enabled") {
    enabled_ = boolean();
  } else if (name == "Tooltip") {
    tooltip_ = As<std::string>(property, ClassName());
  } else if (name == "InitialParent") {
    initialParent_ = As<std::string>(property, ClassName());
    if (!initialParent_.empty()) {
      auto window = GetWindow();
      auto parent =
          window ? std::dynamic_pointer_cast<RectControl>(window->ControlByName(initialParent_))
                 : nullptr;
      if (!parent || !parent->Widget()) {
        throw RuntimeException("no control named " + initialParent_ + " to place " + Name() +
                               " in");
      }
      if (QWidget* widget = Widget()) widget->setParent(parent->Widget());
    }
  } else if (name == "AllowFocusRing" || name == "Transparent" || name == "DoubleBuffer" ||
             name == "AllowTabs") {
    (void)boolean();
  } else {
    return Control::ApplyProperty(property);
  }
  if (QWidget* widget = Widget()) {
    // The name arrives after the widget is made (Window::AddControl).
    widget->setObjectName(QString::fromStdString(Name()));
    PlaceWidget();
    widget->setVisible(visible_);
    widget->setEnabled(enabled_);
    widget->setToolTip(
        internal::ToQt(tooltip_).toHtmlEscaped().isEmpty()
            ? QString()
            : QStringLiteral("<p>%1</p>").arg(internal::ToQt(tooltip_).toHtmlEscaped()));
    UpdateFocusPolicy();
  }
  return true;
}

bool RectControl::ApplyStyleProperty(const Property& property) {
  const std::string& name = property.name;
  if (name == "FontName") {
    style_.fontName = As<std::string>(property, ClassName());
  } else if (name == "FontSize") {
    style_.fontSize = As<float>(property, ClassName());
  } else if (name == "FontUnit") {
    (void)As<FontUnit>(property, ClassName());
  } else if (name == "Bold") {
    style_.bold = As<bool>(property, ClassName());
  } else if (name == "Italic") {
    style_.italic = As<bool>(property, ClassName());
  } else if (name == "Underline") {
    style_.underline = As<bool>(property, ClassName());
  } else if (name == "TextColor") {
    style_.textColor = As<Color>(property, ClassName());
  } else if (name == "BackgroundColor") {
    style_.backgroundColor = As<Color>(property, ClassName());
  } else if (name == "HasBorder") {
    style_.hasBackground = As<bool>(property, ClassName());
  } else if (name == "TextAlignment") {
    style_.alignment = As<std::int64_t>(property, ClassName());
  } else {
    return false;
  }
  UpdateStyle();
  return true;
}

// ---- Label ----

QWidget* Label::CreateWidget(QWidget* parent) {
  auto* label = new LabelWidget(parent);
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
  if (property.name == "Value" || property.name == "Text") {
    SetText(As<std::string>(property, ClassName()));
  } else if (property.name == "Multiline") {
    multiline_ = As<bool>(property, ClassName());
    UpdateStyle();
  } else if (property.name == "Selectable") {
    bool selectable = As<bool>(property, ClassName());
    if (auto* label = qobject_cast<QLabel*>(Widget())) {
      label->setTextInteractionFlags(selectable ? Qt::TextSelectableByMouse
                                                : Qt::NoTextInteraction);
    }
  } else if (!ApplyStyleProperty(property)) {
    return RectControl::ApplyProperty(property);
  }
  return true;
}

void Label::UpdateStyle() {
  UpdateStyleOn(qobject_cast<QLabel*>(Widget()));
}

void Label::UpdateStyleOn(QLabel* label) {
  if (!label) return;
  label->setFont(
      MakeFont(style_.fontName, style_.fontSize, style_.bold, style_.italic, style_.underline));
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, ToQColor(style_.textColor));
  label->setPalette(palette);
  label->setAlignment(HorizontalAlignment(style_.alignment) | Qt::AlignTop);
  label->setWordWrap(multiline_);
}

// ---- TextField ----

QWidget* TextField::CreateWidget(QWidget* parent) {
  auto self = std::static_pointer_cast<TextField>(shared_from_this());
  auto* field = new FieldWidget(parent, self);
  field->setValidator(new FieldValidator(field, self));
  field->setFrame(true);
  return field;
}

void TextField::SetText(std::string text) {
  if (auto* field = qobject_cast<QLineEdit*>(Widget())) field->setText(internal::ToQt(text));
}

std::string TextField::Text() const {
  auto* field = qobject_cast<QLineEdit*>(Widget());
  return field ? internal::FromQt(field->text()) : std::string();
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
  const std::string& name = property.name;
  auto* field = qobject_cast<QLineEdit*>(Widget());
  if (name == "Value" || name == "Text") {
    SetText(As<std::string>(property, ClassName()));
  } else if (name == "MaximumCharactersAllowed") {
    maxChars_ = As<std::int64_t>(property, ClassName());
  } else if (name == "ValidationMask") {
    mask_ = As<std::string>(property, ClassName());
  } else if (name == "ReadOnly") {
    readOnly_ = As<bool>(property, ClassName());
    if (field) field->setReadOnly(readOnly_);
  } else if (name == "Password") {
    bool password = As<bool>(property, ClassName());
    if (field) field->setEchoMode(password ? QLineEdit::Password : QLineEdit::Normal);
  } else if (name == "Hint") {
    std::string hint = As<std::string>(property, ClassName());
    if (field) field->setPlaceholderText(internal::ToQt(hint));
  } else if (name == "Format") {
    (void)As<std::string>(property, ClassName());
  } else if (name == "AllowSpellChecking") {
    (void)As<bool>(property, ClassName());
  } else if (!ApplyStyleProperty(property)) {
    return RectControl::ApplyProperty(property);
  }
  return true;
}

void TextField::UpdateStyle() {
  auto* field = qobject_cast<QLineEdit*>(Widget());
  if (!field) return;
  field->setFont(
      MakeFont(style_.fontName, style_.fontSize, style_.bold, style_.italic, style_.underline));
  QPalette palette = field->palette();
  palette.setColor(QPalette::Text, ToQColor(style_.textColor));
  palette.setColor(QPalette::Base, ToQColor(style_.backgroundColor));
  field->setPalette(palette);
  field->setFrame(style_.hasBackground);
  field->setAlignment(HorizontalAlignment(style_.alignment) | Qt::AlignVCenter);
}

// ---- TextArea and StyledText ----

TextArea::TextArea() = default;
TextArea::~TextArea() = default;

QWidget* TextArea::CreateWidget(QWidget* parent) {
  auto* area = new AreaWidget(parent, std::static_pointer_cast<TextArea>(shared_from_this()));
  area->setAcceptRichText(false);
  area->setTabChangesFocus(true);
  // No margin inside the frame: rows laid out for the area's width fit it (a
  // row of 102 Courier characters is within a pixel of the display's width).
  area->document()->setDocumentMargin(0);
  area->setLineWrapMode(QTextEdit::WidgetWidth);
  area->document()->setUndoRedoEnabled(true);
  return area;
}

namespace {
QTextCharFormat BaseFormat(QTextEdit* area) {
  QTextCharFormat format;
  format.setFont(area->font());
  format.setForeground(area->palette().color(QPalette::Text));
  return format;
}
}  // namespace

void TextArea::SetText(std::string text) {
  pending_.clear();
  auto* area = qobject_cast<QTextEdit*>(Widget());
  if (!area) return;
  boldMarks_.clear();
  QTextDocument* document = area->document();
  ProgramEdit edit(document);
  document->clear();
  QTextCursor cursor(document);
  cursor.setBlockCharFormat(BaseFormat(area));
  cursor.insertText(ToDocument(text), BaseFormat(area));
  area->moveCursor(QTextCursor::Start);
}

std::string TextArea::Text() const {
  Flush();
  auto* area = qobject_cast<QTextEdit*>(Widget());
  return area ? internal::FromQt(RawText(*area->document())) : std::string();
}

void TextArea::AddText(std::string_view piece) {
  bool scheduled = !pending_.empty();
  pending_.append(piece);
  if (scheduled || !Widget()) return;
  // Shown at the next turn of the loop unless something reads it first.
  std::weak_ptr<TextArea> weak = std::static_pointer_cast<TextArea>(shared_from_this());
  QTimer::singleShot(0, Widget(), [weak] {
    if (auto area = weak.lock()) area->Flush();
  });
}

void TextArea::Flush() const {
  if (pending_.empty()) return;
  auto* area = qobject_cast<QTextEdit*>(Widget());
  if (!area) return;
  QString text = ToDocument(pending_);
  pending_.clear();
  ProgramEdit edit(area->document());
  QTextCursor cursor(area->document());
  cursor.movePosition(QTextCursor::End);
  cursor.insertText(text, BaseFormat(area));
}

std::unique_ptr<StyledText> TextArea::GetStyledText() {
  return std::make_unique<StyledText>(std::static_pointer_cast<TextArea>(shared_from_this()));
}

void TextArea::RaiseOpen() {
  if (!open_) return;
  auto keep = shared_from_this();
  open_(*this);
}

bool TextArea::ApplyProperty(const Property& property) {
  const std::string& name = property.name;
  auto* area = qobject_cast<QTextEdit*>(Widget());
  if (name == "Value" || name == "Text") {
    SetText(As<std::string>(property, ClassName()));
  } else if (name == "ReadOnly") {
    readOnly_ = As<bool>(property, ClassName());
    if (area) area->setReadOnly(readOnly_);
  } else if (name == "HasVerticalScrollbar") {
    vScroll_ = As<bool>(property, ClassName());
    if (area) {
      area->setVerticalScrollBarPolicy(vScroll_ ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    }
  } else if (name == "HasHorizontalScrollbar") {
    hScroll_ = As<bool>(property, ClassName());
    if (area) {
      area->setHorizontalScrollBarPolicy(hScroll_ ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
      area->setLineWrapMode(hScroll_ ? QTextEdit::NoWrap : QTextEdit::WidgetWidth);
    }
  } else if (name == "AllowTabs") {
    bool tabs = As<bool>(property, ClassName());
    if (area) area->setTabChangesFocus(!tabs);
  } else if (name == "LineHeight" || name == "LineSpacing") {
    (void)As<double>(property, ClassName());
  } else if (name == "MaximumCharactersAllowed") {
    (void)As<std::int64_t>(property, ClassName());
  } else if (name == "Format" || name == "ValidationMask") {
    (void)As<std::string>(property, ClassName());
  } else if (name == "HideSelection") {
    hideSelection_ = As<bool>(property, ClassName());
    UpdateStyle();
  } else if (name == "Multiline" || name == "AllowStyledText" || name == "AllowSpellChecking") {
    (void)As<bool>(property, ClassName());
  } else if (!ApplyStyleProperty(property)) {
    return RectControl::ApplyProperty(property);
  }
  return true;
}

void TextArea::UpdateStyle() {
  auto* area = qobject_cast<QTextEdit*>(Widget());
  if (!area) return;
  Flush();
  QFont font =
      MakeFont(style_.fontName, style_.fontSize, style_.bold, style_.italic, style_.underline);
  area->setFont(font);
  area->document()->setDefaultFont(font);
  QPalette palette = area->palette();
  palette.setColor(QPalette::Text, ToQColor(style_.textColor));
  palette.setColor(QPalette::Base, ToQColor(style_.backgroundColor));
  if (hideSelection_) {
    // Out of focus, the selection is not drawn.
    palette.setColor(QPalette::Inactive, QPalette::Highlight, ToQColor(style_.backgroundColor));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText, ToQColor(style_.textColor));
  }
  area->setPalette(palette);
  area->setFrameShape(style_.hasBackground ? QFrame::StyledPanel : QFrame::NoFrame);
  area->setAlignment(HorizontalAlignment(style_.alignment));
  // What the text already holds takes the control's style, then its bold
  // runs again: a merge would carry the style's weight over them.
  ProgramEdit edit(area->document());
  QTextCursor cursor(area->document());
  cursor.select(QTextCursor::Document);
  cursor.setCharFormat(BaseFormat(area));
  for (const BoldMark& mark : boldMarks_) {
    SetWeight(area->document(), mark.start, mark.start + mark.length, mark.value);
  }
}

std::shared_ptr<TextArea> StyledText::Area() const {
  auto area = area_.lock();
  if (!area || !area->Widget()) throw NilObjectException("the styled text's area is gone");
  return area;
}

void StyledText::SetBold(std::int64_t start, std::int64_t length, bool value) {
  auto area = Area();
  area->Flush();
  if (length <= 0) return;
  // Only the run's part inside the text counts; its end must not overflow.
  auto* edit = qobject_cast<QTextEdit*>(area->Widget());
  QTextDocument* document = edit->document();
  const auto textLength = static_cast<std::int64_t>(RawText(*document).toUcs4().size());
  std::int64_t end = start > textLength - length ? textLength : start + length;
  start = std::max<std::int64_t>(start, 0);
  if (start >= end) return;
  SetWeight(document, start, end, value);
  area->boldMarks_.push_back({start, end - start, value});
}

bool StyledText::Bold(std::int64_t position) const {
  auto area = Area();
  area->Flush();
  auto* edit = qobject_cast<QTextEdit*>(area->Widget());
  QTextDocument* document = edit->document();
  QString raw = RawText(*document);
  qsizetype at = QtPosition(raw, position);
  if (position < 0 || at >= raw.size()) return false;
  if (raw[at] == QLatin1Char('\r')) {
    // A line break draws nothing: it is bold where a run set it so.
    bool bold = false;
    for (const auto& mark : area->boldMarks_) {
      if (position >= mark.start && position < mark.start + mark.length) bold = mark.value;
    }
    return bold;
  }
  QTextBlock block = document->findBlock(static_cast<int>(at));
  for (auto it = block.begin(); !it.atEnd(); ++it) {
    QTextFragment fragment = it.fragment();
    if (at >= fragment.position() && at < fragment.position() + fragment.length()) {
      return fragment.charFormat().fontWeight() >= QFont::Bold;
    }
  }
  return false;
}

// ---- PushButton ----

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
  const std::string& name = property.name;
  auto* button = qobject_cast<QPushButton*>(Widget());
  if (name == "Caption") {
    caption_ = As<std::string>(property, ClassName());
    if (button) {
      button->setText(internal::ToQt(caption_));
      button->setAccessibleName(internal::ToQt(caption_));
    }
  } else if (name == "Default") {
    default_ = As<bool>(property, ClassName());
    if (button) button->setDefault(default_);
  } else if (name == "Cancel") {
    cancel_ = As<bool>(property, ClassName());
  } else if (name == "MacButtonStyle") {
    (void)As<std::int64_t>(property, ClassName());
  } else if (!ApplyStyleProperty(property)) {
    return RectControl::ApplyProperty(property);
  }
  return true;
}

void PushButton::UpdateStyle() {
  auto* button = qobject_cast<QPushButton*>(Widget());
  if (!button) return;
  button->setFont(
      MakeFont(style_.fontName, style_.fontSize, style_.bold, style_.italic, style_.underline));
}

// ---- Canvas ----

QWidget* Canvas::CreateWidget(QWidget* parent) {
  return new CanvasWidget(parent, std::static_pointer_cast<Canvas>(shared_from_this()));
}

void Canvas::SetBackdrop(std::shared_ptr<Picture> picture) {
  backdrop_ = std::move(picture);
  if (QWidget* widget = Widget()) widget->update();
}

bool Canvas::ApplyProperty(const Property& property) {
  return RectControl::ApplyProperty(property);
}

// ---- Timer ----

Timer::Timer() : timer_(std::make_unique<QTimer>()) {
  timer_->setTimerType(Qt::PreciseTimer);
  QObject::connect(timer_.get(), &QTimer::timeout, [this] { Fire(); });
}

Timer::~Timer() = default;

void Timer::SetPeriod(std::int64_t milliseconds) {
  period_ = std::max<std::int64_t>(milliseconds, 0);
  if (runMode_ != Off) Restart();
}

void Timer::SetRunMode(std::int64_t mode) {
  runMode_ = mode;
  Restart();
}

bool Timer::IsActive() const {
  return timer_->isActive();
}

void Timer::Restart() {
  timer_->stop();
  if (runMode_ == Off) return;
  timer_->setSingleShot(runMode_ == Single);
  timer_->start(static_cast<int>(std::min<std::int64_t>(period_, INT32_MAX)));
}

void Timer::Fire() {
  ++fired_;
  if (runMode_ == Single) runMode_ = Off;
  if (!action_) return;
  auto keep = shared_from_this();
  Dispatch([this] { action_(*this); });
}

bool Timer::ApplyProperty(const Property& property) {
  if (property.name == "Period") {
    SetPeriod(As<std::int64_t>(property, ClassName()));
  } else if (property.name == "RunMode") {
    SetRunMode(As<std::int64_t>(property, ClassName()));
  } else if (property.name == "Enabled") {
    (void)As<bool>(property, ClassName());
  } else {
    return Control::ApplyProperty(property);
  }
  return true;
}

}  // namespace fw
