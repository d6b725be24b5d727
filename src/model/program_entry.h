// A program entry as the settings files and the option panel hold it: a
// command line and the exact caption of the window to capture, joined by
// "|"; a bare command line is accepted too. And which part of a command
// line is the program.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vitrolux::model {

struct ProgramEntry {
  std::string path;                  // the command line
  std::optional<std::string> title;  // nothing for a bare command line

  // The entry as one text, the path, "|" and the title, as the launch rules
  // search it.
  std::string text() const { return title ? path + "|" + *title : path; }
  friend bool operator==(const ProgramEntry&, const ProgramEntry&) = default;
};

// An entry as written by hand: split at every "|"; the first piece is the
// path, the second the title, and any further pieces are dropped.
ProgramEntry splitEntry(std::string_view entry);

// An entry that was stored in double quotes, which keep it whole: the path
// ends at the first "|" outside the quotes of its own command line, and the
// title is all the rest, "|" and all.
ProgramEntry splitQuotedEntry(std::string_view entry);

struct CommandLineParts {
  std::string program;    // as the line names it, without its quotes
  std::string arguments;  // what follows it, without the blanks between
  bool quoted = false;    // the line puts the program in quotes
};

// Which part of a command line is the program:
// - a quoted first part is the program, as the quotes say;
// - otherwise the shortest part that ends in ".exe" at a blank or at the end
//   of the line (C:\My Apps\tool.exe -x names tool.exe, never C:\My.exe);
// - otherwise a bare first word is a program name for the search path
//   (explorer C:\Windows\...\img0.jpg);
// - otherwise the whole line is one path (C:\Program Files\App\app), never a
//   shorter part of it.
// Nothing for a line of blanks.
std::optional<CommandLineParts> splitCommandLine(std::string_view line);

}  // namespace vitrolux::model
