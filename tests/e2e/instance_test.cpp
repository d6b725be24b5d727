// One Vitrolux per executable file: a second start of the same file ends at
// once however its path is spelled, while a copy in another folder is
// another program and runs side by side.
#include <gtest/gtest.h>

#include <string>

#include "driver/vitrolux_app.h"

namespace {

using namespace e2e;

// The folder of this test program, where the instance_spellings fixture
// made DIR/real, DIR/link and a drive letter for DIR/real.
std::wstring spellingsFolder() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path);
  folder.resize(folder.find_last_of(L"\\/"));
  return folder + L"\\instance-spellings";
}

bool fileExists(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// Starts the exe; true when the process ends within a few seconds without
// ever showing a window, as a second instance does.
::testing::AssertionResult endsAtOnce(const std::wstring& exe, const std::wstring& folder) {
  Process second = Process::start(exe, {}, folder);
  if (!second) return ::testing::AssertionFailure() << "did not start " << narrow(exe);
  bool showed = false;
  const bool ended = waitUntil(10s, [&] {
    if (visibleTopLevelWindow(second.id())) showed = true;
    return !second.running();
  });
  if (!ended) return ::testing::AssertionFailure() << narrow(exe) << " still runs";
  if (showed) return ::testing::AssertionFailure() << narrow(exe) << " showed a window";
  return ::testing::AssertionSuccess();
}

// Starts the exe and waits for its frame.
Process startFrame(const std::wstring& exe, const std::wstring& folder, HWND* frame) {
  Process process = Process::start(exe, {}, folder);
  *frame = nullptr;
  waitUntil(20s, [&] {
    *frame = findFrame(process.id());
    return *frame != nullptr || !process.running();
  });
  return process;
}

TEST(Instance, ACopyInAnotherFolderRunsSideBySide) {
  VitroluxApp first;
  ASSERT_TRUE(first.start());
  VitroluxApp copy;
  HWND frame = nullptr;
  Process second = startFrame(copy.exePath(), copy.folder(), &frame);
  EXPECT_NE(frame, nullptr) << "the copy did not show its frame";
  EXPECT_TRUE(first.process().running());
  EXPECT_NE(findFrame(first.process().id()), nullptr);
}

TEST(Instance, ASecondStartThroughAShortNameEndsAtOnce) {
  VitroluxApp app;
  ASSERT_TRUE(app.start());
  wchar_t shortPath[MAX_PATH] = {};
  const DWORD length = GetShortPathNameW(app.exePath().c_str(), shortPath, MAX_PATH);
  ASSERT_GT(length, 0u);
  if (_wcsicmp(shortPath, app.exePath().c_str()) == 0) {
    GTEST_SKIP() << "this volume gives no short names";
  }
  EXPECT_TRUE(endsAtOnce(shortPath, app.folder()));
  EXPECT_TRUE(app.process().running());
}

TEST(Instance, ASecondStartThroughASymbolicLinkOrAMappedDriveEndsAtOnce) {
  const std::wstring folder = spellingsFolder();
  if (!fileExists(folder + L"\\real\\instance-spellings")) {
    GTEST_SKIP() << "the instance_spellings fixture did not run (ctest -R e2e.instance)";
  }
  const std::wstring exe = folder + L"\\real\\Vitrolux.exe";
  ASSERT_TRUE(CopyFileW(vitroluxExePath().c_str(), exe.c_str(), FALSE));
  killStrayFrames();
  HWND frame = nullptr;
  Process first = startFrame(exe, folder + L"\\real", &frame);
  ASSERT_NE(frame, nullptr) << "Vitrolux did not show its frame";

  // A folder on the Unix side that is a symbolic link to the first.
  EXPECT_TRUE(endsAtOnce(folder + L"\\link\\Vitrolux.exe", folder + L"\\link"));

  // A drive letter that names the same folder, as subst makes one.
  const std::optional<std::string> drive = readFileBytes(folder + L"\\drive");
  if (drive && drive->size() >= 2) {
    const std::wstring root = widen(drive->substr(0, 2));
    ASSERT_TRUE(fileExists(root + L"\\instance-spellings")) << narrow(root) << " is not mapped";
    EXPECT_TRUE(endsAtOnce(root + L"\\Vitrolux.exe", root + L"\\"));
  } else {
    ADD_FAILURE() << "no drive letter was mapped (no Wine prefix when the fixture ran?)";
  }
  EXPECT_TRUE(first.running());
  EXPECT_EQ(findFrame(first.id()), frame);
  first.kill();
}

}  // namespace
