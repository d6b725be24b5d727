// Opacity of the frame or of a selected window: the alpha of a layered
// window, and the level last chosen.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "model/frame_state.h"
#include "ports/desktop_port.h"
#include "ports/frame_port.h"
#include "ui/controls.h"

namespace vitrolux::effects {

class Opacity {
 public:
  // `save` keeps a newly chosen level, with the frame's place, in the
  // settings.
  Opacity(const platform::ControlSet& controls, const model::FrameState& state,
          platform::FramePort& frame, platform::DesktopPort& desktop, std::function<void()> save)
      : controls_(controls),
        state_(state),
        frame_(frame),
        desktop_(desktop),
        save_(std::move(save)) {}

  // Fades the selected task-list window when nothing is hosted, else the
  // frame; with `save`, the level also becomes the current one and is saved.
  void setOpacity(double level, bool save);
  // A level read from the settings: applied and current, not saved again.
  void applySavedLevel(double level);
  // The level last saved or applied from the settings; 0 for none.
  std::int16_t currentOpacity() const { return currentOpacity_; }
  // The alpha last given to the frame itself; nothing while it has none.
  std::optional<std::uint8_t> frameAlpha() const { return frameAlpha_; }
  // Whether a digit key gave this window of another program an alpha: its
  // layered style is then ours to keep, whoever else added it.
  bool fadedByUs(platform::WindowHandle window) const;

 private:
  platform::WindowHandle target() const;

  const platform::ControlSet& controls_;
  const model::FrameState& state_;
  platform::FramePort& frame_;
  platform::DesktopPort& desktop_;
  std::function<void()> save_;
  std::int16_t currentOpacity_ = 0;
  std::optional<std::uint8_t> frameAlpha_;
  // Windows of other programs given an alpha, while they exist.
  std::vector<platform::WindowHandle> faded_;
};

}  // namespace vitrolux::effects
