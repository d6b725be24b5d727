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

TEST_F(StackingTest, ClickThroughAddsAndRemovesOnlyItsTwoStyles) {
  const WindowHandle a = listed("A", kAcceptFiles | kToolWindow);
  const WindowHandle b = listed("B", kAcceptFiles);

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
  EXPECT_EQ(text(ControlId::penetrate_btn), "挡住");

  // B was faded before: it keeps its level when it becomes click-through...
  selectRow(1);
  desk.keyDown(100);
  ASSERT_EQ(desk.layeredAlpha(b), std::optional<std::uint8_t>{100});
  desk.click(idx(ControlId::penetrate_btn));  // "挡住" on B, which is not click-through
  EXPECT_EQ(exStyle(b), kAcceptFiles);
  EXPECT_FALSE(desk.layeredAlpha(b).has_value()) << "opaque again without its layered style";
  EXPECT_EQ(exStyle(a), kAcceptFiles | kToolWindow | kLayered | kTransparent);
  desk.keyDown(100);
  desk.click(idx(ControlId::penetrate_btn));  // "穿透" on B
  EXPECT_EQ(exStyle(b), kAcceptFiles | kLayered | kTransparent);
  EXPECT_EQ(desk.layeredAlpha(b), std::optional<std::uint8_t>{100});

  // The caption now says "挡住": one click frees A.
  selectRow(0);
  desk.click(idx(ControlId::penetrate_btn));
  EXPECT_EQ(exStyle(a), kAcceptFiles | kToolWindow);
  EXPECT_EQ(text(ControlId::penetrate_btn), "穿透");
}

}  // namespace
}  // namespace vitrolux::testing
