// A program whose top-level windows the end-to-end tests host, list and
// send keys to. Everything about the windows comes from the command line, so
// one executable stands in for any program (copied as chrome.exe or
// firefox.exe it behaves the same: nothing here looks at its own file name).
//
//   e2e_target [--caption TEXT] [--class NAME]
//              [--style overlapped|popup|popup-border|tool]
//              [--exstyle HEX] [--topmost] [--rect X,Y,W,H]
//              [--hidden] [--show-after-ms N]
//              [--rename-after-ms N --rename-to TEXT]
//              [--icon-color RRGGBB] [--list ROW|ROW|...] [--edit]
//              [--hang-after-ms N] [--hang-at-start]
//              [--hang-in show|move|style [--hang-for-ms N]]
//              [--count N] [--exit-after-ms N] [--no-window] [--log FILE]
//              [--launch ARGS] [--splash-ms N] [--owned TEXT]
//              [--maximized | --minimized] [--refuse-parent] [--note TEXT]
//              [--log-start]
//
//   --caption, --class, --rect  the window's caption (any Unicode text),
//                      class name and place; default "e2e target",
//                      VitroluxE2ETarget, 100,100,400,300.
//   --style            WS_OVERLAPPEDWINDOW (default), WS_POPUP, WS_POPUP |
//                      WS_BORDER, or WS_OVERLAPPEDWINDOW with
//                      WS_EX_TOOLWINDOW.
//   --exstyle HEX      extended styles OR-ed into those of --style, e.g.
//                      0x10 (WS_EX_ACCEPTFILES) or 0x80000 (WS_EX_LAYERED).
//   --topmost          adds WS_EX_TOPMOST.
//   --hidden           the window is created but not shown.
//   --show-after-ms N  the window is created hidden and shown
//                      (SW_SHOWNORMAL) N ms later, by a timer, with or
//                      without --hidden.
//   --create-after-ms N
//                      the process runs N ms with no window before it
//                      creates one: a program slow to open its window.
//   --rename-after-ms N --rename-to TEXT
//                      N ms after start the caption becomes TEXT.
//   --icon-color RRGGBB
//                      the class gets a 32x32 icon and a 16x16 small icon of
//                      that one solid colour, made at run time, and the
//                      window answers WM_GETICON with them (ICON_SMALL and
//                      ICON_SMALL2 the small one, ICON_BIG the big one).
//                      The window also paints them at the top left of its
//                      client area: its answer to ICON_SMALL at (0,0), the
//                      class's small icon at (16,0), its answer to ICON_BIG
//                      at (32,0); under Wine icon handles do not work across
//                      processes, so a test sees them on the screen instead.
//                      Without it the class has the system's application
//                      icon and no small icon, WM_GETICON gets what
//                      DefWindowProc answers, and nothing is painted.
//   --edit             a multi-line text box fills the client area, to be
//                      typed into; a test reads what it holds with
//                      WM_GETTEXT.
//   --list ROW|ROW|... a list box (LBS_NOTIFY) fills the client area with
//                      these rows (covering any painted icons); row i (from
//                      0) carries item data 1000 + i.
//   --hang-after-ms N  N ms after the window shows, the program stops
//                      pumping messages for good.
//   --hang-at-start    the window is shown, pending messages are handled for
//                      about 300 ms (Wine maps and paints the window only
//                      through them), then it stops pumping for good.
//   --hang-in show|move|style
//                      the program stops pumping messages from inside its
//                      window's handling of WM_SHOWWINDOW, WM_WINDOWPOSCHANGING
//                      or WM_STYLECHANGING: it answers everything, until a
//                      call of another program that shows or hides, moves or
//                      restyles the window reaches it (SetParent hides and
//                      shows), and then hangs inside that call. Armed 500 ms
//                      after the window shows (its own start does not count),
//                      and again 500 ms after each hang has ended.
//   --hang-for-ms N    how long each --hang-in hang lasts; 0 (the default)
//                      for good.
//   --count N          N windows in this one process, captioned
//                      "<caption> 1" ... "<caption> N" (and renamed to
//                      "<TEXT> 1" ...), window k placed 8 * ((k - 1) mod 32)
//                      pixels right of and below --rect; every other option
//                      applies to each of them.
//   --exit-after-ms N  the program ends N ms after start.
//   --no-window        no window at all: the program only waits out
//                      --exit-after-ms (none: it ends at once), then ends.
//   --splash-ms N      before its window shows, the program shows a splash
//                      screen for N ms: a popup without a title bar,
//                      captioned "<caption> splash"; the window shows when
//                      the splash closes.
//   --owned TEXT       the program also shows a window with a title bar
//                      captioned TEXT and owned by its (first) window, as a
//                      tip of the day or a licence; with --hidden the owner
//                      stays hidden unless --show-after-ms shows it.
//   --maximized, --minimized
//                      the window shows maximised, or minimised.
//   --note TEXT        does nothing: an argument to find again in the
//                      command line that STARTED logs.
//   --refuse-parent    the program puts its window straight back on the
//                      desktop whenever another program gives it a parent.
//   --launch ARGS      a launcher: starts another copy of this program with
//                      the command line ARGS (one argument, split again by
//                      the copy) and ends at once, with no window of its
//                      own; it logs LAUNCHED <pid (decimal)> of the copy.
//
// Blocked in a send on demand: the registered message
// "VitroluxE2E.BlockInSend" makes the program send a message to a window of
// a second thread of its own that sleeps for wParam milliseconds (0 for
// good). The program's thread then waits inside SendMessage: it still
// answers messages sent to it, and the system does not take it for hung,
// but it handles nothing posted (input, timers, posted messages).
//
// Hang on demand: the registered message "VitroluxE2E.Hang" (see
// RegisterWindowMessageW), posted or sent to any of the windows, makes the
// program stop pumping messages for wParam milliseconds, or for good when
// wParam is 0. It sleeps in its only thread, so none of its windows answers
// anything meanwhile, as a program stuck in a long computation.
//
// With --log, the file gets one line per event, each written straight to
// the file so that a test can read it while this program runs; numbers in
// hexadecimal unless said otherwise:
//   STARTED <folder>|<command line>
//                                 with --log-start, first of all: the
//                                 program's working folder and whole
//                                 command line
//   READY <hwnd> <pid (decimal)>  a window exists (one line per window, in
//                                 the order of --count)
//   SHOWN <hwnd>                  the program showed that window
//   RENAMED <hwnd>                that window's caption was changed
//   HANGING                       the program stops pumping messages now
//   RESUMED                       ... and, after a hang of a set time,
//                                 pumps them again
//   ARMED                         --hang-in waits for its message from now
//   BLOCKED, UNBLOCKED            the thread enters, and leaves, the send of
//                                 "VitroluxE2E.BlockInSend"
//   <message> <wParam> <lParam>   for every WM_KEYDOWN, WM_KEYUP,
//                                 WM_SYSKEYDOWN, WM_SYSKEYUP and WM_ACTIVATE
//   WM_LBUTTONDOWN <x> <y>        a left click on the window itself (not on a
//                                 list or text box in it), in its client
//                                 area's pixels (decimal)
//   WM_GETICON <wParam>           every icon request (Wine itself asks too)
//   LBN_SELCHANGE <row>, LBN_DBLCLK <row>
//                                 notifications of the list box, with the
//                                 row it then has selected (decimal, -1 none)
//
// Exit codes: 0 normal end, 2 bad command line, 3 the log cannot be opened,
// 4 the class cannot be registered, 5 a window cannot be created, 6 the
// copy of --launch cannot be started.
#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

