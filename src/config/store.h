// The settings store: one value on the first line of a small text file in
// the application folder. Needs files and the ANSI code page, nothing else.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "model/program_entry.h"
#include "ports/file_port.h"
#include "ports/text_port.h"

namespace vitrolux::config {

// The first field of a settings file.
struct Field {
  std::string text;
  bool quoted = false;  // it stood in double quotes
};

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

  // A program entry stored in a settings file; an empty path when there is
  // none. An entry stored in quotes comes back whole, as written by
  // entryLine; one written by hand is split as it always was.
  model::ProgramEntry readEntry(const std::string& path);

  // The auto-load entry of "config.txt"; an empty path when there is none.
  model::ProgramEntry autoLoadEntry();

  // Settings bytes to UTF-8: UTF-8 or UTF-16 as a byte-order mark says;
  // without one, UTF-8 when the bytes are valid UTF-8 and not plain ASCII;
  // else the ANSI code page. The result is always valid UTF-8.
  std::string decodeSettings(const std::string& bytes);
  // UTF-8 to settings bytes: the ANSI code page when the text fits it and
  // reads back as itself, else UTF-8 behind a byte-order mark.
  std::string encodeSettings(const std::string& text);

 private:
  Field readField(const std::string& path);

  platform::FilePort& files_;
  platform::TextPort& text_;
};

// The first field of a settings text (already decoded to UTF-8): a quoted
// field is the text between its quotes, where two quotes in a row stand for
// one; otherwise everything up to the first comma or line end.
Field firstField(std::string_view text);

// The line that stores a program entry so that reading it gives the entry
// back whole: path "|" title as one writes it by hand, when that reads back
// unchanged; otherwise the whole entry in double quotes, each quote in it
// doubled (a quote in the arguments, a "|" in the title, a comma). Nothing
// when not even that reads back whole (a "|" outside the command line's
// quotes).
std::optional<std::string> entryLine(const model::ProgramEntry& entry);

// The entry a stored field holds.
model::ProgramEntry entryOfField(const Field& field);

}  // namespace vitrolux::config
