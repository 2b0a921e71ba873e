// The whole start-up and shutdown, run in-process through RunMain on the
// offscreen platform: what exists once the event loop runs, the order of the
// steps as the runtime records them, the splash giving way on its own, and a
// failure during early start-up.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTimer>
#include <algorithm>
#include <string>
#include <vector>

#include "app/kestrova_app.h"
#include "app/startup.h"
#include "calculator/control_wnd.h"
#include "calculator/menu_bar1.h"
#include "framework/application.h"
#include "framework/runtime.h"
#include "framework/window.h"
#include "info/about_wnd.h"
#include "info/help_wnd.h"
#include "resources/version.h"
#include "tests/support/modal_guard.h"

namespace kestrova {
namespace {

int RunApplication() {
  static char name[] = "kestrova";
  char* argv[] = {name, nullptr};
  return RunMain(1, argv);
}

bool Traced(std::string_view line) {
  const auto& trace = fw::RuntimeTrace();
  return std::find(trace.begin(), trace.end(), line) != trace.end();
}

// The trace from its start up to and including the line `last`.
std::vector<std::string> TraceThrough(std::string_view last) {
  const auto& trace = fw::RuntimeTrace();
  auto end = std::find(trace.begin(), trace.end(), last);
  return {trace.begin(), end == trace.end() ? end : end + 1};
}

// The trace from the line `first` on.
std::vector<std::string> TraceFrom(std::string_view first) {
  const auto& trace = fw::RuntimeTrace();
  return {std::find(trace.begin(), trace.end(), first), trace.end()};
}

const std::vector<std::string> kFinalSteps = {
    "RuntimePerformFinalizers",
    "finalizer AboutWnd.AboutWnd",
    "finalizer MenuBar1 instance",
    "finalizer ControlWnd.ControlWnd",
    "RuntimeEndQt",
    "RuntimeExit",
};

// Closes modal boxes as they appear and keeps their texts.
class ReportCloser {
 public:
  ReportCloser() {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (!dialog) return;
      if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
        texts_.push_back((box->text() + "\n" + box->informativeText()).toStdString());
      } else {
        texts_.push_back("a dialog");
      }
      dialog->reject();
    });
    timer_.start(20);
  }
  const std::vector<std::string>& Texts() const { return texts_; }

 private:
  testing::ExpectModalBoxes expected_;
  QTimer timer_;
  std::vector<std::string> texts_;
};

class StartupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fw::testing::ResetRuntime();
    // Each run builds the menu bar as a fresh process would.
    MenuBar1::ReleaseInstance();
  }
  void TearDown() override { fw::testing::ResetRuntime(); }
};

