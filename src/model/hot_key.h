// A global hot key as the user writes it in a settings file ("Ctrl+Alt+O")
// and as the window system takes it (modifier bits and a virtual-key code).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "ports/types.h"

namespace vitrolux::model {

struct HotKey {
  unsigned modifiers = 0;  // platform::kMod* bits
  unsigned virtualKey = 0;
  friend bool operator==(const HotKey&, const HotKey&) = default;
};

// Four keys, so that no keyboard layout's AltGr character (Ctrl+Alt+key) is
// taken from the user.
inline constexpr HotKey kSeeThroughHotKey{
    platform::kModControl | platform::kModAlt | platform::kModShift, 'G'};

// "Ctrl+Alt+Shift+G": modifiers (Ctrl, Alt, Shift, Win in any order and
// case, "Control" too) and one key, joined by "+", blanks around each part
// allowed. The key is a letter, a digit or F1 to F24 but F12, which the
// system keeps for debuggers. A letter or digit needs Ctrl, Alt or Win:
// alone or with Shift it would take a character away from every program.
// Nothing for any other text.
std::optional<HotKey> parseHotKey(std::string_view text);

// How the user reads it: "Ctrl+Alt+Shift+G".
std::string hotKeyName(const HotKey& hotKey);

}  // namespace vitrolux::model
