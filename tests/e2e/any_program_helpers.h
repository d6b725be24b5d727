// What the tests of the fifth tile share: the Open dialog found and used by
// the keyboard, shortcuts made as the shell makes them, the frame's hosted
// window, and the frame's messages read and dismissed.
#pragma once

#include <windows.h>
// After windows.h, which they need.
#include <objidl.h>
#include <shobjidl.h>

#include <string>

#include "driver/screen.h"
#include "task_list_helpers.h"

namespace e2e::any {

using namespace e2e::tasks;

// The Open dialog of the process: a visible top-level dialog window.
inline HWND openDialog(DWORD process) {
  for (HWND window : topLevelWindows(process)) {
    if (IsWindowVisible(window) && className(window) == L"#32770" &&
        windowText(window) == L"选择程序") {
      return window;
    }
  }
  return nullptr;
}

inline HWND waitForOpenDialog(VitroluxApp& app) {
  HWND dialog = nullptr;
  waitUntil(5s, [&] { return (dialog = openDialog(app.process().id())) != nullptr; });
  return dialog;
}

inline HWND anyTile(const VitroluxApp& app) {
  return app.control(L"选择程序，打开并装载");
}

// Types a path into the dialog's file-name box, which has the keyboard when
// the dialog opens, and takes it.
inline void choose(const std::wstring& path) {
  ASSERT_TRUE(typeText(path));
  ASSERT_TRUE(pressKeys({VK_RETURN}));
}

// A real click on the fifth tile, and the path typed into its dialog.
inline void pick(VitroluxApp& app, const std::wstring& path) {
  ASSERT_TRUE(clickCentre(anyTile(app)));
  ASSERT_NE(waitForOpenDialog(app), nullptr) << "no Open dialog";
  choose(path);
}

// The frame's visible child of another process, once there is one other
// than `besides`.
inline HWND waitForHosted(HWND frame, std::chrono::milliseconds timeout = 10s,
                          HWND besides = nullptr) {
  HWND hosted = nullptr;
  waitUntil(timeout, [&] {
    for (HWND child = GetWindow(frame, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      if (child != besides && processOf(child) != processOf(frame) && IsWindowVisible(child)) {
        hosted = child;
      }
    }
    return hosted != nullptr;
  });
  return hosted;
}

// A shortcut, as the shell makes one: target, arguments, and optionally its
// "Start in" folder and show command.
inline bool makeShortcut(const std::wstring& shortcut, const std::wstring& target,
                         const std::wstring& arguments, const std::wstring& startIn = {},
                         int showCommand = SW_SHOWNORMAL) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  IShellLinkW* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&link)))) {
    return false;
  }
  link->SetPath(target.c_str());
  link->SetArguments(arguments.c_str());
  if (!startIn.empty()) link->SetWorkingDirectory(startIn.c_str());
  link->SetShowCmd(showCommand);
  IPersistFile* file = nullptr;
  bool saved = false;
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    saved = SUCCEEDED(file->Save(shortcut.c_str(), TRUE));
    file->Release();
  }
  link->Release();
  return saved;
}

// The message the frame shows, read, then dismissed with Enter as a
// keyboard user would; empty when none came. With VITROLUX_MESSAGE_SHOTS
// naming a folder, the frame and the message are saved there as a picture
// named after the test, for a person to see.
inline std::wstring dismissMessage(const VitroluxApp& app, std::chrono::milliseconds timeout = 8s) {
  HWND box = app.waitForMessage(timeout);
  if (box == nullptr) return {};
  const std::wstring text = VitroluxApp::messageText(box);
  wchar_t folder[MAX_PATH] = {};
  if (GetEnvironmentVariableW(L"VITROLUX_MESSAGE_SHOTS", folder, MAX_PATH) > 0) {
    Sleep(300);  // painted
    const RECT frame = windowRectOnScreen(app.frame());
    const RECT message = windowRectOnScreen(box);
    RECT area{};
    UnionRect(&area, &frame, &message);
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    saveScreenshot(std::wstring(folder) + L"\\" + widen(test ? test->name() : "message") + L".bmp",
                   area);
  }
  SetForegroundWindow(box);
  pressKeys({VK_RETURN});
  waitUntil(3s, [&] { return !IsWindow(box) || !IsWindowVisible(box); });
  return text;
}

}  // namespace e2e::any
