#include <QApplication>

#include "framework/controls/widget_p.h"

namespace fw::internal {

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

}  // namespace fw::internal
