// The settings store: one value on the first line of a small text file in
// the application folder. Needs files and the ANSI code page, nothing else.
#pragma once

#include <string>
#include <string_view>

#include "ports/file_port.h"
#include "ports/text_port.h"

namespace vitrolux::config {

class SettingsStore {
 public:
  SettingsStore(platform::FilePort& files, platform::TextPort& text) : files_(files), text_(text) {}

  // The application folder, a backslash and the file name.
  std::string settingsPath(std::string_view fileName);

  // The value stored in a settings file: its first field. The empty text for
  // a file that is missing, hidden, a folder, unreadable, locked or empty.
  std::string readCfg(const std::string& path);

  // Replaces the file's whole content with the value and CR LF. The old file
  // stays whole unless the new one was written completely. True on success;
  // false, with nothing written, for a value too long to be read back whole.
  bool writeCfg(const std::string& path, const std::string& value);

  // The auto-load entry of "config.txt", or the empty text.
  std::string autoLoadEntry();

  // Settings bytes to UTF-8: UTF-8 or UTF-16 as a byte-order mark says;
  // without one, UTF-8 when the bytes are valid UTF-8 and not plain ASCII;
  // else the ANSI code page. The result is always valid UTF-8.
  std::string decodeSettings(const std::string& bytes);
  // UTF-8 to settings bytes: the ANSI code page when the text fits it and
  // reads back as itself, else UTF-8 behind a byte-order mark.
  std::string encodeSettings(const std::string& text);

 private:
  platform::FilePort& files_;
  platform::TextPort& text_;
};

// The first field of a settings text (already decoded to UTF-8): a quoted
// field is the text between its quotes; otherwise everything up to the first
// comma or line end.
std::string firstField(std::string_view text);

}  // namespace vitrolux::config
