// CPU cost of Vitrolux.exe while it waits, with and without the F5 mode,
// against two baselines measured in the same run:
//   - F5 mode on (the global key poll every 10 ms) against key_poll_loop,
//     a bare loop that makes the same 112 key-state queries every 10 ms;
//   - the frame idle with F5 off against minimal_window, a window that
//     does nothing.
// Each program runs from a fresh folder; the CPU time (user + kernel) of
// its process is read at the start and the end of a window of --seconds,
// after --settle-ms to let it come to rest. Rounds take the programs in
// turn, so that drift of the machine touches all alike; medians are
// reported.
//
// Under Wine, GetProcessTimes knows only the calling process's own times,
// so the times are read from the Unix side instead: /proc/<pid>/stat of the
// Unix process that runs the program (found by its command line, through
// Wine's Z: drive), in ticks of 10 ms. The Wine server does part of the
// work of every window-system call; its time over the same window is
// reported beside each program's.
//
//   cpu_bench [--rounds N] [--seconds S] [--idle-seconds S] [--settle-ms MS]
//
// --seconds (10) is the window for the key polls; the idle programs use
// only a few ticks of 10 ms in that time, so they get --idle-seconds (30).
#include <windows.h>
// after windows.h, which it needs
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
#ifndef KEY_POLL_LOOP_EXE
#define KEY_POLL_LOOP_EXE ""
#endif

namespace {

using bench::hostPath;
using bench::median;
using bench::nowMs;
using bench::visibleWindowOf;

bool underWine() {
  return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

std::optional<std::string> readSmallFile(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string bytes(64 * 1024, '\0');
  DWORD got = 0;
  const BOOL ok = ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
  CloseHandle(file);
  if (!ok) return std::nullopt;
  bytes.resize(got);
  return bytes;
}

// The Unix process whose command line holds `needle` (and, when given,
// whose environment holds `inEnvironment`), seen through Wine's Z: drive;
// 0 when there is none.
unsigned long unixPidWith(const std::string& needle, const std::string& inEnvironment = {}) {
  WIN32_FIND_DATAW entry{};
  HANDLE find = FindFirstFileW(L"Z:\\proc\\*", &entry);
  if (find == INVALID_HANDLE_VALUE) return 0;
  unsigned long found = 0;
  do {
    const std::wstring name = entry.cFileName;
    if (name.empty() || name.find_first_not_of(L"0123456789") != std::wstring::npos) continue;
    const auto cmdline = readSmallFile(L"Z:\\proc\\" + name + L"\\cmdline");
    if (!cmdline || cmdline->find(needle) == std::string::npos) continue;
    if (!inEnvironment.empty()) {
      const auto environment = readSmallFile(L"Z:\\proc\\" + name + L"\\environ");
      if (!environment || environment->find(inEnvironment) == std::string::npos) continue;
    }
    found = std::wcstoul(name.c_str(), nullptr, 10);
    break;
  } while (FindNextFileW(find, &entry));
  FindClose(find);
  return found;
}

// "WINEPREFIX=<ours>", as it stands in the environment of our Wine server.
std::string ownPrefix() {
  char value[1024] = {};
  const DWORD n = GetEnvironmentVariableA("WINEPREFIX", value, sizeof value);
  if (n == 0 || n >= sizeof value) return {};
  return std::string("WINEPREFIX=") + value;
}

// utime + stime of a Unix process, in milliseconds (ticks of 10 ms).
std::optional<double> unixCpuMs(unsigned long pid) {
  if (pid == 0) return std::nullopt;
  const auto stat = readSmallFile(L"Z:\\proc\\" + std::to_wstring(pid) + L"\\stat");
  if (!stat) return std::nullopt;
  // Fields after the command name, which is in parentheses: state is the
  // 3rd field of the whole line, utime the 14th and stime the 15th.
  const size_t close = stat->rfind(')');
  if (close == std::string::npos) return std::nullopt;
  std::vector<double> fields;
  const char* at = stat->c_str() + close + 2;
  for (int i = 3; i <= 15 && *at; ++i) {
    char* end = nullptr;
    const double value = std::strtod(at, &end);
    if (end == at) {
      fields.push_back(0);  // the state letter
      while (*at && *at != ' ') ++at;
    } else {
      fields.push_back(value);
      at = end;
    }
    while (*at == ' ') ++at;
  }
  if (fields.size() < 13) return std::nullopt;
  return (fields[11] + fields[12]) * 10.0;
}

// User plus kernel time of a process so far, in milliseconds.
std::optional<double> cpuMs(HANDLE process) {
  FILETIME created, ended, kernel, user;
  if (!GetProcessTimes(process, &created, &ended, &kernel, &user)) return std::nullopt;
  auto ms = [](const FILETIME& t) {
    return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) /
           10000.0;
  };
  return ms(kernel) + ms(user);
}

HWND waitForWindow(DWORD pid, HANDLE process) {
  const double start = nowMs();
  while (nowMs() - start < 30000) {
    if (HWND found = visibleWindowOf(pid)) return found;
    if (WaitForSingleObject(process, 0) == WAIT_OBJECT_0) return nullptr;
    Sleep(20);
  }
  return nullptr;
}

// A copy of the program in a folder of its own, started there.
struct Running {
  PROCESS_INFORMATION pi{};
  std::filesystem::path folder;
  std::string tag;  // unique in the program's command line
  bool ok = false;

