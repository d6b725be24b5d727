// How the bytes of a settings file become text: the encodings people's
// editors save today, told apart without asking the user.
#pragma once

#include <string>
#include <string_view>

namespace vitrolux::config {

// Strict UTF-8: no overlong forms, no surrogates, nothing beyond U+10FFFF.
// With `mayEndCut`, an incomplete sequence at the very end counts as valid
// (the bytes are the start of a longer file).
bool isUtf8(std::string_view bytes, bool mayEndCut = false);

bool isAscii(std::string_view bytes);

// UTF-16 bytes (without their byte-order mark) to UTF-8. A lone surrogate
// becomes U+FFFD; an odd last byte is dropped.
std::string utf16ToUtf8(std::string_view bytes, bool bigEndian);

// The text with every malformed sequence replaced by U+FFFD.
std::string repairUtf8(std::string_view bytes);

}  // namespace vitrolux::config
