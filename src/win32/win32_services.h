// The ports that are not about windows, on Win32: processes and the
// environment, the settings files, and the ANSI code page. None needs the
// frame, so each stands alone.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>

#include "ports/file_port.h"
#include "ports/process_port.h"
#include "ports/text_port.h"
#include "win32/unique_resource.h"

namespace vitrolux::platform::win32 {

class Win32Processes final : public ProcessPort {
 public:
  std::optional<std::string> findProgram(const std::string& name) override;
  StartResult startProcess(const std::string& program, const std::string& commandLine,
                           const StartOptions& options) override;
  bool processEnded(ProcessId process) override;
  void forgetProcess(ProcessId process) override;
  std::vector<ProcessId> processTree(ProcessId root) override;
  std::optional<std::string> environment(const std::string& name) override;
  bool anotherInstanceRunning() override;
  void releaseInstance() override;

 private:
  // Handles of the processes started here and not forgotten yet, by id. A
  // handle, unlike the id, can never come to name another process.
  std::map<std::uint32_t, unique_handle> started_;
};

// The system calls through which a file is replaced, step by step: the new
// file beside the old one, its bytes, and the swap. The program uses the
// system's own; tests put in calls that fail at one step.
struct FileCalls {
  decltype(&::CreateFileW) createFile = ::CreateFileW;
  decltype(&::WriteFile) writeFile = ::WriteFile;
  decltype(&::MoveFileExW) moveFile = ::MoveFileExW;
};

class Win32Files final : public FilePort {
 public:
  // The calls are looked up at every use; null means the system's.
  explicit Win32Files(const FileCalls* calls = nullptr) : calls_(calls) {}

  std::string applicationFolder() override;
  bool isOrdinaryFile(const std::string& path) override;
  std::optional<std::string> readFile(const std::string& path, std::size_t maxBytes) override;
  bool replaceFile(const std::string& path, const std::string& bytes) override;

 private:
  const FileCalls* calls_;
};

class Win32Text final : public TextPort {
 public:
  std::optional<std::string> toAnsi(const std::string& utf8) override;
  std::string fromAnsi(const std::string& ansi) override;
};

}  // namespace vitrolux::platform::win32
