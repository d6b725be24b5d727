#include "win32/text_box.h"

#include <algorithm>
#include <string>

#include "ui/guard.h"
#include "win32/common_controls.h"
#include "win32/mouse_input.h"
#include "win32/own_change.h"
#include "win32/text_encoding.h"

namespace vitrolux::platform::win32 {
namespace {

constexpr UINT_PTR kLayoutWatchId = 1;

// Messages that show, edit or read the box's laid-out text.
bool needsLayout(UINT message, WPARAM wParam) {
  switch (message) {
    case WM_SHOWWINDOW:
      return wParam != FALSE;
    case WM_PAINT:
    case WM_PRINT:
    case WM_PRINTCLIENT:
    case WM_SETFOCUS:
    case WM_KEYDOWN:
    case WM_CHAR:
      return true;
    default:
      // A press, the EM_* messages, and cutting, copying, pasting, clearing,
      // undoing.
      return buttonMessage(message).action != ButtonAction::None ||
             (message >= EM_GETSEL && message <= EM_GETIMESTATUS) ||
             (message >= WM_CUT && message <= WM_UNDO);
  }
}

}  // namespace

TextBox::TextBox(HWND window, ControlSet& controls, int index)
    : window_(window), controls_(controls), index_(index) {
  // Without the library's subclassing the box is laid out at once.
  watching_ =
      setWindowSubclass(window_, beforeLayout, kLayoutWatchId, reinterpret_cast<DWORD_PTR>(this));
  if (!watching_) laidOut_ = true;
}

TextBox::~TextBox() {
  if (watching_) removeWindowSubclass(window_, beforeLayout, kLayoutWatchId);
}

LRESULT CALLBACK TextBox::beforeLayout(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR, DWORD_PTR self) {
  auto* box = reinterpret_cast<TextBox*>(self);
  switch (message) {
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
      // The text waits in the window title.
      return ::DefWindowProcW(window, message, wParam, lParam);
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(box->font_);
    case WM_SETTEXT:
      box->layOut(false);
      break;
    case WM_NCDESTROY:
      box->laidOut_ = true;
      removeWindowSubclass(window, beforeLayout, kLayoutWatchId);
      box->watching_ = false;
      break;
    default:
      if (needsLayout(message, wParam)) box->layOut();
      break;
  }
  return defSubclassProc(window, message, wParam, lParam);
}

void TextBox::layOut(bool withText) {
  if (laidOut_) return;
  laidOut_ = true;
  // From here on the edit control answers for itself.
  if (watching_ && removeWindowSubclass(window_, beforeLayout, kLayoutWatchId)) watching_ = false;
  ::SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  if (withText) showText();
}

void TextBox::layOutIfShown() {
  if (!laidOut_ && ::IsWindowVisible(window_)) layOut();
}

void TextBox::setFont(HFONT font) {
  font_ = font;
  if (laidOut_) ::SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
}

void TextBox::showText() {
  const std::wstring text = widen(controls_[index_].caption);
  if (!laidOut_) {
    ::DefWindowProcW(window_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    return;
  }
  const OwnChange own(ownChanges_);
  ::SetWindowTextW(window_, text.c_str());
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
