#include "win32/frame_window.h"

#include "ui/guard.h"
#include "ui/twips.h"
#include "win32/child_messages.h"
#include "win32/control_timers.h"
#include "win32/control_windows.h"
#include "win32/desktop.h"
#include "win32/dpi.h"
#include "win32/foreign_call.h"
#include "win32/mouse_input.h"
#include "win32/resources.h"
#include "win32/text_encoding.h"
#include "win32/unique_resource.h"
#include "win32/window_binding.h"

namespace vitrolux::platform::win32 {
namespace {

// No WS_CAPTION: there is no system caption bar or border. WS_THICKFRAME
// stays so that the system's sizing loop, started from the frame's own
// edges, resizes it; WM_NCCALCSIZE takes the border away again.
constexpr DWORD kFrameStyle =
    WS_POPUP | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_SYSMENU | WS_CLIPCHILDREN;

HICON appIcon(HINSTANCE instance, int sizeMetric) {
  const int size = ::GetSystemMetrics(sizeMetric);
  // Shared: the class keeps the icon for the life of the process.
  return static_cast<HICON>(
      ::LoadImageW(instance, MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, size, size, LR_SHARED));
}

RECT centredIn(const RECT& area, int width, int height) {
  const int left = area.left + (area.right - area.left - width) / 2;
  const int top = area.top + (area.bottom - area.top - height) / 2;
  return RECT{left, top, left + width, top + height};
}

RECT primaryWorkArea() {
  RECT area{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  return area;
}

RECT storedFrameRect(const FrameLook& look, int dpi) {
  return centredIn(primaryWorkArea(), twipsToPixels(look.widthTwips, dpi),
                   twipsToPixels(look.heightTwips, dpi));
}

}  // namespace

FrameWindow::FrameWindow(HINSTANCE instance, Desktop& desktop)
    : instance_(instance), desktop_(desktop) {}

FrameWindow::~FrameWindow() {
  if (hwnd_ != nullptr) {
    // Taken down by its owner, not closed: the message loop is not ended.
    quitOnDestroy_ = false;
    ::DestroyWindow(hwnd_);
  }
}

bool FrameWindow::registerClass(HINSTANCE instance) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = boundWindowProc<FrameWindow, &FrameWindow::handleMessage>;
  windowClass.hInstance = instance;
  windowClass.hIcon = appIcon(instance, SM_CXICON);
  windowClass.hIconSm = appIcon(instance, SM_CXSMICON);
  // No class cursor: WM_SETCURSOR shows the arrow or a sizing cursor.
  // No class brush: WM_ERASEBKGND paints the look's colour.
  windowClass.lpszClassName = kFrameClassName;
  return ::RegisterClassExW(&windowClass) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND FrameWindow::create(FrameEvents& events, const FrameLook& look) {
  events_ = &events;
  background_.reset(::CreateSolidBrush(colorRef(look.background)));
  dpi_ = systemDpi();
  const RECT place = storedFrameRect(look, dpi_);
  const std::wstring caption = widen(look.caption);
  {
    // The frame hosts windows of programs of any DPI awareness.
    const MixedDpiHosting mixed;
    ::CreateWindowExW(0, kFrameClassName, caption.c_str(), kFrameStyle, place.left, place.top,
                      place.right - place.left, place.bottom - place.top, nullptr, nullptr,
                      instance_, this);
  }
  if (hwnd_ == nullptr) return nullptr;
  hostedInput_ = std::make_unique<HostedInput>(hwnd_, desktop_);
  desktop_.setHostedInput(hostedInput_.get());
  messages_ = std::make_unique<FrameMessages>(instance_, hwnd_, colorRef(look.background), caption);
  // The primary monitor's DPI was a guess; the window knows its own.
  const int actual = dpiForWindow(hwnd_);
  if (actual != dpi_) {
    dpi_ = actual;
    const RECT resized = storedFrameRect(look, dpi_);
    ::SetWindowPos(hwnd_, nullptr, resized.left, resized.top, resized.right - resized.left,
                   resized.bottom - resized.top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  return hwnd_;
}

void FrameWindow::show(const std::function<void()>& fill) {
  if (hwnd_ == nullptr) return;
  ::ShowWindow(hwnd_, SW_SHOWNORMAL);
  if (fill) guarded(fill);
  shown_ = true;
  // The first showing is the first resize; it places the title-bar strip
  // before anything is painted.
  if (events_ != nullptr) guarded([&] { events_->onResize(); });
  ::UpdateWindow(hwnd_);
  if (messages_) messages_->frameShown();
}

void FrameWindow::detach() {
  events_ = nullptr;
  controls_ = nullptr;
}

void FrameWindow::setCursor(FrameCursor cursor) {
  cursor_ = cursor;
  if (hwnd_ == nullptr) return;
  POINT at{};
  ::GetCursorPos(&at);
  if (::GetCapture() == hwnd_ || ::WindowFromPoint(at) == hwnd_) ::SetCursor(shownCursor());
}

void FrameWindow::showMessage(std::wstring text) {
  if (messages_) messages_->show(std::move(text));
}

void FrameWindow::clearMessages() {
  if (messages_) messages_->clear();
}

bool FrameWindow::takeMessageKey(MSG& message) {
  return messages_ && messages_->takeDialogKey(message);
}

HCURSOR FrameWindow::shownCursor() const {
  const wchar_t* shape = IDC_ARROW;
  switch (cursor_) {
    case FrameCursor::Arrow:
      break;
    case FrameCursor::SizeNeSw:
      shape = IDC_SIZENESW;
      break;
    case FrameCursor::SizeNs:
      shape = IDC_SIZENS;
      break;
    case FrameCursor::SizeNwSe:
      shape = IDC_SIZENWSE;
      break;
    case FrameCursor::SizeWe:
      shape = IDC_SIZEWE;
      break;
  }
  return ::LoadCursorW(nullptr, shape);
}

LRESULT FrameWindow::handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (const ButtonMessage button = buttonMessage(message); button.action != ButtonAction::None) {
    onMouseButton(button, wParam, lParam);
    return 0;
  }
  switch (message) {
    case WM_NCCREATE:
      hwnd_ = window;
      break;
    case WM_NCCALCSIZE:
      // The client area is the whole window: no border, no caption.
      return 0;
    case WM_ERASEBKGND:
      if (background_) {
        RECT area{};
        ::GetClientRect(window, &area);
        ::FillRect(reinterpret_cast<HDC>(wParam), &area, background_.get());
        return 1;
      }
      break;
    case WM_GETMINMAXINFO:
      onGetMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lParam));
      return 0;
    case WM_SIZE:
      if (shown_ && events_ != nullptr) guarded([&] { events_->onResize(); });
      return 0;
    case WM_MOUSEMOVE:
      onMouseMove(wParam, lParam);
      return 0;
    case WM_CAPTURECHANGED:
      onCaptureChanged(reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (events_ != nullptr) {
        const int key = static_cast<int>(wParam);
        const int shift = keyShiftState();
        guarded([&] { events_->onKeyDown(key, shift); });
      }
      // Alt+F4 and the system menu keys still work.
      if (message == WM_SYSKEYDOWN) break;
      return 0;
    case WM_MOUSEACTIVATE:
      if (hostedInput_) hostedInput_->beforeClickActivation();
      break;
    case WM_SETCURSOR:
      if (onSetCursor(reinterpret_cast<HWND>(wParam), lParam)) return TRUE;
      if (reinterpret_cast<HWND>(wParam) == window) break;
      // A child asked first; it chooses its own cursor.
      return FALSE;
    case WM_TIMER:
      if (controls_ != nullptr && controls_->onTimer(wParam)) return 0;
      // Below the controls' ids: the frame's own timers (setSystemTimer).
      if (wParam < kControlTimerBase && events_ != nullptr) {
        const auto id = static_cast<unsigned>(wParam);
        guarded([&] { events_->onSystemTimer(id); });
        return 0;
      }
      break;
    case WM_HOTKEY:
      if (events_ != nullptr) {
        const auto id = static_cast<unsigned>(wParam);
        guarded([&] { events_->onHotKey(id); });
      }
      return 0;
    case WM_COMMAND:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN: {
      LRESULT result = 0;
      if (controls_ != nullptr && routeChildMessage(*controls_, message, wParam, lParam, result)) {
        return result;
      }
      break;
    }
    case WM_DPICHANGED:
      onDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_CLOSE:
      // Sent by another program while the frame waits for a call on another
      // program's window, it would run in the middle of the event that made
      // the call: it waits its turn in the queue instead.
      if (waitingForCall()) {
        ::PostMessageW(window, WM_CLOSE, 0, 0);
        return 0;
      }
      onClose();
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      // The process may end right after this returns: unload now, even in
      // a wait for another program. The session ends whatever the logic says.
      if (wParam != FALSE && events_ != nullptr) {
        bool cancel = false;
        guarded([&] { events_->onUnload(cancel); });
      }
      return 0;
    case WM_DESTROY:
      onDestroy();
      return 0;
    case WM_NCDESTROY:
      messages_.reset();
      desktop_.setHostedInput(nullptr);
      hostedInput_.reset();
      hwnd_ = nullptr;
      break;
    default:
      if (hostedInput_ && hostedInput_->onMessage(message)) return 0;
      break;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

void FrameWindow::onMouseButton(ButtonMessage button, WPARAM wParam, LPARAM lParam) {
  if (controls_ != nullptr) controls_->forgetPress();
  if (events_ == nullptr) return;
  const MousePoint at = mousePoint(wParam, lParam, dpi_);
  if (button.action == ButtonAction::Release) {
    guarded([&] { events_->onMouseUp(button.button, at.shift, at.x, at.y); });
    // The capture taken at the press ends with the last button released.
    if (heldButtons(wParam) == 0 && ::GetCapture() == hwnd_) ::ReleaseCapture();
    return;
  }
  // A press on the background: the frame takes the keyboard, and holds the
  // mouse until the release, so a fast drag does not lose it.
  ::SetFocus(hwnd_);
  ::SetCapture(hwnd_);
  if (button.action == ButtonAction::DoubleClick && button.button == kLeftButton) {
    guarded([&] { events_->onDoubleClick(); });
  } else {
    guarded([&] { events_->onMouseDown(button.button, at.shift, at.x, at.y); });
  }
}

void FrameWindow::onMouseMove(WPARAM wParam, LPARAM lParam) {
  if (events_ == nullptr) return;
  const int buttons = heldButtons(wParam);
  const MousePoint at = mousePoint(wParam, lParam, dpi_);
  guarded([&] { events_->onMouseMove(buttons, at.shift, at.x, at.y); });
  // The press's capture outlived its button: the release went to another
  // window while the frame was not in front. Kept, it would bring the frame
  // every click on the desktop once it is in front again.
  if (buttons == 0 && ::GetCapture() == hwnd_) ::ReleaseCapture();
}

void FrameWindow::onCaptureChanged(HWND newCapture) {
  // A second button pressed during a drag takes the capture again: the
  // frame keeps it.
  if (newCapture == hwnd_ || events_ == nullptr) return;
  guarded([&] { events_->onCaptureLost(); });
}

bool FrameWindow::onSetCursor(HWND target, LPARAM lParam) {
  if (target == hwnd_) {
    if (LOWORD(lParam) != HTCLIENT) return false;
    ::SetCursor(shownCursor());
    return true;
  }
  LRESULT result = 0;
  return controls_ != nullptr &&
         routeChildMessage(*controls_, WM_SETCURSOR, reinterpret_cast<WPARAM>(target), lParam,
                           result);
}

void FrameWindow::onClose() {
  bool cancel = false;
  if (events_ != nullptr) guarded([&] { events_->onUnload(cancel); });
  // Kept: the logic still holds windows it must give back first, and ends
  // the program itself once it has.
  if (cancel) return;
  ::DestroyWindow(hwnd_);
}

namespace {

// A child of another thread whose thread does not answer: destroying the
// frame sends WM_DESTROY to every child and would wait for it for ever.
bool holdsUnansweringChild(HWND frame) {
  for (HWND child = ::GetWindow(frame, GW_CHILD); child != nullptr;
       child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (ofOtherThread(child) && !answersWithin(child, kForeignCallWaitMs)) return true;
  }
  return false;
}

}  // namespace

void FrameWindow::onDestroy() {
  // Before the children go: a window of another program that still lives
  // in the frame is given back to the desktop instead of dying with it.
  if (events_ != nullptr) guarded([&] { events_->onDestroy(); });
  // Only an end without the normal close (which waits for the window)
  // leaves one inside: the rest of the destruction would wait for it for
  // ever, so the process ends here and the system takes the frame down.
  if (holdsUnansweringChild(hwnd_)) ::TerminateProcess(::GetCurrentProcess(), 0);
  if (quitOnDestroy_) ::PostQuitMessage(0);
}

void FrameWindow::onDpiChanged(int dpi, const RECT& suggested) {
  if (dpi <= 0) return;
  dpi_ = dpi;
  // Controls first: the resize that follows lets the logic place controls,
  // which must already convert their twips at the new DPI.
  if (controls_ != nullptr) controls_->setDpi(dpi);
  RECT before{};
  ::GetWindowRect(hwnd_, &before);
  ::SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  // The frame's twips are other pixels now, whether or not the suggested
  // size differs: the logic lays its controls out again either way.
  const bool resized = before.right - before.left != suggested.right - suggested.left ||
                       before.bottom - before.top != suggested.bottom - suggested.top;
  if (!resized && shown_ && events_ != nullptr) guarded([&] { events_->onResize(); });
}

void FrameWindow::onGetMinMaxInfo(MINMAXINFO& info) {
  // Maximised, a window normally hangs its border over the screen's edges;
  // this one has no border, so it would lose that much of its own area.
  // Maximise it to the work area of its monitor instead.
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  if (!::GetMonitorInfoW(::MonitorFromWindow(hwnd_, MONITOR_DEFAULTTONEAREST), &monitor)) return;
  const RECT& work = monitor.rcWork;
  const RECT& whole = monitor.rcMonitor;
  info.ptMaxPosition = POINT{work.left - whole.left, work.top - whole.top};
  info.ptMaxSize = POINT{work.right - work.left, work.bottom - work.top};
}

}  // namespace vitrolux::platform::win32
