// Launching programs and capturing their windows into the frame.

#include "frame_fixture.h"
#include "model/hosted_fit.h"
#include "model/text.h"

namespace vitrolux::testing {
namespace {

class LoaderTest : public FrameTest {
 protected:
  void SetUp() override {
    desk.start();
    ASSERT_TRUE(desk.frameShown());
  }
  bool load(const std::string& entry) { return loadEntry(entry); }
  int interval(ControlId timer) const { return control(timer).interval; }
};

TEST_F(LoaderTest, EachKindOfEntryIsCapturedByItsOwnRule) {
  install("C:\\Chrome\\chrome.exe", "新标签页 - Google Chrome");
  install("C:\\Program Files\\Mozilla Firefox\\firefox.exe", "Mozilla Firefox");
  install("C:\\Tools\\a.exe", "Tool");

  ASSERT_TRUE(load("C:\\Chrome\\chrome.exe|Whatever the title"));
  EXPECT_EQ(interval(ControlId::chrome_timer), 400);
  ASSERT_TRUE(load("C:\\Program Files\\Mozilla Firefox\\firefox.exe|Mozilla Firefox"));
  EXPECT_EQ(interval(ControlId::firefox_timer), 2000);
  ASSERT_TRUE(load("C:\\Tools\\a.exe|Tool"));
  EXPECT_EQ(interval(ControlId::other_app_timer), 2000);
}

TEST_F(LoaderTest, AnEntryNamingBothChromeAndIexploreIsAChromeEntry) {
  install("C:\\chrome\\iexplore.exe", "新标签页 - Google Chrome");
  desk.createWindow(desk.newProcess(), "Intranet");
  ASSERT_TRUE(load("C:\\chrome\\iexplore.exe|Intranet"));
  // Not captured at once by its title, as an Internet Explorer entry would be.
  EXPECT_TRUE(state().hostedWindow.isNull());
  EXPECT_EQ(interval(ControlId::chrome_timer), 400);
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
  EXPECT_EQ(interval(ControlId::chrome_timer), 0) << "one attempt only";
}

TEST_F(LoaderTest, ACapturedWindowSitsBelowTheTitleStripWithTheFramesSize) {
  install("C:\\Tools\\a.exe", "Tool");
  ASSERT_TRUE(load("C:\\Tools\\a.exe|Tool"));
  desk.advance(2000);
  const WindowHandle tool = windowCaptioned("Tool");
  ASSERT_TRUE(hostedInFrame(tool));
  EXPECT_EQ(desk.window(tool)->rect, (platform::Rect{1, 22, 1 + 645, 22 + 408}));
}

TEST_F(LoaderTest, TheFitGrowsWithTheDisplaysScale) {
  // The stored frame, 9675 x 6495 twips, at each DPI: its pixels, then the
  // fit with the offsets (1, 22) and the room of 25 pixels scaled, halves
  // to even.
  struct Case {
    int dpi;
    platform::Size frame;
    platform::Rect fit;
  };
  const Case cases[] = {
      {96, {645, 433}, {1, 22, 1 + 645, 22 + 408}},
      {120, {806, 541}, {1, 28, 1 + 806, 28 + 510}},
      {144, {968, 650}, {2, 33, 2 + 968, 33 + 612}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dpi);
    sim::SimDesktop screen;
    screen.setDpi(c.dpi);
    app::Main frame{screen.ports()};
    screen.connect(frame);
    screen.start();
    sim::Program tool;
    tool.caption = "Tool";
    screen.installProgram("C:\\Tools\\a.exe", tool);
    ASSERT_TRUE(frame.loader().loadApp(model::splitEntry("C:\\Tools\\a.exe|Tool")));
    screen.advance(2000);
    const WindowHandle hosted = frame.state().hostedWindow;
    ASSERT_FALSE(hosted.isNull());
    ASSERT_EQ(screen.frameBounds().width(), c.frame.cx);
    ASSERT_EQ(screen.frameBounds().height(), c.frame.cy);
    EXPECT_EQ(screen.window(hosted)->rect, c.fit);
  }
  // A frame lower than the room left at the bottom gives a window of no
  // height, never a negative one.
  EXPECT_EQ(model::hostedFit({500, 20}, 96), (platform::Rect{1, 22, 501, 22}));
}

TEST_F(LoaderTest, CaseMattersInTheCaptureRules) {
  // No lower-case "chrome": an ordinary program, captured by its own title.
  install("C:\\Apps\\Chrome\\run.exe", "My Chrome");
  ASSERT_TRUE(load("C:\\Apps\\Chrome\\run.exe|My Chrome"));
  EXPECT_EQ(interval(ControlId::chrome_timer), 0);
  EXPECT_EQ(interval(ControlId::other_app_timer), 2000);
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
  EXPECT_EQ(interval(ControlId::other_app_timer), 0);
  EXPECT_TRUE(state().hostedWindow.isNull());
  EXPECT_EQ(state().pendingLaunch, desk.launches().back().process);
  EXPECT_FALSE(hostedInFrame(windowCaptioned("Tool")));
  EXPECT_EQ(desk.messagesShown(), std::vector<std::string>{std::string(model::text::kMsgNoTitle)});
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

TEST_F(LoaderTest, AWindowTheSystemKeepsOffTheScreenIsNotTakenForItsCaption) {
  // A suspended store app with the caption lies above the window meant.
  const WindowHandle meant = desk.createWindow(desk.newProcess(), "Calculator");
  const WindowHandle suspended = desk.createWindow(desk.newProcess(), "Calculator");
  desk.window(suspended)->cloaked = true;
  ASSERT_EQ(desk.findWindow("Calculator"), suspended);
  desk.installProgram("C:\\IE\\iexplore.exe", {});
  ASSERT_TRUE(load("C:\\IE\\iexplore.exe|Calculator"));
  EXPECT_EQ(state().hostedWindow, meant);
  EXPECT_FALSE(hostedInFrame(suspended));
}

TEST_F(LoaderTest, AProgramThatCannotStartChangesNothingButTheTextBoxes) {
  install("C:\\Tools\\a.exe", "Tool");
  ASSERT_TRUE(load("C:\\Tools\\a.exe|Tool"));
  desk.advance(2000);
  const WindowHandle hosted = state().hostedWindow;
  ASSERT_FALSE(hosted.isNull());

  EXPECT_FALSE(load("C:\\Missing\\b.exe|Other"));
  EXPECT_EQ(desk.messagesShown(),
            std::vector<std::string>{"找不到这个程序：\nC:\\Missing\\b.exe"});
  EXPECT_EQ(state().hostedWindow, hosted);
  EXPECT_EQ(interval(ControlId::other_app_timer), 0);
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
}

TEST_F(LoaderTest, TheFrameIsNeverCapturedIntoItself) {
  main.loader().embed(desk.frameWindow());
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
