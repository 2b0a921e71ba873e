// The runtime's services: pictures, the message box, the beep, quitting, the
// unhandled-exception report, delegates, checked casts and the class registry.
#include <gtest/gtest-spi.h>

#include <sys/resource.h>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <csignal>
#include <exception>
#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "framework/menu.h"
#include "framework/picture.h"
#include "framework/runtime.h"
#include "tests/framework/gui_support.h"

namespace fwtest {
namespace {

using RuntimeTest = GuiTest;

// Points the resources folder at a temporary one for the test's lifetime.
class ResourceFolder {
 public:
  ResourceFolder() : saved_(fw::ResourceDirectory()) {
    fw::SetResourceDirectory(Path().toStdString());
  }
  ~ResourceFolder() { fw::SetResourceDirectory(saved_); }
  ResourceFolder(const ResourceFolder&) = delete;
  ResourceFolder& operator=(const ResourceFolder&) = delete;
  QString Path() const { return dir_.path() + "/resources"; }
  QString Parent() const { return dir_.path(); }

 private:
  QTemporaryDir dir_;
  bool made_ = QDir().mkpath(dir_.path() + "/resources");
  std::string saved_;
};

TEST_F(RuntimeTest, PictureOpensFromTheResourcesFolderOrIsNil) {
  const std::string before = fw::ResourceDirectory();
  {
    ResourceFolder folder;
    WritePng(folder.Path(), "KS550.png", QSize(30, 12), Qt::green);
    WritePng(folder.Parent(), "outside.png", QSize(5, 5), Qt::green);
    QFile junk(folder.Path() + "/broken.png");
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a picture at all");
    junk.close();
    QFile empty(folder.Path() + "/empty.png");
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    ASSERT_TRUE(QDir().mkpath(folder.Path() + "/folder.png"));

    auto picture = fw::Picture::OpenFromApp("KS550.png");
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->Width(), 30);
    EXPECT_EQ(picture->Height(), 12);
    EXPECT_EQ(picture->Image().pixelColor(3, 3), QColor(Qt::green));

    for (const char* name :
         {"missing.png", "ks550.png", "broken.png", "empty.png", "folder.png", "../outside.png",
          "..", ".", "", "/etc/hostname", "sub/KS550.png", "..\\outside.png"}) {
      EXPECT_EQ(fw::Picture::OpenFromApp(name), nullptr) << name;
    }
    const std::string withNul("KS550.png\0x", 11);
    EXPECT_EQ(fw::Picture::OpenFromApp(withNul), nullptr);
  }
  EXPECT_EQ(fw::ResourceDirectory(), before);
}

TEST_F(RuntimeTest, MessageBoxIsModalShowsLinesAndReturnsWhenClosed) {
  std::string shown;
  bool modal = false;
  std::string name;
  ModalCloser closer([&](QWidget* widget) {
    auto* box = qobject_cast<QMessageBox*>(widget);
    ASSERT_NE(box, nullptr);
    shown = box->text().toStdString();
    modal = box->isModal();
    name = box->objectName().toStdString();
  });
  fw::MsgBox("Enter prevalence rate of >.000 and less than 1.\rSecond line \u00f8");
  EXPECT_EQ(closer.Seen(), 1);
  EXPECT_TRUE(modal);
  EXPECT_EQ(name, "MsgBox");
  EXPECT_EQ(shown, "Enter prevalence rate of >.000 and less than 1.\nSecond line \u00f8");
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(RuntimeTest, MessageBoxOverAWindowBlocksItsInput) {
  TestWnd::Next().layout = [](fw::Window& w) { w.SetProperties(WindowList(200, 100)); };
  TestWnd::Next().createControls = [](fw::Window& w) {
    AddControl<fw::TextField>(w, "field", Bounds(10, 10, 100, 22, {{"TabStop", true}}));
  };
  auto window = fw::ImplicitWindow<TestWnd>();
  ASSERT_TRUE(Activate(*window));
  bool blocked = false;
  ModalCloser closer([&](QWidget*) {
    blocked = QApplication::activeModalWidget() != nullptr &&
              !Get<fw::TextField>(*window, "field")->Widget()->isActiveWindow();
  });
  fw::MsgBox("Refused");
  EXPECT_EQ(closer.Seen(), 1);
  EXPECT_TRUE(blocked);
  EXPECT_TRUE(window->IsVisible());
}

// The shared test main closes a modal box that no test expects at once and
// fails the running test with its text, instead of leaving it to a user.
TEST_F(RuntimeTest, UnexpectedBoxIsClosedAndFailsTheTestWithItsText) {
  const std::vector<std::pair<std::function<void()>, std::string>> boxes = {
      {[] { fw::MsgBox("nobody\rwaits"); }, "MsgBox \"nobody\nwaits\""},
      {[] { fw::UnhandledException(std::make_exception_ptr(fw::NilObjectException("gone"))); },
       "UnhandledExceptionReport \"An exception of class NilObjectException was not handled. "
       "The application must shut down.\ngone\""},
  };
  for (const auto& [open, text] : boxes) {
    SCOPED_TRACE(text);
    // Closes the box only when the guard did not, so that the test cannot hang.
    bool rescued = false;
    QTimer rescue;
    rescue.setSingleShot(true);
    QObject::connect(&rescue, &QTimer::timeout, [&rescued] {
      rescued = true;
      if (auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget())) box->reject();
    });
    rescue.start(5000);
    ::testing::internal::CaptureStderr();
    EXPECT_NONFATAL_FAILURE(open(), text);
    ::testing::internal::GetCapturedStderr();
    EXPECT_FALSE(rescued);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  }
}

TEST_F(RuntimeTest, BeepsAreCounted) {
  const int before = fw::testing::BeepCount();
  fw::Beep();
  EXPECT_EQ(fw::testing::BeepCount(), before + 1);
  fw::Beep();
  fw::Beep();
  EXPECT_EQ(fw::testing::BeepCount(), before + 3);
}

// Windows opened and closed for as long as the process runs leave lines: the
// trace stays within its bound and keeps the latest of them, in order.
TEST_F(RuntimeTest, TraceKeepsItsLatestLinesWithinItsBound) {
  const std::size_t added = 3 * fw::kRuntimeTraceLines + 7;
  for (std::size_t i = 0; i < added; ++i) {
    fw::RuntimeTraceAdd("line " + std::to_string(i));
    ASSERT_LE(fw::RuntimeTrace().size(), fw::kRuntimeTraceLines) << "after line " << i;
  }
  const auto& trace = fw::RuntimeTrace();
  ASSERT_GE(trace.size(), fw::kRuntimeTraceLines / 2);
  for (std::size_t back = 0; back < trace.size(); ++back) {
    ASSERT_EQ(trace[trace.size() - 1 - back], "line " + std::to_string(added - 1 - back));
  }
}

TEST_F(RuntimeTest, SecondQuitDuringTheWindDownStartsNothing) {
  // Like the calculator: closing the window asks to quit once more.
  TestWnd::Next().layout = [](fw::Window& w) { w.SetProperties(WindowList(200, 100)); };
  TestWnd::Next().close = [](fw::Window&) { fw::Quit(0); };
  auto window = fw::ImplicitWindow<TestWnd>();
  PartWnd::Next().layout = [](fw::Window& w) { w.SetProperties(WindowList(200, 100)); };
  auto other = fw::ImplicitWindow<PartWnd>();
  const int before = fw::testing::WindDownCount();

  fw::Quit(3);
  fw::Quit(5);
  EXPECT_TRUE(fw::Quitting());
  EXPECT_TRUE(window->IsVisible()) << "the wind-down runs from the event loop";
  QTest::qWait(50);
  EXPECT_EQ(fw::testing::WindDownCount(), before + 1);
  EXPECT_EQ(CountInLog("Close"), 1);
  EXPECT_TRUE(window->IsClosed());
  EXPECT_TRUE(other->IsClosed());
  EXPECT_TRUE(fw::OpenWindows().empty());
  EXPECT_EQ(fw::RuntimeExit(), 3);

  fw::Quit(7);
  QTest::qWait(50);
  EXPECT_EQ(fw::testing::WindDownCount(), before + 1);
  EXPECT_EQ(fw::RuntimeExit(), 3);
}

TEST_F(RuntimeTest, RunReturnsAfterQuitWithItsStatus) {
  struct Case {
    const char* what;
    bool quitBeforeTheLoop;
    int status;
  };
  for (const Case& c : {Case{"quit from the loop", false, 4}, Case{"quit before it", true, 2}}) {
    SCOPED_TRACE(c.what);
    TestWnd::Next().layout = [](fw::Window& w) { w.SetProperties(WindowList(200, 100)); };
    auto window = fw::ImplicitWindow<TestWnd>();
    // Ends a loop that the runtime failed to end, so that the test cannot hang.
    bool rescued = false;
    QTimer rescue;
    rescue.setSingleShot(true);
    QObject::connect(&rescue, &QTimer::timeout, [&rescued] {
      rescued = true;
      QCoreApplication::exit(99);
    });
    rescue.start(5000);
    if (c.quitBeforeTheLoop) {
      fw::Quit(c.status);
      QTest::qWait(20);
    } else {
      QTimer::singleShot(0, [&c] { fw::Quit(c.status); });
    }
    fw::RuntimeRun();
    rescue.stop();
    EXPECT_FALSE(rescued);
    EXPECT_TRUE(window->IsClosed());
    EXPECT_EQ(fw::RuntimeExit(), c.status);
    fw::testing::ResetRuntime();
  }
  // A modal box after the run still waits for its user.
  ModalCloser closer([](QWidget*) {});
  fw::MsgBox("after the run");
  EXPECT_EQ(closer.Seen(), 1);
}

// A late start-up that fails is reported, and the loop then never runs.
TEST_F(RuntimeTest, FailedLateStartupSkipsTheLoop) {
  TestWnd::Next().layout = [](fw::Window& w) { w.SetProperties(WindowList(200, 100)); };
  ModalCloser closer([](QWidget*) {});
  fw::RunFrameworkInitialization([] {
    fw::ImplicitWindow<TestWnd>();
    throw fw::RuntimeException("late start-up failed");
  });
  EXPECT_EQ(closer.Seen(), 1);
  // Fires only inside a loop; stopped before anything else could run it.
  bool looped = false;
  QTimer probe;
  probe.setSingleShot(true);
  QObject::connect(&probe, &QTimer::timeout, [&looped] {
    looped = true;
    QCoreApplication::exit(99);
  });
  probe.start(0);
  fw::RuntimeRun();
  probe.stop();
  EXPECT_FALSE(looped);
  EXPECT_TRUE(fw::OpenWindows().empty());
  EXPECT_NE(fw::RuntimeExit(), 0);
}

// A Qt fatal message, with no core file left behind.
void QtFatalWithoutCore(const char* message) {
  rlimit noCore{};
  setrlimit(RLIMIT_CORE, &noCore);
  qFatal("%s", message);
}

// Start-up turns Qt's fatal message into a line of its own only while the
// application object is made; after that Qt's handler is back and aborts.
TEST_F(RuntimeTest, FatalMessageAfterStartUpIsQtsOwn) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(QtFatalWithoutCore("a fatal message after start-up"),
              ::testing::KilledBySignal(SIGABRT), "a fatal message after start-up");
}

