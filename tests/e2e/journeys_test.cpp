// The journeys a person makes with Vitrolux, each from start to end, with
// real mouse and keyboard input only: clicks at points the user can see,
// keys to whatever has the focus. What the user types into a hosted program
// must reach it, and must still be there when the window goes back.
#include <gtest/gtest.h>

#include <string>

#include "driver/input.h"
#include "task_list_helpers.h"

namespace {

using namespace e2e;
using namespace e2e::tasks;

// Types the digits 1, 2, 3 where the focus is, and waits until the box
// holds them.
void typeOneTwoThreeInto(HWND box) {
  ASSERT_TRUE(pressKeys({'1', '2', '3'}));
  EXPECT_TRUE(waitUntil(2s, [&] { return windowText(box) == L"123"; }))
      << "the keys did not reach the hosted program: it holds \"" << narrow(windowText(box)) << '"';
}

// Start with Notepad as the auto-load entry, type into it, then fade, crop,
// refit, go full screen and back, and leave with Esc: Notepad goes back to
// the desktop with what was typed.
TEST(Journeys, NotepadAutoLoadedTypedIntoCroppedRefittedAndLeftWithEsc) {
  endProgramsCaptioned(L"Untitled - Notepad");
  VitroluxApp app;
  ASSERT_TRUE(app.writeFile(L"config.txt", "C:\\windows\\notepad.exe|Untitled - Notepad\r\n"));
  ASSERT_TRUE(app.start());
  HWND frame = app.frame();
  HWND notepad = waitForChildByText(frame, L"Untitled - Notepad", 8s);
  ASSERT_NE(notepad, nullptr) << "Notepad was not adopted";
  HWND box = findDescendantByClass(notepad, L"Edit");
  ASSERT_NE(box, nullptr);

  // Click into Notepad and type.
  ASSERT_TRUE(clickToType(box));
  typeOneTwoThreeInto(box);

  // Click the frame's background above Notepad; the 5 key fades the frame.
  ASSERT_TRUE(clickToType(frame, atFrame(frame, 100, 10)));
  ASSERT_TRUE(pressKeys({'5'}));
  EXPECT_TRUE(waitUntil(2s, [&] { return layeredAlpha(frame) == BYTE{160}; }))
      << "the 5 key did not fade the frame";

  // Crop: drag the bottom-right corner (the band below Notepad) 150 pixels
  // left and 100 up. Notepad keeps its size and is cut off.
  const SIZE full = windowSize(frame);
  ASSERT_EQ(full.cx, 645);
  ASSERT_EQ(full.cy, 433);
  ASSERT_TRUE(dragMouse(atFrame(frame, 643, 431), atFrame(frame, 493, 331)));
  ASSERT_TRUE(waitUntil(2s, [&] { return windowSize(frame).cx == 495; })) << windowSize(frame).cx;
  EXPECT_EQ(windowSize(frame).cy, 333);
  EXPECT_EQ(windowSize(notepad).cx, 645);
  EXPECT_EQ(windowSize(notepad).cy, 408);

  // A double click on the background fits Notepad to the cropped frame.
  const POINT background = atFrame(frame, 100, 10);
  ASSERT_TRUE(doubleClickAt(background.x, background.y));
  ASSERT_TRUE(waitUntil(2s, [&] { return windowSize(notepad).cx == 495; }))
      << windowSize(notepad).cx;
  EXPECT_EQ(windowSize(notepad).cy, 308);
  const RECT cropped = windowRectOnScreen(frame);

  // Full screen and back, by the title bar's button.
  ASSERT_TRUE(clickCentre(app.control(L"全屏")));
  EXPECT_TRUE(waitUntil(2s, [&] {
    const RECT r = windowRectOnScreen(frame);
    return r.left == 0 && r.top == 0 && r.right == 1280;
  })) << "not full screen";
  ASSERT_TRUE(clickCentre(app.control(L"全屏")));
  EXPECT_TRUE(waitUntil(2s, [&] {
    const RECT r = windowRectOnScreen(frame);
    return r.left == cropped.left && r.top == cropped.top && r.right == cropped.right &&
           r.bottom == cropped.bottom;
  })) << "not back where it was";

  // Esc ends Vitrolux; Notepad is back on the desktop with its text.
  ASSERT_TRUE(pressKeys({VK_ESCAPE}));
  EXPECT_TRUE(app.process().waitForExit(5s)) << "Esc did not end Vitrolux";
  ASSERT_TRUE(IsWindow(notepad)) << "Notepad's window went with the frame";
  EXPECT_EQ(parentOf(notepad), nullptr);
  EXPECT_TRUE(IsWindowVisible(notepad));
  EXPECT_EQ(windowText(box), L"123");
}

// An open program picked in the task list, loaded, typed into, and given
// back by the close button.
TEST(Journeys, AWindowPickedInTheTaskListLoadedTypedIntoAndGivenBackOnClose) {
  Target page({L"--caption", L"Journey page", L"--edit", L"--rect", L"720,120,320,200"});
  ASSERT_NE(page.window, nullptr);
  HWND box = findDescendantByClass(page.window, L"Edit");
  ASSERT_NE(box, nullptr);
  VitroluxApp app;
  ASSERT_TRUE(app.start());
  HWND frame = app.frame();

  // Pick its row, then "装载".
  HWND list = taskList(app);
  const int row = waitForRow(list, page.window);
  ASSERT_GE(row, 0) << "not listed";
  ASSERT_TRUE(clickRow(list, row));
  ASSERT_TRUE(waitUntil(2s, [&] { return listBoxSelection(list) == row; }));
  ASSERT_TRUE(clickCentre(app.control(L"装载")));
  ASSERT_TRUE(waitUntil(3s, [&] { return hostedIn(page.window, frame); })) << "not loaded";

  ASSERT_TRUE(clickToType(box));
  typeOneTwoThreeInto(box);
  const RECT place = windowRectOnScreen(page.window);

  ASSERT_TRUE(clickCentre(app.control(L"关闭")));
  EXPECT_TRUE(app.process().waitForExit(5s)) << "the close button did not end Vitrolux";
  ASSERT_TRUE(IsWindow(page.window)) << "the window went with the frame";
  EXPECT_EQ(parentOf(page.window), nullptr);
  EXPECT_TRUE(IsWindowVisible(page.window));
  EXPECT_EQ(windowRectOnScreen(page.window).left, place.left);
  EXPECT_EQ(windowRectOnScreen(page.window).top, place.top);
  EXPECT_EQ(windowText(box), L"123");
}

// A launch tile whose preset names a program of the user's own: it is
// started, adopted and typed into.
TEST(Journeys, ALaunchTileWithAPresetAdoptsItsProgramToBeTypedInto) {
  VitroluxApp app;
  const std::wstring exe = app.installTarget(L"chrome.exe");
  const std::string caption = "新标签页 - Google Chrome";
  ASSERT_TRUE(app.writeFile(L"chrome.txt", "\xEF\xBB\xBF" + narrow(exe) + " --edit --caption \"" +
                                               caption + "\"|" + caption + "\r\n"));
  ASSERT_TRUE(app.start());
  HWND frame = app.frame();

  ASSERT_TRUE(clickCentre(app.control(L"打开并装载Chrome")));
  HWND page = waitForChildByText(frame, widen(caption), 8s);
  ASSERT_NE(page, nullptr) << "not adopted";
  HWND box = findDescendantByClass(page, L"Edit");
  ASSERT_NE(box, nullptr);
  ASSERT_TRUE(clickToType(box));
  typeOneTwoThreeInto(box);
  EXPECT_TRUE(app.close());
  EXPECT_EQ(parentOf(page), nullptr);
  EXPECT_EQ(windowText(box), L"123");
}

}  // namespace
