// Hosting, checked from outside against the real Vitrolux.exe: the program
// named in config.txt is launched and adopted at start-up and given back on
// close; the launch tiles adopt their programs after their delays; the option
// panel saves the auto-load entry and shows whether the save worked.
#include <gtest/gtest.h>
#include <windows.h>
// after windows.h, which it needs
#include <tlhelp32.h>

#include <chrono>
#include <string>

#include "driver/input.h"
#include "driver/screen.h"
#include "driver/vitrolux_app.h"
#include "task_list_helpers.h"

namespace {

using namespace e2e;
using Clock = std::chrono::steady_clock;

// The time from `start` until now.
std::chrono::milliseconds since(Clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
}

bool processRunning(std::wstring_view exeName) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return false;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  bool found = false;
  for (BOOL ok = Process32FirstW(snapshot, &entry); ok && !found;
       ok = Process32NextW(snapshot, &entry)) {
    found = _wcsicmp(entry.szExeFile, std::wstring(exeName).c_str()) == 0;
  }
  CloseHandle(snapshot);
  return found;
}

// The colour the screen shows just inside the window's top-left corner.
COLORREF colourInside(HWND window) {
  const RECT r = windowRectOnScreen(window);
  return screenPixel(r.left + 2, r.top + 2);
}

TEST(Hosting, TheAutoLoadEntryIsAdoptedAndGivenBackOnClose) {
  VitroluxApp app;
  endProgramsCaptioned(L"Untitled - Notepad");
  ASSERT_TRUE(app.writeFile(L"config.txt", "C:\\windows\\notepad.exe|Untitled - Notepad\r\n"));
  const Clock::time_point started = Clock::now();
  ASSERT_TRUE(app.start());
  HWND frame = app.frame();
  EXPECT_NE(exStyle(frame) & WS_EX_TOPMOST, 0) << "the frame starts pinned on top";

  // The user pins Notepad on top before it is captured, so that the check
  // below that it is no longer pinned after the give-back can fail.
  HWND early = nullptr;
  ASSERT_TRUE(waitUntil(1500ms, [&] {
    for (HWND window : topLevelWindows()) {
      if (windowText(window) == L"Untitled - Notepad" && IsWindowVisible(window)) early = window;
    }
    return early != nullptr;
  })) << "Notepad did not open before its capture";
  ASSERT_TRUE(
      SetWindowPos(early, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE));
  ASSERT_NE(exStyle(early) & WS_EX_TOPMOST, 0);

  HWND notepad = waitForChildByText(frame, L"Untitled - Notepad", 8s);
  const std::chrono::milliseconds took = since(started);
  ASSERT_NE(notepad, nullptr) << "Notepad was not adopted";
  EXPECT_EQ(notepad, early);
  EXPECT_GE(took, 1500ms) << "adopted before its 2 s delay";
  const RECT place = tasks::placeIn(notepad, frame);
  EXPECT_EQ(place.left, 1);
  EXPECT_EQ(place.top, 22);
  EXPECT_EQ(place.right - place.left, 645);
  EXPECT_EQ(place.bottom - place.top, 408);

  RECT onScreen{};
  GetWindowRect(notepad, &onScreen);
  DWORD notepadPid = processOf(notepad);
  ASSERT_TRUE(app.close()) << "Vitrolux did not end on WM_CLOSE";

  // Notepad outlives the frame, with its window back on the desktop where
  // the user saw it, no longer pinned.
  ASSERT_TRUE(IsWindow(notepad)) << "Notepad's window was destroyed with the frame";
  EXPECT_EQ(processOf(notepad), notepadPid);
  EXPECT_EQ(parentOf(notepad), nullptr) << "not back on the desktop";
  EXPECT_TRUE(IsWindowVisible(notepad));
  EXPECT_EQ(exStyle(notepad) & WS_EX_TOPMOST, 0);
  RECT after{};
  GetWindowRect(notepad, &after);
  EXPECT_EQ(after.left, onScreen.left);
  EXPECT_EQ(after.top, onScreen.top);

  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, notepadPid);
  ASSERT_NE(process, nullptr);
  EXPECT_EQ(WaitForSingleObject(process, 0), WAIT_TIMEOUT) << "Notepad ended";
  CloseHandle(process);
}

