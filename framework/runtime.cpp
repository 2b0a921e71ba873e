#include "framework/runtime.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <set>
#include <utility>

#include "framework/internal.h"
#include "framework/object.h"
#include "framework/values.h"

namespace fw {
namespace {

struct Entry {
  std::string name;
  std::function<void()> initializer;
  std::function<void()> finalizer;
};

struct State {
  int argc = 0;
  std::vector<std::string> args;
  std::vector<char*> argv;
  std::vector<Entry> table;
  std::vector<std::string> trace;
  ExceptionHelper helper;
  std::shared_ptr<Application> app;
  int quitStatus = 0;
  bool quitting = false;
  bool running = false;  // inside RuntimeRun's loop
  bool windDownDone = false;
  bool failed = false;
  int generation = 0;
  int windDowns = 0;
  int beeps = 0;
  std::string resourceDirectory;
  std::string programName = "application";
  std::function<void()> closeWindows;  // given by the windows, which the runtime does not know
  // The Qt application that this run made, for RuntimeEndQt to destroy. A
  // plain pointer: Qt's exit() must not destroy it from a static destructor.
  QApplication* madeQt = nullptr;
  std::multiset<std::string, std::less<>> failNext;
  QtMessageHandler qtMessages = nullptr;  // the handler before start-up's own
};

State& S() {
  static State state;
  return state;
}

void RegisterFrameworkClasses() {
  for (const char* name : {"Application", "Window", "Control", "RectControl", "Label", "TextField",
                           "TextArea", "PushButton", "Canvas", "Timer", "MenuItem", "QuitMenuItem",
                           "PrefsMenuItem", "MenuBar", "Picture", "WeakRef"}) {
    RegisterClass({name, "Object", {}});
  }
}

void AddFrameworkEntries() {
  S().table.push_back({"framework classes", RegisterFrameworkClasses, {}});
}

// The name that reports go under: the process's own, else the program's.
std::string ReportName() {
  const State& s = S();
  return s.args.empty() ? s.programName : std::filesystem::path(s.args[0]).filename().string();
}

// The value of Qt's own command-line option (-platform, -display), the last
// given, as Qt takes it; empty when none is. One with no value after it is
// ignored, as Qt ignores it.
std::string QtOption(std::string_view option) {
  const std::vector<std::string>& args = S().args;
  std::string value;
  for (std::size_t i = 1; i + 1 < args.size(); ++i) {
    std::string_view arg = args[i];
    if (arg.starts_with("--")) arg.remove_prefix(1);
    if (arg == option) value = args[++i];
  }
  return value;
}

std::string Environment(const char* variable) {
  const char* value = std::getenv(variable);
  return value != nullptr ? value : "";
}

std::string Stated(std::string_view name, const std::string& value) {
  return std::string(name) + (value.empty() ? " is not set" : " is \"" + value + "\"");
}

// What Qt was asked to start, as it was asked, and each display setting as
// it stands. No display is paired with the platform: each platform reads only
// its own (Wayland WAYLAND_DISPLAY; X11 -display, else DISPLAY).
std::string WhatQtWasAsked() {
  std::string asked = "its default platform";
  if (std::string option = QtOption("-platform"); !option.empty()) {
    asked = "the platform \"" + option + "\" given by -platform";
  } else if (std::string variable = Environment("QT_QPA_PLATFORM"); !variable.empty()) {
    asked = "the platform \"" + variable + "\" given by QT_QPA_PLATFORM";
  }
  std::string displays = Stated("WAYLAND_DISPLAY", Environment("WAYLAND_DISPLAY")) + ", " +
                         Stated("DISPLAY", Environment("DISPLAY"));
  if (std::string option = QtOption("-display"); !option.empty()) {
    displays += ", " + Stated("-display", option);
  }
  return asked + " (" + displays + ")";
}

// Qt ends the process with a fatal message and an abort when it can start
// none of the platforms it tries. While the application object is being made,
// that message becomes a line of ours and status 1; the warnings before it are
// Qt's own and say what failed. The process ends at once: Qt is half made.
void StartupMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type != QtFatalMsg) {
    S().qtMessages(type, context, message);
    return;
  }
  std::cerr << ReportName() << ": cannot open a window: Qt could not start " << WhatQtWasAsked()
            << std::endl;
  std::_Exit(1);
}

// Creates the Qt application unless one exists; where Qt can start no
// platform, the process ends with status 1.
void EnsureQApplication() {
  if (QCoreApplication::instance() != nullptr) return;
  State& s = S();
  if (s.argv.empty()) {
    s.args = {s.programName};
    s.argv = {s.args[0].data(), nullptr};
    s.argc = 1;
  }
  s.qtMessages = qInstallMessageHandler(StartupMessage);
  s.madeQt = new QApplication(s.argc, s.argv.data());
  qInstallMessageHandler(s.qtMessages);
}

