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
using Clock = std::chrono::steady_clock;

struct Adoption {
  HWND window = nullptr;
  std::chrono::milliseconds delay{};  // from the caption's appearance
};

// Watches for a top-level window with the caption to appear (created, or
// renamed to it) and for the frame to adopt it; nothing when it was not
// adopted within `timeout` of appearing. Watched closely: the figure is a
// few hundred milliseconds at most.
std::optional<Adoption> watchAdoption(const wchar_t* caption, HWND frame,
                                      std::chrono::milliseconds timeout) {
  const Clock::time_point giveUp = Clock::now() + 20s;
  HWND window = nullptr;
  while ((window = FindWindowW(nullptr, caption)) == nullptr) {
    if (Clock::now() > giveUp) return std::nullopt;
    Sleep(1);
  }
  const Clock::time_point appeared = Clock::now();
  while (parentOf(window) != frame) {
    if (Clock::now() - appeared > timeout) return std::nullopt;
    Sleep(1);
  }
  return Adoption{window,
                  std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - appeared)};
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
  ASSERT_TRUE(app.writeFile(program.presetFile,
                            narrow(exe) + " " + program.arguments + "|SlowTarget\r\n"));
  ASSERT_TRUE(app.start());
  HWND tile = app.control(program.tile);
  ASSERT_NE(tile, nullptr);
  const POINT at = centreOf(tile);
  ASSERT_TRUE(clickAt(at.x, at.y));

  const auto adoption = watchAdoption(L"SlowTarget", app.frame(), 2s);
  ASSERT_TRUE(adoption.has_value()) << "the late window was not adopted";
  EXPECT_LE(adoption->delay.count(), 300)
      << "adopted " << adoption->delay.count() << " ms after it appeared";
  RecordProperty("adoption_ms", static_cast<int>(adoption->delay.count()));
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
  const POINT at = centreOf(tile);
  ASSERT_TRUE(clickAt(at.x, at.y));
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
