// Launching a program and capturing its top-level window into the frame.
#pragma once

#include <functional>
#include <string>

#include "model/frame_state.h"
#include "model/layout.h"
#include "platform/controls.h"
#include "platform/desktop_port.h"
#include "platform/frame_port.h"
#include "platform/process_port.h"

namespace vitrolux::embed {

class Loader {
 public:
  Loader(platform::ControlSet& controls, model::FrameState& state, platform::FramePort& frame,
         platform::DesktopPort& desktop, platform::ProcessPort& processes,
         std::function<void()> refreshTaskList)
      : controls_(controls),
        state_(state),
        frame_(frame),
        desktop_(desktop),
        processes_(processes),
        refreshTaskList_(std::move(refreshTaskList)) {}

  // Shows the entry in the option panel, launches its program and arranges
  // the capture of its window. False when the program could not be started.
  bool loadApp(const std::string& entry);

  // Captures the first top-level window whose caption is the title: places
  // it below the title strip with the frame's size (model/hosted_fit.h) and
  // makes the frame its parent.
  void embed(const std::string& title);

  // One capture attempt of Timer1, Timer2 or Timer3, which then stops.
  void onCaptureTimer(model::ControlId timer);

 private:
  void arm(model::ControlId timer, int delayMs);

  platform::ControlSet& controls_;
  model::FrameState& state_;
  platform::FramePort& frame_;
  platform::DesktopPort& desktop_;
  platform::ProcessPort& processes_;
  std::function<void()> refreshTaskList_;
};

}  // namespace vitrolux::embed
