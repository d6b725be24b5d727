// Window effects, key commands, the F5 mode and the title-bar buttons,
// checked from outside against the real Vitrolux.exe: what the user sees
// (styles, alpha, stacking, pixels) and what other programs receive.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <thread>

#include "driver/health.h"
#include "driver/input.h"
#include "driver/list_box.h"
#include "driver/screen.h"
#include "driver/target_log.h"
#include "driver/vitrolux_app.h"
#include "task_list_helpers.h"

namespace {

using namespace e2e;
using e2e::tasks::HostedTarget;
using e2e::tasks::ListedTarget;

constexpr int kFrameWidth = 645;
constexpr int kFrameHeight = 433;
constexpr COLORREF kHoverBlue = 0x009E5B17;
constexpr COLORREF kBlack = 0x00000000;

void sleepFor(std::chrono::milliseconds time) {
  std::this_thread::sleep_for(time);
}

// Makes the window the foreground window. For the frame: its own window
// then has the keyboard focus, as after a click on its background.
bool focusWindow(HWND window) {
  SetForegroundWindow(window);
  return waitUntil(3s, [&] { return GetForegroundWindow() == window; });
}

std::string uiFile(const VitroluxApp& app) {
  return app.readFile(L"ui.txt").value_or("(none)");
}

// Ctrl, then S while Ctrl is still down, Ctrl up before S. Under Wine a
// program that polls GetAsyncKeyState never sees another process's
// "pressed since the last query" bit, so S must still be down once Ctrl is
// up (see docs/testing.md); on Windows the usual order works too.
void typeCtrlS() {
  keyDown(VK_CONTROL);
  sleepFor(100ms);
  keyDown('S');
  sleepFor(100ms);
  keyUp(VK_CONTROL);
  sleepFor(100ms);
  keyUp('S');
  sleepFor(100ms);
}

int countLines(const TargetLog& log, const std::string& line) {
  int n = 0;
  for (const std::string& l : log.lines()) n += l == line ? 1 : 0;
  return n;
}

// ---- Opacity and the key commands ------------------------------------------

TEST(Keys, DigitsFadeTheFrameAndRewriteUiTxt) {
  VitroluxApp app;
  ASSERT_TRUE(app.start());
  HWND frame = app.frame();
  ASSERT_FALSE(layeredAlpha(frame).has_value());
  ASSERT_TRUE(focusWindow(frame));

  ASSERT_TRUE(pressKeys({'5'}));
  EXPECT_TRUE(waitUntil(3s, [&] { return layeredAlpha(frame) == BYTE{160}; }));
  EXPECT_NE(exStyle(frame) & WS_EX_LAYERED, 0);
  // Saved right after the fade shows.
  EXPECT_TRUE(waitUntil(2s, [&] { return uiFile(app).rfind("opacity=160|||width=", 0) == 0; }))
      << uiFile(app);

  ASSERT_TRUE(pressKeys({VK_NUMPAD5}));
  EXPECT_TRUE(waitUntil(3s, [&] { return layeredAlpha(frame) == BYTE{125}; }));
  EXPECT_TRUE(waitUntil(2s, [&] { return uiFile(app).rfind("opacity=125|||width=", 0) == 0; }))
      << uiFile(app);
}

TEST(Keys, ADigitTypedIntoTheOptionPanelIsTextAndTheTaskListPassesItOn) {
  VitroluxApp app;
  ASSERT_TRUE(app.start());
  HWND frame = app.frame();
  ASSERT_TRUE(clickCentre(app.control(L"选项")));
  HWND path = app.control(L"粘贴程序路径，下次自动装载");
  ASSERT_NE(path, nullptr);
  ASSERT_TRUE(waitUntil(3s, [&] { return IsWindowVisible(path) != FALSE; }));
  ASSERT_TRUE(clickToType(path));
  ASSERT_TRUE(pressKeys({'7'}));
  EXPECT_TRUE(waitUntil(3s, [&] { return windowText(path).find(L'7') != std::wstring::npos; }))
      << narrow(windowText(path));
  sleepFor(300ms);
  EXPECT_FALSE(layeredAlpha(frame).has_value()) << "the digit faded the frame";
  EXPECT_FALSE(app.readFile(L"ui.txt").has_value());

  HWND list = findDescendantByClass(frame, L"ListBox");
  ASSERT_NE(list, nullptr);
  ASSERT_TRUE(clickCentre(list));
  ASSERT_TRUE(pressKeys({'3'}));
  EXPECT_TRUE(waitUntil(3s, [&] { return layeredAlpha(frame) == BYTE{120}; }));
}

TEST(UiSettings, TheSavedLevelSizeAndPlaceComeShortlyAfterStart) {
  VitroluxApp app;
  ASSERT_TRUE(app.writeFile(L"ui.txt",
                            "opacity=200|||width=8000|||height=5000|||left=1500|||top=1500\r\n"));
  ASSERT_TRUE(app.start());
  HWND frame = app.frame();
  RECT r{};
  EXPECT_TRUE(waitUntil(3s,
                        [&] {
                          r = windowRectOnScreen(frame);
                          return r.left == 100 && r.top == 100 && layeredAlpha(frame) == BYTE{200};
                        }))
      << r.left << "," << r.top;
  EXPECT_EQ(r.right - r.left, 533);
  EXPECT_EQ(r.bottom - r.top, 333);
}

TEST(UiSettings, APlaceNoMonitorShowsBringsTheFrameOntoTheScreen) {
  VitroluxApp app;
  ASSERT_TRUE(app.writeFile(L"ui.txt", "width=9675|||height=6495|||left=200000|||top=1500\r\n"));
  ASSERT_TRUE(app.start());
  HWND frame = app.frame();
  sleepFor(500ms);
  const RECT r = windowRectOnScreen(frame);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  HMONITOR shown = MonitorFromRect(&r, MONITOR_DEFAULTTONULL);
  ASSERT_NE(shown, nullptr) << r.left << "," << r.top;
  ASSERT_TRUE(GetMonitorInfoW(shown, &monitor));
  EXPECT_GE(r.left, monitor.rcWork.left);
  EXPECT_LE(r.right, monitor.rcWork.right);
  EXPECT_EQ(r.top, 100);
  EXPECT_EQ(r.right - r.left, kFrameWidth);
  EXPECT_EQ(r.bottom - r.top, kFrameHeight);
}

// ---- Pinning -------------------------------------------------------------------

TEST(Stacking, ThePinUnpinsAndRepinsTheFrame) {
  VitroluxApp app;
  ASSERT_TRUE(app.start());
  HWND frame = app.frame();
  HWND pin = app.control(L"置顶");
  ASSERT_NE(pin, nullptr);
  ASSERT_TRUE(isTopMost(frame));

  ASSERT_TRUE(clickCentre(pin));
  EXPECT_TRUE(waitUntil(3s, [&] { return !isTopMost(frame); }));
  EXPECT_EQ(windowText(pin), L"取消置顶");
  ASSERT_TRUE(clickCentre(pin));
  EXPECT_TRUE(waitUntil(3s, [&] { return isTopMost(frame); }));
  EXPECT_EQ(windowText(pin), L"置顶");
}

TEST(Stacking, BringToFrontPinsTheSelectedWindow) {
  ListedTarget target(L"Pinnable");
  ASSERT_NE(target.window, nullptr);
  ASSERT_FALSE(isTopMost(target.window));
  VitroluxApp app;
  ASSERT_TRUE(app.start());
  ASSERT_TRUE(target.select(app)) << "the task list did not list the window";
  ASSERT_TRUE(clickCentre(app.control(L"前置")));
  EXPECT_TRUE(waitUntil(3s, [&] { return isTopMost(target.window); }));
}

TEST(Stacking, ClickThroughKeepsTheWindowsOtherExtendedStyles) {
  ListedTarget target(L"Drop target", {L"--exstyle", L"0x10"});
  ASSERT_NE(target.window, nullptr);
  ASSERT_NE(exStyle(target.window) & WS_EX_ACCEPTFILES, 0);
  VitroluxApp app;
  ASSERT_TRUE(app.start());
  ASSERT_TRUE(target.select(app));
  HWND button = app.control(L"穿透");
  ASSERT_NE(button, nullptr);

  ASSERT_TRUE(clickCentre(button));
  constexpr LONG_PTR kClickThrough = WS_EX_LAYERED | WS_EX_TRANSPARENT;
  EXPECT_TRUE(
      waitUntil(3s, [&] { return (exStyle(target.window) & kClickThrough) == kClickThrough; }))
      << std::hex << exStyle(target.window);
  EXPECT_NE(exStyle(target.window) & WS_EX_ACCEPTFILES, 0);
  EXPECT_EQ(windowText(button), L"挡住");

  ASSERT_TRUE(clickCentre(button));
  EXPECT_TRUE(waitUntil(3s, [&] { return (exStyle(target.window) & kClickThrough) == 0; }))
      << std::hex << exStyle(target.window);
  EXPECT_NE(exStyle(target.window) & WS_EX_ACCEPTFILES, 0) << "a style of its own was taken away";
  EXPECT_EQ(windowText(button), L"穿透");
}

// ---- F5 mode --------------------------------------------------------------------

TEST(F5, CtrlSAnywhereSendsOneF5PairToTheHostedWindowWhileTheModeIsOn) {
  VitroluxApp app;
  HostedTarget page(app, L"F5page");
  ASSERT_TRUE(app.start());
  // The mode goes on before the page is adopted: the hosted window covers
  // the frame's buttons.
  HWND f5 = app.control(L"F5");
  ASSERT_NE(f5, nullptr);
  ASSERT_TRUE(clickCentre(f5));
  ASSERT_TRUE(waitUntil(3s, [&] { return windowText(f5) == L"停止"; }));
  HWND hosted = page.adopted(app.frame());
  ASSERT_NE(hosted, nullptr) << "the page was not adopted";

  TempFolder folder;
  TargetLog editorLog(folder.file(L"editor.log"));
  Process editor = startTarget(
      {L"--caption", L"Editor", L"--rect", L"700,300,300,200", L"--log", editorLog.path()});
  HWND editorWindow = editorLog.waitForWindow("SHOWN");
  ASSERT_NE(editorWindow, nullptr);

  ASSERT_TRUE(focusWindow(editorWindow));

  typeCtrlS();
  EXPECT_TRUE(page.log.waitForLineStartingWith("WM_KEYUP 0x74", 3s));
  sleepFor(500ms);
  EXPECT_EQ(countLines(page.log, "WM_KEYDOWN 0x74 0x0"), 1);
  EXPECT_EQ(countLines(page.log, "WM_KEYUP 0x74 0x0"), 1);
  EXPECT_TRUE(editorLog.waitForLineStartingWith("WM_KEYDOWN 0x53", 1s))
      << "the editor had the keys";

  // Ctrl, then the space bar, then S: no refresh.
  ASSERT_TRUE(typeChord({VK_CONTROL}, 100ms));
  ASSERT_TRUE(typeChord({VK_SPACE}, 100ms));
  ASSERT_TRUE(typeChord({'S'}, 100ms));
  sleepFor(500ms);
  EXPECT_EQ(countLines(page.log, "WM_KEYDOWN 0x74 0x0"), 1);

  // Mode off: nothing. The button lies under the page, so the page goes
  // back to the desktop first (it keeps its place on the screen).
  SetParent(hosted, nullptr);
  ASSERT_TRUE(
      SetWindowPos(hosted, nullptr, 700, 550, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE));
  ASSERT_TRUE(clickCentre(f5));
  ASSERT_TRUE(waitUntil(3s, [&] { return windowText(f5) == L"F5"; }));
  ASSERT_TRUE(focusWindow(editorWindow));
  typeCtrlS();
  sleepFor(500ms);
  EXPECT_EQ(countLines(page.log, "WM_KEYDOWN 0x74 0x0"), 1);
  EXPECT_EQ(countLines(page.log, "WM_KEYUP 0x74 0x0"), 1);
}

TEST(F5, WithNothingHostedTheSelectedWindowIsActivatedThenRefreshed) {
  ListedTarget page(L"Selected page");
  ASSERT_NE(page.window, nullptr);
  TempFolder folder;
  TargetLog editorLog(folder.file(L"editor.log"));
  Process editor = startTarget(
      {L"--caption", L"Editor", L"--rect", L"700,400,300,200", L"--log", editorLog.path()});
  HWND editorWindow = editorLog.waitForWindow("SHOWN");
  ASSERT_NE(editorWindow, nullptr);

  VitroluxApp app;
  ASSERT_TRUE(app.start());
  HWND heading = app.control(L"新建任务");
  ASSERT_NE(heading, nullptr);
  ASSERT_TRUE(page.select(app));
  HWND f5 = app.control(L"F5");
  ASSERT_TRUE(clickCentre(f5));
  ASSERT_TRUE(waitUntil(3s, [&] { return windowText(f5) == L"停止"; }));
  ASSERT_TRUE(focusWindow(editorWindow));

  typeCtrlS();
  EXPECT_TRUE(page.log.waitForLineStartingWith("WM_KEYUP 0x74", 3s));
  sleepFor(500ms);
  const std::wstring handle = std::to_wstring(reinterpret_cast<ULONG_PTR>(page.window));
  EXPECT_EQ(windowText(heading), handle);
  const std::vector<std::string> lines = page.log.lines();
  auto last = [&](const std::string& line) {
    for (size_t i = lines.size(); i-- > 0;) {
      if (lines[i] == line) return static_cast<int>(i);
    }
    return -1;
  };
  const int activate = last("WM_ACTIVATE 0x0 0x0");
  const int down = last("WM_KEYDOWN 0x74 0x0");
  const int up = last("WM_KEYUP 0x74 0x0");
  EXPECT_GE(activate, 0) << "no WM_ACTIVATE (WA_INACTIVE)";
  EXPECT_LT(activate, down);
  EXPECT_LT(down, up);
  EXPECT_EQ(countLines(page.log, "WM_KEYDOWN 0x74 0x0"), 1);
  EXPECT_EQ(countLines(page.log, "WM_KEYUP 0x74 0x0"), 1);
}

TEST(F5, AHungSelectedWindowDoesNotStopTheFrameAnswering) {
  ListedTarget page(L"Hung page");
  ASSERT_NE(page.window, nullptr);
  TempFolder folder;
  Process editor = startTarget({L"--caption", L"Editor", L"--rect", L"700,400,300,200"});
  HWND editorWindow = nullptr;
  ASSERT_TRUE(waitUntil(5s, [&] { return (editorWindow = visibleTopLevelWindow(editor.id())); }));

  VitroluxApp app;
  ASSERT_TRUE(app.start());
  ASSERT_TRUE(page.select(app));
  HWND f5 = app.control(L"F5");
  ASSERT_TRUE(clickCentre(f5));
  ASSERT_TRUE(waitUntil(3s, [&] { return windowText(f5) == L"停止"; }));
  ASSERT_TRUE(PostMessageW(page.window, RegisterWindowMessageW(L"VitroluxE2E.Hang"), 0, 0));
  ASSERT_TRUE(page.log.waitForLineStartingWith("HANGING", 3s));
  ASSERT_TRUE(focusWindow(editorWindow));

  // Sent messages are answered even while the frame waits in a send of its
  // own, so the probe alone cannot tell a frame stuck in the activation;
  // the mouse, which only the frame's message loop takes, can.
  ResponsivenessProbe probe(app.frame());
  HWND pin = app.control(L"置顶");
  ASSERT_NE(pin, nullptr);
  for (int i = 0; i < 3; ++i) {
    typeCtrlS();
    const bool pinned = isTopMost(app.frame());
    ASSERT_TRUE(clickCentre(pin));
    const auto clicked = std::chrono::steady_clock::now();
    EXPECT_TRUE(waitUntil(3s, [&] { return isTopMost(app.frame()) != pinned; }));
    const auto took = std::chrono::steady_clock::now() - clicked;
    EXPECT_LT(took, 250ms) << "the click waited "
                           << std::chrono::duration_cast<std::chrono::milliseconds>(took).count()
                           << " ms";
    ASSERT_TRUE(focusWindow(editorWindow));
  }
  probe.stop();
  EXPECT_TRUE(probe.keptAnswering()) << probe.summary();
}

// ---- With Notepad hosted: the option panel, Esc, the close button ---------------

class WithNotepad : public ::testing::Test {
 protected:
  void SetUp() override {
    endProgramsCaptioned(L"Untitled - Notepad");
    ASSERT_TRUE(app.writeFile(L"config.txt", "C:\\windows\\notepad.exe|Untitled - Notepad\r\n"));
    ASSERT_TRUE(app.start());
    frame = app.frame();
    notepad = waitForChildByText(frame, L"Untitled - Notepad", 6s);
    ASSERT_NE(notepad, nullptr) << "Notepad was not adopted";
    notepadPid = processOf(notepad);
  }
  void TearDown() override {
    if (notepadPid == 0) return;
    if (HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, notepadPid)) {
      TerminateProcess(process, 0);
      CloseHandle(process);
    }
  }
  // The frame's children from the top of their z-order down.
  int stackPlace(HWND child) {
    int place = 0;
    for (HWND w = GetWindow(frame, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT), ++place) {
      if (w == child) return place;
    }
    return -1;
  }
  void expectNotepadKeptRunning() {
    ASSERT_TRUE(IsWindow(notepad));
    EXPECT_EQ(parentOf(notepad), nullptr) << "not a top-level window again";
    EXPECT_TRUE(waitUntil(2s, [&] { return IsWindowVisible(notepad) != FALSE; }));
    EXPECT_EQ(processOf(notepad), notepadPid);
  }
  VitroluxApp app;
  HWND frame = nullptr;
  HWND notepad = nullptr;
  DWORD notepadPid = 0;
};

