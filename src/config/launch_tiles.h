// The five launch tiles under "新建任务": each hands a program entry (from its
// preset file, else its built-in one) to the loader.
#pragma once

#include <functional>
#include <string>

#include "config/store.h"
#include "model/layout.h"
#include "ports/frame_port.h"
#include "ports/process_port.h"

namespace vitrolux::config {

class LaunchTiles {
 public:
  // Starts the entry's program and captures its window; false when the
  // program could not be started.
  using LoadApp = std::function<bool(const std::string& entry)>;

  LaunchTiles(SettingsStore& store, platform::ProcessPort& processes, platform::FramePort& frame,
              LoadApp loadApp)
      : store_(store), processes_(processes), frame_(frame), loadApp_(std::move(loadApp)) {}

  void onTileClick(model::ControlId tile);

 private:
  template <typename BuiltIn>
  void loadPreset(std::string_view presetFile, BuiltIn builtIn);

  SettingsStore& store_;
  platform::ProcessPort& processes_;
  platform::FramePort& frame_;
  LoadApp loadApp_;
};

}  // namespace vitrolux::config
