// The drawn title-bar buttons: hover images, minimise, full screen and
// back, close.
#include "app/title_bar.h"
#include "frame_fixture.h"
#include "model/pictures.h"

namespace vitrolux::testing {
namespace {

using platform::Picture;
namespace picture = model::picture;

TEST(FullScreenTwips, TheMonitorLess580TwipsInHeightAtItsTopLeft) {
  EXPECT_EQ(app::fullScreenTwips({0, 0, 1920, 1080}, 96),
            (platform::TwipsRect{0, 0, 28800, 15620}));
  EXPECT_EQ(app::fullScreenTwips({1920, -200, 3200, 824}, 96),
            (platform::TwipsRect{28800, -3000, 19200, 14780}));
  EXPECT_EQ(app::fullScreenTwips({0, 0, 1920, 1080}, 120),
            (platform::TwipsRect{0, 0, 23040, 12380}));
}

TEST(PointerOnButton, AllFourEdgesCountAsInside) {
  EXPECT_TRUE(app::pointerOnButton(0, 0, 480, 270));
  EXPECT_TRUE(app::pointerOnButton(480, 270, 480, 270));
  EXPECT_FALSE(app::pointerOnButton(-1, 10, 480, 270));
  EXPECT_FALSE(app::pointerOnButton(10, 271, 480, 270));
}

class TitleBarTest : public FrameTest {
 protected:
  void SetUp() override {
    desk.files().putFile(appFile("ui.txt"), "width=8000|||height=5000|||left=1500|||top=1500\r\n");
    desk.start();
    desk.advance(10);
    ASSERT_EQ(desk.frameBounds(), kSaved);
  }
  void press(ControlId button, int mouseButton = platform::kLeftButton) {
    desk.controlMouseDown(idx(button), mouseButton, 0, 10, 10);
  }
  std::string saved() { return desk.files().file(appFile("ui.txt"))->bytes; }

