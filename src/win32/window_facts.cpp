#include "win32/window_facts.h"

#include <cstdint>
#include <vector>

#include "win32/unique_resource.h"

namespace vitrolux::platform::win32 {
namespace {

// The offset of workspace coordinates from screen coordinates on the
// window's monitor: they start at its work area's top left, which differs
// where a task bar sits on the left or at the top. Tool windows use screen
// coordinates.
POINT workspaceOffset(HWND window, const RECT& place) {
  if ((::GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0) return POINT{0, 0};
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  if (!::GetMonitorInfoW(::MonitorFromRect(&place, MONITOR_DEFAULTTONEAREST), &monitor)) {
    return POINT{0, 0};
  }
  return POINT{monitor.rcWork.left - monitor.rcMonitor.left,
               monitor.rcWork.top - monitor.rcMonitor.top};
}

// The integrity level of a process's token: its mandatory label's last
// sub-authority (0x2000 medium, 0x3000 high, 0x4000 system).
std::optional<DWORD> integrityOf(HANDLE process) {
  HANDLE raw = nullptr;
  if (!::OpenProcessToken(process, TOKEN_QUERY, &raw)) return std::nullopt;
  const unique_handle token(raw);
  DWORD size = 0;
  ::GetTokenInformation(token.get(), TokenIntegrityLevel, nullptr, 0, &size);
  if (size == 0) return std::nullopt;
  // Storage aligned for the structure and the SID it points into.
  std::vector<std::uint64_t> buffer((size + sizeof(std::uint64_t) - 1) / sizeof(std::uint64_t));
  auto* label = reinterpret_cast<TOKEN_MANDATORY_LABEL*>(buffer.data());
  if (!::GetTokenInformation(token.get(), TokenIntegrityLevel, label, size, &size)) {
    return std::nullopt;
  }
  const PUCHAR count = ::GetSidSubAuthorityCount(label->Label.Sid);
  if (count == nullptr || *count == 0) return std::nullopt;
  return *::GetSidSubAuthority(label->Label.Sid, *count - 1);
}

}  // namespace

std::optional<Placement> placementOf(HWND window) {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof(placement);
  if (!::GetWindowPlacement(window, &placement)) return std::nullopt;
  RECT normal = placement.rcNormalPosition;
  const POINT offset = workspaceOffset(window, normal);
  ::OffsetRect(&normal, offset.x, offset.y);
  Placement result;
  result.normal = Rect{normal.left, normal.top, normal.right, normal.bottom};
  if (placement.showCmd == SW_SHOWMAXIMIZED) result.state = WindowState::Maximized;
  if (placement.showCmd == SW_SHOWMINIMIZED || ::IsIconic(window)) {
    result.state = WindowState::Minimized;
  }
  return result;
}

namespace {

// The same placement made of ShowWindow and SetWindowPos, for a system
// whose SetWindowPlacement refuses other processes' windows (Wine; Windows
// takes it). The window passes through its normal state at the restored
// place, so that maximising keeps that place to restore to.
bool emulatePlacement(HWND window, const Placement& wanted) {
  if ((::IsZoomed(window) || ::IsIconic(window)) && !::ShowWindow(window, SW_SHOWNOACTIVATE) &&
      (::IsZoomed(window) || ::IsIconic(window))) {
    return false;
  }
  const Rect& r = wanted.normal;
  if (!::SetWindowPos(window, nullptr, r.left, r.top, r.width(), r.height(),
                      SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW)) {
    return false;
  }
  if (wanted.state == WindowState::Maximized) ::ShowWindow(window, SW_MAXIMIZE);
  if (wanted.state == WindowState::Minimized) ::ShowWindow(window, SW_SHOWMINNOACTIVE);
  return true;
}

bool ofOtherProcess(HWND window) {
  DWORD process = 0;
  ::GetWindowThreadProcessId(window, &process);
  return process != 0 && process != ::GetCurrentProcessId();
}

}  // namespace

bool applyPlacement(HWND window, const Placement& wanted) {
  // Whether the system places other processes' windows: learnt at the first
  // refusal of a window that exists, and from then on not asked again.
  static bool placesOtherProcesses = true;
  const bool foreign = ofOtherProcess(window);
  if (foreign && !placesOtherProcesses) return emulatePlacement(window, wanted);
  RECT normal{wanted.normal.left, wanted.normal.top, wanted.normal.right, wanted.normal.bottom};
  const POINT offset = workspaceOffset(window, normal);
  ::OffsetRect(&normal, -offset.x, -offset.y);
  WINDOWPLACEMENT placement{};
  placement.length = sizeof(placement);
  if (!::GetWindowPlacement(window, &placement)) return false;
  placement.flags = 0;
  placement.rcNormalPosition = normal;
  switch (wanted.state) {
    case WindowState::Maximized:
      placement.showCmd = SW_SHOWMAXIMIZED;
      break;
    case WindowState::Minimized:
      placement.showCmd = SW_SHOWMINNOACTIVE;
      break;
    case WindowState::Normal:
      placement.showCmd = SW_SHOWNOACTIVATE;
      break;
  }
  if (::SetWindowPlacement(window, &placement)) return true;
  if (!foreign || !::IsWindow(window)) return false;
  placesOtherProcesses = false;
  return emulatePlacement(window, wanted);
}

std::wstring classNameOf(HWND window) {
  wchar_t name[256] = {};
  const int length = ::GetClassNameW(window, name, 256);
  return std::wstring(name, length > 0 ? static_cast<std::size_t>(length) : 0);
}

bool cloaked(HWND window) {
  using GetAttribute = HRESULT(WINAPI*)(HWND, DWORD, PVOID, DWORD);
  static const GetAttribute getAttribute = []() -> GetAttribute {
    HMODULE dwm = ::LoadLibraryW(L"dwmapi.dll");
    if (dwm == nullptr) return nullptr;
    // Through a plain function pointer: FARPROC's own type matches none.
    return reinterpret_cast<GetAttribute>(
        reinterpret_cast<void (*)()>(::GetProcAddress(dwm, "DwmGetWindowAttribute")));
  }();
  if (getAttribute == nullptr) return false;
  constexpr DWORD kDwmwaCloaked = 14;
  DWORD value = 0;
  return SUCCEEDED(getAttribute(window, kDwmwaCloaked, &value, sizeof(value))) && value != 0;
}

bool ofHigherIntegrity(HWND window) {
  DWORD processId = 0;
  if (::GetWindowThreadProcessId(window, &processId) == 0) return false;
  static const std::optional<DWORD> own = integrityOf(::GetCurrentProcess());
  if (!own) return false;
  const unique_handle process(
      ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  if (!process) return false;
  const std::optional<DWORD> theirs = integrityOf(process.get());
  return theirs && *theirs > *own;
}

}  // namespace vitrolux::platform::win32