TEST_F(RuntimeTest, ModalLoopsStillRunAfterAnEarlierWindDown) {
  fw::Quit(0);
  QTest::qWait(20);
  fw::testing::ResetRuntime();
  // The next run's message box must still wait for its user.
  ModalCloser closer([](QWidget*) {});
  fw::MsgBox("after a quit");
  EXPECT_EQ(closer.Seen(), 1);
}

struct EscapeCase {
  const char* what;
  std::function<void()> raise;
  // The class the report names: the runtime's kind, or "exception" for any
  // other.
  std::string kind;
  std::string message;
};

TEST_F(RuntimeTest, ExceptionEscapingAHandlerIsReportedAndEndsTheRunWithFailure) {
  const std::vector<EscapeCase> cases = {
      {"runtime exception", [] { throw fw::RuntimeException("bad key"); }, "RuntimeException",
       "bad key"},
      {"nil object", [] { throw fw::NilObjectException("gone"); }, "NilObjectException", "gone"},
      {"standard exception", [] { throw std::runtime_error("std failure"); }, "exception",
       "std failure"},
  };
  for (const EscapeCase& c : cases) {
    SCOPED_TRACE(c.what);
    TestWnd::Next().layout = [](fw::Window& w) { w.SetProperties(WindowList(200, 100)); };
    TestWnd::Next().createControls = [&c](fw::Window& w) {
      auto field =
          AddControl<fw::TextField>(w, "field", Bounds(10, 10, 100, 22, {{"TabStop", true}}));
      field->SetKeyDownHandler([&c](fw::TextField&, const std::string&) -> bool {
        c.raise();
        return true;
      });
    };
    auto window = fw::ImplicitWindow<TestWnd>();
    ASSERT_TRUE(Activate(*window));
    std::string name, text, detail;
    ModalCloser closer([&](QWidget* widget) {
      name = widget->objectName().toStdString();
      if (auto* box = qobject_cast<QMessageBox*>(widget)) {
        text = box->text().toStdString();
        detail = box->informativeText().toStdString();
      }
    });
    ::testing::internal::CaptureStderr();
    QTest::keyClick(Get<fw::TextField>(*window, "field")->Widget(), Qt::Key_A);
    const std::string err = ::testing::internal::GetCapturedStderr();

    EXPECT_EQ(closer.Seen(), 1);
    EXPECT_EQ(name, "UnhandledExceptionReport");
    // Whole phrases: the bare kind "exception" is in every report's wording.
    EXPECT_NE(text.find("An exception of class " + c.kind + " was not handled"), std::string::npos)
        << text;
    EXPECT_EQ(detail, c.message);
    EXPECT_NE(err.find(": unhandled " + c.kind + ": " + c.message + "\n"), std::string::npos)
        << err;
    const auto& trace = fw::RuntimeTrace();
    EXPECT_EQ(std::count(trace.begin(), trace.end(), "UnhandledException " + c.kind), 1);
    EXPECT_TRUE(fw::Quitting());
    EXPECT_NE(fw::RuntimeExit(), 0);
    QTest::qWait(20);
    EXPECT_TRUE(window->IsClosed());
    EXPECT_NE(fw::RuntimeExit(), 0);
    fw::testing::ResetRuntime();
    EXPECT_EQ(fw::RuntimeExit(), 0);
  }
}

