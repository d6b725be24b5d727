// Start-up and shutdown of the frame.
#include "app/guard.h"
#include "app/main_frame.h"
#include "config/store.h"
#include "embed/loader.h"
#include "platform/twips.h"

namespace vitrolux::app {
namespace {

constexpr platform::Color kToolbarColor{0x002F0822u};
constexpr int kEdgePixels = 3;
constexpr std::uint32_t kTaskStyleMask = platform::kWsVisible | platform::kWsBorder;
constexpr int kFirstSettingsDelayMs = 10;
// The system timer that carries the F5 key poll.
constexpr unsigned kF5TimerId = 0;

}  // namespace

void Main::onLoad() {
  // A second start of the same program ends before it shows or touches
  // anything; the first one is left alone.
  if (guarded([&] { return system_.anotherInstanceRunning(); }, false)) {
    system_.endProgram();
    return;
  }
  // Every further step is on its own: one that fails is skipped.
  guarded([&] { state_.currentOpacity = 0; });
  guarded([&] { controls_.setBackColor(index(ControlId::main_toolbar), kToolbarColor); });
  guarded([&] {
    // Not activated here: the frame is not on the screen yet, and showing it
    // a moment later activates it.
    system_.setWindowPos(system_.frameWindow(), platform::kHwndTopMost, 0, 0, 0, 0,
                         platform::kSwpNoSize | platform::kSwpNoMove | platform::kSwpNoActivate);
  });
  guarded([&] {
    const std::string entry = config::getDirName(system_);
    if (!entry.empty()) embed::loadApp(*this, entry);
  });
  guarded([&] {
    state_.edgeWidth = static_cast<std::int16_t>(
        platform::roundHalfEven(kEdgePixels * platform::kTwipsPerInch / system_.dpi()));
  });
  guarded([&] { state_.taskStyleMask = kTaskStyleMask; });
  guarded([&] { refreshTaskList(); });
  guarded([&] { controls_.setInterval(index(ControlId::cfg_timer), kFirstSettingsDelayMs); });
}

void Main::onUnload() {
  // Windows of other programs go back to the desktop instead of being
  // destroyed with the frame: their programs keep running with their work.
  guarded([&] { giveBackForeignWindows(); });
  guarded([&] { system_.killSystemTimer(kF5TimerId); });
}

void Main::onEmergencyExit() {
  guarded([&] { giveBackForeignWindows(); });
}

}  // namespace vitrolux::app
