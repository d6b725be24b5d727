#include "refresh/auto_refresh.h"

#include "app/main_frame.h"

namespace vitrolux::refresh {

// Not built yet.
void onF5Click(app::Main&) {}
void onSystemTimer(app::Main&, unsigned) {}

}  // namespace vitrolux::refresh
