// Turning a program entry's command line into the program to start. The
// command line is never handed to the system to guess at: an unquoted path
// with blanks such as C:\Program Files\App\app.exe could otherwise start a
// planted C:\Program.exe.
#pragma once

#include <optional>
#include <string>

#include "ports/process_port.h"

namespace vitrolux::embed {

struct LaunchTarget {
  std::string program;      // the program file to start
  std::string commandLine;  // the whole command line, program first, quoted
};

// The program the command line names (model::splitCommandLine), when it
// names an existing one.
std::optional<LaunchTarget> resolveCommandLine(platform::ProcessPort& processes,
                                               const std::string& commandLine);

// The folder that holds a program file.
std::string folderOf(const std::string& program);

// Starts the command line's program as Explorer starts one: in the options'
// folder, or in the program's own folder when they name none. The new
// process, or why nothing started.
platform::StartResult launch(platform::ProcessPort& processes, const std::string& commandLine,
                             const platform::StartOptions& options = {});

}  // namespace vitrolux::embed
