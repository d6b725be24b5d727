#include "win32/control_windows.h"

#include <algorithm>
#include <string>
#include <type_traits>

#include "ui/guard.h"
#include "ui/twips.h"
#include "win32/common_controls.h"
#include "win32/frame_system.h"
#include "win32/resources.h"
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
      toolTips_(instance, frame_, dpi_),
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
  if (c.kind == ControlKind::Timer) {
    timers_.setInterval(index, c.interval);
    return;
  }
  HWND parent = c.container == kNoContainer ? frame_ : window(c.container);
  if (parent == nullptr) parent = frame_;
  const DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (c.visible ? WS_VISIBLE : 0u);
  makeBackBrush(index);
  switch (c.kind) {
    case ControlKind::ImageStore:
    case ControlKind::ImageButton:
    case ControlKind::IconImage:
      createDrawn<ImageWindow>(index, parent, style);
      break;
    case ControlKind::PictureBox:
    case ControlKind::Panel:
      createDrawn<ContainerWindow>(index, parent, style);
      break;
    case ControlKind::Label:
    case ControlKind::LabelButton:
      createDrawn<LabelWindow>(index, parent, style);
      break;
    case ControlKind::TextBox:
      createWatched<TextBox>(index, parent, style);
      break;
    case ControlKind::ListBox:
      createWatched<ListBox>(index, parent, style);
      break;
    case ControlKind::CheckBox:
      createWatched<CheckBox>(index, parent, style);
      break;
    case ControlKind::Timer:
      return;
  }
  Realised& r = realised_[static_cast<std::size_t>(index)];
  if (r.window == nullptr) return;

  applyFont(index);
  // The system's controls get their text only once they have their font:
  // laid out first in the default font, the Chinese texts would send the
  // system looking through other fonts for their glyphs.
  if (TextBox* box = textBox(index)) box->showText();
  if (c.kind == ControlKind::CheckBox) {
    ::SetWindowTextW(r.window, windowTextOf(c).c_str());
    // A themed check box draws its text in the theme's colour; unthemed it
    // takes the white on purple of the layout from WM_CTLCOLORSTATIC.
    setWindowTheme(r.window, L"", L"");
    ::SendMessageW(r.window, BM_SETCHECK, c.checked ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  if (ListBox* list = listBox(index)) list->showRows();
  if (c.kind == ControlKind::IconImage) showIcon(index);
  toolTips_.setTip(r.window, shownTip(c));
}

template <typename Drawn>
void ControlWindows::createDrawn(int index, HWND parent, DWORD style) {
  static const bool registered = ControlWindow::registerClass(instance_, Drawn::kClassName);
  if (!registered) return;
  auto drawn = std::make_unique<Drawn>(*this, index);
  HWND w = createWindow(index, parent, Drawn::kClassName, style | Drawn::kStyle, Drawn::kExStyle,
                        drawn.get());
  if (w == nullptr) return;
  Realised& r = realised_[static_cast<std::size_t>(index)];
  r.window = w;
  r.handler = std::move(drawn);
}

template <typename Watcher>
void ControlWindows::createWatched(int index, HWND parent, DWORD style) {
  HWND w = createWindow(index, parent, Watcher::kClassName, style | Watcher::kStyle,
                        Watcher::kExStyle, nullptr);
  if (w == nullptr) return;
  Realised& r = realised_[static_cast<std::size_t>(index)];
  r.window = w;
  if constexpr (std::is_same_v<Watcher, CheckBox>) {
    r.handler = CheckBox{};
  } else {
    r.handler = std::make_unique<Watcher>(w, controls_, index);
  }
}

HWND ControlWindows::createWindow(int index, HWND parent, const wchar_t* className, DWORD style,
                                  DWORD exStyle, void* object) {
  const Control& c = controls_[index];
  const RECT bounds = pixelRect(c.rect, dpi_);
  // The system's controls get their text once they have their font (see
  // create); our own draw theirs in it from the start.
  const bool textAfterFont = c.kind == ControlKind::TextBox || c.kind == ControlKind::CheckBox;
  return ::CreateWindowExW(
      exStyle, className, textAfterFont ? L"" : windowTextOf(c).c_str(), style, bounds.left,
      bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kControlIdBase + index)), instance_, object);
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
      if (TextBox* box = textBox(index)) {
        box->showText();
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
      if (ListBox* list = listBox(index)) list->showRows();
      break;
    case Property::Selection:
      if (ListBox* list = listBox(index)) list->showSelection();
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
  const auto* list = r != nullptr ? std::get_if<std::unique_ptr<ListBox>>(&r->handler) : nullptr;
  return list != nullptr ? list->get() : nullptr;
}

TextBox* ControlWindows::textBox(int index) const {
  const Realised* r = record(index);
  const auto* box = r != nullptr ? std::get_if<std::unique_ptr<TextBox>>(&r->handler) : nullptr;
  return box != nullptr ? box->get() : nullptr;
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
  if (isStandard(c.kind)) {
    ::SendMessageW(r.window, WM_SETFONT, reinterpret_cast<WPARAM>(r.font), TRUE);
  } else {
    ::InvalidateRect(r.window, nullptr, TRUE);
  }
  ListBox* list = listBox(index);
  if (list != nullptr && c.rowHeight > 0) list->setRowHeight(twipsToPixels(c.rowHeight, dpi_));
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
