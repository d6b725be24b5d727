#include "embed/loader.h"

#include <algorithm>
#include <cctype>

#include "embed/command_line.h"
#include "model/foreign_windows.h"
#include "model/hosted_fit.h"
#include "model/strings.h"
#include "model/text.h"
#include "ui/guard.h"

namespace vitrolux::embed {
namespace {

namespace text = model::text;
using model::contains;
using model::ControlId;
using model::index;
using platform::WindowHandle;

constexpr int kChromeDelayMs = 400;
constexpr int kSlowProgramDelayMs = 2000;

// FindWindow's comparison, for the few captions compared here (ASCII
// letters fold; other text must match exactly).
bool sameCaption(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) ==
           std::tolower(static_cast<unsigned char>(y));
  });
}

}  // namespace

void Loader::say(std::string_view message) {
  platform::guarded([&] { frame_.showMessage(std::string(message)); });
}

std::string Loader::startFailureText(platform::StartFailure failure,
                                     const std::string& commandLine) {
  switch (failure) {
    case platform::StartFailure::NeedsElevation:
      return std::string(text::kMsgNeedsElevation);
    case platform::StartFailure::NoProgram:
      return std::string(text::kMsgNoProgram) + "\n" + commandLine;
    case platform::StartFailure::Refused:
      break;
  }
  return std::string(text::kMsgCannotStart) + "\n" + commandLine;
}

void Loader::tellWhy(Take take) {
  switch (take) {
    case Take::Gone:
      say(text::kMsgWindowClosed);
      break;
    case Take::Refused:
      say(text::kMsgRefused);
      break;
    case Take::Administrator:
      say(text::kMsgRefusedAdministrator);
      break;
    case Take::StoreApp:
      say(text::kMsgStoreApp);
      break;
    case Take::Hosted:
      break;
  }
}

void Loader::arm(ControlId timer, int delayMs) {
  if (state_.pendingLaunch) armedFor_[timer] = *state_.pendingLaunch;
  controls_.setInterval(index(timer), delayMs);
}

bool Loader::loadApp(const model::ProgramEntry& entry) {
  const std::string& path = entry.path;
  const std::string title = entry.title.value_or(std::string());
  controls_.setCaption(index(ControlId::cfg_txt), path);
  // Setting the path may fill in a title of its own; the entry's wins.
  if (entry.title) controls_.setCaption(index(ControlId::title_txt), title);

  const std::optional<platform::ProcessId> process = launchPending(path, {});
  if (!process) return false;
  // Until its capture the frame's current window is the new program, known
  // only by its process.
  state_.hostedWindow = {};
  if (process->value() != 0) {
    // The order matters: an entry naming both browsers is a Chrome entry.
    const std::string whole = entry.text();
    if (contains(whole, "chrome")) {
      arm(ControlId::chrome_timer, kChromeDelayMs);
    } else if (contains(whole, "iexplore")) {
      attemptLaunchCapture(*process, title.empty() ? std::string(text::kIeTitle) : title);
    } else if (contains(whole, "firefox")) {
      arm(ControlId::firefox_timer, kSlowProgramDelayMs);
    } else {
      arm(ControlId::other_app_timer, kSlowProgramDelayMs);
    }
  }
  refreshTaskList_();
  return true;
}

bool Loader::loadProgram(const platform::ProgramChoice& choice) {
  if (choice.commandLine.empty()) {
    say(text::kMsgShortcutNoProgram);
    return false;
  }
  controls_.setCaption(index(ControlId::cfg_txt), choice.commandLine);
  const WindowHandle before = state_.hostedWindow;
  const std::optional<platform::ProcessId> process =
      launchPending(choice.commandLine, choice.start);
  if (!process) return false;
  if (process->value() != 0) {
    Wait wait;
    wait.process = *process;
    wait.deadline = launchedAt_ + kCaptureWaitLimitMs;
    wait.keepsHosted = true;
    wait.hostedBefore = before;
    startWait(wait);
    // It may have shown its window already.
    lookForPickedWindow(true, launchTree());
  }
  refreshTaskList_();
  return true;
}

std::optional<platform::ProcessId> Loader::launchPending(const std::string& commandLine,
                                                         const platform::StartOptions& options) {
  const platform::StartResult started = launch(processes_, commandLine, options);
  if (!started.process) {
    say(startFailureText(started.failure, commandLine));
    return std::nullopt;
  }
  // The launch takes the place of a launch still waiting for its window.
  endWait();
  clearPending();
  launchedAt_ = frame_.nowMs();
  if (started.process->value() != 0) {
    setPending(*started.process);
  } else {
    processes_.forgetProcess(*started.process);
  }
  return started.process;
}

