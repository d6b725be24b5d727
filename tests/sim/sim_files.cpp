// Simulated files and folders.
#include "sim/sim_files.h"

#include <algorithm>

namespace vitrolux::sim {
namespace {

// The key under which a path is stored: backslashes, no trailing separator,
// case folded.
std::string pathKey(std::string_view path) {
  std::string key = foldCase(path);
  std::replace(key.begin(), key.end(), '/', '\\');
  while (key.size() > 1 && key.back() == '\\') key.pop_back();
  return key;
}

// The folder part of a path key ("" for a bare name).
std::string folderOf(const std::string& key) {
  const std::size_t slash = key.rfind('\\');
  return slash == std::string::npos ? std::string{} : key.substr(0, slash);
}

}  // namespace

std::string foldCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

bool SimFiles::folderExists(const std::string& key) const {
  if (key.empty()) return false;
  // A drive root, "c:".
  if (key.size() == 2 && key[1] == ':') return true;
  if (folders_.count(key) != 0 || pathKey(applicationFolder_) == key) return true;
  // A folder that holds a file or a folder, at any depth.
  const std::string prefix = key + "\\";
  auto holds = [&](const std::string& other) {
    return other.compare(0, prefix.size(), prefix) == 0;
  };
  return std::any_of(files_.begin(), files_.end(), [&](const auto& f) { return holds(f.first); }) ||
         std::any_of(folders_.begin(), folders_.end(), holds) ||
         holds(pathKey(applicationFolder_) + "\\");
}

std::string SimFiles::applicationFolder() {
  return applicationFolder_;
}

void SimFiles::setApplicationFolder(const std::string& folder) {
  std::string f = folder;
  while (f.size() > 1 && (f.back() == '\\' || f.back() == '/')) f.pop_back();
  applicationFolder_ = f;
}

void SimFiles::putFile(const std::string& path, const std::string& bytes, SimFile attributes) {
  attributes.bytes = bytes;
  files_[pathKey(path)] = Entry{path, std::move(attributes)};
}

void SimFiles::removeFile(const std::string& path) {
  files_.erase(pathKey(path));
}

std::optional<SimFile> SimFiles::file(const std::string& path) const {
  auto it = files_.find(pathKey(path));
  if (it == files_.end()) return std::nullopt;
  return it->second.file;
}

bool SimFiles::exists(const std::string& path) const {
  return files_.count(pathKey(path)) != 0;
}

bool SimFiles::isFolder(const std::string& path) const {
  return folderExists(pathKey(path));
}

void SimFiles::setFolderReadOnly(const std::string& folder, bool readOnly) {
  if (readOnly) {
    readOnlyFolders_.insert(pathKey(folder));
  } else {
    readOnlyFolders_.erase(pathKey(folder));
  }
}

void SimFiles::addFolder(const std::string& folder) {
  folders_.insert(pathKey(folder));
}

std::vector<std::string> SimFiles::filesIn(const std::string& folder) const {
  const std::string key = pathKey(folder);
  std::vector<std::string> names;
  for (const auto& [fileKey, entry] : files_) {
    if (folderOf(fileKey) != key) continue;
    const std::size_t slash = entry.path.find_last_of("\\/");
    names.push_back(slash == std::string::npos ? entry.path : entry.path.substr(slash + 1));
  }
  return names;
}

bool SimFiles::isOrdinaryFile(const std::string& path) {
  auto it = files_.find(pathKey(path));
  return it != files_.end() && !it->second.file.hidden && !it->second.file.system;
}

std::optional<std::string> SimFiles::readFile(const std::string& path, std::size_t maxBytes) {
  auto it = files_.find(pathKey(path));
  if (it == files_.end() || it->second.file.locked) return std::nullopt;
  return it->second.file.bytes.substr(0, maxBytes);
}

bool SimFiles::replaceFile(const std::string& path, const std::string& bytes) {
  const std::string key = pathKey(path);
  const std::string folder = folderOf(key);
  // The new content is written beside the old file first: the folder must
  // exist and take new files.
  if (!folderExists(folder) || readOnlyFolders_.count(folder) != 0 ||
      failingStep_ == WriteStep::createTemporary) {
    return false;
  }
  if (folderExists(key)) return false;  // a folder of that name
  const std::string temporary = path + ".~tmp";
  putFile(temporary, {});
  // A failed step takes the new file away again and leaves the old one as
  // it was.
  auto fail = [&] {
    removeFile(temporary);
    return false;
  };
  if (failingStep_ == WriteStep::write) {
    // A short write: only part of the bytes arrived.
    files_[pathKey(temporary)].file.bytes = bytes.substr(0, bytes.size() / 2);
    return fail();
  }
  files_[pathKey(temporary)].file.bytes = bytes;
  auto it = files_.find(key);
  if (failingStep_ == WriteStep::replace ||
      (it != files_.end() && (it->second.file.locked || it->second.file.readOnly))) {
    return fail();
  }
  removeFile(temporary);
  if (it == files_.end()) {
    putFile(path, bytes);
  } else {
    it->second.file = SimFile{};  // the new file's attributes, not the old one's
    it->second.file.bytes = bytes;
  }
  return true;
}

}  // namespace vitrolux::sim
