// The simulated system around the windows: processes and installed
// programs, the global keyboard, files with attributes and sharing locks, the
// environment, and the ANSI code page.
#include <algorithm>

#include "sim/sim_impl.h"

namespace vitrolux::sim {

namespace {

constexpr std::uint32_t kOwnPid = 4242;
constexpr std::uint32_t kPidStep = 4;

bool isPathLike(const std::string& name) {
  return name.find_first_of("\\/:") != std::string::npos;
}

}  // namespace

std::string foldCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

std::string pathKey(std::string_view path) {
  std::string key = foldCase(path);
  std::replace(key.begin(), key.end(), '/', '\\');
  while (key.size() > 1 && key.back() == '\\') key.pop_back();
  return key;
}

std::string folderOf(const std::string& key) {
  const std::size_t slash = key.rfind('\\');
  return slash == std::string::npos ? std::string{} : key.substr(0, slash);
}

bool SimDesktop::Impl::folderExists(const std::string& key) const {
  if (key.empty()) return false;
  // A drive root, "c:".
  if (key.size() == 2 && key[1] == ':') return true;
  if (folders.count(key) != 0 || pathKey(applicationFolder) == key) return true;
  for (const std::string& folder : searchPath) {
    if (pathKey(folder) == key) return true;
  }
  // A folder that holds a file or a folder, at any depth.
  const std::string prefix = key + "\\";
  auto holds = [&](const std::string& other) {
    return other.compare(0, prefix.size(), prefix) == 0;
  };
  return std::any_of(files.begin(), files.end(), [&](const auto& f) { return holds(f.first); }) ||
         std::any_of(folders.begin(), folders.end(), holds) ||
         holds(pathKey(applicationFolder) + "\\");
}

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
  std::vector<WindowHandle> gone;
  for (const auto& [value, w] : impl_->windows) {
    if (w.process == process) gone.push_back(w.handle);
  }
  for (WindowHandle h : gone) impl_->destroyTree(h);
}

void SimDesktop::installProgram(const std::string& path, Program program) {
  impl_->programs[pathKey(path)] = std::move(program);
  if (impl_->files.count(pathKey(path)) == 0) putFile(path, "MZ");
}

void SimDesktop::addToSearchPath(const std::string& folder) {
  impl_->searchPath.push_back(folder);
}

