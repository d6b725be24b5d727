// The frame's controls as child windows: the registry of the windows made
// for the control model, kept in step with it as its toolkit. What a kind
// of control does on the screen is its own unit's.
#pragma once

#include <windows.h>

#include <memory>
#include <variant>
#include <vector>

#include "ports/frame_events.h"
#include "ports/toolkit.h"
#include "ui/controls.h"
#include "win32/container_window.h"
#include "win32/control_timers.h"
#include "win32/fonts.h"
#include "win32/image_window.h"
#include "win32/label_window.h"
#include "win32/list_box.h"
#include "win32/text_box.h"
#include "win32/tool_tips.h"
#include "win32/unique_resource.h"

namespace vitrolux::platform::win32 {

class FrameSystem;

// A check box is the system's button class as it is: nothing of ours
// handles it.
struct CheckBox {
  static constexpr const wchar_t* kClassName = L"BUTTON";
  static constexpr DWORD kStyle = BS_AUTOCHECKBOX | WS_TABSTOP;
  static constexpr DWORD kExStyle = 0;
};

// Child-window id of a control: this plus its index.
inline constexpr int kControlIdBase = 100;

// A layout colour as a COLORREF: 0x800000nn is system colour nn.
COLORREF colorRef(Color color);

// The pixel rectangle of a control's twips rectangle at a DPI.
RECT pixelRect(const TwipsRect& rect, int dpi);

class ControlWindows final : public Toolkit {
 public:
  // For the controls of `frame`; from now on the model reports its changes
  // here, and the frame routes its controls' messages here.
  ControlWindows(HINSTANCE instance, FrameSystem& frame, FrameEvents& events, ControlSet& controls);
  // Takes down the windows that are left (the frame's usually took them).
  ~ControlWindows() override;
  ControlWindows(const ControlWindows&) = delete;
  ControlWindows& operator=(const ControlWindows&) = delete;

  // Creates the windows of the controls that have none yet, in stored
  // order. Until the first call, changes stay in the model, from which the
  // windows are then made.
  void realise();

  // ---- Toolkit ----------------------------------------------------------------
  void controlChanged(int index, Property property) override;
  void controlAdded(int index) override;
  void controlRemoved(int index) override;

  // ---- What each control has ----------------------------------------------------
  int count() const { return controls_.size(); }
  const Control& control(int index) const { return controls_[index]; }
  // The control's window; null for timers and unknown indexes.
  HWND window(int index) const;
  // The index of one of our control windows, or -1.
  int indexOf(HWND window) const;
  HBRUSH backBrush(int index) const;
  HFONT font(int index) const;
  // The icon an icon image draws: its own copy of the model's icon, or null.
  HICON shownIcon(int index) const;
  ListBox* listBox(int index) const;
  TextBox* textBox(int index) const;

  ControlSet& model() { return controls_; }
  FrameEvents& events() { return events_; }
  HINSTANCE instance() const { return instance_; }
  int dpi() const { return dpi_; }
  HCURSOR handCursor() const { return hand_; }

  // A click is a press and a release of the left button on one control.
  void beginPress(int index, HWND window);
  // True when the release completes a click.
  bool endPress(int index, HWND window, LPARAM position);
  // A press elsewhere: no click is pending any more.
  void forgetPress() { pressed_ = -1; }

  // A WM_TIMER of the frame: true when it was a timer control's.
  bool onTimer(UINT_PTR id);
  // The frame moved to a display with another DPI: new sizes and fonts.
  void setDpi(int dpi);

 private:
  // What handles a control's window: an object of ours for the classes
  // we draw (made before its window, which binds to it), one that watches
  // a system control (made once the window exists), or nothing. Heap
  // objects: the windows hold their addresses.
  using Handler = std::variant<std::monostate, std::unique_ptr<LabelWindow>,
                               std::unique_ptr<ImageWindow>, std::unique_ptr<ContainerWindow>,
                               std::unique_ptr<ListBox>, std::unique_ptr<TextBox>, CheckBox>;

  struct Realised {
    HWND window = nullptr;
    Handler handler;
    unique_hbrush back;
    HFONT font = nullptr;  // owned by fonts_
    // An icon image's copy of its icon, which may be another program's:
    // the copy is ours to destroy, the icon never.
    unique_hicon icon;
  };

  void create(int index);
  // One per kind of window, each with its class from the type that handles
  // it, so that no window is made of one class and handled as another.
  template <typename Drawn>
  void createDrawn(int index, HWND parent, DWORD style);
  template <typename Watcher>
  void createWatched(int index, HWND parent, DWORD style);
  HWND createWindow(int index, HWND parent, const wchar_t* className, DWORD style, DWORD exStyle,
                    void* object);
  void place(int index);
  // Back to its stored place among its siblings, or above all of them.
  void stack(int index);
  void applyFont(int index);
  void makeBackBrush(int index);
  void showIcon(int index);
  const Realised* record(int index) const;

  HINSTANCE instance_;
  FrameSystem& frameSystem_;
  HWND frame_;
  FrameEvents& events_;
  ControlSet& controls_;
  int dpi_;
  HCURSOR hand_ = nullptr;
  FontCache fonts_;
  ToolTips toolTips_;
  ControlTimers timers_;
  std::vector<Realised> realised_;
  int pressed_ = -1;
  bool built_ = false;  // realise() has run
};

}  // namespace vitrolux::platform::win32
