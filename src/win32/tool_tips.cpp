#include "win32/tool_tips.h"

#include <algorithm>
#include <cstddef>

#include "ui/twips.h"
#include "win32/common_controls.h"

namespace vitrolux::platform::win32 {
namespace {

// Understood by every version of the common controls, with or without the
// manifest's version 6.
constexpr UINT kToolInfoSize = static_cast<UINT>(offsetof(TTTOOLINFOW, lParam) + sizeof(LPARAM));
// Long tips (the F5 one) wrap at this width, in pixels at 96 DPI.
constexpr int kWrapWidth = 360;

TTTOOLINFOW toolOf(HWND control) {
  TTTOOLINFOW tool{};
  tool.cbSize = kToolInfoSize;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = ::GetParent(control);
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  return tool;
}

// Whether the window is in the top-most band.
bool topMost(HWND window) {
  return (::GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

void placeInBand(HWND window, bool topMost) {
  ::SetWindowPos(window, topMost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// Whether `owner`, which owns a top-most pop-up window, can be put into the
// top-most band. Windows puts an owner there with its owned windows above
// it; Wine places it below the pop-up instead, outside the band, while
// reporting success. Tried the way the pin does it; an owner that was not
// in the band is taken out again.
bool ownerEntersTopMostBand(HWND owner, bool wasTopMost) {
  placeInBand(owner, false);
  placeInBand(owner, true);
  const bool entered = topMost(owner);
  if (!wasTopMost) placeInBand(owner, false);
  return entered;
}

}  // namespace

ToolTips::ToolTips(HINSTANCE instance, HWND frame, int dpi)
    : instance_(instance), frame_(frame), dpi_(dpi) {}

ToolTips::~ToolTips() {
  // An owned window went with its owner, and its handle may name another
  // window by now.
  if (window_ && owner() != nullptr && !::IsWindow(frame_)) static_cast<void>(window_.release());
}

HWND ToolTips::createWindow(HWND owner) const {
  return ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                           WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, instance_, nullptr);
}

void ToolTips::create() {
  if (window_ || !initCommonControls()) return;
  window_.reset(createWindow(frame_));
  // Decided once, by trying, as the frame first owns the tips.
  const bool pinned = frame_ != nullptr && topMost(frame_);
  if (window_ && frame_ != nullptr && !ownerEntersTopMostBand(frame_, pinned)) {
    window_.reset(createWindow(nullptr));
    // The trial left a pinned frame out of the band; without an owned
    // pop-up it goes back in.
    if (pinned) placeInBand(frame_, true);
  }
  setDpi(dpi_);
}

HWND ToolTips::owner() const {
  return window_ ? ::GetWindow(window_.get(), GW_OWNER) : nullptr;
}

void ToolTips::setTip(HWND control, const std::wstring& text) {
  if (text.empty()) {
    forget(control);
    return;
  }
  create();
  if (!window_ || control == nullptr) return;
  std::wstring shown = text;
  TTTOOLINFOW tool = toolOf(control);
  tool.lpszText = shown.data();
  if (std::find(tools_.begin(), tools_.end(), control) != tools_.end()) {
    ::SendMessageW(window_.get(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
  } else if (::SendMessageW(window_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool))) {
    tools_.push_back(control);
  }
}

void ToolTips::forget(HWND control) {
  const auto at = std::find(tools_.begin(), tools_.end(), control);
  if (at == tools_.end()) return;
  TTTOOLINFOW tool = toolOf(control);
  ::SendMessageW(window_.get(), TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  tools_.erase(at);
}

void ToolTips::setDpi(int dpi) {
  dpi_ = dpi;
  if (window_) {
    ::SendMessageW(window_.get(), TTM_SETMAXTIPWIDTH, 0, ::MulDiv(kWrapWidth, dpi_, kDefaultDpi));
  }
}

}  // namespace vitrolux::platform::win32
