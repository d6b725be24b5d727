#include "fuzz_ports.h"

#include <cstdio>
#include <cstdlib>

namespace vitrolux::fuzz {

std::optional<std::string> Latin1Text::toAnsi(const std::string& utf8) {
  std::string out;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    if (b < 0x80) {
      out.push_back(static_cast<char>(b));
      ++i;
    } else if ((b == 0xC2 || b == 0xC3) && i + 1 < utf8.size() &&
               (static_cast<unsigned char>(utf8[i + 1]) & 0xC0) == 0x80) {
      out.push_back(static_cast<char>(((b & 0x1Fu) << 6) |
                                      (static_cast<unsigned char>(utf8[i + 1]) & 0x3Fu)));
      i += 2;
    } else {
      return std::nullopt;
    }
  }
  return out;
}

std::string Latin1Text::fromAnsi(const std::string& ansi) {
  std::string out;
  for (const char c : ansi) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x80) {
      out.push_back(c);
    } else {
      out.push_back(static_cast<char>(0xC0 | (b >> 6)));
      out.push_back(static_cast<char>(0x80 | (b & 0x3F)));
    }
  }
  return out;
}

void fail(const char* what, const std::string& input) {
  std::fprintf(stderr, "property broken: %s (input of %zu bytes)\n", what, input.size());
  std::abort();
}

}  // namespace vitrolux::fuzz
