// The target program stands in for browsers and other programs in the
// hosting tests; they rely on it showing exactly the windows its command
// line asks for, when it asks for them, on its hanging when told to, and on
// its log. The list box and key cases also show that the driver's real
// input and list box helpers reach another process.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "driver/health.h"
#include "driver/input.h"
#include "driver/list_box.h"
#include "driver/screen.h"
#include "driver/target_log.h"
#include "driver/vitrolux_app.h"

namespace {

using namespace e2e;
using Clock = std::chrono::steady_clock;

std::chrono::milliseconds since(Clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
}

// A target started with --log, and its log.
struct LoggedTarget {
  explicit LoggedTarget(std::vector<std::wstring> args) {
    args.push_back(L"--log");
    args.push_back(log.path());
    process = startTarget(args);
  }
  TempFolder folder;
  TargetLog log{folder.file(L"target.log")};
  Process process;
};

// The colour on the screen at a point of the window's client area.
COLORREF clientPixel(HWND window, int x, int y) {
  POINT p{x, y};
  ClientToScreen(window, &p);
  return screenPixel(p.x, p.y);
}

bool answersWithin200ms(HWND window) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 200, &result) != 0;
}

HWND waitForWindow(const Process& p) {
  HWND found = nullptr;
  waitUntil(10s, [&] {
    auto windows = topLevelWindows(p.id());
    for (HWND w : windows) {
      if (sameClass(w, L"VitroluxE2ETarget")) found = w;
    }
    return found != nullptr;
  });
  return found;
}

struct StyleCase {
  const wchar_t* name;
  bool caption;  // WS_CAPTION
  bool border;   // WS_BORDER, which the task list requires
  bool toolWindow;
};

TEST(Target, ShowsTheRequestedCaptionAndStyle) {
  const StyleCase cases[] = {
      {L"overlapped", true, true, false},
      {L"popup", false, false, false},
      {L"popup-border", false, true, false},
      {L"tool", true, true, true},
  };
  for (const StyleCase& c : cases) {
    SCOPED_TRACE(narrow(c.name));
    const std::wstring caption = L"新标签页 - Google Chrome";
    Process target = startTarget({L"--caption", caption, L"--style", c.name});
    ASSERT_TRUE(target);
    HWND window = waitForWindow(target);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(waitUntil(5s, [&] { return IsWindowVisible(window) != FALSE; }));
    EXPECT_EQ(windowText(window), caption);
    EXPECT_EQ((style(window) & WS_CAPTION) == WS_CAPTION, c.caption);
    EXPECT_EQ((style(window) & WS_BORDER) != 0, c.border);
    EXPECT_EQ((exStyle(window) & WS_EX_TOOLWINDOW) != 0, c.toolWindow);
  }
}

TEST(Target, HiddenWindowExistsButIsNotShownAndExitsWhenAsked) {
  Process target = startTarget({L"--hidden", L"--exit-after-ms", L"1500"});
  ASSERT_TRUE(target);
  HWND window = waitForWindow(target);
  ASSERT_NE(window, nullptr);
  EXPECT_FALSE(IsWindowVisible(window));
  EXPECT_TRUE(target.waitForExit(10s));
  EXPECT_EQ(target.exitCode(), 0u);
}

