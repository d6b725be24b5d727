// The contract environment on the real window system: the Win32 adapter with
// a frame of its own making and no controls, test windows of a class
// registered here, real files in a temporary folder, and keyboard input
// through SendInput.
#include <windows.h>

#include <map>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "contract/contract_env.h"
#include "contract/tick_counter.h"
#include "win32/desktop.h"
#include "win32/dpi.h"
#include "win32/frame_system.h"
#include "win32/win32_services.h"

namespace vitrolux::contract {
namespace {

constexpr wchar_t kClassName[] = L"VitroluxContractWindow";

// The environment's own conversions, independent of the adapter's, so that a
// fault there cannot cancel itself out between making and finding a window.
std::wstring wide(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int n =
      ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
  return out;
}

std::string utf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int n = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                      nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                        nullptr, nullptr);
  return out;
}

HWND hwnd(WindowHandle w) {
  return reinterpret_cast<HWND>(w.value());
}
WindowHandle handle(HWND w) {
  return WindowHandle(reinterpret_cast<std::intptr_t>(w));
}

void registerClass(HINSTANCE instance) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = ::DefWindowProcW;
  wc.hInstance = instance;
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = kClassName;
  ::RegisterClassW(&wc);  // fails harmlessly when a previous test registered it
}

void sendKey(int virtualKey, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = static_cast<WORD>(virtualKey);
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  ::SendInput(1, &input, sizeof(input));
}

// The step at which the adapter's file calls fail, and the calls that fail
// there; everything else goes to the system.
std::optional<WriteStep> failingStep;
bool wrotePart = false;

HANDLE WINAPI createFileFailing(LPCWSTR name, DWORD access, DWORD share,
                                LPSECURITY_ATTRIBUTES security, DWORD disposition, DWORD flags,
                                HANDLE templateFile) {
  if (failingStep == WriteStep::createTemporary && disposition == CREATE_NEW) {
    ::SetLastError(ERROR_ACCESS_DENIED);
    return INVALID_HANDLE_VALUE;
  }
  return ::CreateFileW(name, access, share, security, disposition, flags, templateFile);
}

// A disk that fills up: half of the first write arrives, then nothing.
BOOL WINAPI writeFileFailing(HANDLE file, LPCVOID data, DWORD size, LPDWORD written,
                             LPOVERLAPPED overlapped) {
  if (failingStep != WriteStep::write) {
    return ::WriteFile(file, data, size, written, overlapped);
  }
  if (wrotePart || size < 2) {
    if (written != nullptr) *written = 0;
    ::SetLastError(ERROR_DISK_FULL);
    return FALSE;
  }
  wrotePart = true;
  return ::WriteFile(file, data, size / 2, written, overlapped);
}

BOOL WINAPI moveFileFailing(LPCWSTR from, LPCWSTR to, DWORD flags) {
  if (failingStep == WriteStep::replace) {
    ::SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  return ::MoveFileExW(from, to, flags);
}

// Through void(*)(): the one function-pointer cast GCC does not warn about.
template <typename Fn>
Fn user32Function(const char* name) {
  return reinterpret_cast<Fn>(
      reinterpret_cast<void (*)()>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), name)));
}

DPI_AWARENESS_CONTEXT contextOf(DpiAwareness awareness) {
  switch (awareness) {
    case DpiAwareness::Unaware:
      return DPI_AWARENESS_CONTEXT_UNAWARE;
    case DpiAwareness::System:
      return DPI_AWARENESS_CONTEXT_SYSTEM_AWARE;
    case DpiAwareness::PerMonitorV2:
      return DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2;
  }
  return nullptr;
}

// The calling thread takes the scale as `awareness` says, where the system
// knows awareness contexts (Windows 10 1607 and later).
void takeScaleAs(std::optional<DpiAwareness> awareness) {
  using Set = DPI_AWARENESS_CONTEXT(WINAPI*)(DPI_AWARENESS_CONTEXT);
  static const Set set = user32Function<Set>("SetThreadDpiAwarenessContext");
  if (awareness && set != nullptr) set(contextOf(*awareness));
}

