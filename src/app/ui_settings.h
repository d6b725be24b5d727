// The line of "ui.txt": the frame's opacity level, size and position as
// "|||"-separated key=value items. Pure text in and out, so that the
// reader can be tested and fuzzed on its own.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ui/controls.h"

namespace vitrolux::app {

enum class UiKey { Opacity, Width, Height, Left, Top };

struct UiItem {
  UiKey key = UiKey::Opacity;
  double value = 0;
  friend bool operator==(const UiItem&, const UiItem&) = default;
};

// The items of a line to apply, in the order they stand; nothing without a
// "|||". Left out: pieces without "=", unknown keys (case counts), and
// values that would lose the frame (a level outside 1 to 255, a width or
// height of 0 or less, a number too large for any screen).
std::vector<UiItem> readUiSettings(std::string_view line);

// The number at the start of a value, read with a full stop as the decimal
// point whatever the locale: blanks are skipped, the first character that
// cannot continue the number ends it, and no number at all counts as 0.
double leadingNumber(std::string_view text);

// The line written for a level (left out when 0) and the frame's place in
// twips, rounded to whole twips.
std::string formatUiSettings(std::int16_t opacity, const platform::TwipsRect& frame);

}  // namespace vitrolux::app
