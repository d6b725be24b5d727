#include "model/layout.h"

#include <cassert>
#include <string>

#include "model/pictures.h"
#include "model/text.h"

namespace vitrolux::model {
namespace {

using platform::Align;
using platform::Control;
using platform::ControlKind;
using platform::Font;
using platform::Picture;

constexpr int kGb2312Charset = 134;
constexpr int kDefaultCharset = 1;

Font yaHei(double points) {
  return Font{std::string(text::kFontYaHei), points, kGb2312Charset, 400};
}
Font segoeUi() {
  return Font{std::string(text::kFontSegoeUi), 14.25, kDefaultCharset, 400};
}

Control timer(std::string_view name) {
  Control c;
  c.name = name;
  c.kind = ControlKind::Timer;
  c.visible = false;
  return c;
}

Control make(std::string_view name, ControlKind kind, ControlId container, double l, double t,
             double w, double h) {
  Control c;
  c.name = name;
  c.kind = kind;
  c.container = index(container);
  c.rect = {l, t, w, h};
  return c;
}

Control onForm(std::string_view name, ControlKind kind, double l, double t, double w, double h) {
  Control c = make(name, kind, ControlId::process_timer, l, t, w, h);
  c.container = platform::kNoContainer;
  return c;
}

// Hidden image that only holds one of the title-bar pictures.
Control imageStore(std::string_view name, double l, double t, double w, double h,
                   std::string_view tip, Picture picture) {
  Control c = onForm(name, ControlKind::ImageStore, l, t, w, h);
  c.visible = false;
  c.toolTip = tip;
  c.picture = picture;
  c.back = kFrameColor;
  c.handCursor = true;
  return c;
}

Control titleButton(std::string_view name, double l, double t, double w, double h,
                    std::string_view tip, Picture picture) {
  Control c = make(name, ControlKind::ImageButton, ControlId::title_strip, l, t, w, h);
  c.toolTip = tip;
  c.picture = picture;
  c.back = kFrameColor;
  c.handCursor = true;
  return c;
}

Control tile(std::string_view name, double l, std::string_view tip, Picture picture) {
  Control c = make(name, ControlKind::ImageButton, ControlId::main_toolbar, l, 0, 1545, 1755);
  c.toolTip = tip;
  c.picture = picture;
  c.back = platform::kSystemWindow;
  c.handCursor = true;
  return c;
}

// White centred text on black, as the command buttons and the option labels.
Control whiteLabel(Control c, double points) {
  c.back = kBlack;
  c.fore = kWhite;
  c.align = Align::Center;
  c.font = yaHei(points);
  return c;
}

Control commandButton(std::string_view name, double l, double t, std::string_view caption,
                      std::string_view tip) {
  Control c = whiteLabel(onForm(name, ControlKind::LabelButton, l, t, 855, 375), 12);
  c.caption = caption;
  c.toolTip = tip;
  c.handCursor = true;
  return c;
}

Control textBox(std::string_view name, double t, std::string_view initial) {
  Control c = make(name, ControlKind::TextBox, ControlId::optionFrm, 880, t, 6135, 470);
  c.caption = initial;
  c.font = segoeUi();
  c.back = platform::kSystemWindow;
  c.fore = platform::kSystemWindowText;
  return c;
}

Control heading(std::string_view name, double t, double w, std::string_view caption) {
  Control c = onForm(name, ControlKind::Label, 720, t, w, 375);
  c.caption = caption;
  c.fore = kPanelColor;
  // The headings paint the frame's own colour, so they read as lying on it.
  c.back = kFrameColor;
  c.font = yaHei(12);
  return c;
}

}  // namespace

void buildLayout(platform::ControlSet& controls) {
  using K = ControlKind;
  auto add = [&controls]([[maybe_unused]] ControlId id, Control c) {
    [[maybe_unused]] const int at = controls.add(std::move(c));
    assert(at == index(id));
  };

  add(ControlId::process_timer, timer("process_timer"));
  add(ControlId::f5_timer, timer("f5_timer"));
  add(ControlId::cfg_timer, timer("cfg_timer"));
  add(ControlId::full_screen_pic, imageStore("full_screen_pic", 1440, 240, 390, 270,
                                             text::kTipFullScreen, picture::kFullScreenNormal));
  add(ControlId::full_screen_hover_pic,
      imageStore("full_screen_hover_pic", 1440, 0, 390, 270, text::kTipFullScreen,
                 picture::kFullScreenHover));
  add(ControlId::other_app_timer, timer("other_app_timer"));
  add(ControlId::firefox_timer, timer("firefox_timer"));
  add(ControlId::close_pic,
      imageStore("close_pic", 720, 240, 555, 270, text::kTipClose, picture::kCloseNormal));
  add(ControlId::min_pic,
      imageStore("min_pic", 240, 240, 480, 270, text::kTipMinimise, picture::kMinNormal));
  add(ControlId::close_hover_pic,
      imageStore("close_hover_pic", 720, 0, 555, 270, text::kTipClose, picture::kCloseHover));
  add(ControlId::min_hover_pic,
      imageStore("min_hover_pic", 120, 0, 480, 270, text::kTipMinimise, picture::kMinHover));

  Control strip = onForm("title_strip", K::PictureBox, 4200, 0, 2175, 285);
  strip.back = kFrameColor;
  add(ControlId::title_strip, strip);
  add(ControlId::setTopMostBtn,
      titleButton("setTopMostBtn", 360, 40, 165, 180, text::kTipPin, picture::kPin));
  add(ControlId::full_screen_btn, titleButton("full_screen_btn", 1155, 0, 390, 270,
                                              text::kTipFullScreen, picture::kFullScreenNormal));
  add(ControlId::setCfgPic,
      titleButton("setCfgPic", 40, 40, 180, 180, text::kTipOptions, picture::kOptions));
  add(ControlId::close_btn,
      titleButton("close_btn", 1560, 0, 555, 270, text::kTipClose, picture::kCloseNormal));
  add(ControlId::min_btn,
      titleButton("min_btn", 660, 0, 480, 270, text::kTipMinimise, picture::kMinNormal));
  add(ControlId::chrome_timer, timer("chrome_timer"));

  Control options = onForm("optionFrm", K::Panel, 720, 6360, 8295, 2535);
  options.visible = false;
  options.back = kPanelColor;
  add(ControlId::optionFrm, options);

  Control showIcons = make("icon_chk", K::CheckBox, ControlId::optionFrm, 840, 1440, 1935, 420);
  showIcons.caption = text::kShowIcons;
  showIcons.fore = kWhite;
  showIcons.back = kPanelColor;
  showIcons.font = yaHei(14.25);
  add(ControlId::icon_chk, showIcons);
  add(ControlId::title_txt, textBox("title_txt", 840, text::kTitleHint));
  add(ControlId::cfg_txt, textBox("cfg_txt", 240, text::kPathHint));

  Control titleLabel =
      whiteLabel(make("title_lbl", K::Label, ControlId::optionFrm, 0, 840, 975, 495), 14.25);
  titleLabel.caption = text::kTitleLabel;
  add(ControlId::title_lbl, titleLabel);
  Control pathLabel =
      whiteLabel(make("path_lbl", K::Label, ControlId::optionFrm, 0, 240, 975, 495), 14.25);
  pathLabel.caption = text::kPathLabel;
  add(ControlId::path_lbl, pathLabel);
  Control configure = whiteLabel(
      make("cfgOkBtn", K::LabelButton, ControlId::optionFrm, 7200, 240, 975, 495), 14.25);
  configure.caption = text::kConfigure;
  configure.toolTip = text::kTipConfigure;
  configure.handCursor = true;
  add(ControlId::cfgOkBtn, configure);

  Control toolbar = onForm("main_toolbar", K::Panel, 720, 1200, 8295, 1815);
  toolbar.back = kToolbarStoredColor;
  add(ControlId::main_toolbar, toolbar);
  add(ControlId::ff_btn, tile("ff_btn", 3360, text::kTipFirefox, picture::kTileFirefox));
  add(ControlId::any_btn, tile("any_btn", 6720, text::kTipAny, picture::kTileAny));
  add(ControlId::pic_btn, tile("pic_btn", 5040, "", picture::kTilePicture));
  add(ControlId::ch_btn, tile("ch_btn", 1680, text::kTipChrome, picture::kTileChrome));
  add(ControlId::ie_btn, tile("ie_btn", 0, text::kTipIe, picture::kTileIe));

  Control tasks = onForm("processList", K::ListBox, 720, 3480, 7380, 2550);
  tasks.back = kFrameColor;
  tasks.fore = kWhite;
  tasks.font = yaHei(12);
  tasks.rowHeight = kTaskRowTwips;
  add(ControlId::processList, tasks);
  add(ControlId::new_task_lbl, heading("new_task_lbl", 825, 1095, text::kNewTask));
  add(ControlId::task_list_lbl, heading("task_list_lbl", 3090, 1215, text::kTaskList));
  add(ControlId::penetrate_btn,
      commandButton("penetrate_btn", 8160, 4680, text::kClickThrough, text::kTipClickThrough));
  add(ControlId::f5_btn, commandButton("f5_btn", 8160, 5085, text::kF5, text::kTipF5));
  add(ControlId::bringTopMostBtn,
      commandButton("bringTopMostBtn", 8145, 4290, text::kBringToFront, text::kTipBringToFront));
  add(ControlId::releaseBtn,
      commandButton("releaseBtn", 8145, 3885, text::kRelease, text::kTipRelease));
  add(ControlId::loadBtn, commandButton("loadBtn", 8145, 3480, text::kLoad, text::kTipLoad));
}

platform::FrameLook frameLook() {
  return platform::FrameLook{std::string(text::kAppTitle), kFrameWidthTwips, kFrameHeightTwips,
                             kFrameColor};
}

}  // namespace vitrolux::model
