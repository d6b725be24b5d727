// The see-through mode: the hot key, the frame letting the mouse through
// and given back as it was, the peek, a hot key another program holds, the
// hot key of hotkey.txt, and every exit from the mode.
#include <functional>
#include <utility>

#include "frame_fixture.h"

namespace vitrolux::testing {
namespace {

constexpr unsigned kDefaultModifiers =
    platform::kModControl | platform::kModAlt | platform::kModShift;
constexpr std::uint32_t kLayered = 0x80000;
constexpr std::uint32_t kTransparent = 0x20;
constexpr unsigned kPeekTimer = 4;

class SeeThroughTest : public FrameTest {
 protected:
  void SetUp() override {
    // A window of another program beneath the frame, where the mouse goes.
    beneath =
        desk.createWindow(desk.newProcess(), "Beneath", platform::kWsVisible, {0, 0, 1920, 1080});
    desk.setWindowPos(beneath, platform::kHwndBottom, 0, 0, 0, 0,
                      platform::kSwpNoMove | platform::kSwpNoSize);
  }
  void start() {
    desk.start();
    frame = desk.frameWindow();
  }
  void toggle() { desk.pressChord(kDefaultModifiers, 'G'); }
  std::uint32_t clickStyles() { return desk.window(frame)->exStyle & (kLayered | kTransparent); }
  std::optional<std::uint8_t> alpha() { return desk.layeredAlpha(frame); }
  platform::Point middle() {
    const platform::Rect r = desk.frameBounds();
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  platform::Point outside() { return {desk.frameBounds().right + 20, desk.frameBounds().top}; }
  WindowHandle hosted(const std::string& caption) {
    const WindowHandle w =
        desk.createWindow(desk.newProcess(), caption, platform::kWsVisible, {700, 100, 1000, 300});
    desk.window(w)->exStyle = 0x10;  // accepts dropped files, its own business
    main.loader().embed(w);
    EXPECT_TRUE(hostedInFrame(w));
    return w;
  }
  bool uiSaved() { return desk.files().file(appFile("ui.txt")).has_value(); }

  WindowHandle beneath;
  WindowHandle frame;
};

TEST_F(SeeThroughTest, WithoutAChosenLevelTheFrameFadesTo160AndLetsTheMouseThroughUntilAsked) {
  start();
  ASSERT_EQ(clickStyles(), 0u);
  ASSERT_EQ(desk.windowFromPoint(middle()), frame);
  ASSERT_TRUE(desk.frameHoldsHotKey(kDefaultModifiers, 'G'));

  // A press on the background gave the frame the capture, which would
  // still bring it the mouse.
  desk.frameMouseDown(platform::kLeftButton, 0, 2000, 300);
  ASSERT_TRUE(desk.frameHoldsCapture());

  toggle();
  EXPECT_EQ(clickStyles(), kLayered | kTransparent);
  EXPECT_EQ(alpha(), std::optional<std::uint8_t>(160));
  EXPECT_FALSE(desk.frameHoldsCapture());
  EXPECT_EQ(desk.windowFromPoint(middle()), beneath) << "the mouse still reaches the frame";
  // A click on the pin goes beneath: the frame stays pinned.
  desk.click(idx(ControlId::setTopMostBtn));
  EXPECT_TRUE(isTopMost(frame));
  EXPECT_FALSE(uiSaved()) << "the mode is not saved";

  toggle();
  EXPECT_EQ(clickStyles(), 0u) << "not layered again: it had no level";
  EXPECT_FALSE(alpha().has_value());
  EXPECT_EQ(desk.windowFromPoint(middle()), frame);
  desk.click(idx(ControlId::setTopMostBtn));
  EXPECT_FALSE(isTopMost(frame)) << "the pin takes clicks again";
}

TEST_F(SeeThroughTest, AChosenLevelIsTheSeeThroughLevelUnlessItIsOpaqueAndComesBackAfter) {
  start();
  desk.keyDown('4');  // 140
  toggle();
  EXPECT_EQ(alpha(), std::optional<std::uint8_t>(140));
  toggle();
  EXPECT_EQ(clickStyles(), kLayered);
  EXPECT_EQ(alpha(), std::optional<std::uint8_t>(140));

  desk.keyDown('0');  // 255: a see-through frame nobody could see through
  toggle();
  EXPECT_EQ(alpha(), std::optional<std::uint8_t>(160));
  // A digit while see-through is the level chosen: it shows at once and
  // stays after.
  desk.keyDown('2');  // 80
  EXPECT_EQ(alpha(), std::optional<std::uint8_t>(80));
  EXPECT_EQ(clickStyles(), kLayered | kTransparent);
  desk.keyDown('0');
  EXPECT_EQ(alpha(), std::optional<std::uint8_t>(160)) << "opaque, and still see-through";
  desk.keyDown('2');
  toggle();
  EXPECT_EQ(clickStyles(), kLayered);
  EXPECT_EQ(alpha(), std::optional<std::uint8_t>(80));
}

TEST_F(SeeThroughTest, AnUnpinnedFrameStaysUnpinnedAndTheHostedWindowIsNeverTouched) {
  start();
  const WindowHandle w = hosted("Hosted");
  const sim::SimWindow before = *desk.window(w);
  desk.click(idx(ControlId::setTopMostBtn));
  ASSERT_FALSE(isTopMost(frame));

  toggle();
  EXPECT_FALSE(isTopMost(frame));
  EXPECT_EQ(desk.windowFromPoint(middle()), beneath) << "the hosted window still takes the mouse";
  toggle();
  EXPECT_FALSE(isTopMost(frame));
  EXPECT_EQ(control(ControlId::setTopMostBtn).toolTip, "取消置顶");
  const sim::SimWindow& after = *desk.window(w);
  EXPECT_EQ(after.exStyle, before.exStyle);
  EXPECT_EQ(after.alpha, before.alpha);
  EXPECT_EQ(after.rect, before.rect);
  EXPECT_EQ(after.parent, frame);
}

TEST_F(SeeThroughTest, ThePointerRestingOnTheFrameShowsItOpaqueUntilItLeaves) {
  start();
  EXPECT_EQ(desk.systemTimers().count(kPeekTimer), 0u) << "the pointer is watched while off";
  toggle();
  ASSERT_EQ(desk.systemTimers().count(kPeekTimer), 1u);

  // Moving across the frame is not resting on it.
  platform::Point at = middle();
  for (int step = 0; step < 20; ++step) {
    at.x += 10;
    desk.movePointer(at);
    desk.advance(100);
    ASSERT_EQ(alpha(), std::optional<std::uint8_t>(160)) << "step " << step;
  }
  // Resting (within a few pixels) for half a second.
  desk.advance(300);
  desk.movePointer({at.x + 2, at.y - 2});
  EXPECT_EQ(alpha(), std::optional<std::uint8_t>(160));
  desk.advance(300);
  EXPECT_EQ(alpha(), std::optional<std::uint8_t>(255));
  EXPECT_EQ(clickStyles(), kLayered | kTransparent) << "the mouse still goes through";
  // Moving on the frame keeps it shown; leaving it fades it.
  desk.movePointer(middle());
  desk.advance(300);
  EXPECT_EQ(alpha(), std::optional<std::uint8_t>(255));
  desk.movePointer(outside());
  desk.advance(250);
  EXPECT_EQ(alpha(), std::optional<std::uint8_t>(160));

  // On time, however seldom the pointer is looked at: half a second after
  // it came to rest.
  desk.advance(1000);
  desk.movePointer(middle());
  desk.advance(490);
  EXPECT_EQ(alpha(), std::optional<std::uint8_t>(160));
  desk.advance(20);
  EXPECT_EQ(alpha(), std::optional<std::uint8_t>(255));
  desk.movePointer(outside());
  desk.advance(250);
  ASSERT_EQ(alpha(), std::optional<std::uint8_t>(160));

  // Shown when the hot key gives the frame back: it comes back as it was.
  desk.movePointer(middle());
  desk.advance(700);
  ASSERT_EQ(alpha(), std::optional<std::uint8_t>(255));
  toggle();
  EXPECT_EQ(clickStyles(), 0u);
  EXPECT_EQ(desk.systemTimers().count(kPeekTimer), 0u);
  toggle();
  EXPECT_EQ(alpha(), std::optional<std::uint8_t>(160)) << "still peeking from last time";
}

TEST_F(SeeThroughTest, AHotKeyAnotherProgramHoldsIsReportedOnceAndTheRestWorks) {
  desk.holdHotKeyElsewhere(kDefaultModifiers, 'G');
  start();
  ASSERT_EQ(desk.messagesShown().size(), 1u);
  const std::string& message = desk.messagesShown().front();
  EXPECT_NE(message.find("Ctrl+Alt+Shift+G"), std::string::npos) << message;
  EXPECT_NE(message.find("占用"), std::string::npos) << message;
  EXPECT_NE(control(ControlId::setTopMostBtn).toolTipNote.find("占用"), std::string::npos);

  toggle();
  EXPECT_EQ(clickStyles(), 0u);
  desk.keyDown('5');
  EXPECT_EQ(alpha(), std::optional<std::uint8_t>(160));
  desk.click(idx(ControlId::setTopMostBtn));
  EXPECT_FALSE(isTopMost(frame));
  desk.advance(5000);
  EXPECT_EQ(desk.messagesShown().size(), 1u);
}

TEST_F(SeeThroughTest, TheHotKeyOfHotkeyTxtReplacesTheDefaultAndThePinNamesIt) {
  desk.files().putFile(appFile("hotkey.txt"), " ctrl + alt + o \r\n");
  start();
  EXPECT_TRUE(desk.messagesShown().empty());
  EXPECT_EQ(control(ControlId::setTopMostBtn).toolTip, "置顶") << "the pin's state stays its tip";
  EXPECT_EQ(control(ControlId::setTopMostBtn).toolTipNote.rfind("Ctrl+Alt+O：", 0), 0u)
      << control(ControlId::setTopMostBtn).toolTipNote;
  toggle();
  EXPECT_EQ(clickStyles(), 0u) << "the default still works";
  desk.pressChord(platform::kModControl | platform::kModAlt, 'O');
  EXPECT_EQ(clickStyles(), kLayered | kTransparent);
  desk.pressChord(platform::kModControl | platform::kModAlt, 'O');
  EXPECT_EQ(clickStyles(), 0u);
}

TEST_F(SeeThroughTest, AHotkeyTxtThatNamesNoHotKeyIsReportedAndTheDefaultTaken) {
  desk.files().putFile(appFile("hotkey.txt"), "Ctrl+Q+W\r\n");
  start();
  ASSERT_EQ(desk.messagesShown().size(), 1u);
  EXPECT_NE(desk.messagesShown().front().find("Ctrl+Q+W"), std::string::npos);
  EXPECT_NE(desk.messagesShown().front().find("Ctrl+Alt+Shift+G"), std::string::npos);
  toggle();
  EXPECT_EQ(clickStyles(), kLayered | kTransparent);
}

TEST_F(SeeThroughTest, EscWhileSeeThroughGivesTheHostedWindowBackUntouchedAndEnds) {
  start();
  const WindowHandle w = hosted("Hosted");
  toggle();
  ASSERT_EQ(clickStyles(), kLayered | kTransparent);
  desk.keyDown(platform::kVkEscape);
  EXPECT_TRUE(desk.ended());
  EXPECT_TRUE(desk.getParent(w).isNull());
  EXPECT_EQ(desk.window(w)->exStyle & ~platform::kWsExTopMost, 0x10u);
  EXPECT_FALSE(desk.layeredAlpha(w).has_value());
  EXPECT_FALSE(desk.frameHoldsHotKey(kDefaultModifiers, 'G'));
}

TEST_F(SeeThroughTest,
       AnExitThatWaitsForAHungWindowLeavesTheFrameNeitherSeeThroughNorHoldingTheKey) {
  const std::pair<const char*, std::function<void(sim::SimDesktop&)>> exits[] = {
      {"Esc", [](sim::SimDesktop& d) { d.keyDown(platform::kVkEscape); }},
      {"close request", [](sim::SimDesktop& d) { d.closeFrame(); }},
  };
  for (const auto& [name, exit] : exits) {
    SCOPED_TRACE(name);
    sim::SimDesktop d;
    app::Main m{d.ports()};
    d.connect(m);
    d.start();
    const WindowHandle w =
        d.createWindow(d.newProcess(), "Hung", platform::kWsVisible, {700, 100, 1000, 300});
    m.loader().embed(w);
    d.pressChord(kDefaultModifiers, 'G');
    // The close button is out of reach: the mouse goes beneath.
    d.controlMouseDown(model::index(ControlId::close_btn), platform::kLeftButton, 0, 10, 10);
    ASSERT_TRUE(d.frameShown());
    d.setHung(w, true);

    exit(d);
    ASSERT_FALSE(d.ended());
    EXPECT_FALSE(d.frameShown());
    EXPECT_EQ(d.window(d.frameWindow())->exStyle & (kLayered | kTransparent), 0u);
    EXPECT_FALSE(d.frameHoldsHotKey(kDefaultModifiers, 'G')) << "a new start could not take it";
    EXPECT_EQ(d.systemTimers().count(kPeekTimer), 0u);

    d.setHung(w, false);
    d.advance(500);
    EXPECT_TRUE(d.ended());
    EXPECT_TRUE(d.getParent(w).isNull());
    EXPECT_EQ(d.window(w)->exStyle & ~platform::kWsExTopMost, 0u);
    EXPECT_FALSE(d.layeredAlpha(w).has_value());
  }
}

}  // namespace
}  // namespace vitrolux::testing
