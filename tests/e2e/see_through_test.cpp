// The see-through mode from outside, with real input only: the hot key
// makes a click over the frame land in the window beneath, the pointer
// resting on the frame shows it, the hot key gives the frame its clicks
// back, and what was typed into the hosted program is still there. The hot
// key of hotkey.txt, and one that another program holds.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <thread>

#include "driver/input.h"
#include "driver/target_log.h"
#include "driver/vitrolux_app.h"
#include "task_list_helpers.h"

namespace {

using namespace e2e;
using e2e::tasks::atFrame;
using e2e::tasks::Target;

constexpr LONG_PTR kClickThrough = WS_EX_LAYERED | WS_EX_TRANSPARENT;

bool seeThrough(HWND frame) {
  return (exStyle(frame) & kClickThrough) == kClickThrough;
}

bool takesClicks(HWND frame) {
  return (exStyle(frame) & WS_EX_TRANSPARENT) == 0;
}

bool pressDefaultHotKey() {
  return typeChord({VK_CONTROL, VK_MENU, VK_SHIFT, 'G'});
}

int clicksLogged(const TargetLog& log) {
  int n = 0;
  for (const std::string& line : log.lines()) n += line.rfind("WM_LBUTTONDOWN ", 0) == 0 ? 1 : 0;
  return n;
}

// The frame's middle, where the pointer rests to peek.
POINT middleOf(HWND frame) {
  const RECT r = windowRectOnScreen(frame);
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// Notepad hosted and typed into, with a window of our own lying under the
// whole frame: see-through, a click over the frame goes to that window,
// the pointer resting on the frame shows it, and the hot key again gives
// the frame its clicks back. Notepad's text is intact throughout, and an
// exit while see-through leaves nothing of the mode behind.
TEST(SeeThrough, ClicksGoBeneathThePointerPeeksAndTheHotKeyGivesTheFrameBack) {
  endProgramsCaptioned(L"Untitled - Notepad");
  // The frame opens in the middle of the 1280 x 800 screen, 645 x 433.
  Target beneath({L"--caption", L"Beneath the frame", L"--rect", L"200,100,900,620"});
  ASSERT_NE(beneath.window, nullptr);
  VitroluxApp app;
  ASSERT_TRUE(app.writeFile(L"config.txt", "C:\\windows\\notepad.exe|Untitled - Notepad\r\n"));
  ASSERT_TRUE(app.start());
  HWND frame = app.frame();
  HWND notepad = waitForChildByText(frame, L"Untitled - Notepad", 8s);
  ASSERT_NE(notepad, nullptr) << "Notepad was not adopted";
  HWND box = findDescendantByClass(notepad, L"Edit");
  ASSERT_NE(box, nullptr);
  ASSERT_TRUE(clickToType(box));
  ASSERT_TRUE(pressKeys({'1', '2', '3'}));
  ASSERT_TRUE(waitUntil(2s, [&] { return windowText(box) == L"123"; })) << narrow(windowText(box));
  ASSERT_EQ(clicksLogged(beneath.log), 0);
  ASSERT_TRUE(isTopMost(frame));

  ASSERT_TRUE(pressDefaultHotKey());
  ASSERT_TRUE(waitUntil(2s, [&] { return seeThrough(frame); })) << std::hex << exStyle(frame);
  EXPECT_EQ(layeredAlpha(frame), BYTE{160}) << "no level was chosen";
  EXPECT_TRUE(isTopMost(frame));
  EXPECT_EQ(parentOf(notepad), frame);

  // A click over Notepad and one over the frame's background land beneath.
  const POINT overNotepad = centreOf(box);
  const POINT overBackground = atFrame(frame, 100, 10);
  ASSERT_TRUE(clickAt(overNotepad.x, overNotepad.y));
  EXPECT_TRUE(waitUntil(2s, [&] { return clicksLogged(beneath.log) == 1; }))
      << "the click over Notepad did not reach the window beneath";
  ASSERT_TRUE(clickAt(overBackground.x, overBackground.y));
  EXPECT_TRUE(waitUntil(2s, [&] { return clicksLogged(beneath.log) == 2; }))
      << "the click over the frame did not reach the window beneath";
  EXPECT_TRUE(isTopMost(frame));

  // The pointer resting on the frame shows it; moved away, it fades again.
  const POINT middle = middleOf(frame);
  ASSERT_TRUE(moveMouseTo(middle.x, middle.y));
  const auto rested = std::chrono::steady_clock::now();
  EXPECT_TRUE(waitUntil(3s, [&] { return layeredAlpha(frame) == BYTE{255}; }))
      << "the frame did not show while the pointer rested on it";
  EXPECT_GE(std::chrono::steady_clock::now() - rested, 400ms) << "shown before the pointer rested";
  EXPECT_TRUE(seeThrough(frame)) << "the mouse must still go through";
  ASSERT_TRUE(moveMouseTo(60, 60));
  EXPECT_TRUE(waitUntil(2s, [&] { return layeredAlpha(frame) == BYTE{160}; }))
      << "the frame did not fade when the pointer left it";

  // The hot key again: the frame takes clicks, and one on its background
  // makes it the active window.
  ASSERT_TRUE(pressDefaultHotKey());
  ASSERT_TRUE(waitUntil(2s, [&] { return takesClicks(frame); })) << std::hex << exStyle(frame);
  EXPECT_FALSE(layeredAlpha(frame).has_value()) << "it had no level before";
  ASSERT_TRUE(clickAt(overBackground.x, overBackground.y));
  EXPECT_TRUE(waitUntil(2s, [&] { return GetForegroundWindow() == frame; }))
      << "the click on the frame did not make it active";
  EXPECT_EQ(clicksLogged(beneath.log), 2) << "the click went beneath";
  EXPECT_EQ(parentOf(notepad), frame);
  EXPECT_EQ(windowText(box), L"123");

  // See-through once more, and Esc: Notepad goes back untouched.
  ASSERT_TRUE(pressDefaultHotKey());
  ASSERT_TRUE(waitUntil(2s, [&] { return seeThrough(frame); }));
  ASSERT_TRUE(pressKeys({VK_ESCAPE}));
  EXPECT_TRUE(app.process().waitForExit(5s)) << "Esc did not end Vitrolux";
  ASSERT_TRUE(IsWindow(notepad));
  EXPECT_EQ(parentOf(notepad), nullptr);
  EXPECT_EQ(exStyle(notepad) & kClickThrough, 0);
  EXPECT_FALSE(layeredAlpha(notepad).has_value());
  EXPECT_EQ(windowText(box), L"123");
}

TEST(SeeThrough, TheHotKeyOfHotkeyTxtWorksAndTheDefaultThenDoesNothing) {
  VitroluxApp app;
  ASSERT_TRUE(app.writeFile(L"hotkey.txt", "Ctrl+Alt+O\r\n"));
  ASSERT_TRUE(app.writeFile(L"ui.txt", "opacity=200|||width=9675|||height=6495\r\n"));
  ASSERT_TRUE(app.start());
  HWND frame = app.frame();
  ASSERT_TRUE(waitUntil(3s, [&] { return layeredAlpha(frame) == BYTE{200}; }));

  ASSERT_TRUE(pressDefaultHotKey());
  std::this_thread::sleep_for(500ms);
  EXPECT_TRUE(takesClicks(frame)) << "the default hot key still works";

  ASSERT_TRUE(typeChord({VK_CONTROL, VK_MENU, 'O'}));
  ASSERT_TRUE(waitUntil(2s, [&] { return seeThrough(frame); })) << std::hex << exStyle(frame);
  EXPECT_EQ(layeredAlpha(frame), BYTE{200}) << "the level chosen before";
  ASSERT_TRUE(typeChord({VK_CONTROL, VK_MENU, 'O'}));
  ASSERT_TRUE(waitUntil(2s, [&] { return takesClicks(frame); })) << std::hex << exStyle(frame);
  EXPECT_EQ(layeredAlpha(frame), BYTE{200});
  EXPECT_FALSE(app.waitForMessage(300ms)) << "a message for a hot key that works";
  EXPECT_TRUE(app.close());
}

// Another program holds the default hot key: Vitrolux says so once, in
// Chinese, and the rest works.
TEST(SeeThrough, AHotKeyAnotherProgramHoldsIsSaidOnceAndTheFrameWorksOn) {
  // This test's own thread holds it, as another program would.
  ASSERT_TRUE(RegisterHotKey(nullptr, 7, MOD_CONTROL | MOD_ALT | MOD_SHIFT, 'G'));
  VitroluxApp app;
  ASSERT_TRUE(app.start());
  HWND frame = app.frame();
  HWND box = app.waitForMessage();
  ASSERT_NE(box, nullptr) << "nothing said about the hot key";
  const std::wstring text = VitroluxApp::messageText(box);
  EXPECT_NE(text.find(L"Ctrl+Alt+Shift+G"), std::wstring::npos) << narrow(text);
  EXPECT_NE(text.find(L"已被其他程序占用"), std::wstring::npos) << narrow(text);
  ASSERT_TRUE(clickCentre(findDescendantByClass(box, L"Button")));
  ASSERT_TRUE(waitUntil(3s, [&] { return !IsWindow(box); }));
  EXPECT_FALSE(app.waitForMessage(1s)) << "said twice";

  ASSERT_TRUE(clickToType(frame, atFrame(frame, 100, 10)));
  ASSERT_TRUE(pressKeys({'5'}));
  EXPECT_TRUE(waitUntil(2s, [&] { return layeredAlpha(frame) == BYTE{160}; }));
  EXPECT_TRUE(takesClicks(frame));
  EXPECT_TRUE(app.close());
  UnregisterHotKey(nullptr, 7);
}

}  // namespace
