// Windows of any program on Win32, as the desktop port: found, placed,
// re-parented, restyled, asked. A call that another program's thread has to
// carry out never holds the frame for long (foreign_call.h), and a program
// that did not answer a moment ago is not asked again at once.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "ports/desktop_port.h"
#include "ports/frame_events.h"
#include "win32/hosted_input.h"

namespace vitrolux::platform::win32 {

class Desktop final : public DesktopPort, public KnownPrograms {
 public:
  Desktop() = default;
  ~Desktop() override;
  Desktop(const Desktop&) = delete;
  Desktop& operator=(const Desktop&) = delete;

  // Where the reports of watchTopLevelWindows go.
  void setEvents(FrameEvents* events) { events_ = events; }
  // Who hears of hosted programs that do not answer and of windows going
  // back to the desktop: the frame's input, while the frame exists.
  void setHostedInput(HostedInputEvents* input) { input_ = input; }

  // Whether the window's program answers within the time. One that did not
  // a moment ago is taken as silent without asking again (each question
  // waits its whole time), and the frame's input hears of it. False for a
  // window that is gone.
  bool programAnswers(HWND window, unsigned waitMs);

  // ---- KnownPrograms ----------------------------------------------------------
  bool knownSilent(HWND window) const override;

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
  bool setParentThenPlacement(WindowHandle child, WindowHandle parent,
                              const Placement& placement) override;
  bool setWindowPlacement(WindowHandle window, const Placement& placement) override;
  bool restoreWindow(WindowHandle window) override;
  std::optional<Placement> windowPlacement(WindowHandle window) override;
  std::int32_t getWindowLong(WindowHandle window, int index) override;
  std::string getWindowText(WindowHandle window) override;
  std::string getClassName(WindowHandle window) override;
  WindowHandle getOwner(WindowHandle window) override;
  WindowHandle getParent(WindowHandle window) override;
  bool isCloaked(WindowHandle window) override;
  bool ofHigherRights(WindowHandle window) override;
  std::optional<Rect> windowRect(WindowHandle window) override;
  std::optional<ProcessId> windowProcess(WindowHandle window) override;
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

 private:
  struct Silent {
    HWND window;
    ULONGLONG until;
  };

  // SetParent, then `then` (when given) in the same call.
  bool setParentThen(WindowHandle child, WindowHandle parent,
                     const std::function<bool(HWND)>& then);

  FrameEvents* events_ = nullptr;
  HostedInputEvents* input_ = nullptr;
  // Windows found not answering, each until the moment it is asked again.
  std::vector<Silent> silent_;
  // The window-event hooks of watchTopLevelWindows, while it is on.
  std::vector<HWINEVENTHOOK> watchHooks_;
};

}  // namespace vitrolux::platform::win32
