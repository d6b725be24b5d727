// The state of the frame that several subsystems share. The frame owns it;
// each subsystem is handed the parts it reads or writes.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "ports/types.h"

namespace vitrolux::model {

// How a window of another program stood on the desktop when the frame took
// it, so that it goes back as it stood.
struct TakenWindow {
  platform::WindowHandle window;
  platform::Placement placement;
};

struct FrameState {
  // The window hosted last; null when none.
  platform::WindowHandle hostedWindow;
  // A launched program whose window has not been looked for yet. Kept apart
  // from hostedWindow: a process identifier may equal the handle of an
  // unrelated window, which must never be moved, re-parented or destroyed.
  std::optional<platform::ProcessId> pendingLaunch;
  // Width of the resize band along the frame's edges, in twips.
  std::int16_t edgeWidth = 0;
  // Style bits a top-level window must all carry to be listed as a task.
  std::uint32_t taskStyleMask = 0;
  // The windows the frame took in, as they stood; one entry per window.
  std::vector<TakenWindow> taken;

  // Whether something is hosted, a launch awaiting its capture included.
  bool hosting() const { return !hostedWindow.isNull() || pendingLaunch.has_value(); }
};

}  // namespace vitrolux::model
