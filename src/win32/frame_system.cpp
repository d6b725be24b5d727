#include "win32/frame_system.h"

#include "win32/control_keys.h"
#include "win32/control_timers.h"
#include "win32/dpi.h"
#include "win32/frame_window.h"
#include "win32/text_encoding.h"
#include "win32/window_facts.h"

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
  if (window_ && window_->takeMessageKey(message)) return;
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
  const std::optional<Placement> placement = placementOf(window);
  return placement ? placement->normal : frameBounds();
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
  if (window_) window_->clearMessages();
  if (HWND window = hwnd()) ::ShowWindow(window, SW_HIDE);
}

std::optional<ProgramChoice> FrameSystem::chooseProgram(const std::string& title,
                                                        const std::string& filterName) {
  com_.enter();
  const std::optional<Choice> choice =
      win32::chooseProgram(hwnd(), widen(title), widen(filterName));
  if (!choice) return std::nullopt;
  return ProgramChoice{narrow(choice->commandLine),
                       StartOptions{narrow(choice->folder), choice->showCommand}};
}

void FrameSystem::showMessage(const std::string& text) {
  if (window_) window_->showMessage(widen(text));
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

bool FrameSystem::registerHotKey(unsigned id, unsigned modifiers, unsigned virtualKey) {
  HWND window = hwnd();
  if (window == nullptr) return false;
  // Held down, the chord is heard once: the keyboard's repeats would
  // toggle whatever it does on and off.
  return ::RegisterHotKey(window, static_cast<int>(id), modifiers | MOD_NOREPEAT, virtualKey) !=
         FALSE;
}

void FrameSystem::unregisterHotKey(unsigned id) {
  if (HWND window = hwnd()) ::UnregisterHotKey(window, static_cast<int>(id));
}

Point FrameSystem::cursorPos() const {
  POINT at{};
  ::GetCursorPos(&at);
  return Point{at.x, at.y};
}

}  // namespace vitrolux::platform::win32
