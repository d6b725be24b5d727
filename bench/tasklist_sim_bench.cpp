// How the task list's rebuild grows with the number of windows, on the
// simulated desktop: 100, 1,000 and 10,000 windows below the frame, half of
// them listed. It should grow linearly: a walk that asked the window system
// for each next window by searching the order again, or a refresh that
// compared rows pairwise, would show here as a tenfold rise per step.
//
//   tasklist_sim_bench [--runs N]
//
// For each size: the first rebuild (every row new), then the periodic
// refresh with nothing changed (rows equal: the list is left alone), then a
// refresh after the top window's caption changed (rows differ: all are
// replaced). Medians of N runs (31), in microseconds, and per window in
// nanoseconds.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/main_frame.h"
#include "median.h"
#include "sim/sim_desktop.h"

namespace {

using Clock = std::chrono::steady_clock;
using vitrolux::platform::WindowHandle;

using bench::median;

template <typename Step>
double microseconds(Step&& step) {
  const Clock::time_point start = Clock::now();
  step();
  return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

struct Figures {
  double first;
  double unchanged;
  double changed;
};

Figures measure(int windows, int runs) {
  std::vector<double> first, unchanged, changed;
  for (int run = 0; run < runs; ++run) {
    vitrolux::sim::SimDesktop desk;
    vitrolux::app::Main frame{desk.ports()};
    desk.connect(frame);
    desk.start();
    const vitrolux::platform::ProcessId process = desk.newProcess();
    WindowHandle top;
    for (int i = 0; i < windows; ++i) {
      // Every other window is hidden and left out, as on a real desktop.
      const std::uint32_t style = (i % 2 == 0 ? vitrolux::platform::kWsVisible : 0u) |
                                  vitrolux::platform::kWsOverlappedWindow;
      top = desk.createWindow(process, "Window " + std::to_string(i), style);
    }
    vitrolux::tasks::TaskList& list = frame.taskList();
    first.push_back(microseconds([&] { list.rebuild(); }));
    unchanged.push_back(microseconds([&] { list.onProcessTimer(); }));
    desk.window(top)->caption = "Renamed";
    changed.push_back(microseconds([&] { list.onProcessTimer(); }));
  }
  return {median(first), median(unchanged), median(changed)};
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 31;
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--runs") == 0) runs = std::max(1, std::atoi(argv[i + 1]));
  }
  std::printf("task-list rebuild on the simulated desktop, medians of %d runs\n", runs);
  std::printf("%8s  %22s  %22s  %22s\n", "windows", "first build us (ns/w)", "unchanged us (ns/w)",
              "changed us (ns/w)");
  Figures previous{};
  for (const int windows : {100, 1000, 10000}) {
    const Figures f = measure(windows, runs);
    std::printf("%8d  %12.1f (%7.1f)  %12.1f (%7.1f)  %12.1f (%7.1f)", windows, f.first,
                1000 * f.first / windows, f.unchanged, 1000 * f.unchanged / windows, f.changed,
                1000 * f.changed / windows);
    if (previous.first > 0) {
      std::printf("   x%.1f x%.1f x%.1f for x10 windows", f.first / previous.first,
                  f.unchanged / previous.unchanged, f.changed / previous.changed);
    }
    std::printf("\n");
    previous = f;
  }
  return 0;
}
