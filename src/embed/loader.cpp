#include "embed/loader.h"

#include "app/guard.h"
#include "app/main_frame.h"
#include "app/strings.h"
#include "embed/command_line.h"
#include "platform/text.h"
#include "platform/twips.h"

namespace vitrolux::embed {
namespace {

using app::ControlId;
using app::index;
using platform::contains;

constexpr int kChromeDelayMs = 400;
constexpr int kSlowProgramDelayMs = 2000;
// The hosted window's place in the frame, in pixels: below the title strip.
constexpr int kHostedLeft = 1;
constexpr int kHostedTop = 22;
constexpr int kHostedHeightLoss = 25;
// The fit always counts 15 twips to the pixel, whatever the display's DPI.
constexpr double kFitTwipsPerPixel = 15.0;

void arm(app::Main& main, ControlId timer, int delayMs) {
  main.controls().setInterval(index(timer), delayMs);
}

}  // namespace

bool loadApp(app::Main& main, const std::string& entry) {
  platform::ControlSet& controls = main.controls();
  std::string path = entry;
  std::string title;
  if (contains(entry, "|")) {
    const std::vector<std::string> pieces = platform::split(entry, "|");
    path = pieces[0];
    title = pieces[1];
    // Setting the path may fill in a title of its own; the entry's wins.
    controls.setCaption(index(ControlId::cfg_txt), path);
    controls.setCaption(index(ControlId::title_txt), title);
  } else {
    controls.setCaption(index(ControlId::cfg_txt), path);
  }

  const std::optional<platform::ProcessId> process = launch(main.system(), path);
  if (!process) return false;

  // The launch takes the place of whatever was hosted: until its capture the
  // frame's current window is the new program, known only by its process.
  app::FrameState& state = main.state();
  state.hostedWindow = {};
  state.pendingLaunch.reset();
  if (process->value() != 0) {
    state.pendingLaunch = *process;
    if (contains(entry, "chrome")) {
      arm(main, ControlId::Timer1, kChromeDelayMs);
    } else if (contains(entry, "iexplore")) {
      embed(main, title.empty() ? std::string(app::text::kIeTitle) : title);
    } else if (contains(entry, "firefox")) {
      arm(main, ControlId::Timer2, kSlowProgramDelayMs);
    } else {
      arm(main, ControlId::Timer3, kSlowProgramDelayMs);
    }
  }
  main.refreshTaskList();
  return true;
}

void embed(app::Main& main, const std::string& title) {
  platform::WindowSystem& system = main.system();
  const platform::WindowHandle frame = system.frameWindow();
  platform::WindowHandle window = system.findWindow(title);
  // The frame is never captured into itself.
  if (window == frame) window = {};

  app::FrameState& state = main.state();
  state.hostedWindow = window;
  state.pendingLaunch.reset();
  if (window.isNull()) return;

  const int width = platform::roundHalfEven(main.width() / kFitTwipsPerPixel);
  const int height = platform::roundHalfEven(main.height() / kFitTwipsPerPixel - kHostedHeightLoss);
  // Placed while still top-level: a window keeps its position relative to its
  // parent's client area when the parent changes, so it lands at (1, 22).
  system.setWindowPos(window, platform::kHwndTop, kHostedLeft, kHostedTop, width, height, 0);
  system.setParent(window, frame);
}

void onCaptureTimer(app::Main& main, ControlId timer) {
  app::guarded([&] {
    const std::string typed = main.control(ControlId::title_txt).caption;
    switch (timer) {
      case ControlId::Timer1:
        embed(main, std::string(app::text::kChromeTitle));
        break;
      case ControlId::Timer2:
        embed(main, typed.empty() ? std::string(app::text::kFirefoxTitle) : typed);
        break;
      case ControlId::Timer3:
        if (!typed.empty()) embed(main, typed);
        break;
      default:
        break;
    }
  });
  // One attempt only, whatever it found.
  app::guarded([&] { main.controls().setInterval(index(timer), 0); });
}

}  // namespace vitrolux::embed
