// A frame with the program's real layout, built by the adapter in this
// process, with every event it raises written down.
#pragma once

#include <windows.h>
// <windows.h> first: the other system headers build on it.
#include <commctrl.h>

#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "model/layout.h"
#include "ports/frame_events.h"
#include "ui/controls.h"
#include "win32/control_windows.h"
#include "win32/desktop.h"
#include "win32/frame_system.h"

namespace vitrolux::platform::win32::testing {

// One line of the event log: the event's name and its arguments.
template <typename... Args>
std::string entry(const char* what, Args... args) {
  std::ostringstream line;
  line << what;
  ((line << ' ' << args), ...);
  return line.str();
}

class RecordingEvents final : public FrameEvents {
 public:
  std::vector<std::string> log;

  void onLoad() override { note("load"); }
  void onUnload(bool&) override { note("unload"); }
  void onDestroy() override { note("destroy"); }
  void onResize() override { note("resize"); }
  void onMouseDown(int b, int s, float x, float y) override { note("down", b, s, x, y); }
  void onMouseMove(int b, int s, float x, float y) override { note("move", b, s, x, y); }
  void onMouseUp(int b, int s, float x, float y) override { note("up", b, s, x, y); }
  void onDoubleClick() override { note("dblclick"); }
  void onCaptureLost() override { note("capturelost"); }
  void onKeyDown(int key, int shift) override { note("key", key, shift); }
  void onClick(int c) override { note("click", c); }
  void onControlDoubleClick(int c) override { note("cdblclick", c); }
  void onControlMouseDown(int c, int b, int s, float x, float y) override {
    note("cdown", c, b, s, x, y);
  }
  void onControlMouseMove(int c, int b, int s, float x, float y) override {
    note("cmove", c, b, s, x, y);
  }
  void onControlMouseLeave(int c) override { note("cleave", c); }
  void onTimer(int c) override { note("timer", c); }
  void onSystemTimer(unsigned id) override { note("systimer", id); }
  void onDesktopWindowChanged(WindowHandle window) override {
    note("window", static_cast<long long>(window.value()));
  }
  void onEmergencyExit() override { note("emergency"); }

  int count(const std::string& entry) const {
    int n = 0;
    for (const std::string& e : log) n += e == entry ? 1 : 0;
    return n;
  }

 private:
  template <typename... Args>
  void note(const char* what, Args... args) {
    log.push_back(entry(what, args...));
  }
};

class FrameFixture : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    INITCOMMONCONTROLSEX init{sizeof(init), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&init);
  }

  void SetUp() override {
    model::buildLayout(controls);
    controls.onTextChange(
        [this](int index) { events.log.push_back("text " + std::to_string(index)); });
    frame = system.createFrame(events, model::frameLook());
    ASSERT_NE(frame, nullptr);
    controlWindows.emplace(::GetModuleHandleW(nullptr), system, events, controls);
    controlWindows->realise();
  }

  HWND window(model::ControlId id) const { return controlWindows->window(model::index(id)); }
  int dpi() const { return system.dpi(); }
  // A pixel position as the events report it, in twips.
  float twips(int pixels) const { return static_cast<float>(pixels * 1440.0 / dpi()); }

  // Lets the message loop run for about this long.
  void pump(int milliseconds) {
    const DWORD start = ::GetTickCount();
    do {
      system.doEvents();
      ::Sleep(5);
    } while (::GetTickCount() - start < static_cast<DWORD>(milliseconds));
  }

  static LPARAM at(int x, int y) { return MAKELPARAM(x, y); }

  // Declared in this order so that the controls' windows and the frame go
  // first.
  RecordingEvents events;
  ControlSet controls;
  Desktop desktop;
  FrameSystem system{::GetModuleHandleW(nullptr), desktop};
  std::optional<ControlWindows> controlWindows;
  HWND frame = nullptr;
};

inline std::wstring textOf(HWND window) {
  wchar_t text[512] = {};
  ::SendMessageW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text));
  return text;
}

}  // namespace vitrolux::platform::win32::testing
