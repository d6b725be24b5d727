// The task list's controls as real windows: icon images that draw a copy of
// another program's icon, and the list box keeping the user's place.
#include <windows.h>

#include "adapter_fixture.h"

namespace vitrolux::platform::win32::testing {
namespace {

using model::ControlId;
using model::index;
using TaskListControlsTest = FrameFixture;

// A 16 x 16 icon of one colour, as another program's would be.
HICON solidIcon(COLORREF colour) {
  constexpr int kSize = 16;
  BYTE maskBits[kSize * 2] = {};  // all opaque
  HBITMAP mask = ::CreateBitmap(kSize, kSize, 1, 1, maskBits);
  HDC screen = ::GetDC(nullptr);
  HDC dc = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, kSize, kSize);
  HGDIOBJ old = ::SelectObject(dc, bitmap);
  HBRUSH brush = ::CreateSolidBrush(colour);
  RECT all{0, 0, kSize, kSize};
  ::FillRect(dc, &all, brush);
  ::SelectObject(dc, old);
  ::DeleteObject(brush);
  ::DeleteDC(dc);
  ::ReleaseDC(nullptr, screen);
  ICONINFO info{TRUE, 0, 0, mask, bitmap};
  HICON icon = ::CreateIconIndirect(&info);
  ::DeleteObject(mask);
  ::DeleteObject(bitmap);
  return icon;
}

bool isIcon(HICON icon) {
  ICONINFO info{};
  if (!::GetIconInfo(icon, &info)) return false;
  ::DeleteObject(info.hbmMask);
  ::DeleteObject(info.hbmColor);
  return true;
}

TEST_F(TaskListControlsTest, AnIconImageDrawsACopyAndDestroysOnlyItsCopy) {
  ASSERT_EQ(dpi(), 96);
  HICON theirs = solidIcon(RGB(0x20, 0xC0, 0x40));
  Control made;
  made.name = "app_icon_2";
  made.kind = ControlKind::IconImage;
  made.rect = {360, 3814, 240, 240};
  made.back = model::kFrameColor;
  made.icon = IconHandle{reinterpret_cast<std::intptr_t>(theirs)};
  const int image = controls.create(made);

  HWND w = controlWindows->window(image);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(::GetParent(w), frame);
  EXPECT_EQ(textOf(w), L"app_icon_2");
  RECT place{};
  ::GetWindowRect(w, &place);
  ::MapWindowPoints(nullptr, frame, reinterpret_cast<POINT*>(&place), 2);
  EXPECT_EQ(place.left, 24);
  EXPECT_EQ(place.top, 254);  // 3814 twips
  EXPECT_EQ(place.right - place.left, 16);
  EXPECT_EQ(::GetWindow(w, GW_HWNDNEXT), nullptr) << "below every other control";

  HICON copy = controlWindows->shownIcon(image);
  ASSERT_NE(copy, nullptr);
  EXPECT_NE(copy, theirs);
  system.showFrame();
  ::UpdateWindow(w);
  HDC dc = ::GetDC(w);
  EXPECT_EQ(::GetPixel(dc, 8, 8), RGB(0x20, 0xC0, 0x40));
  ::ReleaseDC(w, dc);

  // A press on it is nobody's: no event, no move of the frame.
  events.log.clear();
  ::SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, at(4, 4));
  ::SendMessageW(w, WM_LBUTTONUP, 0, at(4, 4));
  ::SendMessageW(w, WM_LBUTTONDBLCLK, MK_LBUTTON, at(4, 4));
  EXPECT_TRUE(events.log.empty());

  controls.remove(image);
  EXPECT_FALSE(::IsWindow(w));
  EXPECT_FALSE(isIcon(copy));
  EXPECT_TRUE(isIcon(theirs)) << "another program's icon is never destroyed";
  ::DestroyIcon(theirs);
}

TEST_F(TaskListControlsTest, TheListKeepsTheUsersPlaceWhenItsRowsChange) {
  ASSERT_EQ(dpi(), 96);
  const int list = index(ControlId::processList);
  HWND w = window(ControlId::processList);
  int scrolls = 0;
  controls.onUserScroll([&](int) { ++scrolls; });
  // Rows as high as the icon column's steps, 334 twips.
  EXPECT_EQ(::SendMessageW(w, LB_GETITEMHEIGHT, 0, 0), 22);

  std::vector<ListRow> rows;
  for (int i = 0; i < 30; ++i) rows.push_back({"row " + std::to_string(i), 0x1000 + i});
  controls.setRows(list, rows);
  // The user pages down: the list box tells nobody, the adapter notices.
  ::SendMessageW(w, WM_VSCROLL, MAKEWPARAM(SB_PAGEDOWN, 0), 0);
  const LRESULT top = ::SendMessageW(w, LB_GETTOPINDEX, 0, 0);
  ASSERT_GT(top, 0);
  EXPECT_EQ(controls[list].topIndex, top);
  EXPECT_EQ(scrolls, 1);

  // Other rows, and a selection far above: the place stays.
  rows.erase(rows.begin() + 20);
  controls.setRows(list, rows);
  controls.setSelected(list, 0);
  EXPECT_EQ(::SendMessageW(w, LB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(::SendMessageW(w, LB_GETTOPINDEX, 0, 0), top);
  EXPECT_EQ(controls[list].topIndex, top);
  EXPECT_EQ(scrolls, 1) << "the program's own changes are no scroll of the user's";

  // Ten rows: 166 pixels inside the border show seven, so the list stops at
  // the fourth row, and the model knows it.
  rows.resize(10);
  controls.setRows(list, rows);
  EXPECT_EQ(::SendMessageW(w, LB_GETTOPINDEX, 0, 0), 3);
  EXPECT_EQ(controls[list].topIndex, 3);
}

TEST_F(TaskListControlsTest, RowsAddedBelowASelectionTakeItsHighlightAwayWithIt) {
  const int list = index(ControlId::processList);
  HWND w = window(ControlId::processList);
  std::vector<ListRow> rows{{"A", 0x1000}, {"B", 0x1001}};
  controls.setRows(list, rows);
  controls.setSelected(list, 1);
  ASSERT_EQ(::SendMessageW(w, LB_GETCURSEL, 0, 0), 1);
  // The rows shown stay and one comes in below: the model selects nothing,
  // so no row may look selected.
  rows.push_back({"C", 0x1002});
  controls.setRows(list, rows);
  ASSERT_EQ(controls[list].selected, kNoSelection);
  EXPECT_EQ(::SendMessageW(w, LB_GETCURSEL, 0, 0), LB_ERR);
  EXPECT_EQ(::SendMessageW(w, LB_GETCOUNT, 0, 0), 3);
}

TEST_F(TaskListControlsTest, AnotherDpiAtTheSameSizeStillLaysTheFrameOutAgain) {
  system.showFrame();
  RECT now{};
  ::GetWindowRect(frame, &now);
  events.log.clear();
  ::SendMessageW(frame, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&now));
  EXPECT_EQ(system.dpi(), 144);
  EXPECT_EQ(events.count("resize"), 1);
}

}  // namespace
}  // namespace vitrolux::platform::win32::testing
