// The frame `Main`: owner of the controls and of the state that the
// subsystems share. The subsystems' handlers live in their own folders and
// take the frame as their first argument; event_routing.cpp sends each event
// to its handler.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "app/layout.h"
#include "platform/controls.h"
#include "platform/frame_events.h"
#include "platform/types.h"
#include "platform/window_system.h"

namespace vitrolux::app {

struct FrameState {
  // The window hosted last; null when none.
  platform::WindowHandle hostedWindow;
  // A launched program whose window has not been looked for yet. Kept apart
  // from hostedWindow: a process identifier may equal the handle of an
  // unrelated window, which must never be moved, re-parented or destroyed.
  std::optional<platform::ProcessId> pendingLaunch;
  // The opacity level last applied and saved; 0 for none.
  std::int16_t currentOpacity = 0;
  // Width of the resize band along the frame's edges, in twips.
  std::int16_t edgeWidth = 0;
  // Style bits a top-level window must all carry to be listed as a task.
  std::uint32_t taskStyleMask = 0;

  // Whether something is hosted, a launch awaiting its capture included.
  bool hosting() const { return !hostedWindow.isNull() || pendingLaunch.has_value(); }
};

class Main final : public platform::FrameEvents {
 public:
  explicit Main(platform::WindowSystem& system);
  Main(const Main&) = delete;
  Main& operator=(const Main&) = delete;

  platform::WindowSystem& system() { return system_; }
  platform::ControlSet& controls() { return controls_; }
  const platform::ControlSet& controls() const { return controls_; }
  const platform::Control& control(ControlId id) const { return controls_[index(id)]; }
  FrameState& state() { return state_; }
  const FrameState& state() const { return state_; }

  // The frame's position and size in twips, measured with the display's DPI.
  double left() const;
  double top() const;
  double width() const;
  double height() const;
  // Moves and sizes the frame; arguments in twips.
  void setBounds(double left, double top, double width, double height);

  // Refills the task list.
  void refreshTaskList();
  // Gives every window of another program that lives in the frame back to
  // the desktop where it stands on the screen, no longer top-most. Every exit
  // path runs it before the frame goes away, so that closing the frame never
  // destroys another program's window.
  void giveBackForeignWindows();
  // Ends the program at once, without the unload steps, after giving back
  // what is not ours.
  void endNow();

  // platform::FrameEvents
  void onLoad() override;
  void onUnload() override;
  void onResize() override;
  void onMouseDown(int button, int shift, float x, float y) override;
  void onMouseMove(int button, int shift, float x, float y) override;
  void onMouseUp(int button, int shift, float x, float y) override;
  void onDoubleClick() override;
  void onKeyDown(int keyCode, int shift) override;
  void onClick(int control) override;
  void onControlDoubleClick(int control) override;
  void onControlMouseDown(int control, int button, int shift, float x, float y) override;
  void onControlMouseMove(int control, int button, int shift, float x, float y) override;
  void onTimer(int control) override;
  void onSystemTimer(unsigned id) override;
  void onEmergencyExit() override;

 private:
  void onTextChange(int control);

  platform::WindowSystem& system_;
  platform::ControlSet controls_;
  FrameState state_;
};

}  // namespace vitrolux::app
