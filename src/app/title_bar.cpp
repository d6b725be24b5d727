#include "app/title_bar.h"

#include "app/main_frame.h"

namespace vitrolux::app {

// Not built yet.
void onTitleButtonMouseDown(Main&, ControlId, int, int, float, float) {}
void onTitleButtonMouseMove(Main&, ControlId, int, int, float, float) {}

}  // namespace vitrolux::app