// A window of a thread of its own. The thread reads its messages until told
// to hang, and then reads nothing until it is told to resume: sent messages
// wait, and so does every call that the window system has it carry out.
class ForeignThread {
 public:
  ForeignThread(HINSTANCE instance, const std::wstring& caption,
                std::optional<DpiAwareness> awareness = std::nullopt)
      : ready_(::CreateEventW(nullptr, FALSE, FALSE, nullptr)),
        hung_(::CreateEventW(nullptr, FALSE, FALSE, nullptr)),
        resume_(::CreateEventW(nullptr, TRUE, TRUE, nullptr)),
        ended_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    thread_ = std::thread([this, instance, caption, awareness] {
      takeScaleAs(awareness);
      run(instance, caption);
      ::SetEvent(ended_);
    });
    ::WaitForSingleObject(ready_, 5000);
  }
  ~ForeignThread() {
    resume();
    ::PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
    // Its window's destruction may send to this thread (Wine does for a
    // window whose DPI awareness a parent of this thread changed): what is
    // sent is answered while it ends.
    const HANDLE ended = ended_;
    while (::MsgWaitForMultipleObjects(1, &ended, FALSE, 5000, QS_SENDMESSAGE) ==
           WAIT_OBJECT_0 + 1) {
      MSG message;
      ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    thread_.join();
    ::CloseHandle(ended_);
    ::CloseHandle(ready_);
    ::CloseHandle(hung_);
    ::CloseHandle(resume_);
  }
  ForeignThread(const ForeignThread&) = delete;
  ForeignThread& operator=(const ForeignThread&) = delete;

  HWND window() const { return window_; }
  void hang() {
    ::ResetEvent(resume_);
    ::PostThreadMessageW(threadId_, kHang, 0, 0);
    // Sent messages are read before posted ones: only once the thread
    // sleeps is a message sent to it left unanswered.
    ::WaitForSingleObject(hung_, 5000);
  }
  void resume() { ::SetEvent(resume_); }

 private:
  static constexpr UINT kHang = WM_APP + 1;

  void run(HINSTANCE instance, const std::wstring& caption) {
    threadId_ = ::GetCurrentThreadId();
    // No caption bar: such a window goes at once under Wine (see below).
    window_ = ::CreateWindowExW(0, kClassName, caption.c_str(), WS_POPUP | WS_VISIBLE, 300, 300,
                                200, 100, nullptr, nullptr, instance, nullptr);
    MSG message;
    ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);  // the queue for PostThreadMessage
    ::SetEvent(ready_);
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
      if (message.message == kHang) {
        ::SetEvent(hung_);
        ::WaitForSingleObject(resume_, INFINITE);
        continue;
      }
      ::DispatchMessageW(&message);
    }
    ::DestroyWindow(window_);
  }

  HANDLE ready_;
  HANDLE hung_;
  HANDLE resume_;
  HANDLE ended_;
  DWORD threadId_ = 0;
  HWND window_ = nullptr;
  std::thread thread_;
};

// A thread that holds a hot key of its own (no window: the thread's), as
// another program would, until it goes.
class HotKeyHolder {
 public:
  HotKeyHolder(unsigned modifiers, int virtualKey)
      : ready_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    thread_ = std::thread([this, modifiers, virtualKey] {
      threadId_ = ::GetCurrentThreadId();
      MSG message;
      ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);  // the queue for PostThreadMessage
      ::RegisterHotKey(nullptr, 1, modifiers, static_cast<UINT>(virtualKey));
      ::SetEvent(ready_);
      while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
      }
      ::UnregisterHotKey(nullptr, 1);
    });
    ::WaitForSingleObject(ready_, 5000);
  }
  ~HotKeyHolder() {
    ::PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
    thread_.join();
    ::CloseHandle(ready_);
  }
  HotKeyHolder(const HotKeyHolder&) = delete;
  HotKeyHolder& operator=(const HotKeyHolder&) = delete;

 private:
  HANDLE ready_;
  DWORD threadId_ = 0;
  std::thread thread_;
};

class Win32Env final : public ContractEnv {
 public:
  Win32Env() : instance_(::GetModuleHandleW(nullptr)) {
    registerClass(instance_);
    // 645 x 433 pixels at 96 DPI.
    const platform::FrameLook look{"Vitrolux contract frame", 9675, 6495, {0}};
    frame_ = frameSystem_.createFrame(events_, look);
    show(frame_);
    desktop_.setEvents(&events_);
  }

