#include "tasks/task_list.h"

#include <algorithm>
#include <cstddef>

#include "model/layout.h"
#include "model/strings.h"
#include "model/task_rows.h"
#include "model/text.h"
#include "ui/guard.h"

namespace vitrolux::tasks {
namespace {

using model::ControlId;
using model::index;

// Set for the length of a rebuild: the list box may report the row it shows
// first while its rows are replaced, which is no scroll of the user's.
class Flag {
 public:
  explicit Flag(bool& flag) : flag_(flag) { flag_ = true; }
  ~Flag() { flag_ = false; }
  Flag(const Flag&) = delete;
  Flag& operator=(const Flag&) = delete;

 private:
  bool& flag_;
};

}  // namespace

bool TaskList::hasTaskStyle(platform::WindowHandle window) {
  const auto style =
      static_cast<std::uint32_t>(desktop_.getWindowLong(window, platform::kGwlStyle));
  return (style & state_.taskStyleMask) == state_.taskStyleMask;
}

bool TaskList::isTrayApp(std::string_view caption) {
  return std::any_of(model::text::kTrayAppNames.begin(), model::text::kTrayAppNames.end(),
                     [&](std::string_view name) { return model::contains(caption, name); });
}

std::vector<platform::ListRow> TaskList::walk() {
  std::vector<platform::ListRow> rows;
  const platform::WindowHandle frame = frame_.frameWindow();
  // The order is read once, then each window is tested: windows that move
  // meanwhile cannot make the walk go round for ever. Only windows below the
  // frame are visited.
  const std::vector<platform::WindowHandle> order = desktop_.enumWindows();
  auto at = std::find(order.begin(), order.end(), frame);
  if (at == order.end()) return rows;
  for (++at; at != order.end(); ++at) {
    const platform::WindowHandle window = *at;
    // A window gone since the snapshot simply has no caption.
    std::string caption = desktop_.getWindowText(window);
    // Nothing without a caption is listed, so its style need not be read.
    if (caption.empty()) continue;
    const bool listed = isTrayApp(caption) || hasTaskStyle(window);
    // Visible by its style, yet kept off the screen by the system (a
    // suspended store app, a window on another virtual desktop): nothing a
    // user could mean. Asked last, of the few windows that are listed.
    if (listed && !desktop_.isCloaked(window)) {
      rows.push_back(platform::ListRow{std::move(caption), window.value()});
    }
  }
  return rows;
}

void TaskList::rebuildKeeping(std::optional<platform::WindowHandle> keep) {
  const Flag rebuilding(rebuilding_);
  const int list = index(ControlId::processList);
  // Before anything else, and whatever the box says now: an icon never
  // outlives the rows it stood beside, and clearing the box clears them.
  icons_.removePic();
  // Rows equal to those shown leave the list box alone: no flicker, and the
  // user's scroll position stays.
  controls_.setRows(list, walk());
  int selected = platform::kNoSelection;
  if (keep) {
    const std::vector<platform::ListRow>& rows = controls_[list].rows;
    for (std::size_t row = 0; row < rows.size(); ++row) {
      if (rows[row].data == keep->value()) {
        selected = static_cast<int>(row);
        break;
      }
    }
  }
  controls_.setSelected(list, selected);
  placeIcons();
}

void TaskList::placeIcons() {
  if (!controls_[index(ControlId::icon_chk)].checked) return;
  // The windows are read out first: making the images adds controls, which
  // may move the list's rows in memory.
  std::vector<platform::WindowHandle> shown;
  const platform::Control& list = controls_[index(ControlId::processList)];
  for (std::size_t row = static_cast<std::size_t>(std::max(list.topIndex, 0));
       row < list.rows.size() && shown.size() < static_cast<std::size_t>(kIconRows); ++row) {
    shown.emplace_back(static_cast<std::intptr_t>(list.rows[row].data));
  }
  icons_.placeFor(shown);
}

void TaskList::rebuild() {
  rebuildKeeping(std::nullopt);
}

void TaskList::onProcessTimer() {
  // The selected window, by its handle: its row may move or go.
  const platform::WindowHandle selected = model::selectedTaskWindow(controls_);
  rebuildKeeping(selected.isNull() ? std::nullopt : std::optional(selected));
}

void TaskList::onListScrolled() {
  if (rebuilding_) return;
  icons_.removePic();
  placeIcons();
}

}  // namespace vitrolux::tasks
