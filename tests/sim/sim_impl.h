// The simulated desktop's state, shared by its source files and kept out of
// sim_desktop.h so that the tests' translation units stay small.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "sim/sim_desktop.h"
#include "ui/twips.h"

namespace vitrolux::sim {

// USER_TIMER_MINIMUM: shorter intervals are raised to this.
inline constexpr int kMinimumTimerMs = 10;

inline int timerPeriod(int milliseconds) {
  return milliseconds < kMinimumTimerMs ? kMinimumTimerMs : milliseconds;
}

struct SimDesktop::Impl {
  // A timer that runs: the next tick falls due at `due`. Ties between timers
  // due at the same moment go to the one armed first (lower `armed`).
  struct Timer {
    int interval = 0;  // as requested
    std::int64_t due = 0;
    std::uint64_t armed = 0;
  };
  struct PendingExit {
    std::int64_t due = 0;
    std::uint64_t armed = 0;
    ProcessId process;
  };
  struct PendingWindow {
    std::int64_t due = 0;
    std::uint64_t armed = 0;
    ProcessId process;
    Program program;
  };
  struct Scheduled {
    std::int64_t due = 0;
    std::uint64_t armed = 0;
    std::function<void()> action;
  };
  struct KeyState {
    bool down = false;
    bool pressedSinceQuery = false;
  };

  // ---- Windows ----
  // The live ones; node-based, so pointers stay valid. Hashed: looking a
  // window up costs the same however many there are, so the benchmarks'
  // figures for large desktops are the logic's own.
  std::unordered_map<std::intptr_t, SimWindow> windows;
  std::vector<WindowHandle> topLevel;                           // z-order, top first
  std::map<std::intptr_t, std::vector<WindowHandle>> children;  // per parent, top first
  std::intptr_t nextHandle = 0x10000;
  std::map<std::intptr_t, platform::Size> icons;  // icons of other programs, by handle
  std::intptr_t nextIcon = 0x70000;

  // ---- The frame ----
  WindowHandle frame;
  platform::WindowState frameState = platform::WindowState::Normal;
  Rect normalBounds;  // the frame's rect before it was maximised
  int dpi = platform::kDefaultDpi;
  platform::Size screen{1920, 1080};
  // Empty: one monitor that is the whole screen.
  std::vector<platform::Monitor> monitors;
  platform::FrameCursor frameCursor = platform::FrameCursor::Arrow;
  // The control the pointer last moved over, until it leaves; -1 for none.
  int pointerOn = -1;
  // A press on the frame's background gave it the mouse capture.
  bool frameCapture = false;
  std::optional<platform::ProgramChoice> programChoice;
  int programDialogs = 0;
  std::vector<std::string> messages;

  // ---- Clock ----
  std::uint64_t nextArming = 1;
  std::map<int, Timer> controlTimers;
  std::map<unsigned, Timer> systemTimers;
  std::vector<PendingWindow> pendingWindows;
  std::vector<PendingExit> pendingExits;
  std::vector<Scheduled> scheduled;

  // ---- Keyboard and pointer ----
  std::map<int, KeyState> keys;
  struct HotKey {
    unsigned id = 0;
    unsigned modifiers = 0;
    int virtualKey = 0;
    bool frames = false;  // the frame's, else another program's
  };
  std::vector<HotKey> hotKeys;
  platform::Point pointer;
  std::uint32_t lastInput = 0;
  int keyStateQueries = 0;

  // ---- Processes ----
  std::uint32_t nextPid = 1000;
  std::set<std::uint32_t> processes;               // started and not ended, our own excluded
  std::set<std::uint32_t> kept;                    // started through the port, not forgotten
  std::map<std::uint32_t, std::uint32_t> parents;  // who started whom
  std::map<std::string, Program> programs;         // by folded path
  std::vector<std::string> searchPath;
  // Windows each process of an installed program made, in its order.
  std::map<std::uint32_t, std::vector<WindowHandle>> programWindows;
  // The further windows of each process, by their number in its Program.
  std::map<std::pair<std::uint32_t, int>, WindowHandle> furtherWindows;
  // The console host each console program started.
  std::map<std::uint32_t, std::uint32_t> consoleHosts;
  // Processes running with more rights than the frame.
  std::set<std::uint32_t> higherRights;

  // ---- Environment ----
  std::map<std::string, std::pair<std::string, std::string>> environment;  // key: folded name
  bool anotherInstance = false;
  bool instanceReleased = false;
  // Calls kept for hung programs' windows, by window, in order; whether
  // each one kept the frame waiting.
  struct HeldCall {
    bool waits;
    std::function<void()> call;
  };
  std::map<std::intptr_t, std::vector<HeldCall>> heldCalls;
  int waitsOnHung = 0;
  // Windows whose program hangs inside the next call it carries out.
  std::set<std::intptr_t> hangInNextCall;

  // ---- DPI awareness and joined input ----
  std::map<std::uint32_t, DpiAwareness> awareness;  // by process; unaware when absent
  bool mixedDpiHosting = true;
  std::set<std::uint32_t> joinedInput;  // processes joined to the frame's input
  bool separatesJoinedInput = false;
  WindowHandle keyboardIn;  // a hosted window the user clicked into

  std::vector<platform::Monitor> allMonitors() const {
    if (!monitors.empty()) return monitors;
    const Rect whole{0, 0, screen.cx, screen.cy};
    return {platform::Monitor{whole, whole}};
  }

  // Siblings of a window in z-order: the top-level list or the parent's children.
  std::vector<WindowHandle>& siblingsOf(const SimWindow& window);
  // Index in the top-level list where the top of the window's band is.
  std::size_t topOfBand(bool topMost) const;
  void unlink(const SimWindow& window);
  void destroyTree(WindowHandle handle);
  bool watching = false;
  // Window events wait in the frame's queue, as posted messages do, until
  // the clock next runs.
  std::vector<WindowHandle> windowEvents;
  bool isAncestor(WindowHandle ancestor, WindowHandle window) const;
};

}  // namespace vitrolux::sim
