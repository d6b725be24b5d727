// The task list, checked from outside against the real Vitrolux.exe: which
// windows it lists, the selection across refreshes, hosting from it and
// giving back, and the icon strip beside it.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "driver/health.h"
#include "driver/screen.h"
#include "task_list_helpers.h"

namespace {

using namespace e2e;
using namespace e2e::tasks;

std::string describe(const std::vector<ListBoxRow>& rows) {
  std::string out;
  for (const ListBoxRow& row : rows) out += "\n  \"" + narrow(row.text) + "\"";
  return out;
}

TEST(TaskList, ListsProgramWindowsBelowTheFrameAndNothingElse) {
  VitroluxApp app;
  ASSERT_TRUE(app.start());
  HWND list = taskList(app);
  ASSERT_NE(list, nullptr);

  Target listed({L"--caption", L"e2e 列出的窗口"});
  Target thunder({L"--caption", L"迅雷 e2e", L"--hidden"}, "READY");
  Target popup({L"--caption", L"e2e popup", L"--style", L"popup"});
  Target lowerCase({L"--caption", L"qqlive e2e", L"--hidden"}, "READY");
  // Started after the frame, pinned like it: it lies above the frame.
  Target above({L"--caption", L"e2e above the frame", L"--topmost"});
  for (const Target* t : {&listed, &thunder, &popup, &lowerCase, &above}) {
    ASSERT_NE(t->window, nullptr);
  }
  ASSERT_TRUE(isTopMost(above.window));

  ASSERT_GE(waitForRow(list, listed.window), 0) << describe(listBoxRows(list));
  ASSERT_GE(waitForRow(list, thunder.window), 0) << describe(listBoxRows(list));
  const std::vector<ListBoxRow> rows = listBoxRows(list);
  const auto has = [&](const ListBoxRow& row) {
    return std::find(rows.begin(), rows.end(), row) != rows.end();
  };
  // The caption as it is, the handle as the row's number.
  EXPECT_TRUE(has({L"e2e 列出的窗口", reinterpret_cast<LRESULT>(listed.window)}));
  EXPECT_TRUE(has({L"迅雷 e2e", reinterpret_cast<LRESULT>(thunder.window)}));
  for (HWND left : {popup.window, lowerCase.window, above.window, app.frame()}) {
    EXPECT_EQ(rowOf(list, left), -1) << narrow(windowText(left)) << describe(rows);
  }
}

TEST(TaskList, TheSelectedRowStaysSelectedWhileWindowsAboveItComeAndGo) {
  VitroluxApp app;
  ASSERT_TRUE(app.start());
  HWND list = taskList(app);
  Target chosen({L"--caption", L"e2e chosen"});
  ASSERT_GE(waitForRow(list, chosen.window), 0);
  ASSERT_TRUE(clickRow(list, rowOf(list, chosen.window)));
  ASSERT_TRUE(waitUntil(2s, [&] { return listBoxSelection(list) == rowOf(list, chosen.window); }));

  // A window opens above it: its row moves down one, and stays selected.
  auto newcomer =
      std::make_unique<Target>(std::vector<std::wstring>{L"--caption", L"e2e newcomer"});
  ASSERT_GE(waitForRow(list, newcomer->window), 0);
  EXPECT_EQ(listBoxSelection(list), rowOf(list, chosen.window));
  // And closes again: the row moves back up, still selected.
  HWND gone = newcomer->window;
  newcomer.reset();
  ASSERT_TRUE(waitUntil(5s, [&] { return rowOf(list, gone) < 0; }));
  EXPECT_EQ(listBoxSelection(list), rowOf(list, chosen.window));
  EXPECT_GE(listBoxSelection(list), 0);
}

TEST(TaskList, LoadAndADoubleClickHostAWindowAndReleaseGivesItBack) {
  // Pinned before the frame starts, so that the frame, pinned at its start,
  // lies above it and lists it: a release must unpin it.
  Target pinned({L"--caption", L"e2e pinned"});
  ASSERT_TRUE(SetWindowPos(pinned.window, HWND_TOPMOST, 0, 0, 0, 0,
                           SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE));
  VitroluxApp app;
  ASSERT_TRUE(app.start());
  HWND frame = app.frame();
  HWND list = taskList(app);
  Target plain({L"--caption", L"e2e plain"});
  ASSERT_GE(waitForRow(list, pinned.window), 0);
  ASSERT_GE(waitForRow(list, plain.window), 0);
  ASSERT_TRUE(isTopMost(pinned.window));

  ASSERT_TRUE(clickRow(list, rowOf(list, pinned.window)));
  ASSERT_TRUE(clickCentre(app.control(L"装载")));
  ASSERT_TRUE(waitUntil(3s, [&] { return hostedIn(pinned.window, frame); }))
      << "sel " << listBoxSelection(list) << " row " << rowOf(list, pinned.window) << " parent "
      << parentOf(pinned.window) << " frame " << frame << " text "
      << narrow(windowText(pinned.window)) << " found " << FindWindowW(nullptr, L"e2e pinned")
      << " win " << pinned.window;
  RECT place = placeIn(pinned.window, frame);
  EXPECT_EQ(place.left, 1);
  EXPECT_EQ(place.top, 22);
  EXPECT_EQ(place.right - place.left, 645);
  EXPECT_EQ(place.bottom - place.top, 408);

  // The window lies over the release button: the user makes room first.
  ASSERT_TRUE(makeRoomBesideHosted(frame, pinned.window));
  ASSERT_TRUE(clickCentre(app.control(L"释放")));
  // Given back, and shown again: the system hides a window while it moves
  // it to another parent.
  EXPECT_TRUE(waitUntil(
      3s, [&] { return parentOf(pinned.window) == nullptr && IsWindowVisible(pinned.window); }))
      << "parent " << parentOf(pinned.window) << ", visible " << IsWindowVisible(pinned.window);
  EXPECT_FALSE(isTopMost(pinned.window));
  // Where it stood in the frame, now from the screen's corner.
  EXPECT_EQ(windowRectOnScreen(pinned.window).left, 1);
  EXPECT_EQ(windowRectOnScreen(pinned.window).top, 22);

  const int row = waitForRow(list, plain.window);
  ASSERT_GE(row, 0);
  ASSERT_TRUE(clickRow(list, row, true));
  ASSERT_TRUE(waitUntil(3s, [&] { return hostedIn(plain.window, frame); }));
  place = placeIn(plain.window, frame);
  EXPECT_EQ(place.left, 1);
  EXPECT_EQ(place.top, 22);
  EXPECT_EQ(place.right - place.left, 645);
  EXPECT_EQ(place.bottom - place.top, 408);
  EXPECT_TRUE(app.close());
  EXPECT_EQ(parentOf(plain.window), nullptr) << "given back on close";
}

// The icon images are found by their names, which are their window texts.
HWND iconImage(HWND frame, int slot) {
  return findDescendantByText(frame, L"app_icon_" + std::to_wstring(slot));
}

TEST(TaskList, IconsStandBesideTheFirstSevenRowsAndAHungProgramNeverHoldsTheFrame) {
  VitroluxApp app;
  ASSERT_TRUE(app.start());
  HWND frame = app.frame();
  HWND list = taskList(app);
  ResponsivenessProbe probe(frame);

  // Nine windows with green icons, then one whose program stops answering
  // at once: it opens last, so it lies on top, in the first row.
  Target many({L"--count", L"9", L"--caption", L"e2e icon", L"--icon-color", L"12AB34"});
  ASSERT_NE(many.log.waitForWindow("SHOWN", 9), nullptr);
  Target hung({L"--caption", L"e2e hung", L"--icon-color", L"12AB34", L"--hang-at-start"});
  ASSERT_TRUE(hung.log.waitForLineStartingWith("HANGING", 5s));

  // "显示图标" is in the option panel.
  ASSERT_TRUE(clickCentre(app.control(L"选项")));
  HWND showIcons = app.control(L"显示图标");
  ASSERT_TRUE(waitUntil(2s, [&] { return IsWindowVisible(showIcons) != FALSE; }));
  ASSERT_TRUE(clickCentre(showIcons));

  ASSERT_TRUE(waitUntil(5s, [&] { return iconImage(frame, 7) != nullptr; }));
  const int hungRow = waitForRow(list, hung.window);
  EXPECT_EQ(hungRow, 0) << "a program that does not answer is listed all the same";
  // Stay through a few more refreshes, with the hung program in every one.
  Sleep(4000);
  for (int slot = 1; slot <= 7; ++slot) {
    SCOPED_TRACE(slot);
    // Every refresh makes the images anew: one read between the removal and
    // the new image finds none, and the next one finds it again.
    HWND image = nullptr;
    ASSERT_TRUE(waitUntil(2s, [&] { return (image = iconImage(frame, slot)) != nullptr; }));
    const RECT place = placeIn(image, frame);
    EXPECT_EQ(place.left, 24);  // 360 twips
    EXPECT_EQ(place.top, twipsToPixels(3480 + 334 * (slot - 1), 96));
    // Beside the row: the list's rows are as high as the column's steps.
    const std::optional<RECT> row = listBoxRowRect(list, slot - 1);
    ASSERT_TRUE(row.has_value());
    EXPECT_LE(std::abs(windowRectOnScreen(image).top - row->top), 3);

    const POINT spot{windowRectOnScreen(image).left + 8, windowRectOnScreen(image).top + 8};
    const COLORREF shown = screenPixel(spot.x, spot.y);
    if (slot == hungRow + 1 || underWine()) {
      // No icon: the hung program is not waited for. Under Wine no program
      // can read another one's icons at all (see docs/testing.md).
      EXPECT_EQ(shown, kFrameColour) << std::hex << shown;
    } else {
      EXPECT_EQ(shown, RGB(0x12, 0xAB, 0x34)) << std::hex << shown;
    }
  }
  for (int slot = 8; slot <= 10; ++slot) EXPECT_EQ(iconImage(frame, slot), nullptr) << slot;

  probe.stop();
  EXPECT_TRUE(probe.keptAnswering()) << probe.summary();
}

}  // namespace
