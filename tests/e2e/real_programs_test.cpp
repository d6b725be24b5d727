// Programs picked with the fifth tile that start the way real programs do,
// checked from outside against the real Vitrolux.exe with real clicks and
// keys: a console program, a splash screen, a window owned by a hidden main
// window, a dialog alone, a hand-off to a copy already running, a window
// that will not stay in the frame. Each pick that hosts nothing says why in
// a message, and the window hosted before stays hosted and answers "释放".
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "any_program_helpers.h"

namespace {

using namespace e2e;
using namespace e2e::any;

// A console program's window: Wine's console host (a process of its own,
// as conhost is on Windows), or Windows' own.
bool isConsole(HWND window) {
  return className(window) == L"WineConsoleClass" || className(window) == L"ConsoleWindowClass";
}

// Vitrolux with a window of another program hosted from its task list, and
// room made beside it for the tiles and buttons it would cover.
class HostedBefore : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(listed.window, nullptr);
    ASSERT_TRUE(app.start());
    frame = app.frame();
    ASSERT_TRUE(listed.select(app));
    ASSERT_TRUE(clickCentre(app.control(L"装载")));
    ASSERT_TRUE(waitUntil(3s, [&] { return hostedIn(listed.window, frame); }));
    ASSERT_TRUE(makeRoomBesideHosted(frame, listed.window));
  }
  void TearDown() override { app.close(); }

  // A shortcut in the application folder to a program copied there.
  std::wstring shortcutTo(const std::wstring& program, const std::wstring& arguments) {
    const std::wstring link = app.folder() + L"\\pick.lnk";
    EXPECT_TRUE(makeShortcut(link, program, arguments));
    return link;
  }
  std::wstring targetShortcut(const std::wstring& arguments) {
    return shortcutTo(app.installTarget(L"picked.exe"), arguments);
  }

  // The pick hosted nothing: the window hosted before is still inside and
  // still the hosted one, which a real click on "释放" gives back.
  void expectHostedBeforeAnswersRelease() {
    EXPECT_TRUE(hostedIn(listed.window, frame));
    ASSERT_TRUE(clickCentre(app.control(L"释放")));
    EXPECT_TRUE(waitUntil(3s, [&] { return parentOf(listed.window) == nullptr; }))
        << "释放 no longer reaches the window hosted before";
  }

  ListedTarget listed{L"Hosted before"};
  VitroluxApp app;
  HWND frame = nullptr;
};

TEST_F(HostedBefore, AConsoleProgramsOwnWindowIsHostedNotItsConsole) {
  const std::wstring console = app.installConsoleTarget(L"script.exe");
  pick(app, shortcutTo(console, L"--window-after-ms 1500 --caption \"Script GUI\""));
  HWND gui = waitForHosted(frame, 10s, listed.window);
  ASSERT_NE(gui, nullptr);
  EXPECT_EQ(windowText(gui), L"Script GUI");
  bool consoleShown = false;
  for (HWND window : topLevelWindows()) consoleShown = consoleShown || isConsole(window);
  EXPECT_TRUE(consoleShown) << "no console window to leave alone: the test proves nothing";
  for (HWND child = GetWindow(frame, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    EXPECT_FALSE(isConsole(child)) << "the console was hosted";
  }
}

TEST_F(HostedBefore, AConsoleProgramThatShowsNothingElseHasItsConsoleHostedAfterTheGrace) {
  const std::wstring console = app.installConsoleTarget(L"tool.exe");
  pick(app, shortcutTo(console, L"--exit-after-ms 60000"));
  HWND hosted = waitForHosted(frame, 10s, listed.window);
  ASSERT_NE(hosted, nullptr);
  EXPECT_TRUE(isConsole(hosted)) << narrow(className(hosted));
}

TEST_F(HostedBefore, ASplashIsNotTakenForTheProgramsWindow) {
  pick(app, targetShortcut(L"--caption Main --splash-ms 1500"));
  HWND hosted = waitForHosted(frame, 10s, listed.window);
  ASSERT_NE(hosted, nullptr);
  EXPECT_EQ(windowText(hosted), L"Main");
}

TEST_F(HostedBefore, TheMainWindowIsHostedNotTheWindowItOwns) {
  pick(app, targetShortcut(L"--caption Main --hidden --show-after-ms 1500 --owned \"Tip of the day\""));
  HWND hosted = waitForHosted(frame, 10s, listed.window);
  ASSERT_NE(hosted, nullptr);
  EXPECT_EQ(windowText(hosted), L"Main");
}

TEST_F(HostedBefore, ADialogAloneIsHostedAfterTheGrace) {
  pick(app, targetShortcut(L"--caption Owner --hidden --owned Licence"));
  Sleep(1500);
  EXPECT_EQ(waitForHosted(frame, 0ms, listed.window), nullptr) << "hosted before the grace";
  HWND hosted = waitForHosted(frame, 10s, listed.window);
  ASSERT_NE(hosted, nullptr);
  EXPECT_EQ(windowText(hosted), L"Licence");
}

TEST_F(HostedBefore, AHandOffSaysSoAndKeepsTheWindowHostedBefore) {
  // The program hands the request to a copy already running and ends.
  pick(app, targetShortcut(L"--no-window --exit-after-ms 300"));
  EXPECT_EQ(dismissMessage(app),
            L"程序已经结束，没有显示窗口。它可能把请求交给了已经在运行的同一程序：请在任务列表中"
            L"选择那个窗口，点击“装载”。");
  expectHostedBeforeAnswersRelease();
}

TEST_F(HostedBefore, AWindowThatWillNotStayInTheFrameSaysWhyAndKeepsTheWindowHostedBefore) {
  pick(app, targetShortcut(L"--caption Stubborn --refuse-parent"));
  EXPECT_EQ(dismissMessage(app),
            L"系统拒绝装载这个窗口。如果它的程序以管理员身份运行，Vitrolux 也须以管理员身份运行才能"
            L"装载它。");
  expectHostedBeforeAnswersRelease();
}

TEST_F(HostedBefore, AShortcutToADocumentSaysItNamesNoProgram) {
  const std::wstring document = app.folder() + L"\\notes.txt";
  ASSERT_TRUE(writeFileBytes(document, "notes\r\n"));
  pick(app, shortcutTo(document, L""));
  EXPECT_EQ(dismissMessage(app),
            L"这个快捷方式没有指向可以启动的程序（它指向文档、文件夹，或者目标已不存在）。");
  expectHostedBeforeAnswersRelease();
}

}  // namespace
