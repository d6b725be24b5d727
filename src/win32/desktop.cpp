#include "win32/desktop.h"

#include <algorithm>
#include <utility>

#include "ui/guard.h"
#include "win32/foreign_call.h"
#include "win32/hosted_input.h"
#include "win32/text_encoding.h"
#include "win32/unique_resource.h"
#include "win32/window_facts.h"

namespace vitrolux::platform::win32 {
namespace {

// How long a window that did not answer is taken as silent without asking.
constexpr ULONGLONG kSilentForMs = 300;

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

// Where the window events of watchTopLevelWindows go, by hook: a
// WINEVENTPROC has no context of its own.
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

Desktop::~Desktop() {
  watchTopLevelWindows(false);
}

WindowHandle Desktop::findWindow(const std::string& caption) {
  return toHandle(::FindWindowW(nullptr, widen(caption).c_str()));
}

bool Desktop::windowAnswers(WindowHandle window, unsigned timeoutMilliseconds) {
  return programAnswers(toHwnd(window), timeoutMilliseconds);
}

bool Desktop::programAnswers(HWND window, unsigned waitMs) {
  if (window == nullptr || !::IsWindow(window)) return false;
  const ULONGLONG now = ::GetTickCount64();
  silent_.erase(std::remove_if(silent_.begin(), silent_.end(),
                               [&](const Silent& s) { return s.until <= now; }),
                silent_.end());
  if (std::any_of(silent_.begin(), silent_.end(),
                  [&](const Silent& s) { return s.window == window; })) {
    return false;
  }
  // What the system already knows: a program that has not read its
  // messages for a while. Otherwise WM_NULL has to come back in time.
  const bool answered = !::IsHungAppWindow(window) && answersWithin(window, waitMs);
  if (!answered) {
    silent_.push_back({window, ::GetTickCount64() + kSilentForMs});
    // Read again: the frame may have gone while it waited.
    if (input_ != nullptr) input_->programSilent(window);
  }
  return answered;
}

bool Desktop::knownSilent(HWND window) const {
  const ULONGLONG now = ::GetTickCount64();
  return std::any_of(silent_.begin(), silent_.end(),
                     [&](const Silent& s) { return s.window == window && s.until > now; });
}

bool Desktop::setWindowPos(WindowHandle window, WindowHandle insertAfter, int x, int y, int cx,
                           int cy, unsigned flags) {
  // HWND_TOP, HWND_BOTTOM, HWND_TOPMOST and HWND_NOTOPMOST are the handle
  // values 0, 1, -1 and -2, so they pass through as they are.
  const HWND w = toHwnd(window);
  const HWND after = toHwnd(insertAfter);
  if (!ofOtherThread(w)) return ::SetWindowPos(w, after, x, y, cx, cy, flags) != FALSE;
  // Also an asynchronous request is made by a thread of our own: the system
  // posts it to the window's thread only when the caller's input is not
  // joined to that thread's, and the frame's is joined to every program it
  // hosts. A new thread's is joined to none, so its request is posted at
  // once, and the wait is a formality.
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

bool Desktop::setParent(WindowHandle child, WindowHandle parent) {
  return setParentThen(child, parent, nullptr);
}

bool Desktop::setParentThenPos(WindowHandle child, WindowHandle parent, WindowHandle insertAfter,
                               int x, int y, int cx, int cy, unsigned flags) {
  const HWND after = toHwnd(insertAfter);
  return setParentThen(child, parent, [=](HWND w) {
    return ::SetWindowPos(w, after, x, y, cx, cy, flags) != FALSE;
  });
}

bool Desktop::setParentThen(WindowHandle child, WindowHandle parent,
                            const std::function<bool(HWND)>& then) {
  const HWND w = toHwnd(child);
  const HWND newParent = toHwnd(parent);
  auto both = [w, newParent, then] { return reparent(w, newParent) && (!then || then(w)); };
  const DWORD ownThread = ::GetCurrentThreadId();
  const DWORD childThread = ::GetWindowThreadProcessId(w, nullptr);
  if (childThread == 0 || childThread == ownThread) return both();
  const bool apart = newParent == nullptr && input_ != nullptr && input_->setApartToLeave(w);
  // What follows the call runs also when the frame has given up waiting,
  // and may outlive the frame: it reaches it by messages only.
  return callWithin(w, kForeignCallWaitMs,
                    [=] {
                      const bool done = both();
                      if (done && newParent != nullptr) announceHosted(newParent);
                      if (!done && apart) joinAgainIfStillHosted(w, ownThread);
                      return done;
                    })
      .value_or(false);
}

bool Desktop::setExStyleThenAlpha(WindowHandle window, std::uint32_t exStyle,
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

bool Desktop::setParentThenPlacement(WindowHandle child, WindowHandle parent,
                                     const Placement& placement) {
  return setParentThen(child, parent, [placement](HWND w) { return applyPlacement(w, placement); });
}

bool Desktop::setWindowPlacement(WindowHandle window, const Placement& placement) {
  const HWND w = toHwnd(window);
  if (!ofOtherThread(w)) return ::IsWindow(w) && applyPlacement(w, placement);
  return callWithin(w, kForeignCallWaitMs, [w, placement] { return applyPlacement(w, placement); })
      .value_or(false);
}

bool Desktop::restoreWindow(WindowHandle window) {
  const HWND w = toHwnd(window);
  auto restore = [w] {
    ::ShowWindow(w, SW_SHOWNOACTIVATE);
    return ::IsWindow(w) && !::IsIconic(w) && !::IsZoomed(w);
  };
  if (!ofOtherThread(w)) return restore();
  return callWithin(w, kForeignCallWaitMs, restore).value_or(false);
}

std::optional<Placement> Desktop::windowPlacement(WindowHandle window) {
  return placementOf(toHwnd(window));
}

std::string Desktop::getClassName(WindowHandle window) {
  return narrow(classNameOf(toHwnd(window)));
}

WindowHandle Desktop::getOwner(WindowHandle window) {
  return toHandle(::GetWindow(toHwnd(window), GW_OWNER));
}

WindowHandle Desktop::getParent(WindowHandle window) {
  const HWND parent = ::GetAncestor(toHwnd(window), GA_PARENT);
  return parent == ::GetDesktopWindow() ? WindowHandle{} : toHandle(parent);
}

bool Desktop::isCloaked(WindowHandle window) {
  return cloaked(toHwnd(window));
}

bool Desktop::ofHigherRights(WindowHandle window) {
  return ofHigherIntegrity(toHwnd(window));
}

bool Desktop::callUnderWay(WindowHandle window) {
  return win32::callUnderWay(toHwnd(window));
}

std::int32_t Desktop::getWindowLong(WindowHandle window, int index) {
  return static_cast<std::int32_t>(::GetWindowLongW(toHwnd(window), index));
}

std::string Desktop::getWindowText(WindowHandle window) {
  const HWND w = toHwnd(window);
  // One call for a caption of usual length (the task list reads them all at
  // each refresh), a larger buffer for a longer one; never
  // GetWindowTextLength, which may wait for a program that does not answer.
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

std::optional<Rect> Desktop::windowRect(WindowHandle window) {
  RECT bounds{};
  if (!::GetWindowRect(toHwnd(window), &bounds)) return std::nullopt;
  return toRect(bounds);
}

std::optional<ProcessId> Desktop::windowProcess(WindowHandle window) {
  DWORD process = 0;
  if (::GetWindowThreadProcessId(toHwnd(window), &process) == 0) return std::nullopt;
  return ProcessId{process};
}

std::vector<WindowHandle> Desktop::foreignChildren(WindowHandle parent) {
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

bool Desktop::setLayeredWindowAttributes(WindowHandle window, std::uint32_t colorKey,
                                         std::uint8_t alpha, std::uint32_t flags) {
  return ::SetLayeredWindowAttributes(toHwnd(window), colorKey, alpha, flags) != FALSE;
}

bool Desktop::postMessage(WindowHandle window, unsigned message, std::uintptr_t wParam,
                          std::intptr_t lParam) {
  return ::PostMessageW(toHwnd(window), message, wParam, lParam) != FALSE;
}

std::optional<std::intptr_t> Desktop::sendMessage(WindowHandle window, unsigned message,
                                                  std::uintptr_t wParam, std::intptr_t lParam,
                                                  unsigned timeoutMilliseconds) {
  DWORD_PTR result = 0;
  if (!::SendMessageTimeoutW(toHwnd(window), message, wParam, lParam,
                             SMTO_ABORTIFHUNG | SMTO_NORMAL, timeoutMilliseconds, &result)) {
    return std::nullopt;
  }
  return static_cast<std::intptr_t>(result);
}

std::optional<Monitor> Desktop::monitorFromRect(const Rect& rect, unsigned flags) {
  const RECT area{rect.left, rect.top, rect.right, rect.bottom};
  const auto info = monitorInfo(::MonitorFromRect(&area, flags));
  if (!info) return std::nullopt;
  return Monitor{toRect(info->rcMonitor), toRect(info->rcWork)};
}

bool Desktop::watchTopLevelWindows(bool on) {
  auto& targets = watchTargets();
  for (HWINEVENTHOOK hook : watchHooks_) {
    ::UnhookWinEvent(hook);
    targets.erase(std::remove_if(targets.begin(), targets.end(),
                                 [&](const WatchTarget& t) { return t.hook == hook; }),
                  targets.end());
  }
  watchHooks_.clear();
  if (!on || events_ == nullptr) return !on;
  // Out of context: no code of ours goes into other processes. Three hooks
  // rather than one range, which would bring every caret move too.
  for (const DWORD event : {EVENT_OBJECT_CREATE, EVENT_OBJECT_SHOW, EVENT_OBJECT_NAMECHANGE}) {
    const HWINEVENTHOOK hook =
        ::SetWinEventHook(event, event, nullptr, windowEvent, 0, 0, WINEVENT_OUTOFCONTEXT);
    if (hook == nullptr) continue;
    watchHooks_.push_back(hook);
    targets.push_back({hook, events_});
  }
  return !watchHooks_.empty();
}

std::optional<std::uint32_t> Desktop::lastInputTime() {
  LASTINPUTINFO info{};
  info.cbSize = sizeof(info);
  if (!::GetLastInputInfo(&info)) return std::nullopt;
  return static_cast<std::uint32_t>(info.dwTime);
}

std::int16_t Desktop::getAsyncKeyState(int virtualKey) {
  return static_cast<std::int16_t>(::GetAsyncKeyState(virtualKey));
}

namespace {

BOOL CALLBACK collectWindow(HWND window, LPARAM into) {
  reinterpret_cast<std::vector<WindowHandle>*>(into)->push_back(toHandle(window));
  return TRUE;
}

}  // namespace

std::vector<WindowHandle> Desktop::enumWindows() {
  // EnumWindows reads the whole list before the first callback, so windows
  // that move meanwhile neither repeat nor end the list early.
  std::vector<WindowHandle> windows;
  windows.reserve(256);
  ::EnumWindows(collectWindow, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

std::intptr_t Desktop::getClassLongPtr(WindowHandle window, int index) {
  return static_cast<std::intptr_t>(::GetClassLongPtrW(toHwnd(window), index));
}

std::optional<Size> Desktop::iconSize(IconHandle icon) {
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
