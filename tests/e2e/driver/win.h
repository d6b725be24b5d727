// Reading the desktop from outside, as a user's eyes would: windows, their
// text, class, styles and sizes, and waiting for them with a deadline.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace e2e {

using namespace std::chrono_literals;

// Polls `done` every 20 ms until it returns true or `timeout` has passed;
// returns whether it became true. The last check runs after the deadline,
// so a condition met just in time still counts.
bool waitUntil(std::chrono::milliseconds timeout, const std::function<bool()>& done);

std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view utf16);

std::wstring windowText(HWND window);
std::wstring className(HWND window);
bool sameClass(HWND window, std::wstring_view name);  // class names ignore case

// Every window below `parent`, children of children included, in the order
// EnumChildWindows gives.
std::vector<HWND> descendants(HWND parent);
// Descendants whose window text is exactly `text`; the first, or nullptr.
std::vector<HWND> findDescendantsByText(HWND parent, std::wstring_view text);
HWND findDescendantByText(HWND parent, std::wstring_view text);
HWND findDescendantByClass(HWND parent, std::wstring_view name);
// The first direct child whose window text is exactly `text` (a hosted
// window, for the frame), or nullptr; and the same once it is there, or
// nullptr when none came within the time.
HWND childByText(HWND parent, std::wstring_view text);
HWND waitForChildByText(HWND parent, std::wstring_view text, std::chrono::milliseconds timeout);

// Ends every program that shows a top-level window with exactly this
// caption, and waits for each to go. Vitrolux captures by caption, so a
// program left running by an earlier test would be taken for the new one.
void endProgramsCaptioned(std::wstring_view caption);

// A top-level window with the caption appearing within 20 s (created, or
// renamed to it), and `parent` adopting it within `timeout` of that: the
// window and the time from its appearance to its adoption; nothing
// otherwise. Watched every millisecond: the figure is small.
struct Adoption {
  HWND window = nullptr;
  std::chrono::steady_clock::duration delay{};
};
std::optional<Adoption> watchAdoption(std::wstring_view caption, HWND parent,
                                      std::chrono::milliseconds timeout);

// Top-level windows, front to back; those of one process when pid != 0.
std::vector<HWND> topLevelWindows(DWORD pid = 0);
// The first visible top-level window of the process, or nullptr.
HWND visibleTopLevelWindow(DWORD pid);

DWORD processOf(HWND window);
LONG_PTR style(HWND window);
LONG_PTR exStyle(HWND window);
SIZE clientSize(HWND window);
SIZE windowSize(HWND window);
// The window's outer rectangle in screen pixels (GetWindowRect).
RECT windowRectOnScreen(HWND window);

// The window that holds the mouse capture in the thread of `window` (its
// own, from another process too), or nullptr.
HWND captureOf(HWND window);
// The window that has the keyboard focus in the thread of `window`, or
// nullptr.
HWND focusOf(HWND window);

// WS_EX_TOPMOST: pinned above every window without it.
bool isTopMost(HWND window);
// The window a window lives in: nullptr for a top-level window (whose
// parent is the desktop), else the window that holds it (GA_PARENT).
HWND parentOf(HWND window);
// The constant opacity of a layered window (0 clear ... 255 opaque); empty
// when it is not layered or has no alpha set (a layered window that only
// has a colour key, or whose attributes were never set).
std::optional<BYTE> layeredAlpha(HWND window);

// Twips to pixels at `dpi`, to the nearest pixel.
int twipsToPixels(int twips, UINT dpi);

// A path the build system knows (a Linux path when cross-compiling) as a
// path the program under test can open. Wine maps Z:\ to the Unix root.
std::wstring hostPathToWindows(std::string_view path);

// Whole-file helpers for settings files; bytes in, bytes out.
bool writeFileBytes(const std::wstring& path, std::string_view bytes);
std::optional<std::string> readFileBytes(const std::wstring& path);

}  // namespace e2e
