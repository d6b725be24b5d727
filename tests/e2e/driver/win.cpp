#include "driver/win.h"

#include <cmath>
#include <thread>

namespace e2e {

bool waitUntil(std::chrono::milliseconds timeout, const std::function<bool()>& done) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    if (done()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return done();
    std::this_thread::sleep_for(20ms);
  }
}

std::wstring widen(std::string_view utf8) {
  if (utf8.empty()) return {};
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
  return out;
}

std::string narrow(std::wstring_view utf16) {
  if (utf16.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()), nullptr, 0,
                              nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()), out.data(), n,
                      nullptr, nullptr);
  return out;
}

std::wstring windowText(HWND window) {
  // GetWindowTextW on another process's window sends WM_GETTEXT; a hung
  // program would hang the test, so ask with a timeout instead.
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length)) {
    return {};
  }
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                           SMTO_ABORTIFHUNG, 2000, &copied)) {
    return {};
  }
  text.resize(static_cast<size_t>(copied));
  return text;
}

std::wstring className(HWND window) {
  wchar_t name[256];
  int n = GetClassNameW(window, name, 256);
  return std::wstring(name, n > 0 ? static_cast<size_t>(n) : 0);
}

bool sameClass(HWND window, std::wstring_view name) {
  std::wstring actual = className(window);
  return CompareStringOrdinal(actual.data(), static_cast<int>(actual.size()), name.data(),
                              static_cast<int>(name.size()), TRUE) == CSTR_EQUAL;
}

namespace {

BOOL CALLBACK collect(HWND window, LPARAM out) {
  reinterpret_cast<std::vector<HWND>*>(out)->push_back(window);
  return TRUE;
}

}  // namespace

std::vector<HWND> descendants(HWND parent) {
  std::vector<HWND> windows;
  EnumChildWindows(parent, collect, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

std::vector<HWND> findDescendantsByText(HWND parent, std::wstring_view text) {
  std::vector<HWND> found;
  for (HWND child : descendants(parent)) {
    if (windowText(child) == text) found.push_back(child);
  }
  return found;
}

HWND findDescendantByText(HWND parent, std::wstring_view text) {
  for (HWND child : descendants(parent)) {
    if (windowText(child) == text) return child;
  }
  return nullptr;
}

HWND childByText(HWND parent, std::wstring_view text) {
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (windowText(child) == text) return child;
  }
  return nullptr;
}

HWND waitForChildByText(HWND parent, std::wstring_view text, std::chrono::milliseconds timeout) {
  HWND found = nullptr;
  waitUntil(timeout, [&] { return (found = childByText(parent, text)) != nullptr; });
  return found;
}

void endProgramsCaptioned(std::wstring_view caption) {
  for (HWND window : topLevelWindows()) {
    if (windowText(window) != caption) continue;
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processOf(window));
    if (process == nullptr) continue;
    TerminateProcess(process, 0);
    WaitForSingleObject(process, 5000);
    CloseHandle(process);
  }
}

std::optional<Adoption> watchAdoption(std::wstring_view caption, HWND parent,
                                      std::chrono::milliseconds timeout) {
  using Clock = std::chrono::steady_clock;
  const std::wstring title(caption);
  const Clock::time_point giveUp = Clock::now() + std::chrono::seconds(20);
  HWND window = nullptr;
  while ((window = FindWindowW(nullptr, title.c_str())) == nullptr) {
    if (Clock::now() > giveUp) return std::nullopt;
    Sleep(1);
  }
  const Clock::time_point appeared = Clock::now();
  while (parentOf(window) != parent) {
    if (Clock::now() - appeared > timeout) return std::nullopt;
    Sleep(1);
  }
  return Adoption{window, Clock::now() - appeared};
}

HWND findDescendantByClass(HWND parent, std::wstring_view name) {
  for (HWND child : descendants(parent)) {
    if (sameClass(child, name)) return child;
  }
  return nullptr;
}

std::vector<HWND> topLevelWindows(DWORD pid) {
  std::vector<HWND> all;
  EnumWindows(collect, reinterpret_cast<LPARAM>(&all));
  if (pid == 0) return all;
  std::vector<HWND> mine;
  for (HWND window : all) {
    if (processOf(window) == pid) mine.push_back(window);
  }
  return mine;
}

HWND visibleTopLevelWindow(DWORD pid) {
  for (HWND window : topLevelWindows(pid)) {
    if (IsWindowVisible(window)) return window;
  }
  return nullptr;
}

DWORD processOf(HWND window) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  return pid;
}

LONG_PTR style(HWND window) {
  return GetWindowLongPtrW(window, GWL_STYLE);
}
LONG_PTR exStyle(HWND window) {
  return GetWindowLongPtrW(window, GWL_EXSTYLE);
}

SIZE clientSize(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  return {r.right - r.left, r.bottom - r.top};
}

SIZE windowSize(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return {r.right - r.left, r.bottom - r.top};
}

RECT windowRectOnScreen(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return r;
}

HWND captureOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndCapture;
}

HWND focusOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

bool isTopMost(HWND window) {
  return (exStyle(window) & WS_EX_TOPMOST) != 0;
}

HWND parentOf(HWND window) {
  HWND parent = GetAncestor(window, GA_PARENT);
  return parent == GetDesktopWindow() ? nullptr : parent;
}

std::optional<BYTE> layeredAlpha(HWND window) {
  if ((exStyle(window) & WS_EX_LAYERED) == 0) return std::nullopt;
  COLORREF key = 0;
  BYTE alpha = 0;
  DWORD flags = 0;
  if (!GetLayeredWindowAttributes(window, &key, &alpha, &flags) || (flags & LWA_ALPHA) == 0) {
    return std::nullopt;
  }
  return alpha;
}

int twipsToPixels(int twips, UINT dpi) {
  return static_cast<int>(std::lround(twips * static_cast<double>(dpi) / 1440.0));
}

std::wstring hostPathToWindows(std::string_view path) {
  std::wstring out = widen(path);
  for (wchar_t& c : out) {
    if (c == L'/') c = L'\\';
  }
  if (!path.empty() && path.front() == '/') out.insert(0, L"Z:");
  return out;
}

bool writeFileBytes(const std::wstring& path, std::string_view bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
            written == bytes.size();
  CloseHandle(file);
  return ok;
}

std::optional<std::string> readFileBytes(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string bytes;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
  CloseHandle(file);
  return bytes;
}

}  // namespace e2e
