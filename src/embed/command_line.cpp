#include "embed/command_line.h"

#include "model/program_entry.h"

namespace vitrolux::embed {

std::optional<LaunchTarget> resolveCommandLine(platform::ProcessPort& processes,
                                               const std::string& commandLine) {
  const std::optional<model::CommandLineParts> parts = model::splitCommandLine(commandLine);
  if (!parts || parts->program.empty()) return std::nullopt;
  const std::optional<std::string> program = processes.findProgram(parts->program);
  if (!program) return std::nullopt;
  std::string line = "\"" + *program + "\"";
  if (!parts->arguments.empty()) line += " " + parts->arguments;
  return LaunchTarget{*program, line};
}

std::string folderOf(const std::string& program) {
  const std::size_t slash = program.find_last_of("\\/");
  if (slash == std::string::npos) return {};
  // A drive's root keeps its backslash: "C:" alone is that drive's current
  // folder, not its root.
  if (slash == 2 && program[1] == ':') return program.substr(0, 3);
  return program.substr(0, slash);
}

platform::StartResult launch(platform::ProcessPort& processes, const std::string& commandLine,
                             const platform::StartOptions& options) {
  const std::optional<LaunchTarget> target = resolveCommandLine(processes, commandLine);
  if (!target) return {std::nullopt, platform::StartFailure::NoProgram};
  platform::StartOptions start = options;
  if (start.folder.empty()) start.folder = folderOf(target->program);
  return processes.startProcess(target->program, target->commandLine, start);
}

}  // namespace vitrolux::embed
