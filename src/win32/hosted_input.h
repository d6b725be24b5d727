// The input the frame shares with the programs it hosts. While a hosted
// program's input is joined to the frame's (adopting its window joins
// them), every activation or focus change of the frame waits for that
// program: one that stops answering is set apart until it answers again.
// Wine allows the separation; Windows refuses it, and nothing changes there.
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

// A hosted window is about to go back to the desktop: its program's input is
// set apart first (Wine keeps the join after the window has left), unless
// another of its windows stays. True when it was.
bool setApartToLeave(HWND window);
// The window did not go after all: joined again while it is still hosted.
// May be called from any thread.
void joinAgainIfStillHosted(HWND window, DWORD frameThread);

}  // namespace vitrolux::platform::win32
