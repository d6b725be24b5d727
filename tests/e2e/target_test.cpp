// The target program stands in for browsers and other programs in the
// hosting tests; they rely on it showing exactly the window its command line
// asks for and on its log of the key messages it receives.
#include <gtest/gtest.h>

#include <string>

#include "driver/vitrolux_app.h"

namespace {

using namespace e2e;

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

}  // namespace
