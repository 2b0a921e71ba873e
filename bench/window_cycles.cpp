// Opens and closes a window of a running program as a person would, again and
// again, and prints the program's resident memory as it goes: a real click
// (XTest) on a button of the main window opens the window, and once it has
// drawn itself a window manager's close request (WM_DELETE_WINDOW) closes it.
//
//   window_cycles CYCLES EVERY MAIN_TITLE CLIENT_HEIGHT X Y OPENED_TITLE
//
// X and Y place the button in the main window's client area, CLIENT_HEIGHT
// tall below its menu bar. Prints "cycles KiB" every EVERY cycles, reading
// VmRSS of the process that owns the main window (_NET_WM_PID).
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>
#include <poll.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

Display* display = nullptr;
int damageEvent = 0;
std::set<Window> drawn;  // windows that drew since they were watched

// Windows vanish under us between an event and a query: not an error here.
int IgnoreErrors(Display*, XErrorEvent*) {
  return 0;
}

// WM_NAME: a splash window with no title of its own still has the program's
// name as _NET_WM_NAME.
std::string Title(Window window) {
  char* name = nullptr;
  std::string title;
  if (XFetchName(display, window, &name) && name != nullptr) title = name;
  if (name) XFree(name);
  return title;
}

long OwnerPid(Window window) {
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  long pid = 0;
  Atom atom = XInternAtom(display, "_NET_WM_PID", False);
  if (XGetWindowProperty(display, window, atom, 0, 1, False, XA_CARDINAL, &type, &format, &count,
                         &after, &data) == Success &&
      data != nullptr && count == 1) {
    pid = *reinterpret_cast<long*>(data);
  }
  if (data) XFree(data);
  return pid;
}

long ResidentKiB(long pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string key;
  while (status >> key) {
    if (key == "VmRSS:") {
      long kib = 0;
      status >> kib;
      return kib;
    }
    status.ignore(1 << 12, '\n');
  }
  return -1;
}

// Waits for the next event, up to the deadline; false when it passed.
bool NextEvent(XEvent& event, Clock::time_point deadline) {
  while (XPending(display) == 0) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) return false;
    pollfd watch{ConnectionNumber(display), POLLIN, 0};
    poll(&watch, 1, static_cast<int>(left.count()));
  }
  XNextEvent(display, &event);
  return true;
}

// Every new top-level window gets a damage watch before it can draw, so that
// its first drawing is seen.
void Watch(const XEvent& event) {
  if (event.type == CreateNotify) {
    XDamageCreate(display, event.xcreatewindow.window, XDamageReportNonEmpty);
  } else if (event.type == DestroyNotify) {
    drawn.erase(event.xdestroywindow.window);
  } else if (event.type == damageEvent + XDamageNotify) {
    const auto* notify = reinterpret_cast<const XDamageNotifyEvent*>(&event);
    drawn.insert(notify->drawable);
    XDamageSubtract(display, notify->damage, None, None);
  }
}

Window FindMapped(const std::string& title) {
  Window root = DefaultRootWindow(display), parent = 0, *children = nullptr;
  unsigned int count = 0;
  Window found = 0;
  if (XQueryTree(display, root, &root, &parent, &children, &count)) {
    for (unsigned int i = 0; i < count && !found; ++i) {
      XWindowAttributes attributes;
      if (XGetWindowAttributes(display, children[i], &attributes) &&
          attributes.map_state == IsViewable && Title(children[i]) == title) {
        found = children[i];
      }
    }
  }
  if (children) XFree(children);
  return found;
}

