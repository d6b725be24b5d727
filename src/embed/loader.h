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
#include "model/program_entry.h"
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
// A program picked without a caption: a window that is not its main window
// (its console, a dialog, a captionless popup) is hosted once it has shown
// this long with nothing better, for want of another.
inline constexpr std::int64_t kStandInGraceMs = 3000;
// A window that capture hosted and that closes this soon was a splash: the
// capture waits for the program's next window.
inline constexpr std::int64_t kSplashMs = 5000;

// Class names of the windows that hold a console program's text: Windows'
// console host, and Wine's.
inline constexpr std::string_view kConsoleClasses[] = {"ConsoleWindowClass", "WineConsoleClass"};
// The frame of a store app, whose content another process draws.
inline constexpr std::string_view kStoreAppFrameClass = "ApplicationFrameWindow";

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
  // the capture of its window. False, with the reason told, when the
  // program could not be started.
  bool loadApp(const model::ProgramEntry& entry);
  // Starts the picked program, whose window's caption is not known, and
  // hosts its main window (or, for want of one, the window it shows); the
  // option panel then holds the program and that caption. The window hosted
  // before stays the hosted one until then, and when nothing comes. False,
  // with the reason told, when nothing could be started.
  bool loadProgram(const platform::ProgramChoice& choice);

  // Captures the window the user picked, which wins over a launch still
  // waiting. One whose program does not answer, or that the system does
  // not let the frame take, changes nothing; one closed since leaves
  // nothing hosted. Each says why.
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
  // What a window is to a program picked without a caption.
  enum class Role {
    None,     // not its window, or not one to host
    Main,     // its main window, as a person would point at it
    StandIn,  // hosted for want of the main one: a console, a dialog, a popup
  };
  // How taking a window into the frame went.
  enum class Take { Hosted, Gone, Refused, Administrator, StoreApp };

  struct Wait {
    platform::ProcessId process;
    // The window's caption; nothing for a program picked without one.
    std::optional<std::string> caption;
    std::int64_t deadline = 0;
    // A pick keeps the window hosted before until its own comes.
    bool keepsHosted = false;
    platform::WindowHandle hostedBefore;
    // A pick's window once hosted: the wait then watches for a splash that
    // closes and, after a stand-in, for the main window.
    platform::WindowHandle hosted;
    bool hostedIsStandIn = false;
    std::int64_t hostedAt = 0;
    bool hostedAny = false;
    // The stand-in showing now, and since when.
    platform::WindowHandle standIn;
    std::int64_t standInSince = 0;
  };

  void arm(model::ControlId timer, int delayMs);
  // The capture attempt of a launch: at once for Internet Explorer entries,
  // else at its timer's tick.
  void attemptLaunchCapture(platform::ProcessId launch, const std::string& title);
  // Starts the command line; a started program becomes the pending launch,
  // in place of a launch still waiting. Nothing, with the reason told, when
  // nothing started.
  std::optional<platform::ProcessId> launchPending(const std::string& commandLine,
                                                   const platform::StartOptions& options);
  void startWait(Wait wait);
  void endWait();
  // A launch pends from its start until its capture or the end of its wait;
  // meanwhile the desktop's new windows are watched.
  void setPending(platform::ProcessId launch);
  // The pending launch is over: its process and the desktop's windows are
  // no longer looked after.
  void clearPending();
  // The wait is over without its window: says why, and a pick gives the
  // frame back the window hosted before.
  void endWaitWithout(std::string_view why);
  // One look of the wait: true when it captured the window.
  bool lookForWaitedWindow(bool searchAll);
  // The same for a program picked without a caption, before and after its
  // first capture.
  bool lookForPickedWindow(bool searchAll, const std::vector<platform::ProcessId>& tree);
  void watchPickedWindow(const std::vector<platform::ProcessId>& tree);
  // Hosts a window the pick found; true when it is in.
  bool hostPicked(platform::WindowHandle window, bool standIn);
  Role roleOf(platform::WindowHandle window, const std::vector<platform::ProcessId>& tree);
  // The launch's running programs, when the wait looks for no caption.
  std::vector<platform::ProcessId> launchTree();
  // The first top-level window with the caption that the system shows,
  // never the frame; null when none.
  platform::WindowHandle find(const std::string& title);
  // The same, null also when that window's program does not answer.
  platform::WindowHandle findAnswering(const std::string& title);
  // Places the window at the fit and makes the frame its parent, unless
  // the system would refuse (nothing is then changed).
  Take take(platform::WindowHandle window);
  // Takes the window for a launch: hosted, or the launch told why not.
  bool takeForLaunch(platform::WindowHandle window);
  void tellWhy(Take take);
  void say(std::string_view message);
  std::string startFailureText(platform::StartFailure failure, const std::string& commandLine);

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
