#include "driver/target_log.h"

#include <cstdlib>

#include "driver/win.h"

namespace e2e {

namespace {

bool startsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

// "<event> " at the start of the line, so that "SHOWN" never matches a
// longer event's name.
bool isEvent(std::string_view line, std::string_view event) {
  return startsWith(line, event) && line.size() > event.size() && line[event.size()] == ' ';
}

}  // namespace

std::vector<std::string> TargetLog::lines() const {
  const std::string text = readFileBytes(path_).value_or("");
  std::vector<std::string> out;
  size_t start = 0;
  for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    size_t length = end - start;
    if (length > 0 && text[end - 1] == '\r') --length;
    out.push_back(text.substr(start, length));
  }
  return out;
}

bool TargetLog::contains(std::string_view line) const {
  for (const std::string& l : lines()) {
    if (l == line) return true;
  }
  return false;
}

std::optional<std::string> TargetLog::waitForLine(
    const std::function<bool(std::string_view)>& match, std::chrono::milliseconds timeout) const {
  std::optional<std::string> found;
  waitUntil(timeout, [&] {
    for (const std::string& line : lines()) {
      if (match(line)) {
        found = line;
        return true;
      }
    }
    return false;
  });
  return found;
}

std::optional<std::string> TargetLog::waitForLineStartingWith(
    std::string_view prefix, std::chrono::milliseconds timeout) const {
  return waitForLine([&](std::string_view line) { return startsWith(line, prefix); }, timeout);
}

std::vector<HWND> TargetLog::windows(std::string_view event) const {
  std::vector<HWND> found;
  for (const std::string& line : lines()) {
    if (isEvent(line, event)) found.push_back(windowIn(line));
  }
  return found;
}

HWND TargetLog::waitForWindow(std::string_view event, size_t n,
                              std::chrono::milliseconds timeout) const {
  HWND window = nullptr;
  waitUntil(timeout, [&] {
    const std::vector<HWND> all = windows(event);
    if (all.size() >= n) window = all[n - 1];
    return window != nullptr;
  });
  return window;
}

HWND TargetLog::windowIn(std::string_view line) {
  const size_t space = line.find(' ');
  if (space == std::string_view::npos) return nullptr;
  const std::string word(line.substr(space + 1, line.find(' ', space + 1) - space - 1));
  char* end = nullptr;
  const unsigned long long value = std::strtoull(word.c_str(), &end, 16);
  if (end == word.c_str() || *end != '\0') return nullptr;
  return reinterpret_cast<HWND>(static_cast<ULONG_PTR>(value));
}

}  // namespace e2e