TEST_F(WithNotepad, TheOptionPanelOpensAboveItAndSaves) {
  HWND save = app.control(L"配置");
  ASSERT_NE(save, nullptr);
  HWND panel = GetParent(save);
  ASSERT_GT(stackPlace(panel), stackPlace(notepad)) << "the hidden panel lies below Notepad";
  ASSERT_TRUE(DeleteFileW((app.folder() + L"\\config.txt").c_str()));

  ASSERT_TRUE(clickCentre(app.control(L"选项")));
  ASSERT_TRUE(waitUntil(3s, [&] { return IsWindowVisible(panel) != FALSE; }));
  EXPECT_LT(stackPlace(panel), stackPlace(notepad));
  // A real click where both lie: it reaches the panel's button.
  ASSERT_TRUE(clickCentre(save));
  EXPECT_TRUE(waitUntil(3s, [&] { return app.readFile(L"config.txt").has_value(); }));
  EXPECT_EQ(app.readFile(L"config.txt").value_or(""),
            "C:\\windows\\notepad.exe|Untitled - Notepad\r\n");
  EXPECT_TRUE(waitUntil(3s, [&] { return !IsWindowVisible(panel); }));
  EXPECT_TRUE(waitUntil(2s, [&] { return stackPlace(panel) > stackPlace(notepad); }))
      << "closed, it goes back below";
}

