#include "driver/health.h"

#include <psapi.h>
#include <winternl.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace e2e {

namespace {

using Clock = std::chrono::steady_clock;

std::chrono::microseconds since(Clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start);
}

// Zero is a count as well as the failure value: only the error tells them
// apart.
std::optional<DWORD> objectCount(HANDLE process, DWORD kind) {
  SetLastError(ERROR_SUCCESS);
  const DWORD count = GetGuiResources(process, kind);
  if (count == 0 && GetLastError() != ERROR_SUCCESS) return std::nullopt;
  return count;
}

}  // namespace

std::optional<std::chrono::microseconds> responseTime(HWND window,
                                                      std::chrono::milliseconds timeout) {
  const Clock::time_point start = Clock::now();
  DWORD_PTR result = 0;
  // SMTO_NORMAL: the time is the point, so no early give-up for a program
  // the system already thinks hung.
  if (!SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, static_cast<UINT>(timeout.count()),
                           &result)) {
    return std::nullopt;
  }
  return since(start);
}

ResponsivenessProbe::ResponsivenessProbe(HWND window, std::chrono::milliseconds bound,
                                         std::chrono::milliseconds interval)
    : window_(window), bound_(bound), interval_(interval), thread_([this] { run(); }) {}

ResponsivenessProbe::~ResponsivenessProbe() {
  stop();
}

void ResponsivenessProbe::stop() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  if (thread_.joinable()) thread_.join();
}

void ResponsivenessProbe::run() {
  const std::chrono::milliseconds giveUp = std::max(bound_ * 2, std::chrono::milliseconds(100));
  std::unique_lock<std::mutex> lock(mutex_);
  while (!stopping_) {
    lock.unlock();
    const Clock::time_point start = Clock::now();
    const std::optional<std::chrono::microseconds> took = responseTime(window_, giveUp);
    const std::chrono::microseconds roundTrip = took.value_or(since(start));
    lock.lock();
    ++pings_;
    if (!took || roundTrip > bound_) ++late_;
    worst_ = std::max(worst_, roundTrip);
    wake_.wait_for(lock, interval_, [this] { return stopping_; });
  }
}

int ResponsivenessProbe::pings() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return pings_;
}

int ResponsivenessProbe::late() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return late_;
}

std::chrono::microseconds ResponsivenessProbe::worst() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return worst_;
}

bool ResponsivenessProbe::keptAnswering() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return pings_ > 0 && late_ == 0;
}

std::string ResponsivenessProbe::summary() const {
  std::lock_guard<std::mutex> lock(mutex_);
  char text[96];
  std::snprintf(text, sizeof text, "%d pings, %d late, worst %.1f ms (bound %lld ms)", pings_,
                late_, static_cast<double>(worst_.count()) / 1000.0,
                static_cast<long long>(bound_.count()));
  return text;
}

std::optional<ProcessResources> guiResources(HANDLE process) {
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof memory;
  if (!GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                            sizeof memory)) {
    return std::nullopt;
  }
  ProcessResources resources;
  resources.privateBytes = memory.PrivateUsage != 0 ? memory.PrivateUsage : memory.PagefileUsage;
  resources.workingSetBytes = memory.WorkingSetSize;
  resources.gdiObjects = objectCount(process, GR_GDIOBJECTS);
  resources.userObjects = objectCount(process, GR_USEROBJECTS);
  return resources;
}

// ---- Counting from outside ----------------------------------------------------

namespace {

// One entry of the GDI handle table, 64-bit layout (Windows and Wine alike).
struct GdiHandleEntry {
  std::uint64_t object;
  std::uint32_t owner;  // low 16 bits: the process id; 0 under Wine
  std::uint16_t unique;
  std::uint8_t type;  // 0: a free entry
  std::uint8_t flags;
  std::uint64_t userPointer;
};
static_assert(sizeof(GdiHandleEntry) == 24);

constexpr std::size_t kGdiHandles = 0x10000;
// PEB::GdiSharedHandleTable in a 64-bit process.
constexpr std::size_t kPebGdiTableOffset = 0xF8;

BOOL CALLBACK countWindow(HWND window, LPARAM lParam) {
  auto* count = reinterpret_cast<std::pair<DWORD, DWORD>*>(lParam);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid == count->first) ++count->second;
  return TRUE;
}

BOOL CALLBACK countTopLevelAndChildren(HWND window, LPARAM lParam) {
  countWindow(window, lParam);
  EnumChildWindows(window, countWindow, lParam);
  return TRUE;
}

}  // namespace

std::optional<DWORD> gdiHandleTableCount(HANDLE process) {
  PROCESS_BASIC_INFORMATION basic{};
  ULONG length = 0;
  if (NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof basic, &length) !=
      0) {
    return std::nullopt;
  }
  std::uint64_t table = 0;
  SIZE_T read = 0;
  if (!ReadProcessMemory(
          process,
          static_cast<const char*>(static_cast<void*>(basic.PebBaseAddress)) + kPebGdiTableOffset,
          &table, sizeof table, &read) ||
      table == 0) {
    return std::nullopt;
  }
  std::vector<GdiHandleEntry> entries(kGdiHandles);
  if (!ReadProcessMemory(process, reinterpret_cast<const void*>(static_cast<std::uintptr_t>(table)),
                         entries.data(), entries.size() * sizeof(GdiHandleEntry), &read)) {
    return std::nullopt;
  }
  const DWORD pid = GetProcessId(process) & 0xFFFF;
  DWORD owned = 0;
  DWORD used = 0;
  bool ownersNamed = false;
  for (const GdiHandleEntry& entry : entries) {
    if (entry.type == 0) continue;
    ++used;
    const DWORD owner = entry.owner & 0xFFFF;
    ownersNamed = ownersNamed || owner != 0;
    if (owner == pid) ++owned;
  }
  return ownersNamed ? owned : used;
}

DWORD windowsOfProcess(DWORD pid) {
  std::pair<DWORD, DWORD> count{pid, 0};
  EnumWindows(countTopLevelAndChildren, reinterpret_cast<LPARAM>(&count));
  return count.second;
}

}  // namespace e2e
