#include "driver/process.h"

#include <cstdio>
#include <utility>

#include "driver/win.h"

namespace e2e {

std::wstring quoteArgument(const std::wstring& arg) {
  if (!arg.empty() && arg.find_first_of(L" \t\n\v\"") == std::wstring::npos) return arg;
  // Backslashes are literal except before a quote, where they escape; so
  // double those that precede a quote or the closing quote.
  std::wstring out = L"\"";
  size_t backslashes = 0;
  for (wchar_t c : arg) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    if (c == L'"') {
      out.append(backslashes * 2 + 1, L'\\');
    } else {
      out.append(backslashes, L'\\');
    }
    backslashes = 0;
    out.push_back(c);
  }
  out.append(backslashes * 2, L'\\');
  out.push_back(L'"');
  return out;
}

Process::Process(Process&& other) noexcept
    : process_(std::exchange(other.process_, nullptr)),
      job_(std::exchange(other.job_, nullptr)),
      id_(std::exchange(other.id_, 0)) {}

Process& Process::operator=(Process&& other) noexcept {
  if (this != &other) {
    reset();
    process_ = std::exchange(other.process_, nullptr);
    job_ = std::exchange(other.job_, nullptr);
    id_ = std::exchange(other.id_, 0);
  }
  return *this;
}

Process::~Process() {
  reset();
}

void Process::reset() {
  kill();
  if (process_) CloseHandle(process_);
  if (job_) CloseHandle(job_);
  process_ = job_ = nullptr;
  id_ = 0;
}

Process Process::start(const std::wstring& exe, const std::vector<std::wstring>& args,
                       const std::wstring& workDir) {
  std::wstring commandLine = quoteArgument(exe);
  for (const auto& arg : args) commandLine += L" " + quoteArgument(arg);
  std::wstring dir = workDir;
  if (dir.empty()) {
    size_t slash = exe.find_last_of(L"\\/");
    if (slash != std::wstring::npos) dir = exe.substr(0, slash);
  }

  Process p;
  p.job_ = CreateJobObjectW(nullptr, nullptr);
  if (p.job_) {
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    SetInformationJobObject(p.job_, JobObjectExtendedLimitInformation, &limits, sizeof limits);
  }

  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  // Suspended until it is in the job, so nothing it starts escapes.
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                      nullptr, dir.empty() ? nullptr : dir.c_str(), &si, &pi)) {
    std::fprintf(stderr, "e2e: cannot start %s (error %lu)\n", narrow(exe).c_str(), GetLastError());
    return Process{};
  }
  if (p.job_ && !AssignProcessToJobObject(p.job_, pi.hProcess)) {
    CloseHandle(p.job_);
    p.job_ = nullptr;
  }
  ResumeThread(pi.hThread);
  CloseHandle(pi.hThread);
  p.process_ = pi.hProcess;
  p.id_ = pi.dwProcessId;
  return p;
}

bool Process::running() const {
  return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

bool Process::waitForExit(std::chrono::milliseconds timeout) {
  if (!process_) return true;
  return WaitForSingleObject(process_, static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
}

std::optional<DWORD> Process::exitCode() const {
  DWORD code = 0;
  if (!process_ || running() || !GetExitCodeProcess(process_, &code)) return std::nullopt;
  return code;
}

void Process::kill() {
  if (job_) TerminateJobObject(job_, 1);
  if (running()) {
    TerminateProcess(process_, 1);
    WaitForSingleObject(process_, 5000);
  }
}

}  // namespace e2e