WindowHandle Loader::find(const std::string& title) {
  WindowHandle window = desktop_.findWindow(title);
  // A window the system keeps out of sight (a suspended store app, one on
  // another virtual desktop) is not there for the user: the next one with
  // the caption, in the same order.
  if (!window.isNull() && desktop_.isCloaked(window)) {
    window = {};
    for (const WindowHandle other : desktop_.enumWindows()) {
      if (!desktop_.isCloaked(other) && sameCaption(desktop_.getWindowText(other), title)) {
        window = other;
        break;
      }
    }
  }
  // The frame is never captured into itself.
  return window == frame_.frameWindow() ? WindowHandle{} : window;
}

WindowHandle Loader::findAnswering(const std::string& title) {
  const WindowHandle window = find(title);
  // A window whose program does not answer is not there yet, as far as a
  // launch's capture goes: taking it would hold the frame.
  return model::answers(desktop_, window) ? window : WindowHandle{};
}

void Loader::embed(WindowHandle window) {
  if (window == frame_.frameWindow()) return;
  // Taken by its handle, never looked up by its caption: two windows may
  // carry one caption, and the user picked this one.
  if (!model::exists(desktop_, window)) {
    // Closed since it was listed: nothing is hosted, as for a capture that
    // finds nothing.
    endWait();
    clearPending();
    state_.hostedWindow = {};
    say(text::kMsgWindowClosed);
    return;
  }
  // The user's pick waits for a program that does not answer no more than
  // the frame does: nothing changes, and a later try may take it.
  if (!model::answers(desktop_, window)) {
    say(text::kMsgNotAnswering);
    return;
  }
  const Take taken = take(window);
  if (taken != Take::Hosted) {
    tellWhy(taken);
    return;
  }
  // Whatever the user picked now wins over a launch still on its way.
  endWait();
  clearPending();
  state_.hostedWindow = window;
}

Loader::Take Loader::take(WindowHandle window) {
  if (!model::exists(desktop_, window)) return Take::Gone;
  // Taken in, its frame would stay empty: another process draws the content.
  if (desktop_.getClassName(window) == kStoreAppFrameClass) return Take::StoreApp;
  // The system would refuse the move and the new parent: nothing is tried,
  // so nothing is left half done.
  if (desktop_.ofHigherRights(window)) return Take::Administrator;
  std::optional<platform::Placement> before = desktop_.windowPlacement(window);
  // A window maximised or minimised on the desktop is hosted as a normal
  // one. Restored first, it also shows the place it goes back to: not every
  // system tells another program a window's restored place.
  if (before && before->state != platform::WindowState::Normal && desktop_.restoreWindow(window)) {
    if (const std::optional<platform::Rect> restored = desktop_.windowRect(window)) {
      before->normal = *restored;
    }
  }
  if (before) model::rememberTaken(state_, desktop_, window, *before);
  const platform::Rect bounds = frame_.frameBounds();
  const platform::Rect fit =
      model::hostedFit(platform::Size{bounds.width(), bounds.height()}, frame_.dpi());
  // Placed without waiting for the program. A window keeps its position
  // relative to its parent's client area, so it lands below the title strip
  // whether the program takes the place or the new parent first.
  desktop_.setWindowPos(window, platform::kHwndTop, fit.left, fit.top, fit.width(), fit.height(),
                        platform::kSwpAsyncWindowPos);
  const WindowHandle frame = frame_.frameWindow();
  if (desktop_.setParent(window, frame)) {
    // A program may also put its window straight back on the desktop.
    if (desktop_.getParent(window) == frame) return Take::Hosted;
  } else if (desktop_.callUnderWay(window)) {
    // A slow program carries it out when it answers again.
    return Take::Hosted;
  }
  if (!model::exists(desktop_, window)) {
    model::forgetTaken(state_, window);
    return Take::Gone;
  }
  // Refused: back as it stood.
  if (before) desktop_.setWindowPlacement(window, *before);
  model::forgetTaken(state_, window);
  return Take::Refused;
}

bool Loader::takeForLaunch(WindowHandle window) {
  const Take taken = take(window);
  if (taken == Take::Hosted) {
    state_.hostedWindow = window;
    return true;
  }
  tellWhy(taken);
  return false;
}

