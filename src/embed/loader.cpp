#include "embed/loader.h"

#include <algorithm>

#include "embed/command_line.h"
#include "embed/program_entry.h"
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

constexpr int kChromeDelayMs = 400;
constexpr int kSlowProgramDelayMs = 2000;

}  // namespace

void Loader::arm(ControlId timer, int delayMs) {
  if (state_.pendingLaunch) armedFor_[timer] = *state_.pendingLaunch;
  controls_.setInterval(index(timer), delayMs);
}

bool Loader::loadApp(const std::string& entry) {
  const ProgramEntry split = splitEntry(entry);
  const std::string& path = split.path;
  const std::string title = split.title.value_or(std::string());
  controls_.setCaption(index(ControlId::cfg_txt), path);
  // Setting the path may fill in a title of its own; the entry's wins.
  if (split.title) controls_.setCaption(index(ControlId::title_txt), title);

  const std::optional<platform::ProcessId> process = launchInsteadOfHosted(path);
  if (!process) return false;
  if (process->value() != 0) {
    // The order matters: an entry naming both browsers is a Chrome entry.
    if (contains(entry, "chrome")) {
      arm(ControlId::chrome_timer, kChromeDelayMs);
    } else if (contains(entry, "iexplore")) {
      attemptLaunchCapture(*process, title.empty() ? std::string(text::kIeTitle) : title);
    } else if (contains(entry, "firefox")) {
      arm(ControlId::firefox_timer, kSlowProgramDelayMs);
    } else {
      arm(ControlId::other_app_timer, kSlowProgramDelayMs);
    }
  }
  refreshTaskList_();
  return true;
}

bool Loader::loadProgram(const std::string& commandLine) {
  controls_.setCaption(index(ControlId::cfg_txt), commandLine);
  const std::optional<platform::ProcessId> process = launchInsteadOfHosted(commandLine);
  if (!process) return false;
  if (process->value() != 0) {
    startWait(*process, std::nullopt);
    // It may have shown its window already.
    lookForWaitedWindow(true, launchTree());
  }
  refreshTaskList_();
  return true;
}

std::optional<platform::ProcessId> Loader::launchInsteadOfHosted(const std::string& commandLine) {
  const std::optional<platform::ProcessId> process = launch(processes_, commandLine);
  if (!process) return std::nullopt;
  // The launch takes the place of whatever was hosted, and of a launch still
  // waiting for its window: until its capture the frame's current window is
  // the new program, known only by its process.
  endWait();
  clearPending();
  state_.hostedWindow = {};
  launchedAt_ = frame_.nowMs();
  if (process->value() != 0) {
    setPending(*process);
  } else {
    processes_.forgetProcess(*process);
  }
  return process;
}

platform::WindowHandle Loader::find(const std::string& title) {
  const platform::WindowHandle window = desktop_.findWindow(title);
  // The frame is never captured into itself.
  return window == frame_.frameWindow() ? platform::WindowHandle{} : window;
}

platform::WindowHandle Loader::findAnswering(const std::string& title) {
  const platform::WindowHandle window = find(title);
  // A window whose program does not answer is not there yet, as far as a
  // launch's capture goes: taking it would hold the frame.
  return model::answers(desktop_, window) ? window : platform::WindowHandle{};
}

void Loader::embed(platform::WindowHandle window) {
  // Taken by its handle, never looked up by its caption: two windows may
  // carry one caption, and the user picked this one. A window closed since
  // it was listed leaves nothing hosted; the frame never goes into itself.
  if (window == frame_.frameWindow() || !model::exists(desktop_, window)) window = {};
  // The user's pick waits for a program that does not answer no more than
  // the frame does: nothing changes, and a later try may take it.
  if (!window.isNull() && !model::answers(desktop_, window)) return;
  // Whatever the user picked now wins over a launch still on its way.
  endWait();
  clearPending();
  state_.hostedWindow = window;
  capture(window);
}

void Loader::capture(platform::WindowHandle window) {
  if (window.isNull()) return;
  const platform::Rect bounds = frame_.frameBounds();
  const platform::Rect fit =
      model::hostedFit(platform::Size{bounds.width(), bounds.height()}, frame_.dpi());
  // Placed without waiting for the program. A window keeps its position
  // relative to its parent's client area, so it lands below the title strip
  // whether the program takes the place or the new parent first.
  desktop_.setWindowPos(window, platform::kHwndTop, fit.left, fit.top, fit.width(), fit.height(),
                        platform::kSwpAsyncWindowPos);
  desktop_.setParent(window, frame_.frameWindow());
}

