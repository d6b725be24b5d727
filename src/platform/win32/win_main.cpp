// The program's entry: prepares the process, builds the frame, runs it.
#include <windows.h>

#include "app/main_frame.h"
#include "platform/win32/fatal_exit.h"
#include "platform/win32/win32_system.h"
#include "platform/win32/window_binding.h"

namespace {

namespace win32 = vitrolux::platform::win32;

// Clears the fatal-exit target before the frame object it names is gone.
class FatalExitTarget {
 public:
  explicit FatalExitTarget(vitrolux::platform::FrameEvents& events) {
    win32::setFatalExitTarget(&events);
  }
  ~FatalExitTarget() { win32::setFatalExitTarget(nullptr); }
  FatalExitTarget(const FatalExitTarget&) = delete;
  FatalExitTarget& operator=(const FatalExitTarget&) = delete;
};

// Takes the frame down while the frame object still exists: on the way out
// through an exception the window may still be there, holding windows of
// other programs to give back, and its controls refer to the frame object.
class FrameTeardown {
 public:
  explicit FrameTeardown(win32::Win32System& system) : system_(system) {}
  ~FrameTeardown() { system_.destroyFrame(); }
  FrameTeardown(const FrameTeardown&) = delete;
  FrameTeardown& operator=(const FrameTeardown&) = delete;

 private:
  win32::Win32System& system_;
};

int runProgram(HINSTANCE instance) {
  win32::Win32System system(instance);
  vitrolux::app::Main main(system);
  const FatalExitTarget fatalExitTarget(main);
  const FrameTeardown frameTeardown(system);

  if (system.createFrameFirst(main, main.controls()) == nullptr) return 1;
  // Loading may end the process (another instance runs): the frame is then
  // never shown.
  win32::safely([&] { main.onLoad(); });
  system.showFrame();
  return system.run();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  // Programs are looked up in the system folders before the current one.
  ::SetSearchPathMode(BASE_SEARCH_PATH_ENABLE_SAFE_SEARCHMODE | BASE_SEARCH_PATH_PERMANENT);

  win32::installFatalExitHooks();
  try {
    return runProgram(instance);
  } catch (...) {
    // Only construction can throw this far (out of memory); the frame's
    // handlers catch their own.
    return 1;
  }
}
