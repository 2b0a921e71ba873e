#pragma once
// Pieces the runtime's own files share; not for the application.

#include <QString>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QKeyEvent;
class QWidget;

namespace fw {

class Window;
class MenuBar;

namespace internal {

// The windows the runtime holds, shown or hidden, in the order they were built.
std::vector<std::shared_ptr<Window>>& OpenWindowList();
void CloseAllWindows();
// What the wind-down runs to close every window; the window layer gives it
// when it builds a window, so that the runtime need not know windows.
void SetWindowCloser(std::function<void()> closeAll);

// The application's text (UTF-8, CR line breaks) as Qt shows it, and back.
QString ToQt(std::string_view text);
QString ToQtLines(std::string_view text);  // CR -> LF for widgets that break at LF
std::string FromQt(const QString& text);

// The key string that a KeyDown handler receives for a key event, or an empty
// string when the key raises no KeyDown (modifier keys alone, shortcuts).
std::string KeyString(const QKeyEvent& event);

// How many modal boxes the runtime has run. A press whose handler ran one has
// lost its release to the box.
int& ModalRuns();

}  // namespace internal
}  // namespace fw
