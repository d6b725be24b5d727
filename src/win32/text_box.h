// A text box control: the system's edit control, showing the model's text
// and telling the model what the user types.
#pragma once

#include <windows.h>

#include "ui/controls.h"

namespace vitrolux::platform::win32 {

class TextBox {
 public:
  // The system's class and styles of a text box's window.
  static constexpr const wchar_t* kClassName = L"EDIT";
  static constexpr DWORD kStyle = ES_LEFT | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
  static constexpr DWORD kExStyle = 0;

  // For `window`, the text box of control `index`.
  TextBox(HWND window, ControlSet& controls, int index)
      : window_(window), controls_(controls), index_(index) {}
  TextBox(const TextBox&) = delete;
  TextBox& operator=(const TextBox&) = delete;

  // Shows the model's text; the change is not taken for typing.
  void showText();
  // What the box tells its parent (EN_*): a change of its text.
  void onNotification(UINT code);

 private:
  HWND window_;
  ControlSet& controls_;
  int index_;
  int ownChanges_ = 0;
};

}  // namespace vitrolux::platform::win32
