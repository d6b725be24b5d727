#include "win32/control_keys.h"

#include <algorithm>
#include <vector>

#include "ui/guard.h"
#include "win32/control_windows.h"
#include "win32/mouse_input.h"

namespace vitrolux::platform::win32 {
namespace {

bool offerToFrame(ControlWindows& controls, const MSG& message) {
  if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) return false;
  const int control = controls.indexOf(message.hwnd);
  if (control < 0) return false;
  const int key = static_cast<int>(message.wParam);
  const int shift = keyShiftState();
  FrameEvents& events = controls.events();
  return guarded([&] { return events.onControlKeyDown(control, key, shift); }, false);
}

// Only Tab itself: Enter, Esc and the frame's command keys go on as before,
// where the system's dialog manager (IsDialogMessage) would turn Enter and
// Esc into commands of their own.
bool moveFocusWithinPanel(ControlWindows& controls, const MSG& message) {
  if (message.message != WM_KEYDOWN || message.wParam != VK_TAB) return false;
  if (::GetKeyState(VK_CONTROL) < 0 || ::GetKeyState(VK_MENU) < 0) return false;
  const int from = controls.indexOf(message.hwnd);
  if (from < 0) return false;
  const int panel = controls.control(from).container;
  if (panel == kNoContainer) return false;
  std::vector<int> stops;
  for (int i = 0; i < controls.count(); ++i) {
    HWND w = controls.window(i);
    if (w == nullptr || controls.control(i).container != panel) continue;
    if ((::GetWindowLongW(w, GWL_STYLE) & WS_TABSTOP) == 0) continue;
    if (::IsWindowVisible(w) && ::IsWindowEnabled(w)) stops.push_back(i);
  }
  // In the order the panel reads, top to bottom, then left to right. The
  // system's own walk (GetNextDlgTabItem) follows the stacking instead,
  // which puts the panel's controls the other way up.
  std::stable_sort(stops.begin(), stops.end(), [&](int a, int b) {
    const TwipsRect& ra = controls.control(a).rect;
    const TwipsRect& rb = controls.control(b).rect;
    return ra.top != rb.top ? ra.top < rb.top : ra.left < rb.left;
  });
  const auto at = std::find(stops.begin(), stops.end(), from);
  if (at == stops.end()) return false;
  const std::size_t count = stops.size();
  const std::size_t here = static_cast<std::size_t>(at - stops.begin());
  const bool back = ::GetKeyState(VK_SHIFT) < 0;
  const int to = stops[back ? (here + count - 1) % count : (here + 1) % count];
  // As in the system's dialogs, a text box reached by Tab has its whole
  // text selected: typing replaces it.
  if (controls.control(to).kind == ControlKind::TextBox) {
    ::SendMessageW(controls.window(to), EM_SETSEL, 0, -1);
  }
  ::SetFocus(controls.window(to));
  return true;
}

}  // namespace

bool takeControlKey(ControlWindows& controls, const MSG& message) {
  return offerToFrame(controls, message) || moveFocusWithinPanel(controls, message);
}

}  // namespace vitrolux::platform::win32
