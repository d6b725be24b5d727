// The contract environment on the simulated desktop: a started frame with no
// controls, and the simulated system prepared the way a Windows machine is.
#include <map>

#include "contract/contract_env.h"
#include "contract/tick_counter.h"
#include "sim/sim_desktop.h"

namespace vitrolux::contract {
namespace {

constexpr const char* kSystemFolder = "C:\\Windows\\System32";

sim::DpiAwareness toSim(DpiAwareness awareness) {
  switch (awareness) {
    case DpiAwareness::Unaware:
      return sim::DpiAwareness::Unaware;
    case DpiAwareness::System:
      return sim::DpiAwareness::System;
    case DpiAwareness::PerMonitorV2:
      return sim::DpiAwareness::PerMonitorV2;
  }
  return sim::DpiAwareness::Unaware;
}

class SimEnv final : public ContractEnv {
 public:
  SimEnv() {
    sim::Program cmd;
    cmd.opensWindow = false;
    cmd.exitAfterMs = 1;  // "cmd /c exit 0"
    desk_.installProgram(std::string(kSystemFolder) + "\\cmd.exe", cmd);
    desk_.addToSearchPath(kSystemFolder);
    desk_.connect(events_, controls_,
                  platform::FrameLook{"Vitrolux contract frame", 9675, 6495, {}});
    desk_.start();
  }

  platform::Ports ports() override { return desk_.ports(); }
  WindowHandle frame() override { return desk_.frameWindow(); }

  bool isWindow(WindowHandle window) override { return desk_.isWindow(window); }
  WindowHandle getParent(WindowHandle window) override { return desk_.getParent(window); }
  bool isWindowVisible(WindowHandle window) override { return desk_.isWindowVisible(window); }
  std::optional<std::uint8_t> layeredAlpha(WindowHandle window) override {
    return desk_.layeredAlpha(window);
  }

  WindowHandle makeTopLevel(const std::string& caption, std::uint32_t style) override {
    return desk_.createWindow(desk_.ownProcess(), caption, style);
  }
  WindowHandle makeOwnedTopLevel(WindowHandle owner, const std::string& caption) override {
    const WindowHandle w = desk_.createWindow(
        desk_.ownProcess(), caption, platform::kWsPopup | platform::kWsCaption | platform::kWsVisible,
        {150, 150, 450, 350});
    desk_.window(w)->owner = owner;
    return w;
  }
  WindowHandle makeChild(WindowHandle parent, const std::string& caption, Rect rect) override {
    return desk_.createChildWindow(parent, desk_.ownProcess(), caption, rect);
  }
  void destroy(WindowHandle window) override { desk_.destroyWindow(window); }
  WindowHandle makeForeignTopLevel(const std::string& caption) override {
    return desk_.createWindow(desk_.newProcess(), caption,
                              platform::kWsPopup | platform::kWsVisible, {300, 300, 500, 400});
  }
  WindowHandle makeForeignTopLevelAware(const std::string& caption,
                                        DpiAwareness awareness) override {
    const platform::ProcessId program = desk_.newProcess();
    desk_.setAwareness(program, toSim(awareness));
    return desk_.createWindow(program, caption, platform::kWsPopup | platform::kWsVisible,
                              {300, 300, 500, 400});
  }
  std::optional<DpiAwareness> dpiAwareness(WindowHandle window) override {
    switch (desk_.awarenessOf(window)) {
      case sim::DpiAwareness::Unaware:
        return DpiAwareness::Unaware;
      case sim::DpiAwareness::System:
        return DpiAwareness::System;
      case sim::DpiAwareness::PerMonitorV2:
        return DpiAwareness::PerMonitorV2;
    }
    return std::nullopt;
  }
  bool mixedDpiHosting() override { return true; }
  void hang(WindowHandle window) override { desk_.setHung(window, true); }
  void resume(WindowHandle window) override { desk_.setHung(window, false); }
  platform::IconHandle makeIcon(int pixels) override { return desk_.makeIcon({pixels, pixels}); }
  WindowHandle makeTopLevelWithClassIcon(platform::IconHandle smallIcon) override {
    const WindowHandle w = desk_.createWindow(
        desk_.ownProcess(), "", platform::kWsPopup | platform::kWsBorder | platform::kWsVisible);
    desk_.window(w)->classSmallIcon = smallIcon.value();
    return w;
  }

  void pressKey(int virtualKey) override { desk_.pressKey(virtualKey); }
  void releaseKey(int virtualKey) override { desk_.releaseKey(virtualKey); }
  void pump(int milliseconds) override { desk_.advance(milliseconds); }
  int systemTimerTicks(unsigned id) override { return events_.ticks[id]; }
  std::vector<WindowHandle> changedWindows() override { return events_.changedWindows; }
  int hotKeysHeard(unsigned id) override { return events_.hotKeys[id]; }
  void holdHotKeyElsewhere(unsigned modifiers, int virtualKey) override {
    desk_.holdHotKeyElsewhere(modifiers, virtualKey);
  }
  void movePointer(platform::Point at) override { desk_.movePointer(at); }
  WindowHandle windowFromPoint(platform::Point at) override { return desk_.windowFromPoint(at); }

  std::string tempFolder() override {
    const std::string folder = "C:\\ContractTemp\\" + std::to_string(++folders_);
    desk_.files().addFolder(folder);
    return folder;
  }
  void makeFolder(const std::string& path) override { desk_.files().addFolder(path); }
  void writeFile(const std::string& path, const std::string& bytes) override {
    desk_.files().putFile(path, bytes);
  }
  std::vector<std::string> filesIn(const std::string& folder) override {
    return desk_.files().filesIn(folder);
  }
  void lockFile(const std::string& path) override {
    change(path, [](sim::SimFile& f) { f.locked = true; });
  }
  void unlockFile(const std::string& path) override {
    change(path, [](sim::SimFile& f) { f.locked = false; });
  }
  void hideFile(const std::string& path) override {
    change(path, [](sim::SimFile& f) { f.hidden = true; });
  }
  void makeReadOnly(const std::string& path) override {
    change(path, [](sim::SimFile& f) { f.readOnly = true; });
  }
  bool enforcesReadOnly() override { return true; }
  void failWriteStep(std::optional<WriteStep> step) override {
    std::optional<sim::WriteStep> simStep;
    if (step == WriteStep::createTemporary) simStep = sim::WriteStep::createTemporary;
    if (step == WriteStep::write) simStep = sim::WriteStep::write;
    if (step == WriteStep::replace) simStep = sim::WriteStep::replace;
    desk_.files().failWriteStep(simStep);
  }

  StartableProgram startableProgram() override {
    return {std::string(kSystemFolder) + "\\cmd.exe", "cmd", "cmd.exe /c exit 0"};
  }
  void setVariable(const std::string& name, const std::string& value) override {
    desk_.setEnvironment(name, value);
  }
  // ISO 8859-1, the simulated code page.
  unsigned ansiCodePage() override { return 28591; }

 private:
  template <typename Change>
  void change(const std::string& path, Change how) {
    std::optional<sim::SimFile> f = desk_.files().file(path);
    if (!f) return;
    how(*f);
    desk_.files().putFile(path, f->bytes, *f);
  }

  TickCounter events_;
  platform::ControlSet controls_;
  sim::SimDesktop desk_;
  int folders_ = 0;
};

}  // namespace

std::unique_ptr<ContractEnv> makeEnv() {
  return std::make_unique<SimEnv>();
}

}  // namespace vitrolux::contract
