// The controls as real windows: built from the layout, kept in step with the
// model, and reporting what the user does.
#include <windows.h>
// <windows.h> first: the other system headers build on it.
#include <commctrl.h>

#include <cstddef>

#include "adapter_fixture.h"
#include "ui/twips.h"
#include "win32/control_windows.h"
#include "win32/resources.h"
#include "win32/text_encoding.h"

namespace vitrolux::platform::win32::testing {
namespace {

using model::ControlId;
using model::index;
using ControlWindowsTest = FrameFixture;

bool visible(HWND window) {
  return (::GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) != 0;
}

// The frame's tool-tip window, wherever it belongs: a window of this thread.
HWND toolTipsWindow() {
  HWND tips = nullptr;
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND w, LPARAM found) {
        wchar_t name[64] = {};
        ::GetClassNameW(w, name, 64);
        if (std::wstring(name) == TOOLTIPS_CLASSW) *reinterpret_cast<HWND*>(found) = w;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&tips));
  return tips;
}

TEST_F(ControlWindowsTest, EveryControlButTheTimersIsAChildWindowNamedForOutsideTools) {
  for (int i = 0; i < controls.size(); ++i) {
    const Control& c = controls[i];
    HWND w = controlWindows->window(i);
    if (c.kind == ControlKind::Timer) {
      EXPECT_EQ(w, nullptr) << c.name;
      continue;
    }
    ASSERT_NE(w, nullptr) << c.name;
    const HWND parent = c.container == kNoContainer ? frame : controlWindows->window(c.container);
    EXPECT_EQ(::GetParent(w), parent) << c.name;
    EXPECT_EQ(visible(w), c.visible) << c.name;
    const bool image = c.kind == ControlKind::ImageButton || c.kind == ControlKind::ImageStore;
    const bool captioned = c.kind == ControlKind::Label || c.kind == ControlKind::LabelButton ||
                           c.kind == ControlKind::CheckBox || c.kind == ControlKind::TextBox;
    const std::string expected = image ? c.toolTip : captioned ? c.caption : std::string();
    EXPECT_EQ(narrow(textOf(w)), expected) << c.name;
    RECT place{};
    ::GetWindowRect(w, &place);
    EXPECT_EQ(place.right - place.left, twipsToPixels(c.rect.width, dpi())) << c.name;
  }
}

TEST_F(ControlWindowsTest, ControlsStoredEarlierLieAboveLaterOnes) {
  // Position in the frame's z-order, top first.
  auto depth = [&](ControlId id) {
    int n = 0;
    for (HWND w = ::GetWindow(frame, GW_CHILD); w != nullptr;
         w = ::GetWindow(w, GW_HWNDNEXT), ++n) {
      if (w == window(id)) return n;
    }
    return -1;
  };
  EXPECT_LT(depth(ControlId::optionFrm), depth(ControlId::main_toolbar));
  EXPECT_LT(depth(ControlId::optionFrm), depth(ControlId::new_task_lbl));
  EXPECT_LT(depth(ControlId::optionFrm), depth(ControlId::task_list_lbl));
  EXPECT_LT(depth(ControlId::title_strip), depth(ControlId::loadBtn));
  for (HWND w = ::GetWindow(frame, GW_CHILD); w != nullptr; w = ::GetWindow(w, GW_HWNDNEXT)) {
    EXPECT_NE(::GetWindowLongW(w, GWL_STYLE) & WS_CLIPSIBLINGS, 0);
  }
}

