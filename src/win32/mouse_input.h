// Mouse and key messages decoded into the arguments of the frame's events:
// button codes (left 1, right 2, middle 4), shift state (Shift 1, Ctrl 2,
// Alt 4) and positions in twips.
#pragma once

#include <windows.h>

#include <cstdint>

namespace vitrolux::platform::win32 {

enum class ButtonAction : std::uint8_t { None, Press, DoubleClick, Release };

// What a mouse button message says happened, and to which button.
struct ButtonMessage {
  ButtonAction action = ButtonAction::None;
  int button = 0;
};

// The one list of the button messages; action None for any other message.
ButtonMessage buttonMessage(UINT message);

// The buttons held, from the MK_* bits of a mouse message.
int heldButtons(WPARAM keys);

// Where a mouse message happened, in twips at the window's DPI, and the
// shift keys held then.
struct MousePoint {
  int shift = 0;
  float x = 0;
  float y = 0;
};
MousePoint mousePoint(WPARAM keys, LPARAM position, int dpi);

// Shift state for a key message, all from the keyboard state.
int keyShiftState();

}  // namespace vitrolux::platform::win32
