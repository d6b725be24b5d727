#include "embed/command_line.h"

#include <algorithm>
#include <cctype>

namespace vitrolux::embed {
namespace {

bool endsWithExe(std::string_view text) {
  constexpr std::string_view kExe = ".exe";
  if (text.size() < kExe.size()) return false;
  const std::string_view tail = text.substr(text.size() - kExe.size());
  return std::equal(tail.begin(), tail.end(), kExe.begin(), [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) == b;
  });
}

bool isPathLike(std::string_view text) {
  return text.find_first_of("\\/:") != std::string_view::npos;
}

std::string trimLeft(std::string_view text) {
  const std::size_t at = text.find_first_not_of(" \t");
  return at == std::string_view::npos ? std::string() : std::string(text.substr(at));
}

std::string quoted(const std::string& program, const std::string& arguments) {
  std::string line = "\"" + program + "\"";
  if (!arguments.empty()) line += " " + arguments;
  return line;
}

}  // namespace

// Which part of the line is the program:
// - a quoted first part is the program, as the quotes say;
// - otherwise the shortest part that ends in ".exe" at a blank or at the end
//   of the line (C:\My Apps\tool.exe -x starts tool.exe, never C:\My.exe);
// - otherwise a bare first word is a program name found on the search path
//   (explorer C:\Windows\...\img0.jpg);
// - otherwise the whole line is one path (C:\Program Files\App\app), never a
//   shorter part of it.
// The part chosen must name an existing program, or nothing starts.
std::optional<LaunchTarget> resolveCommandLine(platform::ProcessPort& processes,
                                               const std::string& commandLine) {
  const std::string line = trimLeft(commandLine);
  if (line.empty()) return std::nullopt;

  std::string name;
  std::string arguments;
  if (line.front() == '"') {
    const std::size_t close = line.find('"', 1);
    if (close == std::string::npos) {
      name = line.substr(1);
    } else {
      name = line.substr(1, close - 1);
      arguments = trimLeft(std::string_view(line).substr(close + 1));
    }
  } else {
    std::size_t end = std::string::npos;
    for (std::size_t at = 0; at <= line.size(); ++at) {
      if (at == line.size() || line[at] == ' ' || line[at] == '\t') {
        if (endsWithExe(std::string_view(line).substr(0, at))) {
          end = at;
          break;
        }
      }
    }
    if (end == std::string::npos) {
      const std::size_t blank = line.find_first_of(" \t");
      const std::string first = line.substr(0, blank);
      end = (blank == std::string::npos || !isPathLike(first)) ? first.size() : line.size();
    }
    name = line.substr(0, end);
    if (end < line.size()) arguments = trimLeft(std::string_view(line).substr(end));
  }
  if (name.empty()) return std::nullopt;

  const std::optional<std::string> program = processes.findProgram(name);
  if (!program) return std::nullopt;
  return LaunchTarget{*program, quoted(*program, arguments)};
}

std::optional<platform::ProcessId> launch(platform::ProcessPort& processes,
                                          const std::string& commandLine) {
  const std::optional<LaunchTarget> target = resolveCommandLine(processes, commandLine);
  if (!target) return std::nullopt;
  return processes.startProcess(target->program, target->commandLine);
}

}  // namespace vitrolux::embed
