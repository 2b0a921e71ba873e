#include "app/startup.h"

#include <iostream>
#include <memory>
#include <string>

#include "app/kestrova_app.h"
#include "calculator/control_wnd.h"
#include "calculator/ks550.h"
#include "calculator/menu_bar1.h"
#include "framework/application.h"
#include "framework/runtime.h"
#include "info/about_wnd.h"
#include "info/help_wnd.h"
#include "info/ks350.h"
#include "resources/version.h"

namespace kestrova {

int RunMain(int argc, char** argv) {
  fw::RuntimeSetProgramName(std::string(kProgramName));
  fw::RuntimeInit(argc, argv);
  bool escaped = false;
  try {
    RegisterInitializers();
    fw::RuntimePerformInitializers();
    Main();
  } catch (...) {
    // Only a failing initialiser or a failing report get here; the
    // finalisers and the exit status still follow.
    escaped = true;
    try {
      fw::UnhandledException(std::current_exception());
    } catch (...) {
      std::cerr << "Kestrova: start-up failed and its report failed too\n";
    }
  }
  fw::RuntimePerformFinalizers();
  fw::RuntimeEndQt();
  const int status = fw::RuntimeExit();
  // A run that ended on an exception never reports success.
  return escaped && status == 0 ? 1 : status;
}

void RegisterInitializers() {
  fw::RuntimeRegisterInitializer("Kestrova", [] { Kestrova::Lookup(); });
  fw::RuntimeRegisterInitializer(
      "ControlWnd.ControlWnd", [] { ControlWnd::Lookup(); }, [] { ReleaseKS550(); });
  // The menu bar is built on first use; its holder only lets it go at the end.
  fw::RuntimeRegisterInitializer(
      "MenuBar1 instance", [] {}, [] { MenuBar1::ReleaseInstance(); });
  fw::RuntimeRegisterInitializer("MenuBar1.MenuBar1", [] { MenuBar1::Lookup(); });
  fw::RuntimeRegisterInitializer("helpWnd.helpWnd", [] { helpWnd::Lookup(); });
  fw::RuntimeRegisterInitializer("AboutWnd._wrapper_Timer1", [] { wrapper_Timer1::Lookup(); });
  fw::RuntimeRegisterInitializer(
      "AboutWnd.AboutWnd", [] { AboutWnd::Lookup(); }, [] { ReleaseKS350(); });
}

void Main() {
  try {
    fw::RuntimeSetExceptionHelper(&CallFunctionWithExceptionHandling);
    EarlyStartup();
    fw::RunFrameworkInitialization(&LateStartup);
    fw::RuntimeRun();
  } catch (...) {
    fw::UnhandledException(std::current_exception());
  }
}

std::exception_ptr CallFunctionWithExceptionHandling(const std::function<void()>& routine) {
  try {
    routine();
  } catch (const fw::RuntimeException&) {
    return std::current_exception();
  }
  return nullptr;
}

void EarlyStartup() {
  fw::Application::SetSupportsHiDPI(true);
  fw::RuntimeInitExternalClasses();
  fw::InitPluginEntrypoints();
  InitFileTypes();
  NewAppInstance();
  ApplicationAddMenuHandlers();
}

// The application opens no documents.
void InitFileTypes() {}

void NewAppInstance() {
  std::shared_ptr<Kestrova> app = fw::RuntimeNewObject<Kestrova>();
  if (!app) throw fw::NilObjectException("the application object could not be created");
  app->Constructor();
  app->SetVersionData(kMajorVersion, kMinorVersion, kBugVersion, kNonReleaseVersion, kStageCode,
                      std::string(kRightsNotice), std::string(kShortVersion),
                      std::string(kApplicationName));
  app->SetMenuBar(MenuBar1::Instance());
  fw::RuntimeRegisterAppObject(app);
}

// Every menu handler belongs to a window.
void ApplicationAddMenuHandlers() {}

void LateStartup() {
  MakeDefaultView();
}

void MakeDefaultView() {
  // Building the about window shows it; the framework holds it from then on.
  AboutWnd::Instance();
}

}  // namespace kestrova
