#include "config/store.h"

#include "config/settings_text.h"
#include "model/text.h"

namespace vitrolux::config {
namespace {

// A settings value lives on the first line; nothing sensible is longer.
// Reads stop here, so writes stop here too: a longer file could not be read
// back whole.
constexpr std::size_t kMaxSettingsBytes = std::size_t{64} * 1024;
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kUtf16BeBom = "\xFE\xFF";

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

Field firstField(std::string_view text) {
  std::size_t at = 0;
  while (at < text.size() && isBlank(text[at])) ++at;
  if (at < text.size() && text[at] == '"') {
    // Up to the closing quote; two quotes in a row are one quote of the
    // text. An unclosed quote ends with its line.
    std::string field;
    for (std::size_t i = at + 1; i < text.size(); ++i) {
      if (text[i] == '"') {
        if (i + 1 < text.size() && text[i + 1] == '"') {
          field.push_back('"');
          ++i;
          continue;
        }
        return Field{field, true};
      }
      field.push_back(text[i]);
    }
    const std::size_t lineEnd = field.find_first_of("\r\n");
    if (lineEnd != std::string::npos) field.resize(lineEnd);
    return Field{field, true};
  }
  std::size_t end = at;
  while (end < text.size() && text[end] != ',' && !isLineEnd(text[end])) ++end;
  // Blanks around an unquoted value are padding, not part of it.
  while (end > at && isBlank(text[end - 1])) --end;
  return Field{std::string(text.substr(at, end - at)), false};
}

model::ProgramEntry entryOfField(const Field& field) {
  return field.quoted ? model::splitQuotedEntry(field.text) : model::splitEntry(field.text);
}

std::optional<std::string> entryLine(const model::ProgramEntry& entry) {
  const std::string plain = entry.text();
  if (entryOfField(firstField(plain)) == entry) return plain;
  std::string quoted = "\"";
  for (const char c : plain) {
    if (c == '"') quoted.push_back('"');
    quoted.push_back(c);
  }
  quoted.push_back('"');
  if (entryOfField(firstField(quoted)) == entry) return quoted;
  return std::nullopt;
}

std::string SettingsStore::decodeSettings(const std::string& bytes) {
  const std::string_view view(bytes);
  if (view.starts_with(kUtf8Bom)) return repairUtf8(view.substr(kUtf8Bom.size()));
  if (view.starts_with(kUtf16LeBom)) return utf16ToUtf8(view.substr(kUtf16LeBom.size()), false);
  if (view.starts_with(kUtf16BeBom)) return utf16ToUtf8(view.substr(kUtf16BeBom.size()), true);
  // Editors save UTF-8 without a mark today, and legacy text beyond ASCII
  // is almost never valid UTF-8. A file cut at the read limit may end
  // inside a character.
  if (!isAscii(view) && isUtf8(view, bytes.size() >= kMaxSettingsBytes)) return repairUtf8(view);
  return text_.fromAnsi(bytes);
}

std::string SettingsStore::encodeSettings(const std::string& text) {
  // The ANSI code page when the text fits it and reads back as itself: its
  // bytes could also look like UTF-8 or begin like a UTF-16 mark.
  if (std::optional<std::string> ansi = text_.toAnsi(text)) {
    if (decodeSettings(*ansi) == text) return *ansi;
  }
  return std::string(kUtf8Bom) + text;
}

Field SettingsStore::readField(const std::string& path) {
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

std::string SettingsStore::readCfg(const std::string& path) {
  return readField(path).text;
}

bool SettingsStore::writeCfg(const std::string& path, const std::string& value) {
  try {
    const std::string bytes = encodeSettings(value + "\r\n");
    if (bytes.size() > kMaxSettingsBytes) return false;
    return files_.replaceFile(path, bytes);
  } catch (...) {
    return false;
  }
}

model::ProgramEntry SettingsStore::readEntry(const std::string& path) {
  return entryOfField(readField(path));
}

model::ProgramEntry SettingsStore::autoLoadEntry() {
  return readEntry(settingsPath(model::text::kConfigFile));
}

}  // namespace vitrolux::config
