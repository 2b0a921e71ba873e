#include "framework/controls/widget_p.h"

namespace fw::internal {

QColor ToQColor(Color color) {
  return QColor(color.red, color.green, color.blue, 255 - color.alpha);
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
