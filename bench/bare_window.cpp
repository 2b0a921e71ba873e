// The baseline for start-up: a bare Qt window of the splash window's size.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  window.resize(500, 250);
  window.show();
  return QApplication::exec();
}
