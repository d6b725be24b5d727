// Processes, the environment, the single-instance test, settings files and
// the ANSI code page: the ports that are not about windows.
#include "win32/win32_services.h"

#include <windows.h>

#include <cstdint>
#include <cwchar>
#include <optional>
#include <string>

#include "win32/process_tree.h"
#include "win32/text_encoding.h"
#include "win32/unique_resource.h"

namespace vitrolux::platform::win32 {
namespace {

// CreateProcess's error for a program whose manifest asks for an
// administrator (winerror.h has it; not every SDK's copy does).
constexpr DWORD kErrorElevationRequired = 740;

bool hasPathPart(const std::wstring& name) {
  return name.find_first_of(L"\\/") != std::wstring::npos || (name.size() >= 2 && name[1] == L':');
}

bool isExistingFile(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::wstring fullPath(const std::wstring& path) {
  const DWORD needed = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return path;
  std::wstring full(needed, L'\0');
  const DWORD length = ::GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
  if (length == 0 || length >= needed) return path;
  full.resize(length);
  return full;
}

// The running executable's full path, however long.
std::wstring modulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    // A full buffer means the name was cut short.
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    if (path.size() >= 32768) return {};
    path.resize(path.size() * 2);
  }
}

std::uint64_t fnv1a64(const std::wstring& text) {
  std::uint64_t hash = 14695981039346656037ull;
  for (const wchar_t unit : text) {
    // The UTF-16 code unit's two bytes, low byte first.
    const auto value = static_cast<std::uint64_t>(static_cast<std::uint16_t>(unit));
    for (const std::uint64_t byte : {value & 0xFFu, value >> 8}) {
      hash ^= byte;
      hash *= 1099511628211ull;
    }
  }
  return hash;
}

// The executable file itself, however its path is spelled (a link, an 8.3
// name, another drive letter): its volume's serial number and its id there.
// A copy elsewhere is another program, which runs side by side.
std::optional<std::wstring> fileIdentity(const std::wstring& path) {
  const unique_hfile file(::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  wchar_t text[64] = {};
  // The 128-bit identifier where the file system has one (ReFS needs it);
  // the 64-bit index elsewhere.
  FILE_ID_INFO id{};
  if (::GetFileInformationByHandleEx(file.get(), FileIdInfo, &id, sizeof(id))) {
    std::wstring identity;
    std::swprintf(text, 64, L"%016llX-", static_cast<unsigned long long>(id.VolumeSerialNumber));
    identity += text;
    for (const BYTE byte : id.FileId.Identifier) {
      std::swprintf(text, 64, L"%02X", static_cast<unsigned>(byte));
      identity += text;
    }
    return identity;
  }
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandle(file.get(), &info)) return std::nullopt;
  std::swprintf(text, 64, L"%08lX-%08lX%08lX",
                static_cast<unsigned long>(info.dwVolumeSerialNumber),
                static_cast<unsigned long>(info.nFileIndexHigh),
                static_cast<unsigned long>(info.nFileIndexLow));
  return std::wstring(text);
}

// One mutex per executable file (see fileIdentity). Should the file not
// answer, its path stands in for it.
std::wstring instanceMutexName() {
  std::wstring path = modulePath();
  if (const std::optional<std::wstring> identity = fileIdentity(path)) {
    return L"Local\\Vitrolux-" + *identity;
  }
  if (!path.empty()) ::CharLowerBuffW(path.data(), static_cast<DWORD>(path.size()));
  wchar_t hex[17] = {};
  std::swprintf(hex, 17, L"%016llX", static_cast<unsigned long long>(fnv1a64(path)));
  return std::wstring(L"Local\\Vitrolux-path-") + hex;
}

std::wstring folderOf(const std::wstring& path) {
  const std::size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring(L".") : path.substr(0, slash);
}

// A name for the new file beside the target, not in use yet.
std::wstring temporaryName(const std::wstring& folder, unsigned attempt) {
  wchar_t tail[64] = {};
  std::swprintf(tail, 64, L"\\~vitrolux-%08lX-%08lX-%u.tmp",
                static_cast<unsigned long>(::GetCurrentProcessId()),
                static_cast<unsigned long>(::GetTickCount()), attempt);
  return folder + tail;
}

bool writeAll(const FileCalls& calls, HANDLE file, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const std::size_t left = bytes.size() - done;
    const DWORD chunk = left > 0x10000000u ? 0x10000000u : static_cast<DWORD>(left);
    DWORD written = 0;
    // A short write is taken up again; one that writes nothing has failed.
    if (!calls.writeFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0) {
      return false;
    }
    done += written;
  }
  return true;
}

