// Hosting a window picked in the task list.
#include "frame_fixture.h"

namespace vitrolux::testing {
namespace {

class TaskSelectionTest : public FrameTest {
 protected:
  void SetUp() override {
    desk.start();
    tool = desk.createWindow(desk.newProcess(), "Tool");
    const int list = idx(ControlId::processList);
    main.controls().clearRows(list);
    main.controls().addRow(list, "Tool", tool.value());
  }
  WindowHandle tool;
};

TEST_F(TaskSelectionTest, LoadAndADoubleClickOnARowHostItsWindow) {
  desk.click(idx(ControlId::loadBtn));
  EXPECT_FALSE(hostedInFrame(tool)) << "no row selected: nothing to load";

  desk.selectRow(idx(ControlId::processList), 0);
  desk.doubleClick(idx(ControlId::processList));
  EXPECT_TRUE(hostedInFrame(tool));
  EXPECT_EQ(state().hostedWindow, tool);
  EXPECT_EQ(desk.window(tool)->rect, (platform::Rect{1, 22, 1 + 645, 22 + 408}));
  EXPECT_EQ(control(ControlId::processList).selected, 0) << "the selection stays";

  const WindowHandle other = desk.createWindow(desk.newProcess(), "Other");
  main.controls().addRow(idx(ControlId::processList), "Other", other.value());
  desk.selectRow(idx(ControlId::processList), 1);
  desk.click(idx(ControlId::loadBtn));
  EXPECT_EQ(state().hostedWindow, other);
  EXPECT_TRUE(hostedInFrame(tool)) << "the window hosted before stays inside";
}

}  // namespace
}  // namespace vitrolux::testing
