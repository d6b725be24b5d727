// The fixture of the contract suite: a fresh environment per test and small
// helpers that read the port the way the frame's logic does.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "contract/contract_env.h"

namespace vitrolux::contract {

class Contract : public ::testing::Test {
 protected:
  // Whether the top-level window `target` lies somewhere below `from` in
  // the z-order.
  bool isBelow(WindowHandle target, WindowHandle from) {
    const std::vector<WindowHandle> order = desktop.enumWindows();
    const auto above = std::find(order.begin(), order.end(), from);
    return above != order.end() && std::find(above, order.end(), target) != order.end() &&
           target != from;
  }

  void raise(WindowHandle w, WindowHandle insertAfter = platform::kHwndTop) {
    ASSERT_TRUE(desktop.setWindowPos(
        w, insertAfter, 0, 0, 0, 0,
        platform::kSwpNoMove | platform::kSwpNoSize | platform::kSwpNoActivate));
  }

  std::uint32_t exStyle(WindowHandle w) {
    return static_cast<std::uint32_t>(desktop.getWindowLong(w, platform::kGwlExStyle));
  }

  static std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; });
    return text;
  }
  static bool endsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
  }

  std::unique_ptr<ContractEnv> env = makeEnv();
  platform::Ports ports = env->ports();
  platform::FramePort& framePort = ports.frame;
  platform::DesktopPort& desktop = ports.desktop;
  platform::ProcessPort& processes = ports.processes;
  platform::FilePort& files = ports.files;
  platform::TextPort& text = ports.text;
};

}  // namespace vitrolux::contract
