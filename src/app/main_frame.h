// The frame `Main`: owner of the controls, of the state the subsystems share
// and of the subsystems themselves, each of which gets only the ports, state
// and neighbours it uses. event_routing.cpp sends each event of the window
// system to its handler; lifecycle.cpp holds start-up and shutdown.
#pragma once

#include "app/geometry.h"
#include "app/key_commands.h"
#include "app/title_bar.h"
#include "app/ui_settings_file.h"
#include "config/launch_tiles.h"
#include "config/option_panel.h"
#include "config/store.h"
#include "effects/opacity.h"
#include "effects/see_through.h"
#include "effects/stacking.h"
#include "embed/loader.h"
#include "embed/task_selection.h"
#include "model/frame_state.h"
#include "model/layout.h"
#include "ports/ports.h"
#include "refresh/auto_refresh.h"
#include "tasks/task_list.h"
#include "ui/application.h"
#include "ui/controls.h"

namespace vitrolux::app {

// The system timer of the frame's window that, once the program is leaving
// but still holds a window whose program does not answer, tries again to
// give it back.
inline constexpr unsigned kLeaveTimerId = 2;
inline constexpr unsigned kLeavePollMs = 500;

class Main final : public platform::Application {
 public:
  explicit Main(const platform::Ports& ports);
  Main(const Main&) = delete;
  Main& operator=(const Main&) = delete;

  platform::ControlSet& controls() override { return controls_; }
  const platform::ControlSet& controls() const { return controls_; }
  const platform::Control& control(model::ControlId id) const {
    return controls_[model::index(id)];
  }
  platform::FrameLook look() const override { return model::frameLook(); }
  model::FrameState& state() { return state_; }
  const model::FrameState& state() const { return state_; }

  // The subsystems, for the tests that drive one of them directly.
  embed::Loader& loader() { return loader_; }
  tasks::TaskList& taskList() { return taskList_; }
  effects::Opacity& opacity() { return opacity_; }
  const effects::SeeThrough& seeThrough() const { return seeThrough_; }

  // Ends the program at once, without the unload steps, after giving back
  // what is not ours. A window whose program does not answer cannot go back
  // yet: the program then leaves (see leave()) instead of ending.
  void endNow();

  // platform::FrameEvents
  void onLoad() override;
  void onUnload(bool& cancel) override;
  void onDestroy() override;
  void onResize() override;
  void onMouseDown(int button, int shift, float x, float y) override;
  void onMouseMove(int button, int shift, float x, float y) override;
  void onMouseUp(int button, int shift, float x, float y) override;
  void onDoubleClick() override;
  void onCaptureLost() override;
  void onKeyDown(int keyCode, int shift) override;
  bool onControlKeyDown(int control, int keyCode, int shift) override;
  void onClick(int control) override;
  void onControlDoubleClick(int control) override;
  void onControlMouseDown(int control, int button, int shift, float x, float y) override;
  void onControlMouseMove(int control, int button, int shift, float x, float y) override;
  void onControlMouseLeave(int control) override;
  void onTimer(int control) override;
  void onSystemTimer(unsigned id) override;
  void onHotKey(unsigned id) override;
  void onDesktopWindowChanged(platform::WindowHandle window) override;
  void onEmergencyExit() override;

 private:
  // The band along the frame's edges that sizes it: three pixels at the
  // display's scale, in twips.
  void measureEdgeWidth();
  void onTextChange(int control);
  void onUserScroll(int control);
  // Esc: the release, then every other window of another program goes back
  // to the desktop, then the program ends.
  void releaseAndEnd();
  // What every exit path runs: giveBackForeignWindows, guarded.
  bool giveBack();
  // Gives each window of another program in the frame back to the desktop,
  // where it stands, no longer top-most; one whose program does not answer
  // stays. True when none is left inside or still on its way out.
  bool giveBackForeignWindows();
  // The frame hides, stops its work and stops counting as the running
  // instance; it gives back what it can every kLeavePollMs and ends once
  // nothing is left.
  void leave();
  void onLeaveTick();

  platform::Ports ports_;
  platform::ControlSet controls_;
  model::FrameState state_;
  // Once the program is leaving, the frame is hidden and does nothing but
  // wait for the last windows of other programs to go back.
  bool leaving_ = false;
  // Windows whose give-back outlived its wait and is still being carried out.
  std::vector<platform::WindowHandle> handingBack_;

  // In the order they need each other.
  config::SettingsStore store_;
  tasks::TaskList taskList_;
  embed::Loader loader_;
  embed::TaskSelection taskSelection_;
  config::LaunchTiles tiles_;
  config::OptionPanel optionPanel_;
  effects::Opacity opacity_;
  effects::SeeThrough seeThrough_;
  effects::Stacking stacking_;
  refresh::AutoRefresh autoRefresh_;
  UiSettingsFile uiSettings_;
  FrameGeometry geometry_;
  TitleBar titleBar_;
  KeyCommands keys_;
};

}  // namespace vitrolux::app
