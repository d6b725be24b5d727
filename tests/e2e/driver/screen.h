// What the screen shows: pixels and the pointer's shape. Under Wine the
// screen is the X display's, so this sees what a screenshot would.
#pragma once

#include <windows.h>

#include <string>

namespace e2e {

// The colour of the screen pixel (x, y); CLR_INVALID off the screen.
COLORREF screenPixel(int x, int y);

// The pointer's current cursor (GetCursorInfo); nullptr while the pointer
// is hidden.
HCURSOR cursorShape();

// Whether `cursor` is the system cursor `id` (IDC_ARROW, IDC_SIZEWE, ...).
// On Windows the system cursors are shared by every process, so this
// recognises the cursor another program set. Under Wine each process loads
// its own copy with a handle of its own, so a cursor set by another process
// never matches: compare cursorShape() at two places instead (one process
// gets the same handle each time it asks for one cursor).
bool isSystemCursor(HCURSOR cursor, LPCWSTR id);

// Saves what the screen shows in the rectangle as a 24-bit BMP file, for a
// person to look at; false when it could not.
bool saveScreenshot(const std::wstring& path, const RECT& area);

// True when this program runs under Wine rather than Windows.
bool underWine();

}  // namespace e2e