struct Options {
  std::wstring caption = L"e2e target";
  std::wstring className = L"VitroluxE2ETarget";
  DWORD style = WS_OVERLAPPEDWINDOW;
  DWORD exStyle = 0;
  DWORD extraExStyle = 0;
  int x = 100, y = 100, width = 400, height = 300;
  bool hidden = false;
  UINT showAfterMs = 0;
  UINT createAfterMs = 0;
  UINT renameAfterMs = 0;
  std::wstring renameTo;
  bool hasIconColour = false;
  COLORREF iconColour = 0;
  std::vector<std::wstring> listRows;
  bool edit = false;
  std::wstring launch;
  UINT hangAfterMs = 0;
  bool hangAtStart = false;
  UINT hangIn = 0;  // the message that --hang-in hangs in, 0 for none
  UINT hangForMs = 0;
  int count = 1;
  std::wstring logPath;
  UINT exitAfterMs = 0;
  bool noWindow = false;
  UINT splashMs = 0;
  std::wstring owned;
  int showCommand = SW_SHOWNORMAL;
  bool refuseParent = false;
  bool logStart = false;
};

Options g_options;
HANDLE g_log = INVALID_HANDLE_VALUE;
UINT g_hangMessage = 0;
HICON g_smallIcon = nullptr;
HICON g_bigIcon = nullptr;
int g_openWindows = 0;

