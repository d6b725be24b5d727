// The log of the target program (e2e_target --log FILE), read while the
// program runs: one event a line, "READY <hwnd> <pid>", "SHOWN <hwnd>",
// "WM_KEYDOWN <wParam> <lParam>" ... (see tests/e2e/target/e2e_target.cpp).
//
//   TempFolder folder;
//   TargetLog log(folder.file(L"target.log"));
//   Process target = startTarget({L"--log", log.path(), L"--show-after-ms", L"500"});
//   HWND window = log.waitForWindow("SHOWN");
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace e2e {

using namespace std::chrono_literals;

class TargetLog {
 public:
  explicit TargetLog(std::wstring path) : path_(std::move(path)) {}

  const std::wstring& path() const { return path_; }

  // The whole lines written so far, without their line ends; a line still
  // being written is left out.
  std::vector<std::string> lines() const;
  bool contains(std::string_view line) const;

  // Waits for a line for which `match` is true and returns it.
  std::optional<std::string> waitForLine(const std::function<bool(std::string_view)>& match,
                                         std::chrono::milliseconds timeout = 10s) const;
  std::optional<std::string> waitForLineStartingWith(std::string_view prefix,
                                                     std::chrono::milliseconds timeout = 10s) const;

  // The windows named by the lines "<event> <hwnd> ...", in order: every
  // window announced READY so far, or every one SHOWN.
  std::vector<HWND> windows(std::string_view event) const;
  // Waits for the `n`-th (from 1) such line and returns its window; nullptr
  // when it does not come in time.
  HWND waitForWindow(std::string_view event, size_t n = 1,
                     std::chrono::milliseconds timeout = 10s) const;

  // The window in a line "<event> <hwnd> ...", or nullptr.
  static HWND windowIn(std::string_view line);

 private:
  std::wstring path_;
};

}  // namespace e2e
