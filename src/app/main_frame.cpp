#include "app/main_frame.h"

namespace vitrolux::app {

Main::Main(const platform::Ports& ports)
    : ports_(ports),
      store_(ports.files, ports.text),
      taskList_(controls_, state_, ports.frame, ports.desktop),
      loader_(controls_, state_, ports.frame, ports.desktop, ports.processes,
              [this] { taskList_.FindAllApps(); }),
      taskSelection_(controls_, state_, ports.frame, ports.desktop, loader_),
      tiles_(store_, ports.processes, ports.frame,
             [this](const std::string& entry) { return loader_.loadApp(entry); }),
      optionPanel_(controls_, store_),
      opacity_(controls_),
      geometry_(controls_, state_, ports.frame, ports.desktop) {
  model::buildLayout(controls_);
  controls_.onTextChange([this](int control) { onTextChange(control); });
  controls_.onUserScroll([this](int control) { onUserScroll(control); });
}

void Main::endNow() {
  taskSelection_.giveBackForeignWindows();
  ports_.frame.endProgram();
}

}  // namespace vitrolux::app

namespace vitrolux::platform {

std::unique_ptr<Application> makeApplication(const Ports& ports) {
  return std::make_unique<app::Main>(ports);
}

}  // namespace vitrolux::platform