constexpr UINT_PTR kExitTimer = 1;
constexpr UINT_PTR kShowTimer = 2;
constexpr UINT_PTR kRenameTimer = 3;
constexpr UINT_PTR kHangTimer = 4;
constexpr UINT_PTR kArmTimer = 5;
constexpr UINT_PTR kSplashTimer = 6;
constexpr int kListId = 100;
constexpr int kEditId = 101;
constexpr LRESULT kFirstRowData = 1000;

void writeLogLine(const char* format, ...) {
  if (g_log == INVALID_HANDLE_VALUE) return;
  char line[4096];
  va_list args;
  va_start(args, format);
  int n = std::vsnprintf(line, sizeof line - 2, format, args);
  va_end(args);
  if (n < 0) return;
  n = std::min(n, static_cast<int>(sizeof line) - 3);
  line[n++] = '\r';
  line[n++] = '\n';
  DWORD written = 0;
  // FILE_APPEND_DATA makes every write land at the current end, even when
  // the test truncates or another copy of this program shares the file.
  WriteFile(g_log, line, static_cast<DWORD>(n), &written, nullptr);
}

unsigned long long hex(HWND hwnd) {
  return static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(hwnd));
}

void logMessage(const char* name, WPARAM wParam, LPARAM lParam) {
  writeLogLine("%s 0x%llx 0x%llx", name, static_cast<unsigned long long>(wParam),
               static_cast<unsigned long long>(static_cast<ULONG_PTR>(lParam)));
}

// Stops pumping messages: the only thread sleeps, so every window of the
// program stops answering, and Wine stops painting them.
void hang(DWORD ms) {
  writeLogLine("HANGING");
  const ULONGLONG until = GetTickCount64() + ms;
  while (ms == 0 || GetTickCount64() < until) Sleep(50);
  writeLogLine("RESUMED");
}

// ---- Hanging inside another program's call, and blocked in a send --------

bool g_armed = false;
UINT g_blockMessage = 0;
HWND g_sleeper = nullptr;        // a window of the sleeping thread
HANDLE g_wakeSleeper = nullptr;  // set: the sleeper reads its messages
DWORD g_sleepMs = 0;             // how long the next sleep lasts, 0 for good

// The second thread: a window of its own, and a loop that sleeps whenever
// asked to before it reads its messages.
DWORD WINAPI sleeperThread(LPVOID ready) {
  g_sleeper =
      CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  SetEvent(static_cast<HANDLE>(ready));
  MSG msg;
  for (;;) {
    WaitForSingleObject(g_wakeSleeper, INFINITE);
    ResetEvent(g_wakeSleeper);
    Sleep(g_sleepMs == 0 ? INFINITE : g_sleepMs);
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  }
}

void startSleeper() {
  g_blockMessage = RegisterWindowMessageW(L"VitroluxE2E.BlockInSend");
  g_wakeSleeper = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  CloseHandle(CreateThread(nullptr, 0, sleeperThread, ready, 0, nullptr));
  WaitForSingleObject(ready, 5000);
  CloseHandle(ready);
}

void blockInSend(DWORD ms) {
  g_sleepMs = ms;
  writeLogLine("BLOCKED");
  // The sleeper is told to sleep before it reads anything: the message
  // below waits for it.
  SetEvent(g_wakeSleeper);
  SendMessageW(g_sleeper, WM_NULL, 0, 0);
  writeLogLine("UNBLOCKED");
}

