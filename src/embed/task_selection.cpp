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
  constexpr unsigned kKeepPlace =
      platform::kSwpNoSize | platform::kSwpNoMove | platform::kSwpAsyncWindowPos;
  // A window goes back only while its program answers: one that has
  // stopped answering stays as it is, hosted and named, for a later
  // release. Each window is asked once.
  const platform::WindowHandle hosted = state_.hostedWindow;
  const bool hostedAnswers = model::answers(desktop_, hosted);
  // Back at its place in the frame's client area, now measured from the
  // screen's corner. A launch still awaiting its capture is forgotten here,
  // though its timer still captures at its moment.
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

}  // namespace vitrolux::embed
