#include "model/foreign_windows.h"

#include <algorithm>

namespace vitrolux::model {

void rememberTaken(FrameState& state, platform::DesktopPort& desktop, platform::WindowHandle window,
                   const platform::Placement& placement) {
  // Entries of windows that have gone or gone back are dropped here, so the
  // list never outgrows what the frame holds.
  std::erase_if(state.taken, [&](const TakenWindow& taken) {
    return !exists(desktop, taken.window) || desktop.getParent(taken.window).isNull();
  });
  forgetTaken(state, window);
  state.taken.push_back(TakenWindow{window, placement});
}

std::optional<platform::Placement> takenPlacement(const FrameState& state,
                                                  platform::WindowHandle window) {
  const auto at = std::find_if(state.taken.begin(), state.taken.end(),
                               [&](const TakenWindow& taken) { return taken.window == window; });
  if (at == state.taken.end()) return std::nullopt;
  return at->placement;
}

void forgetTaken(FrameState& state, platform::WindowHandle window) {
  std::erase_if(state.taken, [&](const TakenWindow& taken) { return taken.window == window; });
}

std::optional<platform::Placement> returnPlacement(const FrameState& state,
                                                   platform::WindowHandle window) {
  const std::optional<platform::Placement> taken = takenPlacement(state, window);
  if (!taken || taken->state == platform::WindowState::Normal) return std::nullopt;
  // A minimised window comes back where it stood, for the user to see it.
  const platform::WindowState back = taken->state == platform::WindowState::Maximized
                                         ? platform::WindowState::Maximized
                                         : platform::WindowState::Normal;
  return platform::Placement{back, taken->normal};
}

}  // namespace vitrolux::model
