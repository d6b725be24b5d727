// The five launch tiles under "新建任务": the first four hand a program entry
// (from its preset file, else their built-in one) to the loader; the fifth
// lets the user pick any program, whose window's caption is not known.
#pragma once

#include <functional>
#include <string>

#include "config/store.h"
#include "model/layout.h"
#include "model/program_entry.h"
#include "ports/frame_port.h"
#include "ports/process_port.h"

namespace vitrolux::config {

class LaunchTiles {
 public:
  // Starts the entry's program and captures its window; false when the
  // program could not be started.
  using LoadApp = std::function<bool(const model::ProgramEntry& entry)>;
  // Starts the picked program and captures its main window.
  using LoadProgram = std::function<bool(const platform::ProgramChoice& choice)>;

  LaunchTiles(SettingsStore& store, platform::ProcessPort& processes, platform::FramePort& frame,
              LoadApp loadApp, LoadProgram loadProgram)
      : store_(store),
        processes_(processes),
        frame_(frame),
        loadApp_(std::move(loadApp)),
        loadProgram_(std::move(loadProgram)) {}

  void onTileClick(model::ControlId tile);

 private:
  template <typename BuiltIn>
  void loadPreset(std::string_view presetFile, BuiltIn builtIn);

  SettingsStore& store_;
  platform::ProcessPort& processes_;
  platform::FramePort& frame_;
  LoadApp loadApp_;
  LoadProgram loadProgram_;
};

}  // namespace vitrolux::config