void Loader::attemptLaunchCapture(platform::ProcessId launch, const std::string& title) {
  const WindowHandle window = findAnswering(title);
  const bool newest = state_.pendingLaunch == launch;
  if (!window.isNull()) {
    const bool hosted = takeForLaunch(window);
    // An older launch's window may still come in; the newest launch keeps
    // waiting for its own.
    if (newest) {
      endWait();
      clearPending();
      if (!hosted) state_.hostedWindow = {};
    }
    return;
  }
  // Nothing there yet: only the newest launch goes on waiting, and only
  // while its program runs, for a while.
  if (!newest) return;
  if (!processes_.processEnded(launch) && frame_.nowMs() < launchedAt_ + kCaptureWaitLimitMs) {
    Wait wait;
    wait.process = launch;
    wait.caption = title;
    wait.deadline = launchedAt_ + kCaptureWaitLimitMs;
    startWait(wait);
    return;
  }
  endWaitWithout(processes_.processEnded(launch)
                     ? std::string(text::kMsgEndedWithoutWindow)
                     : std::string(text::kMsgNoWindowTitledBefore) + title +
                           std::string(text::kMsgNoWindowTitledAfter));
}

void Loader::startWait(Wait wait) {
  const bool running = wait_.has_value();
  wait_ = std::move(wait);
  desktop_.watchTopLevelWindows(true);
  if (running) return;
  pollsUntilSearch_ = kCaptureWaitPollsPerSearch;
  frame_.setSystemTimer(kCaptureWaitTimerId, kCaptureWaitPollMs);
}

void Loader::endWait() {
  if (!wait_) return;
  wait_.reset();
  frame_.killSystemTimer(kCaptureWaitTimerId);
  if (!state_.pendingLaunch) {
    candidates_.clear();
    desktop_.watchTopLevelWindows(false);
  }
}

void Loader::endWaitWithout(std::string_view why) {
  const bool pick = wait_ && wait_->keepsHosted;
  endWait();
  clearPending();
  // A pick changes nothing it did not host; a launch left nothing hosted.
  if (!pick) state_.hostedWindow = {};
  if (!why.empty()) say(why);
}

void Loader::cancelLaunch() {
  endWait();
  clearPending();
}

void Loader::setPending(platform::ProcessId launch) {
  state_.pendingLaunch = launch;
  candidates_.clear();
  desktop_.watchTopLevelWindows(true);
}

void Loader::clearPending() {
  if (!state_.pendingLaunch) return;
  processes_.forgetProcess(*state_.pendingLaunch);
  state_.pendingLaunch.reset();
  // A pick's wait still watches after its capture.
  if (!wait_) {
    candidates_.clear();
    desktop_.watchTopLevelWindows(false);
  }
}

void Loader::onDesktopWindowChanged(WindowHandle window) {
  if (!state_.pendingLaunch && !wait_) return;
  candidates_.erase(std::remove(candidates_.begin(), candidates_.end(), window), candidates_.end());
  candidates_.push_back(window);
  if (candidates_.size() > kCaptureWaitCandidates) candidates_.erase(candidates_.begin());
  // The first attempt keeps its moment; only a wait acts on a report.
  if (!wait_) return;
  const std::vector<platform::ProcessId> tree = launchTree();
  if (wait_->caption) {
    if (desktop_.getWindowText(window) == *wait_->caption) lookForWaitedWindow(true);
  } else if (wait_->hosted.isNull()) {
    if (roleOf(window, tree) != Role::None) lookForPickedWindow(false, tree);
  } else if (roleOf(window, tree) == Role::Main) {
    watchPickedWindow(tree);
  }
}

std::vector<platform::ProcessId> Loader::launchTree() {
  if (!wait_ || wait_->caption) return {};
  return processes_.processTree(wait_->process);
}

