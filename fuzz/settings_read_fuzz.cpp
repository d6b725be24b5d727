// The settings reader on any file content: the encoding is told apart, the
// first field taken, and a value that can be stored comes back as itself.
#include <cstddef>
#include <cstdint>
#include <string>

#include "config/settings_text.h"
#include "config/store.h"
#include "fuzz_ports.h"
#include "sim/sim_files.h"
#include "sim/sim_text.h"

namespace {

using vitrolux::fuzz::check;

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}

// A value that a settings file holds unchanged: one unquoted field.
bool storable(const std::string& value) {
  if (value.empty() || isBlank(value.front()) || isBlank(value.back())) return false;
  if (value.front() == '"') return false;
  return value.find_first_of(",\r\n") == std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  vitrolux::sim::SimFiles files;
  vitrolux::sim::SimText text;
  vitrolux::config::SettingsStore store(files, text);
  const std::string path = store.settingsPath("config.txt");
  files.putFile(path, input);

  const std::string value = store.readCfg(path);
  check(vitrolux::config::isUtf8(value), "the value is valid UTF-8", input);
  const std::string decoded = store.decodeSettings(input.substr(0, 64 * 1024));
  const std::size_t start = decoded.find_first_not_of(" \t");
  const bool quoted = start != std::string::npos && decoded[start] == '"';
  if (!quoted) {
    check(value.find_first_of("\r\n,") == std::string::npos, "an unquoted field is one item",
          input);
  }

  if (storable(value)) {
    const std::string copy = store.settingsPath("copy.txt");
    check(store.writeCfg(copy, value), "a short value is written", input);
    check(store.readCfg(copy) == value, "what is written reads back as itself", input);
  }
  return 0;
}
