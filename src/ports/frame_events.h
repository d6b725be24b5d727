// The events the window system delivers to the frame's logic. The Win32
// adapter raises them from real messages; the simulated desktop raises them
// from tests. Text changes of text boxes arrive through ControlSet instead.
#pragma once

#include "ports/types.h"

namespace vitrolux::platform {

class FrameEvents {
 public:
  virtual ~FrameEvents() = default;

  // The frame and its controls exist; runs once, before it is first shown.
  virtual void onLoad() = 0;
  // A close request through the window system (WM_CLOSE, logging off). The
  // window is destroyed right after unless the handler sets `cancel` (the
  // logic then ends the program later); a log-off ends it regardless.
  virtual void onUnload(bool& cancel) = 0;
  // The frame's window is being destroyed, before its child windows are:
  // the last moment to give back windows of other programs that live in it.
  virtual void onDestroy() = 0;
  // The frame's size or window state changed; also once when it is first shown.
  virtual void onResize() = 0;

  // Mouse on the frame's own background; positions in twips.
  virtual void onMouseDown(int button, int shift, float x, float y) = 0;
  virtual void onMouseMove(int button, int shift, float x, float y) = 0;
  virtual void onMouseUp(int button, int shift, float x, float y) = 0;
  virtual void onDoubleClick() = 0;
  // The frame no longer holds the mouse capture that a press on its
  // background gave it: released with the button, or taken by another
  // window (a dialog, the user switching away), after which the button's
  // release may go elsewhere.
  virtual void onCaptureLost() = 0;
  virtual void onKeyDown(int keyCode, int shift) = 0;
  // A key pressed while one of the frame's controls has the keyboard focus.
  // True when the frame took it as one of its commands: the control then
  // never sees it. By default every key stays with the control.
  virtual bool onControlKeyDown(int /*control*/, int /*keyCode*/, int /*shift*/) { return false; }

  // Events of the controls, by control index.
  virtual void onClick(int control) = 0;
  virtual void onControlDoubleClick(int control) = 0;
  virtual void onControlMouseDown(int control, int button, int shift, float x, float y) = 0;
  virtual void onControlMouseMove(int control, int button, int shift, float x, float y) = 0;
  // The pointer left a control whose mouse moves were reported.
  virtual void onControlMouseLeave(int control) = 0;
  virtual void onTimer(int control) = 0;

  // A timer of the frame's window set with FramePort::setSystemTimer.
  virtual void onSystemTimer(unsigned id) = 0;
  // A chord registered with FramePort::registerHotKey was pressed.
  virtual void onHotKey(unsigned /*id*/) {}

  // While DesktopPort::watchTopLevelWindows is on: a top-level window of the
  // desktop was created, shown or renamed. Which of these a window system
  // reports varies (creation at least); nothing is claimed of the order.
  virtual void onDesktopWindowChanged(WindowHandle window) = 0;

  // The process is about to die of a fault (an unhandled exception, an
  // abort): give back what is not ours. Never part of a normal exit.
  virtual void onEmergencyExit() = 0;
};

}  // namespace vitrolux::platform
