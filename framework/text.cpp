// Conversions between the application's texts and Qt's, and the key strings
// that KeyDown handlers receive.
#include <QKeyEvent>

#include "framework/internal.h"
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
      return Chr(28);
    case Qt::Key_Right:
      return Chr(29);
    case Qt::Key_Up:
      return Chr(30);
    case Qt::Key_Down:
      return Chr(31);
    case Qt::Key_Backspace:
      return Chr(8);
    case Qt::Key_Delete:
      return Chr(127);
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return Chr(9);
    case Qt::Key_Return:
      return Chr(13);
    case Qt::Key_Enter:
      return Chr(3);
    case Qt::Key_Escape:
      return Chr(27);
    case Qt::Key_Home:
      return Chr(1);
    case Qt::Key_End:
      return Chr(4);
    case Qt::Key_PageUp:
      return Chr(11);
    case Qt::Key_PageDown:
      return Chr(12);
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
        return Chr(5);
      default:
        return Chr(16);  // function keys and the like
    }
  }
  char32_t first = text.toUcs4().value(0);
  if (first < 0x20 || first == 0x7f) return {};
  return FromQt(text);
}

}  // namespace fw::internal
