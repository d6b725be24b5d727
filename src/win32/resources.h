// The embedded resources' ids, for the C++ side.
#pragma once

#include "resource_ids.h"

namespace vitrolux::platform::win32 {
inline constexpr int kHandCursorResource = IDC_HAND_CURSOR;
}  // namespace vitrolux::platform::win32
