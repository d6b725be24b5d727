// Small value types and window-system constants shared by the logic, the
// Win32 adapter and the simulated desktop. No <windows.h> here: the numbers
// are the documented Win32 values, so the adapter can pass them through.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vitrolux::platform {

// A window of any program. Wide enough for a pointer and compared by value;
// a process identifier never converts to it.
class WindowHandle {
 public:
  constexpr WindowHandle() = default;
  constexpr explicit WindowHandle(std::intptr_t value) : value_(value) {}
  constexpr std::intptr_t value() const { return value_; }
  constexpr bool isNull() const { return value_ == 0; }
  friend constexpr bool operator==(WindowHandle, WindowHandle) = default;

 private:
  std::intptr_t value_ = 0;
};

// The special "insert after" values of SetWindowPos.
inline constexpr WindowHandle kHwndTop{0};
inline constexpr WindowHandle kHwndBottom{1};
inline constexpr WindowHandle kHwndTopMost{-1};
inline constexpr WindowHandle kHwndNoTopMost{-2};

// An icon handle of any program. Another program's icon is never ours to
// destroy: whoever shows it makes a copy of its own.
class IconHandle {
 public:
  constexpr IconHandle() = default;
  constexpr explicit IconHandle(std::intptr_t value) : value_(value) {}
  constexpr std::intptr_t value() const { return value_; }
  constexpr bool isNull() const { return value_ == 0; }
  friend constexpr bool operator==(IconHandle, IconHandle) = default;

 private:
  std::intptr_t value_ = 0;
};

class ProcessId {
 public:
  constexpr ProcessId() = default;
  constexpr explicit ProcessId(std::uint32_t value) : value_(value) {}
  constexpr std::uint32_t value() const { return value_; }
  friend constexpr bool operator==(ProcessId, ProcessId) = default;

 private:
  std::uint32_t value_ = 0;
};

struct Point {
  int x = 0;
  int y = 0;
  friend constexpr bool operator==(Point, Point) = default;
};

struct Size {
  int cx = 0;
  int cy = 0;
  friend constexpr bool operator==(Size, Size) = default;
};

// Pixels; right and bottom are exclusive, as in a Win32 RECT.
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  constexpr int width() const { return right - left; }
  constexpr int height() const { return bottom - top; }
  friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

// A display monitor: its whole area and the part of it that windows are
// given (without task bars and docked tool bars), in screen pixels.
struct Monitor {
  Rect bounds;
  Rect workArea;
  friend constexpr bool operator==(const Monitor&, const Monitor&) = default;
};

// MonitorFromRect's choice when no monitor shows any of the rectangle.
inline constexpr unsigned kMonitorDefaultToNull = 0;
inline constexpr unsigned kMonitorDefaultToNearest = 2;

// SetWindowPos flags.
inline constexpr unsigned kSwpNoSize = 0x0001;
inline constexpr unsigned kSwpNoMove = 0x0002;
inline constexpr unsigned kSwpNoZOrder = 0x0004;
inline constexpr unsigned kSwpNoActivate = 0x0010;
inline constexpr unsigned kSwpShowWindow = 0x0040;
// On a window of another thread: the request is queued to that thread and
// the call returns at once, so a program that has stopped answering never
// holds the caller. That thread carries it out when it reads its messages.
inline constexpr unsigned kSwpAsyncWindowPos = 0x4000;

// GetWindowLong indexes.
inline constexpr int kGwlStyle = -16;
inline constexpr int kGwlExStyle = -20;

// Window styles.
inline constexpr std::uint32_t kWsPopup = 0x80000000u;
inline constexpr std::uint32_t kWsChild = 0x40000000u;
inline constexpr std::uint32_t kWsMinimize = 0x20000000u;
inline constexpr std::uint32_t kWsVisible = 0x10000000u;
inline constexpr std::uint32_t kWsMaximize = 0x01000000u;
// WS_CAPTION is WS_BORDER | WS_DLGFRAME: a title bar.
inline constexpr std::uint32_t kWsCaption = 0x00C00000u;
inline constexpr std::uint32_t kWsBorder = 0x00800000u;
inline constexpr std::uint32_t kWsSysMenu = 0x00080000u;
inline constexpr std::uint32_t kWsThickFrame = 0x00040000u;
inline constexpr std::uint32_t kWsOverlappedWindow = 0x00CF0000u;

