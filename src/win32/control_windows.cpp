// Creating the controls' windows and keeping them in step with the model.
#include "win32/control_windows.h"

#include <commctrl.h>

#include <algorithm>
#include <cstddef>

#include "ui/guard.h"
#include "ui/twips.h"
#include "win32/resources.h"
#include "win32/text_encoding.h"
#include "win32/window_binding.h"

namespace vitrolux::platform::win32 {
namespace {

bool isImage(ControlKind kind) {
  return kind == ControlKind::ImageButton || kind == ControlKind::ImageStore;
}

// A copy of an icon that may belong to another program, for us to own.
HICON copyOf(IconHandle icon) {
  return icon.isNull() ? nullptr : ::CopyIcon(reinterpret_cast<HICON>(icon.value()));
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

// Tool-tip structure size understood by every version of the common
// controls, with or without the manifest's version 6.
constexpr UINT kToolInfoSize = static_cast<UINT>(offsetof(TTTOOLINFOW, lParam) + sizeof(LPARAM));
// Long tips (the F5 one) wrap at this width, in pixels at 96 DPI.
constexpr int kToolTipWidth = 360;

// The common controls and the theme library are loaded when the controls
// are built, not at the program's start: the frame is on the screen before
// they are needed. The manifest picks version 6 of the common controls.
void initCommonControls() {
  static const bool done = [] {
    HMODULE library = ::LoadLibraryW(L"comctl32.dll");
    using Init = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    auto init = library ? reinterpret_cast<Init>(reinterpret_cast<void*>(
                              ::GetProcAddress(library, "InitCommonControlsEx")))
                        : nullptr;
    if (init == nullptr) return false;
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES;
    return init(&controls) != FALSE;
  }();
  (void)done;
}

void setWindowTheme(HWND window, const wchar_t* app, const wchar_t* idList) {
  using SetTheme = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
  static const SetTheme setTheme = [] {
    HMODULE library = ::LoadLibraryExW(L"uxtheme.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return library ? reinterpret_cast<SetTheme>(
                         reinterpret_cast<void*>(::GetProcAddress(library, "SetWindowTheme")))
                   : nullptr;
  }();
  if (setTheme != nullptr) setTheme(window, app, idList);
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

ControlWindows::ControlWindows(HINSTANCE instance, HWND frame, FrameEvents& events,
                               ControlSet& controls, int dpi)
    : instance_(instance), frame_(frame), events_(events), controls_(controls), dpi_(dpi) {
  hand_ = static_cast<HCURSOR>(::LoadImageW(instance_, MAKEINTRESOURCEW(kHandCursorResource),
                                            IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
  if (hand_ == nullptr) hand_ = ::LoadCursorW(nullptr, IDC_HAND);
}

ControlWindows::~ControlWindows() {
  // A list box that outlives us (in tests) must not call into us any more.
  for (const Realised& r : realised_) {
    if (r.window != nullptr && ::IsWindow(r.window) &&
        ::GetWindowLongPtrW(r.window, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(listBoxProc)) {
      ::SetWindowLongPtrW(r.window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(listBoxClassProc_));
      ::SetWindowLongPtrW(r.window, GWLP_USERDATA, 0);
    }
  }
  if (!::IsWindow(frame_)) return;
  // The frame outlives us only in tests; leave it without ticks that would
  // name controls we no longer know.
  for (std::size_t i = 0; i < realised_.size(); ++i) {
    ::KillTimer(frame_, kControlTimerBase + i);
  }
}

void ControlWindows::realise() {
  built_ = true;
  const int first = static_cast<int>(realised_.size());
  if (first >= controls_.size()) return;
  initCommonControls();
  if (!toolTips_) createToolTips();
  realised_.resize(static_cast<std::size_t>(controls_.size()));
  for (int i = first; i < controls_.size(); ++i) {
    if (controls_.exists(i)) create(i);
  }
  // Where siblings overlap, the control stored earlier lies above (the
  // option panel covers the toolbar and headings when it is shown). A new
  // child window normally joins its siblings at the bottom already; pushing
  // each one down in stored order makes that order ours rather than a habit
  // of the system.
  for (int i = first; i < controls_.size(); ++i) {
    if (HWND w = window(i)) {
      ::SetWindowPos(w, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
  }
  for (int i = first; i < controls_.size(); ++i) {
    if (controls_[i].onTop) syncStacking(i);
  }
}

void ControlWindows::syncStacking(int index) {
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

void ControlWindows::createToolTips() {
  // Not owned by the frame: with an owned pop-up window, SetWindowPos(
  // HWND_TOPMOST) on the frame succeeds under Wine without making it
  // top-most. The tips show above everything anyway.
  toolTips_.reset(::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                    WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                    instance_, nullptr));
  if (toolTips_) {
    ::SendMessageW(toolTips_.get(), TTM_SETMAXTIPWIDTH, 0,
                   ::MulDiv(kToolTipWidth, dpi_, kDefaultDpi));
  }
}

std::wstring ControlWindows::windowTextOf(const Control& control) const {
  // Image controls have no caption; their tool tip names them, so that
  // tools that look windows up by text can find them. Icon images have no
  // tool tip: their name does.
  if (isImage(control.kind)) return widen(control.toolTip);
  if (control.kind == ControlKind::IconImage) return widen(control.name);
  if (showsCaption(control.kind)) return widen(control.caption);
  return {};
}

void ControlWindows::create(int index) {
  const Control& c = controls_[index];
  Realised& r = realised_[static_cast<std::size_t>(index)];
  if (c.kind == ControlKind::Timer) {
    syncTimer(index);
    return;
  }

  HWND parent = c.container == kNoContainer ? frame_ : window(c.container);
  if (parent == nullptr) parent = frame_;
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (c.visible ? WS_VISIBLE : 0u);
  DWORD exStyle = 0;
  const wchar_t* className = nullptr;
  void* binding = nullptr;
  switch (c.kind) {
    case ControlKind::ImageStore:
    case ControlKind::ImageButton:
    case ControlKind::IconImage:
      className = kImageClassName;
      binding = this;
      break;
    case ControlKind::PictureBox:
    case ControlKind::Panel:
      className = kContainerClassName;
      style |= WS_CLIPCHILDREN;
      binding = this;
      break;
    case ControlKind::Label:
    case ControlKind::LabelButton:
      className = kLabelClassName;
      binding = this;
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

  syncBrush(index);
  const RECT place = pixelRect(c.rect, dpi_);
  const std::wstring text = windowTextOf(c);
  // The system's own controls get their text only once they have their
  // font: laid out first in the default font, the Chinese texts would send
  // the system looking through other fonts for their glyphs, which costs
  // time and memory at every start.
  const bool textAfterFont = c.kind == ControlKind::TextBox || c.kind == ControlKind::CheckBox;
  {
    const ProgramChange quiet(programTextDepth_);
    r.window = ::CreateWindowExW(
        exStyle, className, textAfterFont ? L"" : text.c_str(), style, place.left, place.top,
        place.right - place.left, place.bottom - place.top, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kControlIdBase + index)), instance_, binding);
  }
  if (r.window == nullptr) return;

  applyFont(index);
  if (textAfterFont && !text.empty()) {
    const ProgramChange quiet(programTextDepth_);
    ::SetWindowTextW(r.window, text.c_str());
  }
  if (c.kind == ControlKind::CheckBox) {
    // A themed check box draws its text in the theme's colour; unthemed it
    // takes the white on purple of the layout from WM_CTLCOLORSTATIC.
    setWindowTheme(r.window, L"", L"");
    ::SendMessageW(r.window, BM_SETCHECK, c.checked ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  if (c.kind == ControlKind::ListBox) {
    watchListBox(r.window);
    syncRows(index);
  }
  if (c.kind == ControlKind::IconImage) syncIcon(index);
  syncTool(index);
}

void ControlWindows::added(int index) {
  // Before the frame's controls are built, realise() makes this one too.
  if (!attached_ || !built_ || index < 0 || index >= controls_.size()) return;
  if (index >= static_cast<int>(realised_.size())) {
    realised_.resize(static_cast<std::size_t>(index) + 1);
  }
  if (window(index) != nullptr) removed(index);
  create(index);
  // Below every other control, as an image drawn on the frame itself: it
  // never covers a control or a hosted window.
  if (HWND w = window(index)) {
    ::SetWindowPos(w, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

void ControlWindows::removed(int index) {
  if (index < 0 || index >= static_cast<int>(realised_.size())) return;
  Realised& r = realised_[static_cast<std::size_t>(index)];
  dropTool(r);
  if (r.window != nullptr) ::DestroyWindow(r.window);
  // The icon copy goes with it; the icon it was made from is not ours.
  r = Realised{};
}

HICON ControlWindows::shownIcon(int index) const {
  if (index < 0 || index >= static_cast<int>(realised_.size())) return nullptr;
  return realised_[static_cast<std::size_t>(index)].icon.get();
}

void ControlWindows::syncIcon(int index) {
  Realised& r = realised_[static_cast<std::size_t>(index)];
  r.icon.reset(copyOf(controls_[index].icon));
  if (r.window != nullptr) ::InvalidateRect(r.window, nullptr, TRUE);
}

void ControlWindows::changed(int index, Property property) {
  // Before the windows are built the model alone holds the change; the
  // windows are made from it.
  if (!attached_ || !built_ || index < 0 || index >= controls_.size()) return;
  // Controls added to the model after the frame was built get windows now.
  if (index >= static_cast<int>(realised_.size())) realise();
  const Control& c = controls_[index];
  if (property == Property::Interval) {
    syncTimer(index);
    return;
  }
  HWND w = window(index);
  if (w == nullptr) return;

  switch (property) {
    case Property::Caption:
      if (showsCaption(c.kind)) {
        const ProgramChange quiet(programTextDepth_);
        ::SetWindowTextW(w, widen(c.caption).c_str());
      }
      break;
    case Property::ToolTip:
      syncTool(index);
      if (isImage(c.kind)) ::SetWindowTextW(w, widen(c.toolTip).c_str());
      break;
    case Property::Visible:
      ::ShowWindow(w, c.visible ? SW_SHOWNA : SW_HIDE);
      break;
    case Property::Rect: {
      const RECT place = pixelRect(c.rect, dpi_);
      ::MoveWindow(w, place.left, place.top, place.right - place.left, place.bottom - place.top,
                   TRUE);
      break;
    }
    case Property::BackColor:
      syncBrush(index);
      ::InvalidateRect(w, nullptr, TRUE);
      break;
    case Property::ForeColor:
    case Property::Picture:
      ::InvalidateRect(w, nullptr, TRUE);
      break;
    case Property::OnTop:
      syncStacking(index);
      break;
    case Property::Checked:
      ::SendMessageW(w, BM_SETCHECK, c.checked ? BST_CHECKED : BST_UNCHECKED, 0);
      break;
    case Property::Rows:
      syncRows(index);
      break;
    case Property::Selection:
      syncSelection(index);
      break;
    case Property::Icon:
      syncIcon(index);
      break;
    case Property::Interval:
      break;
  }
}

HWND ControlWindows::window(int index) const {
  if (index < 0 || index >= static_cast<int>(realised_.size())) return nullptr;
  return realised_[static_cast<std::size_t>(index)].window;
}

int ControlWindows::indexOf(HWND w) const {
  if (w == nullptr) return -1;
  const int index = ::GetDlgCtrlID(w) - kControlIdBase;
  // The id alone is not proof: an adopted window of another program keeps
  // whatever id it had.
  return window(index) == w ? index : -1;
}

void ControlWindows::syncBrush(int index) {
  realised_[static_cast<std::size_t>(index)].back.reset(
      ::CreateSolidBrush(colorRef(controls_[index].back)));
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
  // A new font sets a list box's rows to the font's height; a height of the
  // layout's own comes after it.
  if (c.kind == ControlKind::ListBox && c.rowHeight > 0) {
    const ProgramChange quiet(programListDepth_);
    ::SendMessageW(r.window, LB_SETITEMHEIGHT, 0,
                   MAKELPARAM(std::max(1, twipsToPixels(c.rowHeight, dpi_)), 0));
    // Other heights show another number of rows: the last page may start
    // elsewhere now.
    showTopIndex(index);
  }
}

void ControlWindows::syncTool(int index) {
  Realised& r = realised_[static_cast<std::size_t>(index)];
  if (!toolTips_ || r.window == nullptr) return;
  std::wstring text = widen(controls_[index].toolTip);
  TTTOOLINFOW tool{};
  tool.cbSize = kToolInfoSize;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = ::GetParent(r.window);
  tool.uId = reinterpret_cast<UINT_PTR>(r.window);
  tool.lpszText = text.data();
  if (text.empty()) {
    dropTool(r);
  } else if (r.hasTool) {
    ::SendMessageW(toolTips_.get(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
  } else {
    r.hasTool =
        ::SendMessageW(toolTips_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool)) != FALSE;
  }
}

void ControlWindows::dropTool(Realised& r) {
  if (!r.hasTool || !toolTips_) return;
  TTTOOLINFOW tool{};
  tool.cbSize = kToolInfoSize;
  tool.hwnd = ::GetParent(r.window);
  tool.uId = reinterpret_cast<UINT_PTR>(r.window);
  ::SendMessageW(toolTips_.get(), TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  r.hasTool = false;
}

void ControlWindows::syncRows(int index) {
  const Control& c = controls_[index];
  Realised& r = realised_[static_cast<std::size_t>(index)];
  std::vector<ListRow>& shown = r.shownRows;
  const ProgramChange quiet(programListDepth_);
  // Rows that only extend the ones shown (a refresh that found new windows
  // below the others) are added to the box; any other change fills it anew.
  const bool extends =
      c.rows.size() >= shown.size() && std::equal(shown.begin(), shown.end(), c.rows.begin());
  // Drawn once, when all rows are in: a list box redraws its scroll bar at
  // every row added, which costs more than the rows themselves. Turning
  // redrawing back on shows a hidden window, so only when visible.
  const bool hold = (!extends || c.rows.size() > shown.size() + 1) && ::IsWindowVisible(r.window);
  if (hold) ::SendMessageW(r.window, WM_SETREDRAW, FALSE, 0);
  if (!extends) {
    ::SendMessageW(r.window, LB_RESETCONTENT, 0, 0);
    shown.clear();
  }
  for (std::size_t k = shown.size(); k < c.rows.size(); ++k) {
    const ListRow& row = c.rows[k];
    const LRESULT at = ::SendMessageW(r.window, LB_ADDSTRING, 0,
                                      reinterpret_cast<LPARAM>(widen(row.text).c_str()));
    if (at < 0) break;  // LB_ERR or LB_ERRSPACE: the list shows what it could take
    ::SendMessageW(r.window, LB_SETITEMDATA, static_cast<WPARAM>(at),
                   static_cast<LPARAM>(row.data));
    shown.push_back(row);
  }
  if (!extends) {
    ::SendMessageW(r.window, LB_SETCURSEL, static_cast<WPARAM>(c.selected), 0);
  }
  // New rows start at the top; the user's place is kept where they allow.
  showTopIndex(index);
  if (hold) {
    ::SendMessageW(r.window, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(r.window, nullptr, TRUE);
  }
}

void ControlWindows::syncSelection(int index) {
  const Control& c = controls_[index];
  HWND w = window(index);
  const ProgramChange quiet(programListDepth_);
  // Selecting a row scrolls it into view; the user's place is put back, so
  // a refresh that finds the selected window elsewhere never throws them
  // away from where they were looking. Drawn once, at the end.
  const bool hold = ::IsWindowVisible(w) != FALSE;
  if (hold) ::SendMessageW(w, WM_SETREDRAW, FALSE, 0);
  ::SendMessageW(w, LB_SETCURSEL, static_cast<WPARAM>(c.selected), 0);
  showTopIndex(index);
  if (hold) {
    ::SendMessageW(w, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(w, nullptr, TRUE);
  }
}

void ControlWindows::showTopIndex(int index) {
  const Control& c = controls_[index];
  HWND w = window(index);
  const ProgramChange quiet(programListDepth_);
  if (::SendMessageW(w, LB_GETTOPINDEX, 0, 0) != c.topIndex) {
    ::SendMessageW(w, LB_SETTOPINDEX, static_cast<WPARAM>(c.topIndex), 0);
  }
  // A list box scrolls no further than to show its last page full.
  const LRESULT shown = ::SendMessageW(w, LB_GETTOPINDEX, 0, 0);
  if (shown >= 0 && shown != c.topIndex) {
    guarded([&] { controls_.noteShownTopIndex(index, static_cast<int>(shown)); });
  }
}

void ControlWindows::watchListBox(HWND w) {
  const auto proc = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(w, GWLP_WNDPROC));
  if (proc == nullptr || proc == listBoxProc) return;
  listBoxClassProc_ = proc;
  // The list box keeps its data in its own window bytes; the user data is
  // free for us.
  ::SetWindowLongPtrW(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  ::SetWindowLongPtrW(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(listBoxProc));
}

LRESULT CALLBACK ControlWindows::listBoxProc(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<ControlWindows*>(::GetWindowLongPtrW(w, GWLP_USERDATA));
  if (self == nullptr || self->listBoxClassProc_ == nullptr) {
    return ::DefWindowProcW(w, message, wParam, lParam);
  }
  try {
    return self->listBoxMessage(w, message, wParam, lParam);
  } catch (...) {
    return 0;
  }
}

LRESULT ControlWindows::listBoxMessage(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = ::CallWindowProcW(listBoxClassProc_, w, message, wParam, lParam);
  // List boxes tell their owner of a new selection but never of a scroll:
  // by the wheel, the scroll bar, the keys or a drag past an edge. So after
  // whatever it handled, see which row it shows first now.
  if (!attached_ || programListDepth_ > 0 || message == WM_NCDESTROY || message == WM_DESTROY) {
    return result;
  }
  const int index = indexOf(w);
  if (index < 0) return result;
  const LRESULT top = ::CallWindowProcW(listBoxClassProc_, w, LB_GETTOPINDEX, 0, 0);
  if (top >= 0 && top != controls_[index].topIndex) {
    guarded([&] { controls_.noteUserTopIndex(index, static_cast<int>(top)); });
  }
  return result;
}

void ControlWindows::syncTimer(int index) {
  const Control& c = controls_[index];
  if (c.kind != ControlKind::Timer) return;
  const UINT_PTR id = kControlTimerBase + static_cast<UINT_PTR>(index);
  // SetTimer on an id that runs replaces it, which restarts the delay.
  if (c.interval > 0) {
    ::SetTimer(frame_, id, static_cast<UINT>(c.interval), nullptr);
  } else {
    ::KillTimer(frame_, id);
  }
}

bool ControlWindows::onCommand(WPARAM wParam, LPARAM lParam) {
  if (!attached_) return false;
  const HWND from = reinterpret_cast<HWND>(lParam);
  const int index = indexOf(from);
  if (index < 0) return false;
  const UINT code = HIWORD(wParam);
  switch (controls_[index].kind) {
    case ControlKind::TextBox:
      if (code == EN_CHANGE && programTextDepth_ == 0) {
        const int length = ::GetWindowTextLengthW(from);
        std::wstring text(static_cast<std::size_t>(std::max(length, 0)) + 1, L'\0');
        text.resize(static_cast<std::size_t>(
            ::GetWindowTextW(from, text.data(), static_cast<int>(text.size()))));
        guarded([&] { controls_.noteUserText(index, narrow(text)); });
      }
      return true;
    case ControlKind::CheckBox:
      if (code == BN_CLICKED) {
        const bool checked =
            ::SendMessageW(from, BM_GETCHECK, 0, 0) == static_cast<LRESULT>(BST_CHECKED);
        guarded([&] { controls_.noteUserChecked(index, checked); });
      }
      return true;
    case ControlKind::ListBox:
      if (code == LBN_SELCHANGE) {
        const int row = static_cast<int>(::SendMessageW(from, LB_GETCURSEL, 0, 0));
        guarded([&] { controls_.noteUserSelection(index, row); });
      } else if (code == LBN_DBLCLK) {
        guarded([&] { events_.onControlDoubleClick(index); });
      }
      return true;
    default:
      return true;
  }
}

HBRUSH ControlWindows::onCtlColor(HDC dc, HWND child) {
  if (!attached_) return nullptr;
  const int index = indexOf(child);
  if (index < 0) return nullptr;
  const Control& c = controls_[index];
  ::SetTextColor(dc, colorRef(c.fore));
  ::SetBkColor(dc, colorRef(c.back));
  return realised_[static_cast<std::size_t>(index)].back.get();
}

bool ControlWindows::onChildSetCursor(HWND child, LPARAM lParam) {
  if (!attached_) return false;
  if (LOWORD(lParam) != HTCLIENT) return false;
  const int index = indexOf(child);
  if (index < 0 || !controls_[index].handCursor) return false;
  ::SetCursor(hand_);
  return true;
}

bool ControlWindows::onTimer(UINT_PTR id) {
  if (!attached_) return false;
  if (id < kControlTimerBase) return false;
  const UINT_PTR offset = id - kControlTimerBase;
  if (offset >= realised_.size()) return false;
  const int index = static_cast<int>(offset);
  if (controls_[index].kind != ControlKind::Timer) return false;
  guarded([&] { events_.onTimer(index); });
  return true;
}

bool ControlWindows::onTabKey(const MSG& message) {
  if (!attached_ || message.message != WM_KEYDOWN || message.wParam != VK_TAB) return false;
  if (::GetKeyState(VK_CONTROL) < 0 || ::GetKeyState(VK_MENU) < 0) return false;
  const int from = indexOf(message.hwnd);
  if (from < 0 || controls_[from].container == kNoContainer) return false;
  const int panel = controls_[from].container;
  // In the order the panel reads, top to bottom, then left to right. The
  // system's own walk (GetNextDlgTabItem) follows the stacking instead,
  // which puts the panel's controls the other way up.
  std::vector<int> stops;
  for (int i = 0; i < controls_.size(); ++i) {
    HWND w = window(i);
    if (w == nullptr || controls_[i].container != panel) continue;
    if ((::GetWindowLongW(w, GWL_STYLE) & WS_TABSTOP) == 0) continue;
    if (::IsWindowVisible(w) && ::IsWindowEnabled(w)) stops.push_back(i);
  }
  std::stable_sort(stops.begin(), stops.end(), [&](int a, int b) {
    const TwipsRect& ra = controls_[a].rect;
    const TwipsRect& rb = controls_[b].rect;
    return ra.top != rb.top ? ra.top < rb.top : ra.left < rb.left;
  });
  const auto at = std::find(stops.begin(), stops.end(), from);
  if (at == stops.end()) return false;
  const std::size_t count = stops.size();
  const std::size_t here = static_cast<std::size_t>(at - stops.begin());
  const bool back = ::GetKeyState(VK_SHIFT) < 0;
  const int to = stops[back ? (here + count - 1) % count : (here + 1) % count];
  // As in the system's dialogs, a text box reached by Tab has its whole
  // text selected: typing replaces it.
  if (controls_[to].kind == ControlKind::TextBox) ::SendMessageW(window(to), EM_SETSEL, 0, -1);
  ::SetFocus(window(to));
  return true;
}

void ControlWindows::setDpi(int dpi) {
  if (dpi <= 0 || dpi == dpi_) return;
  dpi_ = dpi;
  for (int i = 0; i < static_cast<int>(realised_.size()); ++i) {
    HWND w = window(i);
    if (w == nullptr) continue;
    const RECT place = pixelRect(controls_[i].rect, dpi_);
    ::MoveWindow(w, place.left, place.top, place.right - place.left, place.bottom - place.top,
                 TRUE);
    applyFont(i);
  }
  fonts_.keepOnly(dpi_);
  if (toolTips_) {
    ::SendMessageW(toolTips_.get(), TTM_SETMAXTIPWIDTH, 0,
                   ::MulDiv(kToolTipWidth, dpi_, kDefaultDpi));
  }
}

const BITMAPINFO* ControlWindows::storedPicture(Picture picture) const {
  if (picture.resource == 0) return nullptr;
  // The picture is drawn straight from the executable's resources: nothing
  // is copied, and its pages are read only when it is painted.
  HRSRC found = ::FindResourceW(instance_, MAKEINTRESOURCEW(picture.resource),
                                MAKEINTRESOURCEW(2) /* RT_BITMAP */);
  HGLOBAL loaded = found ? ::LoadResource(instance_, found) : nullptr;
  const auto* info = loaded ? static_cast<const BITMAPINFO*>(::LockResource(loaded)) : nullptr;
  if (info == nullptr || ::SizeofResource(instance_, found) < sizeof(BITMAPINFOHEADER))
    return nullptr;
  return info;
}

}  // namespace vitrolux::platform::win32
