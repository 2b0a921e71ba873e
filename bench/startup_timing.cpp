// Times start-up as a person sees it: from starting a program to its first
// window being mapped on the X display. Runs each program in turn, several
// times, and prints the medians and their ratio.
//
//   startup_timing RUNS PROGRAM BASELINE
#include <X11/Xlib.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Milliseconds from fork to the first MapNotify under the root window.
std::optional<double> TimeOnce(Display* display, const char* program) {
  XSync(display, True);
  auto start = Clock::now();
  pid_t child = fork();
  if (child == 0) {
    execl(program, program, static_cast<char*>(nullptr));
    _exit(127);
  }
  std::optional<double> elapsed;
  pollfd watch{ConnectionNumber(display), POLLIN, 0};
  while (!elapsed) {
    while (!elapsed && XPending(display) > 0) {
      XEvent event;
      XNextEvent(display, &event);
      if (event.type == MapNotify) {
        elapsed = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
      }
    }
    if (elapsed) break;
    auto waited = std::chrono::duration<double>(Clock::now() - start).count();
    if (waited > 20 || poll(&watch, 1, 100) < 0) break;
  }
  kill(child, SIGTERM);
  waitpid(child, nullptr, 0);
  usleep(100000);
  return elapsed;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  size_t mid = values.size() / 2;
  return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s RUNS PROGRAM BASELINE\n", argv[0]);
    return 2;
  }
  int runs = std::max(1, std::atoi(argv[1]));
  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    std::fprintf(stderr, "startup_timing: cannot open the X display\n");
    return 1;
  }
  XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
  std::vector<double> program, baseline;
  for (int i = 0; i < runs; ++i) {
    auto a = TimeOnce(display, argv[2]);
    auto b = TimeOnce(display, argv[3]);
    if (!a || !b) {
      std::fprintf(stderr, "startup_timing: a program showed no window\n");
      return 1;
    }
    program.push_back(*a);
    baseline.push_back(*b);
  }
  double p = Median(program), b = Median(baseline);
  std::printf("first window shown, median of %d runs:\n", runs);
  std::printf("  %-40s %8.1f ms\n", argv[2], p);
  std::printf("  %-40s %8.1f ms\n", argv[3], b);
  std::printf("  ratio %.2f\n", p / b);
  XCloseDisplay(display);
  return 0;
}
