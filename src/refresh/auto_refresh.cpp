#include "refresh/auto_refresh.h"

#include <string>

#include "model/layout.h"
#include "model/task_rows.h"
#include "model/text.h"
#include "refresh/key_poll.h"

namespace vitrolux::refresh {
namespace {

namespace text = model::text;
using model::ControlId;
using model::index;
using platform::WindowHandle;

// Asked for 1 ms; the system gives its minimum, 10 ms.
constexpr unsigned kPollIntervalMs = 1;
// The activation is sent, and waited for, before the key press is posted.
// A program that has stopped answering must not hold the frame: this is
// well under what a user notices.
constexpr unsigned kActivateTimeoutMs = 100;

constexpr int kSKey = 'S';

}  // namespace

void AutoRefresh::onF5Click() {
  on_ = !on_;
  controls_.setCaption(index(ControlId::f5_btn), std::string(on_ ? text::kStop : text::kF5));
  if (on_) {
    frame_.setSystemTimer(kF5TimerId, kPollIntervalMs);
  } else {
    frame_.killSystemTimer(kF5TimerId);
  }
}

void AutoRefresh::onSystemTimer(unsigned id) {
  if (id == kF5TimerId) f5TimerProc();
}

void AutoRefresh::f5TimerProc() {
  const std::optional<int> key = keys_.firstPressedKey();
  if (!key) return;
  if (*key == kSKey && lastKeyCode_ == platform::kVkControl && !refreshSent_) {
    refreshSent_ = true;
    sendF5();
    return;
  }
  lastKeyCode_ = *key;
  refreshSent_ = false;
}

void AutoRefresh::sendF5() {
  const int heading = index(ControlId::new_task_lbl);
  controls_.setCaption(heading, "");
  auto postF5 = [&](WindowHandle window) {
    desktop_.postMessage(window, platform::kWmKeyDown, platform::kVkF5, 0);
    desktop_.postMessage(window, platform::kWmKeyUp, platform::kVkF5, 0);
  };
  if (state_.hosting()) {
    // A launch that awaits its capture has no window yet: nothing to send to.
    if (!state_.hostedWindow.isNull()) postF5(state_.hostedWindow);
    return;
  }
  const WindowHandle selected = model::selectedTaskWindow(controls_);
  if (selected.isNull()) return;
  controls_.setCaption(heading, std::to_string(selected.value()));
  desktop_.sendMessage(selected, platform::kWmActivate, platform::kWaInactive, 0,
                       kActivateTimeoutMs);
  postF5(selected);
}

}  // namespace vitrolux::refresh
