// The task list: which windows are listed and in what order, the periodic
// refresh with its selection and scroll position, and the icon strip.
#include <algorithm>
#include <vector>

#include "frame_fixture.h"
#include "model/task_rows.h"

namespace vitrolux::testing {
namespace {

using platform::kWsBorder;
using platform::kWsOverlappedWindow;
using platform::kWsPopup;
using platform::kWsVisible;
using platform::ListRow;

class TaskListTest : public FrameTest {
 protected:
  void SetUp() override { desk.start(); }

  WindowHandle open(const std::string& caption,
                    std::uint32_t style = kWsVisible | kWsOverlappedWindow) {
    return desk.createWindow(desk.newProcess(), caption, style);
  }
  static ListRow row(const std::string& caption, WindowHandle window) {
    return ListRow{caption, window.value()};
  }
  const std::vector<ListRow>& rows() const { return control(ControlId::processList).rows; }
  int selected() const { return control(ControlId::processList).selected; }
  int list() const { return idx(ControlId::processList); }
  void refresh() { desk.advance(1500); }
  void showIcons(bool on) {
    if (!control(ControlId::optionFrm).visible) desk.click(idx(ControlId::setCfgPic));
    desk.setChecked(idx(ControlId::icon_chk), on);
  }
  // The icon images there are, by name.
  std::vector<platform::Control> iconImages() const {
    std::vector<platform::Control> images;
    const platform::ControlSet& set = main.controls();
    for (int i = 0; i < set.size(); ++i) {
      if (set.exists(i) && set[i].kind == platform::ControlKind::IconImage)
        images.push_back(set[i]);
    }
    std::sort(images.begin(), images.end(),
              [](const auto& a, const auto& b) { return a.name < b.name; });
    return images;
  }
  int listChanges() const {
    return static_cast<int>(
        std::count_if(desk.controlChanges().begin(), desk.controlChanges().end(),
                      [&](const sim::ControlChange& c) { return c.control == list(); }));
  }
};

TEST_F(TaskListTest, ListsCaptionedWindowsBelowTheFrameByStyleOrTrayName) {
  const WindowHandle editor = open("Editor");
  const WindowHandle thunder = open("迅雷 7", kWsOverlappedWindow);  // hidden
  open("qqlive player", kWsOverlappedWindow);                        // hidden, wrong case
  open("Splash", kWsPopup | kWsVisible);                             // no border
  const WindowHandle tray = open("UUSee 网络电视", kWsPopup | kWsVisible);
  open("", kWsVisible | kWsOverlappedWindow);
  const WindowHandle boxed = open("Boxed", kWsPopup | kWsBorder | kWsVisible);
  // A suspended store app: visible by its style, kept off the screen.
  desk.window(open("Settings"))->cloaked = true;
  // Top-most like the pinned frame, and so above it.
  const WindowHandle above = open("Always on top");
  desk.setWindowPos(above, platform::kHwndTopMost, 0, 0, 0, 0,
                    platform::kSwpNoMove | platform::kSwpNoSize);
  ASSERT_EQ(desk.topLevelWindows().front(), above);

  main.taskList().rebuild();
  // Top of the z-order first: the window opened last lies highest.
  EXPECT_EQ(rows(), (std::vector<ListRow>{row("Boxed", boxed), row("UUSee 网络电视", tray),
                                          row("迅雷 7", thunder), row("Editor", editor)}));
}

TEST_F(TaskListTest, WithoutTheMaskEveryCaptionedWindowBelowTheFrameButTheFrameIsListed) {
  // An unpinned frame: a window raised above it is left out too.
  desk.setWindowPos(desk.frameWindow(), platform::kHwndNoTopMost, 0, 0, 0, 0,
                    platform::kSwpNoMove | platform::kSwpNoSize | platform::kSwpNoActivate);
  const WindowHandle hidden = open("Hidden", kWsOverlappedWindow);
  const WindowHandle popup = open("Splash", kWsPopup | kWsVisible);
  desk.setWindowPos(desk.frameWindow(), platform::kHwndTop, 0, 0, 0, 0,
                    platform::kSwpNoMove | platform::kSwpNoSize | platform::kSwpNoActivate);
  open("Raised above");
  state().taskStyleMask = 0;  // as while an auto-load entry is launched at start
  main.taskList().rebuild();
  EXPECT_EQ(rows(), (std::vector<ListRow>{row("Splash", popup), row("Hidden", hidden)}));
}

TEST_F(TaskListTest, TheRefreshKeepsTheSelectedWindowSelectedByItsHandle) {
  const WindowHandle w = open("W");
  open("A");
  open("B");  // rows: B, A, W
  refresh();
  ASSERT_EQ(rows()[2], row("W", w));
  desk.selectRow(list(), 2);
  open("C");
  open("D");  // W moves from the third row to the fifth
  refresh();
  EXPECT_EQ(selected(), 4);
  EXPECT_EQ(model::selectedTaskWindow(main.controls()), w);

  // A launch's or the start's rebuild leaves no row selected.
  main.taskList().rebuild();
  EXPECT_EQ(selected(), platform::kNoSelection);
  desk.selectRow(list(), 4);
  desk.destroyWindow(w);
  refresh();
  EXPECT_EQ(selected(), platform::kNoSelection) << "its window is gone";
  refresh();
  EXPECT_EQ(selected(), platform::kNoSelection) << "nothing was selected before";
}

TEST_F(TaskListTest, UnchangedRowsLeaveTheListBoxAlone) {
  for (int i = 0; i < 5; ++i) open("Window " + std::to_string(i));
  refresh();
  desk.selectRow(list(), 3);
  const int before = listChanges();
  refresh();
  refresh();
  EXPECT_EQ(listChanges(), before) << "no flicker: nothing was cleared or refilled";
  EXPECT_EQ(selected(), 3);
  open("New");
  refresh();
  EXPECT_GT(listChanges(), before);
  EXPECT_EQ(selected(), 4);
}

TEST_F(TaskListTest, TheScrollPositionStaysWhereTheRowsAllow) {
  std::vector<WindowHandle> windows;
  for (int i = 0; i < 20; ++i) windows.push_back(open("Window " + std::to_string(i)));
  refresh();
  ASSERT_EQ(desk.listPageRows(list()), 7);
  desk.scrollList(list(), 10);
  ASSERT_EQ(control(ControlId::processList).topIndex, 10);
  desk.destroyWindow(windows[0]);  // the last row goes
  refresh();
  EXPECT_EQ(control(ControlId::processList).topIndex, 10);
  // Nine rows left: the list shows no further than its last page.
  for (int i = 1; i < 12; ++i) desk.destroyWindow(windows[static_cast<std::size_t>(i)]);
  refresh();
  ASSERT_EQ(rows().size(), 8u);
  EXPECT_EQ(control(ControlId::processList).topIndex, 1);
}

TEST_F(TaskListTest, SevenIconImagesStandBesideTheFirstRowsShown) {
  std::vector<WindowHandle> windows;  // the last one opened is the first row
  std::vector<platform::IconHandle> icons;
  for (int i = 0; i < 10; ++i) {
    windows.insert(windows.begin(), open("Window " + std::to_string(i)));
    icons.insert(icons.begin(), desk.makeIcon({16, 16}));
    desk.window(windows.front())->smallIcon = icons.front().value();
  }
  showIcons(true);
  refresh();
  refresh();  // images of the last refresh are replaced, not added to
  std::vector<platform::Control> images = iconImages();
  ASSERT_EQ(images.size(), 7u);
  for (int k = 0; k < 7; ++k) {
    const platform::Control& image = images[static_cast<std::size_t>(k)];
    EXPECT_EQ(image.name, "app_icon_" + std::to_string(k + 1));
    EXPECT_EQ(image.rect, (platform::TwipsRect{360, 3480.0 + 334 * k, 240, 240}));
    EXPECT_EQ(image.icon, icons[static_cast<std::size_t>(k)]) << image.name;
  }

  // Scrolled by three rows, the images stand beside rows 4 to 10.
  desk.scrollList(list(), 3);
  images = iconImages();
  ASSERT_EQ(images.size(), 7u);
  EXPECT_EQ(images[0].icon, icons[3]);
  EXPECT_EQ(images[6].icon, icons[9]);
  refresh();
  EXPECT_EQ(iconImages()[0].icon, icons[3]);

  // Cleared, the box takes the icons away at the next refresh.
  showIcons(false);
  refresh();
  EXPECT_TRUE(iconImages().empty());
  EXPECT_LE(main.controls().size(), model::kControlCount + 7) << "images' places are reused";
}

TEST_F(TaskListTest, AnIconComesFromTheWindowThenItsClassAndNeverFromAHungProgram) {
  const platform::IconHandle classIcon = desk.makeIcon({16, 16});
  const platform::IconHandle ownIcon = desk.makeIcon({16, 16});
  const platform::IconHandle bigIcon = desk.makeIcon({32, 32});
  const WindowHandle hung = open("Hung");
  desk.window(hung)->classSmallIcon = classIcon.value();
  desk.window(hung)->smallIcon = ownIcon.value();
  desk.window(hung)->hung = true;
  const WindowHandle big = open("Big");
  desk.window(big)->smallIcon = bigIcon.value();
  const WindowHandle byClass = open("By class");
  desk.window(byClass)->classSmallIcon = classIcon.value();
  const WindowHandle answers = open("Answers");
  desk.window(answers)->classSmallIcon = classIcon.value();
  desk.window(answers)->smallIcon = ownIcon.value();

  showIcons(true);
  refresh();
  ASSERT_EQ(rows().size(), 4u) << "the hung program's window is listed all the same";
  const std::vector<platform::Control> images = iconImages();
  ASSERT_EQ(images.size(), 4u);
  EXPECT_EQ(images[0].icon, ownIcon) << "its own answer before its class's";
  EXPECT_EQ(images[1].icon, classIcon);
  // 32 pixels are 480 twips, taller than a row: clipped to a 334 x 250 box.
  EXPECT_EQ(images[2].icon, bigIcon);
  EXPECT_EQ(images[2].rect, (platform::TwipsRect{360, 3480 + 2 * 334, 334, 250}));
  EXPECT_TRUE(images[3].icon.isNull()) << "no wait for a program that does not answer";
  EXPECT_EQ(desk.window(hung)->received.size(), 0u);
}

}  // namespace
}  // namespace vitrolux::testing
