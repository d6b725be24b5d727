// The input that the frame shares with the programs it hosts.
//
// Adopting a window of another thread joins that thread's input to the
// frame's (the system does it for every parent and child of two threads):
// keys typed into the hosted program reach it only so. While joined, every
// change of the activation or focus first tells the window that loses it,
// with a message that waits for that window's program for as long as it
// takes. A hosted program that has stopped answering, or stops just then,
// would hold the frame at its next click, and hold another hosted program
// that gives up the activation to it.
//
// So a hosted program's input is set apart from the frame's when the frame
// finds the program silent, and when the frame's own activation or focus is
// about to be taken from it (unless the change is that program's own
// doing); it is joined again once the program has read what was sent to it
// meanwhile.
// Wine lets a parent's and a child's input be separated. Windows keeps them
// joined and refuses: there nothing changes, the hosted program is told as
// usual, and the frame waits for a hung hosted program as every parent of
// another program's window does.
#pragma once

#include <windows.h>

#include <vector>

namespace vitrolux::platform::win32 {

class Desktop;

class HostedInput {
 public:
  // Watches the activation and focus changes of the calling thread, which
  // owns `frame`; `desktop` knows which programs have stopped answering.
  // One at a time in a process.
  HostedInput(HWND frame, Desktop& desktop);
  ~HostedInput();
  HostedInput(const HostedInput&) = delete;
  HostedInput& operator=(const HostedInput&) = delete;

  // A click is about to activate the frame (WM_MOUSEACTIVATE). Done here
  // rather than when the activation starts: a click whose activation is
  // refused is lost with it.
  void beforeClickActivation();
  // A message of its own posted to the frame: true when it was one.
  bool onMessage(UINT message);

 private:
  friend void foundSilent(HWND window);
  static LRESULT CALLBACK onCbt(int code, WPARAM wParam, LPARAM lParam);
  static void CALLBACK onAnswered(HWND window, UINT message, ULONG_PTR thread, LRESULT result);

  // The thread of `window` when it is a hosted program's; 0 otherwise.
  DWORD hostedThread(HWND window) const;
  // For a change that takes the activation or focus from `window`. True
  // when its program's input is apart from the frame's, now or already.
  bool setApartForChange(HWND window);
  // Apart until the program answers.
  void setApart(HWND window);
  void answered(DWORD thread);
  void join(DWORD thread);

  HWND frame_;
  Desktop& desktop_;
  DWORD ownThread_;
  HHOOK hook_ = nullptr;
  // Threads whose input is apart from the frame's until their program
  // answers.
  std::vector<DWORD> apart_;
  // An activation refused because the window losing it was set apart only
  // then (the system had read it already), to be made once more; the
  // programs that answered before that are joined after it.
  HWND activateAgain_ = nullptr;
  bool afterChangePosted_ = false;
  std::vector<DWORD> answeredMeanwhile_;
};

// The frame found `window` not answering: when it is a hosted program's,
// that program is kept apart from the frame's input until it answers.
void foundSilent(HWND window);

// A hosted window is about to go back to the desktop. Windows ends the join
// of their input with the parent relation; Wine keeps it, and hiding the
// window on its way out would hand the activation on within the frame's
// input, to the frame and to hosted programs that may not answer. So its
// program's input is set apart first, unless another of its windows stays.
// True when it was.
bool setApartToLeave(HWND window);
// The window did not go after all: joined again while it is still hosted.
// May be called from any thread.
void joinAgainIfStillHosted(HWND window, DWORD frameThread);

}  // namespace vitrolux::platform::win32
