// The hot key as the user writes it in hotkey.txt, and as the pin names it.
#include <gtest/gtest.h>

#include "model/hot_key.h"

namespace vitrolux::testing {
namespace {

using model::HotKey;

constexpr unsigned kCtrl = 0x2;
constexpr unsigned kAlt = 0x1;
constexpr unsigned kShift = 0x4;
constexpr unsigned kWin = 0x8;

TEST(HotKeyText, ModifiersAndOneKeyInAnyOrderAndCase) {
  struct Case {
    const char* text;
    HotKey hotKey;
    const char* name;
  };
  const Case cases[] = {
      {"Ctrl+Alt+Shift+G", {kCtrl | kAlt | kShift, 'G'}, "Ctrl+Alt+Shift+G"},
      {" shift + control+ alt +g ", {kCtrl | kAlt | kShift, 'G'}, "Ctrl+Alt+Shift+G"},
      {"Win+Alt+7", {kWin | kAlt, '7'}, "Alt+Win+7"},
      {"F9", {0, 0x78}, "F9"},
      {"Shift+F24", {kShift, 0x87}, "Shift+F24"},
      {"ctrl+f1", {kCtrl, 0x70}, "Ctrl+F1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const std::optional<HotKey> parsed = model::parseHotKey(c.text);
    ASSERT_TRUE(parsed.has_value());
    EXPECT_EQ(parsed->modifiers, c.hotKey.modifiers);
    EXPECT_EQ(parsed->virtualKey, c.hotKey.virtualKey);
    EXPECT_EQ(model::hotKeyName(*parsed), c.name);
  }
}

TEST(HotKeyText, WhatNamesNoHotKeyOrTakesAKeyFromEveryProgramIsRefused) {
  for (const char* text :
       {"", "G", "Shift+G", "Shift+5", "Ctrl", "Ctrl+Alt", "Ctrl+G+H", "Ctrl+Ctrl+G", "Ctrl+F12",
        "F0", "F25", "F01", "Ctrl+Esc", "Ctrl+Alt+Ä", "Ctrl++G", "Hyper+G", "Ctrl+Alt+Shift+G,"}) {
    EXPECT_FALSE(model::parseHotKey(text).has_value()) << text;
  }
}

}  // namespace
}  // namespace vitrolux::testing