TEST(Target, LogsReadinessThenEveryKeyMessageItReceives) {
  TempFolder folder;
  const std::wstring log = folder.file(L"keys.log");
  Process target = startTarget({L"--caption", L"keys", L"--log", log});
  ASSERT_TRUE(target);
  HWND window = waitForWindow(target);
  ASSERT_NE(window, nullptr);

  PostMessageW(window, WM_KEYDOWN, VK_F5, 0x003F0001);
  PostMessageW(window, WM_KEYUP, VK_F5, static_cast<LPARAM>(0xC03F0001));
  std::string text;
  EXPECT_TRUE(waitUntil(5s, [&] {
    text = readFileBytes(log).value_or("");
    return text.find("WM_KEYUP") != std::string::npos;
  })) << text;

  EXPECT_EQ(text.rfind("READY ", 0), 0u) << "the first line announces the window: " << text;
  EXPECT_NE(text.find("WM_KEYDOWN 0x74 0x3f0001\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("WM_KEYUP 0x74 0xc03f0001\r\n"), std::string::npos) << text;
  EXPECT_LT(text.find("WM_KEYDOWN 0x74"), text.find("WM_KEYUP 0x74")) << text;
}

TEST(Target, ShowsItsWindowAndRenamesItOnlyWhenTheirDelaysRunOut) {
  LoggedTarget target({L"--caption", L"before", L"--show-after-ms", L"600", L"--rename-after-ms",
                       L"1200", L"--rename-to", L"after"});
  ASSERT_TRUE(target.process);
  HWND window = target.log.waitForWindow("READY");
  ASSERT_NE(window, nullptr);
  const Clock::time_point ready = Clock::now();
  EXPECT_FALSE(IsWindowVisible(window)) << "shown before its delay";

  ASSERT_EQ(target.log.waitForWindow("SHOWN"), window);
  EXPECT_GE(since(ready), 400ms);
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_EQ(windowText(window), L"before");
  // Mapped and painted, not only marked visible: the client area shows.
  EXPECT_TRUE(waitUntil(2s, [&] { return clientPixel(window, 50, 50) == RGB(255, 255, 255); }));

  ASSERT_EQ(target.log.waitForWindow("RENAMED"), window);
  EXPECT_GE(since(ready), 1000ms);
  EXPECT_EQ(windowText(window), L"after");
}

TEST(Target, EndsWithoutEverHavingAWindowWhenAskedForNone) {
  LoggedTarget target({L"--no-window", L"--exit-after-ms", L"800"});
  ASSERT_TRUE(target.process);
  const Clock::time_point started = Clock::now();
  size_t windows = 0;
  ASSERT_TRUE(waitUntil(10s, [&] {
    windows = std::max(windows, topLevelWindows(target.process.id()).size());
    return !target.process.running();
  }));
  EXPECT_GE(since(started), 600ms) << "ended before its time";
  EXPECT_EQ(windows, 0u);
  EXPECT_EQ(target.process.exitCode(), 0u);
  EXPECT_TRUE(target.log.lines().empty());
}

struct ExStyleCase {
  std::vector<std::wstring> args;
  LONG_PTR expected;  // bits that must be set
  bool topMost;
};

TEST(Target, AddsTheRequestedExtendedStyles) {
  const ExStyleCase cases[] = {
      {{L"--exstyle", L"0x10"}, WS_EX_ACCEPTFILES, false},
      {{L"--topmost"}, WS_EX_TOPMOST, true},
      // Added to the style's own extended style, not in its place.
      {{L"--style", L"tool", L"--exstyle", L"10", L"--topmost"},
       WS_EX_TOOLWINDOW | WS_EX_ACCEPTFILES | WS_EX_TOPMOST,
       true},
  };
  for (const ExStyleCase& c : cases) {
    std::wstring described;
    for (const std::wstring& arg : c.args) described += arg + L" ";
    SCOPED_TRACE(narrow(described));
    LoggedTarget target(c.args);
    HWND window = target.log.waitForWindow("SHOWN");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(exStyle(window) & c.expected, c.expected) << std::hex << exStyle(window);
    EXPECT_EQ(isTopMost(window), c.topMost);
    EXPECT_EQ(parentOf(window), nullptr);
  }

  // A layered window has no opacity until one is set; then it reads back.
  LoggedTarget layered({L"--exstyle", L"0x80000"});
  HWND window = layered.log.waitForWindow("SHOWN");
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(layeredAlpha(window), std::nullopt);
  ASSERT_TRUE(SetLayeredWindowAttributes(window, 0, 77, LWA_ALPHA));
  EXPECT_EQ(layeredAlpha(window), 77);
}

TEST(Target, HasIconsOfTheRequestedColour) {
  LoggedTarget target({L"--icon-color", L"12AB34"});
  HWND window = target.log.waitForWindow("SHOWN");
  ASSERT_NE(window, nullptr);
  const COLORREF colour = RGB(0x12, 0xAB, 0x34);
  // Its answers to ICON_SMALL and ICON_BIG and its class's small icon, as
  // it paints them.
  EXPECT_TRUE(waitUntil(2s, [&] { return clientPixel(window, 8, 8) == colour; }))
      << std::hex << clientPixel(window, 8, 8);
  EXPECT_EQ(clientPixel(window, 24, 8), colour);
  EXPECT_EQ(clientPixel(window, 48, 24), colour);
  EXPECT_EQ(clientPixel(window, 100, 100), RGB(255, 255, 255)) << "only the icons are coloured";

  PostMessageW(window, WM_GETICON, ICON_SMALL2, 0);
  EXPECT_TRUE(target.log.waitForLine([](auto line) { return line == "WM_GETICON 0x2"; }, 3s));

  // Windows shares icon handles between processes; Wine sends no
  // WM_GETICON to another process at all.
  if (!underWine()) {
    DWORD_PTR answer = 0;
    ASSERT_TRUE(
        SendMessageTimeoutW(window, WM_GETICON, ICON_SMALL, 0, SMTO_ABORTIFHUNG, 2000, &answer));
    EXPECT_EQ(answer, static_cast<DWORD_PTR>(GetClassLongPtrW(window, GCLP_HICONSM)));
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(reinterpret_cast<HICON>(answer), &info));
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = 16;
    format.bmiHeader.biHeight = -16;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    DWORD pixels[16 * 16] = {};
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetDIBits(screen, info.hbmColor, 0, 16, pixels, &format, DIB_RGB_COLORS), 16);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(pixels[5 * 16 + 7] & 0xFFFFFF, 0x12AB34u) << std::hex << pixels[5 * 16 + 7];
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
  }

  LoggedTarget plain({});
  HWND plainWindow = plain.log.waitForWindow("SHOWN");
  ASSERT_NE(plainWindow, nullptr);
  EXPECT_TRUE(waitUntil(2s, [&] { return clientPixel(plainWindow, 8, 8) == RGB(255, 255, 255); }))
      << "without a colour nothing is painted over the client area";
}