TEST_F(ControlWindowsTest, LabelButtonClicksOnReleaseInsideAfterAPressInside) {
  HWND load = window(ControlId::loadBtn);
  ::SendMessageW(load, WM_LBUTTONDOWN, MK_LBUTTON, at(5, 5));
  EXPECT_EQ(::GetCapture(), load);
  ::SendMessageW(load, WM_LBUTTONUP, 0, at(6, 6));
  EXPECT_EQ(::GetCapture(), nullptr);

  // Dragged off before the release: no click.
  ::SendMessageW(load, WM_LBUTTONDOWN, MK_LBUTTON, at(5, 5));
  ::SendMessageW(load, WM_LBUTTONUP, 0, at(500, 5));
  // A release that follows no press on it: no click either.
  ::SendMessageW(window(ControlId::releaseBtn), WM_LBUTTONUP, 0, at(5, 5));
  // The second press of a double click does not click again.
  ::SendMessageW(load, WM_LBUTTONDOWN, MK_LBUTTON, at(5, 5));
  ::SendMessageW(load, WM_LBUTTONUP, 0, at(5, 5));
  ::SendMessageW(load, WM_LBUTTONDBLCLK, MK_LBUTTON, at(5, 5));
  ::SendMessageW(load, WM_LBUTTONUP, 0, at(5, 5));

  const std::string click = entry("click", index(ControlId::loadBtn));
  EXPECT_EQ(events.count(click), 2);
}

TEST_F(ControlWindowsTest, ImageButtonsReportEveryPressMoveAndLeaveInTwipsAndClickLikeButtons) {
  const int close = index(ControlId::close_btn);
  HWND w = window(ControlId::close_btn);
  ::SendMessageW(w, WM_MOUSEMOVE, MK_CONTROL, at(3, 4));
  ::SendMessageW(w, WM_RBUTTONDOWN, MK_RBUTTON | MK_SHIFT, at(10, 2));
  ::SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, at(1, 1));
  ::SendMessageW(w, WM_LBUTTONUP, 0, at(1, 1));
  ::SendMessageW(w, WM_MOUSELEAVE, 0, 0);
  const std::vector<std::string> expected = {
      entry("cmove", close, 0, kCtrlMask, twips(3), twips(4)),
      entry("cdown", close, kRightButton, kShiftMask, twips(10), twips(2)),
      entry("cdown", close, kLeftButton, 0, twips(1), twips(1)),
      entry("click", close),
      entry("cleave", close),
  };
  EXPECT_EQ(events.log, expected);
}

TEST_F(ControlWindowsTest, TheTitleStripReportsPressesButNotClicks) {
  HWND strip = window(ControlId::title_strip);
  ::SendMessageW(strip, WM_LBUTTONDOWN, MK_LBUTTON, at(2, 3));
  ::SendMessageW(strip, WM_LBUTTONUP, 0, at(2, 3));
  EXPECT_EQ(events.log, (std::vector<std::string>{entry("cdown", index(ControlId::title_strip),
                                                        kLeftButton, 0, twips(2), twips(3))}));
}

TEST_F(ControlWindowsTest, ModelChangesReachTheWindows) {
  HWND heading = window(ControlId::new_task_lbl);
  controls.setCaption(index(ControlId::new_task_lbl), "任务");
  EXPECT_EQ(textOf(heading), L"任务");

  // Image controls are named by their tool tip, which follows it.
  controls.setToolTip(index(ControlId::setTopMostBtn), "取消置顶");
  EXPECT_EQ(textOf(window(ControlId::setTopMostBtn)), L"取消置顶");

  controls.setVisible(index(ControlId::optionFrm), true);
  EXPECT_TRUE(visible(window(ControlId::optionFrm)));

  controls.setLeft(index(ControlId::title_strip), 7500);
  RECT place{};
  ::GetWindowRect(window(ControlId::title_strip), &place);
  POINT topLeft{place.left, place.top};
  ::ScreenToClient(frame, &topLeft);
  EXPECT_EQ(topLeft.x, twipsToPixels(7500, dpi()));

  // The colours come from the parent's WM_CTLCOLOR* answer.
  controls.setBackColor(index(ControlId::processList), Color{0x00123456});
  HDC dc = ::GetDC(window(ControlId::processList));
  const auto brush = reinterpret_cast<HBRUSH>(
      ::SendMessageW(frame, WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(window(ControlId::processList))));
  LOGBRUSH fill{};
  ::GetObjectW(brush, sizeof(fill), &fill);
  EXPECT_EQ(fill.lbColor, 0x00123456u);
  EXPECT_EQ(::GetTextColor(dc), 0x00FFFFFFu);
  ::ReleaseDC(window(ControlId::processList), dc);
}

