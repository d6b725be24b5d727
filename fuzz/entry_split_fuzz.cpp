// Splitting a program entry: pieces never hold the separator, and they are
// the entry's own text in order.
#include <cstddef>
#include <cstdint>
#include <string>

#include "model/program_entry.h"
#include "fuzz_ports.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using vitrolux::fuzz::check;
  const std::string entry(reinterpret_cast<const char*>(data), size);
  const vitrolux::model::ProgramEntry split = vitrolux::model::splitEntry(entry);

  check(split.path.find('|') == std::string::npos, "the path holds no separator", entry);
  if (entry.find('|') == std::string::npos) {
    check(split.path == entry && !split.title, "a bare path is the whole entry", entry);
    return 0;
  }
  check(split.title.has_value(), "an entry with a separator has a title", entry);
  check(split.title->find('|') == std::string::npos, "the title holds no separator", entry);
  const std::string joined = split.path + "|" + *split.title;
  check(entry.compare(0, joined.size(), joined) == 0, "path, bar and title begin the entry", entry);
  check(joined.size() == entry.size() || entry[joined.size()] == '|',
        "only whole pieces are dropped", entry);
  return 0;
}
