// Moving and sizing the frame by the mouse, the refit on a double click, and
// the resize event: the title strip and the refresh timer.
#include <optional>

#include "frame_fixture.h"
#include "model/hosted_fit.h"

namespace vitrolux::testing {
namespace {

using platform::Rect;

class GeometryTest : public FrameTest {
 protected:
  void SetUp() override {
    desk.start();
    ASSERT_EQ(desk.frameBounds().width(), 645);
    ASSERT_EQ(state().edgeWidth, 45);
  }

  // The hit-test code of the last WM_NCLBUTTONDOWN the frame sent itself.
  std::optional<int> sizingCode() {
    for (auto it = frame().received.rbegin(); it != frame().received.rend(); ++it) {
      if (it->message == platform::kWmNcLButtonDown && it->sent && it->lParam == 0) {
        return static_cast<int>(it->wParam);
      }
    }
    return std::nullopt;
  }
  sim::SimWindow& frame() { return *desk.window(desk.frameWindow()); }
  // The frame's cursor by the form designer's number.
  int cursorCode() const { return static_cast<int>(desk.frameCursor()); }
  void placeFrame(int left, int top, int width = 645, int height = 433) {
    desk.setWindowPos(desk.frameWindow(), platform::kHwndTop, left, top, width, height,
                      platform::kSwpNoZOrder | platform::kSwpNoActivate);
  }

