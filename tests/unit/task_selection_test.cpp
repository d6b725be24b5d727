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

  // A row whose window has closed since the list was filled hosts nothing,
  // and says so.
  desk.destroyWindow(newer);
  selectRow(1);
  desk.click(idx(ControlId::loadBtn));
  EXPECT_TRUE(state().hostedWindow.isNull());
  EXPECT_TRUE(hostedInFrame(older));
  EXPECT_EQ(desk.messagesShown(), std::vector<std::string>{"这个窗口已经关闭。"});
}

TEST_F(TaskSelectionTest, AWindowThatCannotBeTakenSaysWhyAndChangesNothing) {
  selectRow(0);
  desk.click(idx(ControlId::loadBtn));
  ASSERT_EQ(state().hostedWindow, tool);

  // Its program does not answer; it runs as administrator; it is a store
  // app's frame, whose content another process draws.
  const WindowHandle hung = desk.createWindow(desk.newProcess(), "Hung");
  desk.setHung(hung, true);
  const WindowHandle admin = desk.createWindow(desk.newProcess(), "Admin");
  desk.setHigherRights(*desk.windowProcess(admin), true);
  const WindowHandle store = desk.createWindow(desk.newProcess(), "Calculator");
  desk.window(store)->className = "ApplicationFrameWindow";
  for (const WindowHandle w : {hung, admin, store}) {
    listAndSelect(w);
    desk.click(idx(ControlId::loadBtn));
    EXPECT_TRUE(desk.getParent(w).isNull());
    EXPECT_EQ(desk.window(w)->rect, (platform::Rect{100, 100, 500, 400})) << "moved all the same";
    EXPECT_EQ(state().hostedWindow, tool);
  }
  EXPECT_EQ(desk.messagesShown(),
            (std::vector<std::string>{
                "这个窗口的程序没有响应，请稍后再试。",
                "系统拒绝装载这个窗口：它的程序以管理员身份运行。Vitrolux 须以管理员身份运行，才能装载它。",
                "这是应用商店程序的窗口：它的内容由另一个进程绘制，移进 Vitrolux 后不会跟随显示，所以不能装载。"}));
}

TEST_F(TaskSelectionTest, AWindowThatPutsItselfBackOnTheDesktopIsRefusedAndPutBack) {
  const WindowHandle stubborn = desk.createWindow(desk.newProcess(), "Stubborn");
  desk.setWindowState(stubborn, platform::WindowState::Maximized);
  // The program answers the re-parenting by taking its window back.
  desk.window(stubborn)->leavesEveryParent = true;
  main.loader().embed(tool);
  listAndSelect(stubborn);
  desk.click(idx(ControlId::loadBtn));
  EXPECT_TRUE(desk.getParent(stubborn).isNull());
  EXPECT_EQ(desk.windowPlacement(stubborn)->state, platform::WindowState::Maximized)
      << "not put back as it stood";
  EXPECT_EQ(state().hostedWindow, tool);
  ASSERT_FALSE(desk.messagesShown().empty());
  EXPECT_EQ(desk.messagesShown().back(),
            "系统拒绝装载这个窗口。如果它的程序以管理员身份运行，Vitrolux 也须以管理员身份运行才能装载它。");
}

TEST_F(TaskSelectionTest, AMaximisedWindowIsHostedAsANormalOneAndGoesBackMaximised) {
  desk.setWindowState(tool, platform::WindowState::Maximized);
  ASSERT_EQ(desk.window(tool)->rect, (platform::Rect{0, 0, 1920, 1080}));
  selectRow(0);
  desk.click(idx(ControlId::loadBtn));
  EXPECT_EQ(desk.windowPlacement(tool)->state, platform::WindowState::Normal);
  EXPECT_EQ(desk.window(tool)->rect, (platform::Rect{1, 22, 646, 430}));

  desk.click(idx(ControlId::releaseBtn));
  EXPECT_TRUE(desk.getParent(tool).isNull());
  EXPECT_EQ(desk.windowPlacement(tool),
            (platform::Placement{platform::WindowState::Maximized, {100, 100, 500, 400}}))
      << "its restore size was lost";
}

TEST_F(TaskSelectionTest, AMinimisedWindowIsHostedVisibleAndGoesBackWhereItStood) {
  desk.setWindowState(tool, platform::WindowState::Minimized);
  selectRow(0);
  desk.click(idx(ControlId::loadBtn));
  EXPECT_EQ(desk.windowPlacement(tool)->state, platform::WindowState::Normal);
  EXPECT_EQ(desk.window(tool)->rect, (platform::Rect{1, 22, 646, 430}));
  EXPECT_TRUE(desk.isWindowVisible(tool));

  // At the end too, not only by "释放".
  desk.closeFrame();
  EXPECT_TRUE(desk.getParent(tool).isNull());
  EXPECT_EQ(desk.windowPlacement(tool),
            (platform::Placement{platform::WindowState::Normal, {100, 100, 500, 400}}));
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
