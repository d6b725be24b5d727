#include "app/key_commands.h"

namespace vitrolux::app {

// Not built yet.
void KeyCommands::onKeyDown(int, int) {}

}  // namespace vitrolux::app
