#include "platform/win32/foreign_call.h"

#include <exception>
#include <thread>
#include <utility>

#include "platform/win32/unique_resource.h"

namespace vitrolux::platform::win32 {

bool ofOtherThread(HWND window) {
  const DWORD thread = ::GetWindowThreadProcessId(window, nullptr);
  return thread != 0 && thread != ::GetCurrentThreadId();
}

bool answersWithin(HWND window, unsigned waitMs) {
  DWORD_PTR result = 0;
  return ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, waitMs, &result) != 0;
}

namespace {

struct Job {
  std::function<void()> work;
  unique_handle done;
};

// Handles what other threads have sent to this one, and nothing else:
// posted messages and input wait for the message loop, so no other event of
// the frame runs in the middle of the call.
void handleSentMessages() {
  MSG message{};
  ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}

}  // namespace

bool runWithin(unsigned waitMs, std::function<void()> work) {
  auto job = std::make_shared<Job>();
  job->work = std::move(work);
  job->done.reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!job->done) return false;
  try {
    std::thread([job] {
      job->work();
      ::SetEvent(job->done.get());
    }).detach();
  } catch (const std::exception&) {
    return false;
  }
  const ULONGLONG deadline = ::GetTickCount64() + waitMs;
  const HANDLE done = job->done.get();
  for (;;) {
    const ULONGLONG now = ::GetTickCount64();
    const DWORD left = now >= deadline ? 0 : static_cast<DWORD>(deadline - now);
    const DWORD woken =
        ::MsgWaitForMultipleObjectsEx(1, &done, left, QS_SENDMESSAGE, MWMO_INPUTAVAILABLE);
    if (woken == WAIT_OBJECT_0) return true;
    if (woken != WAIT_OBJECT_0 + 1) return false;  // the time is up, or the wait failed
    handleSentMessages();
  }
}

void separateInput(DWORD otherThread, DWORD ownThread) {
  if (otherThread == 0 || otherThread == ownThread) return;
  ::AttachThreadInput(otherThread, ownThread, FALSE);
}

}  // namespace vitrolux::platform::win32