void Fail(const char* what, int cycle) {
  std::fprintf(stderr, "window_cycles: %s (cycle %d)\n", what, cycle);
  std::exit(1);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 8) {
    std::fprintf(stderr, "usage: %s CYCLES EVERY MAIN_TITLE CLIENT_HEIGHT X Y OPENED_TITLE\n",
                 argv[0]);
    return 2;
  }
  int cycles = std::atoi(argv[1]);
  int every = std::max(1, std::atoi(argv[2]));
  std::string mainTitle = argv[3], openedTitle = argv[7];
  int clientHeight = std::atoi(argv[4]), buttonX = std::atoi(argv[5]), buttonY = std::atoi(argv[6]);

  display = XOpenDisplay(nullptr);
  if (!display) {
    std::fprintf(stderr, "window_cycles: cannot open the X display\n");
    return 1;
  }
  int unused = 0, damageError = 0;
  if (!XTestQueryExtension(display, &unused, &unused, &unused, &unused) ||
      !XDamageQueryExtension(display, &damageEvent, &damageError)) {
    std::fprintf(stderr, "window_cycles: the display lacks XTest or DAMAGE\n");
    return 1;
  }
  XSetErrorHandler(IgnoreErrors);
  Window root = DefaultRootWindow(display);
  XSelectInput(display, root, SubstructureNotifyMask);
  XSync(display, False);

  // The main window, once the program shows it.
  Window main = 0;
  for (auto deadline = Clock::now() + std::chrono::seconds(60); !main;) {
    XEvent event;
    if (NextEvent(event, Clock::now() + std::chrono::milliseconds(100))) Watch(event);
    main = FindMapped(mainTitle);
    if (!main && Clock::now() > deadline) Fail("the main window did not appear", 0);
  }
  // Clicked before it has drawn, the program may not take the click yet. A
  // window built before this watch began may have drawn unseen: wait a while.
  XDamageCreate(display, main, XDamageReportNonEmpty);
  for (auto deadline = Clock::now() + std::chrono::seconds(2); !drawn.count(main);) {
    XEvent event;
    if (!NextEvent(event, deadline)) break;
    Watch(event);
  }
  long pid = OwnerPid(main);
  if (pid <= 0) Fail("the main window names no process", 0);
  XWindowAttributes attributes;
  XGetWindowAttributes(display, main, &attributes);
  int x = 0, y = 0;
  Window child = 0;
  XTranslateCoordinates(display, main, root, 0, 0, &x, &y, &child);
  int menu = attributes.height - clientHeight;
  Atom protocols = XInternAtom(display, "WM_PROTOCOLS", False);
  Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);

  std::printf("cycles KiB\n0 %ld\n", ResidentKiB(pid));
  std::fflush(stdout);
  for (int cycle = 1; cycle <= cycles; ++cycle) {
    // Alternating a little keeps two presses from making a double click.
    int shift = cycle % 2 ? 12 : -12;
    XTestFakeMotionEvent(display, -1, x + buttonX + shift, y + menu + buttonY, CurrentTime);
    XTestFakeButtonEvent(display, 1, True, CurrentTime);
    XTestFakeButtonEvent(display, 1, False, CurrentTime);
    XFlush(display);

    // Mapped, then drawn.
    Window opened = 0;
    auto deadline = Clock::now() + std::chrono::seconds(10);
    while (!opened || !drawn.count(opened)) {
      XEvent event;
      if (!NextEvent(event, deadline)) Fail("the window did not open and draw", cycle);
      Watch(event);
      if (event.type == MapNotify && Title(event.xmap.window) == openedTitle) {
        opened = event.xmap.window;
      }
    }

    XEvent close{};
    close.xclient.type = ClientMessage;
    close.xclient.window = opened;
    close.xclient.message_type = protocols;
    close.xclient.format = 32;
    close.xclient.data.l[0] = static_cast<long>(deleteWindow);
    close.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, opened, False, NoEventMask, &close);
    XFlush(display);
    for (bool gone = false; !gone;) {
      XEvent event;
      if (!NextEvent(event, Clock::now() + std::chrono::seconds(10))) {
        Fail("the window was not destroyed after the close request", cycle);
      }
      Watch(event);
      gone = event.type == DestroyNotify && event.xdestroywindow.window == opened;
    }

    if (cycle % every == 0) {
      std::printf("%d %ld\n", cycle, ResidentKiB(pid));
      std::fflush(stdout);
    }
  }
  XCloseDisplay(display);
  return 0;
}
