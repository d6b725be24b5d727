#include "win32/fatal_exit.h"

#include <windows.h>

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <exception>

namespace vitrolux::platform::win32 {
namespace {

std::atomic<FrameEvents*> target{nullptr};
std::atomic<bool> ran{false};

LONG WINAPI onUnhandledException(EXCEPTION_POINTERS*) {
  runFatalExit();
  return EXCEPTION_CONTINUE_SEARCH;  // the process dies as it would have
}

[[noreturn]] void onTerminate() {
  runFatalExit();
  std::abort();
}

void onAbortSignal(int) {
  runFatalExit();
  // abort() goes on to end the process once the handler returns.
  std::signal(SIGABRT, SIG_DFL);
}

}  // namespace

void installFatalExitHooks() {
  ::SetUnhandledExceptionFilter(onUnhandledException);
  std::set_terminate(onTerminate);
  std::signal(SIGABRT, onAbortSignal);
}

void setFatalExitTarget(FrameEvents* events) {
  target.store(events);
}

void runFatalExit() noexcept {
  // A second fault while giving back (or abort after terminate) must not
  // start over.
  if (ran.exchange(true)) return;
  FrameEvents* events = target.load();
  if (events == nullptr) return;
  try {
    events->onEmergencyExit();
  } catch (...) {
  }
}

}  // namespace vitrolux::platform::win32
