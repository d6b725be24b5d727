// A program started by a test, and everything it starts in turn.
#pragma once

#include <windows.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

// Quotes one argument so that CommandLineToArgvW gives it back unchanged.
std::wstring quoteArgument(const std::wstring& arg);

// Owns a started process. The process runs in a job object of its own, so
// whatever it launches (a hosted browser, a second Vitrolux) belongs to the
// job too; kill() and the destructor end them all, and a test that fails
// half-way leaves nothing running into the next one.
class Process {
 public:
  Process() = default;
  Process(Process&& other) noexcept;
  Process& operator=(Process&& other) noexcept;
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;
  ~Process();

  // Starts `exe` with `args` in `workDir` (the exe's folder when empty).
  // Returns an empty Process and prints why when it cannot start.
  static Process start(const std::wstring& exe, const std::vector<std::wstring>& args = {},
                       const std::wstring& workDir = {});

  explicit operator bool() const { return process_ != nullptr; }
  DWORD id() const { return id_; }
  HANDLE handle() const { return process_; }

  bool running() const;
  bool waitForExit(std::chrono::milliseconds timeout);
  std::optional<DWORD> exitCode() const;  // empty while running
  void kill();                            // ends the process and everything in its job

 private:
  void reset();

  HANDLE process_ = nullptr;
  HANDLE job_ = nullptr;
  DWORD id_ = 0;
};

}  // namespace e2e