TEST_F(RuntimeTest, ExceptionFromAMenuHandlerOrTimerIsReportedToo) {
  const std::vector<std::pair<const char*, std::function<void(fw::Window&)>>> sources = {
      {"menu handler",
       [](fw::Window& w) {
         auto bar = std::make_shared<fw::MenuBar>();
         auto menu = std::make_shared<fw::MenuItem>();
         menu->SetName("InfoMenu");
         menu->SetValue("Window");
         auto item = std::make_shared<fw::MenuItem>();
         item->SetName("InfoItem");
         item->SetValue("Info");
         menu->AddMenu(item);
         bar->AddMenu(menu);
         w.SetMenuBar(bar);
         w.AddMenuHandler("InfoItem", []() -> bool { throw fw::NilObjectException("no help"); });
         w.Widget()->findChild<QAction*>("InfoItem")->trigger();
       }},
      {"timer",
       [](fw::Window& w) {
         auto timer = w.New<fw::Timer>();
         w.AddControl("Timer1", timer);
         timer->SetActionHandler([](fw::Timer&) { throw fw::NilObjectException("no help"); });
         timer->SetProperties({{"Period", 10}, {"RunMode", 1}});
         EXPECT_TRUE(QTest::qWaitFor([] { return fw::Quitting(); }, 5000));
       }},
  };
  for (const auto& [what, source] : sources) {
    SCOPED_TRACE(what);
    TestWnd::Next().layout = [](fw::Window& w) { w.SetProperties(WindowList(200, 100)); };
    auto window = fw::ImplicitWindow<TestWnd>();
    ModalCloser closer([](QWidget*) {});
    ::testing::internal::CaptureStderr();
    source(*window);
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(closer.Seen(), 1);
    EXPECT_NE(err.find("NilObjectException"), std::string::npos) << err;
    EXPECT_TRUE(fw::Quitting());
    EXPECT_NE(fw::RuntimeExit(), 0);
    fw::testing::ResetRuntime();
  }
}