TEST_F(WithNotepad, EscEndsVitroluxAndNotepadKeepsRunning) {
  // The frame takes the keyboard with a click on its background.
  const POINT background = e2e::tasks::atFrame(frame, 100, 10);
  ASSERT_TRUE(clickToType(frame, background));
  ASSERT_TRUE(pressKeys({VK_ESCAPE}));
  EXPECT_TRUE(app.process().waitForExit(5s));
  expectNotepadKeptRunning();
  EXPECT_FALSE(app.readFile(L"ui.txt").has_value()) << "Esc saves nothing";
}

TEST_F(WithNotepad, TheCloseButtonSavesEndsAndNotepadKeepsRunning) {
  ASSERT_TRUE(clickCentre(app.control(L"关闭")));
  EXPECT_TRUE(app.process().waitForExit(5s));
  expectNotepadKeptRunning();
  EXPECT_EQ(uiFile(app).rfind("width=9675|||height=6495|||left=", 0), 0u) << uiFile(app);
}

// ---- Title-bar buttons ------------------------------------------------------------

TEST(TitleBar, FullScreenFillsTheMonitorLessTheTaskBarAndComesBack) {
  VitroluxApp app;
  ASSERT_TRUE(app.start());
  HWND frame = app.frame();
  sleepFor(300ms);
  const RECT before = windowRectOnScreen(frame);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  ASSERT_TRUE(GetMonitorInfoW(MonitorFromWindow(frame, MONITOR_DEFAULTTONEAREST), &monitor));
  const RECT& m = monitor.rcMonitor;
  const UINT dpi = GetDpiForWindow(frame);
  const int height = twipsToPixels(static_cast<int>((m.bottom - m.top) * 1440 / dpi) - 580, dpi);

  HWND full = app.control(L"全屏");
  ASSERT_TRUE(clickCentre(full));
  RECT r{};
  // The four numbers change one after the other: wait for the last.
  EXPECT_TRUE(waitUntil(3s, [&] {
    r = windowRectOnScreen(frame);
    return r.right - r.left == m.right - m.left && r.top == m.top;
  }));
  EXPECT_EQ(r.left, m.left);
  EXPECT_EQ(r.top, m.top);
  EXPECT_EQ(r.bottom - r.top, height);
  EXPECT_FALSE(isTopMost(frame));
  EXPECT_EQ(uiFile(app), "width=" + std::to_string((before.right - before.left) * 15) +
                             "|||height=" + std::to_string((before.bottom - before.top) * 15) +
                             "|||left=" + std::to_string(before.left * 15) +
                             "|||top=" + std::to_string(before.top * 15) + "\r\n");

  ASSERT_TRUE(clickCentre(app.control(L"全屏")));
  EXPECT_TRUE(waitUntil(3s, [&] {
    r = windowRectOnScreen(frame);
    return r.left == before.left && r.right == before.right && r.top == before.top;
  }));
  EXPECT_EQ(r.top, before.top);
  EXPECT_EQ(r.bottom, before.bottom);
  EXPECT_TRUE(isTopMost(frame));
}

