// A console program for the end-to-end tests: it runs in a console of its
// own (the system's console host shows it), and may open a window of its
// own a while after its start, as a script's interpreter opening a GUI does.
//
//   e2e_console [--window-after-ms N [--caption TEXT]] [--exit-after-ms N]
//
//   --window-after-ms N  N ms after start the program opens a plain
//                        overlapped window captioned TEXT (default
//                        "e2e console gui") and runs until it is closed.
//   --exit-after-ms N    without a window: the program ends N ms after its
//                        start (none: it runs until it is ended).
//
// Exit codes: 0 normal end, 2 bad command line, 5 the window cannot be made.
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

bool number(const wchar_t* text, DWORD& out) {
  wchar_t* end = nullptr;
  out = static_cast<DWORD>(std::wcstoul(text, &end, 10));
  return end != text && *end == L'\0';
}

}  // namespace

int main() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argv == nullptr) return 2;
  DWORD windowAfterMs = 0;
  DWORD exitAfterMs = 0;
  bool window = false;
  std::wstring caption = L"e2e console gui";
  for (int i = 1; i < argc; ++i) {
    const std::wstring arg = argv[i];
    if (i + 1 >= argc) return 2;
    if (arg == L"--window-after-ms") {
      if (!number(argv[++i], windowAfterMs)) return 2;
      window = true;
    } else if (arg == L"--exit-after-ms") {
      if (!number(argv[++i], exitAfterMs)) return 2;
    } else if (arg == L"--caption") {
      caption = argv[++i];
    } else {
      return 2;
    }
  }
  LocalFree(argv);
  // Started by a program without a console, a console program gets a
  // console window of its own from the system's console host. Wine gives
  // one without a window when its own output goes to a Unix file, as it
  // does under the test harness: the program asks for a windowed one, as a
  // user's double click would have given it.
  if (GetConsoleWindow() == nullptr) {
    FreeConsole();
    AllocConsole();
  }
  std::printf("e2e console running\n");
  std::fflush(stdout);
  if (!window) {
    Sleep(exitAfterMs == 0 ? INFINITE : exitAfterMs);
    return 0;
  }
  Sleep(windowAfterMs);
  WNDCLASSW wc{};
  wc.lpfnWndProc = windowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = L"VitroluxE2EConsoleGui";
  if (!RegisterClassW(&wc)) return 5;
  HWND hwnd = CreateWindowExW(0, wc.lpszClassName, caption.c_str(), WS_OVERLAPPEDWINDOW, 150, 150,
                              400, 300, nullptr, nullptr, wc.hInstance, nullptr);
  if (hwnd == nullptr) return 5;
  ShowWindow(hwnd, SW_SHOWNORMAL);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
