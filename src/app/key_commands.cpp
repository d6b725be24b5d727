#include "app/key_commands.h"

#include "app/main_frame.h"

namespace vitrolux::app {

// Not built yet.
void onFrameKeyDown(Main&, int, int) {}

}  // namespace vitrolux::app
