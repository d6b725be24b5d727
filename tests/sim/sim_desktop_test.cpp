// The simulated desktop's own logic that the contract suite cannot reach:
// the virtual clock, the frame's life cycle and the simulated user.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "sim/sim_desktop.h"

namespace vitrolux::sim {
namespace {

using platform::ControlKind;

// Writes each event as a short line, and runs an optional action on timer
// ticks and on load, so tests can act from inside a handler.
class Recorder final : public platform::FrameEvents {
 public:
  std::vector<std::string> log;
  std::function<void(int)> onTick;
  std::function<void()> onLoaded;
  SimDesktop* desk = nullptr;

  void onLoad() override {
    log.push_back("load");
    if (onLoaded) onLoaded();
  }
  void onUnload(bool&) override { log.push_back("unload"); }
  void onDestroy() override { log.push_back("destroy"); }
  void onResize() override { log.push_back("resize"); }
  void onMouseDown(int, int, float, float) override { log.push_back("down"); }
  void onMouseMove(int, int, float, float) override {}
  void onMouseUp(int, int, float, float) override {}
  void onDoubleClick() override {}
  void onCaptureLost() override {}
  void onKeyDown(int, int) override {}
  void onClick(int control) override { log.push_back("click " + std::to_string(control)); }
  void onControlDoubleClick(int control) override {
    log.push_back("dblclick " + std::to_string(control));
  }
  void onControlMouseDown(int, int, int, float, float) override {}
  void onControlMouseMove(int, int, int, float, float) override {}
  void onControlMouseLeave(int) override {}
  void onTimer(int control) override {
    log.push_back("tick " + std::to_string(control) + " @" + std::to_string(desk->now()));
    if (onTick) onTick(control);
  }
  void onSystemTimer(unsigned id) override {
    log.push_back("sys " + std::to_string(id) + " @" + std::to_string(desk->now()));
  }
  void onEmergencyExit() override { log.push_back("emergency"); }
  void onDesktopWindowChanged(WindowHandle) override { log.push_back("window"); }
};

class SimTest : public ::testing::Test {
 protected:
  SimTest() {
    events.desk = &desk;
    timerA = addControl("a_timer", ControlKind::Timer);
    timerB = addControl("b_timer", ControlKind::Timer);
    panel = addControl("panel", ControlKind::Panel);
    button = addControl("in_panel", ControlKind::LabelButton, panel);
    list = addControl("list", ControlKind::ListBox);
    desk.connect(events, controls, platform::FrameLook{"Vitrolux", 9675, 6495, {}});
  }

  int addControl(const char* name, ControlKind kind, int container = platform::kNoContainer) {
    platform::Control c;
    c.name = name;
    c.kind = kind;
    c.container = container;
    return controls.add(c);
  }

