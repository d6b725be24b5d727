// The failure rule of the event handlers: a step that throws is abandoned
// and the next one runs; no exception ever reaches the message loop.
#pragma once

#include <utility>

namespace vitrolux::app {

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

}  // namespace vitrolux::app