  Running(const std::wstring& exe, unsigned tag, const std::wstring& args = {}) {
    wchar_t temp[MAX_PATH + 1];
    DWORD n = GetTempPathW(MAX_PATH + 1, temp);
    std::filesystem::path source(exe);
    const std::wstring name = std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(tag) +
                              L"-" + source.stem().wstring();
    this->tag.assign(name.begin(), name.end());
    folder = std::filesystem::path(std::wstring(temp, n)) / L"vitrolux-cpu-bench" / name;
    std::filesystem::create_directories(folder);
    std::filesystem::path copy = folder / source.filename();
    std::filesystem::copy_file(source, copy, std::filesystem::copy_options::overwrite_existing);
    std::wstring commandLine = L"\"" + copy.wstring() + L"\"";
    if (!args.empty()) commandLine += L" " + args;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    ok = CreateProcessW(copy.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &si, &pi) != FALSE;
    if (!ok) std::fprintf(stderr, "cannot start %ls (error %lu)\n", copy.c_str(), GetLastError());
  }
  ~Running() {
    if (ok) {
      TerminateProcess(pi.hProcess, 0);
      WaitForSingleObject(pi.hProcess, 10000);
      CloseHandle(pi.hThread);
      CloseHandle(pi.hProcess);
    }
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }
  Running(const Running&) = delete;
  Running& operator=(const Running&) = delete;
};

struct Sample {
  double processMs = 0;
  double serverMs = 0;  // the Wine server's time meanwhile; 0 on Windows
};

// CPU milliseconds the process (and the Wine server) used over `seconds`
// of wall time, scaled to exactly that time.
std::optional<Sample> measure(const Running& running, unsigned seconds) {
  const bool wine = underWine();
  const unsigned long pid = wine ? unixPidWith(running.tag) : 0;
  // Other Wine prefixes on the machine have servers of their own.
  const unsigned long server = wine ? unixPidWith("wineserver", ownPrefix()) : 0;
  auto processCpu = [&] { return wine ? unixCpuMs(pid) : cpuMs(running.pi.hProcess); };
  auto serverCpu = [&] { return wine ? unixCpuMs(server) : std::optional<double>(0.0); };
  if (wine && pid == 0) {
    std::fprintf(stderr, "no Unix process found for %s\n", running.tag.c_str());
    return std::nullopt;
  }
  const auto before = processCpu();
  const auto serverBefore = serverCpu();
  const double start = nowMs();
  Sleep(seconds * 1000);
  const auto after = processCpu();
  const auto serverAfter = serverCpu();
  const double wall = nowMs() - start;
  if (!before || !after || WaitForSingleObject(running.pi.hProcess, 0) == WAIT_OBJECT_0) {
    return std::nullopt;
  }
  const double scale = seconds * 1000.0 / wall;
  Sample sample;
  sample.processMs = (*after - *before) * scale;
  if (serverBefore && serverAfter) sample.serverMs = (*serverAfter - *serverBefore) * scale;
  return sample;
}

HWND childWithText(HWND parent, const wchar_t* text) {
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t buffer[64] = {};
    GetWindowTextW(child, buffer, 64);
    if (std::wstring(buffer) == text) return child;
    if (HWND deeper = childWithText(child, text)) return deeper;
  }
  return nullptr;
}

struct Series {
  const char* name;
  std::vector<double> ms;
  std::vector<double> serverMs;
};

void report(const Series& s, unsigned seconds) {
  if (s.ms.empty()) {
    std::printf("%-26s no samples\n", s.name);
    return;
  }
  auto [lo, hi] = std::minmax_element(s.ms.begin(), s.ms.end());
  const double m = median(s.ms);
  std::printf("%-26s %3zu %10.1f %8.1f %8.1f %9.3f%% %12.1f\n", s.name, s.ms.size(), m, *lo, *hi,
              100.0 * m / (seconds * 1000.0), median(s.serverMs));
}

}  // namespace

