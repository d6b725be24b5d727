#include "embed/task_selection.h"

#include <cstddef>
#include <optional>

#include "model/layout.h"

namespace vitrolux::embed {

void TaskSelection::onLoadClick() {
  const platform::Control& list = controls_[model::index(model::ControlId::processList)];
  if (list.selected < 0 || list.selected >= static_cast<int>(list.rows.size())) return;
  // Captured by its caption, as a launch is: the row's text names the window.
  const std::string& caption = list.rows[static_cast<std::size_t>(list.selected)].text;
  if (!caption.empty()) loader_.embed(caption);
}

void TaskSelection::onReleaseClick() {
  // A release is newer than a launch still waiting for its window.
  loader_.cancelWait();
}

void TaskSelection::giveBackForeignWindows() {
  const platform::WindowHandle frame = frame_.frameWindow();
  if (frame.isNull()) return;
  for (const platform::WindowHandle window : desktop_.foreignChildren(frame)) {
    // Read the place first: a window given back keeps its client-relative
    // position, which would otherwise put it near the screen's corner.
    const std::optional<platform::Rect> place = desktop_.windowRect(window);
    desktop_.setParent(window, platform::WindowHandle{});
    if (place) {
      desktop_.setWindowPos(window, platform::kHwndNoTopMost, place->left, place->top, 0, 0,
                            platform::kSwpNoSize | platform::kSwpNoActivate);
    } else {
      desktop_.setWindowPos(window, platform::kHwndNoTopMost, 0, 0, 0, 0,
                            platform::kSwpNoSize | platform::kSwpNoMove | platform::kSwpNoActivate);
    }
  }
  state_.hostedWindow = {};
}

}  // namespace vitrolux::embed
