#include "app/ui_settings.h"

#include <charconv>
#include <cmath>

#include "model/strings.h"
#include "ui/twips.h"

namespace vitrolux::app {
namespace {

constexpr std::string_view kSeparator = "|||";
constexpr double kMinLevel = 1;
constexpr double kMaxLevel = 255;
// Larger numbers are no size or position of any frame; the items that carry
// them are left out rather than clamped into something unintended.
constexpr double kLargest = 1e9;

bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

bool keyOf(std::string_view key, UiKey& out) {
  if (key == "opacity") {
    out = UiKey::Opacity;
  } else if (key == "width") {
    out = UiKey::Width;
  } else if (key == "height") {
    out = UiKey::Height;
  } else if (key == "left") {
    out = UiKey::Left;
  } else if (key == "top") {
    out = UiKey::Top;
  } else {
    return false;
  }
  return true;
}

bool acceptable(UiKey key, double value) {
  if (!std::isfinite(value) || std::fabs(value) > kLargest) return false;
  switch (key) {
    case UiKey::Opacity: {
      // 0 would leave a frame nobody can see or click.
      const int level = platform::roundHalfEven(value);
      return level >= kMinLevel && level <= kMaxLevel;
    }
    case UiKey::Width:
    case UiKey::Height:
      return value > 0;
    case UiKey::Left:
    case UiKey::Top:
      return true;
  }
  return false;
}

void appendNumber(std::string& line, double twips) {
  line += std::to_string(platform::roundHalfEven(twips));
}

}  // namespace

double leadingNumber(std::string_view text) {
  // The characters that make the number, blanks taken out; then one
  // locale-free conversion.
  std::string number;
  bool negative = false;
  bool digitsSeen = false;
  bool pointSeen = false;
  std::size_t i = 0;
  while (i < text.size() && isBlank(text[i])) ++i;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
    negative = text[i] == '-';
    ++i;
  }
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (isBlank(c)) continue;
    if (isDigit(c)) {
      number += c;
      digitsSeen = true;
    } else if (c == '.' && !pointSeen) {
      number += c;
      pointSeen = true;
    } else {
      break;
    }
  }
  if (!digitsSeen) return 0;
  // An exponent counts only when digits follow it: "8000e" is 8000.
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    std::string exponent = "e";
    while (j < text.size() && isBlank(text[j])) ++j;
    if (j < text.size() && (text[j] == '-' || text[j] == '+')) exponent += text[j++];
    bool exponentDigits = false;
    for (; j < text.size(); ++j) {
      if (isBlank(text[j])) continue;
      if (!isDigit(text[j])) break;
      exponent += text[j];
      exponentDigits = true;
    }
    if (exponentDigits) number += exponent;
  }
  if (number.front() == '.') number.insert(number.begin(), '0');
  double value = 0;
  const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
  (void)end;
  if (error == std::errc::result_out_of_range) {
    // Too large to hold, or too small to tell from 0.
    const bool tiny = number.find("e-") != std::string::npos;
    value = tiny ? 0.0 : HUGE_VAL;
  } else if (error != std::errc{}) {
    return 0;
  }
  return negative ? -value : value;
}

std::vector<UiItem> readUiSettings(std::string_view line) {
  std::vector<UiItem> items;
  if (line.find(kSeparator) == std::string_view::npos) return items;
  for (const std::string& piece : model::split(line, kSeparator)) {
    const std::size_t equals = piece.find('=');
    if (equals == std::string::npos) continue;
    UiKey key{};
    if (!keyOf(std::string_view(piece).substr(0, equals), key)) continue;
    const double value = leadingNumber(std::string_view(piece).substr(equals + 1));
    if (acceptable(key, value)) items.push_back(UiItem{key, value});
  }
  return items;
}

std::string formatUiSettings(std::int16_t opacity, const platform::TwipsRect& frame) {
  std::string line;
  if (opacity != 0) {
    line += "opacity=";
    line += std::to_string(opacity);
    line += kSeparator;
  }
  line += "width=";
  appendNumber(line, frame.width);
  line += kSeparator;
  line += "height=";
  appendNumber(line, frame.height);
  line += kSeparator;
  line += "left=";
  appendNumber(line, frame.left);
  line += kSeparator;
  line += "top=";
  appendNumber(line, frame.top);
  return line;
}

}  // namespace vitrolux::app
