// A program entry as the settings files and the option panel store it: a
// command line and the exact caption of the window to capture, joined by
// "|"; a bare command line is accepted too.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vitrolux::embed {

struct ProgramEntry {
  std::string path;                  // the command line
  std::optional<std::string> title;  // nothing for a bare command line
};

// Splits at every "|": the first piece is the path, the second the title,
// and any further pieces are dropped.
ProgramEntry splitEntry(std::string_view entry);

}  // namespace vitrolux::embed
