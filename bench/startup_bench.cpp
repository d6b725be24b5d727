// Startup cost of Vitrolux.exe against a minimal Win32 program: how long
// from CreateProcessW until the process's first top-level window is
// visible, and how much memory the process has used at its peak once the
// window has settled. The two programs run alternately so that drift of the
// machine (or of Wine's server) affects both alike.
//
//   startup_bench [--runs N] [--settle-ms MS] [--vitrolux EXE] [--minimal EXE]
//
// Each run starts from a fresh folder holding a copy of the program, so
// Vitrolux finds no settings files; each run has ended before the next
// starts, because a second Vitrolux would end at once.
#include <windows.h>
// after windows.h, which they need
#include <psapi.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "bench_common.h"
#include "median.h"

#ifndef VITROLUX_EXE
#define VITROLUX_EXE ""
#endif
#ifndef MINIMAL_WINDOW_EXE
#define MINIMAL_WINDOW_EXE ""
#endif

namespace {

using bench::hostPath;
using bench::median;
using bench::nowMs;
using bench::visibleWindowOf;

struct Sample {
  double firstWindowMs;
  double peakMiB;
};

std::wstring freshCopy(const std::wstring& exe, unsigned run) {
  wchar_t temp[MAX_PATH + 1];
  DWORD n = GetTempPathW(MAX_PATH + 1, temp);
  std::filesystem::path source(exe);
  std::filesystem::path dir = std::filesystem::path(std::wstring(temp, n)) / L"vitrolux-bench" /
                              (std::to_wstring(GetCurrentProcessId()) + L"-" +
                               std::to_wstring(run) + L"-" + source.stem().wstring());
  std::filesystem::create_directories(dir);
  std::filesystem::path copy = dir / source.filename();
  std::filesystem::copy_file(source, copy, std::filesystem::copy_options::overwrite_existing);
  return copy.wstring();
}

std::optional<Sample> runOnce(const std::wstring& exe, unsigned settleMs) {
  std::wstring commandLine = L"\"" + exe + L"\"";
  std::wstring dir = std::filesystem::path(exe).parent_path().wstring();
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};

  double start = nowMs();
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      dir.c_str(), &si, &pi)) {
    std::fprintf(stderr, "cannot start %ls (error %lu)\n", exe.c_str(), GetLastError());
    return std::nullopt;
  }
  CloseHandle(pi.hThread);

  // Poll about every millisecond; Sleep(0) would compete for the CPU with
  // the very process being measured.
  HWND window = nullptr;
  double shown = 0;
  while (!window) {
    window = visibleWindowOf(pi.dwProcessId);
    shown = nowMs();
    if (window) break;
    if (WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0 || shown - start > 30000) break;
    Sleep(1);
  }

  std::optional<Sample> sample;
  if (window) {
    Sleep(settleMs);
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (GetProcessMemoryInfo(pi.hProcess, &counters, sizeof counters)) {
      sample = Sample{shown - start, static_cast<double>(counters.PeakWorkingSetSize) / 1048576.0};
    }
    PostMessageW(window, WM_CLOSE, 0, 0);
  } else {
    std::fprintf(stderr, "%ls showed no window\n", exe.c_str());
  }
  if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) {
    std::fprintf(stderr, "%ls did not end on WM_CLOSE; terminated\n", exe.c_str());
    TerminateProcess(pi.hProcess, 1);
    WaitForSingleObject(pi.hProcess, 5000);
  }
  CloseHandle(pi.hProcess);
  return sample;
}

struct Series {
  const char* name;
  std::wstring exe;
  std::vector<double> ms;
  std::vector<double> mib;
};

void report(const Series& s) {
  auto [minMs, maxMs] = std::minmax_element(s.ms.begin(), s.ms.end());
  std::printf("%-16s %4zu %10.1f %8.1f %8.1f %12.2f\n", s.name, s.ms.size(), median(s.ms),
              s.ms.empty() ? 0 : *minMs, s.ms.empty() ? 0 : *maxMs, median(s.mib));
}

}  // namespace

int main() {
  unsigned runs = 15;
  unsigned settleMs = 300;
  Series vitrolux{"Vitrolux.exe", hostPath(VITROLUX_EXE), {}, {}};
  Series minimal{"minimal_window", hostPath(MINIMAL_WINDOW_EXE), {}, {}};

  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  for (int i = 1; i + 1 < argc; i += 2) {
    std::wstring option = argv[i];
    if (option == L"--runs") {
      runs = static_cast<unsigned>(std::wcstoul(argv[i + 1], nullptr, 10));
    } else if (option == L"--settle-ms") {
      settleMs = static_cast<unsigned>(std::wcstoul(argv[i + 1], nullptr, 10));
    } else if (option == L"--vitrolux") {
      vitrolux.exe = argv[i + 1];
    } else if (option == L"--minimal") {
      minimal.exe = argv[i + 1];
    } else {
      std::fprintf(stderr, "unknown option %ls\n", argv[i]);
      return 2;
    }
  }
  LocalFree(argv);
  if (vitrolux.exe.empty() || minimal.exe.empty() || runs == 0) {
    std::fprintf(stderr, "need both programs and at least one run\n");
    return 2;
  }

  int failures = 0;
  for (unsigned run = 0; run < runs; ++run) {
    // Alternate which program goes first, so neither always runs on the
    // heels of the other.
    Series* order[2] = {&vitrolux, &minimal};
    if (run % 2) std::swap(order[0], order[1]);
    for (Series* s : order) {
      std::wstring exe = freshCopy(s->exe, run);
      if (auto sample = runOnce(exe, settleMs)) {
        s->ms.push_back(sample->firstWindowMs);
        s->mib.push_back(sample->peakMiB);
      } else {
        ++failures;
      }
      std::error_code ignored;
      std::filesystem::remove_all(std::filesystem::path(exe).parent_path(), ignored);
    }
  }

  std::printf("startup: %u runs each, alternating; memory read %u ms after the window shows\n",
              runs, settleMs);
  std::printf("%-16s %4s %10s %8s %8s %12s\n", "program", "runs", "window ms", "min", "max",
              "peak MiB");
  report(vitrolux);
  report(minimal);
  double msRatio = median(vitrolux.ms) / median(minimal.ms);
  double memRatio = median(vitrolux.mib) / median(minimal.mib);
  std::printf("Vitrolux/minimal: time to first window %.2fx, peak memory %.2fx\n", msRatio,
              memRatio);
  std::printf("Vitrolux-minimal: time to first window %+.1f ms, peak memory %+.2f MiB\n",
              median(vitrolux.ms) - median(minimal.ms), median(vitrolux.mib) - median(minimal.mib));
  // Under Wine the peak working set is the Unix process's high-water mark of
  // resident memory (VmHWM), Wine's own libraries included: compare the two
  // programs with each other, not with figures taken on Windows.
  if (GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version")) {
    std::printf("(under Wine: peak memory is the process's VmHWM, Wine's own share included)\n");
  }
  std::fflush(stdout);
  return failures == 0 ? 0 : 1;
}
