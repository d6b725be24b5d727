#include "driver/vitrolux_app.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace e2e {

// The build passes the programs' paths as the build system sees them.
#ifndef VITROLUX_EXE
#define VITROLUX_EXE ""
#endif
#ifndef E2E_TARGET_EXE
#define E2E_TARGET_EXE ""
#endif
#ifndef E2E_CONSOLE_EXE
#define E2E_CONSOLE_EXE ""
#endif

std::wstring vitroluxExePath() {
  return hostPathToWindows(VITROLUX_EXE);
}
std::wstring targetExePath() {
  return hostPathToWindows(E2E_TARGET_EXE);
}
std::wstring consoleExePath() {
  return hostPathToWindows(E2E_CONSOLE_EXE);
}

TempFolder::TempFolder() {
  static std::atomic<unsigned> counter{0};
  wchar_t temp[MAX_PATH + 1];
  DWORD n = GetTempPathW(MAX_PATH + 1, temp);
  std::wstring base = std::wstring(temp, n) + L"vitrolux-e2e";
  CreateDirectoryW(base.c_str(), nullptr);
  // Process id and tick count keep folders apart across runs; the counter
  // keeps them apart within one.
  for (;;) {
    wchar_t name[96];
    std::swprintf(name, 96, L"\\%lu-%llu-%u", GetCurrentProcessId(),
                  static_cast<unsigned long long>(GetTickCount64()), counter++);
    path_ = base + name;
    if (CreateDirectoryW(path_.c_str(), nullptr)) break;
    if (GetLastError() != ERROR_ALREADY_EXISTS) {
      ADD_FAILURE() << "cannot create " << narrow(path_) << " (error " << GetLastError() << ")";
      break;
    }
  }
}

TempFolder::~TempFolder() {
  if (GetEnvironmentVariableW(L"VITROLUX_E2E_KEEP", nullptr, 0) > 0) {
    std::fprintf(stderr, "e2e: kept %s\n", narrow(path_).c_str());
    return;
  }
  std::error_code ignored;
  std::filesystem::remove_all(std::filesystem::path(path_), ignored);
}

HWND findFrame(DWORD pid) {
  for (HWND window : topLevelWindows(pid)) {
    if (IsWindowVisible(window) && sameClass(window, kFrameClass) &&
        windowText(window) == kFrameCaption) {
      return window;
    }
  }
  return nullptr;
}

int killStrayFrames() {
  int killed = 0;
  for (HWND window : topLevelWindows()) {
    if (!sameClass(window, kFrameClass)) continue;
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processOf(window));
    if (!process) continue;
    TerminateProcess(process, 1);
    WaitForSingleObject(process, 5000);
    CloseHandle(process);
    ++killed;
  }
  return killed;
}

VitroluxApp::VitroluxApp() : VitroluxApp(vitroluxExePath()) {}

VitroluxApp::VitroluxApp(const std::wstring& exe) {
  if (exe.empty()) {
    ADD_FAILURE() << "this build has no Vitrolux.exe";
    return;
  }
  if (!CopyFileW(exe.c_str(), exePath().c_str(), FALSE)) {
    ADD_FAILURE() << "cannot copy " << narrow(exe) << " (error " << GetLastError() << ")";
  }
}

bool VitroluxApp::writeFile(std::wstring_view name, std::string_view bytes) const {
  return writeFileBytes(folder_.file(name), bytes);
}

std::optional<std::string> VitroluxApp::readFile(std::wstring_view name) const {
  return readFileBytes(folder_.file(name));
}

std::wstring VitroluxApp::installTarget(std::wstring_view name) const {
  return installCopy(targetExePath(), name);
}

std::wstring VitroluxApp::installConsoleTarget(std::wstring_view name) const {
  return installCopy(consoleExePath(), name);
}

std::wstring VitroluxApp::installCopy(const std::wstring& program, std::wstring_view name) const {
  const std::wstring path = folder_.file(name);
  for (std::size_t slash = path.find(L'\\', folder().size() + 1); slash != std::wstring::npos;
       slash = path.find(L'\\', slash + 1)) {
    CreateDirectoryW(path.substr(0, slash).c_str(), nullptr);
  }
  EXPECT_TRUE(CopyFileW(program.c_str(), path.c_str(), FALSE))
      << "could not copy " << narrow(program) << " to " << narrow(path);
  return path;
}

bool VitroluxApp::start(std::chrono::milliseconds timeout) {
  if (int stray = killStrayFrames(); stray > 0) {
    std::fprintf(stderr, "e2e: ended %d Vitrolux process(es) left by an earlier test\n", stray);
  }
  process_ = Process::start(exePath(), {}, folder());
  if (!process_) {
    ADD_FAILURE() << "Vitrolux.exe did not start";
    return false;
  }
  bool shown = waitUntil(timeout, [&] {
    frame_ = findFrame(process_.id());
    return frame_ != nullptr || !process_.running();
  });
  if (!frame_) {
    if (!process_.running()) {
      ADD_FAILURE() << "Vitrolux.exe ended with code " << process_.exitCode().value_or(0)
                    << " before showing its frame";
    } else {
      ADD_FAILURE() << "no visible " << narrow(kFrameClass) << " window captioned \""
                    << narrow(kFrameCaption) << "\" within " << timeout.count() << " ms";
    }
    return false;
  }
  return shown;
}

Process VitroluxApp::startAnother() const {
  return Process::start(exePath(), {}, folder());
}

std::vector<HWND> VitroluxApp::controls(std::wstring_view text) const {
  return frame_ ? findDescendantsByText(frame_, text) : std::vector<HWND>{};
}

HWND VitroluxApp::control(std::wstring_view text) const {
  std::vector<HWND> found = controls(text);
  for (HWND window : found) {
    if (IsWindowVisible(window)) return window;
  }
  return found.empty() ? nullptr : found.front();
}

bool VitroluxApp::close(std::chrono::milliseconds timeout) {
  if (!frame_ || !PostMessageW(frame_, WM_CLOSE, 0, 0)) return false;
  return process_.waitForExit(timeout);
}

Process startTarget(const std::vector<std::wstring>& args, const std::wstring& workDir) {
  return Process::start(targetExePath(), args, workDir);
}

HWND VitroluxApp::waitForMessage(std::chrono::milliseconds timeout) const {
  HWND box = nullptr;
  waitUntil(timeout, [&] {
    for (HWND window : topLevelWindows(process_.id())) {
      if (IsWindowVisible(window) && className(window) == L"#32770" &&
          GetWindow(window, GW_OWNER) == frame_) {
        box = window;
        return true;
      }
    }
    return false;
  });
  return box;
}

std::wstring VitroluxApp::messageText(HWND box) {
  // The text stands in the box's static controls; its buttons are others.
  std::wstring text;
  for (HWND child : descendants(box)) {
    if (!sameClass(child, L"Static")) continue;
    const std::wstring part = windowText(child);
    if (part.empty()) continue;
    if (!text.empty()) text += L"\n";
    text += part;
  }
  return text;
}

}  // namespace e2e
