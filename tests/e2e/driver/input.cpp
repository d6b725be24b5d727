#include "driver/input.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <thread>

#include "driver/win.h"

namespace e2e {

namespace {

using Clock = std::chrono::steady_clock;

// The keys whose scan codes carry the E0 prefix: without the extended flag
// a program reading the scan code takes the arrows for the number pad.
bool isExtendedKey(WORD vk) {
  switch (vk) {
    case VK_INSERT:
    case VK_DELETE:
    case VK_HOME:
    case VK_END:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
    case VK_RCONTROL:
    case VK_RMENU:
    case VK_DIVIDE:
    case VK_NUMLOCK:
    case VK_SNAPSHOT:
    case VK_LWIN:
    case VK_RWIN:
    case VK_APPS:
      return true;
    default:
      return false;
  }
}

bool sendKey(WORD vk, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = vk;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (isExtendedKey(vk) ? KEYEVENTF_EXTENDEDKEY : 0);
  return SendInput(1, &input, sizeof input) == 1;
}

bool sendMouse(DWORD flags, LONG dx = 0, LONG dy = 0) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = dx;
  input.mi.dy = dy;
  input.mi.dwFlags = flags;
  return SendInput(1, &input, sizeof input) == 1;
}

DWORD downFlag(MouseButton button) {
  switch (button) {
    case MouseButton::right:
      return MOUSEEVENTF_RIGHTDOWN;
    case MouseButton::middle:
      return MOUSEEVENTF_MIDDLEDOWN;
    default:
      return MOUSEEVENTF_LEFTDOWN;
  }
}

DWORD upFlag(MouseButton button) {
  switch (button) {
    case MouseButton::right:
      return MOUSEEVENTF_RIGHTUP;
    case MouseButton::middle:
      return MOUSEEVENTF_MIDDLEUP;
    default:
      return MOUSEEVENTF_LEFTUP;
  }
}

// A pixel as the 0..65535 coordinate of an absolute move across the
// virtual screen, rounded up so that the system's scaling back (which
// truncates) lands on the same pixel.
LONG normalised(int pixel, int origin, int extent) {
  if (extent <= 1) return 0;
  return static_cast<LONG>((static_cast<long long>(pixel - origin) * 65536 + extent - 1) / extent);
}

Clock::time_point lastClick;
POINT lastClickAt{-100000, -100000};

// Waits until a click at (x, y) cannot pair with the previous one into a
// double click: only one close to it and soon after can.
void spaceFromLastClick(int x, int y) {
  const bool nearby = std::abs(x - lastClickAt.x) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
                      std::abs(y - lastClickAt.y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2;
  const auto spacing = std::chrono::milliseconds(GetDoubleClickTime() + 50);
  const auto since = Clock::now() - lastClick;
  if (nearby && since < spacing) std::this_thread::sleep_for(spacing - since);
  lastClickAt = POINT{x, y};
}

}  // namespace

bool keyDown(WORD vk) {
  return sendKey(vk, false);
}

bool keyUp(WORD vk) {
  return sendKey(vk, true);
}

bool pressKeys(std::initializer_list<WORD> keys, std::chrono::milliseconds gap) {
  bool ok = true;
  for (WORD vk : keys) {
    ok = keyDown(vk) && ok;
    ok = keyUp(vk) && ok;
    std::this_thread::sleep_for(gap);
  }
  return ok;
}

bool typeChord(std::initializer_list<WORD> keys, std::chrono::milliseconds hold) {
  bool ok = true;
  for (WORD vk : keys) ok = keyDown(vk) && ok;
  std::this_thread::sleep_for(hold);
  // Released even when a press failed, so no key stays down for the next test.
  for (auto it = std::rbegin(keys); it != std::rend(keys); ++it) ok = keyUp(*it) && ok;
  return ok;
}

bool typeText(std::wstring_view text) {
  bool ok = true;
  for (const wchar_t c : text) {
    INPUT keys[2]{};
    for (INPUT& key : keys) {
      key.type = INPUT_KEYBOARD;
      key.ki.wScan = c;
      key.ki.dwFlags = KEYEVENTF_UNICODE;
    }
    keys[1].ki.dwFlags |= KEYEVENTF_KEYUP;
    ok = SendInput(2, keys, sizeof(INPUT)) == 2 && ok;
    std::this_thread::sleep_for(5ms);
  }
  return ok;
}

bool moveMouseTo(int x, int y) {
  // SetCursorPos alone moves the pointer without telling the window under
  // it; the absolute move that follows is what a real mouse sends.
  SetCursorPos(x, y);
  const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
  const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
  const int height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  bool sent = sendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK,
                        normalised(x, left, width), normalised(y, top, height));
  POINT at{};
  GetCursorPos(&at);
  if (at.x != x || at.y != y) {
    // Rounded to a neighbour pixel: put it right without another message.
    SetCursorPos(x, y);
    GetCursorPos(&at);
  }
  return sent && at.x == x && at.y == y;
}

bool mouseDown(MouseButton button) {
  return sendMouse(downFlag(button));
}

bool mouseUp(MouseButton button) {
  return sendMouse(upFlag(button));
}

bool clickAt(int x, int y, MouseButton button) {
  spaceFromLastClick(x, y);
  bool ok = moveMouseTo(x, y);
  ok = mouseDown(button) && ok;
  ok = mouseUp(button) && ok;
  lastClick = Clock::now();
  return ok;
}

bool clickCentre(HWND window, MouseButton button) {
  const POINT at = centreOf(window);
  return clickAt(at.x, at.y, button);
}

bool clickToType(HWND window, POINT at) {
  return clickAt(at.x, at.y) && waitUntil(2s, [&] { return focusOf(window) == window; });
}

bool clickToType(HWND window) {
  return clickToType(window, centreOf(window));
}

bool doubleClickAt(int x, int y) {
  spaceFromLastClick(x, y);
  bool ok = moveMouseTo(x, y);
  for (int i = 0; i < 2; ++i) {
    ok = mouseDown() && ok;
    ok = mouseUp() && ok;
    std::this_thread::sleep_for(30ms);
  }
  lastClick = Clock::now();
  return ok;
}

bool dragMouse(POINT from, POINT to, int steps, MouseButton button) {
  spaceFromLastClick(from.x, from.y);
  steps = std::max(steps, 1);
  bool ok = moveMouseTo(from.x, from.y);
  ok = mouseDown(button) && ok;
  std::this_thread::sleep_for(15ms);
  for (int i = 1; i <= steps; ++i) {
    ok = moveMouseTo(from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps) &&
         ok;
    std::this_thread::sleep_for(15ms);
  }
  // Released even when a move failed, so the button does not stay down.
  ok = mouseUp(button) && ok;
  lastClick = Clock::now();
  return ok;
}

POINT centreOf(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

}  // namespace e2e
