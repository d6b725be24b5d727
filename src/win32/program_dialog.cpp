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

std::wstring quoted(const std::wstring& program, const std::wstring& arguments) {
  std::wstring line = L"\"" + program + L"\"";
  if (!arguments.empty()) line += L" " + arguments;
  return line;
}

bool hasExtension(const std::wstring& path, std::wstring_view extension) {
  if (path.size() < extension.size()) return false;
  for (std::size_t i = 0; i < extension.size(); ++i) {
    if (std::towlower(path[path.size() - extension.size() + i]) != extension[i]) return false;
  }
  return true;
}

// Whether CreateProcess can start the file itself: a program, not a
// document, a folder or a script.
bool isProgramFile(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return false;
  }
  return hasExtension(path, L".exe") || hasExtension(path, L".com");
}

std::wstring expanded(const std::wstring& text) {
  const DWORD needed = ::ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
  if (needed == 0) return text;
  std::wstring out(needed, L'\0');
  const DWORD length = ::ExpandEnvironmentStringsW(text.c_str(), out.data(), needed);
  if (length == 0 || length > needed) return text;
  out.resize(length - 1);
  return out;
}

// What starting the shortcut starts, as Explorer starts it. A target that
// has moved is looked for without any dialog, for a moment at most, and the
// shortcut is not rewritten.
Choice shortcutChoice(HWND owner, const std::wstring& shortcut) {
  using CreateInstance = HRESULT(WINAPI*)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*);
  const auto create = systemFunction<CreateInstance>(L"ole32.dll", "CoCreateInstance");
  Choice choice;
  if (create == nullptr) return choice;
  Held<IShellLinkW> link;
  if (FAILED(create(kShellLinkClass, nullptr, CLSCTX_INPROC_SERVER, kShellLinkInterface,
                    reinterpret_cast<void**>(&link.p)))) {
    return choice;
  }
  Held<IPersistFile> file;
  if (FAILED(link.p->QueryInterface(kPersistFileInterface, reinterpret_cast<void**>(&file.p))) ||
      FAILED(file.p->Load(shortcut.c_str(), STGM_READ))) {
    return choice;
  }
  constexpr DWORD kResolveWaitMs = 1500;
  link.p->Resolve(owner, SLR_NO_UI | SLR_NOUPDATE | (kResolveWaitMs << 16));
  std::vector<wchar_t> target(32768, L'\0');
  if (FAILED(link.p->GetPath(target.data(), static_cast<int>(target.size()), nullptr, 0))) {
    return choice;
  }
  const std::wstring program(target.data());
  if (program.empty() || !isProgramFile(program)) return choice;
  std::vector<wchar_t> text(32768, L'\0');
  std::wstring arguments;
  if (SUCCEEDED(link.p->GetArguments(text.data(), static_cast<int>(text.size())))) {
    arguments = text.data();
  }
  text.assign(text.size(), L'\0');
  if (SUCCEEDED(link.p->GetWorkingDirectory(text.data(), static_cast<int>(text.size())))) {
    choice.folder = expanded(text.data());
  }
  int show = SW_SHOWNORMAL;
  if (SUCCEEDED(link.p->GetShowCmd(&show))) choice.showCommand = show;
  choice.commandLine = quoted(program, arguments);
  return choice;
}

std::wstring programFilesFolder() {
  wchar_t folder[MAX_PATH] = {};
  const DWORD length = ::GetEnvironmentVariableW(L"ProgramFiles", folder, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::wstring(folder, length) : std::wstring();
}

}  // namespace

ComApartment::~ComApartment() {
  if (!entered_) return;
  using Uninitialize = void(WINAPI*)();
  if (const auto leave = systemFunction<Uninitialize>(L"ole32.dll", "CoUninitialize")) leave();
}

bool ComApartment::enter() {
  if (tried_) return inside_;
  tried_ = true;
  using InitializeCom = HRESULT(WINAPI*)(LPVOID, DWORD);
  const auto initialize = systemFunction<InitializeCom>(L"ole32.dll", "CoInitializeEx");
  if (initialize == nullptr) return false;
  const HRESULT result =
      initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  // S_FALSE: the thread was in one already, and still counts one more.
  entered_ = SUCCEEDED(result);
  inside_ = entered_ || result == RPC_E_CHANGED_MODE;
  return inside_;
}

std::optional<Choice> chooseProgram(HWND owner, const std::wstring& title,
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
  // A shortcut is read here, for its arguments, folder and show command as
  // well as its target.
  dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY |
                 OFN_NOCHANGEDIR | OFN_NODEREFERENCELINKS | OFN_DONTADDTORECENT;
  if (!open(&dialog)) return std::nullopt;
  const std::wstring path(chosen.data());
  if (hasExtension(path, L".lnk")) return shortcutChoice(owner, path);
  // A program starts in its own folder, which the logic knows from its path.
  return Choice{quoted(path, {}), {}, SW_SHOWNORMAL};
}

}  // namespace vitrolux::platform::win32
