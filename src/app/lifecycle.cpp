// Start-up and shutdown of the frame, and the give-back of other programs'
// windows that every exit path runs.
#include <algorithm>
#include <vector>

#include "app/main_frame.h"
#include "model/foreign_windows.h"
#include "model/text.h"
#include "ui/guard.h"
#include "ui/twips.h"

namespace vitrolux::app {
namespace {

using model::ControlId;
using model::index;
using platform::guarded;

constexpr int kEdgePixels = 3;
constexpr std::uint32_t kTaskStyleMask = platform::kWsVisible | platform::kWsBorder;
constexpr int kFirstSettingsDelayMs = 10;

}  // namespace

void Main::onLoad() {
  // A second start of the same program ends before it shows or touches
  // anything; the first one is left alone.
  if (guarded([&] { return ports_.processes.anotherInstanceRunning(); }, false)) {
    ports_.frame.endProgram();
    return;
  }
  // Every further step is on its own: one that fails is skipped.
  // The toolbar is stored grey and takes the frame's own colour at start.
  guarded([&] { controls_.setBackColor(index(ControlId::main_toolbar), model::kFrameColor); });
  // Not activated here: the frame is not on the screen yet, and showing it
  // a moment later activates it.
  guarded([&] { stacking_.pinFrame(true, effects::Activation::Keep); });
  guarded(
      [&] { seeThrough_.start(store_.readCfg(store_.settingsPath(model::text::kHotKeyFile))); });
  guarded([&] {
    const model::ProgramEntry entry = store_.autoLoadEntry();
    if (!entry.text().empty()) loader_.loadApp(entry);
  });
  guarded([&] { measureEdgeWidth(); });
  guarded([&] { state_.taskStyleMask = kTaskStyleMask; });
  guarded([&] { taskList_.rebuild(); });
  guarded([&] { controls_.setInterval(index(ControlId::cfg_timer), kFirstSettingsDelayMs); });
}

void Main::measureEdgeWidth() {
  state_.edgeWidth = static_cast<std::int16_t>(
      platform::roundHalfEven(kEdgePixels * platform::kTwipsPerInch / ports_.frame.dpi()));
}

void Main::onUnload(bool& cancel) {
  // As in endNow.
  guarded([&] { seeThrough_.stop(); });
  // Other programs' windows must not die with the frame. One whose program
  // does not answer cannot go back yet: the frame stays, out of sight.
  if (leaving_ || !giveBack()) {
    leave();
    cancel = true;
    return;
  }
  guarded([&] { ports_.frame.killSystemTimer(refresh::kF5TimerId); });
}

void Main::onDestroy() {
  // However the frame's window goes, what still lives in it is not ours.
  giveBack();
}

void Main::onEmergencyExit() {
  // No time to wait for a program that does not answer: its window dies
  // with the process.
  giveBack();
}

void Main::leave() {
  if (leaving_) return;
  leaving_ = true;
  guarded([&] { ports_.frame.hideFrame(); });
  // A start of the program from now on is a new instance, not this one
  // going away.
  guarded([&] { ports_.processes.releaseInstance(); });
  guarded([&] { loader_.cancelLaunch(); });
  guarded([&] { ports_.frame.killSystemTimer(refresh::kF5TimerId); });
  for (const ControlId timer :
       {ControlId::process_timer, ControlId::cfg_timer, ControlId::chrome_timer,
        ControlId::firefox_timer, ControlId::other_app_timer}) {
    guarded([&] { controls_.setInterval(index(timer), 0); });
  }
  guarded([&] { ports_.frame.setSystemTimer(kLeaveTimerId, kLeavePollMs); });
}

bool Main::giveBack() {
  return guarded([&] { return giveBackForeignWindows(); }, true);
}

bool Main::giveBackForeignWindows() {
  platform::DesktopPort& desktop = ports_.desktop;
  const platform::WindowHandle frame = ports_.frame.frameWindow();
  if (frame.isNull()) return true;
  // A window on its way back since an earlier call is not asked again; the
  // frame stays until it is out and placed.
  handingBack_.erase(
      std::remove_if(handingBack_.begin(), handingBack_.end(),
                     [&](platform::WindowHandle w) { return !desktop.callUnderWay(w); }),
      handingBack_.end());
  // Every program is asked before any window moves: a window given back
  // hands the activation on, which must not reach one that does not answer.
  std::vector<platform::WindowHandle> answering;
  for (const platform::WindowHandle window : desktop.foreignChildren(frame)) {
    if (std::find(handingBack_.begin(), handingBack_.end(), window) != handingBack_.end()) continue;
    if (model::answers(desktop, window)) answering.push_back(window);
  }
  for (const platform::WindowHandle window : answering) {
    // Placed where it stands on the screen once it is top-level again: it
    // would keep its client-relative position, near the screen's corner.
    // The move waits for the program like the re-parenting does, so that
    // "done" means placed.
    const std::optional<platform::Rect> place = desktop.windowRect(window);
    constexpr unsigned kFlags = platform::kSwpNoSize | platform::kSwpNoActivate;
    bool done = false;
    if (const std::optional<platform::Placement> back = model::returnPlacement(state_, window)) {
      // Taken maximised: maximised again; taken minimised: where it stood.
      done = desktop.setParentThenPlacement(window, platform::WindowHandle{}, *back);
      desktop.setWindowPos(window, platform::kHwndNoTopMost, 0, 0, 0, 0,
                           kFlags | platform::kSwpNoMove | platform::kSwpAsyncWindowPos);
    } else if (place) {
      done = desktop.setParentThenPos(window, platform::WindowHandle{}, platform::kHwndNoTopMost,
                                      place->left, place->top, 0, 0, kFlags);
    } else {
      done = desktop.setParentThenPos(window, platform::WindowHandle{}, platform::kHwndNoTopMost, 0,
                                      0, 0, 0, kFlags | platform::kSwpNoMove);
    }
    if (done) model::forgetTaken(state_, window);
    if (!done && desktop.callUnderWay(window)) handingBack_.push_back(window);
  }
  const std::vector<platform::WindowHandle> left = desktop.foreignChildren(frame);
  if (std::find(left.begin(), left.end(), state_.hostedWindow) == left.end()) {
    state_.hostedWindow = {};
  }
  return left.empty() && handingBack_.empty();
}

void Main::onLeaveTick() {
  if (giveBack()) ports_.frame.endProgram();
}

}  // namespace vitrolux::app
