#include "model/hot_key.h"

#include <algorithm>

#include "model/strings.h"

namespace vitrolux::model {
namespace {

constexpr unsigned kVkF1 = 0x70;
constexpr unsigned kVkF12 = 0x7B;
constexpr int kLastFunctionKey = 24;

std::string_view trimmed(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

std::string upper(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; });
  return out;
}

std::optional<unsigned> modifierOf(const std::string& part) {
  if (part == "CTRL" || part == "CONTROL") return platform::kModControl;
  if (part == "ALT") return platform::kModAlt;
  if (part == "SHIFT") return platform::kModShift;
  if (part == "WIN") return platform::kModWin;
  return std::nullopt;
}

std::optional<unsigned> keyOf(const std::string& part) {
  if (part.size() == 1 &&
      ((part[0] >= 'A' && part[0] <= 'Z') || (part[0] >= '0' && part[0] <= '9'))) {
    return static_cast<unsigned>(part[0]);
  }
  if (part.size() < 2 || part.size() > 3 || part[0] != 'F') return std::nullopt;
  int number = 0;
  for (std::size_t i = 1; i < part.size(); ++i) {
    if (part[i] < '0' || part[i] > '9') return std::nullopt;
    number = number * 10 + (part[i] - '0');
  }
  if (number < 1 || number > kLastFunctionKey || part[1] == '0') return std::nullopt;
  return kVkF1 + static_cast<unsigned>(number - 1);
}

bool isFunctionKey(unsigned key) {
  return key >= kVkF1 && key < kVkF1 + kLastFunctionKey;
}

}  // namespace

std::optional<HotKey> parseHotKey(std::string_view text) {
  HotKey hotKey;
  bool haveKey = false;
  for (const std::string& piece : split(text, "+")) {
    const std::string part = upper(trimmed(piece));
    if (const std::optional<unsigned> modifier = modifierOf(part)) {
      if ((hotKey.modifiers & *modifier) != 0) return std::nullopt;
      hotKey.modifiers |= *modifier;
    } else if (const std::optional<unsigned> key = keyOf(part); key && !haveKey) {
      hotKey.virtualKey = *key;
      haveKey = true;
    } else {
      return std::nullopt;
    }
  }
  if (!haveKey || hotKey.virtualKey == kVkF12) return std::nullopt;
  constexpr unsigned kTakesAKeyAway = platform::kModControl | platform::kModAlt | platform::kModWin;
  if (!isFunctionKey(hotKey.virtualKey) && (hotKey.modifiers & kTakesAKeyAway) == 0) {
    return std::nullopt;
  }
  return hotKey;
}

std::string hotKeyName(const HotKey& hotKey) {
  std::string name;
  for (const auto& [bit, word] :
       {std::pair{platform::kModControl, "Ctrl+"}, std::pair{platform::kModAlt, "Alt+"},
        std::pair{platform::kModShift, "Shift+"}, std::pair{platform::kModWin, "Win+"}}) {
    if ((hotKey.modifiers & bit) != 0) name += word;
  }
  if (isFunctionKey(hotKey.virtualKey)) {
    name += 'F';
    name += std::to_string(hotKey.virtualKey - kVkF1 + 1);
  } else {
    name += static_cast<char>(hotKey.virtualKey);
  }
  return name;
}

}  // namespace vitrolux::model
