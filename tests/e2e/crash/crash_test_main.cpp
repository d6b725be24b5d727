// VitroluxCrashTest.exe: the real program with faults on demand, for the
// end-to-end tests of the fatal-exit give-back. Never shipped: Vitrolux.exe
// is built without this file.
//
// Keys posted to the frame as WM_KEYDOWN (keys no keyboard has) fault inside
// the frame's key handler, where the program's own handlers run:
//   F24  an access violation
//   F23  std::abort
//   F22  std::terminate
//   F21  an access violation in the next tick of a system timer of the frame
//   F20  no fault: the frame's window is destroyed without a close request,
//        as when the program ends some other way than by its close
// Every other event goes to the program unchanged. When the fatal-exit hooks
// call for the emergency give-back, "emergency-exit.txt" appears beside the
// exe first: the test sees that the hooks ran, and not some other way out.
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <exception>
#include <memory>
#include <string>

#include "ui/application.h"
#include "win32/program.h"

namespace {

namespace platform = vitrolux::platform;

constexpr unsigned kFaultTimerId = 77;

// Not known to the compiler as null, so the store below is a real access
// violation and not a trap the compiler put in its place.
volatile std::uintptr_t badAddress = 0;

void accessViolation() {
  *reinterpret_cast<volatile int*>(badAddress) = 1;
}

void markEmergencyExit() {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring marker(path, length);
  marker.resize(marker.find_last_of(L'\\') + 1);
  marker += L"emergency-exit.txt";
  HANDLE file = ::CreateFileW(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) ::CloseHandle(file);
}

class FaultyApplication final : public platform::Application {
 public:
  FaultyApplication(std::unique_ptr<platform::Application> program, platform::FramePort& frame)
      : program_(std::move(program)), frame_(frame) {}

  platform::ControlSet& controls() override { return program_->controls(); }
  platform::FrameLook look() const override { return program_->look(); }

  void onKeyDown(int keyCode, int shift) override {
    switch (keyCode) {
      case VK_F24:
        accessViolation();
        break;
      case VK_F23:
        std::abort();
      case VK_F22:
        std::terminate();
      case VK_F21:
        frame_.setSystemTimer(kFaultTimerId, 10);
        break;
      case VK_F20:
        ::DestroyWindow(reinterpret_cast<HWND>(frame_.frameWindow().value()));
        break;
      default:
        program_->onKeyDown(keyCode, shift);
        break;
    }
  }
  void onSystemTimer(unsigned id) override {
    if (id == kFaultTimerId) accessViolation();
    program_->onSystemTimer(id);
  }

  void onLoad() override { program_->onLoad(); }
  void onUnload(bool& cancel) override { program_->onUnload(cancel); }
  void onDestroy() override { program_->onDestroy(); }
  void onResize() override { program_->onResize(); }
  void onMouseDown(int button, int shift, float x, float y) override {
    program_->onMouseDown(button, shift, x, y);
  }
  void onMouseMove(int button, int shift, float x, float y) override {
    program_->onMouseMove(button, shift, x, y);
  }
  void onMouseUp(int button, int shift, float x, float y) override {
    program_->onMouseUp(button, shift, x, y);
  }
  void onDoubleClick() override { program_->onDoubleClick(); }
  void onCaptureLost() override { program_->onCaptureLost(); }
  void onClick(int control) override { program_->onClick(control); }
  void onControlDoubleClick(int control) override { program_->onControlDoubleClick(control); }
  void onControlMouseDown(int control, int button, int shift, float x, float y) override {
    program_->onControlMouseDown(control, button, shift, x, y);
  }
  void onControlMouseMove(int control, int button, int shift, float x, float y) override {
    program_->onControlMouseMove(control, button, shift, x, y);
  }
  void onControlMouseLeave(int control) override { program_->onControlMouseLeave(control); }
  void onTimer(int control) override { program_->onTimer(control); }
  void onDesktopWindowChanged(platform::WindowHandle window) override {
    program_->onDesktopWindowChanged(window);
  }
  void onEmergencyExit() override {
    markEmergencyExit();
    program_->onEmergencyExit();
  }

 private:
  std::unique_ptr<platform::Application> program_;
  platform::FramePort& frame_;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  namespace win32 = vitrolux::platform::win32;
  win32::prepareProcess();
  return win32::runProgram(instance, [](const platform::Ports& ports) {
    return std::make_unique<FaultyApplication>(platform::makeApplication(ports), ports.frame);
  });
}
