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

std::optional<LaunchTarget> resolveCommandLine(platform::ProcessPort& processes,
                                               const std::string& commandLine);

// Starts the command line's program; the new process's identifier, or nothing
// when no program could be started.
std::optional<platform::ProcessId> launch(platform::ProcessPort& processes,
                                          const std::string& commandLine);

}  // namespace vitrolux::embed
