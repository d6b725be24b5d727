// Window calls that another program's thread carries out. SetParent,
// SetWindowLong and a plain SetWindowPos on a window of another thread send
// that thread a message and wait for its answer, for ever: a program that
// has stopped reading its messages would freeze the frame. Such calls run
// here on a thread of their own, and the frame waits for them a bounded
// time.
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

// Runs `work` on a new thread and waits for it at most `waitMs`, handling
// the messages that other threads send to this one meanwhile (the thread
// carrying out the call may send some to the frame, and would otherwise
// wait for the frame as the frame waits for it). True when it finished in
// time; otherwise it goes on, and finishes when the other program answers.
bool runWithin(unsigned waitMs, std::function<void()> work);

// The same for a call with a result: empty when it did not finish in time.
template <typename Call>
auto callWithin(unsigned waitMs, Call call) -> std::optional<decltype(call())> {
  using Result = decltype(call());
  // Owned by the work as much as by this frame: the work may outlive it.
  auto result = std::make_shared<Result>();
  if (!runWithin(waitMs, [call, result]() mutable { *result = call(); })) return std::nullopt;
  return *result;
}

// A parent and a child window of two threads join their threads' input:
// from then on every activation and focus change of the one waits for the
// other. Separates them again where the system allows it, so that a hosted
// program that stops answering cannot hold the frame's own clicks. (Wine
// joins them at SetParent and never separates them, not even when the
// window goes back to the desktop, and lets them be separated; Windows keeps
// the join of a parent and a child and refuses, which changes nothing.)
void separateInput(DWORD otherThread, DWORD ownThread);

}  // namespace vitrolux::platform::win32
