// Sends each event of the frame to the handler of the subsystem that owns it.
// Once the program is leaving (lifecycle.cpp) the frame is out of sight and
// only gives back what it holds: every event is dropped.
#include "app/main_frame.h"

#include <utility>

#include "ui/guard.h"

namespace vitrolux::app {

using model::ControlId;
using platform::guarded;

namespace {

// The frame's system timers share one window and so one set of ids, each
// nonzero as the window system asks; the controls' timers start far above.
static_assert(embed::kCaptureWaitTimerId != 0 && kLeaveTimerId != 0 && refresh::kF5TimerId != 0 &&
              effects::kPeekTimerId != 0);
static_assert(embed::kCaptureWaitTimerId != kLeaveTimerId &&
              embed::kCaptureWaitTimerId != refresh::kF5TimerId &&
              kLeaveTimerId != refresh::kF5TimerId);
static_assert(effects::kPeekTimerId != embed::kCaptureWaitTimerId &&
              effects::kPeekTimerId != kLeaveTimerId &&
              effects::kPeekTimerId != refresh::kF5TimerId);

// Runs an event's handler unless the program is leaving.
template <typename Handler>
void route(bool leaving, Handler&& handler) {
  if (!leaving) guarded(std::forward<Handler>(handler));
}

}  // namespace

void Main::onResize() {
  // A move to a display of another scale comes as a resize: the band along
  // the edges stays three pixels wide.
  route(leaving_, [&] { measureEdgeWidth(); });
  route(leaving_, [&] { geometry_.onResize(); });
}

void Main::onMouseDown(int button, int shift, float x, float y) {
  route(leaving_, [&] { geometry_.onMouseDown(button, shift, x, y); });
}

void Main::onMouseMove(int button, int shift, float x, float y) {
  route(leaving_, [&] { geometry_.onMouseMove(button, shift, x, y); });
}

void Main::onMouseUp(int button, int shift, float x, float y) {
  route(leaving_, [&] { geometry_.onMouseUp(button, shift, x, y); });
}

void Main::onDoubleClick() {
  route(leaving_, [&] { geometry_.onDoubleClick(); });
}

void Main::onCaptureLost() {
  route(leaving_, [&] { geometry_.onCaptureLost(); });
}

void Main::onKeyDown(int keyCode, int shift) {
  route(leaving_, [&] { keys_.onKeyDown(keyCode, shift); });
}

bool Main::onControlKeyDown(int control, int keyCode, int shift) {
  if (leaving_) return false;
  return guarded(
      [&] {
        // Text boxes keep every key: a digit typed into the option panel is
        // text, not a fade. The task list and the check box pass the frame's
        // command keys on; arrows and the rest stay theirs.
        if (control < 0 || control >= controls_.size()) return false;
        if (controls_[control].kind == platform::ControlKind::TextBox) return false;
        if (!KeyCommands::isCommand(keyCode)) return false;
        keys_.onKeyDown(keyCode, shift);
        return true;
      },
      false);
}

void Main::onClick(int control) {
  route(leaving_, [&] {
    switch (static_cast<ControlId>(control)) {
      case ControlId::loadBtn:
        taskSelection_.onLoadClick();
        break;
      case ControlId::releaseBtn:
        taskSelection_.onReleaseClick();
        break;
      case ControlId::ie_btn:
      case ControlId::ch_btn:
      case ControlId::ff_btn:
      case ControlId::pic_btn:
      case ControlId::any_btn:
        tiles_.onTileClick(static_cast<ControlId>(control));
        break;
      case ControlId::setCfgPic:
        optionPanel_.onOptionsClick();
        break;
      case ControlId::cfgOkBtn:
        optionPanel_.onSaveClick();
        break;
      case ControlId::setTopMostBtn:
        stacking_.onPinClick();
        break;
      case ControlId::bringTopMostBtn:
        stacking_.onBringToFrontClick();
        break;
      case ControlId::penetrate_btn:
        stacking_.onClickThroughClick();
        break;
      case ControlId::f5_btn:
        autoRefresh_.onF5Click();
        break;
      default:
        break;
    }
  });
}

void Main::onControlDoubleClick(int control) {
  route(leaving_, [&] {
    if (static_cast<ControlId>(control) == ControlId::processList) taskSelection_.onLoadClick();
  });
}

void Main::onControlMouseDown(int control, int button, int shift, float x, float y) {
  route(leaving_, [&] {
    switch (static_cast<ControlId>(control)) {
      case ControlId::close_btn:
      case ControlId::min_btn:
      case ControlId::full_screen_btn:
      case ControlId::title_strip:
        titleBar_.onMouseDown(static_cast<ControlId>(control), button, shift, x, y);
        break;
      default:
        break;
    }
  });
}

void Main::onControlMouseMove(int control, int button, int shift, float x, float y) {
  route(leaving_, [&] {
    switch (static_cast<ControlId>(control)) {
      case ControlId::close_btn:
      case ControlId::min_btn:
      case ControlId::full_screen_btn:
        titleBar_.onMouseMove(static_cast<ControlId>(control), button, shift, x, y);
        break;
      default:
        break;
    }
  });
}

void Main::onControlMouseLeave(int control) {
  route(leaving_, [&] {
    switch (static_cast<ControlId>(control)) {
      case ControlId::close_btn:
      case ControlId::min_btn:
      case ControlId::full_screen_btn:
        titleBar_.onMouseLeave(static_cast<ControlId>(control));
        break;
      default:
        break;
    }
  });
}

void Main::onTimer(int control) {
  route(leaving_, [&] {
    switch (static_cast<ControlId>(control)) {
      case ControlId::process_timer:
        taskList_.onProcessTimer();
        break;
      case ControlId::chrome_timer:
      case ControlId::firefox_timer:
      case ControlId::other_app_timer:
        loader_.onCaptureTimer(static_cast<ControlId>(control));
        break;
      case ControlId::cfg_timer:
        uiSettings_.onCfgTimer();
        seeThrough_.onFrameLevelChanged();
        break;
      default:
        break;
    }
  });
}

void Main::onSystemTimer(unsigned id) {
  if (id == kLeaveTimerId) {
    onLeaveTick();
    return;
  }
  route(leaving_, [&] {
    if (id == embed::kCaptureWaitTimerId) {
      loader_.onCaptureWaitTick();
    } else if (id == effects::kPeekTimerId) {
      seeThrough_.onPeekTimer();
    } else {
      autoRefresh_.onSystemTimer(id);
    }
  });
}

void Main::onHotKey(unsigned id) {
  route(leaving_, [&] { seeThrough_.onHotKey(id); });
}

void Main::onDesktopWindowChanged(platform::WindowHandle window) {
  route(leaving_, [&] { loader_.onDesktopWindowChanged(window); });
}

void Main::onUserScroll(int control) {
  route(leaving_, [&] {
    if (static_cast<ControlId>(control) == ControlId::processList) taskList_.onListScrolled();
  });
}

void Main::onTextChange(int control) {
  route(leaving_, [&] {
    if (static_cast<ControlId>(control) == ControlId::cfg_txt) optionPanel_.onPathChange();
  });
}

}  // namespace vitrolux::app