// Extended window styles.
inline constexpr std::uint32_t kWsExTopMost = 0x00000008u;
inline constexpr std::uint32_t kWsExTransparent = 0x00000020u;
inline constexpr std::uint32_t kWsExToolWindow = 0x00000080u;
inline constexpr std::uint32_t kWsExLayered = 0x00080000u;

// SetLayeredWindowAttributes: the alpha argument counts.
inline constexpr std::uint32_t kLwaAlpha = 0x2;

// Window messages the logic sends or posts.
inline constexpr unsigned kWmActivate = 0x0006;
inline constexpr unsigned kWmGetIcon = 0x007F;
inline constexpr unsigned kWmSetIcon = 0x0080;
inline constexpr unsigned kWmNcLButtonDown = 0x00A1;
inline constexpr unsigned kWmKeyDown = 0x0100;
inline constexpr unsigned kWmKeyUp = 0x0101;

// WM_GETICON and WM_SETICON: which icon.
inline constexpr std::uintptr_t kIconSmall = 0;

// GetClassLongPtr indexes.
inline constexpr int kGclpHIconSm = -34;

// Hit-test codes of the sizing borders, as WM_NCLBUTTONDOWN takes them.
inline constexpr int kHtLeft = 10;
inline constexpr int kHtRight = 11;
inline constexpr int kHtTop = 12;
inline constexpr int kHtTopLeft = 13;
inline constexpr int kHtTopRight = 14;
inline constexpr int kHtBottom = 15;
inline constexpr int kHtBottomLeft = 16;
inline constexpr int kHtBottomRight = 17;

// Modifier bits of a hot key (RegisterHotKey's MOD_ALT ... MOD_WIN).
inline constexpr unsigned kModAlt = 0x1;
inline constexpr unsigned kModControl = 0x2;
inline constexpr unsigned kModShift = 0x4;
inline constexpr unsigned kModWin = 0x8;

// Virtual-key codes.
inline constexpr int kVkControl = 0x11;
inline constexpr int kVkEscape = 0x1B;
inline constexpr int kVkF5 = 0x74;

// WM_ACTIVATE's wParam for a window that is being deactivated.
inline constexpr std::uintptr_t kWaInactive = 0;

// Mouse button codes of mouse events (left 1, right 2, middle 4).
inline constexpr int kLeftButton = 1;
inline constexpr int kRightButton = 2;
inline constexpr int kMiddleButton = 4;

// Shift-state bits of mouse and key events.
inline constexpr int kShiftMask = 1;
inline constexpr int kCtrlMask = 2;
inline constexpr int kAltMask = 4;

enum class WindowState { Normal = 0, Minimized = 1, Maximized = 2 };

// How a top-level window stands: its state, and where it stands when it is
// neither minimised nor maximised (its restored place), in screen pixels.
struct Placement {
  WindowState state = WindowState::Normal;
  Rect normal;
  friend constexpr bool operator==(const Placement&, const Placement&) = default;
};

// ShowWindow commands a program can be started with.
inline constexpr int kSwShowNormal = 1;
inline constexpr int kSwShowMinimized = 2;
inline constexpr int kSwShowMaximized = 3;
inline constexpr int kSwShowMinNoActive = 7;

// How a program is started, as Explorer starts it.
struct StartOptions {
  // Its working folder; empty for the program's own folder.
  std::string folder;
  int showCommand = kSwShowNormal;
  friend bool operator==(const StartOptions&, const StartOptions&) = default;
};

// Why a program did not start.
enum class StartFailure {
  NoProgram,       // the command line names no program file
  NeedsElevation,  // the program asks to run as administrator
  Refused,         // the system would not start it
};

// A started process, or why there is none.
struct StartResult {
  std::optional<ProcessId> process;
  StartFailure failure = StartFailure::Refused;
};

// What the user picked to run, as the shell would start it.
struct ProgramChoice {
  // The program quoted, then its arguments; empty when the pick names no
  // program (a shortcut to a document, a folder, or to nothing any more).
  std::string commandLine;
  StartOptions start;
};

// The mouse pointer over the frame's background: the arrow, or a sizing
// pointer along the edges, numbered as the form designer numbers them.
enum class FrameCursor {
  Arrow = 0,
  SizeNeSw = 6,  // north-east and south-west
  SizeNs = 7,    // north and south
  SizeNwSe = 8,  // north-west and south-east
  SizeWe = 9,    // west and east
};

}  // namespace vitrolux::platform
