// The simulated system around the windows: processes and installed
// programs, the global keyboard and the environment.
#include <algorithm>

#include "sim/sim_impl.h"

namespace vitrolux::sim {

namespace {

constexpr std::uint32_t kOwnPid = 4242;
constexpr std::uint32_t kPidStep = 4;

bool isPathLike(const std::string& name) {
  return name.find_first_of("\\/:") != std::string::npos;
}

std::string programKey(const std::string& path) {
  std::string key = foldCase(path);
  std::replace(key.begin(), key.end(), '/', '\\');
  return key;
}

}  // namespace

// ---- Processes --------------------------------------------------------------

ProcessId SimDesktop::ownProcess() const {
  return ProcessId{kOwnPid};
}

ProcessId SimDesktop::newProcess() {
  const ProcessId pid{impl_->nextPid};
  impl_->nextPid += kPidStep;
  impl_->processes.insert(pid.value());
  return pid;
}

bool SimDesktop::processAlive(ProcessId process) const {
  if (process == ownProcess()) return !ended_;
  return impl_->processes.count(process.value()) != 0;
}

void SimDesktop::endProcess(ProcessId process) {
  if (process == ownProcess()) {
    endProgram();
    return;
  }
  impl_->processes.erase(process.value());
  // A console program's host goes with it, and its console with the host.
  if (const auto host = impl_->consoleHosts.find(process.value());
      host != impl_->consoleHosts.end()) {
    const ProcessId console{host->second};
    impl_->consoleHosts.erase(host);
    endProcess(console);
  }
  std::vector<WindowHandle> gone;
  for (const auto& [value, w] : impl_->windows) {
    if (w.process == process) gone.push_back(w.handle);
  }
  for (WindowHandle h : gone) impl_->destroyTree(h);
}

void SimDesktop::installProgram(const std::string& path, Program program) {
  impl_->programs[programKey(path)] = std::move(program);
  if (!files_.exists(path)) files_.putFile(path, "MZ");
}

void SimDesktop::addToSearchPath(const std::string& folder) {
  impl_->searchPath.push_back(folder);
  files_.addFolder(folder);
}

std::optional<std::string> SimDesktop::findProgram(const std::string& name) {
  auto exists = [&](const std::string& path) { return files_.exists(path); };
  if (name.empty()) return std::nullopt;
  if (isPathLike(name)) {
    if (exists(name)) return name;
    if (exists(name + ".exe")) return name + ".exe";
    return std::nullopt;
  }
  for (const std::string& folder : impl_->searchPath) {
    const std::string base = folder.empty() || folder.back() == '\\' ? folder : folder + "\\";
    if (exists(base + name)) return base + name;
    if (exists(base + name + ".exe")) return base + name + ".exe";
  }
  return std::nullopt;
}

platform::StartResult SimDesktop::startProcess(const std::string& program,
                                               const std::string& commandLine,
                                               const platform::StartOptions& options) {
  auto it = impl_->programs.find(programKey(program));
  if (it == impl_->programs.end()) return {std::nullopt, platform::StartFailure::Refused};
  if (it->second.needsElevation) return {std::nullopt, platform::StartFailure::NeedsElevation};
  platform::StartOptions started = options;
  // A folder that does not exist: the program's own, as the port promises.
  if (!files_.isFolder(started.folder)) {
    const std::size_t slash = program.find_last_of("\\/");
    started.folder = slash == std::string::npos ? std::string() : program.substr(0, slash);
  }
  const ProcessId pid = spawn(it->second, program, ownProcess());
  launches_.push_back(Launch{program, commandLine, pid, started});
  impl_->kept.insert(pid.value());
  return {pid};
}

ProcessId SimDesktop::spawn(const Program& what, const std::string& path, ProcessId parent) {
  const ProcessId pid = newProcess();
  impl_->parents[pid.value()] = parent.value();
  if (what.elevated) impl_->higherRights.insert(pid.value());
  if (what.exitAfterMs > 0) {
    impl_->pendingExits.push_back(
        Impl::PendingExit{now_ + what.exitAfterMs, impl_->nextArming++, pid});
  }
  if (what.console) {
    // Windows' console host is a process of its own, started for the
    // program; its window is the console.
    const ProcessId host = newProcess();
    impl_->parents[host.value()] = pid.value();
    impl_->consoleHosts[pid.value()] = host.value();
    const WindowHandle console = createWindow(host, path);
    window(console)->className = "ConsoleWindowClass";
  }
  if (what.opensWindow) {
    if (what.windowDelayMs <= 0) {
      makeProgramWindow(pid,
                        ProgramWindow{.caption = what.caption, .style = what.style, .rect = what.rect});
    } else {
      impl_->pendingWindows.push_back(
          Impl::PendingWindow{now_ + what.windowDelayMs, impl_->nextArming++, pid, what});
    }
  }
  // The further windows, each at its moment; an owner by its number.
  for (std::size_t i = 0; i < what.windows.size(); ++i) {
    const ProgramWindow made = what.windows[i];
    const int number = static_cast<int>(i);
    after(made.createAtMs, [this, pid, made, number] {
      if (!processAlive(pid)) return;
      const auto owner = impl_->furtherWindows.find({pid.value(), made.owner});
      const WindowHandle handle = makeProgramWindow(
          pid, made, owner == impl_->furtherWindows.end() ? WindowHandle{} : owner->second);
      impl_->furtherWindows[{pid.value(), number}] = handle;
      if (made.showAtMs > 0) {
        after(made.showAtMs - made.createAtMs, [this, handle] {
          SimWindow* w = window(handle);
          if (w == nullptr || (w->style & platform::kWsVisible) != 0) return;
          w->style |= platform::kWsVisible;
          reportWindowChange(handle);
        });
      }
      if (made.closeAtMs > 0) {
        after(made.closeAtMs - made.createAtMs, [this, handle] { destroyWindow(handle); });
      }
    });
  }
  if (!what.launches.empty()) {
    auto child = impl_->programs.find(programKey(what.launches));
    if (child != impl_->programs.end()) spawn(child->second, what.launches, pid);
  }
  return pid;
}

std::vector<ProcessId> SimDesktop::processTree(ProcessId root) {
  // Up the recorded starters from each running process; they stay known
  // after they have ended.
  auto startedFrom = [&](std::uint32_t at) {
    while (at != root.value()) {
      const auto parent = impl_->parents.find(at);
      if (parent == impl_->parents.end()) return false;
      at = parent->second;
    }
    return true;
  };
  std::vector<ProcessId> tree;
  for (const std::uint32_t pid : impl_->processes) {
    if (startedFrom(pid)) tree.push_back(ProcessId{pid});
  }
  return tree;
}

WindowHandle SimDesktop::makeProgramWindow(ProcessId process, const ProgramWindow& made,
                                           WindowHandle owner) {
  const WindowHandle handle = createWindow(process, made.caption, made.style, made.rect);
  SimWindow* w = window(handle);
  w->className = made.className;
  w->exStyle |= made.exStyle;
  w->owner = owner;
  w->cloaked = made.cloaked;
  if (made.state != platform::WindowState::Normal) setWindowState(handle, made.state);
  impl_->programWindows[process.value()].push_back(handle);
  return handle;
}

std::vector<WindowHandle> SimDesktop::windowsOf(ProcessId process) const {
  const auto it = impl_->programWindows.find(process.value());
  return it == impl_->programWindows.end() ? std::vector<WindowHandle>{} : it->second;
}

void SimDesktop::setHigherRights(ProcessId process, bool higher) {
  if (higher) {
    impl_->higherRights.insert(process.value());
  } else {
    impl_->higherRights.erase(process.value());
  }
}

bool SimDesktop::processEnded(ProcessId process) {
  return impl_->kept.count(process.value()) != 0 && !processAlive(process);
}

void SimDesktop::forgetProcess(ProcessId process) {
  impl_->kept.erase(process.value());
}

std::size_t SimDesktop::keptProcesses() const {
  return impl_->kept.size();
}

bool SimDesktop::anotherInstanceRunning() {
  return impl_->anotherInstance;
}
void SimDesktop::setAnotherInstanceRunning(bool running) {
  impl_->anotherInstance = running;
}

void SimDesktop::releaseInstance() {
  impl_->instanceReleased = true;
}

bool SimDesktop::instanceReleased() const {
  return impl_->instanceReleased;
}

// ---- Keyboard -----------------------------------------------------------------

std::optional<std::uint32_t> SimDesktop::lastInputTime() {
  return impl_->lastInput;
}

namespace {

constexpr int kVkShift = 0x10;
constexpr int kVkMenu = 0x12;
constexpr int kVkLWin = 0x5B;
constexpr int kVkRWin = 0x5C;

bool isModifierKey(int virtualKey) {
  return virtualKey == kVkShift || virtualKey == platform::kVkControl || virtualKey == kVkMenu ||
         virtualKey == kVkLWin || virtualKey == kVkRWin;
}

}  // namespace

void SimDesktop::pressKey(int virtualKey) {
  Impl::KeyState& k = impl_->keys[virtualKey];
  const bool repeat = k.down;
  k.down = true;
  k.pressedSinceQuery = true;
  impl_->lastInput = static_cast<std::uint32_t>(now_);
  if (repeat || isModifierKey(virtualKey)) return;
  auto down = [&](int key) { return impl_->keys[key].down; };
  unsigned modifiers = 0;
  if (down(platform::kVkControl)) modifiers |= platform::kModControl;
  if (down(kVkMenu)) modifiers |= platform::kModAlt;
  if (down(kVkShift)) modifiers |= platform::kModShift;
  if (down(kVkLWin) || down(kVkRWin)) modifiers |= platform::kModWin;
  for (const Impl::HotKey& hotKey : impl_->hotKeys) {
    if (hotKey.modifiers != modifiers || hotKey.virtualKey != virtualKey) continue;
    // The system takes the chord: it goes to the hot key's window alone.
    if (hotKey.frames && !ended_ && events_ != nullptr) events_->onHotKey(hotKey.id);
    return;
  }
}

void SimDesktop::pressChord(unsigned modifiers, int virtualKey) {
  const std::pair<unsigned, int> order[] = {{platform::kModControl, platform::kVkControl},
                                            {platform::kModAlt, kVkMenu},
                                            {platform::kModShift, kVkShift},
                                            {platform::kModWin, kVkLWin}};
  for (const auto& [bit, key] : order) {
    if ((modifiers & bit) != 0) pressKey(key);
  }
  pressKey(virtualKey);
  releaseKey(virtualKey);
  for (const auto& [bit, key] : order) {
    if ((modifiers & bit) != 0) releaseKey(key);
  }
}

bool SimDesktop::registerHotKey(unsigned id, unsigned modifiers, unsigned virtualKey) {
  if (window(impl_->frame) == nullptr || ended_) return false;
  const int key = static_cast<int>(virtualKey);
  for (const Impl::HotKey& hotKey : impl_->hotKeys) {
    if (hotKey.modifiers == modifiers && hotKey.virtualKey == key) return false;
  }
  impl_->hotKeys.push_back(Impl::HotKey{id, modifiers, key, true});
  return true;
}

void SimDesktop::unregisterHotKey(unsigned id) {
  auto& hotKeys = impl_->hotKeys;
  hotKeys.erase(std::remove_if(hotKeys.begin(), hotKeys.end(),
                               [&](const Impl::HotKey& h) { return h.frames && h.id == id; }),
                hotKeys.end());
}

void SimDesktop::holdHotKeyElsewhere(unsigned modifiers, int virtualKey) {
  impl_->hotKeys.push_back(Impl::HotKey{0, modifiers, virtualKey, false});
}

bool SimDesktop::frameHoldsHotKey(unsigned modifiers, int virtualKey) const {
  return std::any_of(impl_->hotKeys.begin(), impl_->hotKeys.end(), [&](const Impl::HotKey& h) {
    return h.frames && h.modifiers == modifiers && h.virtualKey == virtualKey;
  });
}

void SimDesktop::releaseKey(int virtualKey) {
  impl_->keys[virtualKey].down = false;
  impl_->lastInput = static_cast<std::uint32_t>(now_);
}

int SimDesktop::keyStateQueries() const {
  return impl_->keyStateQueries;
}

std::int16_t SimDesktop::getAsyncKeyState(int virtualKey) {
  ++impl_->keyStateQueries;
  auto it = impl_->keys.find(virtualKey);
  if (it == impl_->keys.end()) return 0;
  std::uint16_t state = 0;
  if (it->second.down) state |= 0x8000u;
  if (it->second.pressedSinceQuery) state |= 0x0001u;
  // Asking clears "pressed since the last query".
  it->second.pressedSinceQuery = false;
  return static_cast<std::int16_t>(state);
}

// ---- Environment --------------------------------------------------------------

std::optional<std::string> SimDesktop::environment(const std::string& name) {
  auto it = impl_->environment.find(foldCase(name));
  if (it == impl_->environment.end()) return std::nullopt;
  return it->second.second;
}

void SimDesktop::setEnvironment(const std::string& name, std::optional<std::string> value) {
  if (value) {
    impl_->environment[foldCase(name)] = {name, *value};
  } else {
    impl_->environment.erase(foldCase(name));
  }
}

}  // namespace vitrolux::sim
