// What the logic is to the window system: the frame's events, its controls
// and how its window looks. The logic (app/) makes it; the program's entry
// point and the simulated desktop run it. Declared here so that the adapter
// never needs to know the logic's own headers.
#pragma once

#include <memory>
#include <string>

#include "ports/frame_events.h"
#include "ports/ports.h"
#include "ui/controls.h"

namespace vitrolux::platform {

// The frame's window as it is created.
struct FrameLook {
  std::string caption;
  // Client area (the whole window: the frame has no border), in twips.
  double widthTwips = 0;
  double heightTwips = 0;
  Color background{0};
};

class Application : public FrameEvents {
 public:
  virtual ControlSet& controls() = 0;
  virtual FrameLook look() const = 0;
};

// Defined by the logic.
std::unique_ptr<Application> makeApplication(const Ports& ports);

}  // namespace vitrolux::platform
