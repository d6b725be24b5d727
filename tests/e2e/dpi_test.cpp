// The frame on a display at 150 % (144 DPI), checked from outside against
// the real Vitrolux.exe: its size, its controls and the hosted window's fit
// follow the scale.
//
// Under Wine, scripts/wine-exec-at-dpi runs it in a prefix of its own set to
// that scale, so that it, Vitrolux and the targets all start at 144 DPI, as
// every program does on a real system. Elsewhere it runs only where the
// machine is at that scale.
#include <gtest/gtest.h>

#include "driver/screen.h"
#include "task_list_helpers.h"

namespace {

using namespace e2e;
using namespace e2e::tasks;

// This program itself reads other programs' windows in physical pixels, as
// a program aware of the scale does.
void readPhysicalPixels() {
  using SetContext = DPI_AWARENESS_CONTEXT(WINAPI*)(DPI_AWARENESS_CONTEXT);
  const auto set = reinterpret_cast<SetContext>(reinterpret_cast<void (*)()>(
      GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetThreadDpiAwarenessContext")));
  if (set != nullptr) set(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE);
}

void expectStripAtTheRightEdge(const VitroluxApp& app) {
  HWND strip = titleStrip(app);
  ASSERT_NE(strip, nullptr);
  EXPECT_EQ(windowRectOnScreen(strip).right, windowRectOnScreen(app.frame()).right);
}

TEST(Dpi, At144DpiTheFrameItsControlsAndTheFitAreScaled) {
  if (underWine()) {
    ASSERT_EQ(GetDpiForSystem(), 144u) << "run by scripts/wine-exec-at-dpi 144";
  } else if (GetDpiForSystem() != 144) {
    GTEST_SKIP() << "the display is not at 144 DPI";
  }
  readPhysicalPixels();
  VitroluxApp app;
  ASSERT_TRUE(app.start());
  HWND frame = app.frame();
  // 9675 x 6495 twips at 10 twips to the pixel.
  EXPECT_EQ(clientSize(frame).cx, 968);
  EXPECT_EQ(clientSize(frame).cy, 650);
  // "装载": 8145, 3480, 855 x 375 twips; its edges round on their own.
  const RECT load = placeIn(app.control(L"装载"), frame);
  EXPECT_EQ(load.left, 814);
  EXPECT_EQ(load.top, 348);
  EXPECT_EQ(load.right - load.left, 86);
  EXPECT_EQ(load.bottom - load.top, 38);
  HWND list = taskList(app);
  EXPECT_EQ(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0), 33);  // 334 twips
  expectStripAtTheRightEdge(app);

  Target target({L"--caption", L"e2e at 144 dpi"});
  const int row = waitForRow(list, target.window);
  ASSERT_GE(row, 0);
  ASSERT_TRUE(clickRow(list, row, true));
  ASSERT_TRUE(waitUntil(3s, [&] { return hostedIn(target.window, frame); }));
  // Offsets of 1.5 and 33 pixels and room of 37.5 below, halves to even.
  const RECT place = placeIn(target.window, frame);
  EXPECT_EQ(place.left, 2);
  EXPECT_EQ(place.top, 33);
  EXPECT_EQ(place.right - place.left, 968);
  EXPECT_EQ(place.bottom - place.top, 612);
  EXPECT_TRUE(app.close());
}

}  // namespace
