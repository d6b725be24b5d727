#include "model/program_entry.h"

#include <algorithm>
#include <cctype>

#include "model/strings.h"

namespace vitrolux::model {
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

std::string_view trimLeft(std::string_view text) {
  const std::size_t at = text.find_first_not_of(" \t");
  return at == std::string_view::npos ? std::string_view() : text.substr(at);
}

}  // namespace

ProgramEntry splitEntry(std::string_view entry) {
  const std::vector<std::string> pieces = split(entry, "|");
  ProgramEntry pieced{pieces[0], std::nullopt};
  if (pieces.size() > 1) pieced.title = pieces[1];
  return pieced;
}

ProgramEntry splitQuotedEntry(std::string_view entry) {
  bool inQuotes = false;
  for (std::size_t at = 0; at < entry.size(); ++at) {
    if (entry[at] == '"') inQuotes = !inQuotes;
    if (entry[at] == '|' && !inQuotes) {
      return ProgramEntry{std::string(entry.substr(0, at)), std::string(entry.substr(at + 1))};
    }
  }
  return ProgramEntry{std::string(entry), std::nullopt};
}

std::optional<CommandLineParts> splitCommandLine(std::string_view commandLine) {
  const std::string_view line = trimLeft(commandLine);
  if (line.empty()) return std::nullopt;
  CommandLineParts parts;
  if (line.front() == '"') {
    parts.quoted = true;
    const std::size_t close = line.find('"', 1);
    if (close == std::string_view::npos) {
      parts.program = line.substr(1);
    } else {
      parts.program = line.substr(1, close - 1);
      parts.arguments = trimLeft(line.substr(close + 1));
    }
    return parts;
  }
  std::size_t end = std::string_view::npos;
  for (std::size_t at = 0; at <= line.size(); ++at) {
    if (at == line.size() || line[at] == ' ' || line[at] == '\t') {
      if (endsWithExe(line.substr(0, at))) {
        end = at;
        break;
      }
    }
  }
  if (end == std::string_view::npos) {
    const std::size_t blank = line.find_first_of(" \t");
    const std::string_view first = line.substr(0, blank);
    end = (blank == std::string_view::npos || !isPathLike(first)) ? first.size() : line.size();
  }
  parts.program = line.substr(0, end);
  if (end < line.size()) parts.arguments = trimLeft(line.substr(end));
  return parts;
}

}  // namespace vitrolux::model