  ~Win32Env() override {
    // Their windows may live in the frame: they go first, each back on the
    // desktop (destroyed inside the frame, one waits for the frame's thread,
    // which waits for it to end) and destroyed by its own thread.
    for (const std::unique_ptr<ForeignThread>& thread : foreign_) {
      thread->resume();
      if (::GetAncestor(thread->window(), GA_PARENT) != ::GetDesktopWindow()) {
        desktop_.setParent(handle(thread->window()), WindowHandle{});
      }
    }
    foreign_.clear();
    // Under Wine without a window manager, hiding or destroying a visible
    // window that has a caption waits two seconds for a withdrawal that never
    // comes. Such windows lose their caption, so no later test finds them,
    // and go when the process ends; the rest are destroyed now.
    for (HWND w : windows_) {
      if (!::IsWindow(w)) continue;
      if (::IsWindowVisible(w) && ::GetAncestor(w, GA_PARENT) == ::GetDesktopWindow()) {
        ::SetWindowTextW(w, L"");
      } else {
        ::DestroyWindow(w);
      }
    }
    frameSystem_.destroyFrame();
    for (HICON icon : icons_) ::DestroyIcon(icon);
    for (auto& [path, file] : locks_) ::CloseHandle(file);
    failingStep.reset();
    for (auto it = folders_.rbegin(); it != folders_.rend(); ++it) removeFolder(*it);
  }

  platform::Ports ports() override { return {frameSystem_, desktop_, processes_, files_, text_}; }
  WindowHandle frame() override { return handle(frame_); }

  bool isWindow(WindowHandle window) override {
    return !window.isNull() && ::IsWindow(hwnd(window)) != FALSE;
  }
  WindowHandle getParent(WindowHandle window) override {
    // GetParent would give the owner of an owned top-level window, and
    // nothing for an overlapped window made a child without WS_CHILD.
    const HWND parent = ::GetAncestor(hwnd(window), GA_PARENT);
    return parent == ::GetDesktopWindow() ? WindowHandle{} : handle(parent);
  }
  bool isWindowVisible(WindowHandle window) override {
    return ::IsWindowVisible(hwnd(window)) != FALSE;
  }
  std::optional<std::uint8_t> layeredAlpha(WindowHandle window) override {
    COLORREF key = 0;
    BYTE alpha = 0;
    DWORD flags = 0;
    if (!::GetLayeredWindowAttributes(hwnd(window), &key, &alpha, &flags)) return std::nullopt;
    if ((flags & LWA_ALPHA) == 0) return std::nullopt;
    return alpha;
  }

  WindowHandle makeTopLevel(const std::string& caption, std::uint32_t style) override {
    HWND w = ::CreateWindowExW(0, kClassName, wide(caption).c_str(), style & ~WS_VISIBLE, 100, 100,
                               400, 300, nullptr, nullptr, instance_, nullptr);
    if ((style & WS_VISIBLE) != 0) show(w);
    windows_.push_back(w);
    return handle(w);
  }

  WindowHandle makeOwnedTopLevel(WindowHandle owner, const std::string& caption) override {
    HWND w = ::CreateWindowExW(0, kClassName, wide(caption).c_str(), WS_POPUP | WS_CAPTION, 150,
                               150, 300, 200, hwnd(owner), nullptr, instance_, nullptr);
    show(w);
    windows_.push_back(w);
    return handle(w);
  }

  WindowHandle makeChild(WindowHandle parent, const std::string& caption, Rect rect) override {
    HWND w = ::CreateWindowExW(0, kClassName, wide(caption).c_str(), WS_CHILD | WS_VISIBLE,
                               rect.left, rect.top, rect.width(), rect.height(), hwnd(parent),
                               nullptr, instance_, nullptr);
    windows_.push_back(w);
    return handle(w);
  }

  void destroy(WindowHandle window) override { ::DestroyWindow(hwnd(window)); }

