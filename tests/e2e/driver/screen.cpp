#include "driver/screen.h"

namespace e2e {

COLORREF screenPixel(int x, int y) {
  HDC screen = GetDC(nullptr);
  if (!screen) return CLR_INVALID;
  const COLORREF colour = GetPixel(screen, x, y);
  ReleaseDC(nullptr, screen);
  return colour;
}

HCURSOR cursorShape() {
  CURSORINFO info{};
  info.cbSize = sizeof info;
  if (!GetCursorInfo(&info) || (info.flags & CURSOR_SHOWING) == 0) return nullptr;
  return info.hCursor;
}

bool isSystemCursor(HCURSOR cursor, LPCWSTR id) {
  return cursor != nullptr && cursor == LoadCursorW(nullptr, id);
}

bool underWine() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

}  // namespace e2e
