// The fifth launch tile, checked from outside against the real Vitrolux.exe
// with real clicks and keys: it opens the Open dialog above the frame, and a
// program picked there (typed into the dialog's file-name box) is hosted
// without its caption being known beforehand.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which they need.
#include <objidl.h>
#include <shobjidl.h>

#include <string>

#include "task_list_helpers.h"

namespace {

using namespace e2e;
using namespace e2e::tasks;

// The Open dialog of the process: a visible top-level dialog window.
HWND openDialog(DWORD process) {
  for (HWND window : topLevelWindows(process)) {
    if (IsWindowVisible(window) && className(window) == L"#32770") return window;
  }
  return nullptr;
}

HWND waitForOpenDialog(VitroluxApp& app) {
  HWND dialog = nullptr;
  waitUntil(5s, [&] { return (dialog = openDialog(app.process().id())) != nullptr; });
  return dialog;
}

// Whether `upper` lies above `lower` on the desktop.
bool above(HWND upper, HWND lower) {
  for (HWND w = GetWindow(upper, GW_HWNDNEXT); w != nullptr; w = GetWindow(w, GW_HWNDNEXT)) {
    if (w == lower) return true;
  }
  return false;
}

HWND anyTile(const VitroluxApp& app) {
  return app.control(L"选择程序，打开并装载");
}

// Types a path into the dialog's file-name box, which has the keyboard when
// the dialog opens, and takes it.
void choose(const std::wstring& path) {
  ASSERT_TRUE(typeText(path));
  ASSERT_TRUE(pressKeys({VK_RETURN}));
}

// The frame's child of another process, once there is one.
HWND waitForHosted(HWND frame, std::chrono::milliseconds timeout = 10s) {
  HWND hosted = nullptr;
  waitUntil(timeout, [&] {
    for (HWND child = GetWindow(frame, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      if (processOf(child) != processOf(frame) && IsWindowVisible(child)) hosted = child;
    }
    return hosted != nullptr;
  });
  return hosted;
}

// A shortcut, as the shell makes one: target and arguments.
bool makeShortcut(const std::wstring& shortcut, const std::wstring& target,
                  const std::wstring& arguments) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  IShellLinkW* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&link)))) {
    return false;
  }
  link->SetPath(target.c_str());
  link->SetArguments(arguments.c_str());
  IPersistFile* file = nullptr;
  bool saved = false;
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    saved = SUCCEEDED(file->Save(shortcut.c_str(), TRUE));
    file->Release();
  }
  link->Release();
  return saved;
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

}  // namespace
