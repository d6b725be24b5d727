// Sends each event of the frame to the handler of the subsystem that owns it.
// Events that no subsystem handles are dropped here.
#include "app/geometry.h"
#include "app/guard.h"
#include "app/key_commands.h"
#include "app/main_frame.h"
#include "app/title_bar.h"
#include "config/option_panel.h"
#include "config/presets.h"
#include "effects/opacity.h"
#include "effects/stacking.h"
#include "embed/loader.h"
#include "embed/task_selection.h"
#include "refresh/auto_refresh.h"
#include "tasks/task_list.h"

namespace vitrolux::app {

void Main::onResize() {
  guarded([&] { onFrameResize(*this); });
}

void Main::onMouseDown(int button, int shift, float x, float y) {
  guarded([&] { onFrameMouseDown(*this, button, shift, x, y); });
}

void Main::onMouseMove(int button, int shift, float x, float y) {
  guarded([&] { onFrameMouseMove(*this, button, shift, x, y); });
}

void Main::onMouseUp(int button, int shift, float x, float y) {
  guarded([&] { onFrameMouseUp(*this, button, shift, x, y); });
}

void Main::onDoubleClick() {
  guarded([&] { onFrameDoubleClick(*this); });
}

void Main::onKeyDown(int keyCode, int shift) {
  guarded([&] { onFrameKeyDown(*this, keyCode, shift); });
}

void Main::onClick(int control) {
  guarded([&] {
    switch (static_cast<ControlId>(control)) {
      case ControlId::loadBtn:
        embed::onLoadClick(*this);
        break;
      case ControlId::releaseBtn:
        embed::onReleaseClick(*this);
        break;
      case ControlId::ie_btn:
      case ControlId::ch_btn:
      case ControlId::ff_btn:
      case ControlId::pic_btn:
      case ControlId::any_btn:
        config::onTileClick(*this, static_cast<ControlId>(control));
        break;
      case ControlId::setCfgPic:
        config::onOptionsClick(*this);
        break;
      case ControlId::cfgOkBtn:
        config::onSaveClick(*this);
        break;
      case ControlId::setTopMostBtn:
        effects::onPinClick(*this);
        break;
      case ControlId::bringTopMostBtn:
        effects::onBringToFrontClick(*this);
        break;
      case ControlId::penetrate_btn:
        effects::onClickThroughClick(*this);
        break;
      case ControlId::f5_btn:
        refresh::onF5Click(*this);
        break;
      default:
        break;
    }
  });
}

void Main::onControlDoubleClick(int control) {
  guarded([&] {
    if (static_cast<ControlId>(control) == ControlId::processList) embed::onLoadClick(*this);
  });
}

void Main::onControlMouseDown(int control, int button, int shift, float x, float y) {
  guarded([&] {
    switch (static_cast<ControlId>(control)) {
      case ControlId::close_btn:
      case ControlId::min_btn:
      case ControlId::retore_btn:
      case ControlId::sys_btn:
        onTitleButtonMouseDown(*this, static_cast<ControlId>(control), button, shift, x, y);
        break;
      default:
        break;
    }
  });
}

void Main::onControlMouseMove(int control, int button, int shift, float x, float y) {
  guarded([&] {
    switch (static_cast<ControlId>(control)) {
      case ControlId::close_btn:
      case ControlId::min_btn:
      case ControlId::retore_btn:
        onTitleButtonMouseMove(*this, static_cast<ControlId>(control), button, shift, x, y);
        break;
      default:
        break;
    }
  });
}

void Main::onTimer(int control) {
  guarded([&] {
    switch (static_cast<ControlId>(control)) {
      case ControlId::process_timer:
        tasks::onProcessTimer(*this);
        break;
      case ControlId::Timer1:
      case ControlId::Timer2:
      case ControlId::Timer3:
        embed::onCaptureTimer(*this, static_cast<ControlId>(control));
        break;
      case ControlId::cfg_timer:
        effects::onCfgTimer(*this);
        break;
      default:
        break;
    }
  });
}

void Main::onSystemTimer(unsigned id) {
  guarded([&] { refresh::onSystemTimer(*this, id); });
}

void Main::onTextChange(int control) {
  guarded([&] {
    if (static_cast<ControlId>(control) == ControlId::cfg_txt) config::onPathChange(*this);
  });
}

}  // namespace vitrolux::app