int main() {
  unsigned rounds = 3;
  unsigned seconds = 10;
  unsigned idleSeconds = 30;
  unsigned settleMs = 2000;
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  for (int i = 1; i + 1 < argc; i += 2) {
    std::wstring option = argv[i];
    const unsigned value = static_cast<unsigned>(std::wcstoul(argv[i + 1], nullptr, 10));
    if (option == L"--rounds") {
      rounds = value;
    } else if (option == L"--seconds") {
      seconds = value;
    } else if (option == L"--idle-seconds") {
      idleSeconds = value;
    } else if (option == L"--settle-ms") {
      settleMs = value;
    } else {
      std::fprintf(stderr, "unknown option %ls\n", argv[i]);
      return 2;
    }
  }
  LocalFree(argv);
  const std::wstring vitroluxExe = hostPath(VITROLUX_EXE);
  const std::wstring minimalExe = hostPath(MINIMAL_WINDOW_EXE);
  const std::wstring pollExe = hostPath(KEY_POLL_LOOP_EXE);
  if (rounds == 0 || seconds == 0 || idleSeconds == 0) return 2;

  Series f5On{"Vitrolux, F5 on", {}, {}};
  Series poll{"key_poll_loop", {}, {}};
  Series pollWindow{"key_poll_loop --window", {}, {}};
  Series idle{"Vitrolux, F5 off (idle)", {}, {}};
  Series minimal{"minimal_window (idle)", {}, {}};
  int failures = 0;
  auto add = [&](Series& s, std::optional<Sample> sample) {
    if (sample) {
      s.ms.push_back(sample->processMs);
      s.serverMs.push_back(sample->serverMs);
    } else {
      ++failures;
    }
  };

  for (unsigned round = 0; round < rounds; ++round) {
    {
      Running loop(pollExe, round);
      if (loop.ok) {
        Sleep(settleMs);
        add(poll, measure(loop, seconds));
      }
    }
    {
      Running loop(pollExe, 1000 + round, L"--window");
      if (loop.ok) {
        Sleep(settleMs);
        add(pollWindow, measure(loop, seconds));
      }
    }
    {
      Running vitrolux(vitroluxExe, round);
      HWND frame =
          vitrolux.ok ? waitForWindow(vitrolux.pi.dwProcessId, vitrolux.pi.hProcess) : nullptr;
      // The controls come right after the frame shows.
      HWND f5 = nullptr;
      for (int i = 0; frame && !f5 && i < 100; ++i) {
        f5 = childWithText(frame, L"F5");
        if (!f5) Sleep(50);
      }
      if (f5 == nullptr) {
        std::fprintf(stderr, "Vitrolux: no frame or no F5 button\n");
        ++failures;
      } else {
        Sleep(settleMs);
        add(idle, measure(vitrolux, idleSeconds));
        // A click on the label: press and release inside it.
        PostMessageW(f5, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        PostMessageW(f5, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        const double start = nowMs();
        wchar_t caption[16] = {};
        while (nowMs() - start < 5000) {
          GetWindowTextW(f5, caption, 16);
          if (std::wstring(caption) != L"F5") break;
          Sleep(20);
        }
        if (std::wstring(caption) == L"F5") {
          std::fprintf(stderr, "Vitrolux: the F5 mode did not go on\n");
          ++failures;
        } else {
          Sleep(settleMs);
          add(f5On, measure(vitrolux, seconds));
        }
      }
    }
    {
      Running window(minimalExe, round);
      if (window.ok && waitForWindow(window.pi.dwProcessId, window.pi.hProcess)) {
        Sleep(settleMs);
        add(minimal, measure(window, idleSeconds));
      } else {
        ++failures;
      }
    }
  }

  std::printf(
      "CPU over %u s (key polls) and %u s (idle), %u rounds, after %u ms to settle "
      "(process time, user + kernel)\n",
      seconds, idleSeconds, rounds, settleMs);
  std::printf("%-26s %3s %10s %8s %8s %10s %12s\n", "program", "n", "median ms", "min", "max",
              "of a core", "wineserver ms");
  report(f5On, seconds);
  report(poll, seconds);
  report(pollWindow, seconds);
  report(idle, idleSeconds);
  report(minimal, idleSeconds);
  const double pollMs = median(poll.ms);
  if (pollMs > 0) {
    std::printf("F5 mode / bare key poll: %.2fx (goal <= 1.10x)\n", median(f5On.ms) / pollMs);
    std::printf("F5 mode beyond the idle frame / bare key poll: %.2fx\n",
                (median(f5On.ms) - median(idle.ms)) / pollMs);
  }
  if (median(pollWindow.ms) > 0) {
    std::printf("F5 mode / the same loop on a thread with a window: %.2fx\n",
                median(f5On.ms) / median(pollWindow.ms));
  }
  const double extra = 100.0 * (median(idle.ms) - median(minimal.ms)) / (idleSeconds * 1000.0);
  std::printf("idle frame beyond the minimal window: %+.3f%% of a core (goal <= 0.1%%)\n", extra);
  if (underWine()) {
    const double serverPoll = median(poll.serverMs);
    if (pollMs + serverPoll > 0) {
      std::printf("with the Wine server's time: F5 mode / bare key poll %.2fx\n",
                  (median(f5On.ms) + median(f5On.serverMs)) / (pollMs + serverPoll));
    }
    std::printf("(under Wine: Unix process times, in ticks of 10 ms)\n");
  }
  std::fflush(stdout);
  return failures == 0 ? 0 : 1;
}