TEST(Hosting, TheFirefoxTileAdoptsItsProgramAfterTwoSeconds) {
  VitroluxApp app;
  const std::wstring firefox = app.installTarget(L"firefox.exe");
  ASSERT_TRUE(app.writeFile(
      L"firefox.txt", narrow(firefox) + " --caption \"Mozilla Firefox\"|Mozilla Firefox\r\n"));
  ASSERT_TRUE(app.start());
  HWND tile = app.control(L"打开并装载Firefox");
  ASSERT_NE(tile, nullptr);

  const Clock::time_point clicked = Clock::now();
  clickCentre(tile);
  HWND adopted = waitForChildByText(app.frame(), L"Mozilla Firefox", 8s);
  const std::chrono::milliseconds took = since(clicked);
  ASSERT_NE(adopted, nullptr);
  EXPECT_GE(took, 1500ms);
  EXPECT_LT(took, 5000ms);
  EXPECT_EQ(tasks::placeIn(adopted, app.frame()).top, 22);
}

TEST(Hosting, TheChromeTileAdoptsItsNewTabWindowAfter400ms) {
  VitroluxApp app;
  const std::wstring chrome = app.installTarget(L"chrome.exe");
  // The title needs more than a Western code page: stored as UTF-8.
  ASSERT_TRUE(app.writeFile(L"chrome.txt", "\xEF\xBB\xBF" + narrow(chrome) +
                                               " --caption \"新标签页 - Google Chrome\"|"
                                               "新标签页 - Google Chrome\r\n"));
  ASSERT_TRUE(app.start());
  HWND tile = app.control(L"打开并装载Chrome");
  ASSERT_NE(tile, nullptr);

  // No warm-up start: a first start of a program under Wine can take longer
  // than 400 ms to show a window, and the launch then waits for it.
  const Clock::time_point clicked = Clock::now();
  clickCentre(tile);
  HWND adopted = waitForChildByText(app.frame(), L"新标签页 - Google Chrome", 8s);
  const std::chrono::milliseconds took = since(clicked);
  ASSERT_NE(adopted, nullptr) << "the new tab window was not adopted";
  EXPECT_GE(took, 300ms);
  EXPECT_LT(took, 1900ms) << "Chrome is looked for after 400 ms, not 2 s";
}

class OptionPanel : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(app.start());
    options = visibleControl(L"选项");
    pathBox = app.control(L"粘贴程序路径，下次自动装载");
    titleBox = app.control(L"粘贴程序默认标题，下次自动装载程序");
    save = app.control(L"配置");
    ASSERT_NE(options, nullptr);
    ASSERT_NE(pathBox, nullptr);
    ASSERT_NE(titleBox, nullptr);
    ASSERT_NE(save, nullptr);
  }

  HWND visibleControl(std::wstring_view text) {
    for (HWND control : app.controls(text)) {
      if (IsWindowVisible(control)) return control;
    }
    return nullptr;
  }
  bool panelOpen() { return IsWindowVisible(save) != FALSE; }
  // The waits are long: a box holding tens of thousands of characters takes
  // the edit control a while to lay out on a busy machine.
  void open() {
    if (!panelOpen()) clickCentre(options);
    ASSERT_TRUE(waitUntil(10s, [&] { return panelOpen(); })) << "the panel did not open";
  }
  // What typing does to an edit box: new text, and the box says it changed.
  void type(HWND box, std::wstring_view text) {
    SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(std::wstring(text).c_str()));
  }
  // Saves, then reopens the panel to see the outcome's colour.
  COLORREF saveAndLook() {
    clickCentre(save);
    EXPECT_TRUE(waitUntil(10s, [&] { return !panelOpen(); })) << "a save hides the panel";
    open();
    Sleep(300);  // let it paint
    return colourInside(save);
  }

  VitroluxApp app;
  HWND options = nullptr, pathBox = nullptr, titleBox = nullptr, save = nullptr;
};

constexpr COLORREF kGreen = RGB(0, 192, 0);
constexpr COLORREF kRed = RGB(192, 0, 0);

TEST_F(OptionPanel, OpensAndClosesWithTheOptionsButton) {
  EXPECT_FALSE(panelOpen());
  clickCentre(options);
  EXPECT_TRUE(waitUntil(3s, [&] { return panelOpen(); }));
  EXPECT_TRUE(IsWindowVisible(app.control(L"路径")));
  clickCentre(options);
  EXPECT_TRUE(waitUntil(3s, [&] { return !panelOpen(); }));
}

