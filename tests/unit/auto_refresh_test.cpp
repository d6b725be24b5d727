// The global key poll, the F5 mode's Ctrl-then-S state machine on the
// virtual clock, and where the F5 key press goes.
#include "frame_fixture.h"
#include "refresh/key_poll.h"

namespace vitrolux::testing {
namespace {

constexpr int kCtrl = 17;
constexpr int kShift = 16;
constexpr int kS = 83;
constexpr int kSpace = 32;
constexpr unsigned kActivate = 0x0006;
constexpr unsigned kKeyDown = 0x0100;
constexpr unsigned kKeyUp = 0x0101;
constexpr std::uintptr_t kF5 = 0x74;

TEST(FirstPressedKey, GivesTheLowestKeyFrom17To128ThatIsOrWasDown) {
  sim::SimDesktop desk;
  auto poll = [&] { return refresh::firstPressedKey(desk); };
  EXPECT_EQ(poll(), std::nullopt);
  desk.pressKey(kShift);
  EXPECT_EQ(poll(), std::nullopt) << "Shift lies below the scan";
  desk.pressKey(144);
  EXPECT_EQ(poll(), std::nullopt) << "Num Lock lies above it";
  desk.pressKey(kS);
  EXPECT_EQ(poll(), kS);
  desk.pressKey(kCtrl);
  EXPECT_EQ(poll(), kCtrl);
  desk.releaseKey(kCtrl);
  desk.releaseKey(kS);
  EXPECT_EQ(poll(), std::nullopt) << "both presses were seen already";
  desk.pressKey(112);
  EXPECT_EQ(poll(), 112);
  desk.releaseKey(112);
  EXPECT_EQ(poll(), std::nullopt);

  // A quick Ctrl+S between two polls: the scan stops at Ctrl, so S keeps
  // its "pressed since" bit for the next poll.
  desk.pressKey(kCtrl);
  desk.pressKey(kS);
  desk.releaseKey(kS);
  desk.releaseKey(kCtrl);
  EXPECT_EQ(poll(), kCtrl);
  EXPECT_EQ(poll(), kS);
  EXPECT_EQ(poll(), std::nullopt);
}

class AutoRefreshTest : public FrameTest {
 protected:
  void SetUp() override {
    desk.start();
    target = desk.createWindow(desk.newProcess(), "Page");
  }
  void host() {
    main.loader().embed(target);
    ASSERT_EQ(state().hostedWindow, target);
  }
  void modeOn() {
    desk.click(idx(ControlId::f5_btn));
    ASSERT_EQ(text(ControlId::f5_btn), "停止");
  }
  void down(int key, int thenMs = 50) {
    desk.pressKey(key);
    desk.advance(thenMs);
  }
  void up(int key, int thenMs = 50) {
    desk.releaseKey(key);
    desk.advance(thenMs);
  }
  // The F5 key presses the window received.
  int refreshes(WindowHandle w) {
    int downs = 0;
    int ups = 0;
    for (const sim::Message& m : desk.window(w)->received) {
      if (m.sent || m.wParam != kF5 || m.lParam != 0) continue;
      if (m.message == kKeyDown) ++downs;
      if (m.message == kKeyUp) ++ups;
    }
    EXPECT_EQ(downs, ups);
    return downs;
  }
  WindowHandle target;
};

TEST_F(AutoRefreshTest, TheButtonSwitchesTheModeAndItsTimer) {
  EXPECT_EQ(text(ControlId::f5_btn), "F5");
  EXPECT_TRUE(desk.systemTimers().empty());
  desk.click(idx(ControlId::f5_btn));
  EXPECT_EQ(text(ControlId::f5_btn), "停止");
  EXPECT_EQ(desk.systemTimers(), (std::map<unsigned, unsigned>{{3u, 1u}}));
  desk.click(idx(ControlId::f5_btn));
  EXPECT_EQ(text(ControlId::f5_btn), "F5");
  EXPECT_TRUE(desk.systemTimers().empty());
}

TEST_F(AutoRefreshTest, CtrlThenSPostsOneF5PairToTheHostedWindow) {
  host();
  modeOn();
  down(kCtrl);
  down(kS);
  up(kS);
  EXPECT_EQ(refreshes(target), 0) << "not while Ctrl is held";
  up(kCtrl);
  EXPECT_EQ(refreshes(target), 1);
  const std::vector<sim::Message>& got = desk.window(target)->received;
  ASSERT_EQ(got.size(), 2u) << "nothing else: no activation for a hosted window";
  EXPECT_EQ(got[0].message, kKeyDown);
  EXPECT_EQ(got[1].message, kKeyUp);
  EXPECT_FALSE(got[0].sent);
  EXPECT_EQ(text(ControlId::new_task_lbl), "");
}

TEST_F(AutoRefreshTest, ChordsThatCountAndChordsThatDoNot) {
  host();
  modeOn();
  // Both held for seconds: nothing; Ctrl released while S is held: one;
  // S kept down: no more.
  down(kCtrl);
  down(kS, 3000);
  EXPECT_EQ(refreshes(target), 0);
  up(kCtrl, 1000);
  EXPECT_EQ(refreshes(target), 1);
  up(kS);

  // Shift lies outside the scan: Ctrl+Shift+S counts.
  down(kCtrl);
  down(kShift);
  down(kS);
  up(kS);
  up(kShift);
  up(kCtrl);
  EXPECT_EQ(refreshes(target), 2);

  // Ctrl, then the space bar, then S: the space breaks the sequence.
  down(kCtrl);
  up(kCtrl);
  down(kSpace);
  up(kSpace);
  down(kS);
  up(kS);
  EXPECT_EQ(refreshes(target), 2);

  // Ctrl, a pause without keys, then S: ticks without a key do not count.
  down(kCtrl);
  up(kCtrl, 700);
  down(kS);
  up(kS);
  EXPECT_EQ(refreshes(target), 3);

  // S alone, after S: nothing.
  down(kS);
  up(kS);
  EXPECT_EQ(refreshes(target), 3);

  // A quick Ctrl+S between two ticks is still caught, once.
  desk.pressKey(kCtrl);
  desk.pressKey(kS);
  desk.releaseKey(kS);
  desk.releaseKey(kCtrl);
  desk.advance(100);
  EXPECT_EQ(refreshes(target), 4);
}

TEST_F(AutoRefreshTest, WhileNobodyTypesTheKeysAreNotAskedAgain) {
  host();
  modeOn();
  desk.advance(20);
  const int firstScans = desk.keyStateQueries();
  EXPECT_EQ(firstScans, 112) << "one whole scan, 17 to 128, found nothing";
  desk.advance(5000);
  EXPECT_EQ(desk.keyStateQueries(), firstScans) << "no input since: the answer stays empty";
  // The next input brings the scans back, and the chord is caught.
  down(kCtrl);
  up(kCtrl);
  down(kS);
  up(kS);
  EXPECT_EQ(refreshes(target), 1);
  EXPECT_GT(desk.keyStateQueries(), firstScans);
}

TEST_F(AutoRefreshTest, NothingIsSentWithTheModeOff) {
  host();
  down(kCtrl);
  up(kCtrl);
  down(kS);
  up(kS);
  modeOn();
  desk.click(idx(ControlId::f5_btn));
  down(kCtrl);
  up(kCtrl);
  down(kS);
  up(kS);
  EXPECT_EQ(refreshes(target), 0);
}

TEST_F(AutoRefreshTest, WithNothingHostedTheSelectedWindowIsActivatedThenRefreshed) {
  listAndSelect(target);
  modeOn();
  down(kCtrl);
  up(kCtrl);
  down(kS);
  up(kS);
  EXPECT_EQ(text(ControlId::new_task_lbl), std::to_string(target.value()));
  const std::vector<sim::Message>& got = desk.window(target)->received;
  ASSERT_EQ(got.size(), 3u);
  EXPECT_TRUE(got[0].sent);
  EXPECT_EQ(got[0].message, kActivate);
  EXPECT_EQ(got[0].wParam, 0u);
  EXPECT_EQ(got[0].lParam, 0);
  EXPECT_EQ(refreshes(target), 1);
}

TEST_F(AutoRefreshTest, AHungSelectedWindowIsNotWaitedForAndStillGetsTheKeys) {
  listAndSelect(target);
  desk.window(target)->hung = true;
  modeOn();
  down(kCtrl);
  up(kCtrl);
  down(kS);
  up(kS);
  EXPECT_EQ(refreshes(target), 1);
}

TEST_F(AutoRefreshTest, NoTargetOnlyEmptiesTheHeadingAndAPendingLaunchGetsNothing) {
  modeOn();
  down(kCtrl);
  up(kCtrl);
  down(kS);
  up(kS);
  EXPECT_EQ(text(ControlId::new_task_lbl), "");

  // A launch that awaits its capture: no window yet, and the selected row
  // is not the target while the frame is busy with that program.
  main.controls().setCaption(idx(ControlId::new_task_lbl), "新建任务");
  listAndSelect(target);
  install("C:\\Tools\\slow.exe", "Slow", 5000);
  ASSERT_TRUE(loadEntry("C:\\Tools\\slow.exe|Slow"));
  down(kCtrl);
  up(kCtrl);
  down(kS);
  up(kS);
  EXPECT_TRUE(desk.window(target)->received.empty());
  EXPECT_EQ(text(ControlId::new_task_lbl), "");
}

}  // namespace
}  // namespace vitrolux::testing
