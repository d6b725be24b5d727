// The system's Open dialog for a program to run, and how Explorer would
// start the choice; and the COM apartment that the shell's objects need.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "ports/types.h"

namespace vitrolux::platform::win32 {

// The frame's thread joins a single-threaded COM apartment once, before the
// first shell dialog or object, as those expect, and leaves it when this
// goes (on the same thread). ole32 is loaded only then: most runs never
// open the dialog.
class ComApartment {
 public:
  ComApartment() = default;
  ~ComApartment();
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

  // True once the thread is in an apartment (this one, or one entered
  // before by someone else).
  bool enter();

 private:
  bool tried_ = false;
  bool entered_ = false;  // ours to leave
  bool inside_ = false;
};

// What starts a choice: its command line (empty for a shortcut that names
// no program), folder and show command.
struct Choice {
  std::wstring commandLine;
  std::wstring folder;
  int showCommand = SW_SHOWNORMAL;
};

// Programs (.exe) and shortcuts (.lnk), starting in the Program Files
// folder; owned by `owner`, so it stays above it. A program starts quoted
// in its own folder; a shortcut starts its target (found again, without
// asking the user, when it has moved) with its arguments, in its "Start in"
// folder, with its show command. Nothing on Cancel or when the dialog
// cannot be shown.
std::optional<Choice> chooseProgram(HWND owner, const std::wstring& title,
                                    const std::wstring& filterName);

}  // namespace vitrolux::platform::win32