Loader::Role Loader::roleOf(WindowHandle window, const std::vector<platform::ProcessId>& tree) {
  if (window.isNull() || window == frame_.frameWindow()) return Role::None;
  const std::optional<platform::ProcessId> owner = desktop_.windowProcess(window);
  if (!owner || std::find(tree.begin(), tree.end(), *owner) == tree.end()) return Role::None;
  // Only what the user can see on the desktop, with a caption to name it.
  if (!desktop_.getParent(window).isNull()) return Role::None;
  const auto style =
      static_cast<std::uint32_t>(desktop_.getWindowLong(window, platform::kGwlStyle));
  const auto exStyle =
      static_cast<std::uint32_t>(desktop_.getWindowLong(window, platform::kGwlExStyle));
  if ((style & platform::kWsVisible) == 0 || (exStyle & platform::kWsExToolWindow) != 0) {
    return Role::None;
  }
  if (desktop_.getWindowText(window).empty() || desktop_.isCloaked(window)) return Role::None;
  // What a person would not point at as the program: a window another one
  // owns (a tip of the day, a licence), the console a program runs in, a
  // popup without a title bar (a splash).
  const std::string className = desktop_.getClassName(window);
  const bool console = std::any_of(std::begin(kConsoleClasses), std::end(kConsoleClasses),
                                   [&](std::string_view name) { return className == name; });
  const bool captionlessPopup =
      (style & platform::kWsPopup) != 0 && (style & platform::kWsCaption) != platform::kWsCaption;
  if (!desktop_.getOwner(window).isNull() || console || captionlessPopup) return Role::StandIn;
  return Role::Main;
}

bool Loader::hostPicked(WindowHandle window, bool standIn) {
  // The first one shown counts, even when it does not answer just now: a
  // later look takes it once it does.
  if (!model::answers(desktop_, window)) return false;
  const Take taken = take(window);
  if (taken == Take::Gone) return false;
  if (taken != Take::Hosted) {
    tellWhy(taken);
    endWaitWithout({});
    return true;
  }
  state_.hostedWindow = window;
  clearPending();
  Wait& wait = *wait_;
  wait.hosted = window;
  wait.hostedIsStandIn = standIn;
  wait.hostedAt = frame_.nowMs();
  wait.hostedAny = true;
  wait.standIn = {};
  // The caption found completes the entry that "配置" saves.
  controls_.setCaption(index(ControlId::title_txt), desktop_.getWindowText(window));
  return true;
}

bool Loader::lookForPickedWindow(bool searchAll, const std::vector<platform::ProcessId>& tree) {
  Wait& wait = *wait_;
  // Every top-level window now and then, else those reported since the
  // launch; the stand-in being timed in any case.
  std::vector<WindowHandle> windows = searchAll ? desktop_.enumWindows() : candidates_;
  if (!wait.standIn.isNull()) windows.push_back(wait.standIn);
  WindowHandle standIn;
  for (const WindowHandle window : windows) {
    const Role role = roleOf(window, tree);
    if (role == Role::Main) return hostPicked(window, false);
    if (role == Role::StandIn && standIn.isNull()) standIn = window;
  }
  // Keep timing the same stand-in while it shows.
  if (!wait.standIn.isNull() && standIn != wait.standIn &&
      roleOf(wait.standIn, tree) == Role::StandIn) {
    standIn = wait.standIn;
  }
  const std::int64_t now = frame_.nowMs();
  if (standIn != wait.standIn) {
    wait.standIn = standIn;
    wait.standInSince = now;
  }
  if (standIn.isNull() || now - wait.standInSince < kStandInGraceMs) return false;
  return hostPicked(standIn, true);
}

void Loader::watchPickedWindow(const std::vector<platform::ProcessId>& tree) {
  Wait& wait = *wait_;
  const std::int64_t now = frame_.nowMs();
  const WindowHandle frame = frame_.frameWindow();
  const WindowHandle hosted = wait.hosted;
  const bool exists = model::exists(desktop_, hosted);
  if (!exists || desktop_.getParent(hosted) != frame) {
    // Still on its way in: a busy program makes the move when it answers.
    if (exists && desktop_.callUnderWay(hosted) && now < wait.deadline) return;
    if (now >= wait.hostedAt + kSplashMs || now >= wait.deadline) {
      endWait();
      return;
    }
    // Meanwhile the window hosted before the pick is the hosted one again.
    model::forgetTaken(state_, hosted);
    if (state_.hostedWindow == hosted) {
      const bool before = model::exists(desktop_, wait.hostedBefore) &&
                          desktop_.getParent(wait.hostedBefore) == frame;
      state_.hostedWindow = before ? wait.hostedBefore : WindowHandle{};
    }
    // Shown on the desktop again, its program put it back: it will not stay
    // in the frame, which the user is told as when the move is refused.
    if (exists && desktop_.getParent(hosted).isNull() &&
        (static_cast<std::uint32_t>(desktop_.getWindowLong(hosted, platform::kGwlStyle)) &
         platform::kWsVisible) != 0) {
      endWaitWithout(text::kMsgRefused);
      return;
    }
    // A splash: the program's next window is the one.
    wait.hosted = {};
    setPending(wait.process);
    return;
  }
  if (wait.hostedIsStandIn) {
    // The program's main window, once it shows, takes the place of the
    // window hosted for want of it, which goes back as it stood.
    for (const WindowHandle window : desktop_.enumWindows()) {
      if (roleOf(window, tree) != Role::Main) continue;
      if (!hostPicked(window, false) || !wait_) return;
      const std::optional<platform::Placement> taken = model::takenPlacement(state_, hosted);
      if (taken) {
        platform::Placement back = *taken;
        if (back.state == platform::WindowState::Minimized) back.state = platform::WindowState::Normal;
        desktop_.setParentThenPlacement(hosted, WindowHandle{}, back);
      } else {
        desktop_.setParent(hosted, WindowHandle{});
      }
      model::forgetTaken(state_, hosted);
      return;
    }
    if (now >= wait.deadline) endWait();
    return;
  }
  if (now >= wait.hostedAt + kSplashMs || now >= wait.deadline) endWait();
}

