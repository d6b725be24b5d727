#include "win32/process_tree.h"

// After windows.h, which it needs.
#include <tlhelp32.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "win32/unique_resource.h"

namespace vitrolux::platform::win32 {
namespace {

struct Running {
  DWORD process;
  DWORD parent;
};

std::vector<Running> runningProcesses() {
  std::vector<Running> running;
  const unique_handle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot || snapshot.get() == INVALID_HANDLE_VALUE) return running;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = ::Process32FirstW(snapshot.get(), &entry); more;
       more = ::Process32NextW(snapshot.get(), &entry)) {
    running.push_back({entry.th32ProcessID, entry.th32ParentProcessID});
  }
  return running;
}

std::optional<ULONGLONG> startTime(DWORD process) {
  const unique_handle handle(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process));
  FILETIME created{}, ended{}, kernel{}, user{};
  if (!handle || !::GetProcessTimes(handle.get(), &created, &ended, &kernel, &user)) {
    return std::nullopt;
  }
  return (static_cast<ULONGLONG>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

bool startedFrom(const std::vector<Running>& running, DWORD process, DWORD root) {
  // Up the recorded starters, at most as many steps as there are processes.
  std::vector<DWORD> chain{process};
  for (DWORD at = process; at != root;) {
    const auto found = std::find_if(running.begin(), running.end(),
                                    [&](const Running& r) { return r.process == at; });
    if (found == running.end() || found->parent == 0 || chain.size() > running.size()) {
      return false;
    }
    at = found->parent;
    chain.push_back(at);
  }
  // A starter's id may have been taken since by a newer process: one that
  // started after its supposed child did not start it. Only asked of a
  // chain that reaches the root, which few do.
  for (std::size_t i = 0; i + 1 < chain.size(); ++i) {
    const std::optional<ULONGLONG> child = startTime(chain[i]);
    const std::optional<ULONGLONG> parent = startTime(chain[i + 1]);
    if (child && parent && *parent > *child) return false;
  }
  return true;
}

}  // namespace

std::vector<DWORD> processTree(DWORD root) {
  const std::vector<Running> running = runningProcesses();
  std::vector<DWORD> tree;
  for (const Running& r : running) {
    if (startedFrom(running, r.process, root)) tree.push_back(r.process);
  }
  return tree;
}

}  // namespace vitrolux::platform::win32