TEST(Target, StopsAnsweringForAsLongAsItHangs) {
  LoggedTarget target({});
  HWND window = target.log.waitForWindow("SHOWN");
  ASSERT_NE(window, nullptr);
  {
    ResponsivenessProbe probe(window);
    Sleep(300);
    probe.stop();
    EXPECT_TRUE(probe.keptAnswering()) << probe.summary();
  }

  ResponsivenessProbe probe(window);
  ASSERT_TRUE(PostMessageW(window, RegisterWindowMessageW(L"VitroluxE2E.Hang"), 1500, 0));
  ASSERT_TRUE(target.log.waitForLineStartingWith("HANGING", 3s));
  EXPECT_FALSE(answersWithin200ms(window));
  ASSERT_TRUE(target.log.waitForLineStartingWith("RESUMED", 5s));
  EXPECT_TRUE(responseTime(window, 1s)) << "answers again after the hang";
  probe.stop();
  EXPECT_FALSE(probe.keptAnswering()) << probe.summary();
  EXPECT_GE(probe.worst(), 250ms) << probe.summary();
}

struct HangCase {
  std::vector<std::wstring> args;
  bool delayed;  // answers at first, hangs after 700 ms
};

TEST(Target, HangsForGoodAtStartOrAfterItsDelay) {
  const HangCase cases[] = {{{L"--hang-at-start"}, false}, {{L"--hang-after-ms", L"700"}, true}};
  for (const HangCase& c : cases) {
    SCOPED_TRACE(narrow(c.args.front()));
    LoggedTarget target(c.args);
    HWND window = target.log.waitForWindow("SHOWN");
    ASSERT_NE(window, nullptr);
    const Clock::time_point shown = Clock::now();
    if (c.delayed) {
      EXPECT_TRUE(answersWithin200ms(window)) << "hung before its delay";
    }
    ASSERT_TRUE(target.log.waitForLineStartingWith("HANGING", 5s));
    if (c.delayed) {
      EXPECT_GE(since(shown), 500ms);
    }
    // Still on the screen, painted, and silent.
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(clientPixel(window, 50, 50), RGB(255, 255, 255));
    EXPECT_FALSE(answersWithin200ms(window));
    Sleep(500);
    EXPECT_FALSE(answersWithin200ms(window)) << "for good";
  }
}

