#include "tests/framework/gui_support.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QMessageBox>
#include <QPixmap>
#include <QTest>
#include <QWidget>
#include <algorithm>

#include "framework/runtime.h"

namespace fwtest {

std::vector<std::string>& Log() {
  static std::vector<std::string> log;
  return log;
}

int CountInLog(std::string_view entry) {
  return static_cast<int>(std::count(Log().begin(), Log().end(), entry));
}

std::vector<std::string> LogWithout(std::string_view prefix) {
  std::vector<std::string> kept;
  for (const std::string& entry : Log()) {
    if (!entry.starts_with(prefix)) kept.push_back(entry);
  }
  return kept;
}

void GuiTest::SetUp() {
  Log().clear();
  TestWnd::Next() = {};
  PartWnd::Next() = {};
  ASSERT_TRUE(fw::OpenWindows().empty()) << "a previous test left a window open";
}

void GuiTest::TearDown() {
  fw::testing::ResetRuntime();
  TestWnd::Next() = {};
  PartWnd::Next() = {};
  // Closed windows hand their widgets to deleteLater; free them now.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

fw::PropertyList Bounds(std::int64_t left, std::int64_t top, std::int64_t width,
                        std::int64_t height, const fw::PropertyList& extra) {
  fw::PropertyList list = {{"Left", left}, {"Top", top}, {"Width", width}, {"Height", height}};
  list.insert(list.end(), extra.begin(), extra.end());
  return list;
}

fw::PropertyList WindowList(std::int64_t width, std::int64_t height,
                            const fw::PropertyList& extra) {
  fw::PropertyList list = {{"Width", width},  {"Height", height},    {"Type", 0},
                           {"Title", "Test"}, {"Resizeable", false}, {"Visible", true}};
  list.insert(list.end(), extra.begin(), extra.end());
  return list;
}

namespace {

constexpr fw::Color kWhite{0xff, 0xff, 0xff, 0x00};

fw::PropertyList TwentyTwo(std::int64_t width, std::int64_t height, std::int64_t type,
                           const char* title, bool buttons, bool resizeable, std::int64_t location,
                           bool background, bool liveResize) {
  return {
      {"Width", width},
      {"Height", height},
      {"MinimumWidth", 64},
      {"MinimumHeight", 64},
      {"MaximumWidth", 32000},
      {"MaximumHeight", 32000},
      {"Type", type},
      {"Title", title},
      {"HasCloseButton", buttons},
      {"HasMaximizeButton", false},
      {"HasMinimizeButton", buttons},
      {"HasFullScreenButton", false},
      {"Resizeable", resizeable},
      {"Composite", false},
      {"MacProcID", 0},
      {"FullScreen", false},
      {"DefaultLocation", location},
      {"Visible", true},
      {"HasBackgroundColor", background},
      {"BackgroundColor", kWhite},
      {"MenuBarVisible", true},
      {"LiveResize", liveResize},
  };
}

}  // namespace

fw::PropertyList CalculatorWindowList() {
  return TwentyTwo(880, 700, 0, "Kestrova", true, false, 0, true, true);
}

fw::PropertyList HelpWindowList() {
  return TwentyTwo(550, 500, 0, "Info", true, true, 3, false, false);
}

fw::PropertyList AboutWindowList() {
  return TwentyTwo(500, 250, 2, "", false, false, 0, true, false);
}

bool Activate(fw::Window& window) {
  window.Show();
  QWidget* top = window.Widget();
  top->activateWindow();
  return QTest::qWaitForWindowActive(top);
}

ModalCloser::ModalCloser(std::function<void(QWidget*)> inspect) : inspect_(std::move(inspect)) {
  timer_.setInterval(10);
  QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
  timer_.start();
}

ModalCloser::~ModalCloser() {
  timer_.stop();
}

void ModalCloser::Poll() {
  QWidget* modal = QApplication::activeModalWidget();
  if (!modal || !modal->isVisible()) {
    if (++tries_ > 500) {
      timer_.stop();
      expected_.reset();
    }
    return;
  }
  ++seen_;
  if (inspect_) inspect_(modal);
  auto* box = qobject_cast<QMessageBox*>(modal);
  if (box && !box->buttons().isEmpty()) {
    QTest::mouseClick(box->buttons().front(), Qt::LeftButton);
  } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
    dialog->reject();
  } else {
    modal->close();
  }
}

QString WritePng(const QString& directory, const QString& name, QSize size, QColor color) {
  QImage image(size, QImage::Format_ARGB32);
  image.fill(color);
  QString path = directory + "/" + name;
  EXPECT_TRUE(image.save(path, "PNG")) << path.toStdString();
  return path;
}

QColor PixelOf(QWidget* widget, int x, int y) {
  return widget->grab().toImage().pixelColor(x, y);
}

}  // namespace fwtest
