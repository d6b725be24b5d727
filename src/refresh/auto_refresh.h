// F5 mode: Ctrl+S anywhere sends F5 to the hosted or selected window.
#pragma once

namespace vitrolux::refresh {

// The system timer of the frame's window that carries the key poll.
inline constexpr unsigned kF5TimerId = 0;

class AutoRefresh {
 public:
  void onF5Click();
  void onSystemTimer(unsigned id);
};

}  // namespace vitrolux::refresh
