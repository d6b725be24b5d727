#include "embed/task_selection.h"

#include <cstddef>
#include <optional>

#include "model/layout.h"
#include "model/task_rows.h"

namespace vitrolux::embed {

void TaskSelection::onLoadClick() {
  const platform::Control& list = controls_[model::index(model::ControlId::processList)];
  if (list.selected < 0 || list.selected >= static_cast<int>(list.rows.size())) return;
  // Captured by its caption, as a launch is: the row's text names the window.
  const std::string& caption = list.rows[static_cast<std::size_t>(list.selected)].text;
  if (!caption.empty()) loader_.embed(caption);
}

void TaskSelection::onReleaseClick() {
  constexpr unsigned kKeepPlace = platform::kSwpNoSize | platform::kSwpNoMove;
  // The hosted window goes back to the desktop where it stands in the
  // frame's client area, now measured from the screen's corner. A launch
  // still awaiting its capture is forgotten as the hosted window, but its
  // timer still captures at its moment; the launch's process is never
  // taken for a window.
  if (!state_.hostedWindow.isNull()) {
    desktop_.setWindowPos(state_.hostedWindow, platform::kHwndNoTopMost, 0, 0, 0, 0, kKeepPlace);
    desktop_.setParent(state_.hostedWindow, platform::WindowHandle{});
  }
  state_.hostedWindow = {};
  loader_.cancelLaunch();
  // The selected row's window too: it may be another window inside the
  // frame, or one pinned on top from the list.
  const platform::WindowHandle selected = model::selectedTaskWindow(controls_);
  if (!selected.isNull()) {
    desktop_.setWindowPos(selected, platform::kHwndNoTopMost, 0, 0, 0, 0, kKeepPlace);
    desktop_.setParent(selected, platform::WindowHandle{});
  }
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
