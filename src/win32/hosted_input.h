// The keyboard and the activation that the frame shares with the programs
// it hosts.
//
// Making another program's window a child of the frame joins that
// program's input to the frame's: both threads then have one focus, one
// active window and one queue of mouse and key input. The join is what
// lets the hosted program take the keyboard inside the frame. Its price:
// every change of the frame's activation or focus first tells the window
// losing it, with a send that waits for its program. A program that has
// stopped answering then holds the frame.
//
// Windows keeps that join for as long as the window is hosted (it refuses
// AttachThreadInput(FALSE) between a parent's thread and a child's of
// another program), so there is nothing to do, and nothing here runs: no
// hook, no message, no question to any program. Wine lets the join be
// undone; there a hosted program that does not answer is kept apart from
// the frame's input until it answers again. Which of the two the system
// does is found out once, by trying, at the first window hosted.
#pragma once

#include <windows.h>

#include <vector>

namespace vitrolux::platform::win32 {

// Posted to the frame when a window of another thread has become its child
// (by a thread of ours that may outlive the frame, hence a message).
inline constexpr UINT kWindowHostedMessage = WM_APP + 0x52;

// What the frame already knows of other programs, without asking them.
class KnownPrograms {
 public:
  virtual ~KnownPrograms() = default;
  // The window's program did not answer a moment ago.
  virtual bool knownSilent(HWND window) const = 0;
};

// What the desktop tells the frame's input about hosted windows.
class HostedInputEvents {
 public:
  virtual ~HostedInputEvents() = default;
  // The frame found the window's program not answering.
  virtual void programSilent(HWND window) = 0;
  // The window is about to go back to the desktop: true when its program's
  // input was set apart from the frame's first (Wine keeps the join after
  // the window has left, so the activation it hands on would reach the
  // frame). Then joinAgainIfStillHosted, should it not go after all.
  virtual bool setApartToLeave(HWND window) = 0;
};

// The window of another thread has become a child of `parent` (or of one of
// its descendants): tells the frame. Any thread.
void announceHosted(HWND parent);
// The window did not go back to the desktop after setApartToLeave: its
// program's input is joined to the frame's thread again. Any thread.
void joinAgainIfStillHosted(HWND window, DWORD frameThread);

// The system's call that joins and separates input, which tests replace.
struct InputCalls {
  decltype(&::AttachThreadInput) attachThreadInput = ::AttachThreadInput;
};

class HostedInput final : public HostedInputEvents {
 public:
  enum class Separation : unsigned char {
    Unknown,  // no window hosted yet
    Refused,  // Windows: the join stays; nothing to do
    Allowed,  // Wine: a program that does not answer is set apart
  };

  // For the frame `frame`, owned by the calling thread. `calls` null means
  // the system's. One per thread.
  HostedInput(HWND frame, const KnownPrograms& programs, const InputCalls* calls = nullptr);
  ~HostedInput() override;
  HostedInput(const HostedInput&) = delete;
  HostedInput& operator=(const HostedInput&) = delete;

  Separation separation() const { return separation_; }
  // Whether the activation and focus changes are watched (a hook is set).
  bool watching() const { return hook_ != nullptr; }

  // A click is about to activate the frame (WM_MOUSEACTIVATE). The program
  // losing the activation is set apart here rather than when the
  // activation starts: a click whose activation is refused is lost with it.
  void beforeClickActivation();
  // A message of ours posted to the frame: true when it was one.
  bool onMessage(UINT message);

  // ---- HostedInputEvents ----------------------------------------------------
  void programSilent(HWND window) override;
  bool setApartToLeave(HWND window) override;

 private:
  static LRESULT CALLBACK onCbt(int code, WPARAM wParam, LPARAM lParam);
  static void CALLBACK onAnswered(HWND window, UINT message, ULONG_PTR thread, LRESULT result);

  // Tries once, on the first program whose window the frame holds, whether
  // the system lets its input be set apart; watches the frame's changes
  // from then on where it does.
  void decide();
  // Whether the system separates input, decided now if it is not yet.
  bool separates();
  bool attach(DWORD thread, bool join) const;
  // The thread of `window` when a window of that thread is hosted; else 0.
  DWORD hostedThread(HWND window) const;
  // For a change that takes the activation or focus from `window`. True
  // when its program's input is apart from the frame's, now or already.
  bool setApartForChange(HWND window);
  // Apart until the program answers.
  void setApart(HWND window);
  void answered(DWORD thread);
  void join(DWORD thread);

  HWND frame_;
  const KnownPrograms& programs_;
  InputCalls calls_;
  DWORD ownThread_;
  Separation separation_ = Separation::Unknown;
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

}  // namespace vitrolux::platform::win32
