// Processes and the environment: finding and starting programs, environment
// variables, and whether this program already runs.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ports/types.h"

namespace vitrolux::platform {

class ProcessPort {
 public:
  virtual ~ProcessPort() = default;

  // The program file that a command line's first part names, found the way
  // the system finds programs: an existing path as given, the path with
  // ".exe" added, or a bare name on the program search path.
  virtual std::optional<std::string> findProgram(const std::string& name) = 0;
  // Starts a new process of the program file with the whole command line,
  // in the options' folder (the program's own folder when that one does not
  // exist), its window shown as they say. Returns the process identifier,
  // or why it did not start. The port keeps what it needs to tell whether
  // the process has ended until forgetProcess.
  virtual StartResult startProcess(const std::string& program, const std::string& commandLine,
                                   const StartOptions& options) = 0;
  // Whether a process started here has ended. False for one the port does
  // not know (never started here, or forgotten): nothing is claimed of it.
  virtual bool processEnded(ProcessId process) = 0;
  virtual void forgetProcess(ProcessId process) = 0;
  // The running processes among `root` and those it started, or that a
  // process it started started, as far as the system recorded who started
  // whom: a launcher that has ended since still counts as their starter.
  virtual std::vector<ProcessId> processTree(ProcessId root) = 0;
  virtual std::optional<std::string> environment(const std::string& name) = 0;
  // True when another instance of this executable was started earlier and
  // still runs; never true for the calling process itself.
  virtual bool anotherInstanceRunning() = 0;
  // From now on this process no longer counts as a running instance: a
  // later start of the program runs, although this process has not ended.
  virtual void releaseInstance() = 0;
};

}  // namespace vitrolux::platform
