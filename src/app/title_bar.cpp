#include "app/title_bar.h"

namespace vitrolux::app {

// Not built yet.
void TitleBar::onMouseDown(model::ControlId, int, int, float, float) {}
void TitleBar::onMouseMove(model::ControlId, int, int, float, float) {}

}  // namespace vitrolux::app