  WindowHandle hostTool() {
    const WindowHandle tool = desk.createWindow(desk.newProcess(), "Tool");
    main.loader().embed(tool);
    return tool;
  }
};

// The frame is 9675 x 6495 twips and the band 45 twips wide; the tests are
// inclusive, corners first.
struct Zone {
  float x;
  float y;
  int hitTest;  // 0: no sizing, a left press starts a move
  int cursor;
};

TEST_F(GeometryTest, TheBandAlongTheEdgesSizesWithTheMatchingCodeAndCursor) {
  const Zone zones[] = {
      {9640, 30, 14, 6},    // top-right corner
      {5000, 30, 12, 7},    // top edge
      {5000, 6460, 15, 7},  // bottom edge: 6460 + 45 reaches 6495
      {45, 45, 13, 8},      // top-left corner, on the band's inner line
      {46, 46, 0, 0},       // just inside: the background
      {9640, 6460, 17, 8},  // bottom-right corner
      {20, 6460, 16, 6},    // bottom-left corner
      {20, 3000, 10, 9},    // left edge
      {9630, 3000, 11, 9},  // right edge: 9630 + 45 reaches 9675
      {9629, 3000, 0, 0},   // one twip short of it
      {5000, 7000, 15, 7},  // below the frame while the mouse is held
  };
  for (const Zone& z : zones) {
    SCOPED_TRACE(::testing::Message() << "at (" << z.x << ", " << z.y << ")");
    desk.frameMouseMove(0, 0, z.x, z.y);
    EXPECT_EQ(cursorCode(), z.cursor);

    frame().received.clear();
    desk.frameMouseDown(platform::kLeftButton, 0, z.x, z.y);
    desk.frameMouseUp(platform::kLeftButton, 0, z.x, z.y);
    if (z.hitTest == 0) {
      EXPECT_FALSE(sizingCode().has_value());
    } else {
      EXPECT_EQ(sizingCode(), z.hitTest);
    }
  }
}

TEST_F(GeometryTest, AnyButtonSizesInTheBandButOnlyTheLeftMovesOutsideIt) {
  desk.frameMouseDown(platform::kRightButton, 0, 9640, 6460);
  EXPECT_EQ(sizingCode(), 17);

  placeFrame(200, 100);
  frame().received.clear();
  desk.frameMouseDown(platform::kRightButton, 0, 5000, 3000);
  desk.frameMouseMove(platform::kRightButton, 0, 5300, 3300);
  EXPECT_FALSE(sizingCode().has_value());
  EXPECT_EQ(desk.frameBounds().left, 200);
  EXPECT_EQ(desk.frameBounds().top, 100);
}

TEST_F(GeometryTest, ADragMovesTheFrameByThePointersTravel) {
  // The frame at 3000, 1500 twips; pressed at (2000, 300), moved to
  // (2150, 260): the frame goes to 3150, 1460 twips, that is 210 and 97.3
  // pixels.
  placeFrame(200, 100);
  desk.frameMouseDown(platform::kLeftButton, 0, 2000, 300);
  desk.frameMouseMove(platform::kLeftButton, 0, 2150, 260);
  EXPECT_EQ(desk.frameBounds(), (Rect{210, 97, 210 + 645, 97 + 433}));

  // Over the band the pointer only shows the sizing cursor...
  desk.frameMouseMove(platform::kLeftButton, 0, 9650, 1000);
  EXPECT_EQ(cursorCode(), 9);
  EXPECT_EQ(desk.frameBounds().left, 210);
  // ... and the next step outside it moves again, from where it was pressed.
  desk.frameMouseMove(platform::kLeftButton, 0, 2300, 300);
  EXPECT_EQ(cursorCode(), 0);
  EXPECT_EQ(desk.frameBounds().left, 210 + 20);
  EXPECT_EQ(desk.frameBounds().top, 97);

  desk.frameMouseUp(platform::kLeftButton, 0, 2300, 300);
  desk.frameMouseMove(0, 0, 2600, 600);
  EXPECT_EQ(desk.frameBounds().left, 230) << "released: the move is over";
  EXPECT_EQ(desk.frameBounds().width(), 645);
}

TEST_F(GeometryTest, AMoveEndsWhenTheFrameLosesTheMouseOrItsButtonCameUpElsewhere) {
  placeFrame(200, 100);
  // Another window takes the mouse (a dialog, a switch to another program):
  // the release may never come.
  desk.frameMouseDown(platform::kLeftButton, 0, 2000, 300);
  ASSERT_TRUE(desk.frameHoldsCapture());
  desk.loseCapture();
  desk.frameMouseMove(platform::kLeftButton, 0, 2300, 600);
  EXPECT_EQ(desk.frameBounds().left, 200);
  EXPECT_EQ(desk.frameBounds().top, 100);

  // The release went to another window: the pointer comes back without the
  // button, and the move is over for good.
  desk.frameMouseDown(platform::kLeftButton, 0, 2000, 300);
  desk.frameMouseMove(platform::kLeftButton, 0, 2150, 300);
  ASSERT_EQ(desk.frameBounds().left, 210);
  desk.frameMouseMove(0, 0, 2450, 600);
  desk.frameMouseMove(platform::kLeftButton, 0, 2600, 600);
  EXPECT_EQ(desk.frameBounds().left, 210);
  EXPECT_EQ(desk.frameBounds().top, 100);
}

TEST_F(GeometryTest, TheBandStaysThreePixelsWideOnADisplayOfAnotherScale) {
  desk.frameMouseMove(0, 0, 40, 3000);
  ASSERT_EQ(cursorCode(), 9);
  // Three pixels are 30 twips at 144 DPI.
  desk.setDpi(144);
  desk.frameMouseMove(0, 0, 40, 3000);
  EXPECT_EQ(cursorCode(), 0);
  desk.frameMouseMove(0, 0, 30, 3000);
  EXPECT_EQ(cursorCode(), 9);
}

TEST_F(GeometryTest, TheFrameFollowsThePointerOnEveryMonitor) {
  desk.setScreenSize({5760, 1080});
  // 2300 pixels are 34500 twips, beyond what 16 bits hold; and a monitor
  // left of the main one has negative coordinates.
  for (const int left : {2300, 4400, -1500}) {
    SCOPED_TRACE(left);
    placeFrame(left, 100);
    desk.frameMouseDown(platform::kLeftButton, 0, 1000, 1000);
    desk.frameMouseMove(platform::kLeftButton, 0, 1150, 1000);
    desk.frameMouseUp(platform::kLeftButton, 0, 1150, 1000);
    EXPECT_EQ(desk.frameBounds().left, left + 10);
    EXPECT_EQ(desk.frameBounds().top, 100);
  }
}

TEST_F(GeometryTest, ResizingCropsTheHostedWindowAndADoubleClickRefitsIt) {
  desk.frameDoubleClick();  // nothing hosted: nothing to fit, nothing fails
  const WindowHandle tool = hostTool();
  ASSERT_EQ(desk.window(tool)->rect, (Rect{1, 22, 646, 430}));

  placeFrame(300, 200, 500, 300);
  EXPECT_EQ(desk.window(tool)->rect, (Rect{1, 22, 646, 430})) << "cropped, not resized";
  desk.frameDoubleClick();
  EXPECT_EQ(desk.window(tool)->rect, (Rect{1, 22, 1 + 500, 22 + 275}));
}

TEST_F(GeometryTest, TheTitleStripEndsAtTheRightEdgeAfterEveryResize) {
  const int strip = idx(ControlId::title_strip);
  // Stored at 4200; the first showing puts it against the right edge.
  EXPECT_EQ(control(ControlId::title_strip).rect.left, 9675 - 2175);
  placeFrame(100, 100, 800, 433);
  EXPECT_EQ(main.controls()[strip].rect.left, 12000 - 2175);
  placeFrame(100, 100, 300, 200);
  EXPECT_EQ(main.controls()[strip].rect.left, 4500 - 2175);
}

TEST_F(GeometryTest, TheRefreshTimerRunsOnlyWhileTheFrameIsNotMinimised) {
  const auto interval = [&] { return control(ControlId::process_timer).interval; };
  EXPECT_EQ(interval(), 1500) << "armed by the first showing";
  desk.setFrameState(platform::WindowState::Minimized);
  EXPECT_EQ(interval(), 0);
  // Maximised straight from the taskbar: the timer is left as it was.
  desk.setFrameState(platform::WindowState::Maximized);
  EXPECT_EQ(interval(), 0);
  desk.setFrameState(platform::WindowState::Normal);
  EXPECT_EQ(interval(), 1500);
  desk.setFrameState(platform::WindowState::Maximized);
  EXPECT_EQ(interval(), 1500);
}

TEST(HostedFit, ADisplayThatReportsNoDpiFitsAsAt96) {
  EXPECT_EQ(model::hostedFit(platform::Size{645, 433}, 0), (Rect{1, 22, 646, 430}));
}

TEST(GeometryAt144Dpi, TheBandTheFitAndTheStripFollowTheDisplaysScale) {
  sim::SimDesktop desk;
  desk.setDpi(144);
  app::Main main{desk.ports()};
  desk.connect(main);
  desk.start();
  // 9675 x 6495 twips are 967.5 x 649.5 pixels at 144 DPI.
  ASSERT_EQ(desk.frameBounds().width(), 968);
  ASSERT_EQ(desk.frameBounds().height(), 650);
  EXPECT_EQ(main.state().edgeWidth, 30);

  const WindowHandle tool = desk.createWindow(desk.newProcess(), "Tool");
  main.loader().embed(tool);
  // Offsets 1.5 and 33, room 37.5 pixels, halves to even.
  EXPECT_EQ(desk.window(tool)->rect, (Rect{2, 33, 2 + 968, 33 + 612}));
  desk.setWindowPos(desk.frameWindow(), platform::kHwndTop, 0, 0, 1000, 700,
                    platform::kSwpNoMove | platform::kSwpNoZOrder | platform::kSwpNoActivate);
  desk.frameDoubleClick();
  EXPECT_EQ(desk.window(tool)->rect, (Rect{2, 33, 2 + 1000, 33 + 662}));
  EXPECT_EQ(main.control(ControlId::title_strip).rect.left, 10000 - 2175);

  // 10 twips to the pixel: a drag of 150 twips is 15 pixels.
  const Rect before = desk.frameBounds();
  desk.frameMouseDown(platform::kLeftButton, 0, 1000, 1000);
  desk.frameMouseMove(platform::kLeftButton, 0, 1150, 1000);
  EXPECT_EQ(desk.frameBounds().left, before.left + 15);
}

// The frame is per-monitor aware; the programs it hosts are aware of the
// scale in their own ways. Each keeps its way inside the frame, the system
// scaling its window for it, and the frame places it in its own pixels.
TEST(GeometryAt144Dpi, ProgramsOfEveryAwarenessKeepItInsideTheFrameAndFit) {
  sim::SimDesktop desk;
  desk.setDpi(144);
  app::Main main{desk.ports()};
  desk.connect(main);
  desk.start();
  for (const sim::DpiAwareness awareness :
       {sim::DpiAwareness::Unaware, sim::DpiAwareness::System, sim::DpiAwareness::PerMonitorV2}) {
    SCOPED_TRACE(static_cast<int>(awareness));
    const ProcessId program = desk.newProcess();
    desk.setAwareness(program, awareness);
    const WindowHandle window = desk.createWindow(program, "Tool");
    const WindowHandle other = desk.createWindow(program, "Its other window");
    main.loader().embed(window);
    ASSERT_EQ(desk.getParent(window), desk.frameWindow());
    EXPECT_EQ(desk.awarenessOf(window), awareness);
    EXPECT_EQ(desk.awarenessOf(other), awareness) << "its program was reset";
    EXPECT_EQ(desk.window(window)->rect, (Rect{2, 33, 2 + 968, 33 + 612}));
  }
}

}  // namespace
}  // namespace vitrolux::testing
