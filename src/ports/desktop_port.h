// The desktop around the frame: windows of any program, found, moved,
// stacked, adopted and given back, their styles and messages, and the global
// keyboard state.
//
// The functions keep Win32's meaning and argument order, so a reader can
// match each call to its documentation. Results the logic may ignore are
// still returned, for the contract tests.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ports/types.h"

namespace vitrolux::platform {

// How long the frame waits at most for another program's thread to carry
// out setParent, a restyle or a setWindowPos without kSwpAsyncWindowPos on
// one of its windows (the window system has that thread do the work).
inline constexpr unsigned kForeignCallWaitMs = 100;

class DesktopPort {
 public:
  virtual ~DesktopPort() = default;

  // FindWindow with no class: the first top-level window whose whole caption
  // is the text, in the window system's own order; null when none.
  virtual WindowHandle findWindow(const std::string& caption) = 0;
  // Whether the window exists and a message sent to it (abort-if-hung)
  // comes back within the time; true only for the moment. One that did not
  // answer counts as silent for a moment after, without a wait.
  virtual bool windowAnswers(WindowHandle window, unsigned timeoutMilliseconds) = 0;

  // setWindowPos, setParent and a restyle on another thread's window are
  // carried out by that thread, which the frame awaits at most
  // kForeignCallWaitMs. A call not done by then reports failure and lands
  // when that thread reads its messages; kSwpAsyncWindowPos never waits.
  virtual bool setWindowPos(WindowHandle window, WindowHandle insertAfter, int x, int y, int cx,
                            int cy, unsigned flags) = 0;
  // A null parent means the desktop. Returns false when it failed.
  virtual bool setParent(WindowHandle child, WindowHandle parent) = 0;
  // Dependent steps as one call, which the window's thread carries out
  // whole and in order however long the frame waits; false when not all
  // done within the wait. setParent, then setWindowPos:
  virtual bool setParentThenPos(WindowHandle child, WindowHandle parent, WindowHandle insertAfter,
                                int x, int y, int cx, int cy, unsigned flags) = 0;
  // The extended style, then, when given, the layered alpha (a window that
  // has just become layered is not drawn at all until it has one):
  virtual bool setExStyleThenAlpha(WindowHandle window, std::uint32_t exStyle,
                                   std::optional<std::uint8_t> alpha) = 0;
  // Whether a call on the window that outlived its wait is still being
  // carried out.
  virtual bool callUnderWay(WindowHandle window) = 0;
  // setParent, then SetWindowPlacement (the state and restored place), as
  // one call the same way.
  virtual bool setParentThenPlacement(WindowHandle child, WindowHandle parent,
                                      const Placement& placement) = 0;
  // SetWindowPlacement alone, carried out the same way as setParent.
  virtual bool setWindowPlacement(WindowHandle window, const Placement& placement) = 0;
  // ShowWindow(SW_SHOWNOACTIVATE): a minimised or maximised window back at
  // its restored place, shown and not activated; carried out the same way.
  virtual bool restoreWindow(WindowHandle window) = 0;
  // GetWindowPlacement; nothing when the window is gone.
  virtual std::optional<Placement> windowPlacement(WindowHandle window) = 0;
  virtual std::int32_t getWindowLong(WindowHandle window, int index) = 0;
  virtual std::string getWindowText(WindowHandle window) = 0;
  // GetClassName; empty when the window is gone.
  virtual std::string getClassName(WindowHandle window) = 0;
  // GetWindow(GW_OWNER): the window that owns this one (a dialog's, a
  // palette's), null when none.
  virtual WindowHandle getOwner(WindowHandle window) = 0;
  // GetAncestor(GA_PARENT): the window that holds this one; null for a
  // top-level window and for one that is gone.
  virtual WindowHandle getParent(WindowHandle window) = 0;
  // DWMWA_CLOAKED: visible by its style but not on the screen (a suspended
  // store app, a window on another virtual desktop). False where the system
  // has no such thing.
  virtual bool isCloaked(WindowHandle window) = 0;
  // Whether the window's program runs with more rights than this one (as
  // administrator while this one does not): the system then refuses every
  // change this program would make to its windows.
  virtual bool ofHigherRights(WindowHandle window) = 0;
  // Window bounds in screen pixels.
  virtual std::optional<Rect> windowRect(WindowHandle window) = 0;
  // The process that owns the window; nothing when the window is gone.
  virtual std::optional<ProcessId> windowProcess(WindowHandle window) = 0;
  // The direct child windows of a window that belong to other processes.
  virtual std::vector<WindowHandle> foreignChildren(WindowHandle parent) = 0;
  virtual bool setLayeredWindowAttributes(WindowHandle window, std::uint32_t colorKey,
                                          std::uint8_t alpha, std::uint32_t flags) = 0;
  virtual bool postMessage(WindowHandle window, unsigned message, std::uintptr_t wParam,
                           std::intptr_t lParam) = 0;
  // SendMessageTimeout with abort-if-hung: nothing when the window is gone,
  // hung or too slow.
  virtual std::optional<std::intptr_t> sendMessage(WindowHandle window, unsigned message,
                                                   std::uintptr_t wParam, std::intptr_t lParam,
                                                   unsigned timeoutMilliseconds) = 0;
  // MonitorFromRect, then GetMonitorInfo: the monitor that shows the largest
  // part of the rectangle. When none shows any of it: nothing with
  // kMonitorDefaultToNull, the nearest one with kMonitorDefaultToNearest.
  virtual std::optional<Monitor> monitorFromRect(const Rect& rect, unsigned flags) = 0;
  // Starts or stops reporting top-level windows that appear, are shown or
  // are renamed anywhere on the desktop, through
  // FrameEvents::onDesktopWindowChanged. Costs nothing while off.
  virtual bool watchTopLevelWindows(bool on) = 0;
  // GetLastInputInfo: the tick count of the session's last keyboard or
  // mouse input, whichever program it went to; nothing when unknown.
  virtual std::optional<std::uint32_t> lastInputTime() = 0;
  // GetAsyncKeyState: bit 15 down now, bit 0 pressed since the last query.
  virtual std::int16_t getAsyncKeyState(int virtualKey) = 0;

  // ---- The task list: walking the desktop and reading icons ----------------

  // EnumWindows: every top-level window, the top of the z-order first, taken
  // as one snapshot, so that windows reordered while it is read cannot make
  // it endless. Hidden windows are included.
  virtual std::vector<WindowHandle> enumWindows() = 0;
  // GetClassLongPtr: a value of the window's class (kGclpHIconSm: its small
  // icon); 0 when the window is gone.
  virtual std::intptr_t getClassLongPtr(WindowHandle window, int index) = 0;
  // The natural size of an icon in pixels; nothing when the handle names no
  // icon this process can read.
  virtual std::optional<Size> iconSize(IconHandle icon) = 0;
};

}  // namespace vitrolux::platform
