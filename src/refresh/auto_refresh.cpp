#include "refresh/auto_refresh.h"

namespace vitrolux::refresh {

// Not built yet.
void AutoRefresh::onF5Click() {}
void AutoRefresh::onSystemTimer(unsigned) {}

}  // namespace vitrolux::refresh
