#pragma once
// Start-up and shutdown. RunMain is the whole of main, so that tests can run
// the application in-process:
//   RunMain: runtime, class initialisers, Main, finalisers, Qt's teardown,
//            exit status
//   Main: exception wrapper, EarlyStartup, framework initialisation (which
//         calls LateStartup), event loop; anything escaping gets the report
//   EarlyStartup: HiDPI, built-in classes, plug-ins, NewAppInstance
//   LateStartup: MakeDefaultView, which opens the about window as the splash

#include <exception>
#include <functional>

namespace kestrova {

int RunMain(int argc, char** argv);

// The application's seven entries of the initialiser table, in their order.
void RegisterInitializers();

void Main();
// Runs routine; returns the fw::RuntimeException that escaped it, or nullptr.
// Exceptions of other kinds pass on to the caller.
std::exception_ptr CallFunctionWithExceptionHandling(const std::function<void()>& routine);

void EarlyStartup();
void InitFileTypes();
void NewAppInstance();
void ApplicationAddMenuHandlers();

void LateStartup();
void MakeDefaultView();

}  // namespace kestrova
