// Program entries: splitting one written by hand keeps pieces whole and in
// order; and whatever path and caption the option panel stores (the input,
// split at its first NUL) reads back exactly as it was, or is not stored.
#include <cstddef>
#include <cstdint>
#include <string>

#include "config/store.h"
#include "fuzz_ports.h"
#include "model/program_entry.h"

namespace {

using vitrolux::fuzz::check;

void checkSplit(const std::string& entry) {
  const vitrolux::model::ProgramEntry split = vitrolux::model::splitEntry(entry);
  check(split.path.find('|') == std::string::npos, "the path holds no separator", entry);
  if (entry.find('|') == std::string::npos) {
    check(split.path == entry && !split.title, "a bare path is the whole entry", entry);
    return;
  }
  check(split.title.has_value(), "an entry with a separator has a title", entry);
  check(split.title->find('|') == std::string::npos, "the title holds no separator", entry);
  const std::string joined = split.path + "|" + *split.title;
  check(entry.compare(0, joined.size(), joined) == 0, "path, bar and title begin the entry", entry);
  check(joined.size() == entry.size() || entry[joined.size()] == '|',
        "only whole pieces are dropped", entry);
}

void checkStoredComesBack(const std::string& input) {
  const std::size_t nul = input.find('\0');
  if (nul == std::string::npos) return;
  const vitrolux::model::ProgramEntry entry{input.substr(0, nul), input.substr(nul + 1)};
  // Line ends cannot be typed into the boxes, and end the stored line.
  if (entry.text().find_first_of("\r\n") != std::string::npos) return;
  const std::optional<std::string> line = vitrolux::config::entryLine(entry);
  if (!line) return;
  const vitrolux::model::ProgramEntry back =
      vitrolux::config::entryOfField(vitrolux::config::firstField(*line + "\r\nnext line"));
  check(back == entry, "a stored entry reads back as itself", input);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  checkSplit(input);
  checkStoredComesBack(input);
  return 0;
}
