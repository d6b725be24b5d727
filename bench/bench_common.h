// Small helpers the Windows benchmark programs share: the build's paths as
// paths the program can open, a fine clock, a process's window.
#pragma once

#include <windows.h>

#include <algorithm>
#include <string>

namespace bench {

inline std::wstring widen(const char* utf8) {
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
  std::wstring out(static_cast<size_t>(n > 0 ? n - 1 : 0), L'\0');
  if (n > 1) MultiByteToWideChar(CP_UTF8, 0, utf8, -1, out.data(), n);
  return out;
}

// The build names the programs by their paths on the build machine; Wine
// shows the Unix root as Z:.
inline std::wstring hostPath(const char* path) {
  std::wstring out = widen(path);
  std::replace(out.begin(), out.end(), L'/', L'\\');
  if (path[0] == '/') out.insert(0, L"Z:");
  return out;
}

// Milliseconds of the performance counter.
inline double nowMs() {
  static const LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The first visible top-level window of the process, or nullptr.
inline HWND visibleWindowOf(DWORD pid) {
  struct Search {
    DWORD pid;
    HWND found;
  } search{pid, nullptr};
  EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner != s->pid || !IsWindowVisible(window)) return TRUE;
        s->found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace bench
