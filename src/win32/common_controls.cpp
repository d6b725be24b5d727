#include "win32/common_controls.h"

namespace vitrolux::platform::win32 {
namespace {

// Through void(*)(): the one function-pointer cast GCC does not warn about.
template <typename Fn>
Fn exported(HMODULE library, const char* name) {
  return library == nullptr
             ? nullptr
             : reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(::GetProcAddress(library, name)));
}

HMODULE commonControls() {
  // Loaded once and kept: the controls' classes live in it.
  static const HMODULE library = ::LoadLibraryW(L"comctl32.dll");
  return library;
}

struct Subclassing {
  using Set = BOOL(WINAPI*)(HWND, SUBCLASSPROC, UINT_PTR, DWORD_PTR);
  using Remove = BOOL(WINAPI*)(HWND, SUBCLASSPROC, UINT_PTR);
  using Default = LRESULT(WINAPI*)(HWND, UINT, WPARAM, LPARAM);
  Set set = exported<Set>(commonControls(), "SetWindowSubclass");
  Remove remove = exported<Remove>(commonControls(), "RemoveWindowSubclass");
  Default next = exported<Default>(commonControls(), "DefSubclassProc");
};

const Subclassing& subclassing() {
  static const Subclassing functions;
  return functions;
}

}  // namespace

bool initCommonControls() {
  static const bool done = [] {
    using Init = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    const auto init = exported<Init>(commonControls(), "InitCommonControlsEx");
    if (init == nullptr) return false;
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES;
    return init(&controls) != FALSE;
  }();
  return done;
}

bool setWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR data) {
  const auto set = subclassing().set;
  return set != nullptr && set(window, procedure, id, data) != FALSE;
}

bool removeWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id) {
  const auto remove = subclassing().remove;
  return remove != nullptr && remove(window, procedure, id) != FALSE;
}

LRESULT defSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // Only ever called from a subclass procedure, which the library's own
  // subclassing ran: it is loaded.
  return subclassing().next(window, message, wParam, lParam);
}

void setWindowTheme(HWND window, const wchar_t* app, const wchar_t* idList) {
  using SetTheme = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
  static const SetTheme setTheme = exported<SetTheme>(
      ::LoadLibraryExW(L"uxtheme.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32), "SetWindowTheme");
  if (setTheme != nullptr) setTheme(window, app, idList);
}

}  // namespace vitrolux::platform::win32
