// Puts a running Vitrolux frame into its see-through mode for
// bench/run-idle-cpu, as a user does: Ctrl+Alt+Shift+G through SendInput,
// the pointer then moved off the frame. Exits 0 once the frame lets the
// mouse through, 1 when there is no frame or it does not follow.
#include <windows.h>

namespace {

void key(WORD vk, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = vk;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &input, sizeof input);
}

bool seeThrough(HWND frame) {
  constexpr LONG_PTR kBoth = WS_EX_LAYERED | WS_EX_TRANSPARENT;
  return (GetWindowLongPtrW(frame, GWL_EXSTYLE) & kBoth) == kBoth;
}

}  // namespace

int main() {
  HWND frame = FindWindowW(L"VitroluxFrame", L"Vitrolux");
  if (frame == nullptr) return 1;
  const WORD chord[] = {VK_CONTROL, VK_MENU, VK_SHIFT, 'G'};
  for (const WORD vk : chord) key(vk, false);
  // Held longer than a poll, as a hand does.
  Sleep(100);
  for (int i = 3; i >= 0; --i) key(chord[i], true);
  SetCursorPos(0, 0);
  for (int waited = 0; waited < 3000; waited += 50) {
    if (seeThrough(frame)) return 0;
    Sleep(50);
  }
  return 1;
}
