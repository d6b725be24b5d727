// The frame on Win32: its window as the frame port, and the message loop
// that serves it. Its controls' windows are ControlWindows'; windows of other
// programs are the desktop's.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "ports/frame_events.h"
#include "ports/frame_port.h"
#include "ui/application.h"
#include "win32/program_dialog.h"

namespace vitrolux::platform::win32 {

class ControlWindows;
class Desktop;
class FrameWindow;

class FrameSystem final : public FramePort {
 public:
  // `desktop` tells the frame which hosted programs have stopped answering.
  FrameSystem(HINSTANCE instance, Desktop& desktop);
  // Takes a frame that is left down without raising any event: the logic
  // may be gone already.
  ~FrameSystem() override;
  FrameSystem(const FrameSystem&) = delete;
  FrameSystem& operator=(const FrameSystem&) = delete;

  // Creates the frame as the look says, hidden; its events go to `events`.
  // Null when it could not be created.
  HWND createFrame(FrameEvents& events, const FrameLook& look);
  // Shows the frame for the first time. `fill` runs once it is on the
  // screen and before anything is painted (the controls' windows come then:
  // a user sees the window as soon as the system can show one, and never a
  // half-built frame); the first resize event follows.
  void showFrame(const std::function<void()>& fill = {});
  // Destroys the frame now, while the logic still exists: the destruction
  // raises onDestroy, which gives back the windows of other programs.
  void destroyFrame();
  // The message loop; returns the exit code of WM_QUIT.
  int run();

  HWND hwnd() const;
  // Handles the messages waiting now, as the message loop would, and
  // leaves WM_QUIT for it.
  void doEvents();
  // The frame's controls, which get their messages, keys and timer ticks
  // from the frame from now on; null when they go.
  void setControls(ControlWindows* controls);

  // ---- FramePort ----------------------------------------------------------
  WindowHandle frameWindow() const override;
  Rect frameBounds() const override;
  Rect frameNormalBounds() const override;
  WindowState frameState() const override;
  void setFrameState(WindowState state) override;
  int dpi() const override;
  std::int64_t nowMs() const override;
  void setFrameCursor(FrameCursor cursor) override;
  void releaseCapture() override;
  [[noreturn]] void endProgram() override;
  void hideFrame() override;
  std::optional<ProgramChoice> chooseProgram(const std::string& title,
                                             const std::string& filterName) override;
  void showMessage(const std::string& text) override;
  // Ids from kControlTimerBase (control_timers.h) up are the controls'.
  bool setSystemTimer(unsigned id, unsigned milliseconds) override;
  bool killSystemTimer(unsigned id) override;
  std::intptr_t sendFrameMessage(unsigned message, std::uintptr_t wParam,
                                 std::intptr_t lParam) override;
  bool registerHotKey(unsigned id, unsigned modifiers, unsigned virtualKey) override;
  void unregisterHotKey(unsigned id) override;
  Point cursorPos() const override;

 private:
  // Translates and dispatches a message, unless a control's key was taken.
  void dispatch(MSG& message);

  HINSTANCE instance_;
  Desktop& desktop_;
  std::unique_ptr<FrameWindow> window_;
  ControlWindows* controls_ = nullptr;
  ComApartment com_;
};

}  // namespace vitrolux::platform::win32
