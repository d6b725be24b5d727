#include "app/main_frame.h"

#include "ui/guard.h"

namespace vitrolux::app {

Main::Main(const platform::Ports& ports)
    : ports_(ports),
      store_(ports.files, ports.text),
      taskList_(controls_, state_, ports.frame, ports.desktop),
      loader_(controls_, state_, ports.frame, ports.desktop, ports.processes,
              [this] { taskList_.rebuild(); }),
      taskSelection_(controls_, state_, ports.desktop, loader_),
      tiles_(
          store_, ports.processes, ports.frame,
          [this](const model::ProgramEntry& entry) { return loader_.loadApp(entry); },
          [this](const platform::ProgramChoice& choice) { return loader_.loadProgram(choice); }),
      optionPanel_(controls_, store_),
      opacity_(controls_, state_, ports.frame, ports.desktop, [this] { uiSettings_.writeUICfg(); }),
      seeThrough_(controls_, ports.frame, ports.desktop, opacity_),
      stacking_(controls_, ports.frame, ports.desktop, opacity_),
      autoRefresh_(controls_, state_, ports.frame, ports.desktop),
      uiSettings_(controls_, ports.frame, ports.desktop, store_, opacity_),
      geometry_(controls_, state_, ports.frame, ports.desktop),
      titleBar_(controls_, ports.frame, ports.desktop, stacking_, uiSettings_,
                [this] { endNow(); }),
      keys_([this] { releaseAndEnd(); },
            [this](int level) {
              opacity_.setOpacity(level, true);
              seeThrough_.onFrameLevelChanged();
            }) {
  model::buildLayout(controls_);
  controls_.onTextChange([this](int control) { onTextChange(control); });
  controls_.onUserScroll([this](int control) { onUserScroll(control); });
}

void Main::endNow() {
  // The frame takes clicks again, and the hot key is free for a new start
  // of the program while this one may still wait out of sight.
  platform::guarded([&] { seeThrough_.stop(); });
  if (giveBack()) {
    ports_.frame.endProgram();
  } else {
    leave();
  }
}

void Main::releaseAndEnd() {
  // The release frees the last hosted window (and the selected one); a
  // window hosted before it is still inside and goes back with endNow.
  platform::guarded([&] { taskSelection_.onReleaseClick(); });
  endNow();
}

}  // namespace vitrolux::app

namespace vitrolux::platform {

std::unique_ptr<Application> makeApplication(const Ports& ports) {
  return std::make_unique<app::Main>(ports);
}

}  // namespace vitrolux::platform