  Recorder events;
  platform::ControlSet controls;
  SimDesktop desk;
  int timerA = 0, timerB = 0, panel = 0, button = 0, list = 0;
};

using Log = std::vector<std::string>;

// ---- Virtual clock -----------------------------------------------------------------

TEST_F(SimTest, TimersTickInTimeOrderWithTiesToTheOneArmedFirst) {
  desk.start();
  events.log.clear();
  controls.setInterval(timerB, 20);
  controls.setInterval(timerA, 10);
  desk.setSystemTimer(3, 1);  // raised to the 10 ms minimum
  EXPECT_FALSE(desk.setSystemTimer(0, 10)) << "a window's timer needs a nonzero id";
  desk.advance(20);
  EXPECT_EQ(events.log, (Log{"tick 0 @10", "sys 3 @10", "tick 1 @20", "tick 0 @20", "sys 3 @20"}));
  EXPECT_EQ(desk.now(), 20);
}

TEST_F(SimTest, HandlersMayStopOrRearmTheTimerThatTicks) {
  desk.start();
  events.log.clear();
  // A: one shot, stopped in its own tick. B: re-armed with a longer delay.
  events.onTick = [&](int control) {
    if (control == timerA) controls.setInterval(timerA, 0);
    if (control == timerB && desk.now() == 30) controls.setInterval(timerB, 100);
  };
  controls.setInterval(timerA, 15);
  controls.setInterval(timerB, 30);
  desk.advance(250);
  EXPECT_EQ(events.log, (Log{"tick 0 @15", "tick 1 @30", "tick 1 @130", "tick 1 @230"}));
}

TEST_F(SimTest, ArmingAgainRestartsTheDelay) {
  desk.start();
  events.log.clear();
  controls.setInterval(timerA, 2000);
  desk.advance(1500);
  controls.setInterval(timerA, 2000);
  desk.advance(1999);
  EXPECT_TRUE(events.log.empty());
  desk.advance(1);
  EXPECT_EQ(events.log, (Log{"tick 0 @3500"}));
}

TEST_F(SimTest, ProgramWindowAppearsOnTheClockUnlessTheProgramEnded) {
  Program slow;
  slow.caption = "Slow";
  slow.windowDelayMs = 300;
  desk.installProgram("C:\\Apps\\slow.exe", slow);
  Program quick;
  quick.caption = "Quick";
  desk.installProgram("C:\\Apps\\quick.exe", quick);

  ASSERT_TRUE(desk.startProcess("C:\\APPS\\QUICK.EXE", "quick", {}).process.has_value());
  EXPECT_FALSE(desk.findWindow("Quick").isNull());  // no delay: inside startProcess

  (void)desk.startProcess("C:\\Apps\\slow.exe", "slow", {});
  const auto gone = desk.startProcess("C:\\Apps\\slow.exe", "slow", {}).process;
  desk.endProcess(*gone);
  desk.advance(299);
  EXPECT_TRUE(desk.findWindow("Slow").isNull());
  desk.advance(1);
  const WindowHandle w = desk.findWindow("Slow");
  ASSERT_FALSE(w.isNull());
  EXPECT_EQ(desk.windowRect(w), (Rect{200, 150, 840, 630}));
  // Only one of the two slow starts lived to open its window.
  int slowWindows = 0;
  for (WindowHandle h : desk.topLevelWindows()) slowWindows += desk.window(h)->caption == "Slow";
  EXPECT_EQ(slowWindows, 1);
  EXPECT_EQ(desk.launches().size(), 3u);
}

// ---- The frame -------------------------------------------------------------------

TEST_F(SimTest, FrameIsCentredAtItsTwipSizeAndShownAfterLoad) {
  desk.setDpi(144);
  desk.setScreenSize({2560, 1440});
  events.onLoaded = [&] { EXPECT_FALSE(desk.frameShown()); };
  desk.start();
  // 9675 x 6495 twips at 144 DPI: 967.5 -> 968 (to even) and 649.5 -> 650.
  EXPECT_EQ(desk.frameBounds(), (Rect{796, 395, 796 + 968, 395 + 650}));
  EXPECT_TRUE(desk.frameShown());
  EXPECT_EQ(events.log, (Log{"load", "resize"}));

  // Only a change of size is a resize.
  const Rect r = desk.frameBounds();
  desk.setWindowPos(desk.frameWindow(), platform::kHwndTop, 5, 5, r.width(), r.height(), 0);
  desk.setWindowPos(desk.frameWindow(), platform::kHwndTop, 5, 5, 300, 200, 0);
  EXPECT_EQ(events.log, (Log{"load", "resize", "resize"}));
}

TEST_F(SimTest, EndingDuringLoadNeitherShowsNorResizes) {
  events.onLoaded = [&] { desk.endProgram(); };
  desk.start();
  EXPECT_TRUE(desk.ended());
  EXPECT_EQ(events.log, (Log{"load"}));
  EXPECT_FALSE(desk.isWindow(desk.frameWindow()));
}

TEST_F(SimTest, ClosingTakesForeignWindowsInsideTheFrameAlong) {
  desk.start();
  const ProcessId other = desk.newProcess();
  const WindowHandle inside = desk.createWindow(other, "Inside");
  const WindowHandle outside = desk.createWindow(other, "Outside");
  ASSERT_TRUE(desk.setParent(inside, desk.frameWindow()));
  controls.setInterval(timerA, 10);

  events.log.clear();
  desk.closeFrame();
  // The frame's window hears of its destruction while what lives in it is
  // still there to be given back.
  EXPECT_EQ(events.log, (Log{"unload", "destroy"}));
  EXPECT_TRUE(desk.ended());
  EXPECT_FALSE(desk.isWindow(desk.frameWindow()));
  EXPECT_FALSE(desk.isWindow(inside));
  EXPECT_TRUE(desk.isWindow(outside));
  // Nothing reaches the frame once it has ended.
  const std::size_t seen = events.log.size();
  desk.advance(100);
  desk.click(button);
  EXPECT_EQ(events.log.size(), seen);
}

TEST_F(SimTest, MaximisingFillsTheScreenAndRestoringGivesTheOldBoundsBack) {
  desk.start();
  const Rect normal = desk.frameBounds();
  desk.setFrameState(platform::WindowState::Maximized);
  EXPECT_EQ(desk.frameBounds(), (Rect{0, 0, 1920, 1080}));
  desk.setFrameState(platform::WindowState::Normal);
  EXPECT_EQ(desk.frameBounds(), normal);
  EXPECT_EQ(events.log, (Log{"load", "resize", "resize", "resize"}));
}

// ---- The user and the system -------------------------------------------------------

TEST_F(SimTest, HiddenContainersAndTimersTakeNoInput) {
  desk.start();
  events.log.clear();
  desk.click(timerA);
  controls.setVisible(panel, false);
  desk.click(button);
  controls.setVisible(panel, true);
  desk.click(button);
  desk.doubleClick(list);
  desk.doubleClick(button);  // only list boxes have a double-click event
  EXPECT_EQ(events.log, (Log{"click 3", "dblclick 4"}));
}

TEST_F(SimTest, FilesAndProgramsFollowWindowsPathRules) {
  desk.addToSearchPath("C:\\First");
  desk.addToSearchPath("C:\\Second");
  desk.installProgram("C:\\Second\\tool.exe", Program{});
  desk.installProgram("C:\\First\\Tool.EXE", Program{});
  EXPECT_EQ(desk.findProgram("tool"), "C:\\First\\tool.exe");
  EXPECT_EQ(desk.findProgram("C:\\second\\TOOL"), "C:\\second\\TOOL.exe");

  SimFile hidden;
  hidden.hidden = true;
  SimFiles& files = desk.files();
  files.putFile("C:\\VitroluxTest\\ui.txt", "old", hidden);
  EXPECT_TRUE(files.replaceFile("c:\\vitroluxtest\\UI.TXT", "new"));
  EXPECT_FALSE(files.file("C:\\VitroluxTest\\ui.txt")->hidden);
  files.setFolderReadOnly("C:\\VitroluxTest", true);
  EXPECT_FALSE(files.replaceFile("C:\\VitroluxTest\\ui.txt", "newer"));
  EXPECT_FALSE(files.replaceFile("C:\\VitroluxTest\\config.txt", "x"));
  EXPECT_EQ(files.file("C:\\VitroluxTest\\ui.txt")->bytes, "new");
}

// ---- Windows facts: DPI awareness and joined input ------------------------

TEST_F(SimTest, AFrameWithMixedHostingTakesChildrenOfAnyAwarenessAsTheyAre) {
  desk.start();
  EXPECT_EQ(desk.awarenessOf(desk.frameWindow()), DpiAwareness::PerMonitorV2);
  const ProcessId program = desk.newProcess();
  const WindowHandle w = desk.createWindow(program, "Unaware");
  ASSERT_EQ(desk.awarenessOf(w), DpiAwareness::Unaware);
  EXPECT_TRUE(desk.setParent(w, desk.frameWindow()));
  EXPECT_EQ(desk.awarenessOf(w), DpiAwareness::Unaware);
}

TEST_F(SimTest, WithoutMixedHostingAnotherProgramIsResetAndAWindowOfOursRefused) {
  desk.setMixedDpiHosting(false);
  desk.start();
  const ProcessId program = desk.newProcess();
  desk.setAwareness(program, DpiAwareness::System);
  const WindowHandle w = desk.createWindow(program, "System aware");
  const WindowHandle sibling = desk.createWindow(program, "Its other window");
  EXPECT_TRUE(desk.setParent(w, desk.frameWindow()));
  EXPECT_EQ(desk.awarenessOf(w), DpiAwareness::PerMonitorV2);
  EXPECT_EQ(desk.awarenessOf(sibling), DpiAwareness::PerMonitorV2) << "the whole program";

  desk.setAwareness(desk.ownProcess(), DpiAwareness::Unaware);
  const WindowHandle ours = desk.createWindow(desk.ownProcess(), "Ours, unaware");
  EXPECT_FALSE(desk.setParent(ours, desk.frameWindow()));
  EXPECT_TRUE(desk.getParent(ours).isNull());
}

TEST_F(SimTest, OnWindowsAHostedProgramsInputStaysJoinedAndAPressWaitsForIt) {
  desk.start();
  const ProcessId program = desk.newProcess();
  const WindowHandle w = desk.createWindow(program, "Hosted");
  EXPECT_FALSE(desk.inputJoined(program));
  ASSERT_TRUE(desk.setParent(w, desk.frameWindow()));
  EXPECT_TRUE(desk.inputJoined(program));
  EXPECT_FALSE(desk.separateInput(program));
  EXPECT_TRUE(desk.inputJoined(program));

  desk.clickIntoHosted(w);
  desk.setHung(w, true);
  desk.frameMouseDown(platform::kLeftButton, 0, 100, 100);
  EXPECT_EQ(std::count(events.log.begin(), events.log.end(), "down"), 0);
  EXPECT_EQ(desk.waitsOnHungPrograms(), 1);
  desk.setHung(w, false);
  EXPECT_EQ(std::count(events.log.begin(), events.log.end(), "down"), 1) << "nothing is lost";

  // Back on the desktop, it has its input to itself again.
  ASSERT_TRUE(desk.setParent(w, {}));
  EXPECT_FALSE(desk.inputJoined(program));
}

TEST_F(SimTest, UnderWineTheJoinIsUndoneAndAPressNeverWaits) {
  desk.setSeparatesJoinedInput(true);
  desk.start();
  const ProcessId program = desk.newProcess();
  const WindowHandle w = desk.createWindow(program, "Hosted");
  ASSERT_TRUE(desk.setParent(w, desk.frameWindow()));
  desk.clickIntoHosted(w);
  desk.setHung(w, true);
  desk.frameMouseDown(platform::kLeftButton, 0, 100, 100);
  EXPECT_EQ(std::count(events.log.begin(), events.log.end(), "down"), 1);
  EXPECT_EQ(desk.waitsOnHungPrograms(), 0);
  desk.setHung(w, false);
  // Wine keeps the join after the window has left, until it is undone.
  ASSERT_TRUE(desk.setParent(w, {}));
  EXPECT_TRUE(desk.inputJoined(program));
  EXPECT_TRUE(desk.separateInput(program));
  EXPECT_FALSE(desk.inputJoined(program));
}

}  // namespace
}  // namespace vitrolux::sim
