// F5 mode: Ctrl+S anywhere sends F5 to the hosted or selected window.
#pragma once

#include <cstdint>

#include "model/frame_state.h"
#include "ports/desktop_port.h"
#include "ports/frame_port.h"
#include "refresh/key_poll.h"
#include "ui/controls.h"

namespace vitrolux::refresh {

// The system timer of the frame's window that carries the key poll: a
// window's timer needs a nonzero id, and this one is shared with none of
// the frame's other timers.
inline constexpr unsigned kF5TimerId = 3;

class AutoRefresh {
 public:
  AutoRefresh(platform::ControlSet& controls, const model::FrameState& state,
              platform::FramePort& frame, platform::DesktopPort& desktop)
      : controls_(controls), state_(state), frame_(frame), desktop_(desktop), keys_(desktop) {}

  // "F5" / "停止": switches the mode on or off; the caption offers what the
  // next click does.
  void onF5Click();
  void onSystemTimer(unsigned id);

  // One tick of the key poll: a refresh goes out at the first tick that
  // finds S right after ticks that found Ctrl (ticks that find no key do
  // not count), once for each such S.
  void f5TimerProc();
  // The key press F5 to the hosted window, or else to the selected one.
  void sendF5();

 private:
  platform::ControlSet& controls_;
  const model::FrameState& state_;
  platform::FramePort& frame_;
  platform::DesktopPort& desktop_;
  KeyPoll keys_;
  bool on_ = false;
  // Kept for as long as the program runs, across switching the mode off
  // and on: a Ctrl seen before can pair with an S seen after.
  int lastKeyCode_ = 0;
  bool refreshSent_ = false;
};

}  // namespace vitrolux::refresh
