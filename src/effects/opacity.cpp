#include "effects/opacity.h"

#include "model/layout.h"

namespace vitrolux::effects {

void Opacity::onCfgTimer() {
  // Saved settings are not applied yet; the tick only stops its timer.
  controls_.setInterval(model::index(model::ControlId::cfg_timer), 0);
}

}  // namespace vitrolux::effects
