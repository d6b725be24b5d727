// Launching programs and capturing their windows into the frame.

#include "frame_fixture.h"

namespace vitrolux::testing {
namespace {

class LoaderTest : public FrameTest {
 protected:
  void SetUp() override {
    desk.start();
    ASSERT_TRUE(desk.frameShown());
  }
  bool load(const std::string& entry) { return main.loader().loadApp(entry); }
  int interval(ControlId timer) const { return control(timer).interval; }
};

TEST_F(LoaderTest, EachKindOfEntryIsCapturedByItsOwnRule) {
  install("C:\\Chrome\\chrome.exe", "新标签页 - Google Chrome");
  install("C:\\Program Files\\Mozilla Firefox\\firefox.exe", "Mozilla Firefox");
  install("C:\\Tools\\a.exe", "Tool");

  ASSERT_TRUE(load("C:\\Chrome\\chrome.exe|Whatever the title"));
  EXPECT_EQ(interval(ControlId::Timer1), 400);
  ASSERT_TRUE(load("C:\\Program Files\\Mozilla Firefox\\firefox.exe|Mozilla Firefox"));
  EXPECT_EQ(interval(ControlId::Timer2), 2000);
  ASSERT_TRUE(load("C:\\Tools\\a.exe|Tool"));
  EXPECT_EQ(interval(ControlId::Timer3), 2000);
}

TEST_F(LoaderTest, AnEntryNamingBothChromeAndIexploreIsAChromeEntry) {
  install("C:\\chrome\\iexplore.exe", "新标签页 - Google Chrome");
  desk.createWindow(desk.newProcess(), "Intranet");
  ASSERT_TRUE(load("C:\\chrome\\iexplore.exe|Intranet"));
  // Not captured at once by its title, as an Internet Explorer entry would be.
  EXPECT_TRUE(state().hostedWindow.isNull());
  EXPECT_EQ(interval(ControlId::Timer1), 400);
  desk.advance(400);
  EXPECT_EQ(state().hostedWindow, windowCaptioned("新标签页 - Google Chrome"));
  EXPECT_FALSE(hostedInFrame(windowCaptioned("Intranet")));
}

TEST_F(LoaderTest, ChromeIsLookedForByItsNewTabCaptionAfter400ms) {
  install("C:\\Chrome\\chrome.exe", "新标签页 - Google Chrome");
  desk.createWindow(desk.newProcess(), "Whatever the title");
  ASSERT_TRUE(load("C:\\Chrome\\chrome.exe|Whatever the title"));

  desk.advance(399);
  EXPECT_TRUE(state().hostedWindow.isNull());
  EXPECT_TRUE(state().pendingLaunch.has_value());
  desk.advance(1);
  const WindowHandle chrome = windowCaptioned("新标签页 - Google Chrome");
  EXPECT_TRUE(hostedInFrame(chrome));
  EXPECT_EQ(state().hostedWindow, chrome);
  EXPECT_FALSE(state().pendingLaunch.has_value());
  EXPECT_EQ(interval(ControlId::Timer1), 0) << "one attempt only";
}

TEST_F(LoaderTest, ACapturedWindowSitsBelowTheTitleStripWithTheFramesSize) {
  install("C:\\Tools\\a.exe", "Tool");
  ASSERT_TRUE(load("C:\\Tools\\a.exe|Tool"));
  desk.advance(2000);
  const WindowHandle tool = windowCaptioned("Tool");
  ASSERT_TRUE(hostedInFrame(tool));
  EXPECT_EQ(desk.window(tool)->rect, (platform::Rect{1, 22, 1 + 645, 22 + 408}));
}

TEST_F(LoaderTest, TheFitCountsFifteenTwipsToThePixelWhateverTheDpi) {
  // At 120 DPI the frame is 806 x 541 pixels; the fit still divides its
  // twips by 15, as the hosted window's own size was always taken.
  sim::SimDesktop hiDpi;
  hiDpi.setDpi(120);
  app::Main frame{hiDpi.ports()};
  hiDpi.connect(frame);
  hiDpi.start();
  sim::Program tool;
  tool.caption = "Tool";
  hiDpi.installProgram("C:\\Tools\\a.exe", tool);
  ASSERT_TRUE(frame.loader().loadApp("C:\\Tools\\a.exe|Tool"));
  hiDpi.advance(2000);
  const WindowHandle hosted = frame.state().hostedWindow;
  ASSERT_FALSE(hosted.isNull());
  // 806 x 541 pixels are 9672 x 6492 twips: 644.8 -> 645 wide, 432.8 - 25 ->
  // 408 high.
  ASSERT_EQ(hiDpi.frameBounds().width(), 806);
  ASSERT_EQ(hiDpi.frameBounds().height(), 541);
  EXPECT_EQ(hiDpi.window(hosted)->rect, (platform::Rect{1, 22, 1 + 645, 22 + 408}));
}

TEST_F(LoaderTest, CaseMattersInTheCaptureRules) {
  // No lower-case "chrome": an ordinary program, captured by its own title.
  install("C:\\Apps\\Chrome\\run.exe", "My Chrome");
  ASSERT_TRUE(load("C:\\Apps\\Chrome\\run.exe|My Chrome"));
  EXPECT_EQ(interval(ControlId::Timer1), 0);
  EXPECT_EQ(interval(ControlId::Timer3), 2000);
  desk.advance(2000);
  EXPECT_TRUE(hostedInFrame(windowCaptioned("My Chrome")));
}

TEST_F(LoaderTest, TheTitleIsReadFromTheTitleBoxAtTheTick) {
  install("C:\\Tools\\a.exe", "Renamed");
  ASSERT_TRUE(load("C:\\Tools\\a.exe|Tool"));
  EXPECT_EQ(text(ControlId::cfg_txt), "C:\\Tools\\a.exe");
  EXPECT_EQ(text(ControlId::title_txt), "Tool");
  desk.click(idx(ControlId::setCfgPic));
  desk.typeText(idx(ControlId::title_txt), "Renamed");
  desk.advance(2000);
  EXPECT_TRUE(hostedInFrame(windowCaptioned("Renamed")));
}

TEST_F(LoaderTest, FirefoxFallsBackToItsDefaultCaptionWhenTheTitleBoxIsEmpty) {
  install("D:\\firefox.exe", "Mozilla Firefox");
  ASSERT_TRUE(load("D:\\firefox.exe|Mozilla Firefox"));
  desk.click(idx(ControlId::setCfgPic));
  desk.typeText(idx(ControlId::title_txt), "");
  desk.advance(2000);
  EXPECT_TRUE(hostedInFrame(windowCaptioned("Mozilla Firefox")));
}

TEST_F(LoaderTest, AnEmptyTitleCapturesNothingAndTheLaunchStaysPending) {
  install("C:\\Tools\\a.exe", "Tool");
  ASSERT_TRUE(load("C:\\Tools\\a.exe|"));
  EXPECT_EQ(text(ControlId::title_txt), "");
  desk.advance(2000);
  EXPECT_EQ(interval(ControlId::Timer3), 0);
  EXPECT_TRUE(state().hostedWindow.isNull());
  EXPECT_EQ(state().pendingLaunch, desk.launches().back().process);
  EXPECT_FALSE(hostedInFrame(windowCaptioned("Tool")));
}

TEST_F(LoaderTest, ABarePathKeepsTheTitleThePathFilledIn) {
  install("C:\\Program Files\\Mozilla Firefox\\firefox.exe", "Mozilla Firefox");
  ASSERT_TRUE(load("C:\\Program Files\\Mozilla Firefox\\firefox.exe"));
  EXPECT_EQ(text(ControlId::title_txt), "Mozilla Firefox");
  desk.advance(2000);
  EXPECT_TRUE(hostedInFrame(windowCaptioned("Mozilla Firefox")));
}

TEST_F(LoaderTest, InternetExplorerIsLookedForAtOnce) {
  desk.createWindow(desk.newProcess(), "Windows Internet Explorer");
  desk.installProgram("C:\\IE\\iexplore.exe", {});  // opens no window of its own
  ASSERT_TRUE(load("C:\\IE\\iexplore.exe"));
  EXPECT_TRUE(hostedInFrame(windowCaptioned("Windows Internet Explorer")));
  EXPECT_FALSE(state().pendingLaunch.has_value());

  desk.createWindow(desk.newProcess(), "Intranet");
  ASSERT_TRUE(load("C:\\IE\\iexplore.exe|Intranet"));
  EXPECT_EQ(state().hostedWindow, windowCaptioned("Intranet"));
}

TEST_F(LoaderTest, AProgramThatCannotStartChangesNothingButTheTextBoxes) {
  install("C:\\Tools\\a.exe", "Tool");
  ASSERT_TRUE(load("C:\\Tools\\a.exe|Tool"));
  desk.advance(2000);
  const WindowHandle hosted = state().hostedWindow;
  ASSERT_FALSE(hosted.isNull());

  EXPECT_FALSE(load("C:\\Missing\\b.exe|Other"));
  EXPECT_EQ(state().hostedWindow, hosted);
  EXPECT_EQ(interval(ControlId::Timer3), 0);
  EXPECT_EQ(text(ControlId::cfg_txt), "C:\\Missing\\b.exe");
  EXPECT_EQ(text(ControlId::title_txt), "Other");
}

TEST_F(LoaderTest, ALaunchPendsApartFromTheHostedWindow) {
  install("C:\\Tools\\a.exe", "Tool");
  install("C:\\Tools\\b.exe", "Other", 3000);
  ASSERT_TRUE(load("C:\\Tools\\a.exe|Tool"));
  desk.advance(2000);
  const WindowHandle first = state().hostedWindow;
  ASSERT_TRUE(hostedInFrame(first));

  ASSERT_TRUE(load("C:\\Tools\\b.exe|Other"));
  EXPECT_TRUE(state().hostedWindow.isNull());
  ASSERT_TRUE(state().pendingLaunch.has_value());
  EXPECT_TRUE(state().hosting());
  // The window is not there yet at the tick: the launch goes on pending, and
  // the window hosted before stays in the frame.
  desk.advance(2000);
  EXPECT_TRUE(state().hostedWindow.isNull());
  EXPECT_TRUE(state().pendingLaunch.has_value());
  EXPECT_TRUE(hostedInFrame(first));
}

TEST_F(LoaderTest, ALaterCaptureLeavesTheEarlierWindowInTheFrame) {
  install("C:\\Tools\\a.exe", "Tool");
  install("C:\\Tools\\b.exe", "Other");
  ASSERT_TRUE(load("C:\\Tools\\a.exe|Tool"));
  desk.advance(2000);
  ASSERT_TRUE(load("C:\\Tools\\b.exe|Other"));
  desk.advance(2000);
  EXPECT_TRUE(hostedInFrame(windowCaptioned("Tool")));
  EXPECT_EQ(state().hostedWindow, windowCaptioned("Other"));
  // The hosted window is no longer top-level: its caption finds nothing.
  main.loader().embed("Other");
  EXPECT_TRUE(state().hostedWindow.isNull());
  EXPECT_TRUE(hostedInFrame(windowCaptioned("Other")));
}

TEST_F(LoaderTest, TheFrameIsNeverCapturedIntoItself) {
  main.loader().embed("Vitrolux");
  EXPECT_TRUE(state().hostedWindow.isNull());
  EXPECT_TRUE(desk.getParent(desk.frameWindow()).isNull());
}

TEST_F(LoaderTest, ArmingATimerAgainRestartsItsDelay) {
  install("C:\\Chrome\\chrome.exe", "新标签页 - Google Chrome", 50);
  ASSERT_TRUE(load("C:\\Chrome\\chrome.exe"));
  desk.advance(300);
  ASSERT_TRUE(load("C:\\Chrome\\chrome.exe"));
  desk.advance(300);
  EXPECT_TRUE(state().hostedWindow.isNull()) << "the second arming restarted the delay";
  desk.advance(100);
  EXPECT_FALSE(state().hostedWindow.isNull());
}

}  // namespace
}  // namespace vitrolux::testing
