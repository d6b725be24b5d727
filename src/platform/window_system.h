// The port: every window-system, process, file and text-encoding service the
// logic uses. The Win32 adapter implements it with the real (wide) calls; the
// simulated desktop implements it in memory for native tests; the contract
// suite holds both to the same behaviour.
//
// The window functions keep Win32's meaning and argument order, so a reader
// can match each call to its documentation. Results the logic may ignore are
// still returned, for the contract tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/types.h"

namespace vitrolux::platform {

class WindowSystem {
 public:
  virtual ~WindowSystem() = default;

  // ---- The frame's own window -------------------------------------------

  virtual WindowHandle frameWindow() const = 0;
  // Outer bounds in screen pixels; the frame has no non-client area, so its
  // client area has the same size.
  virtual Rect frameBounds() const = 0;
  virtual WindowState frameState() const = 0;
  virtual void setFrameState(WindowState state) = 0;
  // Logical DPI of the display the frame is on.
  virtual int dpi() const = 0;
  // Size of the primary screen in pixels.
  virtual Size screenSize() const = 0;
  // Mouse cursor shown over the frame's background: 0 the arrow, 6 to 9 the
  // sizing cursors (north-east/south-west, north/south, north-west/
  // south-east, west/east).
  virtual void setFrameCursor(int code) = 0;
  // Mouse capture for one of the frame's controls, and its release.
  virtual void setCapture(int control) = 0;
  virtual void releaseCapture() = 0;
  // Lets the event loop handle what is pending, once.
  virtual void doEvents() = 0;
  // Ends the program at once: no unload event runs.
  virtual void endProgram() = 0;
  // Modal message box with an OK button and no icon.
  virtual void messageBox(const std::string& text, const std::string& caption) = 0;
  // A timer of the frame's window whose ticks reach FrameEvents::onSystemTimer.
  virtual bool setSystemTimer(unsigned id, unsigned milliseconds) = 0;
  virtual bool killSystemTimer(unsigned id) = 0;

  // ---- Windows of any program -------------------------------------------

  // FindWindow with no class: the first top-level window whose whole caption
  // is the text, in the window system's own order; null when none.
  virtual WindowHandle findWindow(const std::string& caption) = 0;
  virtual bool setWindowPos(WindowHandle window, WindowHandle insertAfter, int x, int y, int cx,
                            int cy, unsigned flags) = 0;
  // A null parent means the desktop. Returns false when it failed.
  virtual bool setParent(WindowHandle child, WindowHandle parent) = 0;
  // The parent window, null for a top-level window.
  virtual WindowHandle getParent(WindowHandle window) = 0;
  virtual WindowHandle getWindow(WindowHandle window, unsigned command) = 0;
  virtual std::int32_t getWindowLong(WindowHandle window, int index) = 0;
  // Returns the previous value (0 on failure).
  virtual std::int32_t setWindowLong(WindowHandle window, int index, std::int32_t value) = 0;
  virtual std::string getWindowText(WindowHandle window) = 0;
  virtual bool isWindow(WindowHandle window) = 0;
  virtual bool isWindowVisible(WindowHandle window) = 0;
  // Window bounds in screen pixels.
  virtual std::optional<Rect> windowRect(WindowHandle window) = 0;
  // The direct child windows of a window that belong to other processes.
  virtual std::vector<WindowHandle> foreignChildren(WindowHandle parent) = 0;
  virtual bool setLayeredWindowAttributes(WindowHandle window, std::uint32_t colorKey,
                                          std::uint8_t alpha, std::uint32_t flags) = 0;
  // Alpha of a layered window, when it has one.
  virtual std::optional<std::uint8_t> layeredAlpha(WindowHandle window) = 0;
  virtual bool postMessage(WindowHandle window, unsigned message, std::uintptr_t wParam,
                           std::intptr_t lParam) = 0;
  // SendMessageTimeout with abort-if-hung: nothing when the window is gone,
  // hung or too slow.
  virtual std::optional<std::intptr_t> sendMessage(WindowHandle window, unsigned message,
                                                   std::uintptr_t wParam, std::intptr_t lParam,
                                                   unsigned timeoutMilliseconds) = 0;
  // GetClassLongPtr(GCLP_HICONSM).
  virtual std::intptr_t classSmallIcon(WindowHandle window) = 0;
  // GetAsyncKeyState: bit 15 down now, bit 0 pressed since the last query.
  virtual std::int16_t getAsyncKeyState(int virtualKey) = 0;

  // ---- Processes and environment ----------------------------------------

  // The program file that a command line's first part names, found the way
  // the system finds programs: an existing path as given, the path with
  // ".exe" added, or a bare name on the program search path.
  virtual std::optional<std::string> findProgram(const std::string& name) = 0;
  // Starts a new process of the program file with the whole command line,
  // its window shown normally. Returns the process identifier; holds no
  // handle of the process.
  virtual std::optional<ProcessId> startProcess(const std::string& program,
                                                const std::string& commandLine) = 0;
  virtual std::optional<std::string> environment(const std::string& name) = 0;
  // True when another instance of this executable was started earlier and
  // still runs; never true for the calling process itself.
  virtual bool anotherInstanceRunning() = 0;

  // ---- Files ------------------------------------------------------------

  // The folder of the running executable, without a trailing backslash.
  virtual std::string applicationFolder() = 0;
  // An ordinary file: exists, and is not a folder, hidden or system file.
  virtual bool isOrdinaryFile(const std::string& path) = 0;
  // Up to maxBytes bytes from the start of the file; nothing when it cannot
  // be opened for reading.
  virtual std::optional<std::string> readFile(const std::string& path, std::size_t maxBytes) = 0;
  // Writes the bytes to a new file in the same folder and only then puts it
  // in place of the old one. False, with the old file as it was, when any
  // step failed.
  virtual bool replaceFile(const std::string& path, const std::string& bytes) = 0;

  // ---- Text -------------------------------------------------------------

  // UTF-8 to the system's ANSI code page; nothing when a character has no
  // exact equivalent there.
  virtual std::optional<std::string> toAnsi(const std::string& utf8) = 0;
  virtual std::string fromAnsi(const std::string& ansi) = 0;
};

}  // namespace vitrolux::platform
