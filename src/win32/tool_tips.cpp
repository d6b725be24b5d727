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

}  // namespace

ToolTips::ToolTips(HINSTANCE instance, int dpi) : instance_(instance), dpi_(dpi) {}

void ToolTips::create() {
  if (window_ || !initCommonControls()) return;
  // Not owned by the frame: with an owned pop-up window, SetWindowPos(
  // HWND_TOPMOST) on the frame succeeds under Wine without making it
  // top-most. The tips show above everything anyway.
  window_.reset(::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                  WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                  instance_, nullptr));
  setDpi(dpi_);
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
