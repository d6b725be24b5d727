#include "app/main_frame.h"

#include "platform/twips.h"
#include "tasks/task_list.h"

namespace vitrolux::app {

Main::Main(platform::WindowSystem& system) : system_(system) {
  buildLayout(controls_);
  controls_.onTextChange([this](int control) { onTextChange(control); });
}

double Main::left() const {
  return platform::pixelsToTwips(system_.frameBounds().left, system_.dpi());
}

double Main::top() const {
  return platform::pixelsToTwips(system_.frameBounds().top, system_.dpi());
}

double Main::width() const {
  return platform::pixelsToTwips(system_.frameBounds().width(), system_.dpi());
}

double Main::height() const {
  return platform::pixelsToTwips(system_.frameBounds().height(), system_.dpi());
}

void Main::setBounds(double left, double top, double width, double height) {
  const int dpi = system_.dpi();
  system_.setWindowPos(system_.frameWindow(), platform::kHwndTop,
                       platform::twipsToPixels(left, dpi), platform::twipsToPixels(top, dpi),
                       platform::twipsToPixels(width, dpi), platform::twipsToPixels(height, dpi),
                       platform::kSwpNoZOrder | platform::kSwpNoActivate);
}

void Main::refreshTaskList() {
  tasks::FindAllApps(*this);
}

void Main::giveBackForeignWindows() {
  const platform::WindowHandle frame = system_.frameWindow();
  if (frame.isNull()) return;
  for (const platform::WindowHandle window : system_.foreignChildren(frame)) {
    // Read the place first: a window given back keeps its client-relative
    // position, which would otherwise put it near the screen's corner.
    const std::optional<platform::Rect> place = system_.windowRect(window);
    system_.setParent(window, platform::WindowHandle{});
    if (place) {
      system_.setWindowPos(window, platform::kHwndNoTopMost, place->left, place->top, 0, 0,
                           platform::kSwpNoSize | platform::kSwpNoActivate);
    } else {
      system_.setWindowPos(window, platform::kHwndNoTopMost, 0, 0, 0, 0,
                           platform::kSwpNoSize | platform::kSwpNoMove | platform::kSwpNoActivate);
    }
  }
  state_.hostedWindow = {};
}

void Main::endNow() {
  giveBackForeignWindows();
  system_.endProgram();
}

}  // namespace vitrolux::app
