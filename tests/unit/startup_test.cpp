// Start-up and the ways the frame ends.
#include "embed/loader.h"
#include "frame_fixture.h"

namespace vitrolux::testing {
namespace {

class StartupTest : public FrameTest {
 protected:
  bool isTopMost(WindowHandle w) {
    return (static_cast<std::uint32_t>(desk.getWindowLong(w, platform::kGwlExStyle)) &
            platform::kWsExTopMost) != 0;
  }
};

TEST_F(StartupTest, ASecondInstanceEndsBeforeItShowsOrTouchesAnything) {
  desk.setAnotherInstanceRunning(true);
  install("C:\\Tools\\a.exe", "Tool");
  desk.putFile(appFile("config.txt"), "C:\\Tools\\a.exe|Tool\r\n");
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
  desk.putFile(appFile("config.txt"), "C:\\windows\\notepad.exe|Untitled - Notepad\r\n");
  desk.start();
  ASSERT_EQ(desk.launches().size(), 1u);
  EXPECT_TRUE(state().pendingLaunch.has_value());
  desk.advance(2000);
  const WindowHandle notepad = state().hostedWindow;
  ASSERT_TRUE(hostedInFrame(notepad));
  EXPECT_EQ(desk.window(notepad)->rect, (platform::Rect{1, 22, 646, 430}));
}

TEST_F(StartupTest, AnEntryThatNamesNoProgramStillStartsTheFrame) {
  desk.putFile(appFile("config.txt"), "C:\\Nowhere\\missing.exe|Missing\r\n");
  desk.start();
  EXPECT_TRUE(desk.frameShown());
  EXPECT_FALSE(state().hosting());
  EXPECT_EQ(control(ControlId::Timer3).interval, 0);
  EXPECT_EQ(control(ControlId::cfg_timer).interval, 10);
}

TEST_F(StartupTest, TheResizeBandIsThreePixelsInTwips) {
  desk.start();
  EXPECT_EQ(state().edgeWidth, 45);
  sim::SimDesktop hiDpi;
  hiDpi.setDpi(120);
  app::Main frame{hiDpi};
  hiDpi.connect(frame, frame.controls());
  hiDpi.start();
  EXPECT_EQ(frame.state().edgeWidth, 36);
}

class ShutdownTest : public FrameTest {
 protected:
  void SetUp() override {
    install("C:\\windows\\notepad.exe", "Untitled - Notepad");
    desk.putFile(appFile("config.txt"), "C:\\windows\\notepad.exe|Untitled - Notepad\r\n");
    desk.start();
    desk.advance(2000);
    notepad = state().hostedWindow;
    ASSERT_TRUE(hostedInFrame(notepad));
    onScreen = *desk.windowRect(notepad);
    desk.setWindowPos(notepad, platform::kHwndTopMost, 0, 0, 0, 0,
                      platform::kSwpNoMove | platform::kSwpNoSize);
  }
  void expectGivenBack() {
    ASSERT_TRUE(desk.isWindow(notepad)) << "another program's window was destroyed";
    EXPECT_TRUE(desk.getParent(notepad).isNull());
    EXPECT_EQ(*desk.windowRect(notepad), onScreen) << "it stays where the user saw it";
    EXPECT_EQ(static_cast<std::uint32_t>(desk.getWindowLong(notepad, platform::kGwlExStyle)) &
                  platform::kWsExTopMost,
              0u);
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
  ASSERT_TRUE(embed::loadApp(main, "C:\\Tools\\a.exe|Tool"));
  desk.advance(2000);
  const WindowHandle tool = state().hostedWindow;
  ASSERT_TRUE(hostedInFrame(tool));
  desk.closeFrame();
  expectGivenBack();
  EXPECT_TRUE(desk.isWindow(tool));
  EXPECT_TRUE(desk.getParent(tool).isNull());
}

TEST_F(ShutdownTest, ClosingStopsTheF5Poll) {
  desk.setSystemTimer(0, 1);
  desk.closeFrame();
  EXPECT_TRUE(desk.systemTimers().empty());
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
  ASSERT_TRUE(embed::loadApp(main, "C:\\Tools\\a.exe|Tool"));
  ASSERT_TRUE(state().pendingLaunch.has_value());
  desk.closeFrame();
  EXPECT_TRUE(desk.isWindow(bystander));
  EXPECT_EQ(*desk.windowRect(bystander), before);
  expectGivenBack();
}

}  // namespace
}  // namespace vitrolux::testing
