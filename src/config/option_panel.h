// The option panel: the auto-load entry's path and title, and its saving.
#pragma once

namespace vitrolux::app {
class Main;
}

namespace vitrolux::config {

// The options button: opens or closes the panel.
void onOptionsClick(app::Main& main);
// Every change of the path box: fills in the title of a known browser.
void onPathChange(app::Main& main);
// "配置": checks and saves the entry to "config.txt".
void onSaveClick(app::Main& main);

}  // namespace vitrolux::config
