// The real window system: the frame's window and the desktop around it on
// Win32, with the wide (W) calls. The logic's text is UTF-8 and converted at
// this edge. The controls' windows are ControlWindows'; processes, files and
// the code page are in win32_services.h.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "ports/desktop_port.h"
#include "ports/frame_events.h"
#include "ports/frame_port.h"
#include "ui/application.h"
#include "ui/controls.h"

namespace vitrolux::platform::win32 {

// The frame's window class; outside tools find the frame by it and by its
// caption.
inline constexpr wchar_t kFrameClassName[] = L"VitroluxFrame";

class FrameWindow;
class ControlWindows;

class Win32System final : public FramePort, public DesktopPort {
 public:
  explicit Win32System(HINSTANCE instance);
  ~Win32System() override;
  Win32System(const Win32System&) = delete;
  Win32System& operator=(const Win32System&) = delete;

  // Creates the frame as the look says, hidden, and a window for every
  // control; from then on the controls' changes are realised and their
  // events raised. Null when the frame could not be created.
  HWND createFrame(FrameEvents& events, ControlSet& controls, const FrameLook& look);
  // The program's own start: the frame alone, hidden. The controls' windows
  // follow in showFrame, right after the frame is on the screen; until then
  // changes stay in the model, from which the windows are built.
  HWND createFrameFirst(FrameEvents& events, ControlSet& controls, const FrameLook& look);
  // For tests of the window functions: an existing window stands in for the
  // frame. No controls are realised; system timers tick into `events` when
  // given.
  void useFrameWindow(HWND frame, FrameEvents* events = nullptr);
  // Shows the frame for the first time, builds the controls' windows when
  // they are not there yet, and raises the first resize event.
  void showFrame();
  // Destroys the frame and its controls' windows now, while the events and
  // the controls still exist (the frame's destruction raises onDestroy).
  // The destructor does the same without any event.
  void destroyFrame();
  // The message loop; returns the exit code of WM_QUIT.
  int run();

  // ---- FramePort ----------------------------------------------------------
  WindowHandle frameWindow() const override;
  Rect frameBounds() const override;
  Rect frameNormalBounds() const override;
  WindowState frameState() const override;
  void setFrameState(WindowState state) override;
  int dpi() const override;
  std::int64_t nowMs() const override;
  void setFrameCursor(int code) override;
  void releaseCapture() override;
  void doEvents() override;
  [[noreturn]] void endProgram() override;
  void hideFrame() override;
  void messageBox(const std::string& text, const std::string& caption) override;
  // Ids from kControlTimerBase (control_timers.h) up belong to the controls.
  bool setSystemTimer(unsigned id, unsigned milliseconds) override;
  bool killSystemTimer(unsigned id) override;
  std::intptr_t sendFrameMessage(unsigned message, std::uintptr_t wParam,
                                 std::intptr_t lParam) override;

  // ---- DesktopPort --------------------------------------------------------
  WindowHandle findWindow(const std::string& caption) override;
  bool windowAnswers(WindowHandle window, unsigned timeoutMilliseconds) override;
  bool setWindowPos(WindowHandle window, WindowHandle insertAfter, int x, int y, int cx, int cy,
                    unsigned flags) override;
  bool setParent(WindowHandle child, WindowHandle parent) override;
  bool setParentThenPos(WindowHandle child, WindowHandle parent, WindowHandle insertAfter, int x,
                        int y, int cx, int cy, unsigned flags) override;
  bool setExStyleThenAlpha(WindowHandle window, std::uint32_t exStyle,
                           std::optional<std::uint8_t> alpha) override;
  bool callUnderWay(WindowHandle window) override;
  WindowHandle getWindow(WindowHandle window, unsigned command) override;
  std::int32_t getWindowLong(WindowHandle window, int index) override;
  std::int32_t setWindowLong(WindowHandle window, int index, std::int32_t value) override;
  std::string getWindowText(WindowHandle window) override;
  std::optional<Rect> windowRect(WindowHandle window) override;
  std::vector<WindowHandle> foreignChildren(WindowHandle parent) override;
  bool setLayeredWindowAttributes(WindowHandle window, std::uint32_t colorKey, std::uint8_t alpha,
                                  std::uint32_t flags) override;
  bool postMessage(WindowHandle window, unsigned message, std::uintptr_t wParam,
                   std::intptr_t lParam) override;
  std::optional<std::intptr_t> sendMessage(WindowHandle window, unsigned message,
                                           std::uintptr_t wParam, std::intptr_t lParam,
                                           unsigned timeoutMilliseconds) override;
  std::optional<Monitor> monitorFromRect(const Rect& rect, unsigned flags) override;
  bool watchTopLevelWindows(bool on) override;
  std::optional<std::uint32_t> lastInputTime() override;
  std::int16_t getAsyncKeyState(int virtualKey) override;
  std::vector<WindowHandle> enumWindows() override;
  std::intptr_t getClassLongPtr(WindowHandle window, int index) override;
  std::optional<Size> iconSize(IconHandle icon) override;

  // The window of a realised control; null for timers, or without controls.
  HWND controlWindow(int index) const;
  // The copy of its icon that an icon image draws; null when it has none.
  HICON shownIcon(int index) const;

 private:
  HWND frame() const;
  // SetParent, then `then` (when given) in the same call.
  bool setParentThen(WindowHandle child, WindowHandle parent,
                     const std::function<bool(HWND)>& then);
  // Translates and dispatches a message, unless a control's key was taken.
  void dispatch(MSG& message);

  HINSTANCE instance_;
  std::unique_ptr<FrameWindow> frameWindow_;
  std::unique_ptr<ControlWindows> controlWindows_;
  HWND borrowedFrame_ = nullptr;
  // The window-event hooks of watchTopLevelWindows, while it is on.
  std::vector<HWINEVENTHOOK> watchHooks_;
  FrameEvents* events_ = nullptr;
};

}  // namespace vitrolux::platform::win32
