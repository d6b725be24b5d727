// F5 mode: Ctrl+S anywhere sends F5 to the hosted or selected window.
#pragma once

namespace vitrolux::app {
class Main;
}

namespace vitrolux::refresh {

void onF5Click(app::Main& main);
void onSystemTimer(app::Main& main, unsigned id);

}  // namespace vitrolux::refresh