TEST_F(ControlWindowsTest, ListRowsCarryTheirDataAndFollowTheModel) {
  const int list = index(ControlId::processList);
  HWND w = window(ControlId::processList);
  controls.setRows(list, {{"记事本", 0x10010}, {"second", 0x7FFF0001}, {"third", 3}});
  controls.setSelected(list, 1);
  ASSERT_EQ(::SendMessageW(w, LB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(::SendMessageW(w, LB_GETITEMDATA, 1, 0), 0x7FFF0001);
  EXPECT_EQ(::SendMessageW(w, LB_GETCURSEL, 0, 0), 1);
  wchar_t first[32] = {};
  ::SendMessageW(w, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(first));
  EXPECT_STREQ(first, L"记事本");

  // Other rows: the selection goes with the old ones.
  controls.setRows(list, {{"only", 42}});
  EXPECT_EQ(::SendMessageW(w, LB_GETCOUNT, 0, 0), 1);
  EXPECT_EQ(::SendMessageW(w, LB_GETITEMDATA, 0, 0), 42);
  EXPECT_EQ(::SendMessageW(w, LB_GETCURSEL, 0, 0), LB_ERR);
}

TEST_F(ControlWindowsTest, WhatTheUserDoesInAControlReachesTheModel) {
  const int path = index(ControlId::cfg_txt);
  // Typing: the edit control changes its text and notifies its parent.
  ::SendMessageW(window(ControlId::cfg_txt), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(L"C:\\程序\\a.exe"));
  EXPECT_EQ(controls[path].caption, "C:\\程序\\a.exe");
  EXPECT_EQ(events.count(entry("text", path)), 1);

  // A change made by the program is not reported back as typing.
  controls.setCaption(path, "D:\\b.exe");
  EXPECT_EQ(textOf(window(ControlId::cfg_txt)), L"D:\\b.exe");
  EXPECT_EQ(events.count(entry("text", path)), 2);

  ::SendMessageW(window(ControlId::icon_chk), BM_CLICK, 0, 0);
  EXPECT_TRUE(controls[index(ControlId::icon_chk)].checked);

  const int list = index(ControlId::processList);
  controls.setRows(list, {{"a", 1}, {"b", 2}});
  HWND w = window(ControlId::processList);
  ::SendMessageW(w, LB_SETCURSEL, 1, 0);  // as a click would, then the notification
  ::SendMessageW(frame, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(w), LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(w));
  EXPECT_EQ(controls[list].selected, 1);
  ::SendMessageW(frame, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(w), LBN_DBLCLK),
                 reinterpret_cast<LPARAM>(w));
  EXPECT_EQ(events.count(entry("cdblclick", list)), 1);
}

TEST_F(ControlWindowsTest, TimersTickWhileArmedAndStopAtZero) {
  const int timer = index(ControlId::chrome_timer);
  controls.setInterval(timer, 20);
  pump(200);
  EXPECT_GE(events.count(entry("timer", timer)), 2);
  controls.setInterval(timer, 0);
  events.log.clear();
  pump(80);
  EXPECT_EQ(events.count(entry("timer", timer)), 0);
}

TEST_F(ControlWindowsTest, ToolTipsComeAndGoWithTheirText) {
  HWND tips = toolTipsWindow();
  ASSERT_NE(tips, nullptr);
  auto toolCount = [&] { return ::SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0); };
  int withTips = 0;
  for (int i = 0; i < controls.size(); ++i) withTips += controls[i].toolTip.empty() ? 0 : 1;
  EXPECT_EQ(toolCount(), withTips);
  controls.setToolTip(index(ControlId::loadBtn), "");
  EXPECT_EQ(toolCount(), withTips - 1);
  controls.setToolTip(index(ControlId::loadBtn), "装载");
  EXPECT_EQ(toolCount(), withTips);
}

