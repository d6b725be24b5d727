#include "win32/text_encoding.h"

#include <windows.h>

#include <climits>

namespace vitrolux::platform::win32 {
namespace {

// The conversion functions count in int; longer text cannot be passed at once.
bool fitsInt(std::size_t length) {
  return length <= static_cast<std::size_t>(INT_MAX);
}

std::wstring toWide(std::string_view text, unsigned codePage) {
  if (text.empty() || !fitsInt(text.size())) return {};
  const int length = static_cast<int>(text.size());
  const int needed = ::MultiByteToWideChar(codePage, 0, text.data(), length, nullptr, 0);
  if (needed <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(needed), L'\0');
  ::MultiByteToWideChar(codePage, 0, text.data(), length, wide.data(), needed);
  return wide;
}

}  // namespace

std::wstring widen(std::string_view utf8) {
  return toWide(utf8, CP_UTF8);
}

std::string narrow(std::wstring_view wide) {
  if (wide.empty() || !fitsInt(wide.size())) return {};
  const int length = static_cast<int>(wide.size());
  const int needed =
      ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
  if (needed <= 0) return {};
  std::string text(static_cast<std::size_t>(needed), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, text.data(), needed, nullptr, nullptr);
  return text;
}

std::optional<std::string> utf8ToCodePage(std::string_view utf8, unsigned codePage) {
  // WideCharToMultiByte refuses the "used default char" flag for UTF-8, and
  // there is nothing to convert anyway.
  if (codePage == CP_UTF8) return std::string(utf8);
  if (utf8.empty()) return std::string();
  const std::wstring wide = widen(utf8);
  if (wide.empty() || !fitsInt(wide.size())) return std::nullopt;
  const int length = static_cast<int>(wide.size());
  // Without WC_NO_BEST_FIT_CHARS "ā" would silently become "a", and a path
  // written that way would name another file.
  BOOL usedDefault = FALSE;
  const int needed = ::WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide.data(), length,
                                           nullptr, 0, nullptr, &usedDefault);
  if (needed <= 0 || usedDefault) return std::nullopt;
  std::string text(static_cast<std::size_t>(needed), '\0');
  ::WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide.data(), length, text.data(), needed,
                        nullptr, &usedDefault);
  if (usedDefault) return std::nullopt;
  return text;
}

std::string codePageToUtf8(std::string_view text, unsigned codePage) {
  if (codePage == CP_UTF8) return std::string(text);
  return narrow(toWide(text, codePage));
}

}  // namespace vitrolux::platform::win32
