// A launched program whose window comes late is still captured: the launch
// waits for it after its first attempt, until the window comes, the program
// ends, 30 s pass or the user does something newer.
#include "frame_fixture.h"
#include "model/text.h"

namespace vitrolux::testing {
namespace {

class CaptureWaitTest : public FrameTest {
 protected:
  void SetUp() override { desk.start(); }

  bool load(const std::string& entry) { return loadEntry(entry); }
  bool waitTimerRuns() const { return desk.systemTimers().count(1) != 0; }
  // A window another program opens with this caption, now.
  WindowHandle lateWindow(const std::string& caption) {
    return desk.createWindow(desk.newProcess(), caption);
  }
};

TEST_F(CaptureWaitTest, TheFirstAttemptComesAtItsMomentAndTheWaitOnlyAfterIt) {
  install("C:\\Tools\\a.exe", "Tool", 100);
  ASSERT_TRUE(load("C:\\Tools\\a.exe|Tool"));
  desk.advance(1999);
  EXPECT_FALSE(hostedInFrame(windowCaptioned("Tool"))) << "captured before the first attempt";
  EXPECT_FALSE(waitTimerRuns());
  desk.advance(1);
  EXPECT_TRUE(hostedInFrame(windowCaptioned("Tool")));
  EXPECT_FALSE(waitTimerRuns()) << "found at once: nothing to wait for";
  EXPECT_EQ(desk.keptProcesses(), 0u);
}

TEST_F(CaptureWaitTest, AWindowThatAppearsAtFiveSecondsIsCapturedThen) {
  install("C:\\Tools\\a.exe", "Tool", 5000);
  ASSERT_TRUE(load("C:\\Tools\\a.exe|Tool"));
  desk.advance(4999);
  // Waiting counts as a launch pending: nothing is hosted, the launch is.
  EXPECT_TRUE(state().hostedWindow.isNull());
  EXPECT_EQ(state().pendingLaunch, desk.launches().back().process);
  EXPECT_TRUE(waitTimerRuns());
  desk.advance(100);
  const WindowHandle tool = windowCaptioned("Tool");
  ASSERT_TRUE(hostedInFrame(tool));
  EXPECT_EQ(desk.window(tool)->rect, (platform::Rect{1, 22, 1 + 645, 22 + 408}));
  EXPECT_EQ(state().hostedWindow, tool);
  EXPECT_FALSE(state().pendingLaunch.has_value());
  EXPECT_FALSE(waitTimerRuns());
  EXPECT_EQ(desk.keptProcesses(), 0u);
}

TEST_F(CaptureWaitTest, AWindowIsCapturedAsSoonAsTheDesktopReportsIt) {
  install("C:\\Tools\\a.exe", "Loading...", 500);
  ASSERT_TRUE(load("C:\\Tools\\a.exe|Tool"));
  desk.advance(3010);
  ASSERT_TRUE(desk.watchingTopLevelWindows());
  const WindowHandle window = windowCaptioned("Loading...");
  ASSERT_FALSE(window.isNull());
  EXPECT_FALSE(hostedInFrame(window));
  // Renamed: the report comes with the next message, long before the next
  // look of the wait's own.
  desk.setWindowText(window, "Tool");
  desk.advance(0);
  EXPECT_TRUE(hostedInFrame(window));
  EXPECT_FALSE(desk.watchingTopLevelWindows()) << "the watch ends with the wait";
}

TEST_F(CaptureWaitTest, WhatTheDesktopDoesNotReportIsFoundWithinAQuarterSecond) {
  install("C:\\Tools\\a.exe", "Loading...", 500);
  ASSERT_TRUE(load("C:\\Tools\\a.exe|Tool"));
  desk.advance(3010);
  const WindowHandle window = windowCaptioned("Loading...");
  ASSERT_FALSE(window.isNull());
  // A rename some window systems leave unreported.
  desk.window(window)->caption = "Tool";
  desk.advance(249);
  desk.advance(1);
  EXPECT_TRUE(hostedInFrame(window));
}

TEST_F(CaptureWaitTest, AnOlderWindowRenamedUnreportedIsFoundByTheSearchEveryTwoSeconds) {
  install("C:\\Tools\\a.exe", "Tool", 0, 0, false);
  const WindowHandle older = lateWindow("Document - Editor");
  ASSERT_TRUE(load("C:\\Tools\\a.exe|Tool"));
  desk.advance(3010);
  desk.window(older)->caption = "Tool";
  desk.advance(980);
  EXPECT_FALSE(hostedInFrame(older)) << "the whole desktop is searched only every 2 s";
  desk.advance(10);  // 4 s: the wait's first search
  EXPECT_TRUE(hostedInFrame(older));
}

TEST_F(CaptureWaitTest, AnInternetExplorerEntryWaitsAfterItsImmediateAttempt) {
  install("C:\\IE\\iexplore.exe", "Intranet", 3000);
  ASSERT_TRUE(load("C:\\IE\\iexplore.exe|Intranet"));
  EXPECT_TRUE(waitTimerRuns());
  desk.advance(3100);
  EXPECT_TRUE(hostedInFrame(windowCaptioned("Intranet")));
}

TEST_F(CaptureWaitTest, AWaitingLaunchCountsAsPendingForOpacityAndTheF5Refresh) {
  install("C:\\Tools\\a.exe", "Tool", 8000);
  const WindowHandle other = lateWindow("Other");
  listAndSelect(other);
  desk.click(idx(ControlId::f5_btn));
  ASSERT_TRUE(load("C:\\Tools\\a.exe|Tool"));
  desk.advance(3000);
  ASSERT_TRUE(waitTimerRuns());

  // The level goes to the frame, not to the selected row's window.
  desk.keyDown(53);  // 5
  EXPECT_EQ(desk.layeredAlpha(desk.frameWindow()), std::optional<std::uint8_t>{160});
  EXPECT_FALSE(desk.layeredAlpha(other).has_value());
  // Ctrl+S reaches nobody: the frame's window is still on its way.
  desk.pressKey(platform::kVkControl);
  desk.advance(50);
  desk.releaseKey(platform::kVkControl);
  desk.advance(50);
  desk.pressKey('S');
  desk.advance(50);
  desk.releaseKey('S');
  desk.advance(50);
  EXPECT_TRUE(desk.window(other)->received.empty());
}

TEST_F(CaptureWaitTest, TheWaitEndsAfterThirtySeconds) {
  install("C:\\Tools\\a.exe", "Tool", 0, 0, false);
  ASSERT_TRUE(load("C:\\Tools\\a.exe|Tool"));
  desk.advance(29900);
  EXPECT_TRUE(waitTimerRuns());
  EXPECT_TRUE(desk.messagesShown().empty());
  desk.advance(100);
  EXPECT_FALSE(waitTimerRuns());
  EXPECT_EQ(desk.messagesShown(),
            std::vector<std::string>{"等了 30 秒，没有出现标题为“Tool”的窗口。请在任务列表中选择程序的"
                                     "窗口，点击“装载”。"});
  EXPECT_FALSE(state().pendingLaunch.has_value());
  EXPECT_EQ(desk.keptProcesses(), 0u);
  const WindowHandle late = lateWindow("Tool");
  desk.advance(1000);
  EXPECT_FALSE(hostedInFrame(late));
}

TEST_F(CaptureWaitTest, AProgramThatEndsWithoutItsWindowEndsTheWait) {
  install("C:\\Tools\\a.exe", "Tool", 0, 3000, false);
  ASSERT_TRUE(load("C:\\Tools\\a.exe|Tool"));
  desk.advance(2500);
  EXPECT_TRUE(waitTimerRuns());
  desk.advance(600);
  EXPECT_FALSE(waitTimerRuns());
  EXPECT_FALSE(state().pendingLaunch.has_value());
  EXPECT_EQ(desk.messagesShown(),
            std::vector<std::string>{std::string(model::text::kMsgEndedWithoutWindow)});
  const WindowHandle late = lateWindow("Tool");
  desk.advance(1000);
  EXPECT_FALSE(hostedInFrame(late));
}

TEST_F(CaptureWaitTest, ANewerLaunchALoadAndAReleaseEachEndTheWait) {
  install("C:\\Tools\\slow.exe", "Slow", 6000);
  install("C:\\Tools\\b.exe", "Other", 100);

  // A newer launch.
  ASSERT_TRUE(load("C:\\Tools\\slow.exe|Slow"));
  desk.advance(2500);
  ASSERT_TRUE(waitTimerRuns());
  ASSERT_TRUE(load("C:\\Tools\\b.exe|Other"));
  desk.advance(2000);
  const WindowHandle other = windowCaptioned("Other");
  EXPECT_EQ(state().hostedWindow, other);
  desk.advance(2000);  // the slow window has come
  EXPECT_FALSE(hostedInFrame(windowCaptioned("Slow")));
  EXPECT_EQ(state().hostedWindow, other);

  // A load from the task list.
  ASSERT_TRUE(load("C:\\Tools\\slow.exe|Late"));
  desk.advance(2500);
  ASSERT_TRUE(waitTimerRuns());
  const WindowHandle picked = lateWindow("Picked");
  listAndSelect(picked);
  desk.click(idx(ControlId::loadBtn));
  EXPECT_EQ(state().hostedWindow, picked);
  EXPECT_FALSE(waitTimerRuns());
  desk.advance(4000);
  EXPECT_EQ(state().hostedWindow, picked);

  // A release.
  ASSERT_TRUE(load("C:\\Tools\\slow.exe|Late"));
  desk.advance(2500);
  ASSERT_TRUE(waitTimerRuns());
  desk.click(idx(ControlId::releaseBtn));
  EXPECT_FALSE(waitTimerRuns());
  EXPECT_FALSE(state().pendingLaunch.has_value());
  const WindowHandle late = lateWindow("Late");
  desk.advance(1000);
  EXPECT_FALSE(hostedInFrame(late));
  EXPECT_EQ(desk.keptProcesses(), 0u);
}

TEST_F(CaptureWaitTest, AnOlderLaunchsAttemptNeverDisturbsTheNewestWait) {
  install("C:\\Apps\\firefox.exe", "Mozilla Firefox", 0, 0, false);
  install("C:\\IE\\iexplore.exe", "Intranet", 3000);
  ASSERT_TRUE(load("C:\\Apps\\firefox.exe|Mozilla Firefox"));
  desk.advance(500);
  ASSERT_TRUE(load("C:\\IE\\iexplore.exe|Intranet"));
  desk.advance(1500);  // the first launch's attempt finds nothing
  EXPECT_EQ(state().pendingLaunch, desk.launches().back().process);
  desk.advance(1600);  // its window came at 3.5 s
  EXPECT_TRUE(hostedInFrame(windowCaptioned("Intranet")));
}

TEST_F(CaptureWaitTest, AStrayTickAndATickForALaunchNoLongerPendingCaptureNothing) {
  // A tick with no wait at all (one queued before the wait ended).
  const WindowHandle bystander = lateWindow("Tool");
  main.onSystemTimer(embed::kCaptureWaitTimerId);
  EXPECT_FALSE(hostedInFrame(bystander));
  EXPECT_TRUE(state().hostedWindow.isNull());

  // A wait whose launch something newer replaced behind its back.
  install("C:\\Tools\\a.exe", "Late", 0, 0, false);
  ASSERT_TRUE(load("C:\\Tools\\a.exe|Late"));
  desk.advance(2000);
  ASSERT_TRUE(waitTimerRuns());
  state().pendingLaunch.reset();
  const WindowHandle late = lateWindow("Late");
  main.onSystemTimer(embed::kCaptureWaitTimerId);
  EXPECT_FALSE(waitTimerRuns()) << "the wait went on for a launch no longer pending";
  desk.advance(1000);
  EXPECT_FALSE(hostedInFrame(late));
  EXPECT_TRUE(desk.messagesShown().empty());
}

}  // namespace
}  // namespace vitrolux::testing
