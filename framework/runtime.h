#pragma once
// The runtime's life cycle: start-up, the initialiser table, the event loop,
// quitting, the exception wrapper and the unhandled-exception report.
//
// Every call from an event into application code goes through Dispatch, which
// runs it under the installed exception wrapper: no exception crosses Qt's
// event loop. One that escapes gets the report and ends the run with a
// failure status.

#include <cstddef>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

class Application;

// Keeps the process arguments for Qt. Resets the trace and the exit status.
void RuntimeInit(int argc, char** argv);

// The initialiser table: the framework's own entries first, then the
// application's, in the order they are registered. Finalisers run in reverse.
void RuntimeRegisterInitializer(std::string name, std::function<void()> initializer,
                                std::function<void()> finalizer = {});
void RuntimePerformInitializers();
void RuntimePerformFinalizers();

// Destroys the Qt application that this run made (since RuntimeInit), once
// the widgets waiting for deletion are deleted: Qt's own teardown runs as at
// the end of any Qt program, and hands the clipboard to a clipboard manager.
// One made before RuntimeInit (a test process's) lives on. Where Qt ends the
// process itself, as when its display goes away, this never runs.
void RuntimeEndQt();

// The process exit status: the status given to Quit, or 1 after an unhandled
// exception (a failure never exits 0).
int RuntimeExit();

// The exception wrapper runs a routine and returns the RuntimeException that
// escaped it, or nullptr; any other exception passes on to its caller.
using ExceptionHelper = std::function<std::exception_ptr(const std::function<void()>&)>;
void RuntimeSetExceptionHelper(ExceptionHelper helper);

// Creates the Qt application (unless one exists), then calls lateStartup once,
// on the main thread, through Dispatch. Where Qt can start no platform, the
// process ends there with a line that says what Qt was asked to open, and
// status 1.
void RunFrameworkInitialization(const std::function<void()>& lateStartup);

// The event loop; returns after Quit.
void RuntimeRun();

// The report of an exception that escaped: its kind and message on standard
// error and, where windows can be shown, in a modal box.
void UnhandledException(std::exception_ptr exception);

void RuntimeInitExternalClasses();
void InitPluginEntrypoints();
void RuntimeRegisterAppObject(std::shared_ptr<Application> app);
std::shared_ptr<Application> RuntimeAppObject();

// Runs application code from an event. Returns false when it failed (the
// report has then been shown and the run is ending).
bool Dispatch(const std::function<void()>& routine);
// The same for a handler with a Boolean answer; a failed handler answers false.
bool DispatchBool(const std::function<bool()>& handler);

// Asks the runtime to end with status. Returns at once; the wind-down (every
// window closed, then the loop ended) runs from the event loop. A request made
// while quitting starts nothing.
void Quit(int status);
bool Quitting();

// The system alert sound.
void Beep();
// A modal message box; returns when the user closes it. CRs break lines.
void MsgBox(std::string_view message);

// The program's name, given by the application at start-up: the name its
// reports go under when there are no process arguments to take it from.
void RuntimeSetProgramName(std::string name);

// The directory the application's resources are read from, unless set: one
// place, computed from the executable's own folder, which the build tree lays
// out as an install does (<bindir>/../share/<program>/resources by default).
std::string ResourceDirectory();
void SetResourceDirectory(std::string directory);

// What the runtime did, in order: each start-up step, initialiser and
// finaliser, window construction and wind-down leaves one line. Windows come
// and go for as long as the process runs, so the trace keeps only its latest
// lines: at most kRuntimeTraceLines, and once full the older half goes.
constexpr std::size_t kRuntimeTraceLines = 1000;
const std::vector<std::string>& RuntimeTrace();
void RuntimeTraceAdd(std::string line);

namespace testing {
int BeepCount();
int WindDownCount();
// Makes the next call of the named runtime operation ("RuntimeNewObject",
// "SetVersionData", ...) raise RuntimeException.
void FailNext(std::string operation);
// Raises RuntimeException if FailNext named this operation (used inside the runtime).
void MaybeFail(std::string_view operation);
// Puts the runtime back to its state before RuntimeInit (between in-process runs).
void ResetRuntime();
}  // namespace testing

}  // namespace fw
