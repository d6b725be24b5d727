// A text box control: the system's edit control, showing the model's text
// and telling the model what the user types. It gets its font and text only
// when it first shows: measuring the option panel's hidden Chinese hints
// loaded glyphs that nothing on the screen needed at start. Until then its
// window title holds the text and answers WM_GETTEXT.
#pragma once

#include <windows.h>

#include "ui/controls.h"

namespace vitrolux::platform::win32 {

class TextBox {
 public:
  TextBox(HWND window, ControlSet& controls, int index);
  ~TextBox();
  TextBox(const TextBox&) = delete;
  TextBox& operator=(const TextBox&) = delete;

  void setFont(HFONT font);
  // Shows the model's text; the change is not taken for typing.
  void showText();
  // Lays the box out if it is on the screen now.
  void layOutIfShown();
  // What the box tells its parent (EN_*): a change of its text.
  void onNotification(UINT code);

 private:
  static LRESULT CALLBACK beforeLayout(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR id, DWORD_PTR self);
  // Font and text; `withText` false when a new text is on its way in.
  void layOut(bool withText = true);

  HWND window_;
  ControlSet& controls_;
  int index_;
  HFONT font_ = nullptr;
  bool laidOut_ = false;
  bool watching_ = false;
  int ownChanges_ = 0;
};

}  // namespace vitrolux::platform::win32
