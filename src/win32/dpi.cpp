#include "win32/dpi.h"

#include "ui/twips.h"
#include "win32/unique_resource.h"

namespace vitrolux::platform::win32 {
namespace {

using DpiForWindowFn = UINT(WINAPI*)(HWND);
using DpiForSystemFn = UINT(WINAPI*)();
using SetDpiHostingFn = DPI_HOSTING_BEHAVIOR(WINAPI*)(DPI_HOSTING_BEHAVIOR);

// Looked up at run time: importing them would stop the program from
// starting on Windows 7 and 8.1, which the manifest still declares, and on
// Windows 10 before the version that brought each.
template <typename Fn>
Fn user32Function(const char* name) {
  const HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
  if (user32 == nullptr) return nullptr;
  // Through void(*)(): the one function-pointer cast GCC does not warn about.
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(::GetProcAddress(user32, name)));
}

int screenLogPixels() {
  const unique_hdc_window screen(nullptr);
  const int dpi = screen ? ::GetDeviceCaps(screen.get(), LOGPIXELSX) : 0;
  return dpi > 0 ? dpi : kDefaultDpi;
}

SetDpiHostingFn setThreadDpiHosting() {
  static const SetDpiHostingFn set = user32Function<SetDpiHostingFn>("SetThreadDpiHostingBehavior");
  return set;
}

}  // namespace

int dpiForWindow(HWND window) {
  static const DpiForWindowFn getDpiForWindow = user32Function<DpiForWindowFn>("GetDpiForWindow");
  if (getDpiForWindow != nullptr && window != nullptr) {
    const UINT dpi = getDpiForWindow(window);
    if (dpi > 0) return static_cast<int>(dpi);
  }
  return screenLogPixels();
}

int systemDpi() {
  static const DpiForSystemFn getDpiForSystem = user32Function<DpiForSystemFn>("GetDpiForSystem");
  if (getDpiForSystem != nullptr) {
    const UINT dpi = getDpiForSystem();
    if (dpi > 0) return static_cast<int>(dpi);
  }
  return screenLogPixels();
}

MixedDpiHosting::MixedDpiHosting() {
  // Only around the creation of the window that hosts: the behaviour is a
  // window's from its creation on, and other windows of the thread stay
  // as the system makes them.
  if (const SetDpiHostingFn set = setThreadDpiHosting()) {
    previous_ = set(DPI_HOSTING_BEHAVIOR_MIXED);
  }
}

MixedDpiHosting::~MixedDpiHosting() {
  if (previous_ != DPI_HOSTING_BEHAVIOR_INVALID) setThreadDpiHosting()(previous_);
}

bool MixedDpiHosting::available() {
  return setThreadDpiHosting() != nullptr;
}

}  // namespace vitrolux::platform::win32
