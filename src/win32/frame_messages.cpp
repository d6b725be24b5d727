#include "win32/frame_messages.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "win32/dpi.h"
#include "win32/fonts.h"

namespace vitrolux::platform::win32 {
namespace {

constexpr int kTextId = 100;
constexpr COLORREF kTextColour = RGB(0xFF, 0xFF, 0xFF);
// At 96 DPI: the widest line before the text wraps, the margins and the
// button's size.
constexpr int kTextWidth = 360;
constexpr int kMargin = 16;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 26;
constexpr int kBelowTitleStrip = 30;
constexpr wchar_t kOk[] = L"确定";
constexpr wchar_t kFace[] = L"微软雅黑";
constexpr double kPoints = 10.5;

// An empty dialog template: the text and the button are made when it opens,
// in the frame's font and at the display's scale.
std::vector<WORD> emptyTemplate(const std::wstring& title) {
  DLGTEMPLATE header{};
  header.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  std::vector<WORD> words(sizeof(header) / sizeof(WORD));
  std::memcpy(words.data(), &header, sizeof(header));
  words.push_back(0);  // no menu
  words.push_back(0);  // the dialog class
  for (const wchar_t c : title) words.push_back(static_cast<WORD>(c));
  words.push_back(0);
  return words;
}

int scaled(int pixels, int dpi) {
  return ::MulDiv(pixels, dpi, 96);
}

}  // namespace

FrameMessages::FrameMessages(HINSTANCE instance, HWND frame, COLORREF background,
                             std::wstring title)
    : instance_(instance),
      frame_(frame),
      background_(::CreateSolidBrush(background)),
      backgroundColour_(background),
      title_(std::move(title)) {}

FrameMessages::~FrameMessages() {
  clear();
}

void FrameMessages::show(std::wstring text) {
  if (std::find(waiting_.begin(), waiting_.end(), text) != waiting_.end()) return;
  waiting_.push_back(std::move(text));
  // Before the frame's first showing (a launch at start), the message waits
  // for it.
  if (window_ == nullptr && ::IsWindowVisible(frame_)) showFirst();
}

void FrameMessages::frameShown() {
  if (window_ == nullptr) showFirst();
}

void FrameMessages::clear() {
  waiting_.clear();
  if (window_ != nullptr) ::DestroyWindow(std::exchange(window_, nullptr));
}

bool FrameMessages::takeDialogKey(MSG& message) {
  return window_ != nullptr && ::IsDialogMessageW(window_, &message) != FALSE;
}

void FrameMessages::showFirst() {
  if (waiting_.empty()) return;
  const std::vector<WORD> dialog = emptyTemplate(title_);
  window_ = ::CreateDialogIndirectParamW(instance_,
                                         reinterpret_cast<const DLGTEMPLATE*>(dialog.data()),
                                         frame_, dialogProc, reinterpret_cast<LPARAM>(this));
  if (window_ == nullptr) {
    waiting_.clear();
    return;
  }
  ::ShowWindow(window_, SW_SHOWNORMAL);
}

void FrameMessages::dismiss() {
  if (window_ != nullptr) ::DestroyWindow(std::exchange(window_, nullptr));
  if (!waiting_.empty()) waiting_.pop_front();
  showFirst();
}

INT_PTR CALLBACK FrameMessages::dialogProc(HWND dialog, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
  if (message == WM_INITDIALOG) ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
  auto* self = reinterpret_cast<FrameMessages*>(::GetWindowLongPtrW(dialog, DWLP_USER));
  return self != nullptr ? self->handle(dialog, message, wParam, lParam) : FALSE;
}

INT_PTR FrameMessages::handle(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      layOut(dialog);
      return FALSE;  // the focus was set on the button
    case WM_CTLCOLORDLG:
      return reinterpret_cast<INT_PTR>(background_.get());
    case WM_CTLCOLORSTATIC: {
      const HDC dc = reinterpret_cast<HDC>(wParam);
      ::SetTextColor(dc, kTextColour);
      ::SetBkColor(dc, backgroundColour_);
      return reinterpret_cast<INT_PTR>(background_.get());
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        dismiss();
        return TRUE;
      }
      break;
    case WM_CLOSE:
      dismiss();
      return TRUE;
    case WM_DESTROY:
      // Also when the frame goes, which takes the windows it owns with it.
      if (window_ == dialog) window_ = nullptr;
      break;
    default:
      break;
  }
  (void)lParam;
  return FALSE;
}

void FrameMessages::layOut(HWND dialog) {
  const int dpi = dpiForWindow(frame_);
  if (!font_) {
    const std::wstring face = chooseFace(kFace, fontFamilyInstalled);
    font_.reset(::CreateFontW(fontHeight(kPoints, dpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                              DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                              CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face.c_str()));
  }
  const std::wstring& text = waiting_.front();
  // The text's own size, wrapped at the widest line.
  RECT textRect{0, 0, scaled(kTextWidth, dpi), 0};
  if (HDC dc = ::GetDC(dialog)) {
    const HGDIOBJ old = ::SelectObject(dc, font_ ? font_.get() : ::GetStockObject(DEFAULT_GUI_FONT));
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
                DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    ::SelectObject(dc, old);
    ::ReleaseDC(dialog, dc);
  }
  const int margin = scaled(kMargin, dpi);
  const int buttonWidth = scaled(kButtonWidth, dpi);
  const int buttonHeight = scaled(kButtonHeight, dpi);
  const int width = std::max<int>(textRect.right, buttonWidth) + 2 * margin;
  const int height = textRect.bottom + buttonHeight + 3 * margin;

  const HWND label = ::CreateWindowExW(
      0, L"STATIC", text.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, margin, margin,
      textRect.right, textRect.bottom, dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kTextId)),
      instance_, nullptr);
  const HWND button = ::CreateWindowExW(
      0, L"BUTTON", kOk, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
      width - margin - buttonWidth, height - margin - buttonHeight, buttonWidth, buttonHeight,
      dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDOK)), instance_, nullptr);
  for (const HWND control : {label, button}) {
    if (control != nullptr && font_) {
      ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    }
  }
  ::SetFocus(button);

  // The client area that size, centred on the frame's width just below its
  // title strip: over the launch tiles, clear of the task list and its
  // buttons, which stay at hand while the message is up.
  RECT outer{0, 0, width, height};
  ::AdjustWindowRectEx(&outer, static_cast<DWORD>(::GetWindowLongW(dialog, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(::GetWindowLongW(dialog, GWL_EXSTYLE)));
  RECT frame{};
  ::GetWindowRect(frame_, &frame);
  const int outerWidth = outer.right - outer.left;
  const int outerHeight = outer.bottom - outer.top;
  const int left = frame.left + (frame.right - frame.left - outerWidth) / 2;
  const int top = frame.top + scaled(kBelowTitleStrip, dpi);
  ::SetWindowPos(dialog, nullptr, left, top, outerWidth, outerHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace vitrolux::platform::win32