// Whether this message of the window's own handling is where --hang-in
// hangs; then it hangs.
void hangInside(HWND hwnd, UINT msg) {
  if (!g_armed || msg != g_options.hangIn) return;
  g_armed = false;
  hang(g_options.hangForMs);
  SetTimer(hwnd, kArmTimer, 500, nullptr);
}

// Window k (from 1) of --count; 1 without it.
int windowNumber(HWND hwnd) {
  return static_cast<int>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

std::wstring numbered(const std::wstring& text, int number) {
  return g_options.count > 1 ? text + L" " + std::to_wstring(number) : text;
}

std::vector<HWND> g_windows;

void showWindow(HWND hwnd) {
  ShowWindow(hwnd, g_options.showCommand);
  UpdateWindow(hwnd);
  writeLogLine("SHOWN 0x%llx", hex(hwnd));
  if (g_options.hangAfterMs > 0) SetTimer(hwnd, kHangTimer, g_options.hangAfterMs, nullptr);
  if (g_options.hangIn != 0) SetTimer(hwnd, kArmTimer, 500, nullptr);
}

void onTimer(HWND hwnd, UINT_PTR id) {
  // Every timer here fires once.
  KillTimer(hwnd, id);
  switch (id) {
    case kExitTimer:
      PostQuitMessage(0);
      break;
    case kShowTimer:
      showWindow(hwnd);
      break;
    case kRenameTimer:
      SetWindowTextW(hwnd, numbered(g_options.renameTo, windowNumber(hwnd)).c_str());
      writeLogLine("RENAMED 0x%llx", hex(hwnd));
      break;
    case kHangTimer:
      hang(0);
      break;
    case kArmTimer:
      g_armed = true;
      writeLogLine("ARMED");
      break;
    case kSplashTimer:
      // The splash goes, and the program's own windows come.
      DestroyWindow(hwnd);
      for (HWND window : g_windows) showWindow(window);
      break;
  }
}

HICON iconAnswer(WPARAM which) {
  return which == ICON_BIG ? g_bigIcon : g_smallIcon;
}

void paintIcons(HWND hwnd) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(hwnd, &paint);
  const HICON classIcon = reinterpret_cast<HICON>(GetClassLongPtrW(hwnd, GCLP_HICONSM));
  DrawIconEx(dc, 0, 0, iconAnswer(ICON_SMALL), 16, 16, 0, nullptr, DI_NORMAL);
  DrawIconEx(dc, 16, 0, classIcon, 16, 16, 0, nullptr, DI_NORMAL);
  DrawIconEx(dc, 32, 0, iconAnswer(ICON_BIG), 32, 32, 0, nullptr, DI_NORMAL);
  EndPaint(hwnd, &paint);
}

void onListCommand(HWND list, UINT code) {
  const int row = static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0));
  if (code == LBN_SELCHANGE) writeLogLine("LBN_SELCHANGE %d", row);
  if (code == LBN_DBLCLK) writeLogLine("LBN_DBLCLK %d", row);
}

LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == g_hangMessage && g_hangMessage != 0) {
    hang(static_cast<DWORD>(wParam));
    return 0;
  }
  if (msg == g_blockMessage && g_blockMessage != 0) {
    blockInSend(static_cast<DWORD>(wParam));
    return 0;
  }
  hangInside(hwnd, msg);
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
    case WM_LBUTTONDOWN:
      writeLogLine("WM_LBUTTONDOWN %d %d", static_cast<int>(static_cast<short>(LOWORD(lParam))),
                   static_cast<int>(static_cast<short>(HIWORD(lParam))));
      break;
    case WM_GETICON:
      writeLogLine("WM_GETICON 0x%llx", static_cast<unsigned long long>(wParam));
      if (g_options.hasIconColour) return reinterpret_cast<LRESULT>(iconAnswer(wParam));
      break;
    case WM_PAINT:
      if (g_options.hasIconColour) {
        paintIcons(hwnd);
        return 0;
      }
      break;
    case WM_COMMAND:
      if (LOWORD(wParam) == kListId) {
        onListCommand(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
        return 0;
      }
      break;
    case WM_WINDOWPOSCHANGED:
      // Given a parent by another program: straight back to the desktop.
      if (g_options.refuseParent && GetAncestor(hwnd, GA_PARENT) != GetDesktopWindow()) {
        SetParent(hwnd, nullptr);
        writeLogLine("REFUSED 0x%llx", hex(hwnd));
      }
      break;
    case WM_SIZE:
      for (const int id : {kListId, kEditId}) {
        if (HWND child = GetDlgItem(hwnd, id)) {
          MoveWindow(child, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        }
      }
      break;
    case WM_TIMER:
      onTimer(hwnd, wParam);
      return 0;
    case WM_DESTROY:
      // The splash is not one of the windows that keep the program running.
      if (GetWindowLongPtrW(hwnd, GWLP_USERDATA) == -1) return 0;
      if (--g_openWindows == 0) PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

// An icon of one solid colour. The colour bitmap carries full alpha and the
// mask is all zero, so every pixel is opaque however the icon is drawn.
HICON makeSolidIcon(int size, COLORREF colour) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = size;
  info.bmiHeader.biHeight = -size;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP colourBitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!colourBitmap) return nullptr;
  const DWORD pixel =
      0xFF000000u | (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
  std::fill_n(static_cast<DWORD*>(bits), size * size, pixel);
  // Rows of a monochrome bitmap are padded to whole 16-bit words.
  std::vector<BYTE> maskBits(static_cast<size_t>((size + 15) / 16 * 2 * size), 0);
  HBITMAP mask = CreateBitmap(size, size, 1, 1, maskBits.data());
  ICONINFO icon{TRUE, 0, 0, mask, colourBitmap};
  HICON made = mask ? CreateIconIndirect(&icon) : nullptr;
  if (mask) DeleteObject(mask);
  DeleteObject(colourBitmap);
  return made;
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

// The whole of `text` as a number in `base` (16 also takes a 0x prefix).
template <typename T>
bool parseNumber(const wchar_t* text, int base, T& out) {
  wchar_t* end = nullptr;
  const unsigned long value = std::wcstoul(text, &end, base);
  if (end == text || *end != L'\0') return false;
  out = static_cast<T>(value);
  return true;
}

std::vector<std::wstring> splitRows(const std::wstring& text) {
  std::vector<std::wstring> rows;
  size_t start = 0;
  for (;;) {
    const size_t bar = text.find(L'|', start);
    rows.push_back(text.substr(start, bar - start));
    if (bar == std::wstring::npos) return rows;
    start = bar + 1;
  }
}

bool parseArgs(int argc, wchar_t** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    std::wstring arg = argv[i];
    bool hasValue = i + 1 < argc;
    if (arg == L"--hidden") {
      o.hidden = true;
    } else if (arg == L"--topmost") {
      o.extraExStyle |= WS_EX_TOPMOST;
    } else if (arg == L"--hang-at-start") {
      o.hangAtStart = true;
    } else if (arg == L"--no-window") {
      o.noWindow = true;
    } else if (arg == L"--edit") {
      o.edit = true;
    } else if (arg == L"--maximized") {
      o.showCommand = SW_SHOWMAXIMIZED;
    } else if (arg == L"--minimized") {
      o.showCommand = SW_SHOWMINIMIZED;
    } else if (arg == L"--refuse-parent") {
      o.refuseParent = true;
    } else if (arg == L"--log-start") {
      o.logStart = true;
    } else if (!hasValue) {
      return false;
    } else if (arg == L"--caption") {
      o.caption = argv[++i];
    } else if (arg == L"--class") {
      o.className = argv[++i];
    } else if (arg == L"--style") {
      if (!parseStyle(argv[++i], o)) return false;
    } else if (arg == L"--rect") {
      if (std::swscanf(argv[++i], L"%d,%d,%d,%d", &o.x, &o.y, &o.width, &o.height) != 4)
        return false;
    } else if (arg == L"--log") {
      o.logPath = argv[++i];
    } else if (arg == L"--launch") {
      o.launch = argv[++i];
    } else if (arg == L"--note") {
      ++i;
    } else if (arg == L"--owned") {
      o.owned = argv[++i];
    } else if (arg == L"--splash-ms") {
      if (!parseNumber(argv[++i], 10, o.splashMs)) return false;
    } else if (arg == L"--exit-after-ms") {
      if (!parseNumber(argv[++i], 10, o.exitAfterMs)) return false;
    } else if (arg == L"--create-after-ms") {
      if (!parseNumber(argv[++i], 10, o.createAfterMs)) return false;
    } else if (arg == L"--show-after-ms") {
      if (!parseNumber(argv[++i], 10, o.showAfterMs)) return false;
    } else if (arg == L"--rename-after-ms") {
      if (!parseNumber(argv[++i], 10, o.renameAfterMs)) return false;
    } else if (arg == L"--rename-to") {
      o.renameTo = argv[++i];
    } else if (arg == L"--exstyle") {
      DWORD extra = 0;
      if (!parseNumber(argv[++i], 16, extra)) return false;
      o.extraExStyle |= extra;
    } else if (arg == L"--icon-color") {
      DWORD rgb = 0;
      if (std::wcslen(argv[i + 1]) != 6 || !parseNumber(argv[++i], 16, rgb)) return false;
      o.hasIconColour = true;
      o.iconColour = RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
    } else if (arg == L"--list") {
      o.listRows = splitRows(argv[++i]);

    } else if (arg == L"--hang-after-ms") {
      if (!parseNumber(argv[++i], 10, o.hangAfterMs)) return false;
    } else if (arg == L"--hang-in") {
      const std::wstring name = argv[++i];
      o.hangIn = name == L"show"    ? WM_SHOWWINDOW
                 : name == L"move"  ? WM_WINDOWPOSCHANGING
                 : name == L"style" ? WM_STYLECHANGING
                                    : 0;
      if (o.hangIn == 0) return false;
    } else if (arg == L"--hang-for-ms") {
      if (!parseNumber(argv[++i], 10, o.hangForMs)) return false;
    } else if (arg == L"--count") {
      if (!parseNumber(argv[++i], 10, o.count) || o.count < 1) return false;
    } else {
      return false;
    }
  }
  // A rename needs both its delay and its text.
  return (o.renameAfterMs > 0) == !o.renameTo.empty();
}

HWND createTargetWindow(HINSTANCE instance, int number) {
  const Options& o = g_options;
  const int offset = 8 * ((number - 1) % 32);
  HWND hwnd = CreateWindowExW(o.exStyle | o.extraExStyle, o.className.c_str(),
                              numbered(o.caption, number).c_str(), o.style, o.x + offset,
                              o.y + offset, o.width, o.height, nullptr, nullptr, instance, nullptr);
  if (!hwnd) return nullptr;
  ++g_openWindows;
  SetWindowLongPtrW(hwnd, GWLP_USERDATA, number);
  if (!o.listRows.empty()) {
    RECT client{};
    GetClientRect(hwnd, &client);
    HWND list = CreateWindowExW(
        0, L"LISTBOX", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
        0, 0, client.right, client.bottom, hwnd,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kListId)), instance, nullptr);
    for (size_t i = 0; list && i < o.listRows.size(); ++i) {
      SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(o.listRows[i].c_str()));
      SendMessageW(list, LB_SETITEMDATA, i, kFirstRowData + static_cast<LRESULT>(i));
    }
  }
  if (o.edit) {
    RECT client{};
    GetClientRect(hwnd, &client);
    CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL, 0, 0,
                    client.right, client.bottom, hwnd,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditId)), instance, nullptr);
  }
  writeLogLine("READY 0x%llx %lu", hex(hwnd), GetCurrentProcessId());
  return hwnd;
}