bool Loader::lookForWaitedWindow(bool searchAll) {
  bool seen = searchAll;
  for (const WindowHandle candidate : candidates_) {
    if (seen) break;
    seen = desktop_.getWindowText(candidate) == *wait_->caption;
  }
  if (!seen) return false;
  // A caption decides as in every capture: the first top-level window that
  // carries it.
  const WindowHandle window = findAnswering(*wait_->caption);
  if (window.isNull()) return false;
  const bool hosted = takeForLaunch(window);
  endWait();
  clearPending();
  if (!hosted) state_.hostedWindow = {};
  return true;
}

void Loader::onCaptureWaitTick() {
  if (!wait_) {
    endWait();
    return;
  }
  // Something newer took the frame: a launch, a load or a release.
  const bool looking = wait_->hosted.isNull();
  if (looking ? state_.pendingLaunch != wait_->process : state_.hostedWindow != wait_->hosted) {
    endWait();
    return;
  }
  const bool searchAll = --pollsUntilSearch_ <= 0;
  if (searchAll) pollsUntilSearch_ = kCaptureWaitPollsPerSearch;
  const std::vector<platform::ProcessId> tree = launchTree();
  if (!wait_->caption) {
    if (!looking) {
      watchPickedWindow(tree);
      return;
    }
    if (lookForPickedWindow(searchAll, tree)) return;
  } else if (lookForWaitedWindow(searchAll)) {
    return;
  }
  // A program that ended without its window will not show it any more;
  // one that started another before it ended waits for that one's.
  const bool ended = wait_->caption ? processes_.processEnded(wait_->process) : tree.empty();
  if (ended) {
    endWaitWithout(text::kMsgEndedWithoutWindow);
  } else if (frame_.nowMs() >= wait_->deadline) {
    endWaitWithout(wait_->caption ? std::string(text::kMsgNoWindowTitledBefore) + *wait_->caption +
                                        std::string(text::kMsgNoWindowTitledAfter)
                                  : std::string(text::kMsgNoWindowInTime));
  }
}

void Loader::onCaptureTimer(ControlId timer) {
  platform::guarded([&] {
    const auto armed = armedFor_.find(timer);
    const platform::ProcessId launch =
        armed == armedFor_.end() ? platform::ProcessId{} : armed->second;
    const std::string typed = controls_[index(ControlId::title_txt)].caption;
    switch (timer) {
      case ControlId::chrome_timer:
        attemptLaunchCapture(launch, std::string(text::kChromeTitle));
        break;
      case ControlId::firefox_timer:
        attemptLaunchCapture(launch, typed.empty() ? std::string(text::kFirefoxTitle) : typed);
        break;
      case ControlId::other_app_timer:
        if (!typed.empty()) {
          attemptLaunchCapture(launch, typed);
        } else if (armed != armedFor_.end() && state_.pendingLaunch == launch) {
          // No caption to look for: nothing is captured, and the user is
          // told why rather than left waiting.
          say(text::kMsgNoTitle);
        }
        break;
      default:
        break;
    }
  });
  // One attempt per arming, whatever it found; the wait, if any, has a timer
  // of its own.
  platform::guarded([&] { controls_.setInterval(index(timer), 0); });
  armedFor_.erase(timer);
}

}  // namespace vitrolux::embed
