// Window calls that another program's thread carries out (SetParent,
// SetWindowLong, a plain SetWindowPos) wait for it for ever: they run on a
// thread of their own, and the frame waits for them a bounded time.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>

namespace vitrolux::platform::win32 {

// Whether the window belongs to a thread other than the calling one. False
// for a window that no longer exists.
bool ofOtherThread(HWND window);

// Whether the window's thread answers a message (WM_NULL) within the time;
// never waits on a program the system already knows to be hung.
bool answersWithin(HWND window, unsigned waitMs);

// Runs `work`, a call on `window`, on a new thread and waits at most
// `waitMs`, handling meanwhile what other threads send to this one (the
// called thread may be waiting for the frame). True when it finished in
// time; otherwise it finishes whenever the other program answers.
bool runWithin(HWND window, unsigned waitMs, std::function<void()> work);

// The same for a call with a result: empty when it did not finish in time.
template <typename Call>
auto callWithin(HWND window, unsigned waitMs, Call call) -> std::optional<decltype(call())> {
  using Result = decltype(call());
  // Owned by the work as much as by this frame: the work may outlive it.
  auto result = std::make_shared<Result>();
  if (!runWithin(window, waitMs, [call, result]() mutable { *result = call(); })) {
    return std::nullopt;
  }
  return *result;
}

// Whether a call on the window that outlived its wait is still running.
bool callUnderWay(HWND window);
// Whether the frame's thread is waiting for such a call, or for an answer,
// now: the messages sent to it meanwhile are handled in the middle of
// another event.
bool waitingForCall();

}  // namespace vitrolux::platform::win32
