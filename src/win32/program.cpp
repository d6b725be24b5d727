#include "win32/program.h"

#include "ui/guard.h"
#include "win32/fatal_exit.h"
#include "win32/win32_services.h"
#include "win32/win32_system.h"

namespace vitrolux::platform::win32 {
namespace {

// Clears the fatal-exit target before the frame object it names is gone.
class FatalExitTarget {
 public:
  explicit FatalExitTarget(FrameEvents& events) { setFatalExitTarget(&events); }
  ~FatalExitTarget() { setFatalExitTarget(nullptr); }
  FatalExitTarget(const FatalExitTarget&) = delete;
  FatalExitTarget& operator=(const FatalExitTarget&) = delete;
};

// Takes the frame down while the frame object still exists: on the way out
// through an exception the window may still be there, holding windows of
// other programs to give back, and its controls refer to the frame object.
class FrameTeardown {
 public:
  explicit FrameTeardown(Win32System& system) : system_(system) {}
  ~FrameTeardown() { system_.destroyFrame(); }
  FrameTeardown(const FrameTeardown&) = delete;
  FrameTeardown& operator=(const FrameTeardown&) = delete;

 private:
  Win32System& system_;
};

}  // namespace

void prepareProcess() {
  // Programs are looked up in the system folders before the current one.
  ::SetSearchPathMode(BASE_SEARCH_PATH_ENABLE_SAFE_SEARCHMODE | BASE_SEARCH_PATH_PERMANENT);
  installFatalExitHooks();
}

int runProgram(HINSTANCE instance, const ApplicationMaker& make) {
  Win32System system(instance);
  Win32Processes processes;
  Win32Files files;
  Win32Text text;
  const std::unique_ptr<Application> application =
      make(Ports{system, system, processes, files, text});
  if (!application) return 1;
  const FatalExitTarget fatalExitTarget(*application);
  const FrameTeardown frameTeardown(system);

  if (system.createFrameFirst(*application, application->controls(), application->look()) ==
      nullptr) {
    return 1;
  }
  // Loading may end the process (another instance runs): the frame is then
  // never shown.
  guarded([&] { application->onLoad(); });
  system.showFrame();
  return system.run();
}

}  // namespace vitrolux::platform::win32
