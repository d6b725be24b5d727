// The real window system: the port and the control toolkit on Win32, with
// the wide (W) calls. The logic's text is UTF-8 and converted at this edge.
#pragma once

#include <windows.h>

#include <memory>

#include "platform/controls.h"
#include "platform/frame_events.h"
#include "platform/window_system.h"

namespace vitrolux::platform::win32 {

// The frame's window class and caption; outside tools find the frame by them.
inline constexpr wchar_t kFrameClassName[] = L"VitroluxFrame";
inline constexpr wchar_t kFrameTitle[] = L"Vitrolux";

class FrameWindow;
class ControlWindows;

class Win32System final : public WindowSystem, public Toolkit {
 public:
  explicit Win32System(HINSTANCE instance);
  ~Win32System() override;
  Win32System(const Win32System&) = delete;
  Win32System& operator=(const Win32System&) = delete;

  // Creates the frame, hidden, and a window for every control; from then on
  // the controls' changes are realised and their events raised. Null when the
  // frame could not be created.
  HWND createFrame(FrameEvents& events, ControlSet& controls);
  // The program's own start: the frame alone, hidden. The controls' windows
  // follow in showFrame, right after the frame is on the screen; until then
  // changes stay in the model, from which the windows are built.
  HWND createFrameFirst(FrameEvents& events, ControlSet& controls);
  // For tests of the window functions: an existing window stands in for the
  // frame. No controls are realised; system timers tick into `events` when
  // given.
  void useFrameWindow(HWND frame, FrameEvents* events = nullptr);
  // Shows the frame for the first time, builds the controls' windows when
  // they are not there yet, and raises the first resize event.
  void showFrame();
  // Destroys the frame and its controls' windows now, while the events and
  // the controls still exist (the frame's destruction raises
  // onEmergencyExit). The destructor does the same without any event.
  void destroyFrame();
  // The message loop; returns the exit code of WM_QUIT.
  int run();

  // ---- WindowSystem: the frame ------------------------------------------
  WindowHandle frameWindow() const override;
  Rect frameBounds() const override;
  WindowState frameState() const override;
  void setFrameState(WindowState state) override;
  int dpi() const override;
  Size screenSize() const override;
  void setFrameCursor(int code) override;
  // Control -1 (kNoContainer) means the frame itself.
  void setCapture(int control) override;
  void releaseCapture() override;
  void doEvents() override;
  [[noreturn]] void endProgram() override;
  void messageBox(const std::string& text, const std::string& caption) override;
  // Ids from kControlTimerBase (control_windows.h) up belong to the controls.
  bool setSystemTimer(unsigned id, unsigned milliseconds) override;
  bool killSystemTimer(unsigned id) override;

  // ---- WindowSystem: windows of any program -----------------------------
  WindowHandle findWindow(const std::string& caption) override;
  bool setWindowPos(WindowHandle window, WindowHandle insertAfter, int x, int y, int cx, int cy,
                    unsigned flags) override;
  bool setParent(WindowHandle child, WindowHandle parent) override;
  WindowHandle getParent(WindowHandle window) override;
  WindowHandle getWindow(WindowHandle window, unsigned command) override;
  std::int32_t getWindowLong(WindowHandle window, int index) override;
  std::int32_t setWindowLong(WindowHandle window, int index, std::int32_t value) override;
  std::string getWindowText(WindowHandle window) override;
  bool isWindow(WindowHandle window) override;
  bool isWindowVisible(WindowHandle window) override;
  std::optional<Rect> windowRect(WindowHandle window) override;
  std::vector<WindowHandle> foreignChildren(WindowHandle parent) override;
  bool setLayeredWindowAttributes(WindowHandle window, std::uint32_t colorKey, std::uint8_t alpha,
                                  std::uint32_t flags) override;
  std::optional<std::uint8_t> layeredAlpha(WindowHandle window) override;
  bool postMessage(WindowHandle window, unsigned message, std::uintptr_t wParam,
                   std::intptr_t lParam) override;
  std::optional<std::intptr_t> sendMessage(WindowHandle window, unsigned message,
                                           std::uintptr_t wParam, std::intptr_t lParam,
                                           unsigned timeoutMilliseconds) override;
  std::intptr_t classSmallIcon(WindowHandle window) override;
  std::int16_t getAsyncKeyState(int virtualKey) override;

  // ---- WindowSystem: processes, files, text -----------------------------
  std::optional<std::string> findProgram(const std::string& name) override;
  std::optional<ProcessId> startProcess(const std::string& program,
                                        const std::string& commandLine) override;
  std::optional<std::string> environment(const std::string& name) override;
  bool anotherInstanceRunning() override;
  std::string applicationFolder() override;
  bool isOrdinaryFile(const std::string& path) override;
  std::optional<std::string> readFile(const std::string& path, std::size_t maxBytes) override;
  bool replaceFile(const std::string& path, const std::string& bytes) override;
  std::optional<std::string> toAnsi(const std::string& utf8) override;
  std::string fromAnsi(const std::string& ansi) override;

  // ---- Toolkit ----------------------------------------------------------
  void controlChanged(int index, Property property) override;

  // The window of a realised control; null for timers, or without controls.
  HWND controlWindow(int index) const;

 private:
  HWND frame() const;

  HINSTANCE instance_;
  std::unique_ptr<FrameWindow> frameWindow_;
  std::unique_ptr<ControlWindows> controlWindows_;
  HWND borrowedFrame_ = nullptr;
  FrameEvents* events_ = nullptr;
  ControlSet* controls_ = nullptr;
};

}  // namespace vitrolux::platform::win32
