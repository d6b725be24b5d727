// A program whose one top-level window the end-to-end tests host, list and
// send keys to. Everything about the window comes from the command line, so
// one executable stands in for any program (copied as chrome.exe or
// firefox.exe it behaves the same: nothing here looks at its own file name).
//
//   e2e_target [--caption TEXT] [--class NAME]
//              [--style overlapped|popup|popup-border|tool]
//              [--rect X,Y,W,H] [--hidden] [--log FILE] [--exit-after-ms N]
//
// With --log, the file gets one line "READY <hwnd> <pid>" once the window
// exists, then one line per WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN, WM_SYSKEYUP
// and WM_ACTIVATE received: "<message> <wParam> <lParam>" in hexadecimal.
// Each line is written straight to the file, so a test can read it while
// this program runs.
#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>

namespace {

struct Options {
  std::wstring caption = L"e2e target";
  std::wstring className = L"VitroluxE2ETarget";
  DWORD style = WS_OVERLAPPEDWINDOW;
  DWORD exStyle = 0;
  int x = 100, y = 100, width = 400, height = 300;
  bool hidden = false;
  std::wstring logPath;
  UINT exitAfterMs = 0;
};

HANDLE g_log = INVALID_HANDLE_VALUE;
constexpr UINT_PTR kExitTimer = 1;

void writeLogLine(const char* line) {
  if (g_log == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  // FILE_APPEND_DATA makes every write land at the current end, even when
  // the test truncates or another copy of this program shares the file.
  WriteFile(g_log, line, static_cast<DWORD>(std::strlen(line)), &written, nullptr);
}

void logMessage(const char* name, WPARAM wParam, LPARAM lParam) {
  char line[96];
  std::snprintf(line, sizeof line, "%s 0x%llx 0x%llx\r\n", name,
                static_cast<unsigned long long>(wParam),
                static_cast<unsigned long long>(static_cast<ULONG_PTR>(lParam)));
  writeLogLine(line);
}

LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_KEYDOWN:
      logMessage("WM_KEYDOWN", wParam, lParam);
      break;
    case WM_KEYUP:
      logMessage("WM_KEYUP", wParam, lParam);
      break;
    case WM_SYSKEYDOWN:
      logMessage("WM_SYSKEYDOWN", wParam, lParam);
      break;
    case WM_SYSKEYUP:
      logMessage("WM_SYSKEYUP", wParam, lParam);
      break;
    case WM_ACTIVATE:
      logMessage("WM_ACTIVATE", wParam, lParam);
      break;
    case WM_TIMER:
      if (wParam == kExitTimer) {
        DestroyWindow(hwnd);
        return 0;
      }
      break;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

bool parseStyle(const std::wstring& name, Options& o) {
  if (name == L"overlapped") {
    o.style = WS_OVERLAPPEDWINDOW;
  } else if (name == L"popup") {
    o.style = WS_POPUP;
  } else if (name == L"popup-border") {
    o.style = WS_POPUP | WS_BORDER;
  } else if (name == L"tool") {
    o.style = WS_OVERLAPPEDWINDOW;
    o.exStyle = WS_EX_TOOLWINDOW;
  } else {
    return false;
  }
  return true;
}

bool parseArgs(int argc, wchar_t** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    std::wstring arg = argv[i];
    bool hasValue = i + 1 < argc;
    if (arg == L"--hidden") {
      o.hidden = true;
    } else if (arg == L"--caption" && hasValue) {
      o.caption = argv[++i];
    } else if (arg == L"--class" && hasValue) {
      o.className = argv[++i];
    } else if (arg == L"--style" && hasValue) {
      if (!parseStyle(argv[++i], o)) return false;
    } else if (arg == L"--rect" && hasValue) {
      if (std::swscanf(argv[++i], L"%d,%d,%d,%d", &o.x, &o.y, &o.width, &o.height) != 4)
        return false;
    } else if (arg == L"--log" && hasValue) {
      o.logPath = argv[++i];
    } else if (arg == L"--exit-after-ms" && hasValue) {
      o.exitAfterMs = static_cast<UINT>(std::wcstoul(argv[++i], nullptr, 10));
    } else {
      return false;
    }
  }
  return true;
}

}  // namespace

// WinMain rather than wWinMain: MinGW needs -municode for the wide entry
// point, and the wide command line is at hand anyway.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  Options options;
  bool ok = argv != nullptr && parseArgs(argc, argv, options);
  if (argv) LocalFree(argv);
  if (!ok) return 2;

  if (!options.logPath.empty()) {
    g_log = CreateFileW(options.logPath.c_str(), FILE_APPEND_DATA,
                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                        OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (g_log == INVALID_HANDLE_VALUE) return 3;
  }

  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = windowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = options.className.c_str();
  if (!RegisterClassExW(&wc)) return 4;

  HWND hwnd = CreateWindowExW(options.exStyle, options.className.c_str(), options.caption.c_str(),
                              options.style, options.x, options.y, options.width, options.height,
                              nullptr, nullptr, instance, nullptr);
  if (!hwnd) return 5;

  char ready[64];
  std::snprintf(ready, sizeof ready, "READY 0x%llx %lu\r\n",
                static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(hwnd)),
                GetCurrentProcessId());
  writeLogLine(ready);

  if (options.exitAfterMs > 0) SetTimer(hwnd, kExitTimer, options.exitAfterMs, nullptr);
  if (!options.hidden) {
    ShowWindow(hwnd, SW_SHOWNORMAL);
    UpdateWindow(hwnd);
  }

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  if (g_log != INVALID_HANDLE_VALUE) CloseHandle(g_log);
  return static_cast<int>(msg.wParam);
}
