#include "win32/frame_system.h"

#include "win32/control_keys.h"
#include "win32/control_timers.h"
#include "win32/dpi.h"
#include "win32/frame_window.h"
#include "win32/program_dialog.h"
#include "win32/text_encoding.h"

namespace vitrolux::platform::win32 {
namespace {

Rect toRect(const RECT& r) {
  return Rect{r.left, r.top, r.right, r.bottom};
}

}  // namespace

FrameSystem::FrameSystem(HINSTANCE instance, Desktop& desktop)
    : instance_(instance), desktop_(desktop) {}

FrameSystem::~FrameSystem() {
  if (window_) window_->detach();
  destroyFrame();
}

HWND FrameSystem::createFrame(FrameEvents& events, const FrameLook& look) {
  if (!FrameWindow::registerClass(instance_)) return nullptr;
  window_ = std::make_unique<FrameWindow>(instance_, desktop_);
  HWND window = window_->create(events, look);
  if (window == nullptr) window_.reset();
  return window;
}

void FrameSystem::showFrame(const std::function<void()>& fill) {
  if (window_) window_->show(fill);
}

void FrameSystem::destroyFrame() {
  window_.reset();
}

HWND FrameSystem::hwnd() const {
  return window_ ? window_->hwnd() : nullptr;
}

void FrameSystem::setControls(ControlWindows* controls) {
  controls_ = controls;
  if (window_) window_->setControls(controls);
}

int FrameSystem::run() {
  MSG message{};
  for (;;) {
    const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
    if (got == 0 || got == -1) break;
    dispatch(message);
  }
  return static_cast<int>(message.wParam);
}

void FrameSystem::doEvents() {
  MSG message{};
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // Not ours to take: the message loop must still see it and end.
      ::PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    dispatch(message);
  }
}

void FrameSystem::dispatch(MSG& message) {
  if (controls_ != nullptr && takeControlKey(*controls_, message)) return;
  ::TranslateMessage(&message);
  ::DispatchMessageW(&message);
}

// ---- FramePort --------------------------------------------------------------

WindowHandle FrameSystem::frameWindow() const {
  return WindowHandle(reinterpret_cast<std::intptr_t>(hwnd()));
}

Rect FrameSystem::frameBounds() const {
  RECT bounds{};
  if (HWND window = hwnd()) ::GetWindowRect(window, &bounds);
  return toRect(bounds);
}

Rect FrameSystem::frameNormalBounds() const {
  HWND window = hwnd();
  if (window == nullptr || !::IsIconic(window)) return frameBounds();
  WINDOWPLACEMENT placement{};
  placement.length = sizeof(placement);
  if (!::GetWindowPlacement(window, &placement)) return frameBounds();
  // The normal position of a window without WS_EX_TOOLWINDOW is in
  // workspace coordinates, which start at the top left of its monitor's
  // work area: they differ from the screen's where a task bar sits on the
  // left or at the top.
  RECT place = placement.rcNormalPosition;
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  if (::GetMonitorInfoW(::MonitorFromRect(&place, MONITOR_DEFAULTTONEAREST), &monitor)) {
    ::OffsetRect(&place, monitor.rcWork.left - monitor.rcMonitor.left,
                 monitor.rcWork.top - monitor.rcMonitor.top);
  }
  return toRect(place);
}

WindowState FrameSystem::frameState() const {
  HWND window = hwnd();
  if (window != nullptr && ::IsIconic(window)) return WindowState::Minimized;
  if (window != nullptr && ::IsZoomed(window)) return WindowState::Maximized;
  return WindowState::Normal;
}

void FrameSystem::setFrameState(WindowState state) {
  HWND window = hwnd();
  if (window == nullptr) return;
  switch (state) {
    case WindowState::Normal:
      ::ShowWindow(window, SW_RESTORE);
      break;
    case WindowState::Minimized:
      ::ShowWindow(window, SW_MINIMIZE);
      break;
    case WindowState::Maximized:
      ::ShowWindow(window, SW_MAXIMIZE);
      break;
  }
}

int FrameSystem::dpi() const {
  return window_ ? window_->dpi() : systemDpi();
}

std::int64_t FrameSystem::nowMs() const {
  return static_cast<std::int64_t>(::GetTickCount64());
}

void FrameSystem::setFrameCursor(FrameCursor cursor) {
  if (window_) window_->setCursor(cursor);
}

void FrameSystem::releaseCapture() {
  ::ReleaseCapture();
}

void FrameSystem::endProgram() {
  ::ExitProcess(0);
}

void FrameSystem::hideFrame() {
  if (HWND window = hwnd()) ::ShowWindow(window, SW_HIDE);
}

std::optional<std::string> FrameSystem::chooseProgram(const std::string& title,
                                                      const std::string& filterName) {
  const std::optional<std::wstring> line =
      win32::chooseProgram(hwnd(), widen(title), widen(filterName));
  if (!line) return std::nullopt;
  return narrow(*line);
}

bool FrameSystem::setSystemTimer(unsigned id, unsigned milliseconds) {
  HWND window = hwnd();
  if (window == nullptr || id >= kControlTimerBase) return false;
  // Ticks come as WM_TIMER messages, never to a timer procedure: the system
  // swallows a fault inside one, so a crash in a tick would never reach the
  // fatal-exit hooks that give back the hosted windows.
  return ::SetTimer(window, id, milliseconds, nullptr) != 0;
}

bool FrameSystem::killSystemTimer(unsigned id) {
  HWND window = hwnd();
  if (window == nullptr || id >= kControlTimerBase) return false;
  return ::KillTimer(window, id) != FALSE;
}

std::intptr_t FrameSystem::sendFrameMessage(unsigned message, std::uintptr_t wParam,
                                            std::intptr_t lParam) {
  HWND window = hwnd();
  if (window == nullptr) return 0;
  // Our own window on our own thread: its procedure runs right here.
  return static_cast<std::intptr_t>(::SendMessageW(window, message, wParam, lParam));
}

}  // namespace vitrolux::platform::win32
