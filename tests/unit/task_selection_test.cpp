// Hosting a window picked in the task list.
#include "frame_fixture.h"

namespace vitrolux::testing {
namespace {

class TaskSelectionTest : public FrameTest {
 protected:
  void SetUp() override {
    desk.start();
    tool = desk.createWindow(desk.newProcess(), "Tool");
    listWindows({tool});
  }
  WindowHandle tool;
};

TEST_F(TaskSelectionTest, LoadAndADoubleClickOnARowHostItsWindow) {
  desk.click(idx(ControlId::loadBtn));
  EXPECT_FALSE(hostedInFrame(tool)) << "no row selected: nothing to load";

  selectRow(0);
  desk.doubleClick(idx(ControlId::processList));
  EXPECT_TRUE(hostedInFrame(tool));
  EXPECT_EQ(state().hostedWindow, tool);
  EXPECT_EQ(desk.window(tool)->rect, (platform::Rect{1, 22, 1 + 645, 22 + 408}));
  EXPECT_EQ(control(ControlId::processList).selected, 0) << "the selection stays";

  const WindowHandle other = desk.createWindow(desk.newProcess(), "Other");
  listAndSelect(other);
  desk.click(idx(ControlId::loadBtn));
  EXPECT_EQ(state().hostedWindow, other);
  EXPECT_TRUE(hostedInFrame(tool)) << "the window hosted before stays inside";
}

TEST_F(TaskSelectionTest, ARowHostsItsOwnWindowNotTheFirstWithItsCaption) {
  const WindowHandle older = desk.createWindow(desk.newProcess(), "Untitled - Notepad");
  const WindowHandle newer = desk.createWindow(desk.newProcess(), "Untitled - Notepad");
  ASSERT_EQ(desk.findWindow("Untitled - Notepad"), newer);
  listWindow(newer);
  listAndSelect(older);
  desk.click(idx(ControlId::loadBtn));
  EXPECT_EQ(state().hostedWindow, older);
  EXPECT_TRUE(hostedInFrame(older));
  EXPECT_TRUE(desk.getParent(newer).isNull());

  // A row whose window has closed since the list was filled hosts nothing.
  desk.destroyWindow(newer);
  selectRow(1);
  desk.click(idx(ControlId::loadBtn));
  EXPECT_TRUE(state().hostedWindow.isNull());
  EXPECT_TRUE(hostedInFrame(older));
}

}  // namespace
}  // namespace vitrolux::testing

namespace vitrolux::testing {
namespace {

class ReleaseTest : public FrameTest {
 protected:
  void SetUp() override { desk.start(); }
  void release() { desk.click(idx(ControlId::releaseBtn)); }
};

TEST_F(ReleaseTest, GivesBackTheHostedWindowAndTheSelectedRowsWindow) {
  const WindowHandle first = desk.createWindow(desk.newProcess(), "First");
  const WindowHandle second = desk.createWindow(desk.newProcess(), "Second");
  const WindowHandle pinned = desk.createWindow(desk.newProcess(), "Pinned");
  main.loader().embed(first);
  main.loader().embed(second);
  desk.setWindowPos(pinned, platform::kHwndTopMost, 0, 0, 0, 0,
                    platform::kSwpNoMove | platform::kSwpNoSize);
  ASSERT_TRUE(isTopMost(pinned));
  listWindows({pinned});
  selectRow(0);

  release();
  EXPECT_TRUE(desk.getParent(second).isNull());
  // Where it stood in the frame, now measured from the screen's corner.
  EXPECT_EQ(desk.window(second)->rect, (platform::Rect{1, 22, 646, 430}));
  EXPECT_TRUE(state().hostedWindow.isNull());
  EXPECT_TRUE(hostedInFrame(first)) << "only the last hosted window is released";
  EXPECT_FALSE(isTopMost(pinned));
  EXPECT_TRUE(desk.getParent(pinned).isNull());
  EXPECT_EQ(control(ControlId::processList).selected, 0) << "the list is left as it was";

  // Nothing hosted, nothing selected: nothing happens.
  selectRow(-1);
  release();
  EXPECT_TRUE(hostedInFrame(first));
}

TEST_F(ReleaseTest, ALaunchAwaitingItsCaptureIsForgottenButStillCaptured) {
  install("C:\\Tools\\a.exe", "Tool");
  ASSERT_TRUE(loadEntry("C:\\Tools\\a.exe|Tool"));
  ASSERT_TRUE(state().pendingLaunch.has_value());
  release();
  EXPECT_FALSE(state().hosting());
  desk.advance(2000);
  EXPECT_TRUE(hostedInFrame(windowCaptioned("Tool")));
  EXPECT_EQ(state().hostedWindow, windowCaptioned("Tool"));
}

}  // namespace
}  // namespace vitrolux::testing
