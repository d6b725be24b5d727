// The frame window: its shape, its events and its way out.
#include <windows.h>

#include <thread>

#include "adapter_fixture.h"
#include "ui/twips.h"
#include "win32/control_timers.h"
#include "win32/fatal_exit.h"
#include "win32/frame_window.h"

namespace vitrolux::platform::win32::testing {
namespace {

using FrameWindowTest = FrameFixture;

TEST_F(FrameWindowTest, IsABorderlessHiddenFrameWhoseClientAreaIsTheWholeWindow) {
  // Outside tools find the frame by these two.
  wchar_t name[64] = {};
  ::GetClassNameW(frame, name, 64);
  EXPECT_STREQ(name, kFrameClassName);
  EXPECT_EQ(textOf(frame), L"Vitrolux");
  EXPECT_FALSE(::IsWindowVisible(frame));
  const LONG style = ::GetWindowLongW(frame, GWL_STYLE);
  EXPECT_NE(style & WS_CAPTION, WS_CAPTION);
  EXPECT_EQ(style & WS_THICKFRAME, WS_THICKFRAME);

  RECT client{};
  RECT outer{};
  ::GetClientRect(frame, &client);
  ::GetWindowRect(frame, &outer);
  EXPECT_EQ(client.right, twipsToPixels(model::kFrameWidthTwips, dpi()));
  EXPECT_EQ(client.bottom, twipsToPixels(model::kFrameHeightTwips, dpi()));
  POINT origin{0, 0};
  ::ClientToScreen(frame, &origin);
  EXPECT_EQ(origin.x, outer.left);
  EXPECT_EQ(origin.y, outer.top);
  EXPECT_EQ(outer.right - outer.left, client.right);
}

TEST_F(FrameWindowTest, CanBePinnedOnTop) {
  // The frame owns no pop-up window: one would keep it out of the top-most
  // band under Wine although SetWindowPos reports success.
  ASSERT_TRUE(desktop.setWindowPos(system.frameWindow(), kHwndTopMost, 0, 0, 0, 0,
                                   kSwpNoSize | kSwpNoMove));
  EXPECT_NE(::GetWindowLongW(frame, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
}

TEST_F(FrameWindowTest, RaisesResizeOnlyFromTheFirstShowingOn) {
  ::SetWindowPos(frame, nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(events.count("resize"), 0);
  system.showFrame();
  EXPECT_EQ(events.count("resize"), 1);
  ::SetWindowPos(frame, nullptr, 0, 0, 400, 300, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(events.count("resize"), 2);
}

TEST_F(FrameWindowTest, ReportsMouseOnTheBackgroundInTwipsAndHoldsTheMouseUntilRelease) {
  ::SendMessageW(frame, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, at(30, 40));
  EXPECT_EQ(::GetCapture(), frame);
  ::SendMessageW(frame, WM_MOUSEMOVE, MK_LBUTTON | MK_RBUTTON | MK_CONTROL, at(-5, 50));
  ::SendMessageW(frame, WM_LBUTTONUP, 0, at(31, 41));
  EXPECT_EQ(::GetCapture(), nullptr);
  ::SendMessageW(frame, WM_LBUTTONDBLCLK, MK_LBUTTON, at(30, 40));
  ::SendMessageW(frame, WM_RBUTTONDOWN, MK_RBUTTON, at(2, 3));
  ::SendMessageW(frame, WM_KEYDOWN, VK_ESCAPE, 0);

  const std::vector<std::string> expected = {
      entry("down", kLeftButton, kShiftMask, twips(30), twips(40)),
      entry("move", kLeftButton | kRightButton, kCtrlMask, twips(-5), twips(50)),
      entry("up", kLeftButton, 0, twips(31), twips(41)),
      "capturelost",
      "dblclick",
      entry("down", kRightButton, 0, twips(2), twips(3)),
      "key 27 0",
  };
  EXPECT_EQ(events.log, expected);
}

TEST_F(FrameWindowTest, ReportsLosingTheMouseToAnotherWindow) {
  ::SendMessageW(frame, WM_LBUTTONDOWN, MK_LBUTTON, at(30, 40));
  ::SendMessageW(frame, WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, at(30, 40));
  ASSERT_EQ(::GetCapture(), frame);
  EXPECT_EQ(events.count("capturelost"), 0) << "a second button keeps the capture";
  // Another window of the program takes the mouse, as a dialog would.
  HWND other = ::CreateWindowExW(0, L"STATIC", L"other", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 nullptr, nullptr);
  ::SetCapture(other);
  EXPECT_EQ(events.count("capturelost"), 1);
  ::ReleaseCapture();
  ::DestroyWindow(other);
}

TEST_F(FrameWindowTest, ShowsTheCursorTheLogicChoseOverTheBackground) {
  const struct {
    int code;
    const wchar_t* shape;
  } cases[] = {
      {7, IDC_SIZENS}, {8, IDC_SIZENWSE}, {6, IDC_SIZENESW}, {9, IDC_SIZEWE}, {0, IDC_ARROW}};
  for (const auto& c : cases) {
    system.setFrameCursor(static_cast<FrameCursor>(c.code));
    EXPECT_EQ(::SendMessageW(frame, WM_SETCURSOR, reinterpret_cast<WPARAM>(frame),
                             MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
              TRUE);
    EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, c.shape)) << "cursor code " << c.code;
  }
}

TEST_F(FrameWindowTest, CloseUnloadsThenGivesBackWindowsBeforeTheFrameGoes) {
  ::SendMessageW(frame, WM_CLOSE, 0, 0);
  EXPECT_FALSE(::IsWindow(frame));
  // A normal close is never taken for a fault.
  EXPECT_EQ(events.log, (std::vector<std::string>{"unload", "destroy"}));
  EXPECT_EQ(system.frameWindow(), WindowHandle{});

  // The frame posted the end of the message loop; doEvents leaves it there.
  system.doEvents();
  MSG quit{};
  EXPECT_TRUE(::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

// Another program's close request, sent while the frame waits for a program
// that has stopped answering, is not handled in the middle of that wait.
TEST_F(FrameWindowTest, ACloseSentDuringAWaitForAnotherProgramComesAfterIt) {
  HWND silent = nullptr;
  HANDLE made = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::thread program([&] {
    silent = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                               nullptr);
    ::SetEvent(made);
    ::Sleep(400);  // reads no message meanwhile
    MSG message{};
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
    ::DestroyWindow(silent);
  });
  ::WaitForSingleObject(made, INFINITE);
  std::thread closer([&] {
    ::Sleep(30);
    ::SendMessageW(frame, WM_CLOSE, 0, 0);
  });
  desktop.setExStyleThenAlpha(WindowHandle(reinterpret_cast<std::intptr_t>(silent)),
                              WS_EX_TOOLWINDOW, std::nullopt);
  EXPECT_EQ(events.count("unload"), 0) << "closed in the middle of the wait";
  closer.join();
  pump(100);
  EXPECT_EQ(events.count("unload"), 1);
  // The frame closed and ended the message loop: that end is taken here, not
  // left to the next test.
  MSG quit{};
  EXPECT_TRUE(::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  program.join();
  ::CloseHandle(made);
}

TEST_F(FrameWindowTest, TakenDownByItsOwnerItGivesBackButLeavesTheLoopRunning) {
  system.destroyFrame();
  EXPECT_FALSE(::IsWindow(frame));
  EXPECT_EQ(events.log, (std::vector<std::string>{"destroy"}));
  MSG quit{};
  EXPECT_FALSE(::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST_F(FrameWindowTest, UnloadsWhenTheSessionEnds) {
  EXPECT_EQ(::SendMessageW(frame, WM_QUERYENDSESSION, 0, 0), TRUE);
  ::SendMessageW(frame, WM_ENDSESSION, FALSE, 0);
  EXPECT_TRUE(events.log.empty());
  ::SendMessageW(frame, WM_ENDSESSION, TRUE, 0);
  EXPECT_EQ(events.log, (std::vector<std::string>{"unload"}));
}

TEST_F(FrameWindowTest, SystemTimersTickIntoTheFrameAndKeepClearOfTheControlsTimers) {
  EXPECT_FALSE(system.setSystemTimer(static_cast<unsigned>(kControlTimerBase), 10));
  ASSERT_TRUE(system.setSystemTimer(3, 10));
  pump(150);
  EXPECT_GE(events.count("systimer 3"), 2);
  EXPECT_TRUE(system.killSystemTimer(3));
  events.log.clear();
  pump(60);
  EXPECT_EQ(events.count("systimer 3"), 0);
}

TEST_F(FrameWindowTest, MovingToAnotherDpiLaysTheControlsOutAgain) {
  const int newDpi = dpi() * 2;
  RECT suggested{0, 0, 1290, 866};
  ::SendMessageW(frame, WM_DPICHANGED, MAKEWPARAM(newDpi, newDpi),
                 reinterpret_cast<LPARAM>(&suggested));
  EXPECT_EQ(system.dpi(), newDpi);

  RECT place{};
  ::GetWindowRect(window(model::ControlId::loadBtn), &place);
  EXPECT_EQ(place.right - place.left, twipsToPixels(855, newDpi));
  EXPECT_EQ(place.bottom - place.top, twipsToPixels(375, newDpi));

  LOGFONTW font{};
  const auto listFont = reinterpret_cast<HFONT>(
      ::SendMessageW(window(model::ControlId::processList), WM_GETFONT, 0, 0));
  ASSERT_NE(::GetObjectW(listFont, sizeof(font), &font), 0);
  EXPECT_EQ(font.lfHeight, -std::lround(12 * newDpi / 72.0));
}

// The program's own start: the frame first, its controls once it shows.
// Whatever loading did to the controls meanwhile is what the windows show.
TEST(FrameFirstTest, ChangesMadeBeforeTheFrameShowsReachTheControlsWindows) {
  RecordingEvents events;
  ControlSet controls;
  model::buildLayout(controls);
  Desktop desktop;
  FrameSystem system{::GetModuleHandleW(nullptr), desktop};
  ASSERT_NE(system.createFrame(events, model::frameLook()), nullptr);
  ControlWindows controlWindows(::GetModuleHandleW(nullptr), system, events, controls);
  const int heading = model::index(model::ControlId::new_task_lbl);
  const int timer = model::index(model::ControlId::cfg_timer);
  EXPECT_EQ(controlWindows.window(heading), nullptr) << "no control windows before showing";

  controls.setCaption(heading, "loaded");
  controls.setVisible(model::index(model::ControlId::optionFrm), true);
  controls.setInterval(timer, 10);
  system.showFrame([&] { controlWindows.realise(); });

  HWND window = controlWindows.window(heading);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(textOf(window), L"loaded");
  EXPECT_TRUE(::IsWindowVisible(controlWindows.window(model::index(model::ControlId::optionFrm))));
  const DWORD start = ::GetTickCount();
  while (events.count("timer " + std::to_string(timer)) == 0 && ::GetTickCount() - start < 2000) {
    system.doEvents();
    ::Sleep(5);
  }
  EXPECT_GE(events.count("timer " + std::to_string(timer)), 1)
      << "the timer armed while loading ticks";
  EXPECT_EQ(events.count("resize"), 1);
  system.destroyFrame();
}

TEST(FatalExitTest, GivesBackOnlyOnceWhenFaultsFollowOneAnother) {
  // terminate ends in abort, which raises SIGABRT: both hooks run.
  RecordingEvents events;
  setFatalExitTarget(&events);
  runFatalExit();
  runFatalExit();
  setFatalExitTarget(nullptr);
  EXPECT_EQ(events.log, (std::vector<std::string>{"emergency"}));
}

}  // namespace
}  // namespace vitrolux::platform::win32::testing
