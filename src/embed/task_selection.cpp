#include "embed/task_selection.h"

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
  // A window goes back only while its program answers: one that has
  // stopped answering stays as it is, hosted and named, for a later
  // release. Each window is asked once.
  const platform::WindowHandle hosted = state_.hostedWindow;
  const bool hostedAnswers = model::answers(desktop_, hosted);
  if (hostedAnswers) {
    giveBack(hosted);
    state_.hostedWindow = {};
  } else if (!model::exists(desktop_, hosted)) {
    // Gone with its program: nothing is hosted any more.
    state_.hostedWindow = {};
  }
  // A launch still awaiting its capture is forgotten here, though its
  // timer still captures at its moment.
  loader_.cancelLaunch();
  // The selected row's window too: it may be another window inside the
  // frame, or one pinned on top from the list.
  const platform::WindowHandle selected = model::selectedTaskWindow(controls_);
  const bool selectedAnswers =
      selected == hosted ? hostedAnswers : model::answers(desktop_, selected);
  if (selectedAnswers) giveBack(selected);
}

void TaskSelection::giveBack(platform::WindowHandle window) {
  constexpr unsigned kKeepPlace =
      platform::kSwpNoSize | platform::kSwpNoMove | platform::kSwpAsyncWindowPos;
  desktop_.setWindowPos(window, platform::kHwndNoTopMost, 0, 0, 0, 0, kKeepPlace);
  // A window taken maximised goes back maximised, one taken minimised at
  // its own restored place; any other at its place in the frame's client
  // area, now measured from the screen's corner.
  if (const std::optional<platform::Placement> back = model::returnPlacement(state_, window)) {
    desktop_.setParentThenPlacement(window, platform::WindowHandle{}, *back);
  } else {
    desktop_.setParent(window, platform::WindowHandle{});
  }
  model::forgetTaken(state_, window);
}

}  // namespace vitrolux::embed
