// Launching a program and capturing its top-level window into the frame.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "model/frame_state.h"
#include "model/layout.h"
#include "ports/desktop_port.h"
#include "ports/frame_port.h"
#include "ports/process_port.h"
#include "ui/controls.h"

namespace vitrolux::embed {

// The system timer of the frame's window that carries the wait for a slow
// program's window.
inline constexpr unsigned kCaptureWaitTimerId = 1;
// The wait looks whenever the desktop reports a window made, shown or
// renamed. Some systems report creation only, so at each poll it also reads
// the captions reported since the launch, and searches the whole desktop
// every few polls, until the limit after the launch.
inline constexpr unsigned kCaptureWaitPollMs = 250;
inline constexpr int kCaptureWaitPollsPerSearch = 8;
inline constexpr std::int64_t kCaptureWaitLimitMs = 30000;
// Windows reported since the launch whose captions each look reads; the
// oldest drop out first.
inline constexpr std::size_t kCaptureWaitCandidates = 16;

class Loader {
 public:
  Loader(platform::ControlSet& controls, model::FrameState& state, platform::FramePort& frame,
         platform::DesktopPort& desktop, platform::ProcessPort& processes,
         std::function<void()> refreshTaskList)
      : controls_(controls),
        state_(state),
        frame_(frame),
        desktop_(desktop),
        processes_(processes),
        refreshTaskList_(std::move(refreshTaskList)) {}

  // Shows the entry in the option panel, launches its program and arranges
  // the capture of its window. False when the program could not be started.
  bool loadApp(const std::string& entry);
  // Starts the command line's program, whose window's caption is not known,
  // and hosts the first window with a caption that it, or a program it
  // starts, shows; the option panel then holds the program and that
  // caption. The same wait and rules as a slow program's. False when the
  // program could not be started.
  bool loadProgram(const std::string& commandLine);

  // Captures the window the user picked, which wins over a launch still
  // waiting. A window whose program does not answer changes nothing; one
  // closed since, or the frame itself, leaves nothing hosted.
  void embed(platform::WindowHandle window);

  // One capture attempt of a capture timer, which then stops. When the
  // attempt is the newest launch's and finds nothing, the launch waits.
  void onCaptureTimer(model::ControlId timer);
  // A tick of the wait's timer, and a window that appeared, was shown or
  // renamed on the desktop: the wait looks for its window again.
  void onCaptureWaitTick();
  void onDesktopWindowChanged(platform::WindowHandle window);
  // The user did something newer (a release): a pending launch is no longer
  // the frame's window and waits no more; a capture timer already armed
  // still makes its one attempt at its moment.
  void cancelLaunch();

  bool waiting() const { return wait_.has_value(); }

 private:
  struct Wait {
    platform::ProcessId process;
    // The window's caption; nothing for the first visible window with a
    // caption of the launch's programs.
    std::optional<std::string> caption;
    std::int64_t deadline = 0;
  };

  void arm(model::ControlId timer, int delayMs);
  // The capture attempt of a launch: at once for Internet Explorer entries,
  // else at its timer's tick.
  void attemptLaunchCapture(platform::ProcessId launch, const std::string& title);
  // Starts the command line; a started program becomes the pending launch
  // in place of whatever was hosted or awaited. Null when nothing started.
  std::optional<platform::ProcessId> launchInsteadOfHosted(const std::string& commandLine);
  void startWait(platform::ProcessId launch, std::optional<std::string> caption);
  void endWait();
  // A launch pends from its start until its capture or the end of its wait;
  // meanwhile the desktop's new windows are watched.
  void setPending(platform::ProcessId launch);
  // The pending launch is over: its process and the desktop's windows are
  // no longer looked after.
  void clearPending();
  // One look of the wait: true when it captured the window.
  bool lookForWaitedWindow(bool searchAll, const std::vector<platform::ProcessId>& tree);
  // Whether the window is the one the wait looks for, its program aside:
  // one of the launch's programs (`tree`) shows it, when no caption is
  // looked for.
  bool isWaitedWindow(platform::WindowHandle window, const std::vector<platform::ProcessId>& tree);
  // The launch's running programs, when the wait looks for no caption.
  std::vector<platform::ProcessId> launchTree();
  // The first window the launch's programs show with a caption, in the
  // desktop's order, never the frame; null when none, or when its program
  // does not answer.
  platform::WindowHandle findShownByLaunch(const std::vector<platform::ProcessId>& tree);
  // The first top-level window with the caption, never the frame; null when none.
  platform::WindowHandle find(const std::string& title);
  // The same, null also when that window's program does not answer.
  platform::WindowHandle findAnswering(const std::string& title);
  // Places the window at the fit and makes the frame its parent.
  void capture(platform::WindowHandle window);

  platform::ControlSet& controls_;
  model::FrameState& state_;
  platform::FramePort& frame_;
  platform::DesktopPort& desktop_;
  platform::ProcessPort& processes_;
  std::function<void()> refreshTaskList_;

  // The launch each capture timer was armed for.
  std::map<model::ControlId, platform::ProcessId> armedFor_;
  // When the newest launch started, for the wait's deadline.
  std::int64_t launchedAt_ = 0;
  std::optional<Wait> wait_;
  int pollsUntilSearch_ = 0;
  // Windows the desktop reported since the launch, newest last.
  std::vector<platform::WindowHandle> candidates_;
};

}  // namespace vitrolux::embed
