#include "sim/sim_text.h"

namespace vitrolux::sim {

std::optional<std::string> SimText::toAnsi(const std::string& utf8) {
  // Latin-1: every code point up to U+00FF is one byte of the same value.
  std::string out;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    if (b < 0x80) {
      out.push_back(static_cast<char>(b));
      ++i;
    } else if ((b == 0xC2 || b == 0xC3) && i + 1 < utf8.size() &&
               (static_cast<unsigned char>(utf8[i + 1]) & 0xC0) == 0x80) {
      const unsigned cp = ((b & 0x1Fu) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3Fu);
      out.push_back(static_cast<char>(cp));
      i += 2;
    } else {
      // Beyond U+00FF, or not UTF-8 at all: no exact equivalent.
      return std::nullopt;
    }
  }
  return out;
}

std::string SimText::fromAnsi(const std::string& ansi) {
  std::string out;
  for (char ch : ansi) {
    const auto b = static_cast<unsigned char>(ch);
    if (b < 0x80) {
      out.push_back(ch);
    } else {
      out.push_back(static_cast<char>(0xC0 | (b >> 6)));
      out.push_back(static_cast<char>(0x80 | (b & 0x3F)));
    }
  }
  return out;
}

}  // namespace vitrolux::sim