void Loader::attemptLaunchCapture(platform::ProcessId launch, const std::string& title) {
  const platform::WindowHandle window = findAnswering(title);
  const bool newest = state_.pendingLaunch == launch;
  if (!window.isNull()) {
    state_.hostedWindow = window;
    capture(window);
    // An older launch's window may still come in; the newest launch keeps
    // waiting for its own.
    if (newest) {
      endWait();
      clearPending();
    }
    return;
  }
  // Nothing there yet: only the newest launch goes on waiting, and only
  // while its program runs, for a while.
  if (!newest) return;
  if (!processes_.processEnded(launch) && frame_.nowMs() < launchedAt_ + kCaptureWaitLimitMs) {
    startWait(launch, title);
    return;
  }
  endWait();
  clearPending();
  state_.hostedWindow = {};
}

void Loader::startWait(platform::ProcessId launch, std::optional<std::string> caption) {
  const bool running = wait_.has_value();
  wait_ = Wait{launch, std::move(caption), launchedAt_ + kCaptureWaitLimitMs};
  if (running) return;
  pollsUntilSearch_ = kCaptureWaitPollsPerSearch;
  frame_.setSystemTimer(kCaptureWaitTimerId, kCaptureWaitPollMs);
}

void Loader::endWait() {
  if (!wait_) return;
  wait_.reset();
  frame_.killSystemTimer(kCaptureWaitTimerId);
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
  candidates_.clear();
  desktop_.watchTopLevelWindows(false);
}

void Loader::onDesktopWindowChanged(platform::WindowHandle window) {
  if (!state_.pendingLaunch) return;
  candidates_.erase(std::remove(candidates_.begin(), candidates_.end(), window), candidates_.end());
  candidates_.push_back(window);
  if (candidates_.size() > kCaptureWaitCandidates) candidates_.erase(candidates_.begin());
  // The first attempt keeps its moment; only a wait acts on a report.
  if (!wait_) return;
  const std::vector<platform::ProcessId> tree = launchTree();
  if (isWaitedWindow(window, tree)) lookForWaitedWindow(true, tree);
}

std::vector<platform::ProcessId> Loader::launchTree() {
  if (!wait_ || wait_->caption) return {};
  return processes_.processTree(wait_->process);
}

bool Loader::isWaitedWindow(platform::WindowHandle window,
                            const std::vector<platform::ProcessId>& tree) {
  if (wait_->caption) return desktop_.getWindowText(window) == *wait_->caption;
  const std::optional<platform::ProcessId> owner = desktop_.windowProcess(window);
  if (!owner || std::find(tree.begin(), tree.end(), *owner) == tree.end()) return false;
  const auto style =
      static_cast<std::uint32_t>(desktop_.getWindowLong(window, platform::kGwlStyle));
  return (style & platform::kWsVisible) != 0 && window != frame_.frameWindow() &&
         !desktop_.getWindowText(window).empty();
}

platform::WindowHandle Loader::findShownByLaunch(const std::vector<platform::ProcessId>& tree) {
  for (const platform::WindowHandle window : desktop_.enumWindows()) {
    if (!isWaitedWindow(window, tree)) continue;
    // The first one shown counts, even when it does not answer just now: a
    // later look takes it once it does.
    return model::answers(desktop_, window) ? window : platform::WindowHandle{};
  }
  return {};
}

bool Loader::lookForWaitedWindow(bool searchAll, const std::vector<platform::ProcessId>& tree) {
  bool seen = searchAll;
  for (const platform::WindowHandle candidate : candidates_) {
    if (seen) break;
    seen = isWaitedWindow(candidate, tree);
  }
  if (!seen) return false;
  // A caption decides as in every capture: the first top-level window that
  // carries it. Without one, the first the launch's programs show.
  const bool byCaption = wait_->caption.has_value();
  const platform::WindowHandle window =
      byCaption ? findAnswering(*wait_->caption) : findShownByLaunch(tree);
  if (window.isNull()) return false;
  state_.hostedWindow = window;
  capture(window);
  endWait();
  clearPending();
  // The caption found completes the entry that "配置" saves.
  if (!byCaption) {
    controls_.setCaption(index(ControlId::title_txt), desktop_.getWindowText(window));
  }
  return true;
}

void Loader::onCaptureWaitTick() {
  if (!wait_ || state_.pendingLaunch != wait_->process) {
    endWait();
    return;
  }
  const bool searchAll = --pollsUntilSearch_ <= 0;
  if (searchAll) pollsUntilSearch_ = kCaptureWaitPollsPerSearch;
  const std::vector<platform::ProcessId> tree = launchTree();
  if (lookForWaitedWindow(searchAll, tree)) return;
  // A program that ended without its window will not show it any more;
  // one that started another before it ended waits for that one's.
  const bool ended = wait_->caption ? processes_.processEnded(wait_->process) : tree.empty();
  if (ended || frame_.nowMs() >= wait_->deadline) {
    endWait();
    clearPending();
    state_.hostedWindow = {};
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
        if (!typed.empty()) attemptLaunchCapture(launch, typed);
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
