#include "effects/stacking.h"

namespace vitrolux::effects {

// Not built yet.
void Stacking::onPinClick() {}
void Stacking::onBringToFrontClick() {}
void Stacking::onClickThroughClick() {}

}  // namespace vitrolux::effects
