// The five launch tiles under "新建任务".
#pragma once

#include "app/layout.h"

namespace vitrolux::app {
class Main;
}

namespace vitrolux::config {

void onTileClick(app::Main& main, app::ControlId tile);

}  // namespace vitrolux::config
