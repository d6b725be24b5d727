// Files: the application folder and the small settings files in it.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace vitrolux::platform {

class FilePort {
 public:
  virtual ~FilePort() = default;

  // The folder of the running executable, without a trailing backslash.
  virtual std::string applicationFolder() = 0;
  // An ordinary file: exists, and is not a folder, hidden or system file.
  virtual bool isOrdinaryFile(const std::string& path) = 0;
  // Up to maxBytes bytes from the start of the file; nothing when it cannot
  // be opened for reading.
  virtual std::optional<std::string> readFile(const std::string& path, std::size_t maxBytes) = 0;
  // Writes the bytes to a new file in the same folder and only then puts it
  // in place of the old one. False, with the old file as it was, when any
  // step failed.
  virtual bool replaceFile(const std::string& path, const std::string& bytes) = 0;
};

}  // namespace vitrolux::platform
