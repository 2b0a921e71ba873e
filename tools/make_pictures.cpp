// Draws the application's two pictures: KS550.png, the calculator window's
// banner, and KS350.png, the about window's picture. tools/make-pictures.sh
// runs it; the PNGs it writes are kept in resources/.
//
// Usage: kestrova_make_pictures <output folder>

#include <QColor>
#include <QDir>
#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QPen>
#include <QPointF>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

const QColor kBlue(0x02, 0x3f, 0xa8);
const QColor kGrey(0x5a, 0x60, 0x6b);
const QColor kPaleGrey(0xa3, 0xa9, 0xb3);
const QColor kRed(0xc0, 0x39, 0x2b);
const QColor kAmber(0xd9, 0x82, 0x00);

// Loaded from the files rather than looked up by name alone, so the pictures
// do not change with the machine's font configuration.
void LoadDejaVu() {
  const QStringList files = {"DejaVuSans.ttf", "DejaVuSans-Bold.ttf", "DejaVuSansMono.ttf",
                             "DejaVuSansMono-Bold.ttf"};
  for (const QString& file : files) {
    QFontDatabase::addApplicationFont("/usr/share/fonts/truetype/dejavu/" + file);
  }
}

QFont Font(const QString& family, int pixelSize, bool bold) {
  QFont font(family);
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  font.setHintingPreference(QFont::PreferNoHinting);
  // A substituted font would silently change the pictures.
  if (QFontInfo(font).family() != family) {
    std::fprintf(stderr, "font %s is not available (got %s)\n", qPrintable(family),
                 qPrintable(QFontInfo(font).family()));
    std::exit(EXIT_FAILURE);
  }
  return font;
}

QColor SymbolColour(QChar symbol) {
  switch (symbol.unicode()) {
    case u'+':
      return kBlue;
    case u'-':
      return kRed;
    case u'\u00f8':
      return kAmber;
    case u'o':
      return kPaleGrey;
    default:
      return kGrey;
  }
}

// One row of case symbols, written as the calculator's display writes them,
// each symbol in its own colour. Returns the row's width.
qreal DrawCases(QPainter& painter, const QFont& mono, QPointF baseline, const QString& row) {
  painter.setFont(mono);
  const QFontMetricsF metrics(mono);
  const qreal start = baseline.x();
  for (QChar symbol : row) {
    if (symbol != u' ') {
      painter.setPen(SymbolColour(symbol));
      painter.drawText(baseline, QString(symbol));
    }
    baseline.rx() += metrics.horizontalAdvance(symbol);
  }
  return baseline.x() - start;
}

void DrawName(QPainter& painter, const QFont& font, QPointF baseline) {
  painter.setFont(font);
  painter.setPen(kBlue);
  painter.drawText(baseline, QStringLiteral("Kestrova"));
}

void DrawTagline(QPainter& painter, const QFont& font, QPointF baseline) {
  painter.setFont(font);
  painter.setPen(kGrey);
  painter.drawText(baseline, QStringLiteral("natural frequencies for test results"));
}

// The start of a display in miniature: the cases with the condition in
// parentheses (true positives, then false negatives), then the false
// positives and the true negatives, nine cases a row.
const QStringList kMotif = {
    QStringLiteral("(+ + + - -)\u00f8 \u00f8 \u00f8 \u00f8 "),
    QStringLiteral("\u00f8 \u00f8 o o o o o o o "),
    QStringLiteral("o o o o o o o o o "),
};

// Drawn flush right, ending rightMargin from the picture's right edge.
void DrawMotif(QPainter& painter, const QFont& mono, qreal rightMargin, qreal firstBaseline,
               qreal rowPitch) {
  const QFontMetricsF metrics(mono);
  qreal widest = 0;
  for (const QString& row : kMotif) {
    // The trailing space is not ink.
    widest = std::max(widest, metrics.horizontalAdvance(row.trimmed()));
  }
  const qreal left = painter.device()->width() - rightMargin - widest;
  for (int i = 0; i < kMotif.size(); ++i) {
    DrawCases(painter, mono, QPointF(left, firstBaseline + rowPitch * i), kMotif[i]);
  }
}

QImage Canvas(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::white);
  return image;
}

// 672 x 80. The calculator draws its credit line over x 192-456, y 60-80, so
// the bottom strip below the name and tagline stays white.
QImage Banner() {
  QImage image = Canvas(672, 80);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);

  DrawName(painter, Font("DejaVu Sans", 38, true), QPointF(24, 46));
  DrawTagline(painter, Font("DejaVu Sans", 13, false), QPointF(228, 46));
  DrawMotif(painter, Font("DejaVu Sans Mono", 14, true), 24, 26, 17);
  return image;
}

// 447 x 70, for the about window.
QImage AboutPicture() {
  QImage image = Canvas(447, 70);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);

  DrawName(painter, Font("DejaVu Sans", 34, true), QPointF(18, 40));
  DrawTagline(painter, Font("DejaVu Sans", 12, false), QPointF(20, 60));
  DrawMotif(painter, Font("DejaVu Sans Mono", 13, true), 18, 24, 16);
  return image;
}

bool Save(const QImage& image, const QString& path) {
  if (!image.save(path, "PNG")) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
  }
  std::printf("wrote %s (%d x %d)\n", qPrintable(path), image.width(), image.height());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
    return EXIT_FAILURE;
  }
  // Nothing is shown: the pictures are drawn the same with or without a display.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  LoadDejaVu();

  const QDir out(QString::fromLocal8Bit(argv[1]));
  const bool ok =
      Save(Banner(), out.filePath("KS550.png")) && Save(AboutPicture(), out.filePath("KS350.png"));
  return ok ? EXIT_SUCCESS : EXIT_FAILURE;
}
