// Whether a program stays well: it keeps answering messages, and what it
// holds (GDI and USER objects, memory) does not keep growing.
#pragma once

#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace e2e {

using namespace std::chrono_literals;

// How long a WM_NULL sent to `window` takes to come back; empty when it is
// not answered within `timeout` (or the window is gone). The sending thread
// waits: a window that does not pump messages holds it up to `timeout`.
std::optional<std::chrono::microseconds> responseTime(HWND window,
                                                      std::chrono::milliseconds timeout = 2s);

// Pings a window with WM_NULL from a thread of its own, every `interval`,
// for as long as it lives (or until stop()), and keeps the worst round
// trip. A ping not answered within twice `bound` is given up and counts
// as late, with the time it waited as its round trip.
//
//   ResponsivenessProbe probe(app.frame());
//   ... drive the frame ...
//   probe.stop();
//   EXPECT_TRUE(probe.keptAnswering()) << probe.summary();
class ResponsivenessProbe {
 public:
  explicit ResponsivenessProbe(HWND window, std::chrono::milliseconds bound = 250ms,
                               std::chrono::milliseconds interval = 20ms);
  ~ResponsivenessProbe();
  ResponsivenessProbe(const ResponsivenessProbe&) = delete;
  ResponsivenessProbe& operator=(const ResponsivenessProbe&) = delete;

  // Ends the pinging; waits for a ping in flight (at most twice the bound).
  void stop();

  int pings() const;
  // Pings answered later than the bound, or not at all.
  int late() const;
  std::chrono::microseconds worst() const;
  // At least one ping, and every one answered within the bound.
  bool keptAnswering() const;
  // "N pings, M late, worst W ms", for failure messages.
  std::string summary() const;

 private:
  void run();

  HWND window_;
  std::chrono::milliseconds bound_;
  std::chrono::milliseconds interval_;
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  bool stopping_ = false;
  int pings_ = 0;
  int late_ = 0;
  std::chrono::microseconds worst_{0};
  std::thread thread_;
};

// What a process holds, for a soak test that watches it over many rounds.
struct ProcessResources {
  // GDI and USER objects (GetGuiResources). Empty where the system cannot
  // count them: Wine's GetGuiResources is a stub that answers nothing.
  std::optional<DWORD> gdiObjects;
  std::optional<DWORD> userObjects;
  // Committed private memory in bytes. Wine reports no PrivateUsage; its
  // PagefileUsage (the same quantity on Windows) stands in.
  SIZE_T privateBytes = 0;
  SIZE_T workingSetBytes = 0;
};

// Empty when the process cannot be queried. The handle needs
// PROCESS_QUERY_INFORMATION (Process::handle() has it).
std::optional<ProcessResources> guiResources(HANDLE process);

// ---- Counting from outside where GetGuiResources cannot (Wine) ----------

// GDI objects of the process: the live entries of its GDI handle table,
// which the system maps into every process (PEB GdiSharedHandleTable). On
// Windows the table is the session's and each entry names its process;
// Wine gives each process a table of its own and names no owner. Stock
// objects count too: compare two counts of one process. Empty when the
// table cannot be read. The handle needs PROCESS_QUERY_INFORMATION and
// PROCESS_VM_READ.
std::optional<DWORD> gdiHandleTableCount(HANDLE process);

// The process's windows, top-level and child ones (every window is a USER
// object; so are its menus, icons and cursors, which cannot be counted
// from outside).
DWORD windowsOfProcess(DWORD pid);

}  // namespace e2e
