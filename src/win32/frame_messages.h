// What the frame tells the user: a small window in the frame's colours,
// owned by the frame and centred on it, with the text and an OK button.
// Modeless: the frame goes on taking clicks and keys while it is up (a
// message about one window must not hold the work on another). Enter, Esc,
// the button or the close box dismiss it; texts that come meanwhile follow
// one after another, the same text only once.
#pragma once

#include <windows.h>

#include <deque>
#include <string>

#include "win32/unique_resource.h"

namespace vitrolux::platform::win32 {

class FrameMessages {
 public:
  FrameMessages(HINSTANCE instance, HWND frame, COLORREF background, std::wstring title);
  ~FrameMessages();
  FrameMessages(const FrameMessages&) = delete;
  FrameMessages& operator=(const FrameMessages&) = delete;

  void show(std::wstring text);
  // The frame shows for the first time: what came before it shows now.
  void frameShown();
  // Takes away what is shown and what waits: the frame is leaving, and has
  // no one to tell any more.
  void clear();
  // The message loop offers every message here first: Enter, Esc and Tab
  // work in the message as in a dialog box. True when it was taken.
  bool takeDialogKey(MSG& message);
  // The message shown now, or null.
  HWND window() const { return window_; }

 private:
  static INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR handle(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  void showFirst();
  void layOut(HWND dialog);
  void dismiss();

  HINSTANCE instance_;
  HWND frame_;
  unique_hbrush background_;
  COLORREF backgroundColour_;
  std::wstring title_;
  unique_hfont font_;
  std::deque<std::wstring> waiting_;
  HWND window_ = nullptr;
};

}  // namespace vitrolux::platform::win32