void WindDown(int generation) {
  State& s = S();
  if (generation != s.generation || s.windDownDone) return;
  s.windDownDone = true;
  ++s.windDowns;
  RuntimeTraceAdd("WindDown");
  if (s.closeWindows) s.closeWindows();
  // Outside the loop, exit() would only make every later modal loop return at
  // once (a MsgBox run after a wind-down in the same process).
  if (s.running) QCoreApplication::exit(s.quitStatus);
}

void Fail(std::exception_ptr exception) {
  S().failed = true;
  UnhandledException(exception);
  Quit(1);
}

}  // namespace

void RuntimeInit(int argc, char** argv) {
  State& s = S();
  s.args.assign(argv, argv + argc);
  s.argv.clear();
  for (std::string& arg : s.args) s.argv.push_back(arg.data());
  s.argv.push_back(nullptr);
  s.argc = argc;
  s.table.clear();
  AddFrameworkEntries();
  s.trace.clear();
  s.quitStatus = 0;
  s.quitting = false;
  s.windDownDone = false;
  s.failed = false;
  // A Qt application made before this run is not this run's to destroy.
  s.madeQt = nullptr;
  ++s.generation;
  RuntimeTraceAdd("RuntimeInit");
}

void RuntimeRegisterInitializer(std::string name, std::function<void()> initializer,
                                std::function<void()> finalizer) {
  S().table.push_back({std::move(name), std::move(initializer), std::move(finalizer)});
}

void RuntimePerformInitializers() {
  RuntimeTraceAdd("RuntimePerformInitializers");
  for (const Entry& entry : S().table) {
    RuntimeTraceAdd("initializer " + entry.name);
    if (entry.initializer) entry.initializer();
  }
}

void RuntimePerformFinalizers() {
  RuntimeTraceAdd("RuntimePerformFinalizers");
  auto& table = S().table;
  for (auto it = table.rbegin(); it != table.rend(); ++it) {
    if (!it->finalizer) continue;
    RuntimeTraceAdd("finalizer " + it->name);
    try {
      it->finalizer();
    } catch (...) {
      // A finaliser must not stop the others or the exit.
      S().failed = true;
    }
  }
  S().app.reset();
}

void RuntimeEndQt() {
  RuntimeTraceAdd("RuntimeEndQt");
  State& s = S();
  if (s.madeQt == nullptr) return;
  // Widgets handed to deleteLater outside the event loop (as when a failed
  // start-up winds down without it) would be dropped undeleted by Qt's
  // teardown.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  delete std::exchange(s.madeQt, nullptr);
}

int RuntimeExit() {
  RuntimeTraceAdd("RuntimeExit");
  const State& s = S();
  if (s.failed) return s.quitStatus != 0 ? s.quitStatus : 1;
  return s.quitStatus;
}

void RuntimeSetExceptionHelper(ExceptionHelper helper) {
  RuntimeTraceAdd("RuntimeSetExceptionHelper");
  S().helper = std::move(helper);
}

void RunFrameworkInitialization(const std::function<void()>& lateStartup) {
  RuntimeTraceAdd("RunFrameworkInitialization");
  EnsureQApplication();
  auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
  if (app == nullptr) throw RuntimeException("the runtime needs a widget application");
  app->setQuitOnLastWindowClosed(false);
  // The windows were laid out for a compact sans-serif system font; the
  // common default here is wider and would clip their captions. Where it is
  // missing the usual fallback applies.
  QFont font = QApplication::font();
  font.setFamilies({QStringLiteral("Liberation Sans"), font.family()});
  QApplication::setFont(font);
  RuntimeTraceAdd("LateStartup");
  if (lateStartup) Dispatch(lateStartup);
}

void RuntimeRun() {
  RuntimeTraceAdd("RuntimeRun");
  if (QCoreApplication::instance() == nullptr || S().windDownDone) return;
  // Start-up failed and was reported: wind down without running the loop.
  if (S().failed) {
    WindDown(S().generation);
    return;
  }
  S().running = true;
  QCoreApplication::exec();
  S().running = false;
  RuntimeTraceAdd("RuntimeRun returned");
}

void UnhandledException(std::exception_ptr exception) {
  std::string kind = "exception";
  std::string message;
  try {
    if (exception) std::rethrow_exception(exception);
  } catch (const RuntimeException& e) {
    kind = std::string(e.Kind());
    message = e.what();
  } catch (const std::exception& e) {
    message = e.what();
  } catch (...) {
    message = "an exception of unknown kind";
  }
  RuntimeTraceAdd("UnhandledException " + kind);
  std::cerr << ReportName() << ": unhandled " << kind << ": " << message << std::endl;
  S().failed = true;
  EnsureQApplication();
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) return;
  QMessageBox box;
  box.setObjectName("UnhandledExceptionReport");
  box.setIcon(QMessageBox::Critical);
  box.setWindowTitle(QCoreApplication::applicationName());
  box.setTextFormat(Qt::PlainText);
  box.setText(QString::fromStdString("An exception of class " + kind +
                                     " was not handled. The application must shut down."));
  box.setInformativeText(internal::ToQtLines(message));
  ++internal::ModalRuns();
  box.exec();
}

