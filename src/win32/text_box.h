// A text box control: the system's edit control, showing the model's text
// and telling the model what the user types.
//
// It is laid out (given its font and its text) when it first shows. Laying
// out a text measures it, and the option panel's hints are Chinese texts in
// a font of their own: at start, hidden, they would load glyphs that nothing
// on the screen needs (under Wine the largest part of the frame's memory
// beyond a bare window). Until then the box holds its text as its window
// title, which answers WM_GETTEXT for tools that look it up.
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
