#include "config/store.h"

#include "model/strings.h"

namespace vitrolux::config {
namespace {

// A settings value lives on the first line; nothing sensible is longer.
constexpr std::size_t kMaxSettingsBytes = 64 * 1024;
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}
bool isLineEnd(char c) {
  return c == '\r' || c == '\n';
}

}  // namespace

std::string SettingsStore::settingsPath(std::string_view fileName) {
  std::string path = files_.applicationFolder();
  path += '\\';
  path += fileName;
  return path;
}

std::string firstField(std::string_view text) {
  std::size_t at = 0;
  while (at < text.size() && isBlank(text[at])) ++at;
  if (at < text.size() && text[at] == '"') {
    const std::size_t close = text.find('"', at + 1);
    const std::size_t end = close == std::string_view::npos ? text.size() : close;
    // An unclosed quote ends with its line.
    std::string_view field = text.substr(at + 1, end - at - 1);
    const std::size_t lineEnd = field.find_first_of("\r\n");
    if (close == std::string_view::npos && lineEnd != std::string_view::npos) {
      field = field.substr(0, lineEnd);
    }
    return std::string(field);
  }
  std::size_t end = at;
  while (end < text.size() && text[end] != ',' && !isLineEnd(text[end])) ++end;
  // Blanks around an unquoted value are padding, not part of it.
  while (end > at && isBlank(text[end - 1])) --end;
  return std::string(text.substr(at, end - at));
}

std::string SettingsStore::decodeSettings(const std::string& bytes) {
  if (bytes.compare(0, kUtf8Bom.size(), kUtf8Bom) == 0) return bytes.substr(kUtf8Bom.size());
  return text_.fromAnsi(bytes);
}

std::string SettingsStore::encodeSettings(const std::string& text) {
  if (std::optional<std::string> ansi = text_.toAnsi(text)) return *ansi;
  return std::string(kUtf8Bom) + text;
}

std::string SettingsStore::readCfg(const std::string& path) {
  try {
    // A folder, a hidden or a system file counts as missing.
    if (!files_.isOrdinaryFile(path)) return {};
    const std::optional<std::string> bytes = files_.readFile(path, kMaxSettingsBytes);
    if (!bytes) return {};
    return firstField(decodeSettings(*bytes));
  } catch (...) {
    return {};
  }
}

bool SettingsStore::WriteCfg(const std::string& path, const std::string& value) {
  try {
    return files_.replaceFile(path, encodeSettings(value + "\r\n"));
  } catch (...) {
    return false;
  }
}

std::string SettingsStore::getDirName() {
  return readCfg(settingsPath(model::text::kConfigFile));
}

}  // namespace vitrolux::config