// The pin's tool tip shows a note below its state, which outside tools
// never see in its window text.
TEST_F(ControlWindowsTest, ATipsNoteIsShownBelowItAndNeverInTheWindowText) {
  HWND tips = toolTipsWindow();
  ASSERT_NE(tips, nullptr);
  HWND pin = window(ControlId::setTopMostBtn);
  auto shown = [&] {
    wchar_t text[256] = {};
    TTTOOLINFOW tool{};
    tool.cbSize = static_cast<UINT>(offsetof(TTTOOLINFOW, lParam) + sizeof(LPARAM));
    tool.hwnd = ::GetParent(pin);
    tool.uId = reinterpret_cast<UINT_PTR>(pin);
    tool.lpszText = text;
    ::SendMessageW(tips, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&tool));
    return std::wstring(text);
  };
  controls.setToolTipNote(index(ControlId::setTopMostBtn), "Ctrl+Alt+O：穿透");
  EXPECT_EQ(shown(), L"置顶\r\nCtrl+Alt+O：穿透");
  EXPECT_EQ(textOf(pin), L"置顶");
  controls.setToolTip(index(ControlId::setTopMostBtn), "取消置顶");
  EXPECT_EQ(shown(), L"取消置顶\r\nCtrl+Alt+O：穿透");
  EXPECT_EQ(textOf(pin), L"取消置顶");
}

TEST_F(ControlWindowsTest, HandCursorOverTheControlsThatAskForIt) {
  const auto hand = static_cast<HCURSOR>(
      ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kHandCursorResource), IMAGE_CURSOR,
                   0, 0, LR_DEFAULTSIZE | LR_SHARED));
  ASSERT_NE(hand, nullptr);
  for (const ControlId id : {ControlId::loadBtn, ControlId::ie_btn, ControlId::close_btn}) {
    ::SetCursor(nullptr);
    HWND w = window(id);
    ::SendMessageW(w, WM_SETCURSOR, reinterpret_cast<WPARAM>(w),
                   MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(::GetCursor(), hand) << controls[index(id)].name;
  }
  HWND heading = window(ControlId::task_list_lbl);
  ::SendMessageW(heading, WM_SETCURSOR, reinterpret_cast<WPARAM>(heading),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_ARROW));
  // A child that is not ours chooses its own cursor (the text boxes' I-beam).
  EXPECT_EQ(::SendMessageW(window(ControlId::optionFrm), WM_SETCURSOR,
                           reinterpret_cast<WPARAM>(window(ControlId::cfg_txt)),
                           MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
            FALSE);
}

// The tips follow the frame where the system lets them belong to it, and
// never keep it from being pinned.
TEST_F(ControlWindowsTest, TheFrameIsPinnedWhateverOwnsTheToolTips) {
  for (int round = 0; round < 2; ++round) {
    ASSERT_TRUE(desktop.setWindowPos(system.frameWindow(), kHwndNoTopMost, 0, 0, 0, 0,
                                     kSwpNoSize | kSwpNoMove | kSwpNoActivate));
    ASSERT_TRUE(desktop.setWindowPos(system.frameWindow(), kHwndTopMost, 0, 0, 0, 0,
                                     kSwpNoSize | kSwpNoMove | kSwpNoActivate));
    EXPECT_NE(::GetWindowLongW(frame, GWL_EXSTYLE) & WS_EX_TOPMOST, 0) << "round " << round;
  }
  HWND tips = toolTipsWindow();
  ASSERT_NE(tips, nullptr);
  HWND owner = ::GetWindow(tips, GW_OWNER);
  if (owner != nullptr) {
    EXPECT_EQ(owner, frame);
  }
}

}  // namespace
}  // namespace vitrolux::platform::win32::testing
