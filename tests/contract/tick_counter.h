// Frame events for the contract suite: the frame's logic is not under test
// there, only the system timer's ticks and the hot keys heard are counted.
#pragma once

#include <map>
#include <vector>

#include "ports/frame_events.h"

namespace vitrolux::contract {

class TickCounter final : public platform::FrameEvents {
 public:
  std::map<unsigned, int> ticks;
  std::map<unsigned, int> hotKeys;

  void onLoad() override {}
  void onUnload(bool&) override {}
  void onDestroy() override {}
  void onResize() override {}
  void onMouseDown(int, int, float, float) override {}
  void onMouseMove(int, int, float, float) override {}
  void onMouseUp(int, int, float, float) override {}
  void onDoubleClick() override {}
  void onCaptureLost() override {}
  void onKeyDown(int, int) override {}
  void onClick(int) override {}
  void onControlDoubleClick(int) override {}
  void onControlMouseDown(int, int, int, float, float) override {}
  void onControlMouseMove(int, int, int, float, float) override {}
  void onControlMouseLeave(int) override {}
  void onTimer(int) override {}
  void onSystemTimer(unsigned id) override { ++ticks[id]; }
  void onHotKey(unsigned id) override { ++hotKeys[id]; }
  void onDesktopWindowChanged(platform::WindowHandle window) override {
    changedWindows.push_back(window);
  }
  std::vector<platform::WindowHandle> changedWindows;
  void onEmergencyExit() override {}
};

}  // namespace vitrolux::contract
