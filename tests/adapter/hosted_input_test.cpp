// The frame's input and the programs it hosts: what is decided, once, about
// setting a hosted program's input apart, and what then runs.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "adapter_fixture.h"
#include "win32/hosted_input.h"

namespace vitrolux::platform::win32::testing {
namespace {

// A window of a thread of its own, which reads its messages until it is
// told to sleep; it counts the WM_NULL messages that reach it.
class OtherThreadWindow {
 public:
  OtherThreadWindow() {
    thread_ = std::thread([this] { run(); });
    while (window_.load() == nullptr) ::Sleep(1);
  }
  ~OtherThreadWindow() {
    awake_ = true;
    ::PostMessageW(window_, WM_CLOSE, 0, 0);
    thread_.join();
  }
  OtherThreadWindow(const OtherThreadWindow&) = delete;
  OtherThreadWindow& operator=(const OtherThreadWindow&) = delete;

  HWND window() const { return window_; }
  DWORD thread() const { return ::GetWindowThreadProcessId(window_, nullptr); }
  int nulls() const { return nulls_; }
  // Stops reading messages until woken.
  void sleep() {
    awake_ = false;
    ::PostMessageW(window_, kSleep, 0, 0);
  }
  void wake() { awake_ = true; }

 private:
  static constexpr UINT kSleep = WM_APP + 7;

  static LRESULT CALLBACK proc(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<OtherThreadWindow*>(::GetWindowLongPtrW(w, GWLP_USERDATA));
    if (self != nullptr && message == WM_NULL) ++self->nulls_;
    if (self != nullptr && message == kSleep) {
      while (!self->awake_) ::Sleep(5);
      return 0;
    }
    if (message == WM_CLOSE) {
      ::DestroyWindow(w);
      ::PostQuitMessage(0);
      return 0;
    }
    return ::DefWindowProcW(w, message, wParam, lParam);
  }

  void run() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"VitroluxHostedInputTest";
    ::RegisterClassW(&wc);
    HWND w = ::CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                               wc.hInstance, nullptr);
    ::SetWindowLongPtrW(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    window_ = w;
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) ::DispatchMessageW(&message);
  }

  std::thread thread_;
  std::atomic<HWND> window_{nullptr};
  std::atomic<int> nulls_{0};
  std::atomic<bool> awake_{true};
};

class NothingKnown final : public KnownPrograms {
 public:
  bool knownSilent(HWND) const override { return false; }
};

// The system's calls, counted; where `refuse` holds, separating input
// fails as Windows makes it fail for a parent and its child.
std::atomic<int> attachCalls{0};
bool refuse = false;

BOOL WINAPI countedAttach(DWORD from, DWORD to, BOOL join) {
  ++attachCalls;
  if (refuse && join == FALSE) {
    ::SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  return ::AttachThreadInput(from, to, join);
}

class HostedInputTest : public FrameFixture {
 protected:
  void SetUp() override {
    FrameFixture::SetUp();
    attachCalls = 0;
    refuse = false;
  }
  void TearDown() override {
    // The hosted window goes back before its thread ends; its thread
    // carries that out.
    hosted.wake();
    ::SetParent(hosted.window(), nullptr);
  }

  // The window becomes the frame's child, as the desktop's call does it.
  void host() {
    ASSERT_NE(::SetParent(hosted.window(), frame), nullptr);
    announceHosted(frame);
  }

  NothingKnown nothingKnown;
  InputCalls counted{countedAttach};
  OtherThreadWindow hosted;
};

TEST_F(HostedInputTest, WhereTheSystemRefusesTheSeparationNothingRunsAfterOneTry) {
  refuse = true;
  HostedInput input(frame, nothingKnown, &counted);
  EXPECT_EQ(input.separation(), HostedInput::Separation::Unknown);
  EXPECT_FALSE(input.watching()) << "nothing to watch before a window is hosted";
  EXPECT_EQ(attachCalls, 0);

  host();
  EXPECT_TRUE(input.onMessage(kWindowHostedMessage));
  EXPECT_EQ(input.separation(), HostedInput::Separation::Refused);
  EXPECT_FALSE(input.watching());
  EXPECT_EQ(attachCalls, 1);

  // A click, a program found silent, a window going back: nothing is tried.
  input.beforeClickActivation();
  input.programSilent(hosted.window());
  EXPECT_FALSE(input.setApartToLeave(hosted.window()));
  input.onMessage(kWindowHostedMessage);
  EXPECT_EQ(attachCalls, 1);
  EXPECT_EQ(hosted.nulls(), 0) << "no question was sent to the program";
}

TEST_F(HostedInputTest, WhereTheSystemSeparatesAHostedProgramIsSetApartWithoutAWait) {
  HostedInput input(frame, nothingKnown, &counted);
  host();
  input.onMessage(kWindowHostedMessage);
  ASSERT_EQ(input.separation(), HostedInput::Separation::Allowed) << "Wine separates input";
  EXPECT_TRUE(input.watching());
  EXPECT_EQ(attachCalls, 2) << "tried, and joined again at once";

  // The program stops answering with the focus in its window; the frame
  // takes the focus back without waiting for it.
  ::SetFocus(hosted.window());
  hosted.sleep();
  ::Sleep(50);
  const ULONGLONG start = ::GetTickCount64();
  ::SetFocus(frame);
  EXPECT_LT(::GetTickCount64() - start, 500u);
  EXPECT_EQ(::GetFocus(), frame);
  EXPECT_EQ(attachCalls, 3) << "set apart until it answers";
}

}  // namespace
}  // namespace vitrolux::platform::win32::testing
