// How soon a late window is adopted: the Internet Explorer tile launches a
// program that opens its window one second later, after the launch's first
// attempt has found nothing; the time from the window's appearance (its
// caption can be found) to its adoption by the frame is measured, N times.
//
//   capture_wait_bench [--samples N]
//
// Prints every delay and the median, in milliseconds.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "driver/input.h"
#include "driver/vitrolux_app.h"
#include "driver/win.h"
#include "median.h"

namespace {

using namespace e2e;

// Milliseconds from the caption's appearance to the adoption; -1 when it
// was not adopted within 5 s.
double adoptionDelayMs(const std::wstring& caption, HWND frame) {
  const std::optional<Adoption> adoption = watchAdoption(caption, frame, std::chrono::seconds(5));
  return adoption ? std::chrono::duration<double, std::milli>(adoption->delay).count() : -1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  int samples = 20;
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::wcscmp(argv[i], L"--samples") == 0) samples = std::max(1, _wtoi(argv[i + 1]));
  }
  VitroluxApp app;
  const std::wstring exe = app.folder() + L"\\iexplore.exe";
  if (!CopyFileW(targetExePath().c_str(), exe.c_str(), FALSE) || !app.start()) {
    std::fprintf(stderr, "capture_wait_bench: could not start Vitrolux\n");
    return 1;
  }
  HWND tile = app.control(L"打开并装载Internet Explorer");
  if (tile == nullptr) return 1;
  const POINT at = centreOf(tile);

  std::vector<double> delays;
  for (int i = 1; i <= samples; ++i) {
    const std::wstring caption = L"SlowTarget" + std::to_wstring(i);
    app.writeFile(L"ie.txt", narrow(exe) + " --create-after-ms 1000 --caption " + narrow(caption) +
                                 "|" + narrow(caption) + "\r\n");
    clickAt(at.x, at.y);
    const double delay = adoptionDelayMs(caption, app.frame());
    std::printf("sample %2d: %s\n", i,
                delay < 0 ? "not adopted" : (std::to_string(delay) + " ms").c_str());
    if (delay >= 0) delays.push_back(delay);
    // The program goes, and with its window the tile is in sight again.
    if (HWND window = FindWindowW(nullptr, caption.c_str())) PostMessageW(window, WM_CLOSE, 0, 0);
    for (HWND child = GetWindow(app.frame(), GW_CHILD); child;
         child = GetWindow(child, GW_HWNDNEXT)) {
      if (windowText(child) == caption) PostMessageW(child, WM_CLOSE, 0, 0);
    }
    Sleep(300);
  }
  // Out of the way of the figures taken next: a pointer resting on a tile
  // keeps its tool tip's timer ticking.
  moveMouseTo(0, 0);
  if (delays.empty()) return 1;
  const std::size_t n = delays.size();
  std::printf("adoption after appearance: median %.1f ms, max %.1f ms, %zu of %d adopted\n",
              bench::median(delays), *std::max_element(delays.begin(), delays.end()), n, samples);
  return n == static_cast<std::size_t>(samples) ? 0 : 1;
}
