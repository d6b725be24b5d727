// The frame's own window: borderless, its whole area client area, drawn in
// the frame's colour. It turns its messages into the frame's events and
// hands its controls' messages to ControlWindows.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "ports/frame_events.h"
#include "ui/application.h"
#include "win32/frame_messages.h"
#include "win32/hosted_input.h"
#include "win32/mouse_input.h"
#include "win32/unique_resource.h"

namespace vitrolux::platform::win32 {

// The frame's window class; outside tools find the frame by it and by its
// caption.
inline constexpr wchar_t kFrameClassName[] = L"VitroluxFrame";

class ControlWindows;
class Desktop;

class FrameWindow {
 public:
  FrameWindow(HINSTANCE instance, Desktop& desktop);
  ~FrameWindow();
  FrameWindow(const FrameWindow&) = delete;
  FrameWindow& operator=(const FrameWindow&) = delete;

  static bool registerClass(HINSTANCE instance);

  // Creates the window, hidden, with the look's caption, colour and client
  // size at the display's DPI, centred on the primary monitor's work area.
  // Null on failure.
  HWND create(FrameEvents& events, const FrameLook& look);
  void setControls(ControlWindows* controls) { controls_ = controls; }
  // The frame's first showing: `fill` runs once the window is on the screen
  // and before it is painted; from here on size changes raise resize events,
  // starting with one for the showing itself.
  void show(const std::function<void()>& fill = {});
  // No more events reach the logic (it is going away before the window).
  void detach();

  HWND hwnd() const { return hwnd_; }
  int dpi() const { return dpi_; }
  // The cursor over the frame's background. Takes effect at once when the
  // pointer is over the background.
  void setCursor(FrameCursor cursor);
  // The frame's messages (frame_messages.h).
  void showMessage(std::wstring text);
  void clearMessages();
  bool takeMessageKey(MSG& message);

  LRESULT handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void onMouseButton(ButtonMessage button, WPARAM wParam, LPARAM lParam);
  void onMouseMove(WPARAM wParam, LPARAM lParam);
  void onCaptureChanged(HWND newCapture);
  bool onSetCursor(HWND target, LPARAM lParam);
  void onClose();
  void onDestroy();
  void onDpiChanged(int dpi, const RECT& suggested);
  void onGetMinMaxInfo(MINMAXINFO& info);
  HCURSOR shownCursor() const;

  HINSTANCE instance_;
  Desktop& desktop_;
  HWND hwnd_ = nullptr;
  FrameEvents* events_ = nullptr;
  ControlWindows* controls_ = nullptr;
  std::unique_ptr<HostedInput> hostedInput_;
  unique_hbrush background_;
  int dpi_ = 96;
  FrameCursor cursor_ = FrameCursor::Arrow;
  bool shown_ = false;
  std::unique_ptr<FrameMessages> messages_;
  // Off when the frame is destroyed by its owner rather than closed.
  bool quitOnDestroy_ = true;
};

}  // namespace vitrolux::platform::win32
