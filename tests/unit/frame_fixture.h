// A frame on the simulated desktop, as the real program wires it.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/main_frame.h"
#include "sim/sim_desktop.h"

namespace vitrolux::testing {

using model::ControlId;
using platform::ProcessId;
using platform::WindowHandle;

class FrameTest : public ::testing::Test {
 protected:
  FrameTest() { desk.connect(main); }

  static int idx(ControlId id) { return model::index(id); }
  const platform::Control& control(ControlId id) const { return main.control(id); }
  std::string text(ControlId id) const { return main.control(id).caption; }
  model::FrameState& state() { return main.state(); }
  std::string appFile(const std::string& name) const { return kAppFolder + "\\" + name; }

  // A program that opens a window with this caption when started (unless
  // told not to), and ends by itself after exitAfterMs when that is not 0.
  void install(const std::string& path, const std::string& caption, int delayMs = 100,
               int exitAfterMs = 0, bool opensWindow = true) {
    sim::Program program;
    program.caption = caption;
    program.windowDelayMs = delayMs;
    program.exitAfterMs = exitAfterMs;
    program.opensWindow = opensWindow;
    desk.installProgram(path, program);
  }

  // Hands a program entry, written as in a settings file by hand, to the
  // loader.
  bool loadEntry(const std::string& entry) { return main.loader().loadApp(model::splitEntry(entry)); }

  // The frame's handle of a window found by caption among the top-level
  // windows and the frame's children.
  WindowHandle windowCaptioned(const std::string& caption) {
    for (WindowHandle w : desk.topLevelWindows()) {
      if (desk.window(w)->caption == caption) return w;
    }
    for (WindowHandle w : desk.foreignChildren(desk.frameWindow())) {
      if (desk.window(w)->caption == caption) return w;
    }
    return {};
  }

  // The task list as a rebuild leaves it: a row for each window, in order,
  // none selected.
  void listWindows(const std::vector<WindowHandle>& windows) {
    std::vector<platform::ListRow> rows;
    for (WindowHandle w : windows) rows.push_back({desk.window(w)->caption, w.value()});
    main.controls().setRows(idx(ControlId::processList), std::move(rows));
  }
  // A row for the window below the rows listed; its index. As at any
  // rebuild that changes the rows, none stays selected.
  int listWindow(WindowHandle w) {
    std::vector<platform::ListRow> rows = control(ControlId::processList).rows;
    rows.push_back({desk.window(w)->caption, w.value()});
    const int row = static_cast<int>(rows.size()) - 1;
    main.controls().setRows(idx(ControlId::processList), std::move(rows));
    return row;
  }
  // The user selects a row of the task list; -1 for none.
  void selectRow(int row) { desk.selectRow(idx(ControlId::processList), row); }
  WindowHandle listAndSelect(WindowHandle w) {
    selectRow(listWindow(w));
    return w;
  }

  bool isTopMost(WindowHandle w) {
    return (static_cast<std::uint32_t>(desk.getWindowLong(w, platform::kGwlExStyle)) &
            platform::kWsExTopMost) != 0;
  }

  bool hostedInFrame(WindowHandle w) {
    return !w.isNull() && desk.getParent(w) == desk.frameWindow();
  }

  const std::string kAppFolder = "C:\\VitroluxTest";
  sim::SimDesktop desk;
  app::Main main{desk.ports()};
};

}  // namespace vitrolux::testing
