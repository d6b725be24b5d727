// The pin, "前置" and "穿透"/"挡住".
#include "frame_fixture.h"

namespace vitrolux::testing {
namespace {

constexpr std::uint32_t kAcceptFiles = 0x10;
constexpr std::uint32_t kToolWindow = 0x80;
constexpr std::uint32_t kLayered = 0x80000;
constexpr std::uint32_t kTransparent = 0x20;

class StackingTest : public FrameTest {
 protected:
  void SetUp() override { desk.start(); }
  WindowHandle listed(const std::string& caption, std::uint32_t exStyle = 0) {
    const WindowHandle w = desk.createWindow(desk.newProcess(), caption);
    desk.window(w)->exStyle = exStyle;
    listWindow(w);
    return w;
  }
  std::uint32_t exStyle(WindowHandle w) { return desk.window(w)->exStyle & ~0x8u; }
};

TEST_F(StackingTest, ThePinUnpinsAndPinsTheFrameAndSaysSoInItsToolTip) {
  ASSERT_TRUE(isTopMost(desk.frameWindow()));
  EXPECT_EQ(control(ControlId::setTopMostBtn).toolTip, "置顶");
  desk.click(idx(ControlId::setTopMostBtn));
  EXPECT_FALSE(isTopMost(desk.frameWindow()));
  EXPECT_EQ(control(ControlId::setTopMostBtn).toolTip, "取消置顶");
  desk.click(idx(ControlId::setTopMostBtn));
  EXPECT_TRUE(isTopMost(desk.frameWindow()));
  EXPECT_EQ(control(ControlId::setTopMostBtn).toolTip, "置顶");
}

TEST_F(StackingTest, BringToFrontPinsTheSelectedWindowOnly) {
  const WindowHandle w = listed("Listed");
  desk.click(idx(ControlId::bringTopMostBtn));
  EXPECT_FALSE(isTopMost(w)) << "no row selected";
  selectRow(0);
  desk.click(idx(ControlId::bringTopMostBtn));
  EXPECT_TRUE(isTopMost(w));
  EXPECT_EQ(desk.topLevelWindows().front(), w);
}

TEST_F(StackingTest, ClickThroughAddsItsTwoStylesAndTakesBothAwayAgain) {
  const WindowHandle a = listed("A", kAcceptFiles | kToolWindow);

  // No row: the caption flips, no window changes.
  desk.click(idx(ControlId::penetrate_btn));
  EXPECT_EQ(text(ControlId::penetrate_btn), "挡住");
  EXPECT_EQ(exStyle(a), kAcceptFiles | kToolWindow);
  desk.click(idx(ControlId::penetrate_btn));
  EXPECT_EQ(text(ControlId::penetrate_btn), "穿透");

  selectRow(0);
  desk.click(idx(ControlId::penetrate_btn));
  EXPECT_EQ(exStyle(a), kAcceptFiles | kToolWindow | kLayered | kTransparent);
  // Newly layered, it is given full opacity so that it is still drawn.
  EXPECT_EQ(desk.layeredAlpha(a), std::optional<std::uint8_t>{255});
  EXPECT_TRUE(desk.isDrawn(a));
  EXPECT_EQ(text(ControlId::penetrate_btn), "挡住");

  // "挡住" on a window that is not click-through changes nothing.
  const WindowHandle b = listed("B", kAcceptFiles);
  selectRow(1);
  desk.click(idx(ControlId::penetrate_btn));
  EXPECT_EQ(exStyle(b), kAcceptFiles);
  EXPECT_EQ(text(ControlId::penetrate_btn), "穿透");

  // Both styles were ours: both go, the others stay.
  selectRow(0);
  desk.click(idx(ControlId::penetrate_btn));
  desk.click(idx(ControlId::penetrate_btn));
  EXPECT_EQ(exStyle(a), kAcceptFiles | kToolWindow);
  EXPECT_EQ(text(ControlId::penetrate_btn), "穿透");
}

// A faded window stays faded whichever came first, the fade or "穿透".
TEST_F(StackingTest, BlockingAgainKeepsTheFadeOfADigitKey) {
  const WindowHandle fadedFirst = listed("Faded first", kAcceptFiles);
  const WindowHandle fadedAfter = listed("Faded after", kAcceptFiles);

  selectRow(0);
  desk.keyDown('4');
  const std::optional<std::uint8_t> faded = desk.layeredAlpha(fadedFirst);
  ASSERT_TRUE(faded.has_value());
  ASSERT_LT(*faded, 255);
  desk.click(idx(ControlId::penetrate_btn));  // "穿透"
  EXPECT_EQ(exStyle(fadedFirst), kAcceptFiles | kLayered | kTransparent);
  desk.click(idx(ControlId::penetrate_btn));  // "挡住"
  EXPECT_EQ(exStyle(fadedFirst), kAcceptFiles | kLayered);
  EXPECT_EQ(desk.layeredAlpha(fadedFirst), faded);

  selectRow(1);
  desk.click(idx(ControlId::penetrate_btn));  // "穿透": layered by us
  desk.keyDown('4');
  ASSERT_EQ(desk.layeredAlpha(fadedAfter), faded);
  desk.click(idx(ControlId::penetrate_btn));  // "挡住"
  EXPECT_EQ(exStyle(fadedAfter), kAcceptFiles | kLayered);
  EXPECT_EQ(desk.layeredAlpha(fadedAfter), faded);
  EXPECT_TRUE(desk.isDrawn(fadedAfter));
}

// A window its program draws through the layered style (UpdateLayeredWindow)
// has no alpha of anyone's and shows nothing without that style.
TEST_F(StackingTest, AWindowLayeredByItsOwnProgramStaysLayeredAndUntouched) {
  const WindowHandle drawn = listed("Drawn layered", kLayered);
  desk.window(drawn)->drawsLayered = true;
  ASSERT_TRUE(desk.isDrawn(drawn));

  selectRow(0);
  desk.click(idx(ControlId::penetrate_btn));
  EXPECT_EQ(exStyle(drawn), kLayered | kTransparent);
  EXPECT_FALSE(desk.layeredAlpha(drawn).has_value()) << "an alpha stops its own drawing";
  desk.click(idx(ControlId::penetrate_btn));
  EXPECT_EQ(exStyle(drawn), kLayered);
  EXPECT_FALSE(desk.layeredAlpha(drawn).has_value());
  EXPECT_TRUE(desk.isDrawn(drawn)) << "blank without its layered style";
}

}  // namespace
}  // namespace vitrolux::testing
