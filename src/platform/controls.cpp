#include "platform/controls.h"

#include <utility>

namespace vitrolux::platform {

Size pictureSize(Picture picture) {
  switch (picture) {
    case Picture::None:
      return {0, 0};
    case Picture::RestoreNormal:
    case Picture::RestoreHover:
      return {26, 18};
    case Picture::CloseNormal:
    case Picture::CloseHover:
      return {37, 18};
    case Picture::MinNormal:
    case Picture::MinHover:
      return {32, 18};
    case Picture::Pin:
      return {11, 12};
    case Picture::Options:
      return {12, 12};
    case Picture::TileIe:
    case Picture::TileChrome:
    case Picture::TileFirefox:
    case Picture::TilePicture:
    case Picture::TileAny:
      return {103, 117};
  }
  return {0, 0};
}

int ControlSet::add(Control control) {
  controls_.push_back(std::move(control));
  return size() - 1;
}

int ControlSet::find(std::string_view name) const {
  for (int i = 0; i < size(); ++i) {
    if (controls_[static_cast<std::size_t>(i)].name == name) return i;
  }
  return -1;
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

void ControlSet::setRect(int index, TwipsRect rect) {
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

void ControlSet::setForeColor(int index, Color color) {
  Control& c = at(index);
  if (c.fore == color) return;
  c.fore = color;
  changed(index, Property::ForeColor);
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

void ControlSet::setChecked(int index, bool checked) {
  Control& c = at(index);
  if (c.checked == checked) return;
  c.checked = checked;
  changed(index, Property::Checked);
}

void ControlSet::clearRows(int index) {
  Control& c = at(index);
  c.rows.clear();
  c.selected = kNoSelection;
  changed(index, Property::Rows);
}

int ControlSet::addRow(int index, std::string text, std::int64_t data) {
  Control& c = at(index);
  c.rows.push_back(ListRow{std::move(text), data});
  changed(index, Property::Rows);
  return static_cast<int>(c.rows.size()) - 1;
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

}  // namespace vitrolux::platform
