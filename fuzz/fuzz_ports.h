// The ports the fuzz targets need, in memory and deterministic: files that
// hold what the input says, a single-byte code page, and programs that exist
// when the input says so.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/file_port.h"
#include "platform/process_port.h"
#include "platform/text_port.h"

namespace vitrolux::fuzz {

class MemoryFiles final : public platform::FilePort {
 public:
  std::map<std::string, std::string> files;

  std::string applicationFolder() override { return "C:\\Fuzz"; }
  bool isOrdinaryFile(const std::string& path) override { return files.count(path) != 0; }
  std::optional<std::string> readFile(const std::string& path, std::size_t maxBytes) override {
    auto it = files.find(path);
    if (it == files.end()) return std::nullopt;
    return it->second.substr(0, maxBytes);
  }
  bool replaceFile(const std::string& path, const std::string& bytes) override {
    files[path] = bytes;
    return true;
  }
};

// ISO 8859-1: every byte is the code point of the same value, and nothing
// beyond U+00FF fits.
class Latin1Text final : public platform::TextPort {
 public:
  std::optional<std::string> toAnsi(const std::string& utf8) override;
  std::string fromAnsi(const std::string& ansi) override;
};

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
  std::optional<platform::ProcessId> startProcess(const std::string& program,
                                                  const std::string& commandLine) override {
    started.emplace_back(program, commandLine);
    return platform::ProcessId(42);
  }
  bool processEnded(platform::ProcessId) override { return false; }
  void forgetProcess(platform::ProcessId) override {}
  std::optional<std::string> environment(const std::string&) override { return std::nullopt; }
  bool anotherInstanceRunning() override { return false; }
};

// Stops the run with a message when a property does not hold: libFuzzer
// then keeps the input that broke it.
[[noreturn]] void fail(const char* what, const std::string& input);

inline void check(bool holds, const char* what, const std::string& input) {
  if (!holds) fail(what, input);
}

}  // namespace vitrolux::fuzz
