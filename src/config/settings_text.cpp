#include "config/settings_text.h"

#include <cstdint>

namespace vitrolux::config {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

std::uint8_t byteAt(std::string_view bytes, std::size_t at) {
  return static_cast<std::uint8_t>(bytes[at]);
}

bool isContinuation(std::uint8_t b) {
  return (b & 0xC0u) == 0x80u;
}

// The length of the well-formed sequence at `at`: 0 when it is malformed,
// and also 0 when it runs past the end (`cut` then says so).
std::size_t sequenceAt(std::string_view bytes, std::size_t at, bool& cut) {
  cut = false;
  const std::uint8_t lead = byteAt(bytes, at);
  if (lead < 0x80u) return 1;
  std::size_t length = 0;
  // The second byte's range is narrower after some leads: that is what
  // excludes overlong forms, surrogates and code points beyond U+10FFFF.
  std::uint8_t low = 0x80u;
  std::uint8_t high = 0xBFu;
  if (lead >= 0xC2u && lead <= 0xDFu) {
    length = 2;
  } else if (lead >= 0xE0u && lead <= 0xEFu) {
    length = 3;
    if (lead == 0xE0u) low = 0xA0u;
    if (lead == 0xEDu) high = 0x9Fu;
  } else if (lead >= 0xF0u && lead <= 0xF4u) {
    length = 4;
    if (lead == 0xF0u) low = 0x90u;
    if (lead == 0xF4u) high = 0x8Fu;
  } else {
    return 0;
  }
  for (std::size_t i = 1; i < length; ++i) {
    if (at + i >= bytes.size()) {
      cut = true;
      return 0;
    }
    const std::uint8_t b = byteAt(bytes, at + i);
    if (i == 1 ? (b < low || b > high) : !isContinuation(b)) return 0;
  }
  return length;
}

void appendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80u) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800u) {
    out.push_back(static_cast<char>(0xC0u | (cp >> 6)));
    out.push_back(static_cast<char>(0x80u | (cp & 0x3Fu)));
  } else if (cp < 0x10000u) {
    out.push_back(static_cast<char>(0xE0u | (cp >> 12)));
    out.push_back(static_cast<char>(0x80u | ((cp >> 6) & 0x3Fu)));
    out.push_back(static_cast<char>(0x80u | (cp & 0x3Fu)));
  } else {
    out.push_back(static_cast<char>(0xF0u | (cp >> 18)));
    out.push_back(static_cast<char>(0x80u | ((cp >> 12) & 0x3Fu)));
    out.push_back(static_cast<char>(0x80u | ((cp >> 6) & 0x3Fu)));
    out.push_back(static_cast<char>(0x80u | (cp & 0x3Fu)));
  }
}

}  // namespace

bool isUtf8(std::string_view bytes, bool mayEndCut) {
  std::size_t at = 0;
  while (at < bytes.size()) {
    bool cut = false;
    const std::size_t length = sequenceAt(bytes, at, cut);
    if (length == 0) return cut && mayEndCut;
    at += length;
  }
  return true;
}

bool isAscii(std::string_view bytes) {
  for (const char c : bytes) {
    if (static_cast<std::uint8_t>(c) >= 0x80u) return false;
  }
  return true;
}

std::string utf16ToUtf8(std::string_view bytes, bool bigEndian) {
  std::string out;
  out.reserve(bytes.size());
  const std::size_t units = bytes.size() / 2;
  auto unitAt = [&](std::size_t i) -> char32_t {
    const std::uint8_t first = byteAt(bytes, 2 * i);
    const std::uint8_t second = byteAt(bytes, 2 * i + 1);
    return bigEndian ? (char32_t{first} << 8) | second : (char32_t{second} << 8) | first;
  };
  for (std::size_t i = 0; i < units; ++i) {
    const char32_t unit = unitAt(i);
    if (unit >= 0xD800u && unit <= 0xDBFFu && i + 1 < units) {
      const char32_t next = unitAt(i + 1);
      if (next >= 0xDC00u && next <= 0xDFFFu) {
        appendUtf8(out, 0x10000u + ((unit - 0xD800u) << 10) + (next - 0xDC00u));
        ++i;
        continue;
      }
    }
    appendUtf8(out, unit >= 0xD800u && unit <= 0xDFFFu ? kReplacement : unit);
  }
  return out;
}

std::string repairUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  std::size_t at = 0;
  while (at < bytes.size()) {
    bool cut = false;
    const std::size_t length = sequenceAt(bytes, at, cut);
    if (length == 0) {
      appendUtf8(out, kReplacement);
      ++at;
    } else {
      out.append(bytes.substr(at, length));
      at += length;
    }
  }
  return out;
}

}  // namespace vitrolux::config
