// The frame's controls as stored: names, kinds, containers, positions and
// sizes in twips, captions, tool tips, colours, fonts and cursors; and the
// frame window's own caption, size and colour.
#pragma once

#include "ui/application.h"
#include "ui/controls.h"

namespace vitrolux::model {

// In stored order; the value is the control's index in the frame's ControlSet.
// The names are the controls' own names.
enum class ControlId : int {
  process_timer,
  f5_timer,
  cfg_timer,
  full_screen_pic,
  full_screen_hover_pic,
  other_app_timer,
  firefox_timer,
  close_pic,
  min_pic,
  close_hover_pic,
  min_hover_pic,
  title_strip,
  setTopMostBtn,
  full_screen_btn,
  setCfgPic,
  close_btn,
  min_btn,
  chrome_timer,
  optionFrm,
  icon_chk,
  title_txt,
  cfg_txt,
  title_lbl,
  path_lbl,
  cfgOkBtn,
  main_toolbar,
  ff_btn,
  any_btn,
  pic_btn,
  ch_btn,
  ie_btn,
  processList,
  new_task_lbl,
  task_list_lbl,
  penetrate_btn,
  f5_btn,
  bringTopMostBtn,
  releaseBtn,
  loadBtn,
};

inline constexpr int kControlCount = static_cast<int>(ControlId::loadBtn) + 1;

constexpr int index(ControlId id) {
  return static_cast<int>(id);
}

// The frame's client area as created, in twips.
inline constexpr double kFrameWidthTwips = 9675;
inline constexpr double kFrameHeightTwips = 6495;

// The height of a task-list row, in twips. The icon images beside the list
// step down by the same height, so each stands beside its own row.
inline constexpr double kTaskRowTwips = 334;

// Colours of the frame (0x00BBGGRR).
inline constexpr platform::Color kFrameColor{0x002F0822u};
inline constexpr platform::Color kPanelColor{0x00651770u};
inline constexpr platform::Color kToolbarStoredColor{0x00C0C0C0u};
inline constexpr platform::Color kBlack{0x00000000u};
inline constexpr platform::Color kWhite{0x00FFFFFFu};

// Fills the set with the stored layout, in stored order.
void buildLayout(platform::ControlSet& controls);

// The frame window as created: caption, stored client size, colour.
platform::FrameLook frameLook();

}  // namespace vitrolux::model
