#include "framework/controls/text_area.h"

#include <QCoreApplication>
#include <QEvent>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextFrame>
#include <QTimer>
#include <algorithm>
#include <array>

#include "framework/controls/widget_p.h"
#include "framework/no_destructor.h"

namespace fw {
namespace {

// The first palette kept in the same colours as palette, in its colour group.
// Qt's style caches drawn pieces of a scroll bar in the application's pixmap
// cache under keys that hold the palette's cache key, and a widget inside one
// with a palette of its own gets a palette with a key of its own, equal
// colours or not. Drawn with a kept palette, each new window's text area
// finds the pieces that an earlier one drew; drawn with its own, it would add
// copies of them, which fill the cache and push out what others drew (past
// its limit the cache drops its least recently used entries).
QPalette SharedPalette(const QPalette& palette) {
  static NoDestructor<std::vector<QPalette>> keptPalettes;
  std::vector<QPalette>& kept = *keptPalettes;
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
  AreaScrollBar(Qt::Orientation orientation, QFrame* area)
      : QScrollBar(orientation, area), area_(area) {}

  // The windows were laid out for a 14-pixel scroll bar beside their text
  // and, with a border, a 1-pixel frame a side. A style's wider scroll bar or
  // thicker frame (Windows: 16 and 2 pixels) narrows the vertical scroll bar
  // by as much: text laid out to fit an area keeps the width it was laid out
  // for. The area takes this width when it lays out its scroll bars.
  QSize sizeHint() const override {
    constexpr int kLaidOutWidth = 14;
    QSize size = QScrollBar::sizeHint();
    if (orientation() == Qt::Vertical) {
      const int thicker = area_->frameWidth() > 0 ? 2 * (area_->frameWidth() - 1) : 0;
      size.setWidth(std::min(size.width(), kLaidOutWidth - thicker));
    }
    return size;
  }

 protected:
  void initStyleOption(QStyleOptionSlider* option) const override {
    QScrollBar::initStyleOption(option);
    option->palette = SharedPalette(option->palette);
  }

 private:
  QFrame* area_;
};

class AreaWidget : public internal::ControlWidget<QTextEdit, TextArea> {
 public:
  AreaWidget(QWidget* parent, std::weak_ptr<TextArea> owner)
      : ControlWidget(parent, std::move(owner)) {
    setVerticalScrollBar(new AreaScrollBar(Qt::Vertical, this));
    setHorizontalScrollBar(new AreaScrollBar(Qt::Horizontal, this));
  }

