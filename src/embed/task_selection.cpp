#include "embed/task_selection.h"

#include "app/main_frame.h"

namespace vitrolux::embed {

// Not built yet.
void onLoadClick(app::Main&) {}
void onReleaseClick(app::Main&) {}

platform::WindowHandle selectedTaskWindow(const app::Main& main) {
  const platform::Control& list = main.control(app::ControlId::processList);
  if (list.selected < 0 || list.selected >= static_cast<int>(list.rows.size())) return {};
  return platform::WindowHandle{
      static_cast<std::intptr_t>(list.rows[static_cast<std::size_t>(list.selected)].data)};
}

}  // namespace vitrolux::embed
