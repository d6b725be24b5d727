// The failure rule of everything that runs from an event: a step that throws
// is abandoned and the next one runs; no exception ever reaches the message
// loop or unwinds through the window system's frames.
#pragma once

#include <utility>

namespace vitrolux::platform {

template <typename Step>
void guarded(Step&& step) noexcept {
  try {
    std::forward<Step>(step)();
  } catch (...) {
  }
}

template <typename Step, typename Result>
Result guarded(Step&& step, Result fallback) noexcept {
  try {
    return std::forward<Step>(step)();
  } catch (...) {
    return fallback;
  }
}

}  // namespace vitrolux::platform