// Whether the target may be replaced: not read-only, and not held open by
// someone who shares it with no one. Checked before the move, because not
// every system refuses such a replacement itself.
bool replaceable(const std::wstring& target) {
  const DWORD attributes = ::GetFileAttributesW(target.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return ::GetLastError() == ERROR_FILE_NOT_FOUND;
  if ((attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0) return false;
  const unique_hfile probe(::CreateFileW(target.c_str(), DELETE,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return static_cast<bool>(probe);
}

}  // namespace

// ---- Processes and environment ------------------------------------------------

std::optional<std::string> Win32Processes::findProgram(const std::string& name) {
  const std::wstring wide = widen(name);
  if (wide.empty()) return std::nullopt;
  if (hasPathPart(wide)) {
    if (isExistingFile(wide)) return narrow(fullPath(wide));
    const std::wstring withExe = wide + L".exe";
    if (isExistingFile(withExe)) return narrow(fullPath(withExe));
    return std::nullopt;
  }
  // The safe search mode set at start-up puts the current folder after the
  // system folders, so a planted copy there does not win.
  std::wstring found(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = ::SearchPathW(nullptr, wide.c_str(), L".exe",
                                       static_cast<DWORD>(found.size()), found.data(), nullptr);
    if (length == 0) return std::nullopt;
    if (length < found.size()) {
      found.resize(length);
      break;
    }
    found.resize(length);
  }
  if (!isExistingFile(found)) return std::nullopt;
  return narrow(found);
}

StartResult Win32Processes::startProcess(const std::string& program,
                                         const std::string& commandLine,
                                         const StartOptions& options) {
  const std::wstring application = widen(program);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(options.showCommand);
  PROCESS_INFORMATION started{};
  auto create = [&](const std::wstring& folder) {
    // CreateProcessW may write into the command line: a fresh copy each time.
    std::wstring arguments = widen(commandLine);
    arguments.push_back(L'\0');
    return ::CreateProcessW(application.empty() ? nullptr : application.c_str(), arguments.data(),
                            nullptr, nullptr, FALSE, 0, nullptr,
                            folder.empty() ? nullptr : folder.c_str(), &startup,
                            &started) != FALSE;
  };
  bool ok = create(widen(options.folder));
  // A "Start in" folder that is gone: the program's own folder, as the
  // program would be found.
  if (!ok && ::GetLastError() == ERROR_DIRECTORY) ok = create(folderOf(application));
  if (!ok) {
    // A program whose manifest asks for an administrator: CreateProcess
    // does not ask the user, and a window of such a program could not be
    // hosted by this one anyway.
    const StartFailure failure = ::GetLastError() == kErrorElevationRequired
                                     ? StartFailure::NeedsElevation
                                     : StartFailure::Refused;
    return {std::nullopt, failure};
  }
  const unique_handle thread(started.hThread);
  const ProcessId id(started.dwProcessId);
  started_[id.value()] = unique_handle(started.hProcess);
  return {id};
}

bool Win32Processes::processEnded(ProcessId process) {
  auto it = started_.find(process.value());
  if (it == started_.end()) return false;
  return ::WaitForSingleObject(it->second.get(), 0) == WAIT_OBJECT_0;
}

void Win32Processes::forgetProcess(ProcessId process) {
  started_.erase(process.value());
}

std::vector<ProcessId> Win32Processes::processTree(ProcessId root) {
  std::vector<ProcessId> tree;
  for (const DWORD process : win32::processTree(root.value())) tree.push_back(ProcessId{process});
  return tree;
}

std::optional<std::string> Win32Processes::environment(const std::string& name) {
  const std::wstring wide = widen(name);
  std::wstring value(256, L'\0');
  for (;;) {
    ::SetLastError(0);
    const DWORD length =
        ::GetEnvironmentVariableW(wide.c_str(), value.data(), static_cast<DWORD>(value.size()));
    if (length == 0) {
      if (::GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
      return std::string();
    }
    if (length < value.size()) {
      value.resize(length);
      return narrow(value);
    }
    value.resize(length);  // the size needed, terminator included
  }
}

namespace {

// The mark of the running instance, made by the first question and held
// for the life of the process, or until it is released.
unique_handle& instanceMark() {
  static unique_handle mark;
  return mark;
}

}  // namespace

bool Win32Processes::anotherInstanceRunning() {
  // Asked once per process: the mutex made by the first question must not
  // count as "another" instance at the second.
  static const bool another = [] {
    ::SetLastError(0);
    instanceMark().reset(::CreateMutexW(nullptr, FALSE, instanceMutexName().c_str()));
    return ::GetLastError() == ERROR_ALREADY_EXISTS;
  }();
  return another;
}

void Win32Processes::releaseInstance() {
  instanceMark().reset();
}

// ---- Files ------------------------------------------------------------------------

std::string Win32Files::applicationFolder() {
  const std::wstring path = modulePath();
  const std::size_t slash = path.find_last_of(L"\\/");
  return narrow(slash == std::wstring::npos ? path : path.substr(0, slash));
}

bool Win32Files::isOrdinaryFile(const std::string& path) {
  const std::wstring wide = widen(path);
  // FindFirstFileW would take these as wildcards and find some other file.
  if (wide.empty() || wide.find_first_of(L"*?") != std::wstring::npos) return false;
  WIN32_FIND_DATAW found{};
  const unique_hfind search(::FindFirstFileW(wide.c_str(), &found));
  if (!search) return false;
  return (found.dwFileAttributes &
          (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) == 0;
}

std::optional<std::string> Win32Files::readFile(const std::string& path, std::size_t maxBytes) {
  const unique_hfile file(::CreateFileW(widen(path).c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  std::string bytes;
  char buffer[4096];
  while (bytes.size() < maxBytes) {
    const std::size_t left = maxBytes - bytes.size();
    const DWORD wanted = left < sizeof(buffer) ? static_cast<DWORD>(left) : sizeof(buffer);
    DWORD got = 0;
    if (!::ReadFile(file.get(), buffer, wanted, &got, nullptr)) return std::nullopt;
    if (got == 0) break;
    bytes.append(buffer, got);
  }
  return bytes;
}

bool Win32Files::replaceFile(const std::string& path, const std::string& bytes) {
  static const FileCalls kSystemCalls;
  const FileCalls& calls = calls_ != nullptr ? *calls_ : kSystemCalls;
  const std::wstring target = widen(path);
  if (target.empty() || !replaceable(target)) return false;
  const std::wstring folder = folderOf(target);

  std::wstring temporary;
  unique_hfile file;
  for (unsigned attempt = 0; attempt < 100 && !file; ++attempt) {
    temporary = temporaryName(folder, attempt);
    file.reset(calls.createFile(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file && ::GetLastError() != ERROR_FILE_EXISTS) return false;  // e.g. a read-only folder
  }
  if (!file) return false;

  const bool written = writeAll(calls, file.get(), bytes) && ::FlushFileBuffers(file.get());
  file.reset();
  // The old file stays exactly as it was until the new one is complete, and
  // is swapped for it in one step.
  if (!written || !calls.moveFile(temporary.c_str(), target.c_str(),
                                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    ::DeleteFileW(temporary.c_str());
    return false;
  }
  return true;
}

// ---- Text -------------------------------------------------------------------------

std::optional<std::string> Win32Text::toAnsi(const std::string& utf8) {
  return utf8ToCodePage(utf8, ::GetACP());
}

std::string Win32Text::fromAnsi(const std::string& ansi) {
  return codePageToUtf8(ansi, ::GetACP());
}

}  // namespace vitrolux::platform::win32
