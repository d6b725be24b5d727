#include "model/task_rows.h"

#include <cstddef>

#include "model/layout.h"

namespace vitrolux::model {

platform::WindowHandle selectedTaskWindow(const platform::ControlSet& controls) {
  const platform::Control& list = controls[index(ControlId::processList)];
  // The model keeps the selection inside the rows; the check keeps a stale
  // index from ever reading past them.
  if (list.selected < 0 || list.selected >= static_cast<int>(list.rows.size())) return {};
  return platform::WindowHandle{
      static_cast<std::intptr_t>(list.rows[static_cast<std::size_t>(list.selected)].data)};
}

}  // namespace vitrolux::model
