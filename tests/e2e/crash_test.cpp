// A crash gives back what the frame hosts: VitroluxCrashTest.exe, the
// program with faults on demand, dies of an access violation, an abort or
// std::terminate while it hosts Notepad, and Notepad lives on, visible and
// top-level. The shipped Vitrolux.exe has no such faults.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "driver/vitrolux_app.h"

namespace {

using namespace e2e;

#ifndef VITROLUX_CRASH_TEST_EXE
#define VITROLUX_CRASH_TEST_EXE ""
#endif

constexpr char kNotepadEntry[] = "C:\\windows\\notepad.exe|Untitled - Notepad\r\n";
constexpr wchar_t kNotepadCaption[] = L"Untitled - Notepad";

struct Fault {
  const char* name;
  WPARAM key;  // what VitroluxCrashTest.exe does for it: crash_test_main.cpp
};

void PrintTo(const Fault& fault, std::ostream* out) {
  *out << fault.name;
}

// Waits for Notepad's window to be hosted by the frame.
HWND waitForHostedNotepad(HWND frame) {
  return waitForChildByText(frame, kNotepadCaption, 10s);
}

bool processAlive(DWORD pid) {
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
  if (process == nullptr) return false;
  const bool alive = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
  CloseHandle(process);
  return alive;
}

class CrashGiveBack : public ::testing::TestWithParam<Fault> {};

TEST_P(CrashGiveBack, NotepadOutlivesTheFrameVisibleAndTopLevel) {
  VitroluxApp app(hostPathToWindows(VITROLUX_CRASH_TEST_EXE));
  endProgramsCaptioned(kNotepadCaption);
  ASSERT_TRUE(app.writeFile(L"config.txt", kNotepadEntry));
  ASSERT_TRUE(app.start());
  HWND notepad = waitForHostedNotepad(app.frame());
  ASSERT_NE(notepad, nullptr) << "Notepad was not hosted";
  ASSERT_EQ(parentOf(notepad), app.frame());
  const DWORD notepadPid = processOf(notepad);

  ASSERT_TRUE(PostMessageW(app.frame(), WM_KEYDOWN, GetParam().key, 0));
  ASSERT_TRUE(app.process().waitForExit(30s)) << "the fault did not end the program";
  EXPECT_NE(app.process().exitCode().value_or(0), 0u) << "the program ended as if closed";
  // Wine also destroys a dying program's windows with messages, which gives
  // back too; Windows does not, so the fatal-exit hooks must have done it.
  EXPECT_TRUE(app.readFile(L"emergency-exit.txt").has_value())
      << "the fatal-exit hooks did not run";

  ASSERT_TRUE(IsWindow(notepad)) << "Notepad's window died with the frame";
  EXPECT_EQ(processOf(notepad), notepadPid);
  EXPECT_EQ(parentOf(notepad), nullptr) << "not given back to the desktop";
  // Its own thread shows it again just after giving it its new parent.
  EXPECT_TRUE(waitUntil(2s, [&] { return IsWindowVisible(notepad) != FALSE; }));
  EXPECT_TRUE(processAlive(notepadPid)) << "Notepad ended";
}

INSTANTIATE_TEST_SUITE_P(Faults, CrashGiveBack,
                         ::testing::Values(Fault{"AccessViolation", VK_F24}, Fault{"Abort", VK_F23},
                                           Fault{"Terminate", VK_F22},
                                           Fault{"AccessViolationInATimerTick", VK_F21}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CrashGiveBack, TheShippedProgramHasNoFaultsOnDemand) {
  VitroluxApp app;
  endProgramsCaptioned(kNotepadCaption);
  ASSERT_TRUE(app.writeFile(L"config.txt", kNotepadEntry));
  ASSERT_TRUE(app.start());
  HWND notepad = waitForHostedNotepad(app.frame());
  ASSERT_NE(notepad, nullptr) << "Notepad was not hosted";
  for (const WPARAM key : {VK_F24, VK_F23, VK_F22, VK_F21}) {
    ASSERT_TRUE(PostMessageW(app.frame(), WM_KEYDOWN, key, 0));
  }
  EXPECT_FALSE(app.process().waitForExit(2s)) << "Vitrolux.exe ended";
  EXPECT_EQ(parentOf(notepad), app.frame());
  EXPECT_TRUE(app.close());
}

}  // namespace