TEST_F(OptionPanel, SavesTheEntryAndShowsWhetherItWasWritten) {
  open();
  type(pathBox, L"C:\\Program Files\\Mozilla Firefox\\firefox.exe");
  EXPECT_TRUE(waitUntil(2s, [&] { return windowText(titleBox) == L"Mozilla Firefox"; }))
      << "title box: " << narrow(windowText(titleBox));

  EXPECT_EQ(saveAndLook(), kGreen);
  EXPECT_EQ(app.readFile(L"config.txt"),
            "C:\\Program Files\\Mozilla Firefox\\firefox.exe|Mozilla Firefox\r\n");

  // Refused: no title. The file stays as it was.
  type(titleBox, L"");
  EXPECT_EQ(saveAndLook(), kRed);
  EXPECT_EQ(app.readFile(L"config.txt"),
            "C:\\Program Files\\Mozilla Firefox\\firefox.exe|Mozilla Firefox\r\n");

  // Another program holds the file open without sharing: the save cannot be
  // written, says so, and the old content stays whole.
  type(pathBox, L"C:\\Tools\\tool.exe");
  type(titleBox, L"Tool");
  const std::wstring config = app.folder() + L"\\config.txt";
  HANDLE held = CreateFileW(config.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_EQ(saveAndLook(), kRed);
  CloseHandle(held);
  EXPECT_EQ(app.readFile(L"config.txt"),
            "C:\\Program Files\\Mozilla Firefox\\firefox.exe|Mozilla Firefox\r\n");

  EXPECT_EQ(saveAndLook(), kGreen);
  EXPECT_EQ(app.readFile(L"config.txt"), "C:\\Tools\\tool.exe|Tool\r\n");
}

// Real keys: Tab goes down the panel from the path to the title, whose text
// it selects as the system's dialogs do, and Shift+Tab goes back up.
TEST_F(OptionPanel, TabAndShiftTabMoveBetweenItsBoxes) {
  open();
  ASSERT_TRUE(clickToType(pathBox));
  ASSERT_TRUE(pressKeys({VK_TAB, 'A', 'B'}));
  EXPECT_TRUE(waitUntil(3s, [&] { return windowText(titleBox) == L"ab"; }))
      << "title box: " << narrow(windowText(titleBox));
  EXPECT_EQ(windowText(pathBox), L"粘贴程序路径，下次自动装载");

  ASSERT_TRUE(typeChord({VK_SHIFT, VK_TAB}));
  ASSERT_TRUE(pressKeys({'C'}));
  EXPECT_TRUE(waitUntil(3s, [&] { return windowText(pathBox) == L"c"; }))
      << "path box: " << narrow(windowText(pathBox));
}

TEST_F(OptionPanel, ASaveTooLongToBeReadBackWholeIsRefused) {
  open();
  type(pathBox, L"C:\\Tools\\tool.exe");
  type(titleBox, L"Tool");
  EXPECT_EQ(saveAndLook(), kGreen);
  // Thai and Chinese together fit no ANSI code page, so the entry is saved
  // as UTF-8: 3 bytes a character, 66,000 for the title alone, more than
  // the 64 KB a read takes.
  std::wstring title;
  for (int i = 0; i < 11000; ++i) title += L"ก记";
  type(titleBox, title);
  EXPECT_EQ(saveAndLook(), kRed);
  EXPECT_EQ(app.readFile(L"config.txt"), "C:\\Tools\\tool.exe|Tool\r\n");
}

TEST(Launching, APlantedProgramIsNeverStartedForAPathWithBlanks) {
  // Firefox is not installed here; a program planted where an unquoted
  // "C:\Program Files\..." could be misread must not start instead.
  const std::wstring planted = L"C:\\Program.exe";
  ASSERT_TRUE(CopyFileW(targetExePath().c_str(), planted.c_str(), FALSE));
  struct Cleanup {
    std::wstring path;
    ~Cleanup() { DeleteFileW(path.c_str()); }
  } cleanup{planted};

  VitroluxApp app;
  ASSERT_TRUE(app.start());
  HWND tile = app.control(L"打开并装载Firefox");
  ASSERT_NE(tile, nullptr);
  clickCentre(tile);
  EXPECT_FALSE(waitUntil(3s, [] { return processRunning(L"Program.exe"); }))
      << "C:\\Program.exe was started";
  EXPECT_NE(findFrame(app.process().id()), nullptr) << "Vitrolux keeps running";
}

}  // namespace
