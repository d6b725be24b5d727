#include "win32/program_dialog.h"

// After windows.h, which they need.
#include <commdlg.h>
#include <objidl.h>
#include <shobjidl.h>

#include <cwctype>
#include <vector>

namespace vitrolux::platform::win32 {
namespace {

// The dialog's libraries are loaded when it is first shown: the frame starts
// without them, and most runs never open it. They stay for the process's
// life.
template <typename Function>
Function systemFunction(const wchar_t* library, const char* name) {
  HMODULE module = ::GetModuleHandleW(library);
  if (module == nullptr) module = ::LoadLibraryW(library);
  if (module == nullptr) return nullptr;
  // Through a plain function pointer: FARPROC's own type matches none.
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}

// The shell's shortcut object and the interfaces read here, spelled out so
// that no import library of GUIDs is needed.
constexpr GUID kShellLinkClass{0x00021401, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr GUID kShellLinkInterface{0x000214F9, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr GUID kPersistFileInterface{0x0000010B, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

// Releases a COM interface at the end of its scope.
template <typename Interface>
struct Held {
  Interface* p = nullptr;
  ~Held() {
    if (p != nullptr) p->Release();
  }
};

bool endsWithShortcut(const std::wstring& path) {
  constexpr std::wstring_view kLnk = L".lnk";
  if (path.size() < kLnk.size()) return false;
  for (std::size_t i = 0; i < kLnk.size(); ++i) {
    if (std::towlower(path[path.size() - kLnk.size() + i]) != kLnk[i]) return false;
  }
  return true;
}

std::wstring quoted(const std::wstring& program, const std::wstring& arguments) {
  std::wstring line = L"\"" + program + L"\"";
  if (!arguments.empty()) line += L" " + arguments;
  return line;
}

// What starting the shortcut would start: its target and its arguments.
std::optional<std::wstring> shortcutCommandLine(const std::wstring& shortcut) {
  using InitializeCom = HRESULT(WINAPI*)(LPVOID, DWORD);
  using CreateInstance = HRESULT(WINAPI*)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*);
  const auto initialize = systemFunction<InitializeCom>(L"ole32.dll", "CoInitializeEx");
  const auto create = systemFunction<CreateInstance>(L"ole32.dll", "CoCreateInstance");
  if (initialize == nullptr || create == nullptr) return std::nullopt;
  // The frame's thread: once is enough, and a second call only counts up.
  initialize(nullptr, COINIT_APARTMENTTHREADED);
  Held<IShellLinkW> link;
  if (FAILED(create(kShellLinkClass, nullptr, CLSCTX_INPROC_SERVER, kShellLinkInterface,
                    reinterpret_cast<void**>(&link.p)))) {
    return std::nullopt;
  }
  Held<IPersistFile> file;
  if (FAILED(link.p->QueryInterface(kPersistFileInterface, reinterpret_cast<void**>(&file.p))) ||
      FAILED(file.p->Load(shortcut.c_str(), STGM_READ))) {
    return std::nullopt;
  }
  wchar_t target[MAX_PATH] = {};
  if (FAILED(link.p->GetPath(target, MAX_PATH, nullptr, 0)) || target[0] == L'\0') {
    return std::nullopt;
  }
  wchar_t arguments[1024] = {};
  if (FAILED(link.p->GetArguments(arguments, 1024))) arguments[0] = L'\0';
  return quoted(target, arguments);
}

std::wstring programFilesFolder() {
  wchar_t folder[MAX_PATH] = {};
  const DWORD length = ::GetEnvironmentVariableW(L"ProgramFiles", folder, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::wstring(folder, length) : std::wstring();
}

}  // namespace

std::optional<std::wstring> chooseProgram(HWND owner, const std::wstring& title,
                                          const std::wstring& filterName) {
  using OpenFileName = BOOL(WINAPI*)(LPOPENFILENAMEW);
  const auto open = systemFunction<OpenFileName>(L"comdlg32.dll", "GetOpenFileNameW");
  if (open == nullptr) return std::nullopt;
  // Pairs of name and pattern, each ended by a NUL, the list by another.
  std::wstring filter = filterName + L" (*.exe;*.lnk)";
  filter.push_back(L'\0');
  filter += L"*.exe;*.lnk";
  filter.push_back(L'\0');
  filter.push_back(L'\0');
  const std::wstring folder = programFilesFolder();
  std::vector<wchar_t> chosen(32768, L'\0');
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filter.c_str();
  dialog.lpstrFile = chosen.data();
  dialog.nMaxFile = static_cast<DWORD>(chosen.size());
  dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  dialog.lpstrTitle = title.c_str();
  // A shortcut is read here, for its arguments as well as its target.
  dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY |
                 OFN_NOCHANGEDIR | OFN_NODEREFERENCELINKS | OFN_DONTADDTORECENT;
  if (!open(&dialog)) return std::nullopt;
  const std::wstring path(chosen.data());
  if (endsWithShortcut(path)) return shortcutCommandLine(path);
  return quoted(path, {});
}

}  // namespace vitrolux::platform::win32
