#include "embed/task_selection.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "model/foreign_windows.h"
#include "model/task_rows.h"

namespace vitrolux::embed {

void TaskSelection::onLoadClick() {
  // The row's own window, by the handle it carries: another window may have
  // the same caption.
  const platform::WindowHandle window = model::selectedTaskWindow(controls_);
  if (!window.isNull()) loader_.embed(window);
}

void TaskSelection::onReleaseClick() {
  constexpr unsigned kKeepPlace =
      platform::kSwpNoSize | platform::kSwpNoMove | platform::kSwpAsyncWindowPos;
  // A window goes back only while its program answers: one that has
  // stopped answering stays as it is, hosted and named, for a later
  // release. Each window is asked once.
  const platform::WindowHandle hosted = state_.hostedWindow;
  const bool hostedAnswers = model::answers(desktop_, hosted);
  // The hosted window goes back to the desktop where it stands in the
  // frame's client area, now measured from the screen's corner. A launch
  // still awaiting its capture is forgotten as the hosted window, but its
  // timer still captures at its moment; the launch's process is never
  // taken for a window.
  if (hostedAnswers) {
    desktop_.setWindowPos(hosted, platform::kHwndNoTopMost, 0, 0, 0, 0, kKeepPlace);
    desktop_.setParent(hosted, platform::WindowHandle{});
    state_.hostedWindow = {};
  } else if (!model::exists(desktop_, hosted)) {
    // Gone with its program: nothing is hosted any more.
    state_.hostedWindow = {};
  }
  loader_.cancelLaunch();
  // The selected row's window too: it may be another window inside the
  // frame, or one pinned on top from the list.
  const platform::WindowHandle selected = model::selectedTaskWindow(controls_);
  const bool selectedAnswers =
      selected == hosted ? hostedAnswers : model::answers(desktop_, selected);
  if (selectedAnswers) {
    desktop_.setWindowPos(selected, platform::kHwndNoTopMost, 0, 0, 0, 0, kKeepPlace);
    desktop_.setParent(selected, platform::WindowHandle{});
  }
}

bool TaskSelection::giveBackForeignWindows() {
  const platform::WindowHandle frame = frame_.frameWindow();
  if (frame.isNull()) return true;
  // A window on its way back since an earlier call is not asked again; the
  // frame stays until it is out and placed.
  handingBack_.erase(
      std::remove_if(handingBack_.begin(), handingBack_.end(),
                     [&](platform::WindowHandle w) { return !desktop_.callUnderWay(w); }),
      handingBack_.end());
  // A program that does not answer keeps its window in the frame for now.
  // Every program is asked before any window moves: a window given back
  // hands the activation on, and one found not answering is kept out of
  // that hand-over.
  std::vector<platform::WindowHandle> answering;
  for (const platform::WindowHandle window : desktop_.foreignChildren(frame)) {
    if (std::find(handingBack_.begin(), handingBack_.end(), window) != handingBack_.end()) continue;
    if (model::answers(desktop_, window)) answering.push_back(window);
  }
  for (const platform::WindowHandle window : answering) {
    // Read the place first: a window given back keeps its client-relative
    // position, which would otherwise put it near the screen's corner. It
    // is placed in the same call, once it is top-level again: a place given
    // while it is still a child would be taken relative to the frame.
    const std::optional<platform::Rect> place = desktop_.windowRect(window);
    constexpr unsigned kFlags =
        platform::kSwpNoSize | platform::kSwpNoActivate | platform::kSwpAsyncWindowPos;
    const bool done =
        place
            ? desktop_.setParentThenPos(window, platform::WindowHandle{}, platform::kHwndNoTopMost,
                                        place->left, place->top, 0, 0, kFlags)
            : desktop_.setParentThenPos(window, platform::WindowHandle{}, platform::kHwndNoTopMost,
                                        0, 0, 0, 0, kFlags | platform::kSwpNoMove);
    if (!done && desktop_.callUnderWay(window)) handingBack_.push_back(window);
  }
  const std::vector<platform::WindowHandle> left = desktop_.foreignChildren(frame);
  if (std::find(left.begin(), left.end(), state_.hostedWindow) == left.end()) {
    state_.hostedWindow = {};
  }
  return left.empty() && handingBack_.empty();
}

}  // namespace vitrolux::embed
