#include "effects/stacking.h"

#include "app/main_frame.h"

namespace vitrolux::effects {

// Not built yet.
void onPinClick(app::Main&) {}
void onBringToFrontClick(app::Main&) {}
void onClickThroughClick(app::Main&) {}

}  // namespace vitrolux::effects
