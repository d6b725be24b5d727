#include "app/key_commands.h"

#include "ports/types.h"

namespace vitrolux::app {
namespace {

struct KeyLevel {
  int keyCode;
  int level;
};

// The main keyboard's levels are not evenly spaced: steps of 40 up to 3,
// then steps of 20. Its 7 sits between 6 and 8, at 190. The keypad gives 25
// times the digit. Both zeros are fully opaque.
constexpr KeyLevel kLevels[] = {
    {49, 40},   {50, 80},   {51, 120},  {52, 140},  {53, 160},  {54, 180}, {55, 190},
    {56, 200},  {57, 220},  {48, 255},  {97, 25},   {98, 50},   {99, 75},  {100, 100},
    {101, 125}, {102, 150}, {103, 175}, {104, 200}, {105, 225}, {96, 255},
};

}  // namespace

std::optional<int> opacityLevelForKey(int keyCode) {
  for (const KeyLevel& k : kLevels) {
    if (k.keyCode == keyCode) return k.level;
  }
  return std::nullopt;
}

bool KeyCommands::isCommand(int keyCode) {
  return keyCode == platform::kVkEscape || opacityLevelForKey(keyCode).has_value();
}

void KeyCommands::onKeyDown(int keyCode, int /*shift*/) {
  if (keyCode == platform::kVkEscape) {
    releaseAndEnd_();
    return;
  }
  if (const std::optional<int> level = opacityLevelForKey(keyCode)) setOpacity_(*level);
}

}  // namespace vitrolux::app
