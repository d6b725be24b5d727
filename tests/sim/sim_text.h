// The simulated ANSI code page: single-byte Latin-1, U+0000 to U+00FF. Small
// enough to reason about in tests, and like the real code pages it cannot
// hold Chinese text.
#pragma once

#include "ports/text_port.h"

namespace vitrolux::sim {

class SimText final : public platform::TextPort {
 public:
  std::optional<std::string> toAnsi(const std::string& utf8) override;
  std::string fromAnsi(const std::string& ansi) override;
};

}  // namespace vitrolux::sim
