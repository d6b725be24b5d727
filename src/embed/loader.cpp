#include "embed/loader.h"

#include "embed/command_line.h"
#include "model/hosted_fit.h"
#include "model/strings.h"
#include "model/text.h"
#include "platform/guard.h"

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
  controls_.setInterval(index(timer), delayMs);
}

bool Loader::loadApp(const std::string& entry) {
  std::string path = entry;
  std::string title;
  if (contains(entry, "|")) {
    const std::vector<std::string> pieces = model::split(entry, "|");
    path = pieces[0];
    title = pieces[1];
    // Setting the path may fill in a title of its own; the entry's wins.
    controls_.setCaption(index(ControlId::cfg_txt), path);
    controls_.setCaption(index(ControlId::title_txt), title);
  } else {
    controls_.setCaption(index(ControlId::cfg_txt), path);
  }

  const std::optional<platform::ProcessId> process = launch(processes_, path);
  if (!process) return false;

  // The launch takes the place of whatever was hosted: until its capture the
  // frame's current window is the new program, known only by its process.
  state_.hostedWindow = {};
  state_.pendingLaunch.reset();
  if (process->value() != 0) {
    state_.pendingLaunch = *process;
    // The order matters: an entry naming both browsers is a Chrome entry.
    if (contains(entry, "chrome")) {
      arm(ControlId::Timer1, kChromeDelayMs);
    } else if (contains(entry, "iexplore")) {
      embed(title.empty() ? std::string(text::kIeTitle) : title);
    } else if (contains(entry, "firefox")) {
      arm(ControlId::Timer2, kSlowProgramDelayMs);
    } else {
      arm(ControlId::Timer3, kSlowProgramDelayMs);
    }
  }
  refreshTaskList_();
  return true;
}

void Loader::embed(const std::string& title) {
  const platform::WindowHandle frame = frame_.frameWindow();
  platform::WindowHandle window = desktop_.findWindow(title);
  // The frame is never captured into itself.
  if (window == frame) window = {};

  state_.hostedWindow = window;
  state_.pendingLaunch.reset();
  if (window.isNull()) return;

  const platform::Rect bounds = frame_.frameBounds();
  const platform::Rect fit =
      model::hostedFit(platform::Size{bounds.width(), bounds.height()}, frame_.dpi());
  // Placed while still top-level: a window keeps its position relative to its
  // parent's client area when the parent changes, so it lands below the
  // title strip.
  desktop_.setWindowPos(window, platform::kHwndTop, fit.left, fit.top, fit.width(), fit.height(),
                        0);
  desktop_.setParent(window, frame);
}

void Loader::onCaptureTimer(ControlId timer) {
  platform::guarded([&] {
    const std::string typed = controls_[index(ControlId::title_txt)].caption;
    switch (timer) {
      case ControlId::Timer1:
        embed(std::string(text::kChromeTitle));
        break;
      case ControlId::Timer2:
        embed(typed.empty() ? std::string(text::kFirefoxTitle) : typed);
        break;
      case ControlId::Timer3:
        if (!typed.empty()) embed(typed);
        break;
      default:
        break;
    }
  });
  // One attempt only, whatever it found.
  platform::guarded([&] { controls_.setInterval(index(timer), 0); });
}

}  // namespace vitrolux::embed