void RuntimeInitExternalClasses() {
  RuntimeTraceAdd("RuntimeInitExternalClasses");
}

void InitPluginEntrypoints() {
  RuntimeTraceAdd("InitPluginEntrypoints");
}

void RuntimeRegisterAppObject(std::shared_ptr<Application> app) {
  RuntimeTraceAdd("RuntimeRegisterAppObject");
  if (!app) throw NilObjectException("the application object is nil");
  S().app = std::move(app);
}

std::shared_ptr<Application> RuntimeAppObject() {
  return S().app;
}

bool Dispatch(const std::function<void()>& routine) {
  try {
    std::exception_ptr escaped;
    if (S().helper) {
      escaped = S().helper(routine);
    } else {
      try {
        routine();
      } catch (const RuntimeException&) {
        escaped = std::current_exception();
      }
    }
    if (!escaped) return true;
    Fail(escaped);
  } catch (...) {
    Fail(std::current_exception());
  }
  return false;
}

bool DispatchBool(const std::function<bool()>& handler) {
  bool answer = false;
  if (!Dispatch([&] { answer = handler(); })) return false;
  return answer;
}

void Quit(int status) {
  State& s = S();
  if (s.quitting) return;
  s.quitting = true;
  s.quitStatus = status;
  RuntimeTraceAdd("Quit " + std::to_string(status));
  if (QCoreApplication::instance() == nullptr) return;
  int generation = s.generation;
  QTimer::singleShot(0, QCoreApplication::instance(), [generation] { WindDown(generation); });
}

bool Quitting() {
  return S().quitting;
}

void Beep() {
  ++S().beeps;
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr) QApplication::beep();
}

void MsgBox(std::string_view message) {
  // Over the front window, but never over a hidden one; and on the heap: the
  // parent may be deleted while the box waits (its deferred deletion can run
  // in the box's own loop), and it takes its children with it.
  QWidget* parent = QApplication::activeWindow();
  if (parent && !parent->isVisible()) parent = nullptr;
  QPointer<QMessageBox> box = new QMessageBox(parent);
  box->setObjectName("MsgBox");
  box->setWindowTitle(QCoreApplication::applicationName());
  box->setTextFormat(Qt::PlainText);
  box->setText(internal::ToQtLines(message));
  box->setStandardButtons(QMessageBox::Ok);
  ++internal::ModalRuns();
  box->exec();
  delete box;
}

std::string ResourceDirectory() {
  const State& s = S();
  if (!s.resourceDirectory.empty()) return s.resourceDirectory;
  namespace fs = std::filesystem;
  std::error_code error;
  fs::path exe = fs::read_symlink("/proc/self/exe", error);
  fs::path dir = exe.parent_path();
  if (error && QCoreApplication::instance() != nullptr) {
    dir = QCoreApplication::applicationDirPath().toStdString();
  }
  return (dir / KESTROVA_RESOURCES_FROM_BINDIR).lexically_normal().string();
}

void RuntimeSetProgramName(std::string name) {
  S().programName = std::move(name);
}

void SetResourceDirectory(std::string directory) {
  S().resourceDirectory = std::move(directory);
}

const std::vector<std::string>& RuntimeTrace() {
  return S().trace;
}

void RuntimeTraceAdd(std::string line) {
  auto& trace = S().trace;
  // Half at a time: dropping one line would move all the others for each line.
  if (trace.size() >= kRuntimeTraceLines) {
    trace.erase(trace.begin(), trace.begin() + kRuntimeTraceLines / 2);
  }
  trace.push_back(std::move(line));
}

namespace internal {

void SetWindowCloser(std::function<void()> closeAll) {
  S().closeWindows = std::move(closeAll);
}

int& ModalRuns() {
  static int runs = 0;
  return runs;
}

}  // namespace internal

namespace testing {

int BeepCount() {
  return S().beeps;
}

int WindDownCount() {
  return S().windDowns;
}

void FailNext(std::string operation) {
  S().failNext.insert(std::move(operation));
}

void MaybeFail(std::string_view operation) {
  auto& failNext = S().failNext;
  auto found = failNext.find(operation);
  if (found == failNext.end()) return;
  failNext.erase(found);
  throw RuntimeException("failure made to happen in " + std::string(operation));
}

void ResetRuntime() {
  State& s = S();
  if (s.closeWindows) s.closeWindows();
  ++s.generation;
  s.quitting = false;
  s.windDownDone = false;
  s.failed = false;
  s.quitStatus = 0;
  s.helper = nullptr;
  s.app.reset();
  s.failNext.clear();
  s.trace.clear();
  s.table.clear();
  AddFrameworkEntries();
}

}  // namespace testing
}  // namespace fw