 protected:
  // What the user sees, reads or edits includes every append made so far.
  void BeforeInput() override {
    if (auto area = OwnerControl()) area->Flush();
  }
  const QWidget* PressSurface() const override { return viewport(); }
  // Where Tab moves the focus, it types nothing, also in a window with
  // nothing else to move it to (QTextEdit would type a tab there).
  void keyPressEvent(QKeyEvent* event) override {
    if (tabChangesFocus() && (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab)) {
      event->accept();
      return;
    }
    ControlWidget::keyPressEvent(event);
  }
  void paintEvent(QPaintEvent* event) override {
    BeforeInput();
    QTextEdit::paintEvent(event);
  }
};

QTextEdit* Edit(QWidget* widget) {
  return qobject_cast<QTextEdit*>(widget);
}

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

// Prose stands a few pixels inside the frame, as in a platform text view, but
// not on the right, beside the scroll bar: the help's widest example row
// leaves 3 of its 534 pixels. Fixed-pitch text is laid out in columns across
// the whole width (a row of 102 Courier characters is within a pixel of the
// display's width), so it has none. QTextDocument::clear() drops them.
void SetMargins(QTextEdit* area, bool fixedPitch) {
  QTextFrame* root = area->document()->rootFrame();
  QTextFrameFormat format = root->frameFormat();
  format.setMargin(fixedPitch ? 0 : 3);
  format.setRightMargin(0);
  if (format == root->frameFormat()) return;
  ProgramEdit edit(area->document());
  root->setFrameFormat(format);
}

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

QTextCharFormat BaseFormat(QTextEdit* area) {
  QTextCharFormat format;
  format.setFont(area->font());
  format.setForeground(area->palette().color(QPalette::Text));
  return format;
}

}  // namespace

TextArea::TextArea() = default;
TextArea::~TextArea() = default;

QWidget* TextArea::CreateWidget(QWidget* parent) {
  auto* area = new AreaWidget(parent, std::static_pointer_cast<TextArea>(shared_from_this()));
  area->setAcceptRichText(false);
  area->document()->setUndoRedoEnabled(true);
  return area;
}

void TextArea::SetText(std::string text) {
  auto* area = Edit(Widget());
  if (!area) {
    // The text waits with the appends for the widget's empty document.
    pending_ = std::move(text);
    return;
  }
  pending_.clear();
  boldMarks_.clear();
  QTextDocument* document = area->document();
  ProgramEdit edit(document);
  document->clear();
  SetMargins(area, StyleFixedPitch());
  QTextCursor cursor(document);
  cursor.setBlockCharFormat(BaseFormat(area));
  cursor.insertText(ToDocument(text), BaseFormat(area));
  area->moveCursor(QTextCursor::Start);
}

std::string TextArea::Text() const {
  Flush();
  auto* area = Edit(Widget());
  return area ? internal::FromQt(RawText(*area->document())) : pending_;
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
  auto* area = Edit(Widget());
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
  using A = TextArea;
  static constexpr std::array<PropertySetter<A>, 7> kSetters = {{
      {"Value", [](A& a, const Property& p) { a.SetText(PropertyAs<std::string>(p, "TextArea")); }},
      {"Text", [](A& a, const Property& p) { a.SetText(PropertyAs<std::string>(p, "TextArea")); }},
      {"ReadOnly",
       [](A& a, const Property& p) {
         Assign(a.readOnly_, p, "TextArea");
         a.UpdateSettings();
       }},
      {"HasVerticalScrollbar",
       [](A& a, const Property& p) {
         Assign(a.vScroll_, p, "TextArea");
         a.UpdateSettings();
       }},
      {"HasHorizontalScrollbar",
       [](A& a, const Property& p) {
         Assign(a.hScroll_, p, "TextArea");
         a.UpdateSettings();
       }},
      {"AllowTabs",
       [](A& a, const Property& p) {
         Assign(a.allowTabs_, p, "TextArea");
         a.UpdateSettings();
       }},
      {"HideSelection",
       [](A& a, const Property& p) {
         Assign(a.hideSelection_, p, "TextArea");
         a.UpdateStyle();
       }},
  }};
  return ApplyFromTable<A>(kSetters, "TextArea", *this, property) || ApplyStyleProperty(property) ||
         RectControl::ApplyProperty(property);
}

void TextArea::UpdateSettings() {
  auto* area = Edit(Widget());
  if (!area) return;
  area->setReadOnly(readOnly_);
  area->setVerticalScrollBarPolicy(vScroll_ ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  area->setHorizontalScrollBarPolicy(hScroll_ ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
  area->setLineWrapMode(hScroll_ ? QTextEdit::NoWrap : QTextEdit::WidgetWidth);
  area->setTabChangesFocus(!allowTabs_);
}

void TextArea::UpdateStyle() {
  auto* area = Edit(Widget());
  if (!area) return;
  Flush();
  QFont font = StyleFont();
  area->setFont(font);
  area->document()->setDefaultFont(font);
  SetMargins(area, StyleFixedPitch());
  QPalette palette = area->palette();
  palette.setColor(QPalette::Text, internal::ToQColor(style_.textColor));
  palette.setColor(QPalette::Base, internal::ToQColor(style_.backgroundColor));
  if (hideSelection_) {
    // Out of focus, the selection is not drawn.
    palette.setColor(QPalette::Inactive, QPalette::Highlight,
                     internal::ToQColor(style_.backgroundColor));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     internal::ToQColor(style_.textColor));
  }
  area->setPalette(palette);
  const QFrame::Shape frame = style_.hasBorder ? QFrame::StyledPanel : QFrame::NoFrame;
  if (area->frameShape() != frame) {
    area->setFrameShape(frame);
    // The scroll bar's width follows the frame's: its size is asked again,
    // then the area lays out its scroll bars again.
    area->verticalScrollBar()->updateGeometry();
    QCoreApplication::postEvent(area, new QEvent(QEvent::LayoutRequest));
  }
  area->setAlignment(internal::HorizontalAlignment(style_.alignment));
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
  QTextDocument* document = Edit(area->Widget())->document();
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
  QTextDocument* document = Edit(area->Widget())->document();
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

}  // namespace fw