TEST_F(RuntimeTest, InstalledExceptionHelperRunsEveryHandler) {
  // Counted through a shared count: the helper stays installed until the reset.
  auto wrapped = std::make_shared<int>(0);
  fw::RuntimeSetExceptionHelper([wrapped](const std::function<void()>& routine) {
    ++*wrapped;
    try {
      routine();
    } catch (const fw::RuntimeException&) {
      return std::current_exception();
    }
    return std::exception_ptr();
  });
  TestWnd::Next().layout = [](fw::Window& w) { w.SetProperties(WindowList(200, 100)); };
  auto window = fw::ImplicitWindow<TestWnd>();
  ASSERT_TRUE(Activate(*window));
  QTest::keyClick(window->Widget(), Qt::Key_A);
  QTest::mouseClick(window->ContentWidget(), Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(*wrapped, 2);
  EXPECT_EQ(Log(), (std::vector<std::string>{"Layout", "CreateControls", "AddMenuHandlers",
                                             "KeyDown a", "MouseDown 5,5"}));
  EXPECT_FALSE(fw::Quitting());
}

TEST_F(RuntimeTest, DelegateOfAGoneWindowIsANilObject) {
  std::function<bool(const std::string&, bool)> action;
  {
    TestWnd::Next().layout = [](fw::Window& w) { w.SetProperties(WindowList(200, 100)); };
    auto window = fw::ImplicitWindow<TestWnd>();
    action = fw::Delegate(window.get(), &TestWnd::MenuAction);
    EXPECT_TRUE(action("live", true));
    EXPECT_EQ(CountInLog("Menu live"), 1);
    // The delegate does not keep its window.
    window->Close();
  }
  EXPECT_THROW(action("gone", true), fw::NilObjectException);
  EXPECT_EQ(CountInLog("Menu gone"), 0);
}

TEST_F(RuntimeTest, CheckedCastKeepsNilAndRefusesAnotherClass) {
  std::shared_ptr<fw::Object> label = std::make_shared<fw::Label>();
  EXPECT_EQ(fw::RuntimeCheckCast<fw::Label>(label), label);
  EXPECT_NE(fw::RuntimeCheckCast<fw::RectControl>(label), nullptr);
  EXPECT_EQ(fw::RuntimeCheckCast<fw::TextField>(nullptr), nullptr);
  EXPECT_THROW(fw::RuntimeCheckCast<fw::TextField>(label), fw::IllegalCastException);
  try {
    fw::RuntimeCheckCast<fw::Canvas>(label);
    ADD_FAILURE() << "no exception";
  } catch (const fw::RuntimeException& e) {
    EXPECT_EQ(e.Kind(), "IllegalCastException");
    EXPECT_NE(std::string(e.what()).find("Label"), std::string::npos) << e.what();
  }
  // A window of one test class is not one of another.
  TestWnd::Next().layout = [](fw::Window& w) { w.SetProperties(WindowList(200, 100)); };
  std::shared_ptr<fw::Object> window = fw::ImplicitWindow<TestWnd>();
  EXPECT_THROW(fw::RuntimeCheckCast<PartWnd>(window), fw::IllegalCastException);
  EXPECT_EQ(fw::RuntimeCheckCast<fw::Window>(window), window);
}

TEST_F(RuntimeTest, ControlByNameOfAnUnknownNameIsNil) {
  TestWnd::Next().layout = [](fw::Window& w) { w.SetProperties(WindowList(200, 100)); };
  TestWnd::Next().createControls = [](fw::Window& w) {
    AddControl<fw::Label>(w, "label", Bounds(0, 0, 10, 10));
  };
  auto window = fw::ImplicitWindow<TestWnd>();
  EXPECT_NE(window->ControlByName("label"), nullptr);
  EXPECT_EQ(window->ControlByName("Label"), nullptr);
  EXPECT_EQ(window->ControlByName(""), nullptr);
  EXPECT_THROW(window->AddControl("none", nullptr), fw::NilObjectException);
}

TEST_F(RuntimeTest, SecondRegistrationKeepsTheFirstTable) {
  const fw::ClassInfo& first = fw::RegisterClass({"Twice.Twice", "Window", {"Layout", "Close"}});
  const int requests = fw::RegistrationRequests("Twice.Twice");
  const fw::ClassInfo& second = fw::RegisterClass({"Twice.Twice", "Object", {"KeyDown"}});
  EXPECT_EQ(&first, &second);
  EXPECT_EQ(fw::RegistrationRequests("Twice.Twice"), requests + 1);
  const fw::ClassInfo* found = fw::LookupClass("Twice.Twice");
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(found->base, "Window");
  EXPECT_EQ(found->events, (std::set<std::string, std::less<>>{"Close", "Layout"}));
  EXPECT_EQ(fw::LookupClass("Twice"), nullptr);
}

TEST_F(RuntimeTest, EventHandledAnswersFromTheClassTable) {
  PartWnd::Next().layout = [](fw::Window& w) { w.SetProperties(WindowList(200, 100)); };
  auto part = fw::ImplicitWindow<PartWnd>();
  TestWnd::Lookup();
  struct Case {
    const char* className;
    const char* event;
    bool ownCodeOnly;
    bool expected;
  };
  for (const Case& c :
       {Case{"PartWnd.PartWnd", "CreateControls", true, true},
        Case{"PartWnd.PartWnd", "Layout", true, false},
        Case{"PartWnd.PartWnd", "layout", true, false},
        Case{"PartWnd.PartWnd", "Layout", false, true}, Case{"NoSuch.Class", "Layout", true, false},
        Case{"TestWnd.TestWnd", "KeyDown", true, true}}) {
    EXPECT_EQ(fw::RuntimeIsEventHandled(*part, c.className, c.event, c.ownCodeOnly), c.expected)
        << c.className << " " << c.event;
  }
  EXPECT_TRUE(part->IsEventImplemented("CreateControls"));
  EXPECT_FALSE(part->IsEventImplemented("Open"));
}

}  // namespace
}  // namespace fwtest
