#include "win32/foreign_call.h"

#include <algorithm>
#include <exception>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "win32/unique_resource.h"

namespace vitrolux::platform::win32 {

bool ofOtherThread(HWND window) {
  const DWORD thread = ::GetWindowThreadProcessId(window, nullptr);
  return thread != 0 && thread != ::GetCurrentThreadId();
}

namespace {

int waitDepth = 0;

// While the frame waits for another program, the messages sent to it are
// handled in the middle of the event that made it wait (see
// waitingForCall).
class Waiting {
 public:
  Waiting() { ++waitDepth; }
  ~Waiting() { --waitDepth; }
  Waiting(const Waiting&) = delete;
  Waiting& operator=(const Waiting&) = delete;
};

}  // namespace

bool answersWithin(HWND window, unsigned waitMs) {
  const Waiting waiting;
  DWORD_PTR result = 0;
  return ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, waitMs, &result) != 0;
}

namespace {

struct Job {
  HWND window;
  std::function<void()> work;
  unique_handle done;
};

// The windows of the calls running, one entry per call; the calls end on
// their own threads.
std::mutex& runningLock() {
  static std::mutex lock;
  return lock;
}
std::vector<HWND>& running() {
  static std::vector<HWND> windows;
  return windows;
}

void ended(HWND window) {
  const std::lock_guard<std::mutex> hold(runningLock());
  std::vector<HWND>& windows = running();
  const auto at = std::find(windows.begin(), windows.end(), window);
  if (at != windows.end()) windows.erase(at);
}

// Only what other threads have sent: posted messages, timers and input wait
// for the message loop. (The handlers run in the middle of the event that
// made the call; see waitingForCall.)
void handleSentMessages() {
  MSG message{};
  ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}

}  // namespace

bool callUnderWay(HWND window) {
  const std::lock_guard<std::mutex> hold(runningLock());
  const std::vector<HWND>& windows = running();
  return std::find(windows.begin(), windows.end(), window) != windows.end();
}

bool waitingForCall() {
  return waitDepth > 0;
}

bool runWithin(HWND window, unsigned waitMs, std::function<void()> work) {
  auto job = std::make_shared<Job>();
  job->window = window;
  job->work = std::move(work);
  job->done.reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!job->done) return false;
  {
    const std::lock_guard<std::mutex> hold(runningLock());
    running().push_back(window);
  }
  try {
    std::thread([job] {
      job->work();
      ended(job->window);
      ::SetEvent(job->done.get());
    }).detach();
  } catch (const std::exception&) {
    ended(window);
    return false;
  }
  const Waiting waiting;
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

}  // namespace vitrolux::platform::win32