TEST(Target, HangsInsideAnotherProgramsCallOnceArmed) {
  LoggedTarget target({L"--hang-in", L"style", L"--hang-for-ms", L"800"});
  HWND window = target.log.waitForWindow("SHOWN");
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(target.log.waitForLineStartingWith("ARMED", 3s));
  EXPECT_TRUE(answersWithin200ms(window)) << "armed, it still answers";
  // The call waits for the program, so it runs on a thread of its own.
  std::thread([window] {
    SetWindowLongPtrW(window, GWL_EXSTYLE, GetWindowLongPtrW(window, GWL_EXSTYLE) | WS_EX_LAYERED);
  }).detach();
  ASSERT_TRUE(target.log.waitForLineStartingWith("HANGING", 3s));
  EXPECT_FALSE(answersWithin200ms(window));
  ASSERT_TRUE(target.log.waitForLineStartingWith("RESUMED", 3s));
  EXPECT_TRUE(waitUntil(2s, [&] {
    return (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
  })) << "the call completes once it answers";
}

TEST(Target, BlockedInASendItAnswersSentMessagesButReadsNothingPosted) {
  LoggedTarget target({});
  HWND window = target.log.waitForWindow("SHOWN");
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(PostMessageW(window, RegisterWindowMessageW(L"VitroluxE2E.BlockInSend"), 1200, 0));
  ASSERT_TRUE(target.log.waitForLineStartingWith("BLOCKED", 3s));
  ASSERT_TRUE(PostMessageW(window, WM_KEYDOWN, VK_F5, 0));
  EXPECT_TRUE(answersWithin200ms(window));
  EXPECT_FALSE(IsHungAppWindow(window));
  Sleep(300);
  EXPECT_FALSE(target.log.contains("WM_KEYDOWN 0x74 0x0")) << "read a posted message while blocked";
  ASSERT_TRUE(target.log.waitForLineStartingWith("UNBLOCKED", 3s));
  EXPECT_TRUE(target.log.waitForLineStartingWith("WM_KEYDOWN 0x74", 2s));
}

TEST(Target, OpensTheRequestedNumberOfWindowsInOneProcess) {
  LoggedTarget target({L"--count", L"200", L"--caption", L"many", L"--rect", L"100,100,200,150"});
  ASSERT_NE(target.log.waitForWindow("SHOWN", 200), nullptr);
  const std::vector<HWND> windows = target.log.windows("READY");
  ASSERT_EQ(windows.size(), 200u);
  std::vector<HWND> shown;
  for (HWND w : topLevelWindows(target.process.id())) {
    if (IsWindowVisible(w)) shown.push_back(w);
  }
  EXPECT_EQ(shown.size(), 200u);

  struct Expected {
    size_t number;
    const wchar_t* caption;
    LONG left, top;
  };
  // Each 8 pixels further right and down, back at the start after 32.
  const Expected expected[] = {
      {1, L"many 1", 100, 100},   {2, L"many 2", 108, 108},     {32, L"many 32", 348, 348},
      {33, L"many 33", 100, 100}, {200, L"many 200", 156, 156},
  };
  for (const Expected& e : expected) {
    HWND w = windows[e.number - 1];
    EXPECT_EQ(windowText(w), e.caption);
    EXPECT_EQ(processOf(w), target.process.id());
    const RECT r = windowRectOnScreen(w);
    EXPECT_EQ(r.left, e.left) << e.number;
    EXPECT_EQ(r.top, e.top) << e.number;
  }
}

// The list box stands in for the task list: the driver reads its rows and
// picks them with real clicks, as the task list tests will.
TEST(Target, ListsRowsThatClicksAndTheDriverSelect) {
  std::wstring rows;
  for (int i = 0; i < 30; ++i) rows += (i ? L"|row " : L"row ") + std::to_wstring(i);
  LoggedTarget target({L"--list", rows, L"--rect", L"200,150,300,200"});
  HWND window = target.log.waitForWindow("SHOWN");
  ASSERT_NE(window, nullptr);
  HWND list = findDescendantByClass(window, L"ListBox");
  ASSERT_NE(list, nullptr);

  const std::vector<ListBoxRow> read = listBoxRows(list);
  ASSERT_EQ(read.size(), 30u);
  EXPECT_EQ(read[0], (ListBoxRow{L"row 0", 1000}));
  EXPECT_EQ(read[29], (ListBoxRow{L"row 29", 1029}));
  EXPECT_EQ(listBoxSelection(list), -1);

  const auto middle = [&](int row) {
    const RECT r = listBoxRowRect(list, row).value_or(RECT{});
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  };
  auto logged = [&](const char* line) {
    return target.log.waitForLine([&](auto l) { return l == line; }, 3s).has_value();
  };
  const POINT second = middle(2);
  ASSERT_TRUE(clickAt(second.x, second.y));
  EXPECT_TRUE(logged("LBN_SELCHANGE 2"));
  EXPECT_EQ(listBoxSelection(list), 2);

  const POINT third = middle(3);
  ASSERT_TRUE(doubleClickAt(third.x, third.y));
  EXPECT_TRUE(logged("LBN_DBLCLK 3"));

  ASSERT_TRUE(dragMouse(middle(0), middle(5)));
  EXPECT_TRUE(logged("LBN_SELCHANGE 5"));
  EXPECT_EQ(listBoxSelection(list), 5);

  ASSERT_TRUE(selectListBoxRow(list, 1));
  EXPECT_TRUE(logged("LBN_SELCHANGE 1"));
  EXPECT_EQ(listBoxSelection(list), 1);

  EXPECT_EQ(listBoxTopIndex(list), 0);
  SendMessageW(list, WM_VSCROLL, SB_PAGEDOWN, 0);
  EXPECT_GT(listBoxTopIndex(list), 0);
}

TEST(Target, LogsKeysTypedThroughTheSystemsInput) {
  LoggedTarget target({L"--caption", L"typed"});
  HWND window = target.log.waitForWindow("SHOWN");
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(SetForegroundWindow(window));
  ASSERT_TRUE(waitUntil(2s, [&] { return GetForegroundWindow() == window; }));

  ASSERT_TRUE(keyDown(VK_CONTROL));
  // The system takes the input in on its own time: the key state may
  // follow a moment after SendInput returns (once seen in a CI run).
  EXPECT_TRUE(waitUntil(1s, [] { return (GetAsyncKeyState(VK_CONTROL) & 0x8000) != 0; }))
      << "the key state says Ctrl is down";
  ASSERT_TRUE(keyUp(VK_CONTROL));
  ASSERT_TRUE(typeChord({VK_CONTROL, 'S'}));
  ASSERT_TRUE(pressKeys({VK_F5}));
  ASSERT_TRUE(target.log.waitForLineStartingWith("WM_KEYUP 0x74", 3s));

  std::vector<std::string> keys;
  for (const std::string& line : target.log.lines()) {
    if (line.rfind("WM_KEY", 0) == 0) keys.push_back(line.substr(0, line.rfind(' ')));
  }
  const std::vector<std::string> expected = {
      "WM_KEYDOWN 0x11", "WM_KEYUP 0x11", "WM_KEYDOWN 0x11", "WM_KEYDOWN 0x53",
      "WM_KEYUP 0x53",   "WM_KEYUP 0x11", "WM_KEYDOWN 0x74", "WM_KEYUP 0x74",
  };
  EXPECT_EQ(keys, expected);
}

// A launcher: it starts a copy of itself, which opens the window, and ends;
// a text box takes any text typed as Unicode key events.
TEST(Target, ALauncherStartsTheCopyThatOpensTheWindowAndItsTextBoxIsTypedInto) {
  LoggedTarget launcher({L"--launch", L"--edit --caption \"launched\""});
  ASSERT_TRUE(launcher.process);
  ASSERT_TRUE(launcher.process.waitForExit(10s));
  EXPECT_EQ(launcher.process.exitCode(), 0u);
  EXPECT_TRUE(topLevelWindows(launcher.process.id()).empty());
  ASSERT_TRUE(launcher.log.waitForLineStartingWith("LAUNCHED", 3s));
  const DWORD copy = std::stoul(launcher.log.lines().front().substr(9));
  HWND window = nullptr;
  ASSERT_TRUE(waitUntil(10s, [&] { return (window = visibleTopLevelWindow(copy)) != nullptr; }));
  EXPECT_EQ(windowText(window), L"launched");

  HWND box = findDescendantByClass(window, L"Edit");
  ASSERT_NE(box, nullptr);
  ASSERT_TRUE(SetForegroundWindow(window));
  ASSERT_TRUE(clickToType(box));
  ASSERT_TRUE(typeText(L"C:\\x_y-1.exe 新"));
  EXPECT_TRUE(waitUntil(2s, [&] { return windowText(box) == L"C:\\x_y-1.exe 新"; }))
      << narrow(windowText(box));
  PostMessageW(window, WM_CLOSE, 0, 0);
}

}  // namespace
