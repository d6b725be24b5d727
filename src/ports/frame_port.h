// The frame's own window: its handle, bounds and state, the display it is on,
// the mouse capture and cursor over it, its system timers, its global hot
// keys, and the event loop that serves it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "ports/types.h"

namespace vitrolux::platform {

class FramePort {
 public:
  virtual ~FramePort() = default;

  virtual WindowHandle frameWindow() const = 0;
  // Outer bounds in screen pixels; the frame has no non-client area, so its
  // client area has the same size.
  virtual Rect frameBounds() const = 0;
  // Where the frame stands when it is not minimised: its bounds, or while it
  // is minimised the place that restoring brings it back to (a minimised
  // window's own bounds are the system's parking place, off every screen).
  virtual Rect frameNormalBounds() const = 0;
  // Normal, minimised or maximised; setting it is what the user's
  // minimise, restore and maximise do, resize events included.
  virtual WindowState frameState() const = 0;
  virtual void setFrameState(WindowState state) = 0;
  // Logical DPI of the display the frame is on.
  virtual int dpi() const = 0;
  // Mouse cursor shown over the frame's background.
  virtual void setFrameCursor(FrameCursor cursor) = 0;
  // Gives up the mouse capture that a press gave the frame.
  virtual void releaseCapture() = 0;
  // Ends the program at once: no unload event runs.
  virtual void endProgram() = 0;
  // Takes the frame off the screen and out of the task bar; it goes on
  // living, with whatever windows it holds, until the program ends.
  virtual void hideFrame() = 0;
  // The system's Open dialog, owned by the frame and above it, for a program
  // to run: programs and shortcuts to them (`filterName` names that kind of
  // file), starting in the Program Files folder. What starts the choice as
  // Explorer would: a program in its own folder; a shortcut's target
  // (found again when it has moved, without asking the user) with the
  // shortcut's arguments, its "Start in" folder and its show command.
  // Nothing when the user cancels.
  virtual std::optional<ProgramChoice> chooseProgram(const std::string& title,
                                                     const std::string& filterName) = 0;
  // Tells the user why something they asked for did not happen: a message
  // owned by the frame, with the program's title, dismissed with Enter, Esc
  // or a click, which leaves the frame at work meanwhile. Messages asked for
  // while one is up follow one after another, the same text only once.
  virtual void showMessage(const std::string& text) = 0;
  // Milliseconds on a steady clock, for deadlines that timer ticks alone
  // would measure badly (ticks can come late or be merged).
  virtual std::int64_t nowMs() const = 0;
  // A timer of the frame's window whose ticks reach FrameEvents::onSystemTimer.
  // Its id is not 0: the window system documents a nonzero one.
  virtual bool setSystemTimer(unsigned id, unsigned milliseconds) = 0;
  virtual bool killSystemTimer(unsigned id) = 0;

  // ---- Moving and sizing by the mouse ---------------------------------------

  // SendMessage to the frame's own window: its handler runs now, and the call
  // returns its result. WM_NCLBUTTONDOWN with a sizing hit-test code runs the
  // window system's interactive sizing loop, which raises resize events and
  // returns when the user lets go of the button.
  virtual std::intptr_t sendFrameMessage(unsigned message, std::uintptr_t wParam,
                                         std::intptr_t lParam) = 0;

  // ---- Global hot keys and the pointer ----------------------------------------

  // RegisterHotKey for the frame's window: the chord (kMod* bits and a
  // virtual-key code) reaches FrameEvents::onHotKey wherever the keyboard
  // focus is, once per press however long it is held, until it is
  // unregistered or the frame goes. False when the chord is taken (by
  // another program, or another hot key).
  virtual bool registerHotKey(unsigned id, unsigned modifiers, unsigned virtualKey) = 0;
  virtual void unregisterHotKey(unsigned id) = 0;
  // Where the mouse pointer is, in screen pixels, whichever window is under
  // it (GetCursorPos).
  virtual Point cursorPos() const = 0;
};

}  // namespace vitrolux::platform