TEST_F(StartupTest, OpensOnlyTheSplashAndRunsUntilQuit) {
  ReportCloser reports;
  QObject scope;  // ends the timers below with the test
  bool checked = false;
  bool gaveWay = false;
  QElapsedTimer sinceLoop;

  QTimer::singleShot(0, &scope, [&] {
    checked = true;
    sinceLoop.start();
    const auto windows = fw::OpenWindows();
    ASSERT_EQ(windows.size(), 1u);
    auto about = std::dynamic_pointer_cast<AboutWnd>(windows.front());
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->IsVisible());
    EXPECT_TRUE(about->MenuHandlerNames().empty());
    EXPECT_EQ(fw::GetImplicitWindow(ControlWnd::Lookup().name), nullptr);
    EXPECT_EQ(fw::GetImplicitWindow(helpWnd::Lookup().name), nullptr);

    auto app = std::dynamic_pointer_cast<Kestrova>(fw::RuntimeAppObject());
    ASSERT_NE(app, nullptr);
    EXPECT_EQ(app->ClassName(), "Kestrova");
    const fw::VersionData& version = app->Version();
    EXPECT_EQ(version.majorVersion, 1);
    EXPECT_EQ(version.minorVersion, 0);
    EXPECT_EQ(version.bugVersion, 0);
    EXPECT_EQ(version.nonReleaseVersion, 0);
    EXPECT_EQ(version.stageCode, 0);
    EXPECT_EQ(version.longVersion, kRightsNotice);
    EXPECT_EQ(version.shortVersion, "1.0");
    EXPECT_EQ(version.packageInfo, "Kestrova");
    EXPECT_EQ(QCoreApplication::applicationName(), "Kestrova");
    EXPECT_EQ(app->GetMenuBar(), MenuBar1::Instance());
    EXPECT_TRUE(fw::Application::SupportsHiDPI());
    for (const char* event :
         {"Activate", "AppearanceChanged", "CancelClose", "Close", "Deactivate", "EnableMenuItems",
          "HandleAppleEvent", "NewDocument", "Open", "OpenDocument", "UnhandledException", ""}) {
      EXPECT_FALSE(app->IsEventImplemented(event)) << event;
    }

    const std::vector<std::string> expected = {
        "RuntimeInit",
        "RuntimePerformInitializers",
        "initializer framework classes",
        "initializer Kestrova",
        "initializer ControlWnd.ControlWnd",
        "initializer MenuBar1 instance",
        "initializer MenuBar1.MenuBar1",
        "initializer helpWnd.helpWnd",
        "initializer AboutWnd._wrapper_Timer1",
        "initializer AboutWnd.AboutWnd",
        "RuntimeSetExceptionHelper",
        "SetSupportsHiDPI",
        "RuntimeInitExternalClasses",
        "InitPluginEntrypoints",
        "RuntimeNewObject Kestrova",
        "SetVersionData",
        "RuntimeNewObject MenuBar1.MenuBar1",
        "Application.MenuBar",
        "RuntimeRegisterAppObject",
        "RunFrameworkInitialization",
        "LateStartup",
        "RuntimeNewObject AboutWnd.AboutWnd",
        "Window.Constructor AboutWnd.AboutWnd",
        "RuntimeRun",
    };
    EXPECT_EQ(TraceThrough("RuntimeRun"), expected);

    // Nobody handles a menu choice yet: the framework's default applies.
    EXPECT_FALSE(about->ChooseMenuItem("InfoItem"));
    EXPECT_FALSE(about->ChooseMenuItem("ControlItem"));
    EXPECT_EQ(fw::GetImplicitWindow(helpWnd::Lookup().name), nullptr);
    EXPECT_EQ(fw::GetImplicitWindow(ControlWnd::Lookup().name), nullptr);
  });

  // Untouched, the splash gives way on its own timer.
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto calculator = fw::GetImplicitWindow(ControlWnd::Lookup().name);
    if (!calculator || !calculator->IsVisible()) return;
    poll.stop();
    gaveWay = true;
    auto about = fw::GetImplicitWindow(AboutWnd::Lookup().name);
    ASSERT_NE(about, nullptr);
    EXPECT_FALSE(about->IsVisible());
    EXPECT_GE(sinceLoop.elapsed(), 3000) << "the splash left before its timer could fire";
    fw::Quit(0);
  });
  poll.start(50);
  QTimer::singleShot(15000, &scope, [] { fw::Quit(0); });

  EXPECT_EQ(RunApplication(), 0);
  EXPECT_TRUE(checked);
  EXPECT_TRUE(gaveWay);
  EXPECT_TRUE(reports.Texts().empty());

  EXPECT_TRUE(fw::OpenWindows().empty());
  EXPECT_EQ(fw::RuntimeAppObject(), nullptr);
  EXPECT_TRUE(Traced("WindDown"));
  EXPECT_EQ(TraceFrom("RuntimePerformFinalizers"), kFinalSteps);
}

// A failure made to happen inside NewAppInstance, at each of its framework calls.
class FailedStartupTest : public StartupTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(FailedStartupTest, ReportsOpensNoWindowRunsTheFinalisersAndFails) {
  fw::testing::FailNext(GetParam());
  ReportCloser reports;
  ::testing::internal::CaptureStderr();
  const int status = RunApplication();
  const std::string err = ::testing::internal::GetCapturedStderr();

  EXPECT_NE(status, 0);
  ASSERT_EQ(reports.Texts().size(), 1u);
  EXPECT_NE(reports.Texts()[0].find("RuntimeException"), std::string::npos) << reports.Texts()[0];
  EXPECT_NE(err.find("unhandled RuntimeException"), std::string::npos) << err;
  EXPECT_NE(err.find(GetParam()), std::string::npos) << err;

  EXPECT_TRUE(Traced("UnhandledException RuntimeException"));
  for (const char* skipped :
       {"RuntimeRegisterAppObject", "RunFrameworkInitialization", "LateStartup", "RuntimeRun",
        "Window.Constructor AboutWnd.AboutWnd"}) {
    EXPECT_FALSE(Traced(skipped)) << skipped;
  }
  EXPECT_TRUE(fw::OpenWindows().empty());
  EXPECT_EQ(fw::RuntimeAppObject(), nullptr);
  EXPECT_EQ(TraceFrom("RuntimePerformFinalizers"), kFinalSteps);
}

INSTANTIATE_TEST_SUITE_P(NewAppInstance, FailedStartupTest,
                         ::testing::Values("RuntimeNewObject", "SetVersionData",
                                           "MenuItem.AddMenu"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                           std::string name = info.param;
                           std::replace(name.begin(), name.end(), '.', '_');
                           return name;
                         });

TEST(CallFunctionWithExceptionHandlingTest, ReturnsTheRuntimeExceptionAndPassesOthersOn) {
  EXPECT_EQ(CallFunctionWithExceptionHandling([] {}), nullptr);

  std::exception_ptr nil =
      CallFunctionWithExceptionHandling([] { throw fw::NilObjectException("gone"); });
  ASSERT_NE(nil, nullptr);
  EXPECT_THROW(std::rethrow_exception(nil), fw::NilObjectException);

  EXPECT_THROW(CallFunctionWithExceptionHandling([] { throw std::logic_error("other"); }),
               std::logic_error);
}

}  // namespace
}  // namespace kestrova
