// A text box control: the system's edit control, showing the model's text
// and telling the model what the user types.
#pragma once

#include <windows.h>

#include "ui/controls.h"

namespace vitrolux::platform::win32 {

class TextBox {
 public:
  TextBox(HWND window, ControlSet& controls, int index);

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
