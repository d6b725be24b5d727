// A program whose window comes late is still adopted, through the launch
// tiles' presets: the launch waits after its first attempt and adopts the
// window as soon as it shows; a program that ends without a window ends the
// wait, and nothing is adopted later.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "driver/input.h"
#include "driver/target_log.h"
#include "driver/vitrolux_app.h"

namespace {

using namespace e2e;

// Whole milliseconds from the window's appearance to its adoption.
long long adoptionMs(const Adoption& adoption) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(adoption.delay).count();
}

struct SlowProgram {
  std::wstring tile;  // the tile's tool tip
  std::wstring presetFile;
  std::wstring exeName;
  std::string arguments;  // how its window comes late
};

class CaptureWait : public ::testing::TestWithParam<SlowProgram> {};

TEST_P(CaptureWait, AWindowShownAfterThreeSecondsIsAdoptedAsItShows) {
  const SlowProgram& program = GetParam();
  VitroluxApp app;
  const std::wstring exe = app.installTarget(program.exeName);
  ASSERT_TRUE(
      app.writeFile(program.presetFile, narrow(exe) + " " + program.arguments + "|SlowTarget\r\n"));
  ASSERT_TRUE(app.start());
  HWND tile = app.control(program.tile);
  ASSERT_NE(tile, nullptr);
  ASSERT_TRUE(clickCentre(tile));

  const auto adoption = watchAdoption(L"SlowTarget", app.frame(), 2s);
  ASSERT_TRUE(adoption.has_value()) << "the late window was not adopted";
  EXPECT_LE(adoptionMs(*adoption), 300)
      << "adopted " << adoptionMs(*adoption) << " ms after it appeared";
  RecordProperty("adoption_ms", static_cast<int>(adoptionMs(*adoption)));
  RECT place = windowRectOnScreen(adoption->window);
  MapWindowPoints(HWND_DESKTOP, app.frame(), reinterpret_cast<POINT*>(&place), 2);
  EXPECT_EQ(place.left, 1);
  EXPECT_EQ(place.top, 22);
}

INSTANTIATE_TEST_SUITE_P(
    Tiles, CaptureWait,
    ::testing::Values(
        // Looked for after 2 s, then waited for.
        SlowProgram{L"打开并装载Firefox", L"firefox.txt", L"slow.exe",
                    "--create-after-ms 3000 --caption SlowTarget"},
        SlowProgram{L"打开并装载Firefox", L"firefox.txt", L"renamed.exe",
                    "--caption Starting --rename-after-ms 3000 --rename-to SlowTarget"},
        // Looked for at once, at the launch, then waited for.
        SlowProgram{L"打开并装载Internet Explorer", L"ie.txt", L"iexplore.exe",
                    "--create-after-ms 3000 --caption SlowTarget"}));

TEST(CaptureWaitEnds, WhenTheProgramEndsWithoutAWindowNothingIsAdoptedLater) {
  VitroluxApp app;
  const std::wstring exe = app.installTarget(L"gone.exe");
  ASSERT_TRUE(app.writeFile(L"firefox.txt",
                            narrow(exe) + " --no-window --exit-after-ms 2500|GoneTarget\r\n"));
  ASSERT_TRUE(app.start());
  HWND tile = app.control(L"打开并装载Firefox");
  ASSERT_NE(tile, nullptr);
  ASSERT_TRUE(clickCentre(tile));
  // The program has ended by now, and with it the wait.
  Sleep(4000);

  TempFolder folder;
  const std::wstring log = folder.file(L"late.log");
  Process late = startTarget({L"--caption", L"GoneTarget", L"--log", log});
  ASSERT_TRUE(late);
  HWND window = TargetLog(log).waitForWindow("SHOWN");
  ASSERT_NE(window, nullptr);
  Sleep(1500);
  EXPECT_EQ(parentOf(window), nullptr) << "a window was adopted for a launch that had ended";
}

}  // namespace
