// Start-up and the ways the frame ends.
#include <map>

#include "frame_fixture.h"

namespace vitrolux::testing {
namespace {

class StartupTest : public FrameTest {};

TEST_F(StartupTest, ASecondInstanceEndsBeforeItShowsOrTouchesAnything) {
  desk.setAnotherInstanceRunning(true);
  install("C:\\Tools\\a.exe", "Tool");
  desk.files().putFile(appFile("config.txt"), "C:\\Tools\\a.exe|Tool\r\n");
  desk.start();
  EXPECT_TRUE(desk.ended());
  EXPECT_FALSE(desk.frameShown());
  EXPECT_TRUE(desk.launches().empty());
  EXPECT_EQ(control(ControlId::cfg_timer).interval, 0);
}

TEST_F(StartupTest, WithoutAnEntryNothingIsLaunched) {
  desk.start();
  EXPECT_TRUE(desk.frameShown());
  EXPECT_TRUE(isTopMost(desk.frameWindow()));
  EXPECT_TRUE(desk.launches().empty());
  EXPECT_FALSE(state().hosting());
  EXPECT_EQ(state().taskStyleMask, 0x10800000u);
  EXPECT_EQ(control(ControlId::main_toolbar).back, (platform::Color{0x002F0822u}));
  // The saved settings come with the first tick of cfg_timer, 10 ms after
  // start; it ticks once.
  EXPECT_EQ(control(ControlId::cfg_timer).interval, 10);
  desk.advance(10);
  EXPECT_EQ(control(ControlId::cfg_timer).interval, 0);
}

TEST_F(StartupTest, TheAutoLoadEntryIsLaunchedAndCaptured) {
  install("C:\\windows\\notepad.exe", "Untitled - Notepad", 500);
  desk.files().putFile(appFile("config.txt"), "C:\\windows\\notepad.exe|Untitled - Notepad\r\n");
  desk.start();
  ASSERT_EQ(desk.launches().size(), 1u);
  EXPECT_TRUE(state().pendingLaunch.has_value());
  desk.advance(2000);
  const WindowHandle notepad = state().hostedWindow;
  ASSERT_TRUE(hostedInFrame(notepad));
  EXPECT_EQ(desk.window(notepad)->rect, (platform::Rect{1, 22, 646, 430}));
}

TEST_F(StartupTest, AnEntryThatNamesNoProgramStillStartsTheFrame) {
  desk.files().putFile(appFile("config.txt"), "C:\\Nowhere\\missing.exe|Missing\r\n");
  desk.start();
  EXPECT_TRUE(desk.frameShown());
  EXPECT_FALSE(state().hosting());
  EXPECT_EQ(control(ControlId::other_app_timer).interval, 0);
  EXPECT_EQ(control(ControlId::cfg_timer).interval, 10);
}

TEST_F(StartupTest, TheResizeBandIsThreePixelsInTwips) {
  desk.start();
  EXPECT_EQ(state().edgeWidth, 45);
  sim::SimDesktop hiDpi;
  hiDpi.setDpi(120);
  app::Main frame{hiDpi.ports()};
  hiDpi.connect(frame);
  hiDpi.start();
  EXPECT_EQ(frame.state().edgeWidth, 36);
  // At 192 DPI three pixels are 22.5 twips: the half goes to the even 22.
  sim::SimDesktop twice;
  twice.setDpi(192);
  app::Main frame192{twice.ports()};
  twice.connect(frame192);
  twice.start();
  EXPECT_EQ(frame192.state().edgeWidth, 22);
}

class ShutdownTest : public FrameTest {
 protected:
  void SetUp() override {
    install("C:\\windows\\notepad.exe", "Untitled - Notepad");
    desk.files().putFile(appFile("config.txt"), "C:\\windows\\notepad.exe|Untitled - Notepad\r\n");
    desk.start();
    // The user pinned Notepad on top before it was captured: a give-back
    // that does not unpin it leaves it above every other window.
    desk.advance(100);
    const WindowHandle early = windowCaptioned("Untitled - Notepad");
    ASSERT_FALSE(early.isNull());
    desk.setWindowPos(early, platform::kHwndTopMost, 0, 0, 0, 0,
                      platform::kSwpNoMove | platform::kSwpNoSize);
    ASSERT_TRUE(isTopMost(early));
    desk.advance(1900);
    notepad = state().hostedWindow;
    ASSERT_EQ(notepad, early);
    ASSERT_TRUE(hostedInFrame(notepad));
    onScreen = *desk.windowRect(notepad);
  }
  void expectGivenBack() {
    ASSERT_TRUE(desk.isWindow(notepad)) << "another program's window was destroyed";
    EXPECT_TRUE(desk.getParent(notepad).isNull());
    EXPECT_EQ(*desk.windowRect(notepad), onScreen) << "it stays where the user saw it";
    EXPECT_FALSE(isTopMost(notepad));
    EXPECT_TRUE(desk.processAlive(desk.window(notepad)->process));
  }
  WindowHandle notepad;
  platform::Rect onScreen;
};

TEST_F(ShutdownTest, ClosingTheFrameGivesHostedWindowsBack) {
  desk.closeFrame();
  EXPECT_TRUE(desk.ended());
  expectGivenBack();
}

TEST_F(ShutdownTest, ClosingGivesBackEveryForeignWindowNotOnlyTheLastOne) {
  install("C:\\Tools\\a.exe", "Tool");
  ASSERT_TRUE(loadEntry("C:\\Tools\\a.exe|Tool"));
  desk.advance(2000);
  const WindowHandle tool = state().hostedWindow;
  ASSERT_TRUE(hostedInFrame(tool));
  desk.closeFrame();
  expectGivenBack();
  EXPECT_TRUE(desk.isWindow(tool));
  EXPECT_TRUE(desk.getParent(tool).isNull());
}

TEST_F(ShutdownTest, ClosingStopsTheF5Poll) {
  desk.click(idx(ControlId::f5_btn));
  ASSERT_EQ(desk.systemTimers().size(), 1u);
  // A hosted program that does not answer keeps the program running past
  // the close, out of sight: its timers would go on ticking.
  desk.setHung(notepad, true);
  desk.closeFrame();
  ASSERT_FALSE(desk.ended());
  EXPECT_EQ(desk.systemTimers(), (std::map<unsigned, unsigned>{{2u, 500u}}))
      << "only the retry of the give-back runs";
}

TEST_F(ShutdownTest, ADyingProcessStillGivesItsWindowsBack) {
  desk.crash();
  expectGivenBack();
}

TEST_F(ShutdownTest, EndingAtOnceGivesWindowsBackFirst) {
  main.endNow();
  EXPECT_TRUE(desk.ended());
  expectGivenBack();
}

TEST_F(ShutdownTest, ClosingWhileALaunchPendsTouchesNoOtherWindow) {
  install("C:\\Tools\\a.exe", "Tool", 5000);
  const WindowHandle bystander = desk.createWindow(desk.newProcess(), "Bystander");
  const platform::Rect before = *desk.windowRect(bystander);
  ASSERT_TRUE(loadEntry("C:\\Tools\\a.exe|Tool"));
  ASSERT_TRUE(state().pendingLaunch.has_value());
  desk.closeFrame();
  EXPECT_TRUE(desk.isWindow(bystander));
  EXPECT_EQ(*desk.windowRect(bystander), before);
  expectGivenBack();
}

}  // namespace
}  // namespace vitrolux::testing
