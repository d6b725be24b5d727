#include "effects/opacity.h"

#include "app/main_frame.h"

namespace vitrolux::effects {

void onCfgTimer(app::Main& main) {
  // Saved settings are not applied yet; the tick only stops its timer.
  main.controls().setInterval(app::index(app::ControlId::cfg_timer), 0);
}

}  // namespace vitrolux::effects
