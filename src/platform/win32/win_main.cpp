// The program's entry: prepares the process, builds the frame, runs it. The
// logic comes in through makeApplication, so nothing here knows its headers.
#include <windows.h>

#include "platform/application.h"
#include "platform/guard.h"
#include "platform/win32/fatal_exit.h"
#include "platform/win32/win32_services.h"
#include "platform/win32/win32_system.h"

namespace {

namespace platform = vitrolux::platform;
namespace win32 = vitrolux::platform::win32;

// Clears the fatal-exit target before the frame object it names is gone.
class FatalExitTarget {
 public:
  explicit FatalExitTarget(platform::FrameEvents& events) { win32::setFatalExitTarget(&events); }
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
  win32::Win32Processes processes;
  win32::Win32Files files;
  win32::Win32Text text;
  const std::unique_ptr<platform::Application> application =
      platform::makeApplication(platform::Ports{system, system, processes, files, text});
  const FatalExitTarget fatalExitTarget(*application);
  const FrameTeardown frameTeardown(system);

  if (system.createFrameFirst(*application, application->controls(), application->look()) ==
      nullptr) {
    return 1;
  }
  // Loading may end the process (another instance runs): the frame is then
  // never shown.
  platform::guarded([&] { application->onLoad(); });
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