TEST(TitleBar, TheMinimiseButtonMinimisesAndHoverShowsTheBlueImage) {
  VitroluxApp app;
  ASSERT_TRUE(app.start());
  HWND frame = app.frame();
  HWND minimise = app.control(L"最小化");
  ASSERT_NE(minimise, nullptr);
  const RECT button = windowRectOnScreen(minimise);
  auto corner = [&] { return screenPixel(button.left + 1, button.top + 1); };
  EXPECT_EQ(corner(), kBlack);

  ASSERT_TRUE(moveMouseTo(button.left + 5, button.top + 5));
  EXPECT_TRUE(waitUntil(3s, [&] { return corner() == kHoverBlue; })) << std::hex << corner();
  EXPECT_EQ(captureOf(minimise), nullptr) << "hovering holds the mouse";
  // The pointer leaves for the background: the button hears of it all the same.
  const RECT f = windowRectOnScreen(frame);
  ASSERT_TRUE(moveMouseTo(f.left + 100, f.top + 200));
  EXPECT_TRUE(waitUntil(3s, [&] { return corner() == kBlack; })) << std::hex << corner();

  ASSERT_TRUE(clickCentre(minimise));
  EXPECT_TRUE(waitUntil(3s, [&] { return IsIconic(frame) != FALSE; }));
}

}  // namespace
