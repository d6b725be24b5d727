#include "embed/program_entry.h"

#include "model/strings.h"

namespace vitrolux::embed {

ProgramEntry splitEntry(std::string_view entry) {
  const std::vector<std::string> pieces = model::split(entry, "|");
  ProgramEntry split{pieces[0], std::nullopt};
  if (pieces.size() > 1) split.title = pieces[1];
  return split;
}

}  // namespace vitrolux::embed