  WindowHandle makeForeignTopLevel(const std::string& caption) override {
    foreign_.push_back(std::make_unique<ForeignThread>(instance_, wide(caption)));
    return handle(foreign_.back()->window());
  }
  WindowHandle makeForeignTopLevelAware(const std::string& caption,
                                        DpiAwareness awareness) override {
    foreign_.push_back(std::make_unique<ForeignThread>(instance_, wide(caption), awareness));
    return handle(foreign_.back()->window());
  }
  std::optional<DpiAwareness> dpiAwareness(WindowHandle window) override {
    using OfWindow = DPI_AWARENESS_CONTEXT(WINAPI*)(HWND);
    using Awareness = DPI_AWARENESS(WINAPI*)(DPI_AWARENESS_CONTEXT);
    static const OfWindow ofWindow = user32Function<OfWindow>("GetWindowDpiAwarenessContext");
    static const Awareness awareness =
        user32Function<Awareness>("GetAwarenessFromDpiAwarenessContext");
    if (ofWindow == nullptr || awareness == nullptr) return std::nullopt;
    switch (awareness(ofWindow(hwnd(window)))) {
      case DPI_AWARENESS_UNAWARE:
        return DpiAwareness::Unaware;
      case DPI_AWARENESS_SYSTEM_AWARE:
        return DpiAwareness::System;
      case DPI_AWARENESS_PER_MONITOR_AWARE:
        return DpiAwareness::PerMonitorV2;
      default:
        return std::nullopt;
    }
  }
  bool mixedDpiHosting() override { return platform::win32::MixedDpiHosting::available(); }
  void hang(WindowHandle window) override {
    if (ForeignThread* thread = foreignThread(window)) thread->hang();
  }
  void resume(WindowHandle window) override {
    if (ForeignThread* thread = foreignThread(window)) thread->resume();
  }

  platform::IconHandle makeIcon(int pixels) override {
    // A solid icon: an all-opaque mask and a colour bitmap of one colour.
    const int bytes = ((pixels + 15) / 16) * 2 * pixels;
    std::vector<BYTE> maskBits(static_cast<std::size_t>(bytes), 0);
    HBITMAP mask = ::CreateBitmap(pixels, pixels, 1, 1, maskBits.data());
    HDC screen = ::GetDC(nullptr);
    HBITMAP colour = ::CreateCompatibleBitmap(screen, pixels, pixels);
    ::ReleaseDC(nullptr, screen);
    ICONINFO info{TRUE, 0, 0, mask, colour};
    HICON icon = ::CreateIconIndirect(&info);
    ::DeleteObject(mask);
    ::DeleteObject(colour);
    icons_.push_back(icon);
    return platform::IconHandle{reinterpret_cast<std::intptr_t>(icon)};
  }

  WindowHandle makeTopLevelWithClassIcon(platform::IconHandle smallIcon) override {
    // One class per window: the class is what carries the icon.
    const std::wstring name = L"VitroluxContractIcon" + std::to_wstring(++iconClasses_);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = instance_;
    wc.hIconSm = reinterpret_cast<HICON>(smallIcon.value());
    wc.lpszClassName = name.c_str();
    ::RegisterClassExW(&wc);
    HWND w = ::CreateWindowExW(0, name.c_str(), L"", WS_POPUP | WS_BORDER, 300, 300, 100, 100,
                               nullptr, nullptr, instance_, nullptr);
    show(w);
    windows_.push_back(w);
    return handle(w);
  }

  void pressKey(int virtualKey) override { sendKey(virtualKey, false); }
  void releaseKey(int virtualKey) override { sendKey(virtualKey, true); }