// Handles what is already queued for about `ms`, without waiting for more.
void pumpFor(DWORD ms) {
  const ULONGLONG until = GetTickCount64() + ms;
  MSG msg;
  while (GetTickCount64() < until) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(10);
  }
}

}  // namespace

// WinMain rather than wWinMain: MinGW needs -municode for the wide entry
// point, and the wide command line is at hand anyway.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  Options& options = g_options;
  bool ok = argv != nullptr && parseArgs(argc, argv, options);
  if (argv) LocalFree(argv);
  if (!ok) return 2;

  if (!options.logPath.empty()) {
    g_log = CreateFileW(options.logPath.c_str(), FILE_APPEND_DATA,
                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                        OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (g_log == INVALID_HANDLE_VALUE) return 3;
  }
  if (options.logStart) {
    wchar_t folder[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, folder);
    const std::wstring started = std::wstring(folder) + L"|" + GetCommandLineW();
    char utf8[4096] = {};
    WideCharToMultiByte(CP_UTF8, 0, started.c_str(), -1, utf8, sizeof utf8 - 1, nullptr, nullptr);
    writeLogLine("STARTED %s", utf8);
  }

  if (!options.launch.empty()) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring line = L"\"" + std::wstring(self) + L"\" " + options.launch;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(self, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &started)) {
      return 6;
    }
    writeLogLine("LAUNCHED %lu", started.dwProcessId);
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    if (g_log != INVALID_HANDLE_VALUE) CloseHandle(g_log);
    return 0;
  }

  if (options.noWindow) {
    Sleep(options.exitAfterMs);
    if (g_log != INVALID_HANDLE_VALUE) CloseHandle(g_log);
    return 0;
  }

  if (options.createAfterMs > 0) Sleep(options.createAfterMs);

  g_hangMessage = RegisterWindowMessageW(L"VitroluxE2E.Hang");
  startSleeper();
  if (options.hasIconColour) {
    g_smallIcon = makeSolidIcon(16, options.iconColour);
    g_bigIcon = makeSolidIcon(32, options.iconColour);
  }

  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = windowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hIcon = options.hasIconColour ? g_bigIcon : LoadIconW(nullptr, IDI_APPLICATION);
  wc.hIconSm = options.hasIconColour ? g_smallIcon : nullptr;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = options.className.c_str();
  if (!RegisterClassExW(&wc)) return 4;

  std::vector<HWND>& windows = g_windows;
  for (int number = 1; number <= options.count; ++number) {
    HWND hwnd = createTargetWindow(instance, number);
    if (!hwnd) return 5;
    windows.push_back(hwnd);
  }
  if (!options.owned.empty()) {
    HWND owned = CreateWindowExW(0, options.className.c_str(), options.owned.c_str(),
                                 WS_POPUP | WS_CAPTION | WS_SYSMENU, options.x + 40, options.y + 40,
                                 300, 200, windows.front(), nullptr, instance, nullptr);
    if (!owned) return 5;
    ++g_openWindows;
    ShowWindow(owned, SW_SHOWNORMAL);
    writeLogLine("READY 0x%llx %lu", hex(owned), GetCurrentProcessId());
  }
  if (options.splashMs > 0) {
    // A window of its own that is not one of the program's windows: its
    // end does not end the program.
    HWND splash = CreateWindowExW(0, options.className.c_str(),
                                  (options.caption + L" splash").c_str(), WS_POPUP | WS_BORDER,
                                  options.x, options.y, 200, 120, nullptr, nullptr, instance,
                                  nullptr);
    if (!splash) return 5;
    SetWindowLongPtrW(splash, GWLP_USERDATA, -1);
    ShowWindow(splash, SW_SHOWNORMAL);
    writeLogLine("SPLASH 0x%llx", hex(splash));
    SetTimer(splash, kSplashTimer, options.splashMs, nullptr);
  }

  if (options.exitAfterMs > 0) SetTimer(windows.front(), kExitTimer, options.exitAfterMs, nullptr);
  for (HWND hwnd : windows) {
    if (options.renameAfterMs > 0) SetTimer(hwnd, kRenameTimer, options.renameAfterMs, nullptr);
    if (options.showAfterMs > 0) {
      SetTimer(hwnd, kShowTimer, options.showAfterMs, nullptr);
    } else if (!options.hidden && options.splashMs == 0) {
      showWindow(hwnd);
    }
  }

  if (options.hangAtStart) {
    pumpFor(300);
    hang(0);
  }

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  if (g_log != INVALID_HANDLE_VALUE) CloseHandle(g_log);
  return static_cast<int>(msg.wParam);
}
