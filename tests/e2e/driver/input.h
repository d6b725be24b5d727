// Keyboard and mouse input as a user makes it: SendInput puts the events
// into the system's input stream, so they reach whichever window has the
// focus or lies under the pointer, and GetAsyncKeyState sees the keys in
// every process (under Wine too). Make the window that should get keys the
// foreground window first (SetForegroundWindow works across processes under
// Wine).
//
// Every function returns false when the system refused some of the events.
#pragma once

#include <windows.h>

#include <chrono>
#include <initializer_list>
#include <string_view>

namespace e2e {

using namespace std::chrono_literals;

// Virtual-key codes: VK_CONTROL, VK_F5, 'S' (letters and digits are their
// upper-case characters).
bool keyDown(WORD vk);
bool keyUp(WORD vk);
// Each key down and up in turn, `gap` after each.
bool pressKeys(std::initializer_list<WORD> keys, std::chrono::milliseconds gap = 20ms);
// The keys go down in order, stay down for `hold`, and come up in reverse
// order: typeChord({VK_CONTROL, 'S'}) is Ctrl+S. A program that polls
// GetAsyncKeyState must see them down: Wine never sets the "pressed since
// the last query" bit, so hold them longer than its polling interval.
bool typeChord(std::initializer_list<WORD> keys, std::chrono::milliseconds hold = 100ms);

// Types the text, character by character, as Unicode key events: any
// character, whatever the keyboard layout (what an input method sends).
bool typeText(std::wstring_view text);

enum class MouseButton { left, right, middle };

// Puts the pointer on the screen pixel (x, y) and sends an absolute move
// there, so the window under it gets WM_MOUSEMOVE (and WM_SETCURSOR) as
// from a real mouse. True when the pointer ended exactly there.
bool moveMouseTo(int x, int y);
// A button goes down or up where the pointer is.
bool mouseDown(MouseButton button = MouseButton::left);
bool mouseUp(MouseButton button = MouseButton::left);

// A single click at (x, y). A click near the previous one waits out the
// double-click time, so that it is never taken as the second half of a
// double click; one elsewhere goes at once, right behind it.
bool clickAt(int x, int y, MouseButton button = MouseButton::left);
// The same at the middle of the window.
bool clickCentre(HWND window, MouseButton button = MouseButton::left);
// A click that gives `window` the keyboard, at `at` on the screen or at its
// middle: true once the window has its thread's focus, as a user sees the
// caret (or the frame turn active) before typing. Keys pressed sooner go
// where the keyboard was while the click is still on its way.
bool clickToType(HWND window);
bool clickToType(HWND window, POINT at);
// Two clicks at (x, y) well within the double-click time.
bool doubleClickAt(int x, int y);
// Button down at `from`, the pointer moved to `to` in `steps` even steps
// (about 15 ms apart, so the window under it sees each), button up there.
bool dragMouse(POINT from, POINT to, int steps = 10, MouseButton button = MouseButton::left);

// The middle of a window on the screen: where a user clicks a button.
POINT centreOf(HWND window);

}  // namespace e2e
