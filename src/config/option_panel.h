// The option panel: the auto-load entry's path and title, and its saving.
#pragma once

#include "config/store.h"
#include "ui/controls.h"

namespace vitrolux::config {

class OptionPanel {
 public:
  OptionPanel(platform::ControlSet& controls, SettingsStore& store)
      : controls_(controls), store_(store) {}

  // The options button: opens or closes the panel.
  void onOptionsClick();
  // Every change of the path box: fills in the title of a known browser.
  void onPathChange();
  // "配置": checks and saves the entry to "config.txt".
  void onSaveClick();

 private:
  // Hides the panel and puts it back to its place under a hosted window.
  void close();

  platform::ControlSet& controls_;
  SettingsStore& store_;
};

}  // namespace vitrolux::config
