#include "framework/application.h"

#include <QCoreApplication>

#include "framework/menu.h"

namespace fw {
namespace {
bool supportsHiDPI = false;
}

void Application::SetVersionData(std::int64_t major, std::int64_t minor, std::int64_t bug,
                                 std::int64_t nonRelease, std::int64_t stage,
                                 std::string longVersion, std::string shortVersion,
                                 std::string packageInfo) {
  testing::MaybeFail("SetVersionData");
  RuntimeTraceAdd("SetVersionData");
  version_ = {major,
              minor,
              bug,
              nonRelease,
              stage,
              std::move(longVersion),
              std::move(shortVersion),
              std::move(packageInfo)};
  // Static setters: they hold before the Qt application exists too.
  QCoreApplication::setApplicationName(QString::fromStdString(version_.packageInfo));
  QCoreApplication::setApplicationVersion(QString::fromStdString(version_.shortVersion));
}

void Application::SetMenuBar(std::shared_ptr<MenuBar> bar) {
  RuntimeTraceAdd("Application.MenuBar");
  menuBar_ = std::move(bar);
}

void Application::SetSupportsHiDPI(bool supports) {
  RuntimeTraceAdd("SetSupportsHiDPI");
  supportsHiDPI = supports;
}

bool Application::SupportsHiDPI() {
  return supportsHiDPI;
}

bool Application::IsEventImplemented(std::string_view) const {
  return false;
}

}  // namespace fw
