#include "win32/control_windows.h"

#include <algorithm>
#include <string>

#include "ui/guard.h"
#include "ui/twips.h"
#include "win32/common_controls.h"
#include "win32/container_window.h"
#include "win32/frame_system.h"
#include "win32/image_window.h"
#include "win32/label_window.h"
#include "win32/list_box.h"
#include "win32/resources.h"
#include "win32/text_box.h"
#include "win32/text_encoding.h"

namespace vitrolux::platform::win32 {
namespace {

bool isImage(ControlKind kind) {
  return kind == ControlKind::ImageButton || kind == ControlKind::ImageStore;
}

bool showsCaption(ControlKind kind) {
  return kind == ControlKind::Label || kind == ControlKind::LabelButton ||
         kind == ControlKind::CheckBox || kind == ControlKind::TextBox;
}

// Drawn by a standard control class that takes its font by WM_SETFONT.
bool isStandard(ControlKind kind) {
  return kind == ControlKind::CheckBox || kind == ControlKind::TextBox ||
         kind == ControlKind::ListBox;
}

// Tools that look windows up by their text find image controls by their
// tool tip, and icon images, which have none, by their name.
std::wstring windowTextOf(const Control& control) {
  if (isImage(control.kind)) return widen(control.toolTip);
  if (control.kind == ControlKind::IconImage) return widen(control.name);
  if (showsCaption(control.kind)) return widen(control.caption);
  return {};
}

// The tool tip shown: the tip, and its note on the lines below.
std::wstring shownTip(const Control& control) {
  if (control.toolTipNote.empty()) return widen(control.toolTip);
  return widen(control.toolTip + "\r\n" + control.toolTipNote);
}

// A copy of an icon that may belong to another program, for us to own.
HICON copyOf(IconHandle icon) {
  return icon.isNull() ? nullptr : ::CopyIcon(reinterpret_cast<HICON>(icon.value()));
}

void pushToBottom(HWND window) {
  ::SetWindowPos(window, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

}  // namespace

COLORREF colorRef(Color color) {
  if (color.isSystem()) return ::GetSysColor(static_cast<int>(color.value & 0xFFu));
  return static_cast<COLORREF>(color.value & 0x00FFFFFFu);
}

RECT pixelRect(const TwipsRect& rect, int dpi) {
  // Each edge rounded on its own: controls that meet in twips meet in
  // pixels, and the title strip placed against the frame's right edge ends
  // on it at any DPI.
  return RECT{twipsToPixels(rect.left, dpi), twipsToPixels(rect.top, dpi),
              twipsToPixels(rect.left + rect.width, dpi),
              twipsToPixels(rect.top + rect.height, dpi)};
}

ControlWindows::ControlWindows(HINSTANCE instance, FrameSystem& frame, FrameEvents& events,
                               ControlSet& controls)
    : instance_(instance),
      frameSystem_(frame),
      frame_(frame.hwnd()),
      events_(events),
      controls_(controls),
      dpi_(frame.dpi()),
      toolTips_(instance, dpi_),
      timers_(frame_) {
  hand_ = static_cast<HCURSOR>(::LoadImageW(instance_, MAKEINTRESOURCEW(kHandCursorResource),
                                            IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
  if (hand_ == nullptr) hand_ = ::LoadCursorW(nullptr, IDC_HAND);
  frameSystem_.setControls(this);
  controls_.attach(this);
}

ControlWindows::~ControlWindows() {
  controls_.attach(nullptr);
  frameSystem_.setControls(nullptr);
  // The frame takes its children with it; only while it lives are they left.
  if (!::IsWindow(frame_)) return;
  std::vector<HWND> onFrame;
  for (const Realised& r : realised_) {
    if (r.window != nullptr && ::GetParent(r.window) == frame_) onFrame.push_back(r.window);
  }
  for (HWND w : onFrame) ::DestroyWindow(w);
}

void ControlWindows::realise() {
  built_ = true;
  const int first = static_cast<int>(realised_.size());
  if (first >= controls_.size()) return;
  initCommonControls();
  ControlWindow::registerClasses(instance_);
  realised_.resize(static_cast<std::size_t>(controls_.size()));
  for (int i = first; i < controls_.size(); ++i) {
    if (controls_.exists(i)) create(i);
  }
  // Where siblings overlap, the control stored earlier lies above (the
  // option panel over the toolbar). Pushing each down in stored order makes
  // that order ours rather than a habit of the system.
  for (int i = first; i < controls_.size(); ++i) {
    if (HWND w = window(i)) pushToBottom(w);
  }
  for (int i = first; i < controls_.size(); ++i) {
    if (controls_[i].onTop) stack(i);
  }
}

void ControlWindows::create(int index) {
  const Control& c = controls_[index];
  Realised& r = realised_[static_cast<std::size_t>(index)];
  if (c.kind == ControlKind::Timer) {
    timers_.setInterval(index, c.interval);
    return;
  }
  HWND parent = c.container == kNoContainer ? frame_ : window(c.container);
  if (parent == nullptr) parent = frame_;
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (c.visible ? WS_VISIBLE : 0u);
  DWORD exStyle = 0;
  const wchar_t* className = nullptr;
  std::unique_ptr<ControlWindow> drawn;
  switch (c.kind) {
    case ControlKind::ImageStore:
    case ControlKind::ImageButton:
    case ControlKind::IconImage:
      className = kImageClassName;
      drawn = std::make_unique<ImageWindow>(*this, index);
      break;
    case ControlKind::PictureBox:
    case ControlKind::Panel:
      className = kContainerClassName;
      style |= WS_CLIPCHILDREN;
      drawn = std::make_unique<ContainerWindow>(*this, index);
      break;
    case ControlKind::Label:
    case ControlKind::LabelButton:
      className = kLabelClassName;
      drawn = std::make_unique<LabelWindow>(*this, index);
      break;
    case ControlKind::TextBox:
      className = L"EDIT";
      style |= ES_LEFT | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
      break;
    case ControlKind::CheckBox:
      className = L"BUTTON";
      style |= BS_AUTOCHECKBOX | WS_TABSTOP;
      break;
    case ControlKind::ListBox:
      className = L"LISTBOX";
      style |= LBS_NOTIFY | WS_VSCROLL | LBS_NOINTEGRALHEIGHT | WS_TABSTOP;
      exStyle |= WS_EX_CLIENTEDGE;
      break;
    case ControlKind::Timer:
      return;
  }

  makeBackBrush(index);
  const RECT bounds = pixelRect(c.rect, dpi_);
  const std::wstring text = windowTextOf(c);
  // The check box gets its text only once it has its font, and a text box
  // both only once it shows: laid out first in the default font, the
  // Chinese texts would send the system looking through other fonts for
  // their glyphs, which costs time and memory at every start.
  const bool textAfterFont = c.kind == ControlKind::TextBox || c.kind == ControlKind::CheckBox;
  r.window =
      ::CreateWindowExW(exStyle, className, textAfterFont ? L"" : text.c_str(), style, bounds.left,
                        bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kControlIdBase + index)),
                        instance_, drawn.get());
  if (r.window == nullptr) return;
  r.drawn = std::move(drawn);
  if (c.kind == ControlKind::ListBox)
    r.listBox = std::make_unique<ListBox>(r.window, controls_, index);
  if (c.kind == ControlKind::TextBox)
    r.textBox = std::make_unique<TextBox>(r.window, controls_, index);

  applyFont(index);
  if (r.textBox) {
    r.textBox->showText();
    r.textBox->layOutIfShown();
  }
  if (c.kind == ControlKind::CheckBox) {
    ::SetWindowTextW(r.window, text.c_str());
    // A themed check box draws its text in the theme's colour; unthemed it
    // takes the white on purple of the layout from WM_CTLCOLORSTATIC.
    setWindowTheme(r.window, L"", L"");
    ::SendMessageW(r.window, BM_SETCHECK, c.checked ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  if (r.listBox) r.listBox->showRows();
  if (c.kind == ControlKind::IconImage) showIcon(index);
  toolTips_.setTip(r.window, shownTip(c));
}

void ControlWindows::controlAdded(int index) {
  // Before the frame's controls are built, realise() makes this one too.
  if (!built_ || index < 0 || index >= controls_.size()) return;
  if (index >= static_cast<int>(realised_.size())) {
    realised_.resize(static_cast<std::size_t>(index) + 1);
  }
  if (window(index) != nullptr) controlRemoved(index);
  create(index);
  // Below every other control, as an image drawn on the frame itself: it
  // never covers a control or a hosted window.
  if (HWND w = window(index)) pushToBottom(w);
}

void ControlWindows::controlRemoved(int index) {
  if (index < 0 || index >= static_cast<int>(realised_.size())) return;
  Realised& r = realised_[static_cast<std::size_t>(index)];
  if (r.window != nullptr) {
    toolTips_.forget(r.window);
    ::DestroyWindow(r.window);
  }
  // The icon copy goes with it; the icon it was made from is not ours.
  r = Realised{};
}

void ControlWindows::controlChanged(int index, Property property) {
  // Before the windows are built the model alone holds the change; the
  // windows are made from it.
  if (!built_ || index < 0 || index >= controls_.size()) return;
  // Controls added to the model after the frame was built get windows now.
  if (index >= static_cast<int>(realised_.size())) realise();
  const Control& c = controls_[index];
  if (property == Property::Interval) {
    if (c.kind == ControlKind::Timer) timers_.setInterval(index, c.interval);
    return;
  }
  const Realised* r = record(index);
  if (r == nullptr || r->window == nullptr) return;
  HWND w = r->window;
  switch (property) {
    case Property::Caption:
      if (r->textBox) {
        r->textBox->showText();
      } else if (showsCaption(c.kind)) {
        ::SetWindowTextW(w, widen(c.caption).c_str());
      }
      break;
    case Property::ToolTip:
      toolTips_.setTip(w, shownTip(c));
      if (isImage(c.kind)) ::SetWindowTextW(w, widen(c.toolTip).c_str());
      break;
    case Property::Visible:
      ::ShowWindow(w, c.visible ? SW_SHOWNA : SW_HIDE);
      // Before anything is painted: the text boxes that show now.
      if (c.visible) layOutShownTextBoxes();
      break;
    case Property::Rect:
      place(index);
      break;
    case Property::BackColor:
      makeBackBrush(index);
      ::InvalidateRect(w, nullptr, TRUE);
      break;
    case Property::ForeColor:
    case Property::Picture:
      ::InvalidateRect(w, nullptr, TRUE);
      break;
    case Property::OnTop:
      stack(index);
      break;
    case Property::Rows:
      if (r->listBox) r->listBox->showRows();
      break;
    case Property::Selection:
      if (r->listBox) r->listBox->showSelection();
      break;
    case Property::Interval:
      break;
  }
}

const ControlWindows::Realised* ControlWindows::record(int index) const {
  if (index < 0 || index >= static_cast<int>(realised_.size())) return nullptr;
  return &realised_[static_cast<std::size_t>(index)];
}

HWND ControlWindows::window(int index) const {
  const Realised* r = record(index);
  return r != nullptr ? r->window : nullptr;
}

int ControlWindows::indexOf(HWND w) const {
  if (w == nullptr) return -1;
  const int index = ::GetDlgCtrlID(w) - kControlIdBase;
  // The id alone is not proof: an adopted window of another program keeps
  // whatever id it had.
  return window(index) == w ? index : -1;
}

HBRUSH ControlWindows::backBrush(int index) const {
  const Realised* r = record(index);
  return r != nullptr ? r->back.get() : nullptr;
}

HFONT ControlWindows::font(int index) const {
  const Realised* r = record(index);
  return r != nullptr ? r->font : nullptr;
}

HICON ControlWindows::shownIcon(int index) const {
  const Realised* r = record(index);
  return r != nullptr ? r->icon.get() : nullptr;
}

ListBox* ControlWindows::listBox(int index) const {
  const Realised* r = record(index);
  return r != nullptr ? r->listBox.get() : nullptr;
}

TextBox* ControlWindows::textBox(int index) const {
  const Realised* r = record(index);
  return r != nullptr ? r->textBox.get() : nullptr;
}

void ControlWindows::place(int index) {
  const RECT bounds = pixelRect(controls_[index].rect, dpi_);
  ::MoveWindow(window(index), bounds.left, bounds.top, bounds.right - bounds.left,
               bounds.bottom - bounds.top, TRUE);
}

void ControlWindows::stack(int index) {
  HWND w = window(index);
  if (w == nullptr) return;
  const Control& c = controls_[index];
  // On top: above the windows of other programs hosted in the same
  // container too. Otherwise back to the stored place: right below the
  // nearest control stored before it in the same container.
  HWND after = HWND_TOP;
  if (!c.onTop) {
    for (int i = index - 1; i >= 0; --i) {
      HWND above = window(i);
      if (above != nullptr && controls_[i].container == c.container && !controls_[i].onTop) {
        after = above;
        break;
      }
    }
  }
  ::SetWindowPos(w, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void ControlWindows::applyFont(int index) {
  const Control& c = controls_[index];
  Realised& r = realised_[static_cast<std::size_t>(index)];
  r.font =
      c.font ? fonts_.get(*c.font, dpi_) : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  if (r.textBox) {
    r.textBox->setFont(r.font);
  } else if (isStandard(c.kind)) {
    ::SendMessageW(r.window, WM_SETFONT, reinterpret_cast<WPARAM>(r.font), TRUE);
  } else {
    ::InvalidateRect(r.window, nullptr, TRUE);
  }
  if (r.listBox && c.rowHeight > 0) r.listBox->setRowHeight(twipsToPixels(c.rowHeight, dpi_));
}

void ControlWindows::layOutShownTextBoxes() {
  for (const Realised& r : realised_) {
    if (r.textBox) r.textBox->layOutIfShown();
  }
}

void ControlWindows::makeBackBrush(int index) {
  realised_[static_cast<std::size_t>(index)].back.reset(
      ::CreateSolidBrush(colorRef(controls_[index].back)));
}

void ControlWindows::showIcon(int index) {
  Realised& r = realised_[static_cast<std::size_t>(index)];
  r.icon.reset(copyOf(controls_[index].icon));
  if (r.window != nullptr) ::InvalidateRect(r.window, nullptr, TRUE);
}

void ControlWindows::beginPress(int index, HWND w) {
  pressed_ = index;
  ::SetCapture(w);
}

bool ControlWindows::endPress(int index, HWND w, LPARAM position) {
  const bool wasPressed = pressed_ == index;
  pressed_ = -1;
  if (wasPressed && ::GetCapture() == w) ::ReleaseCapture();
  if (!wasPressed) return false;
  RECT client{};
  ::GetClientRect(w, &client);
  const POINT at{static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
  return ::PtInRect(&client, at) != FALSE;
}

bool ControlWindows::onTimer(UINT_PTR id) {
  const int index = ControlTimers::controlOf(id);
  if (index < 0 || index >= static_cast<int>(realised_.size())) return false;
  if (controls_[index].kind != ControlKind::Timer) return false;
  guarded([&] { events_.onTimer(index); });
  return true;
}

void ControlWindows::setDpi(int dpi) {
  if (dpi <= 0 || dpi == dpi_) return;
  dpi_ = dpi;
  for (int i = 0; i < static_cast<int>(realised_.size()); ++i) {
    if (window(i) == nullptr) continue;
    place(i);
    applyFont(i);
  }
  fonts_.keepOnly(dpi_);
  toolTips_.setDpi(dpi_);
}

}  // namespace vitrolux::platform::win32
