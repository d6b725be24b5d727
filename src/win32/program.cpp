#include "win32/program.h"

#include "ui/guard.h"
#include "win32/control_windows.h"
#include "win32/desktop.h"
#include "win32/fatal_exit.h"
#include "win32/frame_system.h"
#include "win32/win32_services.h"

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

// Takes the frame down while the logic and the controls' windows still
// exist: on the way out through an exception the window may still be there,
// holding windows of other programs to give back.
class FrameTeardown {
 public:
  explicit FrameTeardown(FrameSystem& frame) : frame_(frame) {}
  ~FrameTeardown() { frame_.destroyFrame(); }
  FrameTeardown(const FrameTeardown&) = delete;
  FrameTeardown& operator=(const FrameTeardown&) = delete;

 private:
  FrameSystem& frame_;
};

}  // namespace

void prepareProcess() {
  // Programs are looked up in the system folders before the current one.
  ::SetSearchPathMode(BASE_SEARCH_PATH_ENABLE_SAFE_SEARCHMODE | BASE_SEARCH_PATH_PERMANENT);
  installFatalExitHooks();
}

int runProgram(HINSTANCE instance, const ApplicationMaker& make) {
  Desktop desktop;
  FrameSystem frame(instance, desktop);
  Win32Processes processes;
  Win32Files files;
  Win32Text text;
  const std::unique_ptr<Application> application =
      make(Ports{frame, desktop, processes, files, text});
  if (!application) return 1;
  const FatalExitTarget fatalExitTarget(*application);
  desktop.setEvents(application.get());

  if (frame.createFrame(*application, application->look()) == nullptr) return 1;
  ControlWindows controls(instance, frame, *application, application->controls());
  const FrameTeardown frameTeardown(frame);
  // Loading may end the process (another instance runs): the frame is then
  // never shown.
  guarded([&] { application->onLoad(); });
  frame.showFrame([&] { controls.realise(); });
  return frame.run();
}

}  // namespace vitrolux::platform::win32
