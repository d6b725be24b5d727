// Simulated files: settings files with the attributes and sharing locks that
// matter to the settings store, folders that exist or refuse new files, and
// the application folder. Stands on its own: the settings store's tests need
// nothing else.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "ports/file_port.h"

namespace vitrolux::sim {

struct SimFile {
  std::string bytes;
  bool hidden = false;
  bool system = false;
  bool readOnly = false;
  // Held open by another process without sharing: cannot be read, replaced
  // or deleted.
  bool locked = false;
};

// The steps of replacing a file, each of which can fail on its own: the new
// file beside the old one cannot be created (a full or read-only folder),
// the bytes cannot all be written (a full disk), or the old file refuses
// to be replaced (another program holds it).
enum class WriteStep { createTemporary, write, replace };

// ASCII case folding: enough for the captions and paths the tests use, and
// bytes of multi-byte UTF-8 sequences pass unchanged.
std::string foldCase(std::string_view text);

class SimFiles final : public platform::FilePort {
 public:
  void putFile(const std::string& path, const std::string& bytes, SimFile attributes = {});
  void removeFile(const std::string& path);
  std::optional<SimFile> file(const std::string& path) const;
  bool exists(const std::string& path) const;
  // Whether a folder exists (see addFolder).
  bool isFolder(const std::string& path) const;
  void setFolderReadOnly(const std::string& folder, bool readOnly);
  // An empty folder. Folders also exist implicitly: the application folder
  // and every folder that holds a file.
  void addFolder(const std::string& folder);
  // Names of the files directly in a folder, in no particular order.
  std::vector<std::string> filesIn(const std::string& folder) const;
  void setApplicationFolder(const std::string& folder);
  // Every later replaceFile fails at this step, until cleared with nothing.
  void failWriteStep(std::optional<WriteStep> step) { failingStep_ = step; }

  // platform::FilePort
  std::string applicationFolder() override;
  bool isOrdinaryFile(const std::string& path) override;
  std::optional<std::string> readFile(const std::string& path, std::size_t maxBytes) override;
  bool replaceFile(const std::string& path, const std::string& bytes) override;

 private:
  struct Entry {
    std::string path;  // as first given, for listings
    SimFile file;
  };
  bool folderExists(const std::string& key) const;

  std::map<std::string, Entry> files_;  // by path key
  std::set<std::string> folders_;       // added explicitly, by path key
  std::set<std::string> readOnlyFolders_;
  std::string applicationFolder_ = "C:\\VitroluxTest";
  std::optional<WriteStep> failingStep_;
};

}  // namespace vitrolux::sim