std::optional<std::string> SimDesktop::findProgram(const std::string& name) {
  auto exists = [&](const std::string& path) { return impl_->files.count(pathKey(path)) != 0; };
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

std::optional<ProcessId> SimDesktop::startProcess(const std::string& program,
                                                  const std::string& commandLine) {
  auto it = impl_->programs.find(pathKey(program));
  if (it == impl_->programs.end()) return std::nullopt;
  const Program what = it->second;
  const ProcessId pid = newProcess();
  launches_.push_back(Launch{program, commandLine, pid});
  if (what.opensWindow) {
    if (what.windowDelayMs <= 0) {
      createWindow(pid, what.caption, what.style, what.rect);
    } else {
      impl_->pendingWindows.push_back(
          Impl::PendingWindow{now_ + what.windowDelayMs, impl_->nextArming++, pid, what});
    }
  }
  return pid;
}

bool SimDesktop::anotherInstanceRunning() {
  return impl_->anotherInstance;
}
void SimDesktop::setAnotherInstanceRunning(bool running) {
  impl_->anotherInstance = running;
}

// ---- Keyboard -----------------------------------------------------------------

void SimDesktop::pressKey(int virtualKey) {
  Impl::KeyState& k = impl_->keys[virtualKey];
  k.down = true;
  k.pressedSinceQuery = true;
}

void SimDesktop::releaseKey(int virtualKey) {
  impl_->keys[virtualKey].down = false;
}

std::int16_t SimDesktop::getAsyncKeyState(int virtualKey) {
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

// ---- Files ----------------------------------------------------------------------

std::string SimDesktop::applicationFolder() {
  return impl_->applicationFolder;
}

void SimDesktop::setApplicationFolder(const std::string& folder) {
  std::string f = folder;
  while (f.size() > 1 && (f.back() == '\\' || f.back() == '/')) f.pop_back();
  impl_->applicationFolder = f;
}

void SimDesktop::putFile(const std::string& path, const std::string& bytes, SimFile attributes) {
  attributes.bytes = bytes;
  impl_->files[pathKey(path)] = Impl::FileEntry{path, std::move(attributes)};
}

void SimDesktop::removeFile(const std::string& path) {
  impl_->files.erase(pathKey(path));
}

std::optional<SimFile> SimDesktop::file(const std::string& path) const {
  auto it = impl_->files.find(pathKey(path));
  if (it == impl_->files.end()) return std::nullopt;
  return it->second.file;
}

void SimDesktop::setFolderReadOnly(const std::string& folder, bool readOnly) {
  if (readOnly) {
    impl_->readOnlyFolders.insert(pathKey(folder));
  } else {
    impl_->readOnlyFolders.erase(pathKey(folder));
  }
}

void SimDesktop::addFolder(const std::string& folder) {
  impl_->folders.insert(pathKey(folder));
}

std::vector<std::string> SimDesktop::filesIn(const std::string& folder) const {
  const std::string key = pathKey(folder);
  std::vector<std::string> names;
  for (const auto& [fileKey, entry] : impl_->files) {
    if (folderOf(fileKey) != key) continue;
    const std::size_t slash = entry.path.find_last_of("\\/");
    names.push_back(slash == std::string::npos ? entry.path : entry.path.substr(slash + 1));
  }
  return names;
}

bool SimDesktop::isOrdinaryFile(const std::string& path) {
  auto it = impl_->files.find(pathKey(path));
  return it != impl_->files.end() && !it->second.file.hidden && !it->second.file.system;
}

std::optional<std::string> SimDesktop::readFile(const std::string& path, std::size_t maxBytes) {
  auto it = impl_->files.find(pathKey(path));
  if (it == impl_->files.end() || it->second.file.locked) return std::nullopt;
  return it->second.file.bytes.substr(0, maxBytes);
}

bool SimDesktop::replaceFile(const std::string& path, const std::string& bytes) {
  const std::string key = pathKey(path);
  const std::string folder = folderOf(key);
  // The new content is written beside the old file first: the folder must
  // exist and take new files.
  if (!impl_->folderExists(folder) || impl_->readOnlyFolders.count(folder) != 0) return false;
  if (impl_->folderExists(key)) return false;  // a folder of that name
  auto it = impl_->files.find(key);
  if (it != impl_->files.end()) {
    if (it->second.file.locked || it->second.file.readOnly) return false;
    it->second.file = SimFile{};
    it->second.file.bytes = bytes;
    return true;
  }
  putFile(path, bytes);
  return true;
}

// ---- Text -----------------------------------------------------------------------

std::optional<std::string> SimDesktop::toAnsi(const std::string& utf8) {
  // Latin-1: every code point up to U+00FF is one byte of the same value.
  std::string out;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    if (b < 0x80) {
      out.push_back(static_cast<char>(b));
      ++i;
    } else if ((b == 0xC2 || b == 0xC3) && i + 1 < utf8.size() &&
               (static_cast<unsigned char>(utf8[i + 1]) & 0xC0) == 0x80) {
      const unsigned cp = ((b & 0x1Fu) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3Fu);
      out.push_back(static_cast<char>(cp));
      i += 2;
    } else {
      // Beyond U+00FF, or not UTF-8 at all: no exact equivalent.
      return std::nullopt;
    }
  }
  return out;
}

std::string SimDesktop::fromAnsi(const std::string& ansi) {
  std::string out;
  for (char ch : ansi) {
    const auto b = static_cast<unsigned char>(ch);
    if (b < 0x80) {
      out.push_back(ch);
    } else {
      out.push_back(static_cast<char>(0xC0 | (b >> 6)));
      out.push_back(static_cast<char>(0x80 | (b & 0x3F)));
    }
  }
  return out;
}

}  // namespace vitrolux::sim
