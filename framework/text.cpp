// Conversions between the application's texts and Qt's, and the key strings
// that KeyDown handlers receive.
#include <QKeyEvent>

#include "framework/internal.h"
#include "framework/keys.h"
#include "framework/values.h"

namespace fw::internal {

QString ToQt(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString ToQtLines(std::string_view text) {
  QString converted = ToQt(text);
  converted.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return converted;
}

std::string FromQt(const QString& text) {
  return text.toStdString();
}

std::string KeyString(const QKeyEvent& event) {
  // Shortcuts and editing commands are the widgets' and the menus', not KeyDown's.
  if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return {};
  switch (event.key()) {
    case Qt::Key_Left:
      return Chr(keys::kLeft);
    case Qt::Key_Right:
      return Chr(keys::kRight);
    case Qt::Key_Up:
      return Chr(keys::kUp);
    case Qt::Key_Down:
      return Chr(keys::kDown);
    case Qt::Key_Backspace:
      return Chr(keys::kBackspace);
    case Qt::Key_Delete:
      return Chr(keys::kDelete);
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return Chr(keys::kTab);
    case Qt::Key_Return:
      return Chr(keys::kReturn);
    case Qt::Key_Enter:
      return Chr(keys::kEnter);
    case Qt::Key_Escape:
      return Chr(keys::kEscape);
    case Qt::Key_Home:
      return Chr(keys::kHome);
    case Qt::Key_End:
      return Chr(keys::kEnd);
    case Qt::Key_PageUp:
      return Chr(keys::kPageUp);
    case Qt::Key_PageDown:
      return Chr(keys::kPageDown);
    default:
      break;
  }
  QString text = event.text();
  if (text.isEmpty()) {
    switch (event.key()) {
      case Qt::Key_Shift:
      case Qt::Key_Control:
      case Qt::Key_Meta:
      case Qt::Key_Alt:
      case Qt::Key_AltGr:
      case Qt::Key_CapsLock:
      case Qt::Key_NumLock:
      case Qt::Key_ScrollLock:
      case Qt::Key_Super_L:
      case Qt::Key_Super_R:
      case Qt::Key_Hyper_L:
      case Qt::Key_Hyper_R:
      case Qt::Key_Mode_switch:
      case Qt::Key_unknown:
        return {};  // a modifier alone is not a key press
      case Qt::Key_Insert:
      case Qt::Key_Help:
        return Chr(keys::kInsert);
      default:
        return Chr(keys::kFunction);
    }
  }
  char32_t first = text.toUcs4().value(0);
  if (first < 0x20 || first == 0x7f) return {};
  return FromQt(text);
}

}  // namespace fw::internal
