// Conversions between the logic's UTF-8 and the UTF-16 of the wide Win32
// calls, and between UTF-8 and a Windows code page for the settings files.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vitrolux::platform::win32 {

// Malformed UTF-8 becomes U+FFFD, as MultiByteToWideChar does without
// MB_ERR_INVALID_CHARS; conversions never fail.
std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view wide);

// UTF-8 to a code page; nothing when a character has no exact equivalent
// there (no best-fit substitutes, no default character). Code page CP_UTF8
// gives the text back as it is.
std::optional<std::string> utf8ToCodePage(std::string_view utf8, unsigned codePage);
std::string codePageToUtf8(std::string_view text, unsigned codePage);

}  // namespace vitrolux::platform::win32
