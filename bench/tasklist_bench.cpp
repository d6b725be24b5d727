// The task list's rebuild on the real window system, against the least any
// program must do to read the same desktop: EnumWindows and GetWindowTextW
// for every window. Both run in this process, in turn, over the same
// windows, so that drift of the machine (or of Wine's server) touches both
// alike.
//
//   tasklist_bench [--runs N] [--windows N]
//
// A copy of this program opens --windows (200) captioned windows first, in
// a process of its own as another program's windows are. The rebuild is
// measured two ways: the periodic refresh with nothing changed (the list is
// left alone, as every 1.5 s on a quiet desktop), and a rebuild whose rows
// all differ from those shown (the list box is refilled). For reference,
// the bare loop also runs reading each captioned window's style, which the
// listing rules need. Medians of --runs (41) runs each, in microseconds.
//
//   tasklist_bench --open-windows N   (the copy: opens them, then waits)
#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/main_frame.h"
#include "bench_common.h"
#include "median.h"
#include "win32/control_windows.h"
#include "win32/desktop.h"
#include "win32/frame_system.h"
#include "win32/win32_services.h"

namespace {

constexpr wchar_t kReadyEvent[] = L"VitroluxTaskListBenchWindowsReady";
constexpr wchar_t kWindowClass[] = L"VitroluxTaskListBenchWindow";

double nowUs() {
  return 1000.0 * bench::nowMs();
}

using bench::median;

// ---- The copy that stands in for other programs --------------------------

int openWindows(int count) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = kWindowClass;
  RegisterClassW(&wc);
  for (int i = 0; i < count; ++i) {
    const std::wstring caption = L"bench window " + std::to_wstring(i + 1);
    HWND w =
        CreateWindowExW(0, kWindowClass, caption.c_str(), WS_OVERLAPPEDWINDOW, 20 + 8 * (i % 32),
                        20 + 8 * (i % 32), 300, 200, nullptr, nullptr, wc.hInstance, nullptr);
    ShowWindow(w, SW_SHOWNOACTIVATE);
  }
  HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, kReadyEvent);
  if (ready != nullptr) SetEvent(ready);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  return 0;
}

// ---- The baseline -------------------------------------------------------

BOOL CALLBACK readCaption(HWND window, LPARAM total) {
  wchar_t text[256];
  *reinterpret_cast<int*>(total) += GetWindowTextW(window, text, 256);
  return TRUE;
}

int bareWalk() {
  int characters = 0;
  EnumWindows(readCaption, reinterpret_cast<LPARAM>(&characters));
  return characters;
}

// The same loop reading each captioned window's style too: the least the
// listing rules need, for reference.
BOOL CALLBACK readCaptionAndStyle(HWND window, LPARAM total) {
  wchar_t text[256];
  const int length = GetWindowTextW(window, text, 256);
  if (length > 0) *reinterpret_cast<int*>(total) += GetWindowLongW(window, GWL_STYLE) != 0;
  return TRUE;
}

int styleWalk() {
  int styles = 0;
  EnumWindows(readCaptionAndStyle, reinterpret_cast<LPARAM>(&styles));
  return styles;
}

}  // namespace

int main() {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  int runs = 41;
  int windows = 200;
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  for (int i = 1; i + 1 < argc; ++i) {
    const std::wstring option = argv[i];
    const int value = _wtoi(argv[i + 1]);
    if (option == L"--open-windows") return openWindows(value);
    if (option == L"--runs") runs = std::max(1, value);
    if (option == L"--windows") windows = std::max(1, value);
  }
  LocalFree(argv);

  HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, kReadyEvent);
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring commandLine = L"tasklist_bench --open-windows " + std::to_wstring(windows);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION others{};
  if (!CreateProcessW(self, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &others) ||
      WaitForSingleObject(ready, 60000) != WAIT_OBJECT_0) {
    std::fprintf(stderr, "the other program's windows did not open\n");
    return 1;
  }

  // The frame as the program builds it, shown above those windows.
  namespace platform = vitrolux::platform;
  platform::win32::Desktop desktop;
  platform::win32::FrameSystem system(instance, desktop);
  platform::win32::Win32Processes processes;
  platform::win32::Win32Files files;
  platform::win32::Win32Text text;
  vitrolux::app::Main frame(platform::Ports{system, desktop, processes, files, text});
  if (system.createFrame(frame, frame.look()) == nullptr) return 1;
  platform::win32::ControlWindows controlWindows(instance, system, frame, frame.controls());
  frame.state().taskStyleMask = platform::kWsVisible | platform::kWsBorder;
  system.showFrame([&] { controlWindows.realise(); });
  system.doEvents();

  vitrolux::tasks::TaskList& list = frame.taskList();
  const int listIndex = vitrolux::model::index(vitrolux::model::ControlId::processList);
  list.rebuild();
  const std::size_t rows = frame.controls()[listIndex].rows.size();
  std::vector<double> bare, styled, unchanged, refilled;
  int characters = 0;
  for (int run = 0; run < runs; ++run) {
    // The order turns each run, so that none always goes first.
    for (int k = 0; k < 4; ++k) {
      switch ((run + k) % 4) {
        case 3: {
          const double start = nowUs();
          styleWalk();
          styled.push_back(nowUs() - start);
          break;
        }
        case 0: {
          const double start = nowUs();
          characters = bareWalk();
          bare.push_back(nowUs() - start);
          break;
        }
        case 1: {
          const double start = nowUs();
          list.onProcessTimer();
          unchanged.push_back(nowUs() - start);
          break;
        }
        case 2: {
          frame.controls().setRows(listIndex, {});
          const double start = nowUs();
          list.onProcessTimer();
          refilled.push_back(nowUs() - start);
          break;
        }
      }
      // What the refill left for the list box to paint is not the rebuild's.
      system.doEvents();
    }
  }

  std::printf("task-list rebuild: %d windows of another program, %zu rows listed, %d runs each\n",
              windows, rows, runs);
  std::printf("  EnumWindows + GetWindowTextW   %9.1f us  (%d characters read)\n", median(bare),
              characters);
  std::printf("  ... and GetWindowLongW (style)  %9.1f us  %.2fx\n", median(styled),
              median(styled) / median(bare));
  std::printf("  refresh, nothing changed       %9.1f us  %.2fx\n", median(unchanged),
              median(unchanged) / median(bare));
  std::printf("  rebuild, every row new         %9.1f us  %.2fx\n", median(refilled),
              median(refilled) / median(bare));

  system.destroyFrame();
  TerminateProcess(others.hProcess, 0);
  CloseHandle(others.hProcess);
  CloseHandle(others.hThread);
  return 0;
}
