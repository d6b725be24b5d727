// What the contract suite needs besides the port itself: a way to make
// windows, press keys, let time pass and prepare files on the system under
// test. env_sim.cpp provides it on the simulated desktop, env_win32.cpp on
// the real window system, so the same assertions run against both.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ports/ports.h"
#include "ports/types.h"

namespace vitrolux::contract {

using platform::Rect;
using platform::WindowHandle;

// A program that exists on every system under test and exits by itself.
struct StartableProgram {
  std::string path;         // full path, with ".exe"
  std::string bareName;     // found on the program search path, e.g. "cmd"
  std::string commandLine;  // a whole command line that makes it exit at once
};

// How a window takes the display's scale (its DPI awareness).
enum class DpiAwareness { Unaware, System, PerMonitorV2 };

// The steps of replacing a file that a test can make fail.
enum class WriteStep { createTemporary, write, replace };

class ContractEnv {
 public:
  virtual ~ContractEnv() = default;

  // The ports under test; the frame port's window is frame().
  virtual platform::Ports ports() = 0;
  // A borderless, visible window of this process that stands in for the frame.
  virtual WindowHandle frame() = 0;

  // What a user's tools see of a window, read without the ports.
  virtual bool isWindow(WindowHandle window) = 0;
  // The parent window; null for a top-level window.
  virtual WindowHandle getParent(WindowHandle window) = 0;
  // Visible, and every ancestor visible too.
  virtual bool isWindowVisible(WindowHandle window) = 0;
  // Alpha of a layered window, when it has one.
  virtual std::optional<std::uint8_t> layeredAlpha(WindowHandle window) = 0;

  // Windows of this process, destroyed with the environment.
  virtual WindowHandle makeTopLevel(const std::string& caption,
                                    std::uint32_t style = platform::kWsOverlappedWindow |
                                                          platform::kWsVisible) = 0;
  // A visible popup with a title bar, owned by `owner` (a dialog's kind).
  virtual WindowHandle makeOwnedTopLevel(WindowHandle owner, const std::string& caption) = 0;
  // A visible WS_CHILD window; the rect is relative to the parent's client area.
  virtual WindowHandle makeChild(WindowHandle parent, const std::string& caption, Rect rect) = 0;
  virtual void destroy(WindowHandle window) = 0;
  // A visible top-level window of another thread (on the simulated desktop,
  // of another program), which reads its messages until hang() and again
  // after resume(); it goes with the environment.
  virtual WindowHandle makeForeignTopLevel(const std::string& caption) = 0;
  // The same, made while its thread takes the scale as `awareness` says
  // (on the simulated desktop: of a program that does).
  virtual WindowHandle makeForeignTopLevelAware(const std::string& caption,
                                                DpiAwareness awareness) = 0;
  // The window's awareness; nothing where the system has no such thing.
  virtual std::optional<DpiAwareness> dpiAwareness(WindowHandle window) = 0;
  // Whether the system has the mixed DPI hosting behaviour (Windows 10 1803
  // and later; not Wine 8), without which a child takes its parent's
  // awareness.
  virtual bool mixedDpiHosting() = 0;
  // Returns once the window's thread has stopped reading its messages.
  virtual void hang(WindowHandle window) = 0;
  virtual void resume(WindowHandle window) = 0;
  // An icon of this process, square, this many pixels wide; destroyed with
  // the environment.
  virtual platform::IconHandle makeIcon(int pixels) = 0;
  // A visible, captionless top-level window whose class has this small icon.
  virtual WindowHandle makeTopLevelWithClassIcon(platform::IconHandle smallIcon) = 0;

  // Global keyboard input, as the user's keyboard would give it.
  virtual void pressKey(int virtualKey) = 0;
  virtual void releaseKey(int virtualKey) = 0;
  // Lets about this many milliseconds pass with the event loop running.
  virtual void pump(int milliseconds) = 0;
  // Ticks of the frame's system timer with this id seen so far.
  virtual int systemTimerTicks(unsigned id) = 0;
  // Windows reported to the frame's onDesktopWindowChanged so far.
  virtual std::vector<WindowHandle> changedWindows() = 0;
  // Hot keys of the frame with this id heard so far.
  virtual int hotKeysHeard(unsigned id) = 0;
  // Another program holds the chord as its hot key, until the environment goes.
  virtual void holdHotKeyElsewhere(unsigned modifiers, int virtualKey) = 0;
  // The mouse pointer goes there (screen pixels).
  virtual void movePointer(platform::Point at) = 0;
  // The window the system's hit testing finds under the point.
  virtual WindowHandle windowFromPoint(platform::Point at) = 0;

  // A new, empty folder, removed with the environment.
  virtual std::string tempFolder() = 0;
  virtual void makeFolder(const std::string& path) = 0;
  virtual void writeFile(const std::string& path, const std::string& bytes) = 0;
  // Names of the files (not folders) directly inside a folder.
  virtual std::vector<std::string> filesIn(const std::string& folder) = 0;
  // Holds the file open without sharing until unlockFile.
  virtual void lockFile(const std::string& path) = 0;
  virtual void unlockFile(const std::string& path) = 0;
  virtual void hideFile(const std::string& path) = 0;
  virtual void makeReadOnly(const std::string& path) = 0;
  // Whether the read-only attribute stops a write (not for root under Wine).
  virtual bool enforcesReadOnly() = 0;
  // Every later replaceFile of the port fails at this step, until cleared
  // with nothing.
  virtual void failWriteStep(std::optional<WriteStep> step) = 0;

  virtual StartableProgram startableProgram() = 0;
  virtual void setVariable(const std::string& name, const std::string& value) = 0;
  virtual unsigned ansiCodePage() = 0;
};

// Made fresh for each test.
std::unique_ptr<ContractEnv> makeEnv();

}  // namespace vitrolux::contract
