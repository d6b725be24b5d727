// The launch rule on any command line, with programs that exist as the input
// says: the input is the command line, then a NUL, then the names of
// existing programs, one a line.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "embed/command_line.h"
#include "fuzz_ports.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using vitrolux::fuzz::check;
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::size_t nul = input.find('\0');
  const std::string line = input.substr(0, nul);
  vitrolux::fuzz::ListedPrograms programs;
  if (nul != std::string::npos) {
    std::size_t at = nul + 1;
    while (at <= input.size()) {
      const std::size_t end = std::min(input.find('\n', at), input.size());
      programs.existing.insert(input.substr(at, end - at));
      at = end + 1;
    }
  }

  const auto pid = vitrolux::embed::launch(programs, line).process;

  // The system is asked about one name at most, a non-empty part of the
  // line; nothing starts unless that name is a program.
  check(programs.asked.size() <= 1, "one question at most", input);
  if (programs.asked.empty()) {
    check(!pid && programs.started.empty(), "nothing starts unasked", input);
    return 0;
  }
  const std::string& name = programs.asked.front();
  check(!name.empty(), "the name is not empty", input);
  check(line.find(name) != std::string::npos, "the name is part of the line", input);
  const std::size_t start = line.find_first_not_of(" \t");
  if (line[start] != '"') {
    check(name.front() != ' ' && name.front() != '\t', "an unquoted name does not start blank",
          input);
    check(name.find('"') != 0, "an unquoted name is not a quoted one", input);
  }
  const bool exists = programs.existing.count(name) != 0;
  check(pid.has_value() == exists, "a process starts exactly for a program", input);
  if (!exists) {
    check(programs.started.empty(), "a missing program starts nothing", input);
    return 0;
  }
  check(programs.started.size() == 1, "one start", input);
  const auto& [program, commandLine] = programs.started.front();
  check(program == "C:\\Found\\" + name, "the program found is the one started", input);
  const std::string quotedProgram = "\"" + program + "\"";
  check(commandLine.compare(0, quotedProgram.size(), quotedProgram) == 0,
        "the command line starts with the program in quotes", input);
  check(commandLine.size() == quotedProgram.size() || commandLine[quotedProgram.size()] == ' ',
        "arguments follow a blank", input);
  return 0;
}
