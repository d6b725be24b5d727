// Ties a window to the object that handles its messages: bound at
// WM_NCCREATE (the borderless frame's first WM_NCCALCSIZE comes before
// WM_CREATE) and cleared at WM_NCDESTROY, the last message a window gets.
#pragma once

#include <windows.h>

namespace vitrolux::platform::win32 {

template <typename T, LRESULT (T::*Handler)(HWND, UINT, WPARAM, LPARAM)>
LRESULT CALLBACK boundWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  T* self = nullptr;
  if (message == WM_NCCREATE) {
    self = static_cast<T*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<T*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  }
  LRESULT result = 0;
  if (self == nullptr) {
    result = ::DefWindowProcW(window, message, wParam, lParam);
  } else {
    // The handlers catch what the logic throws; this is the last line, so
    // that nothing ever unwinds through the system's frames.
    try {
      result = (self->*Handler)(window, message, wParam, lParam);
    } catch (...) {
      result = ::DefWindowProcW(window, message, wParam, lParam);
    }
  }
  if (message == WM_NCDESTROY) ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  return result;
}

}  // namespace vitrolux::platform::win32
