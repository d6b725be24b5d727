// The fifth launch tile, checked from outside against the real Vitrolux.exe
// with real clicks and keys: it opens the Open dialog above the frame, and a
// program picked there (typed into the dialog's file-name box) is hosted
// without its caption being known beforehand.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>

#include "any_program_helpers.h"

namespace {

using namespace e2e;
using namespace e2e::any;

// Whether `upper` lies above `lower` on the desktop.
bool above(HWND upper, HWND lower) {
  for (HWND w = GetWindow(upper, GW_HWNDNEXT); w != nullptr; w = GetWindow(w, GW_HWNDNEXT)) {
    if (w == lower) return true;
  }
  return false;
}

TEST(AnyProgram, TheTileOpensTheDialogAboveTheFrameAndCancelChangesNothing) {
  VitroluxApp app;
  ASSERT_TRUE(app.start());
  HWND frame = app.frame();
  HWND tile = anyTile(app);
  ASSERT_NE(tile, nullptr) << "the fifth tile says what it does";

  ASSERT_TRUE(clickCentre(tile));
  HWND dialog = waitForOpenDialog(app);
  ASSERT_NE(dialog, nullptr) << "no Open dialog";
  EXPECT_EQ(windowText(dialog), L"选择程序");
  EXPECT_EQ(GetWindow(dialog, GW_OWNER), frame);
  EXPECT_TRUE(above(dialog, frame)) << "the dialog lies below the frame, pinned on top";

  // Esc is the dialog's Cancel.
  ASSERT_TRUE(pressKeys({VK_ESCAPE}));
  EXPECT_TRUE(waitUntil(3s, [&] { return openDialog(app.process().id()) == nullptr; }));
  Sleep(500);
  EXPECT_EQ(waitForHosted(frame, 0ms), nullptr);
  EXPECT_FALSE(app.readFile(L"config.txt").has_value());
  EXPECT_TRUE(app.process().running()) << "Esc in the dialog reached the frame";
  EXPECT_TRUE(app.close());
}

TEST(AnyProgram, APickedProgramIsHostedAndSavedForTheNextStart) {
  VitroluxApp app;
  const std::wstring exe = app.installTarget(L"picked.exe");
  ASSERT_TRUE(app.start());
  HWND frame = app.frame();

  ASSERT_TRUE(clickCentre(anyTile(app)));
  ASSERT_NE(waitForOpenDialog(app), nullptr);
  choose(exe);
  HWND hosted = waitForHosted(frame);
  ASSERT_NE(hosted, nullptr) << "the picked program's window was not hosted";
  EXPECT_EQ(windowText(hosted), L"e2e target");
  const RECT place = placeIn(hosted, frame);
  EXPECT_EQ(place.left, 1);
  EXPECT_EQ(place.top, 22);
  EXPECT_EQ(place.right - place.left, 645);
  EXPECT_EQ(place.bottom - place.top, 408);

  // The option panel holds the program and the caption found; "配置" keeps
  // them for the next start. The panel lies above the hosted window.
  ASSERT_TRUE(clickCentre(app.control(L"选项")));
  HWND save = app.control(L"配置");
  ASSERT_TRUE(waitUntil(2s, [&] { return IsWindowVisible(save) != FALSE; }));
  ASSERT_TRUE(clickCentre(save));
  ASSERT_TRUE(waitUntil(3s, [&] { return app.readFile(L"config.txt").has_value(); }));
  EXPECT_EQ(app.readFile(L"config.txt").value_or(""), narrow(exe) + "|e2e target\r\n");
  ASSERT_TRUE(app.close());

  // The next start hosts it by itself (its first window ended with the
  // first run's programs).
  ASSERT_TRUE(app.start());
  HWND again = waitForHosted(app.frame());
  ASSERT_NE(again, nullptr) << "the saved entry was not loaded at the next start";
  EXPECT_NE(again, hosted);
  EXPECT_EQ(windowText(again), L"e2e target");
  EXPECT_TRUE(app.close());
}

TEST(AnyProgram, AShortcutToALauncherHostsTheWindowOfTheProgramItStarts) {
  VitroluxApp app;
  const std::wstring exe = app.installTarget(L"launcher.exe");
  const std::wstring shortcut = app.folder() + L"\\launcher.lnk";
  ASSERT_TRUE(makeShortcut(shortcut, exe, L"--launch \"--caption Launched\""));
  ASSERT_TRUE(app.start());
  HWND frame = app.frame();

  ASSERT_TRUE(clickCentre(anyTile(app)));
  ASSERT_NE(waitForOpenDialog(app), nullptr);
  choose(shortcut);
  HWND hosted = waitForHosted(frame);
  ASSERT_NE(hosted, nullptr) << "the launched program's window was not hosted";
  EXPECT_EQ(windowText(hosted), L"Launched");
  EXPECT_TRUE(app.close());
}

TEST(AnyProgram, AShortcutStartsAsExplorerStartsItAndComesBackWholeAtTheNextStart) {
  VitroluxApp app;
  const std::wstring exe = app.installTarget(L"programs\\picked.exe");
  const std::wstring data = app.folder() + L"\\data";
  ASSERT_TRUE(CreateDirectoryW(data.c_str(), nullptr));
  TargetLog log(app.folder() + L"\\picked.log");
  const std::wstring shortcut = app.folder() + L"\\Tab.lnk";
  ASSERT_TRUE(makeShortcut(shortcut, exe,
                           L"--caption \"Tab | Site\" --note \"Profile 1\" --log-start --log \"" +
                               log.path() + L"\"",
                           data));
  ASSERT_TRUE(app.start());
  pick(app, shortcut);
  HWND hosted = waitForHosted(app.frame());
  ASSERT_NE(hosted, nullptr) << "the shortcut's program was not hosted";
  EXPECT_EQ(windowText(hosted), L"Tab | Site");
  // In the shortcut's "Start in" folder, with its arguments as they were.
  const std::optional<std::string> started = log.waitForLineStartingWith("STARTED ");
  ASSERT_TRUE(started.has_value());
  EXPECT_EQ(started->substr(8, started->find('|') - 8), narrow(data));
  EXPECT_NE(started->find("--note \"Profile 1\""), std::string::npos) << *started;

  // "配置" keeps the program, its quoted arguments and the caption with its
  // '|' for the next start.
  ASSERT_TRUE(makeRoomBesideHosted(app.frame(), hosted));
  ASSERT_TRUE(clickCentre(app.control(L"选项")));
  HWND save = app.control(L"配置");
  ASSERT_TRUE(waitUntil(2s, [&] { return IsWindowVisible(save) != FALSE; }));
  ASSERT_TRUE(clickCentre(save));
  ASSERT_TRUE(waitUntil(3s, [&] { return app.readFile(L"config.txt").has_value(); }));
  const std::string config = app.readFile(L"config.txt").value_or("");
  EXPECT_NE(config.find("|Tab | Site\"\r\n"), std::string::npos) << config;
  ASSERT_TRUE(app.close());

  ASSERT_TRUE(app.start());
  HWND again = waitForHosted(app.frame());
  ASSERT_NE(again, nullptr) << "the saved entry was not hosted at the next start";
  EXPECT_EQ(windowText(again), L"Tab | Site");
  ASSERT_TRUE(waitUntil(5s, [&] { return log.windows("READY").size() == 2; }));
  const std::vector<std::string> lines = log.lines();
  const auto second = std::find_if(lines.rbegin(), lines.rend(), [](const std::string& line) {
    return line.rfind("STARTED ", 0) == 0;
  });
  ASSERT_NE(second, lines.rend());
  EXPECT_NE(second->find("--note \"Profile 1\""), std::string::npos) << *second;
  EXPECT_TRUE(app.close());
}

TEST(AnyProgram, AMaximisedWindowIsHostedAsANormalOneAndComesBackMaximised) {
  ListedTarget maximised(L"Maximised window", {L"--maximized"});
  ASSERT_NE(maximised.window, nullptr);
  ASSERT_TRUE(IsZoomed(maximised.window));
  VitroluxApp app;
  ASSERT_TRUE(app.start());
  HWND frame = app.frame();
  ASSERT_TRUE(maximised.select(app));
  ASSERT_TRUE(clickCentre(app.control(L"装载")));
  ASSERT_TRUE(waitUntil(3s, [&] { return hostedIn(maximised.window, frame); }));
  EXPECT_FALSE(IsZoomed(maximised.window)) << "hosted still flagged maximised";
  const RECT place = placeIn(maximised.window, frame);
  EXPECT_EQ(place.left, 1);
  EXPECT_EQ(place.top, 22);
  EXPECT_EQ(place.right - place.left, 645);
  EXPECT_EQ(place.bottom - place.top, 408);

  ASSERT_TRUE(makeRoomBesideHosted(frame, maximised.window));
  ASSERT_TRUE(clickCentre(app.control(L"释放")));
  ASSERT_TRUE(waitUntil(3s, [&] { return parentOf(maximised.window) == nullptr; }));
  EXPECT_TRUE(waitUntil(2s, [&] { return IsZoomed(maximised.window) != FALSE; }))
      << "not maximised again";
  // Restored by the user, it comes back at its own size where it stood.
  // (What GetWindowPlacement tells another process of its restored place
  // is not to be trusted under Wine: the window's own answer is.)
  ShowWindow(maximised.window, SW_RESTORE);
  ASSERT_TRUE(waitUntil(2s, [&] { return IsZoomed(maximised.window) == FALSE; }));
  const RECT restored = windowRectOnScreen(maximised.window);
  EXPECT_EQ(restored.left, 720) << "its restored place was lost";
  EXPECT_EQ(restored.top, 120);
  EXPECT_EQ(restored.right - restored.left, 320);
  EXPECT_EQ(restored.bottom - restored.top, 200);
  EXPECT_TRUE(app.close());
}

TEST(AnyProgram, AMinimisedWindowIsHostedVisible) {
  ListedTarget minimised(L"Minimised window", {L"--minimized"});
  ASSERT_NE(minimised.window, nullptr);
  ASSERT_TRUE(IsIconic(minimised.window));
  VitroluxApp app;
  ASSERT_TRUE(app.start());
  HWND frame = app.frame();
  ASSERT_TRUE(minimised.select(app));
  ASSERT_TRUE(clickCentre(app.control(L"装载")));
  ASSERT_TRUE(waitUntil(3s, [&] { return hostedIn(minimised.window, frame); }));
  // A window changing parents is hidden, given its new parent, then shown
  // again by its own thread: read from here, it may be hosted yet hidden
  // for a moment.
  EXPECT_TRUE(waitUntil(2s, [&] {
    return IsWindowVisible(minimised.window) != FALSE && IsIconic(minimised.window) == FALSE;
  })) << "iconic " << IsIconic(minimised.window) << ", visible "
      << IsWindowVisible(minimised.window);
  EXPECT_EQ(windowSize(minimised.window).cx, 645);
  EXPECT_TRUE(app.close());
}

}  // namespace
