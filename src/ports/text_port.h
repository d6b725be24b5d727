// The system's ANSI code page, in which settings files are read and written
// by default. Text in the logic is UTF-8.
#pragma once

#include <optional>
#include <string>

namespace vitrolux::platform {

class TextPort {
 public:
  virtual ~TextPort() = default;

  // UTF-8 to the ANSI code page; nothing when a character has no exact
  // equivalent there.
  virtual std::optional<std::string> toAnsi(const std::string& utf8) = 0;
  virtual std::string fromAnsi(const std::string& ansi) = 0;
};

}  // namespace vitrolux::platform
