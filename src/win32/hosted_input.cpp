#include "win32/hosted_input.h"

#include <algorithm>
#include <utility>

#include "ports/desktop_port.h"
#include "win32/desktop.h"

namespace vitrolux::platform::win32 {
namespace {

// The hook procedure and the answer's callback have no context of their own.
HostedInput* current = nullptr;

// Posted to the frame when a change was refused: by the time it arrives, the
// change that set a program apart has run its course.
constexpr UINT kAfterChange = WM_APP + 0x51;

DWORD threadOf(HWND window) {
  return window == nullptr ? 0 : ::GetWindowThreadProcessId(window, nullptr);
}

bool holdsWindowOf(HWND parent, DWORD thread) {
  for (HWND child = ::GetWindow(parent, GW_CHILD); child != nullptr;
       child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (threadOf(child) == thread) return true;
  }
  return false;
}

bool contains(const std::vector<DWORD>& threads, DWORD thread) {
  return std::find(threads.begin(), threads.end(), thread) != threads.end();
}

void erase(std::vector<DWORD>& threads, DWORD thread) {
  threads.erase(std::remove(threads.begin(), threads.end(), thread), threads.end());
}

}  // namespace

HostedInput::HostedInput(HWND frame, Desktop& desktop)
    : frame_(frame), desktop_(desktop), ownThread_(::GetCurrentThreadId()) {
  current = this;
  hook_ = ::SetWindowsHookExW(WH_CBT, onCbt, nullptr, ownThread_);
}

HostedInput::~HostedInput() {
  if (hook_ != nullptr) ::UnhookWindowsHookEx(hook_);
  if (current == this) current = nullptr;
}

void HostedInput::beforeClickActivation() {
  setApartForChange(::GetActiveWindow());
  setApartForChange(::GetFocus());
}

LRESULT CALLBACK HostedInput::onCbt(int code, WPARAM wParam, LPARAM lParam) {
  HostedInput* self = current;
  if (self != nullptr && code == HCBT_ACTIVATE) {
    // The window losing the activation was read before the hook runs, and
    // would be told all the same: that change is refused, and made again
    // once its program is apart. The focus is read again after the hook.
    HWND losing = reinterpret_cast<const CBTACTIVATESTRUCT*>(lParam)->hWndActive;
    const bool refuse = self->setApartForChange(losing);
    self->setApartForChange(::GetFocus());
    if (refuse) {
      self->activateAgain_ = reinterpret_cast<HWND>(wParam);
      if (!self->afterChangePosted_) {
        self->afterChangePosted_ = ::PostMessageW(self->frame_, kAfterChange, 0, 0) != FALSE;
      }
      return 1;
    }
  } else if (self != nullptr && code == HCBT_SETFOCUS) {
    self->setApartForChange(reinterpret_cast<HWND>(lParam));
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

DWORD HostedInput::hostedThread(HWND window) const {
  const DWORD thread = threadOf(window);
  if (thread == 0 || thread == ownThread_ || !holdsWindowOf(frame_, thread)) return 0;
  return thread;
}

bool HostedInput::setApartForChange(HWND window) {
  const DWORD thread = hostedThread(window);
  if (thread == 0) return false;
  if (contains(apart_, thread)) return true;
  // Inside a send from the program itself (it activates the frame as it
  // takes a click) it reads what is sent meanwhile and is told as usual. Any
  // other change may come just as it goes busy: a past answer proves nothing.
  const DWORD sent = ::InSendMessageEx(nullptr);
  if ((sent & (ISMEX_SEND | ISMEX_REPLIED)) == ISMEX_SEND &&
      desktop_.programAnswers(window, kForeignCallWaitMs)) {
    return false;
  }
  setApart(window);
  return contains(apart_, thread);
}

void HostedInput::setApart(HWND window) {
  // Programs whose windows all left the frame are no longer ours to join.
  apart_.erase(std::remove_if(apart_.begin(), apart_.end(),
                              [&](DWORD t) { return !holdsWindowOf(frame_, t); }),
               apart_.end());
  const DWORD thread = hostedThread(window);
  if (thread == 0 || contains(apart_, thread)) return;
  if (!::AttachThreadInput(thread, ownThread_, FALSE)) return;
  apart_.push_back(thread);
  // Joined again only once the program has read what was sent before (the
  // word of this change included), which it would otherwise carry out on the
  // frame's input.
  if (!::SendMessageCallbackW(window, WM_NULL, 0, 0, onAnswered, thread)) answered(thread);
}

bool HostedInput::onMessage(UINT message) {
  if (message != kAfterChange) return false;
  afterChangePosted_ = false;
  // First the activation that had to be refused, while the programs are
  // still apart: joined again, the activation would be theirs to lose.
  if (HWND window = std::exchange(activateAgain_, nullptr)) {
    if (::IsWindow(window) && threadOf(window) == ownThread_) ::SetActiveWindow(window);
  }
  for (const DWORD thread : std::exchange(answeredMeanwhile_, {})) join(thread);
  return true;
}

void CALLBACK HostedInput::onAnswered(HWND, UINT, ULONG_PTR thread, LRESULT) {
  if (current != nullptr) current->answered(static_cast<DWORD>(thread));
}

void HostedInput::answered(DWORD thread) {
  if (afterChangePosted_) {
    answeredMeanwhile_.push_back(thread);
  } else {
    join(thread);
  }
}

void HostedInput::join(DWORD thread) {
  if (!contains(apart_, thread)) return;
  erase(apart_, thread);
  if (holdsWindowOf(frame_, thread)) ::AttachThreadInput(thread, ownThread_, TRUE);
}

void foundSilent(HWND window) {
  if (current != nullptr) current->setApart(window);
}

bool setApartToLeave(HWND window) {
  HWND parent = ::GetAncestor(window, GA_PARENT);
  const DWORD thread = threadOf(window);
  const DWORD own = ::GetCurrentThreadId();
  if (thread == 0 || thread == own || parent == nullptr || threadOf(parent) != own) return false;
  for (HWND child = ::GetWindow(parent, GW_CHILD); child != nullptr;
       child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (child != window && threadOf(child) == thread) return false;
  }
  return ::AttachThreadInput(thread, own, FALSE) != FALSE;
}

void joinAgainIfStillHosted(HWND window, DWORD frameThread) {
  HWND parent = ::GetAncestor(window, GA_PARENT);
  if (parent == nullptr || threadOf(parent) != frameThread) return;
  ::AttachThreadInput(threadOf(window), frameThread, TRUE);
}

}  // namespace vitrolux::platform::win32
