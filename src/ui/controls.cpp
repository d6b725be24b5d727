#include "ui/controls.h"

#include <utility>

namespace vitrolux::platform {

namespace {

// The first row a list box can show: one of its rows, or 0 when it has none.
int clampTop(const Control& list, int row) {
  const int last = static_cast<int>(list.rows.size()) - 1;
  if (row > last) row = last;
  return row < 0 ? 0 : row;
}

}  // namespace

int ControlSet::add(Control control) {
  controls_.push_back(std::move(control));
  removed_.push_back(false);
  return size() - 1;
}

bool ControlSet::exists(int index) const {
  return index >= 0 && index < size() && !removed_[static_cast<std::size_t>(index)];
}

int ControlSet::create(Control control) {
  // A free index is taken again, so that making and removing images at
  // every refresh never grows the set.
  int index = 0;
  while (index < size() && !removed_[static_cast<std::size_t>(index)]) ++index;
  if (index == size()) {
    add(std::move(control));
  } else {
    at(index) = std::move(control);
    removed_[static_cast<std::size_t>(index)] = false;
  }
  if (toolkit_ != nullptr) toolkit_->controlAdded(index);
  return index;
}

void ControlSet::remove(int index) {
  if (!exists(index)) return;
  if (toolkit_ != nullptr) toolkit_->controlRemoved(index);
  // What stays behind is nameless and hidden: nothing finds it, nothing
  // shows it, and it takes no input.
  Control gone;
  gone.visible = false;
  at(index) = std::move(gone);
  removed_[static_cast<std::size_t>(index)] = true;
}

void ControlSet::changed(int index, Property property) {
  if (toolkit_ != nullptr) toolkit_->controlChanged(index, property);
}

void ControlSet::setCaption(int index, std::string text) {
  Control& c = at(index);
  if (c.caption == text) return;
  c.caption = std::move(text);
  changed(index, Property::Caption);
  if (c.kind == ControlKind::TextBox && textChanged_) textChanged_(index);
}

void ControlSet::setToolTip(int index, std::string text) {
  Control& c = at(index);
  if (c.toolTip == text) return;
  c.toolTip = std::move(text);
  changed(index, Property::ToolTip);
}

void ControlSet::setToolTipNote(int index, std::string text) {
  Control& c = at(index);
  if (c.toolTipNote == text) return;
  c.toolTipNote = std::move(text);
  changed(index, Property::ToolTip);
}

void ControlSet::setVisible(int index, bool visible) {
  Control& c = at(index);
  if (c.visible == visible) return;
  c.visible = visible;
  changed(index, Property::Visible);
}

void ControlSet::setOnTop(int index, bool onTop) {
  Control& c = at(index);
  if (c.onTop == onTop) return;
  c.onTop = onTop;
  changed(index, Property::OnTop);
}

void ControlSet::setRect(int index, const TwipsRect& rect) {
  Control& c = at(index);
  if (c.rect == rect) return;
  c.rect = rect;
  changed(index, Property::Rect);
}

void ControlSet::setLeft(int index, double left) {
  TwipsRect r = at(index).rect;
  r.left = left;
  setRect(index, r);
}

void ControlSet::setTop(int index, double top) {
  TwipsRect r = at(index).rect;
  r.top = top;
  setRect(index, r);
}

void ControlSet::setBackColor(int index, Color color) {
  Control& c = at(index);
  if (c.back == color) return;
  c.back = color;
  changed(index, Property::BackColor);
}

void ControlSet::setPicture(int index, Picture picture) {
  Control& c = at(index);
  if (c.picture == picture) return;
  c.picture = picture;
  changed(index, Property::Picture);
}

void ControlSet::setInterval(int index, int milliseconds) {
  // Always passed on, also for an unchanged value: arming a timer again
  // restarts its delay.
  at(index).interval = milliseconds < 0 ? 0 : milliseconds;
  changed(index, Property::Interval);
}

void ControlSet::setRows(int index, std::vector<ListRow> rows) {
  Control& c = at(index);
  if (c.rows == rows) return;
  const bool hadSelection = c.selected != kNoSelection;
  c.rows = std::move(rows);
  c.selected = kNoSelection;
  c.topIndex = clampTop(c, c.topIndex);
  changed(index, Property::Rows);
  // A list box that only gains rows below the ones it shows keeps them, and
  // their highlight with them: it has to hear that the selection went, or a
  // row would look selected while the commands find none.
  if (hadSelection) changed(index, Property::Selection);
}

void ControlSet::setSelected(int index, int row) {
  Control& c = at(index);
  if (row < 0 || row >= static_cast<int>(c.rows.size())) row = kNoSelection;
  if (c.selected == row) return;
  c.selected = row;
  changed(index, Property::Selection);
}

void ControlSet::noteUserText(int index, std::string text) {
  Control& c = at(index);
  if (c.caption == text) return;
  c.caption = std::move(text);
  if (c.kind == ControlKind::TextBox && textChanged_) textChanged_(index);
}

void ControlSet::noteUserSelection(int index, int row) {
  Control& c = at(index);
  if (row < 0 || row >= static_cast<int>(c.rows.size())) row = kNoSelection;
  c.selected = row;
}

void ControlSet::noteUserChecked(int index, bool checked) {
  at(index).checked = checked;
}

void ControlSet::noteUserTopIndex(int index, int row) {
  Control& c = at(index);
  row = clampTop(c, row);
  if (c.topIndex == row) return;
  c.topIndex = row;
  if (userScrolled_) userScrolled_(index);
}

void ControlSet::noteShownTopIndex(int index, int row) {
  Control& c = at(index);
  c.topIndex = clampTop(c, row);
}

}  // namespace vitrolux::platform