  const platform::Rect kSaved{100, 100, 633, 433};
};

TEST_F(TitleBarTest, HoverShowsTheBlueImageUntilThePointerLeaves) {
  struct Case {
    ControlId button;
    Picture normal;
    Picture hover;
  };
  for (const Case& c :
       {Case{ControlId::min_btn, picture::kMinNormal, picture::kMinHover},
        Case{ControlId::full_screen_btn, picture::kFullScreenNormal, picture::kFullScreenHover},
        Case{ControlId::close_btn, picture::kCloseNormal, picture::kCloseHover}}) {
    const platform::TwipsRect size = control(c.button).rect;
    desk.controlMouseMove(idx(c.button), 0, 0, static_cast<float>(size.width),
                          static_cast<float>(size.height));
    EXPECT_EQ(control(c.button).picture, c.hover);
    // Held down after a press on it, the button hears of the pointer outside.
    desk.controlMouseMove(idx(c.button), platform::kLeftButton, 0, -1, 5);
    EXPECT_EQ(control(c.button).picture, c.normal);
    desk.controlMouseMove(idx(c.button), 0, 0, 10, 10);
    desk.frameMouseMove(0, 0, 5000, 30);
    EXPECT_EQ(control(c.button).picture, c.normal) << "left for the background";
  }
  // From one button straight onto the next, then off the frame.
  desk.controlMouseMove(idx(ControlId::min_btn), 0, 0, 10, 10);
  desk.controlMouseMove(idx(ControlId::close_btn), 0, 0, 10, 10);
  EXPECT_EQ(control(ControlId::min_btn).picture, picture::kMinNormal);
  EXPECT_EQ(control(ControlId::close_btn).picture, picture::kCloseHover);
  desk.pointerLeavesFrame();
  EXPECT_EQ(control(ControlId::close_btn).picture, picture::kCloseNormal);
}

TEST_F(TitleBarTest, AnyButtonMinimisesAndAPressOnTheStripDoesNothing) {
  press(ControlId::title_strip);
  EXPECT_EQ(desk.frameBounds(), kSaved);
  press(ControlId::min_btn, platform::kRightButton);
  EXPECT_EQ(desk.frameState(), platform::WindowState::Minimized);
}

TEST_F(TitleBarTest, FullScreenFillsTheMonitorLessTheTaskBarAndComesBack) {
  // Unpinned by the user first: coming back pins the frame all the same.
  desk.click(idx(ControlId::setTopMostBtn));
  ASSERT_FALSE(isTopMost(desk.frameWindow()));
  desk.keyDown('5');

  press(ControlId::full_screen_btn);
  EXPECT_EQ(desk.frameBounds(), (platform::Rect{0, 0, 1920, 1041}));
  EXPECT_FALSE(isTopMost(desk.frameWindow()));
  EXPECT_EQ(saved(), "opacity=160|||width=7995|||height=4995|||left=1500|||top=1500\r\n");

  // The saved level comes back with the place.
  main.opacity().setOpacity(40, false);
  press(ControlId::full_screen_btn);
  EXPECT_EQ(desk.frameBounds(), kSaved);
  EXPECT_TRUE(isTopMost(desk.frameWindow()));
  EXPECT_EQ(desk.layeredAlpha(desk.frameWindow()), std::optional<std::uint8_t>{160});
  EXPECT_EQ(control(ControlId::setTopMostBtn).toolTip, "置顶") << "the pin shows the frame's state";
}

TEST_F(TitleBarTest, ThePinShowsTheFrameUnpinnedInFullScreenAndPinsItWithOneClick) {
  ASSERT_EQ(control(ControlId::setTopMostBtn).toolTip, "置顶");
  press(ControlId::full_screen_btn);
  ASSERT_FALSE(isTopMost(desk.frameWindow()));
  EXPECT_EQ(control(ControlId::setTopMostBtn).toolTip, "取消置顶");
  desk.click(idx(ControlId::setTopMostBtn));
  EXPECT_TRUE(isTopMost(desk.frameWindow()));
  EXPECT_EQ(control(ControlId::setTopMostBtn).toolTip, "置顶");
}

TEST_F(TitleBarTest, ALevelChosenInFullScreenDoesNotKeepTheFrameThere) {
  press(ControlId::full_screen_btn);
  // Saves the full-screen place over the one to come back to.
  desk.keyDown('1');
  ASSERT_EQ(saved(), "opacity=40|||width=28800|||height=15615|||left=0|||top=0\r\n");
  press(ControlId::full_screen_btn);
  EXPECT_EQ(desk.frameBounds(), kSaved);
  EXPECT_EQ(desk.layeredAlpha(desk.frameWindow()), std::optional<std::uint8_t>{40});
}

TEST_F(TitleBarTest, AFrameAsWideAsItsMonitorCountsAsFullScreen) {
  desk.setWindowPos(desk.frameWindow(), platform::kHwndTop, 0, 0, 1920, 600,
                    platform::kSwpNoZOrder);
  press(ControlId::full_screen_btn);
  EXPECT_EQ(desk.frameBounds(), kSaved);
}

TEST_F(TitleBarTest, FullScreenUsesTheMonitorThatHoldsTheFrame) {
  desk.setMonitors({{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}},
                    {{1920, -200, 3200, 824}, {1920, -200, 3200, 824}}});
  desk.setWindowPos(desk.frameWindow(), platform::kHwndTop, 2200, 100, 0, 0,
                    platform::kSwpNoSize | platform::kSwpNoZOrder);
  press(ControlId::full_screen_btn);
  EXPECT_EQ(desk.frameBounds(), (platform::Rect{1920, -200, 3200, 785}));
  press(ControlId::full_screen_btn);
  EXPECT_EQ(desk.frameBounds(), (platform::Rect{2200, 100, 2733, 433}));
}

TEST_F(TitleBarTest, CloseSavesGivesHostedWindowsBackAndEnds) {
  const WindowHandle hosted = desk.createWindow(desk.newProcess(), "Hosted");
  main.loader().embed(hosted);
  ASSERT_TRUE(hostedInFrame(hosted));
  press(ControlId::full_screen_btn);
  press(ControlId::close_btn, platform::kRightButton);
  EXPECT_TRUE(desk.ended());
  EXPECT_EQ(saved(), "width=28800|||height=15615|||left=0|||top=0\r\n")
      << "full screen is saved as it is";
  ASSERT_TRUE(desk.isWindow(hosted));
  EXPECT_TRUE(desk.getParent(hosted).isNull());
}

}  // namespace
}  // namespace vitrolux::testing
