// A list box control: the system's list box, filled from the model's rows,
// and watched through a subclass for the scrolls it never reports.
#pragma once

#include <windows.h>

#include <vector>

#include "ports/frame_events.h"
#include "ui/controls.h"

namespace vitrolux::platform::win32 {

class ListBox {
 public:
  // The system's class and styles of a list box's window.
  static constexpr const wchar_t* kClassName = L"LISTBOX";
  static constexpr DWORD kStyle = LBS_NOTIFY | WS_VSCROLL | LBS_NOINTEGRALHEIGHT | WS_TABSTOP;
  static constexpr DWORD kExStyle = WS_EX_CLIENTEDGE;

  // Watches `window`, the list box of control `index`, until it or this
  // object goes.
  ListBox(HWND window, ControlSet& controls, int index);
  ~ListBox();
  ListBox(const ListBox&) = delete;
  ListBox& operator=(const ListBox&) = delete;

  // Brings the box in line with the model's rows, or with its selection.
  void showRows();
  void showSelection();
  // Rows this high, in pixels; a new font sets a height of its own first.
  void setRowHeight(int pixels);
  // What the box tells its parent (LBN_*): a selection or a double click.
  void onNotification(UINT code, FrameEvents& events);

 private:
  static LRESULT CALLBACK watch(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                UINT_PTR id, DWORD_PTR self);
  void afterMessage(UINT message);
  // Scrolls to the model's first row shown, and tells the model where the
  // box could not.
  void showTopIndex();

  HWND window_;
  ControlSet& controls_;
  int index_;
  // The rows the box holds, as the model had them.
  std::vector<ListRow> shownRows_;
  int ownChanges_ = 0;
  bool watching_ = false;
};

}  // namespace vitrolux::platform::win32
