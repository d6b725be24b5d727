// The real Vitrolux.exe, run from a fresh application folder of its own so
// that settings files written by one test never reach another.
//
//   e2e::VitroluxApp app;
//   app.writeFile(L"config.txt", "...");   // optional, before start
//   ASSERT_TRUE(app.start());               // returns once the frame shows
//   HWND load = app.control(L"装载");
//   ...
//   EXPECT_TRUE(app.close());               // WM_CLOSE, then the process ends
//
// Whatever is still running when the object goes away is killed, together
// with every program Vitrolux launched.
#pragma once

#include <windows.h>

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "driver/process.h"
#include "driver/win.h"

namespace e2e {

inline constexpr wchar_t kFrameClass[] = L"VitroluxFrame";
inline constexpr wchar_t kFrameCaption[] = L"Vitrolux";

// Where the build put the programs, as paths the test can start.
std::wstring vitroluxExePath();
std::wstring targetExePath();
std::wstring consoleExePath();

// A new empty folder under %TEMP%, removed with its contents at destruction.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::wstring& path() const { return path_; }
  std::wstring file(std::wstring_view name) const { return path_ + L"\\" + std::wstring(name); }

 private:
  std::wstring path_;
};

// The top-level Vitrolux frame of process `pid`: visible, of the frame's
// class and caption. nullptr when there is none.
HWND findFrame(DWORD pid);

// Ends any Vitrolux frame's process still open on the desktop; a leftover
// would make the next start exit as a second instance. Returns how many.
int killStrayFrames();

class VitroluxApp {
 public:
  VitroluxApp();  // the folder with a copy of Vitrolux.exe; not started
  // The same with another build of the program (a test-only one), copied
  // under the name Vitrolux.exe.
  explicit VitroluxApp(const std::wstring& exe);

  const std::wstring& folder() const { return folder_.path(); }
  std::wstring exePath() const { return folder_.file(L"Vitrolux.exe"); }

  // Settings files in the application folder, as raw bytes.
  bool writeFile(std::wstring_view name, std::string_view bytes) const;
  std::optional<std::string> readFile(std::wstring_view name) const;
  // The target program (tests/e2e/target) copied into the application
  // folder as `name` (which may hold subfolders, made as needed), so that an
  // entry can name a program of that kind: chrome.exe, iexplore.exe...
  // Returns the copy's full path; a copy that fails fails the test.
  std::wstring installTarget(std::wstring_view name) const;
  // The same with the console program (tests/e2e/target/e2e_console.cpp).
  std::wstring installConsoleTarget(std::wstring_view name) const;

  // Starts Vitrolux.exe and waits for its frame; false (with the reason
  // added as a test failure) when the frame does not show in time.
  bool start(std::chrono::milliseconds timeout = 20s);
  // Starts another copy of the same exe from the same folder, without
  // waiting for anything.
  Process startAnother() const;

  Process& process() { return process_; }
  HWND frame() const { return frame_; }

  // Controls under the frame whose window text is `text`: the caption of a
  // button or label, the tool-tip text of an image button. Several may
  // share a text (the title-bar buttons share theirs with hidden image
  // stores); control() gives the first visible one, else the first one.
  std::vector<HWND> controls(std::wstring_view text) const;
  HWND control(std::wstring_view text) const;

  // The message box the frame shows (a dialog owned by it) once one is up
  // within the time, or nullptr; and the text it says.
  HWND waitForMessage(std::chrono::milliseconds timeout = 5s) const;
  static std::wstring messageText(HWND box);

  // Posts WM_CLOSE to the frame and waits for the process to end.
  bool close(std::chrono::milliseconds timeout = 10s);

 private:
  std::wstring installCopy(const std::wstring& program, std::wstring_view name) const;

  TempFolder folder_;
  Process process_;
  HWND frame_ = nullptr;
};

// Starts the test target program (see tests/e2e/target) with `args`.
Process startTarget(const std::vector<std::wstring>& args, const std::wstring& workDir = {});

}  // namespace e2e
