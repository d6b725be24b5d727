// The frame as a user first sees it, checked from outside through Win32
// against the real Vitrolux.exe: one borderless window of the stored size,
// pinned on top, with the stored controls; one instance at a time; a close
// request ends it.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <vector>

#include "driver/vitrolux_app.h"

namespace {

using namespace e2e;

std::string describe(std::wstring_view text) {
  return narrow(text);
}

TEST(Frame, IsOneBorderlessPinnedWindowOfTheStoredSize) {
  VitroluxApp app;
  ASSERT_TRUE(app.start());
  HWND frame = app.frame();

  EXPECT_EQ(className(frame), kFrameClass);
  EXPECT_EQ(windowText(frame), kFrameCaption);
  EXPECT_EQ(GetParent(frame), nullptr);
  auto windows = topLevelWindows(app.process().id());
  EXPECT_EQ(std::count_if(windows.begin(), windows.end(), IsWindowVisible), 1)
      << "one visible top-level window";

  // 9675 x 6495 twips, converted at the frame's own DPI.
  UINT dpi = GetDpiForWindow(frame);
  ASSERT_GT(dpi, 0u);
  SIZE client = clientSize(frame);
  EXPECT_EQ(client.cx, twipsToPixels(9675, dpi));
  EXPECT_EQ(client.cy, twipsToPixels(6495, dpi));
  if (dpi == 96) {
    EXPECT_EQ(client.cx, 645);
    EXPECT_EQ(client.cy, 433);
  }

  // No caption bar and no border: the client area is the whole window.
  EXPECT_EQ(style(frame) & WS_CAPTION, 0) << std::hex << style(frame);
  SIZE outer = windowSize(frame);
  EXPECT_EQ(outer.cx, client.cx);
  EXPECT_EQ(outer.cy, client.cy);

  EXPECT_NE(exStyle(frame) & WS_EX_TOPMOST, 0) << "the frame starts pinned on top";
}

TEST(Frame, ShowsTheStoredControlsWithTheOptionPanelHidden) {
  VitroluxApp app;
  ASSERT_TRUE(app.start());

  // Headings, command buttons and the launch tiles that carry a tool tip.
  const wchar_t* visible[] = {
      L"新建任务",
      L"任务列表",
      L"装载",
      L"释放",
      L"前置",
      L"穿透",
      L"F5",
      L"打开并装载Internet Explorer",
      L"打开并装载Chrome",
      L"打开并装载Firefox",
  };
  for (const wchar_t* text : visible) {
    HWND control = app.control(text);
    if (!control) {
      ADD_FAILURE() << "no control \"" << describe(text) << "\"";
      continue;
    }
    EXPECT_TRUE(IsWindowVisible(control)) << describe(text);
  }

  HWND list = findDescendantByClass(app.frame(), L"ListBox");
  ASSERT_NE(list, nullptr) << "no task list";
  EXPECT_TRUE(IsWindowVisible(list));

  // The option panel exists from the start but stays hidden until opened.
  for (const wchar_t* text : {L"路径", L"标题", L"配置", L"显示图标"}) {
    HWND control = app.control(text);
    if (!control) {
      ADD_FAILURE() << "no option control \"" << describe(text) << "\"";
      continue;
    }
    EXPECT_FALSE(IsWindowVisible(control)) << describe(text);
  }
}

// The title-bar buttons share their tool-tip texts with hidden image stores
// that hold their other pictures; exactly one of each must show, in one
// strip, in this order from left to right.
TEST(Frame, ShowsTheFiveTitleBarButtonsLeftToRightInOneStrip) {
  VitroluxApp app;
  ASSERT_TRUE(app.start());

  const wchar_t* order[] = {L"选项", L"置顶", L"最小化", L"全屏", L"关闭"};
  std::vector<HWND> buttons;
  for (const wchar_t* text : order) {
    std::vector<HWND> shown;
    for (HWND control : app.controls(text)) {
      if (IsWindowVisible(control)) shown.push_back(control);
    }
    EXPECT_EQ(shown.size(), 1u) << describe(text);
    if (!shown.empty()) buttons.push_back(shown.front());
  }
  ASSERT_EQ(buttons.size(), std::size(order));

  HWND strip = GetParent(buttons.front());
  EXPECT_NE(strip, app.frame()) << "the buttons sit in the title-bar strip";
  for (size_t i = 0; i < buttons.size(); ++i) {
    EXPECT_EQ(GetParent(buttons[i]), strip) << describe(order[i]);
    if (i > 0) {
      RECT left{}, right{};
      GetWindowRect(buttons[i - 1], &left);
      GetWindowRect(buttons[i], &right);
      EXPECT_LT(left.left, right.left)
          << describe(order[i - 1]) << " before " << describe(order[i]);
    }
  }
}

TEST(Frame, SecondStartEndsWithoutShowingAWindowAndLeavesTheFirstRunning) {
  VitroluxApp app;
  ASSERT_TRUE(app.start());
  HWND first = app.frame();

  Process second = app.startAnother();
  ASSERT_TRUE(second);
  bool showedWindow = false;
  bool ended = waitUntil(10s, [&] {
    if (visibleTopLevelWindow(second.id())) showedWindow = true;
    return !second.running();
  });
  EXPECT_TRUE(ended) << "the second instance is still running";
  EXPECT_FALSE(showedWindow) << "the second instance showed a window";

  EXPECT_TRUE(app.process().running());
  EXPECT_EQ(findFrame(app.process().id()), first);
  EXPECT_TRUE(IsWindowVisible(first));
}

TEST(Frame, CloseRequestEndsTheProcess) {
  VitroluxApp app;
  ASSERT_TRUE(app.start());
  EXPECT_TRUE(app.close()) << "still running after WM_CLOSE";
  EXPECT_FALSE(IsWindow(app.frame()));
}

}  // namespace
