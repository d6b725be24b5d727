#include "win32/text_box.h"

#include <algorithm>
#include <string>

#include "ui/guard.h"
#include "win32/own_change.h"
#include "win32/text_encoding.h"

namespace vitrolux::platform::win32 {

void TextBox::showText() {
  const OwnChange own(ownChanges_);
  ::SetWindowTextW(window_, widen(controls_[index_].caption).c_str());
}

void TextBox::onNotification(UINT code) {
  if (code != EN_CHANGE || ownChanges_ > 0) return;
  const int length = ::GetWindowTextLengthW(window_);
  std::wstring text(static_cast<std::size_t>(std::max(length, 0)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      ::GetWindowTextW(window_, text.data(), static_cast<int>(text.size()))));
  guarded([&] { controls_.noteUserText(index_, narrow(text)); });
}

}  // namespace vitrolux::platform::win32
