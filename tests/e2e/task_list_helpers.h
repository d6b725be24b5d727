// What the tests of the task list, geometry, effects and hung programs
// share: target windows with their log, the frame's task list read from
// outside, and the places of windows in the frame.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "driver/input.h"
#include "driver/list_box.h"
#include "driver/target_log.h"
#include "driver/vitrolux_app.h"
#include "driver/win.h"

namespace e2e::tasks {

// The frame's own colour (0x002F0822 stored as 0x00BBGGRR).
inline constexpr COLORREF kFrameColour = RGB(0x22, 0x08, 0x2F);

// A target program started with --log, and its first window.
struct Target {
  explicit Target(std::vector<std::wstring> args, const char* event = "SHOWN") {
    args.push_back(L"--log");
    args.push_back(log.path());
    process = startTarget(args);
    window = log.waitForWindow(event);
  }
  TempFolder folder;
  TargetLog log{folder.file(L"target.log")};
  Process process;
  HWND window = nullptr;
};

// A target started before Vitrolux, so that the task list shows it.
struct ListedTarget : Target {
  explicit ListedTarget(const std::wstring& caption, std::vector<std::wstring> extra = {})
      : Target(withCaption(caption, std::move(extra))) {}
  static std::vector<std::wstring> withCaption(const std::wstring& caption,
                                               std::vector<std::wstring> extra) {
    std::vector<std::wstring> args = {L"--caption", caption, L"--rect", L"720,120,320,200"};
    args.insert(args.end(), extra.begin(), extra.end());
    return args;
  }
  // Clicks its row, as a user does; false when the task list never showed
  // it or the click did not select it.
  bool select(const VitroluxApp& app) const;
};

// The target program copied into the application folder and named in
// config.txt, so that Vitrolux launches it at start and adopts its window
// two seconds later.
struct HostedTarget {
  // `extra`: more of the target's options, e.g. L"--edit".
  HostedTarget(VitroluxApp& app, const std::wstring& caption, const std::wstring& extra = {})
      : log(app.folder() + L"\\target.log") {
    const std::wstring exe = app.installTarget(L"page.exe");
    app.writeFile(L"config.txt", narrow(exe) + " --caption " + narrow(caption) + " --log " +
                                     narrow(log.path()) + " " + narrow(extra) + "|" +
                                     narrow(caption) + "\r\n");
  }
  // Waits for the adoption; the window, or nullptr.
  HWND adopted(HWND frame) {
    HWND found = log.waitForWindow("READY");
    if (found == nullptr) return nullptr;
    waitUntil(6s, [&] { return parentOf(found) == frame; });
    return parentOf(found) == frame ? found : nullptr;
  }
  TargetLog log;
  HWND window = nullptr;
};

inline HWND taskList(const VitroluxApp& app) {
  return findDescendantByClass(app.frame(), L"ListBox");
}

// The row whose number is the window's handle, or -1.
inline int rowOf(HWND list, HWND window) {
  const std::vector<ListBoxRow> rows = listBoxRows(list);
  for (size_t i = 0; i < rows.size(); ++i) {
    if (rows[i].itemData == reinterpret_cast<LRESULT>(window)) return static_cast<int>(i);
  }
  return -1;
}

// Waits (through a refresh or two) until the window has a row; its row.
inline int waitForRow(HWND list, HWND window, std::chrono::milliseconds timeout = 5s) {
  int row = -1;
  waitUntil(timeout, [&] { return (row = rowOf(list, window)) >= 0; });
  return row;
}

// A real click on a row, near its right end: the part a hosted window
// leaves uncovered when it leaves the buttons beside the list uncovered.
inline bool clickRow(HWND list, int row, bool twice = false) {
  const std::optional<RECT> r = listBoxRowRect(list, row);
  if (!r) return false;
  const int x = r->right - 20;
  const int y = (r->top + r->bottom) / 2;
  return twice ? doubleClickAt(x, y) : clickAt(x, y);
}

inline bool ListedTarget::select(const VitroluxApp& app) const {
  HWND list = taskList(app);
  const int row = list != nullptr ? waitForRow(list, window, 6s) : -1;
  return row >= 0 && clickRow(list, row) &&
         waitUntil(3s, [&] { return listBoxSelection(list) == row; });
}

// A point of the frame's client area on the screen.
inline POINT atFrame(HWND frame, int x, int y) {
  POINT p{x, y};
  ClientToScreen(frame, &p);
  return p;
}

// Drags the frame's bottom-right corner from `from` to `to` as a user
// does. The system's sizing loop takes the place of the last move it read
// when the button goes up: the pointer comes to rest at `to` by a move of
// its own, a moment before the release, so that on a busy machine the
// release does not overtake it.
inline bool dragFrameCorner(POINT from, POINT to) {
  if (!moveMouseTo(from.x, from.y) || !mouseDown()) return false;
  std::this_thread::sleep_for(50ms);
  for (int i = 1; i <= 10; ++i) {
    moveMouseTo(from.x + (to.x - from.x) * i / 10, from.y + (to.y - from.y) * i / 10);
    std::this_thread::sleep_for(15ms);
  }
  moveMouseTo(to.x + 1, to.y);
  std::this_thread::sleep_for(30ms);
  moveMouseTo(to.x, to.y);
  std::this_thread::sleep_for(100ms);
  return mouseUp();
}

// A hosted window lies over the frame's buttons beside the task list. A
// user makes room for them: crops the frame by its bottom-right corner (the
// band below the hosted window), fits the window to the cropped frame with a
// double click on the background, and drags the corner back out. False
// when the frame or the window did not follow.
inline bool makeRoomBesideHosted(HWND frame, HWND hosted) {
  const SIZE size = clientSize(frame);
  const int cropped = size.cx - 200;
  if (!dragFrameCorner(atFrame(frame, size.cx - 2, size.cy - 2),
                       atFrame(frame, cropped - 2, size.cy - 2)) ||
      !waitUntil(2s, [&] { return clientSize(frame).cx == cropped; })) {
    return false;
  }
  // Left of the title strip, which keeps to the right edge.
  const POINT background = atFrame(frame, 40, 10);
  if (!doubleClickAt(background.x, background.y) ||
      !waitUntil(2s, [&] { return windowSize(hosted).cx == cropped; })) {
    return false;
  }
  return dragFrameCorner(atFrame(frame, cropped - 2, size.cy - 2),
                         atFrame(frame, size.cx - 2, size.cy - 2)) &&
         waitUntil(2s, [&] { return clientSize(frame).cx == size.cx; });
}

// A window's rectangle in the frame's client area.
inline RECT placeIn(HWND window, HWND frame) {
  RECT r = windowRectOnScreen(window);
  MapWindowPoints(HWND_DESKTOP, frame, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

inline bool hostedIn(HWND window, HWND frame) {
  return parentOf(window) == frame;
}

// The title-bar strip: the container of the visible close button.
inline HWND titleStrip(const VitroluxApp& app) {
  HWND close = app.control(L"关闭");
  return close != nullptr ? GetParent(close) : nullptr;
}

}  // namespace e2e::tasks
