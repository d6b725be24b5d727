// The frame's own window functions and the window functions on windows of
// any program.
#include "win32/win32_system.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "ui/guard.h"
#include "win32/control_keys.h"
#include "win32/control_windows.h"
#include "win32/dpi.h"
#include "win32/foreign_call.h"
#include "win32/frame_window.h"
#include "win32/hosted_input.h"
#include "win32/text_encoding.h"
#include "win32/unique_resource.h"

namespace vitrolux::platform::win32 {
namespace {

HWND toHwnd(WindowHandle window) {
  return reinterpret_cast<HWND>(window.value());
}
WindowHandle toHandle(HWND window) {
  return WindowHandle(reinterpret_cast<std::intptr_t>(window));
}

Rect toRect(const RECT& r) {
  return Rect{r.left, r.top, r.right, r.bottom};
}

std::optional<MONITORINFO> monitorInfo(HMONITOR monitor) {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (monitor == nullptr || !::GetMonitorInfoW(monitor, &info)) return std::nullopt;
  return info;
}

// Where the ticks of system timers go, by borrowed frame window (an owned
// frame takes them as WM_TIMER). A TIMERPROC has no context of its own, and
// the borrowed window is not ours to bind to.
struct TimerTarget {
  HWND window;
  FrameEvents* events;
};

std::vector<TimerTarget>& timerTargets() {
  static std::vector<TimerTarget> targets;
  return targets;
}

void setTimerTarget(HWND window, FrameEvents* events) {
  auto& targets = timerTargets();
  targets.erase(std::remove_if(targets.begin(), targets.end(),
                               [&](const TimerTarget& t) { return t.window == window; }),
                targets.end());
  if (window != nullptr && events != nullptr) targets.push_back({window, events});
}

void CALLBACK systemTimerTick(HWND window, UINT, UINT_PTR id, DWORD) {
  for (const TimerTarget& target : timerTargets()) {
    if (target.window == window) {
      FrameEvents* events = target.events;
      guarded([&] { events->onSystemTimer(static_cast<unsigned>(id)); });
      return;
    }
  }
}

// Where the window events of watchTopLevelWindows go, by hook: a
// WINEVENTPROC has no context of its own either.
struct WatchTarget {
  HWINEVENTHOOK hook;
  FrameEvents* events;
};

std::vector<WatchTarget>& watchTargets() {
  static std::vector<WatchTarget> targets;
  return targets;
}

void CALLBACK windowEvent(HWINEVENTHOOK hook, DWORD, HWND window, LONG object, LONG child, DWORD,
                          DWORD) {
  // The window itself, not one of its parts, and only a top-level one.
  if (window == nullptr || object != OBJID_WINDOW || child != CHILDID_SELF) return;
  if (::GetAncestor(window, GA_PARENT) != ::GetDesktopWindow()) return;
  for (const WatchTarget& target : watchTargets()) {
    if (target.hook == hook) {
      FrameEvents* events = target.events;
      guarded([&] { events->onDesktopWindowChanged(toHandle(window)); });
      return;
    }
  }
}

}  // namespace

Win32System::Win32System(HINSTANCE instance) : instance_(instance) {}

Win32System::~Win32System() {
  watchTopLevelWindows(false);
  // The logic may be gone already: nothing reaches it any more.
  if (frameWindow_) frameWindow_->detach();
  destroyFrame();
}

void Win32System::destroyFrame() {
  if (HWND window = frame()) setTimerTarget(window, nullptr);
  // The frame goes before the control windows' handler, which its children
  // still use while they are destroyed.
  frameWindow_.reset();
  controlWindows_.reset();
}

HWND Win32System::createFrame(FrameEvents& events, ControlSet& controls, const FrameLook& look) {
  HWND window = createFrameFirst(events, controls, look);
  if (window != nullptr) controlWindows_->realise();
  return window;
}

HWND Win32System::createFrameFirst(FrameEvents& events, ControlSet& controls,
                                   const FrameLook& look) {
  if (!FrameWindow::registerClass(instance_)) return nullptr;
  events_ = &events;
  frameWindow_ = std::make_unique<FrameWindow>(instance_);
  HWND window = frameWindow_->create(events, look);
  if (window == nullptr) {
    frameWindow_.reset();
    return nullptr;
  }
  controlWindows_ =
      std::make_unique<ControlWindows>(instance_, window, frameWindow_->dpi(), events, controls);
  frameWindow_->setControls(controlWindows_.get());
  return window;
}

void Win32System::useFrameWindow(HWND frame, FrameEvents* events) {
  if (HWND old = this->frame()) setTimerTarget(old, nullptr);
  borrowedFrame_ = frame;
  events_ = events;
  setTimerTarget(frame, events);
}

void Win32System::showFrame() {
  if (!frameWindow_) return;
  // The frame goes on the screen first and its controls come right after,
  // before anything is painted: a user sees the window as soon as the
  // system can show one, and never a half-built frame.
  frameWindow_->show([this] {
    if (controlWindows_) controlWindows_->realise();
  });
}

int Win32System::run() {
  MSG message{};
  for (;;) {
    const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
    if (got == 0 || got == -1) break;
    dispatch(message);
  }
  return static_cast<int>(message.wParam);
}

void Win32System::dispatch(MSG& message) {
  if (controlWindows_ && takeControlKey(*controlWindows_, message)) return;
  ::TranslateMessage(&message);
  ::DispatchMessageW(&message);
}

HWND Win32System::frame() const {
  if (frameWindow_) return frameWindow_->hwnd();
  return borrowedFrame_;
}

HWND Win32System::controlWindow(int index) const {
  return controlWindows_ ? controlWindows_->window(index) : nullptr;
}

HICON Win32System::shownIcon(int index) const {
  return controlWindows_ ? controlWindows_->shownIcon(index) : nullptr;
}

// ---- FramePort --------------------------------------------------------------

WindowHandle Win32System::frameWindow() const {
  return toHandle(frame());
}

Rect Win32System::frameBounds() const {
  RECT bounds{};
  if (HWND window = frame()) ::GetWindowRect(window, &bounds);
  return toRect(bounds);
}

Rect Win32System::frameNormalBounds() const {
  HWND window = frame();
  if (window == nullptr || !::IsIconic(window)) return frameBounds();
  WINDOWPLACEMENT placement{};
  placement.length = sizeof(placement);
  if (!::GetWindowPlacement(window, &placement)) return frameBounds();
  // The normal position of a window without WS_EX_TOOLWINDOW is in
  // workspace coordinates, which start at the top left of its monitor's
  // work area: they differ from the screen's where a task bar sits on the
  // left or at the top.
  RECT place = placement.rcNormalPosition;
  if (const auto info = monitorInfo(::MonitorFromRect(&place, MONITOR_DEFAULTTONEAREST))) {
    ::OffsetRect(&place, info->rcWork.left - info->rcMonitor.left,
                 info->rcWork.top - info->rcMonitor.top);
  }
  return toRect(place);
}

WindowState Win32System::frameState() const {
  HWND window = frame();
  if (window != nullptr && ::IsIconic(window)) return WindowState::Minimized;
  if (window != nullptr && ::IsZoomed(window)) return WindowState::Maximized;
  return WindowState::Normal;
}

void Win32System::setFrameState(WindowState state) {
  HWND window = frame();
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

int Win32System::dpi() const {
  if (frameWindow_) return frameWindow_->dpi();
  return borrowedFrame_ != nullptr ? dpiForWindow(borrowedFrame_) : systemDpi();
}

std::int64_t Win32System::nowMs() const {
  return static_cast<std::int64_t>(::GetTickCount64());
}

void Win32System::setFrameCursor(int code) {
  if (frameWindow_) frameWindow_->setCursorCode(code);
}

void Win32System::releaseCapture() {
  ::ReleaseCapture();
}

void Win32System::doEvents() {
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

void Win32System::endProgram() {
  ::ExitProcess(0);
}

void Win32System::hideFrame() {
  if (HWND window = frame()) ::ShowWindow(window, SW_HIDE);
}

void Win32System::messageBox(const std::string& text, const std::string& caption) {
  ::MessageBoxW(frame(), widen(text).c_str(), widen(caption).c_str(), MB_OK);
}

bool Win32System::setSystemTimer(unsigned id, unsigned milliseconds) {
  HWND window = frame();
  if (window == nullptr || id >= kControlTimerBase) return false;
  // The frame's own window takes its ticks as WM_TIMER messages. A timer
  // procedure would not do there: the system swallows a fault inside one,
  // so a crash in a tick would never reach the fatal-exit hooks that give
  // back the hosted windows. A borrowed window has no handler of ours.
  const TIMERPROC tick = frameWindow_ ? nullptr : systemTimerTick;
  return ::SetTimer(window, id, milliseconds, tick) != 0;
}

bool Win32System::killSystemTimer(unsigned id) {
  HWND window = frame();
  if (window == nullptr || id >= kControlTimerBase) return false;
  return ::KillTimer(window, id) != FALSE;
}

std::intptr_t Win32System::sendFrameMessage(unsigned message, std::uintptr_t wParam,
                                            std::intptr_t lParam) {
  HWND window = frame();
  if (window == nullptr) return 0;
  // Our own window on our own thread: its procedure runs right here.
  return static_cast<std::intptr_t>(::SendMessageW(window, message, wParam, lParam));
}

// ---- DesktopPort ---------------------------------------------------

WindowHandle Win32System::findWindow(const std::string& caption) {
  return toHandle(::FindWindowW(nullptr, widen(caption).c_str()));
}

bool Win32System::windowAnswers(WindowHandle window, unsigned timeoutMilliseconds) {
  return programAnswers(toHwnd(window), timeoutMilliseconds);
}

bool Win32System::setWindowPos(WindowHandle window, WindowHandle insertAfter, int x, int y, int cx,
                               int cy, unsigned flags) {
  // HWND_TOP, HWND_BOTTOM, HWND_TOPMOST and HWND_NOTOPMOST are the handle
  // values 0, 1, -1 and -2, so they pass through as they are.
  const HWND w = toHwnd(window);
  const HWND after = toHwnd(insertAfter);
  if ((flags & SWP_ASYNCWINDOWPOS) != 0 || !ofOtherThread(w)) {
    return ::SetWindowPos(w, after, x, y, cx, cy, flags) != FALSE;
  }
  return callWithin(w, kForeignCallWaitMs,
                    [=] { return ::SetWindowPos(w, after, x, y, cx, cy, flags) != FALSE; })
      .value_or(false);
}

namespace {

// SetParent; a window whose parent was the desktop reports a null previous
// parent on success too, and only the error code tells the cases apart.
bool reparent(HWND window, HWND parent) {
  ::SetLastError(0);
  return ::SetParent(window, parent) != nullptr || ::GetLastError() == 0;
}

}  // namespace

bool Win32System::setParent(WindowHandle child, WindowHandle parent) {
  return setParentThen(child, parent, nullptr);
}

bool Win32System::setParentThenPos(WindowHandle child, WindowHandle parent,
                                   WindowHandle insertAfter, int x, int y, int cx, int cy,
                                   unsigned flags) {
  const HWND after = toHwnd(insertAfter);
  return setParentThen(child, parent, [=](HWND w) {
    return ::SetWindowPos(w, after, x, y, cx, cy, flags) != FALSE;
  });
}

bool Win32System::setParentThen(WindowHandle child, WindowHandle parent,
                                const std::function<bool(HWND)>& then) {
  const HWND w = toHwnd(child);
  const HWND newParent = toHwnd(parent);
  auto both = [w, newParent, then] { return reparent(w, newParent) && (!then || then(w)); };
  const DWORD ownThread = ::GetCurrentThreadId();
  const DWORD childThread = ::GetWindowThreadProcessId(w, nullptr);
  if (childThread == 0 || childThread == ownThread) return both();
  const bool apart = newParent == nullptr && setApartToLeave(w);
  return callWithin(w, kForeignCallWaitMs,
                    [=] {
                      const bool done = both();
                      // Also when the frame has given up waiting.
                      if (!done && apart) joinAgainIfStillHosted(w, ownThread);
                      return done;
                    })
      .value_or(false);
}

bool Win32System::setExStyleThenAlpha(WindowHandle window, std::uint32_t exStyle,
                                      std::optional<std::uint8_t> alpha) {
  const HWND w = toHwnd(window);
  auto both = [w, exStyle, alpha] {
    ::SetLastError(0);
    const bool styled =
        ::SetWindowLongW(w, GWL_EXSTYLE, static_cast<LONG>(exStyle)) != 0 || ::GetLastError() == 0;
    return styled && (!alpha || ::SetLayeredWindowAttributes(w, 0, *alpha, LWA_ALPHA) != FALSE);
  };
  if (!ofOtherThread(w)) return ::IsWindow(w) && both();
  return callWithin(w, kForeignCallWaitMs, both).value_or(false);
}

bool Win32System::callUnderWay(WindowHandle window) {
  return win32::callUnderWay(toHwnd(window));
}

WindowHandle Win32System::getWindow(WindowHandle window, unsigned command) {
  return toHandle(::GetWindow(toHwnd(window), command));
}

std::int32_t Win32System::getWindowLong(WindowHandle window, int index) {
  return static_cast<std::int32_t>(::GetWindowLongW(toHwnd(window), index));
}

std::int32_t Win32System::setWindowLong(WindowHandle window, int index, std::int32_t value) {
  const HWND w = toHwnd(window);
  auto set = [w, index, value] {
    return static_cast<std::int32_t>(::SetWindowLongW(w, index, value));
  };
  if (!ofOtherThread(w)) return set();
  return callWithin(w, kForeignCallWaitMs, set).value_or(0);
}

std::string Win32System::getWindowText(WindowHandle window) {
  const HWND w = toHwnd(window);
  // One call for a caption of usual length: the task list reads every
  // window's caption at each refresh, and each call on another program's
  // window is a trip to the window system. A longer one is read again into
  // a larger buffer; never through GetWindowTextLength, which may send a
  // message to the window's program and wait for as long as it does not
  // answer.
  std::wstring text(256, L'\0');
  for (;;) {
    const int size = static_cast<int>(text.size());
    const int copied = ::GetWindowTextW(w, text.data(), size);
    if (copied < size - 1 || size >= 65536) {
      text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
      return narrow(text);
    }
    text.resize(text.size() * 4);
  }
}

std::optional<Rect> Win32System::windowRect(WindowHandle window) {
  RECT bounds{};
  if (!::GetWindowRect(toHwnd(window), &bounds)) return std::nullopt;
  return toRect(bounds);
}

std::vector<WindowHandle> Win32System::foreignChildren(WindowHandle parent) {
  std::vector<WindowHandle> children;
  const DWORD self = ::GetCurrentProcessId();
  for (HWND child = ::GetWindow(toHwnd(parent), GW_CHILD); child != nullptr;
       child = ::GetWindow(child, GW_HWNDNEXT)) {
    DWORD owner = 0;
    ::GetWindowThreadProcessId(child, &owner);
    if (owner != self) children.push_back(toHandle(child));
  }
  return children;
}

bool Win32System::setLayeredWindowAttributes(WindowHandle window, std::uint32_t colorKey,
                                             std::uint8_t alpha, std::uint32_t flags) {
  return ::SetLayeredWindowAttributes(toHwnd(window), colorKey, alpha, flags) != FALSE;
}

bool Win32System::postMessage(WindowHandle window, unsigned message, std::uintptr_t wParam,
                              std::intptr_t lParam) {
  return ::PostMessageW(toHwnd(window), message, wParam, lParam) != FALSE;
}

std::optional<std::intptr_t> Win32System::sendMessage(WindowHandle window, unsigned message,
                                                      std::uintptr_t wParam, std::intptr_t lParam,
                                                      unsigned timeoutMilliseconds) {
  DWORD_PTR result = 0;
  if (!::SendMessageTimeoutW(toHwnd(window), message, wParam, lParam,
                             SMTO_ABORTIFHUNG | SMTO_NORMAL, timeoutMilliseconds, &result)) {
    return std::nullopt;
  }
  return static_cast<std::intptr_t>(result);
}

std::optional<Monitor> Win32System::monitorFromRect(const Rect& rect, unsigned flags) {
  const RECT area{rect.left, rect.top, rect.right, rect.bottom};
  const auto info = monitorInfo(::MonitorFromRect(&area, flags));
  if (!info) return std::nullopt;
  return Monitor{toRect(info->rcMonitor), toRect(info->rcWork)};
}

bool Win32System::watchTopLevelWindows(bool on) {
  auto& targets = watchTargets();
  for (HWINEVENTHOOK hook : watchHooks_) {
    ::UnhookWinEvent(hook);
    targets.erase(std::remove_if(targets.begin(), targets.end(),
                                 [&](const WatchTarget& t) { return t.hook == hook; }),
                  targets.end());
  }
  watchHooks_.clear();
  if (!on || events_ == nullptr) return !on;
  // Out of context: the events come to this thread through its message
  // loop, from every process, with no code of ours loaded into theirs. Three
  // hooks rather than one range, which would also bring every location
  // change and caret move of the desktop.
  for (const DWORD event : {EVENT_OBJECT_CREATE, EVENT_OBJECT_SHOW, EVENT_OBJECT_NAMECHANGE}) {
    const HWINEVENTHOOK hook =
        ::SetWinEventHook(event, event, nullptr, windowEvent, 0, 0, WINEVENT_OUTOFCONTEXT);
    if (hook == nullptr) continue;
    watchHooks_.push_back(hook);
    targets.push_back({hook, events_});
  }
  return !watchHooks_.empty();
}

std::optional<std::uint32_t> Win32System::lastInputTime() {
  LASTINPUTINFO info{};
  info.cbSize = sizeof(info);
  if (!::GetLastInputInfo(&info)) return std::nullopt;
  return static_cast<std::uint32_t>(info.dwTime);
}

std::int16_t Win32System::getAsyncKeyState(int virtualKey) {
  return static_cast<std::int16_t>(::GetAsyncKeyState(virtualKey));
}

namespace {

BOOL CALLBACK collectWindow(HWND window, LPARAM into) {
  reinterpret_cast<std::vector<WindowHandle>*>(into)->push_back(toHandle(window));
  return TRUE;
}

}  // namespace

std::vector<WindowHandle> Win32System::enumWindows() {
  // EnumWindows reads the whole list before the first callback, so windows
  // that move meanwhile neither repeat nor end the list early.
  std::vector<WindowHandle> windows;
  windows.reserve(256);
  ::EnumWindows(collectWindow, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

std::intptr_t Win32System::getClassLongPtr(WindowHandle window, int index) {
  return static_cast<std::intptr_t>(::GetClassLongPtrW(toHwnd(window), index));
}

std::optional<Size> Win32System::iconSize(IconHandle icon) {
  if (icon.isNull()) return std::nullopt;
  ICONINFO info{};
  if (!::GetIconInfo(reinterpret_cast<HICON>(icon.value()), &info)) return std::nullopt;
  // GetIconInfo hands over copies of the icon's bitmaps: ours to delete.
  const unique_hbitmap mask(info.hbmMask);
  const unique_hbitmap colour(info.hbmColor);
  BITMAP bitmap{};
  if (colour) {
    if (::GetObjectW(colour.get(), sizeof(bitmap), &bitmap) == 0) return std::nullopt;
    return Size{bitmap.bmWidth, bitmap.bmHeight};
  }
  // A monochrome icon: its mask holds the AND and the XOR halves.
  if (!mask || ::GetObjectW(mask.get(), sizeof(bitmap), &bitmap) == 0) return std::nullopt;
  return Size{bitmap.bmWidth, bitmap.bmHeight / 2};
}

}  // namespace vitrolux::platform::win32
