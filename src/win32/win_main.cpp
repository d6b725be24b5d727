// The program's entry: the logic comes in through makeApplication, so
// nothing here knows its headers.
#include <windows.h>

#include "ui/application.h"
#include "win32/program.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  namespace win32 = vitrolux::platform::win32;
  win32::prepareProcess();
  try {
    return win32::runProgram(instance, vitrolux::platform::makeApplication);
  } catch (...) {
    // Only construction can throw this far (out of memory); the frame's
    // handlers catch their own.
    return 1;
  }
}