  void pump(int milliseconds) override {
    const ULONGLONG end = ::GetTickCount64() + static_cast<ULONGLONG>(milliseconds);
    for (ULONGLONG now = ::GetTickCount64(); now < end; now = ::GetTickCount64()) {
      ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
      MSG message;
      while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
      }
    }
  }

  int systemTimerTicks(unsigned id) override { return events_.ticks[id]; }
  std::vector<WindowHandle> changedWindows() override { return events_.changedWindows; }
  int hotKeysHeard(unsigned id) override { return events_.hotKeys[id]; }
  void holdHotKeyElsewhere(unsigned modifiers, int virtualKey) override {
    hotKeyHolders_.push_back(std::make_unique<HotKeyHolder>(modifiers, virtualKey));
  }
  void movePointer(platform::Point at) override { ::SetCursorPos(at.x, at.y); }
  WindowHandle windowFromPoint(platform::Point at) override {
    return handle(::WindowFromPoint(POINT{at.x, at.y}));
  }

  std::string tempFolder() override {
    wchar_t base[MAX_PATH + 1];
    ::GetTempPathW(MAX_PATH + 1, base);
    std::wstring folder = std::wstring(base) + L"vitrolux-contract-" +
                          std::to_wstring(::GetCurrentProcessId()) + L"-" +
                          std::to_wstring(folders_.size());
    ::CreateDirectoryW(folder.c_str(), nullptr);
    folders_.push_back(folder);
    return utf8(folder);
  }

  void makeFolder(const std::string& path) override {
    ::CreateDirectoryW(wide(path).c_str(), nullptr);
    folders_.push_back(wide(path));
  }

  void writeFile(const std::string& path, const std::string& bytes) override {
    HANDLE file = ::CreateFileW(wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
  }

  std::vector<std::string> filesIn(const std::string& folder) override {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found{};
    HANDLE search = ::FindFirstFileW((wide(folder) + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
      if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        names.push_back(utf8(found.cFileName));
      }
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return names;
  }

  void lockFile(const std::string& path) override {
    HANDLE file = ::CreateFileW(wide(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) locks_[path] = file;
  }

  void unlockFile(const std::string& path) override {
    auto it = locks_.find(path);
    if (it == locks_.end()) return;
    ::CloseHandle(it->second);
    locks_.erase(it);
  }

  void hideFile(const std::string& path) override {
    ::SetFileAttributesW(wide(path).c_str(), FILE_ATTRIBUTE_HIDDEN);
  }

  void makeReadOnly(const std::string& path) override {
    ::SetFileAttributesW(wide(path).c_str(), FILE_ATTRIBUTE_READONLY);
  }

  bool enforcesReadOnly() override {
    // Measured rather than assumed: Wine running as root opens a read-only
    // file for writing without complaint, Windows refuses.
    const std::string probe = tempFolder() + "\\read-only probe.txt";
    writeFile(probe, "x");
    makeReadOnly(probe);
    HANDLE file = ::CreateFileW(wide(probe).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    const bool enforced = file == INVALID_HANDLE_VALUE;
    if (!enforced) ::CloseHandle(file);
    return enforced;
  }

  void failWriteStep(std::optional<WriteStep> step) override {
    failingStep = step;
    wrotePart = false;
  }

  StartableProgram startableProgram() override {
    wchar_t folder[MAX_PATH + 1];
    ::GetSystemDirectoryW(folder, MAX_PATH + 1);
    return {utf8(folder) + "\\cmd.exe", "cmd", "cmd.exe /c exit 0"};
  }

  void setVariable(const std::string& name, const std::string& value) override {
    ::SetEnvironmentVariableW(wide(name).c_str(), wide(value).c_str());
  }

  unsigned ansiCodePage() override { return ::GetACP(); }

 private:
  ForeignThread* foreignThread(WindowHandle window) {
    for (const std::unique_ptr<ForeignThread>& thread : foreign_) {
      if (thread->window() == hwnd(window)) return thread.get();
    }
    return nullptr;
  }

  // Shown on top without being activated: Wine hands an activated window to
  // the window manager, and then every unmapping waits for it (see above).
  static void show(HWND w) { ::ShowWindow(w, SW_SHOWNOACTIVATE); }

  static void removeFolder(const std::wstring& folder) {
    WIN32_FIND_DATAW found{};
    HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        const std::wstring path = folder + L"\\" + name;
        ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
          removeFolder(path);
        } else {
          ::DeleteFileW(path.c_str());
        }
      } while (::FindNextFileW(search, &found));
      ::FindClose(search);
    }
    ::RemoveDirectoryW(folder.c_str());
  }

  HINSTANCE instance_;
  TickCounter events_;
  platform::win32::Desktop desktop_;
  platform::win32::FrameSystem frameSystem_{instance_, desktop_};
  platform::win32::Win32Processes processes_;
  platform::win32::FileCalls fileCalls_{createFileFailing, writeFileFailing, moveFileFailing};
  platform::win32::Win32Files files_{&fileCalls_};
  platform::win32::Win32Text text_;
  HWND frame_ = nullptr;
  std::vector<HWND> windows_;
  std::vector<HICON> icons_;
  int iconClasses_ = 0;
  std::vector<std::wstring> folders_;
  std::map<std::string, HANDLE> locks_;
  std::vector<std::unique_ptr<ForeignThread>> foreign_;
  std::vector<std::unique_ptr<HotKeyHolder>> hotKeyHolders_;
};

}  // namespace

std::unique_ptr<ContractEnv> makeEnv() {
  return std::make_unique<Win32Env>();
}

}  // namespace vitrolux::contract
