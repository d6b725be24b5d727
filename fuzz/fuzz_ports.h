// What the fuzz targets need besides the simulated desktop's files and code
// page (tests/sim): programs that exist when the input says so, and a way to
// stop at a broken property.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "ports/process_port.h"

namespace vitrolux::fuzz {

// Programs exist exactly when their name is in `existing`; each question is
// kept, in order.
class ListedPrograms final : public platform::ProcessPort {
 public:
  std::set<std::string> existing;
  std::vector<std::string> asked;
  std::vector<std::pair<std::string, std::string>> started;

  std::optional<std::string> findProgram(const std::string& name) override {
    asked.push_back(name);
    if (existing.count(name) == 0) return std::nullopt;
    return "C:\\Found\\" + name;
  }
  platform::StartResult startProcess(const std::string& program, const std::string& commandLine,
                                     const platform::StartOptions&) override {
    started.emplace_back(program, commandLine);
    return {platform::ProcessId(42)};
  }
  bool processEnded(platform::ProcessId) override { return false; }
  void forgetProcess(platform::ProcessId) override {}
  std::vector<platform::ProcessId> processTree(platform::ProcessId root) override {
    return {root};
  }
  std::optional<std::string> environment(const std::string&) override { return std::nullopt; }
  bool anotherInstanceRunning() override { return false; }
  void releaseInstance() override {}
};

// Stops the run with a message when a property does not hold: libFuzzer
// then keeps the input that broke it.
[[noreturn]] void fail(const char* what, const std::string& input);

inline void check(bool holds, const char* what, const std::string& input) {
  if (!holds) fail(what, input);
}

}  // namespace vitrolux::fuzz
