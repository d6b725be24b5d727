// How the frame keeps a hosted program that has stopped answering from
// holding its clicks, where the system allows it (Wine). In short:
//
// - Nothing happens until a window is hosted. Then decide() tries once
//   whether the system separates the two programs' input: Windows refuses,
//   and from then on this file does nothing at all there.
// - Where it separates (Wine), a WH_CBT hook on the frame's thread sees each
//   activation and focus change before the system makes it. When the
//   window losing the activation or the focus is a hosted program's, that
//   program's input is set apart from the frame's first: the system then
//   tells it with a posted message rather than a send the frame waits on.
// - A click on the frame does the same a moment earlier, at
//   WM_MOUSEACTIVATE: a click whose activation had to be refused would be
//   lost.
// - The program is joined again once it has read what was sent to it in
//   the meantime: a WM_NULL sent with SendMessageCallback comes back then.
//   Until it answers, it simply stays apart.
//
// Nothing here waits for another program or sends it anything that must be
// answered: what is known of a program comes from the system
// (IsHungAppWindow) and from the frame's own earlier questions
// (KnownPrograms). So no message can reach the frame, a WM_CLOSE that
// destroys it included, while one of these functions is on the stack.
#include "win32/hosted_input.h"

#include <algorithm>
#include <utility>

namespace vitrolux::platform::win32 {
namespace {

// The hook procedure and the answer's callback get no context of their
// own: the frame's HostedInput is found through its thread.
thread_local HostedInput* threadInput = nullptr;

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

// Inside a message sent (not posted, not yet replied to) by another thread.
bool insideSend() {
  return (::InSendMessageEx(nullptr) & (ISMEX_SEND | ISMEX_REPLIED)) == ISMEX_SEND;
}

}  // namespace

void announceHosted(HWND parent) {
  HWND frame = ::GetAncestor(parent, GA_ROOT);
  if (frame != nullptr) ::PostMessageW(frame, kWindowHostedMessage, 0, 0);
}

void joinAgainIfStillHosted(HWND window, DWORD frameThread) {
  HWND parent = ::GetAncestor(window, GA_PARENT);
  if (parent == nullptr || threadOf(parent) != frameThread) return;
  ::AttachThreadInput(threadOf(window), frameThread, TRUE);
}

HostedInput::HostedInput(HWND frame, const KnownPrograms& programs, const InputCalls* calls)
    : frame_(frame),
      programs_(programs),
      calls_(calls != nullptr ? *calls : InputCalls{}),
      ownThread_(::GetCurrentThreadId()) {
  threadInput = this;
  // A window may be in the frame already.
  decide();
}

HostedInput::~HostedInput() {
  if (hook_ != nullptr) ::UnhookWindowsHookEx(hook_);
  if (threadInput == this) threadInput = nullptr;
}

bool HostedInput::attach(DWORD thread, bool join) const {
  return calls_.attachThreadInput(thread, ownThread_, join ? TRUE : FALSE) != FALSE;
}

void HostedInput::decide() {
  if (separation_ != Separation::Unknown) return;
  DWORD thread = 0;
  for (HWND child = ::GetWindow(frame_, GW_CHILD); child != nullptr && thread == 0;
       child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (threadOf(child) != ownThread_) thread = threadOf(child);
  }
  if (thread == 0) return;
  // The window's adoption joined the two threads' input; undoing that join
  // is the question. Where it works, it is made again at once.
  if (!attach(thread, false)) {
    separation_ = Separation::Refused;
    return;
  }
  attach(thread, true);
  separation_ = Separation::Allowed;
  hook_ = ::SetWindowsHookExW(WH_CBT, onCbt, nullptr, ownThread_);
}

bool HostedInput::separates() {
  // The message that a window was hosted may still be on its way.
  decide();
  return separation_ == Separation::Allowed;
}

void HostedInput::beforeClickActivation() {
  if (!separates()) return;
  setApartForChange(::GetActiveWindow());
  setApartForChange(::GetFocus());
}

LRESULT CALLBACK HostedInput::onCbt(int code, WPARAM wParam, LPARAM lParam) {
  HostedInput* self = threadInput;
  if (self != nullptr && code == HCBT_ACTIVATE) {
    // The system read the window losing the activation before it called
    // the hook, and would tell it with a send all the same: this change is
    // refused, and made again (kAfterChange) once its program is apart.
    // The focus is read again after the hook, so setting its program apart
    // now is enough.
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
    // lParam: the window losing the focus.
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
  // Inside a send from the hosted program itself (it activates the frame
  // as it takes a click of its own) it waits for the frame and reads what
  // is sent meanwhile: set apart right then, it would lose its focus. So a
  // program the system and the frame know nothing against is told as
  // usual. Any other change may come just as a program goes busy, and a
  // past answer proves nothing: it is set apart regardless.
  if (insideSend() && !::IsHungAppWindow(window) && !programs_.knownSilent(window)) return false;
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
  if (!attach(thread, false)) return;
  apart_.push_back(thread);
  // Joined again only once the program has read what was sent before (the
  // word of this change included), which it would otherwise carry out on
  // the frame's input. The callback comes whenever that is, or never.
  if (!::SendMessageCallbackW(window, WM_NULL, 0, 0, onAnswered, thread)) answered(thread);
}

bool HostedInput::onMessage(UINT message) {
  if (message == kWindowHostedMessage) {
    decide();
    return true;
  }
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
  if (threadInput != nullptr) threadInput->answered(static_cast<DWORD>(thread));
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
  if (holdsWindowOf(frame_, thread)) attach(thread, true);
}

void HostedInput::programSilent(HWND window) {
  if (separates()) setApart(window);
}

bool HostedInput::setApartToLeave(HWND window) {
  if (!separates()) return false;
  HWND parent = ::GetAncestor(window, GA_PARENT);
  const DWORD thread = threadOf(window);
  if (thread == 0 || thread == ownThread_ || parent == nullptr || threadOf(parent) != ownThread_) {
    return false;
  }
  // Another of its windows stays: so does the join.
  for (HWND child = ::GetWindow(parent, GW_CHILD); child != nullptr;
       child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (child != window && threadOf(child) == thread) return false;
  }
  return attach(thread, false);
}

}  // namespace vitrolux::platform::win32
