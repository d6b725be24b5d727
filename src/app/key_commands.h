// Key commands of the frame: Esc and the opacity digits.
#pragma once

#include <functional>
#include <optional>

namespace vitrolux::app {

// The opacity level of a digit key, main keyboard or keypad (with Num
// Lock on); nothing for any other key.
std::optional<int> opacityLevelForKey(int keyCode);

class KeyCommands {
 public:
  KeyCommands(std::function<void()> releaseAndEnd, std::function<void(int level)> setOpacity)
      : releaseAndEnd_(std::move(releaseAndEnd)), setOpacity_(std::move(setOpacity)) {}

  // The shift state does not count: Shift+5 is 5.
  void onKeyDown(int keyCode, int shift);

  // Whether the key is one of the commands above.
  static bool isCommand(int keyCode);

 private:
  std::function<void()> releaseAndEnd_;
  std::function<void(int)> setOpacity_;
};

}  // namespace vitrolux::app
