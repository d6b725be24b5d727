// The frame's controls as real child windows: created from the control model,
// kept in step with it, and turning the user's clicks, typing and ticks back
// into the logic's events.
#pragma once

#include <windows.h>

#include <array>
#include <string>
#include <vector>

#include "ui/controls.h"
#include "ports/frame_events.h"
#include "win32/fonts.h"
#include "win32/unique_resource.h"

namespace vitrolux::platform::win32 {

// Window classes of the controls drawn by the adapter itself.
inline constexpr wchar_t kLabelClassName[] = L"VitroluxLabel";
inline constexpr wchar_t kImageClassName[] = L"VitroluxImage";
inline constexpr wchar_t kContainerClassName[] = L"VitroluxContainer";

// The controls' timers run on the frame's window with this id plus the
// control's index; smaller ids are left to FramePort::setSystemTimer.
inline constexpr UINT_PTR kControlTimerBase = 1000;
// Child-window id of a control: this plus its index.
inline constexpr int kControlIdBase = 100;

// A layout colour as a COLORREF: 0x800000nn is system colour nn.
COLORREF colorRef(Color color);

// The pixel rectangle of a control's twips rectangle at a DPI.
RECT pixelRect(const TwipsRect& rect, int dpi);

class ControlWindows {
 public:
  ControlWindows(HINSTANCE instance, HWND frame, FrameEvents& events, ControlSet& controls,
                 int dpi);
  ~ControlWindows();
  ControlWindows(const ControlWindows&) = delete;
  ControlWindows& operator=(const ControlWindows&) = delete;

  static bool registerClasses(HINSTANCE instance);

  // Creates the windows of the controls that have none yet, in stored order.
  void realise();
  // Brings one property of a control's window in line with the model.
  void changed(int index, Property property);
  // A control made or about to be removed while the frame runs.
  void added(int index);
  void removed(int index);

  // The control's window; null for timers and unknown indexes.
  HWND window(int index) const;
  // The index of one of our control windows, or -1.
  int indexOf(HWND window) const;
  // The tool-tip window.
  HWND toolTips() const { return toolTips_.get(); }
  // The icon an icon image draws: its own copy of the model's icon, or null.
  HICON shownIcon(int index) const;

  // Messages that controls send to their parent, whether that is the frame
  // or a container. Each returns false (or null) when it was not about one
  // of our controls, so the caller passes it on.
  bool onCommand(WPARAM wParam, LPARAM lParam);
  HBRUSH onCtlColor(HDC dc, HWND child);
  bool onChildSetCursor(HWND child, LPARAM lParam);
  bool onTimer(UINT_PTR id);
  // Tab or Shift+Tab on one of the controls in a panel, before it is
  // translated: the focus moves to the panel's next or previous control
  // that takes the keyboard. False when the key was not that.
  bool onTabKey(const MSG& message);
  // A press anywhere in the frame: no click is pending on a control any more.
  void forgetPress() { pressed_ = -1; }

  // The frame moved to a display with another DPI: new sizes and fonts.
  void setDpi(int dpi);

  // From here on the model and the events are left alone: their owner may
  // be gone while the windows are being destroyed.
  void detach() { attached_ = false; }

 private:
  struct Realised {
    HWND window = nullptr;
    unique_hbrush back;
    HFONT font = nullptr;  // owned by fonts_
    bool hasTool = false;
    std::vector<ListRow> shownRows;
    // An icon image's copy of its icon, which may be another program's:
    // the copy is ours to destroy, the icon never.
    unique_hicon icon;
  };

  // Raised while the adapter itself changes a control, so the notification
  // that follows is not taken for the user's doing (typing, scrolling).
  class ProgramChange {
   public:
    explicit ProgramChange(int& depth) : depth_(depth) { ++depth_; }
    ~ProgramChange() { --depth_; }
    ProgramChange(const ProgramChange&) = delete;
    ProgramChange& operator=(const ProgramChange&) = delete;

   private:
    int& depth_;
  };

  void create(int index);
  void createToolTips();
  void applyFont(int index);
  void syncTool(int index);
  // Takes the control's tool tip away, if it has one.
  void dropTool(Realised& r);
  void syncRows(int index);
  void syncSelection(int index);
  // Scrolls a list box to the model's first row shown, and tells the model
  // where it could not.
  void showTopIndex(int index);
  void syncIcon(int index);
  void syncTimer(int index);
  void syncBrush(int index);
  void syncStacking(int index);
  std::wstring windowTextOf(const Control& control) const;
  // The stored picture as a packed bitmap in the resources, or null.
  const BITMAPINFO* storedPicture(Picture picture) const;

  LRESULT labelMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT imageMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT containerMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  // The system's list box with a look over its shoulder: after each message
  // it handled, whether the user has scrolled it.
  static LRESULT CALLBACK listBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT listBoxMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void watchListBox(HWND window);
  // Shared by the three classes: cursor, parent notifications, erasing.
  bool commonMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  void paintLabel(HWND window, int index);
  void paintImage(HWND window, int index);
  void paintBackground(HWND window, HDC dc, int index);
  // Press and release of a control that raises clicks.
  void beginPress(HWND window, int index);
  bool endPress(HWND window, int index, LPARAM lParam);

  HINSTANCE instance_;
  HWND frame_;
  FrameEvents& events_;
  ControlSet& controls_;
  int dpi_;
  std::vector<Realised> realised_;
  FontCache fonts_;
  unique_hwnd toolTips_;
  HCURSOR hand_ = nullptr;
  int programTextDepth_ = 0;
  // Raised while the adapter itself changes a list box (its rows, its
  // selection, its first row shown).
  int programListDepth_ = 0;
  WNDPROC listBoxClassProc_ = nullptr;
  int pressed_ = -1;
  bool attached_ = true;
  bool built_ = false;  // realise() has run
};

}  // namespace vitrolux::platform::win32
