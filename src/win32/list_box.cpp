#include "win32/list_box.h"

#include <algorithm>

#include "ui/guard.h"
#include "win32/common_controls.h"
#include "win32/own_change.h"
#include "win32/text_encoding.h"

namespace vitrolux::platform::win32 {
namespace {

constexpr UINT_PTR kWatchId = 1;

// Drawn once when the change is done: a list box redraws its scroll bar at
// every row added, which costs more than the rows themselves. Turning
// redrawing back on shows a hidden window, so only a visible one is held.
class HeldRedraw {
 public:
  HeldRedraw(HWND window, bool hold)
      : window_(hold && ::IsWindowVisible(window) ? window : nullptr) {
    if (window_ != nullptr) ::SendMessageW(window_, WM_SETREDRAW, FALSE, 0);
  }
  ~HeldRedraw() {
    if (window_ == nullptr) return;
    ::SendMessageW(window_, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(window_, nullptr, TRUE);
  }
  HeldRedraw(const HeldRedraw&) = delete;
  HeldRedraw& operator=(const HeldRedraw&) = delete;

 private:
  HWND window_;
};

}  // namespace

ListBox::ListBox(HWND window, ControlSet& controls, int index)
    : window_(window), controls_(controls), index_(index) {
  // Unwatched (without the library's subclassing) the box is still filled;
  // only the user's scrolls go unseen.
  watching_ = setWindowSubclass(window_, watch, kWatchId, reinterpret_cast<DWORD_PTR>(this));
}

ListBox::~ListBox() {
  if (watching_) removeWindowSubclass(window_, watch, kWatchId);
}

LRESULT CALLBACK ListBox::watch(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                UINT_PTR id, DWORD_PTR self) {
  if (message == WM_NCDESTROY) {
    // The last message: a subclass must be gone before the window is.
    removeWindowSubclass(window, watch, id);
    reinterpret_cast<ListBox*>(self)->watching_ = false;
    return defSubclassProc(window, message, wParam, lParam);
  }
  const LRESULT result = defSubclassProc(window, message, wParam, lParam);
  guarded([&] { reinterpret_cast<ListBox*>(self)->afterMessage(message); });
  return result;
}

void ListBox::afterMessage(UINT message) {
  // A list box tells its parent of a new selection but never of a scroll:
  // by the wheel, the scroll bar, the keys or a drag past an edge. So after
  // whatever it handled, see which row it shows first now.
  if (ownChanges_ > 0 || message == WM_DESTROY) return;
  const LRESULT top = defSubclassProc(window_, LB_GETTOPINDEX, 0, 0);
  if (top >= 0 && top != controls_[index_].topIndex) {
    controls_.noteUserTopIndex(index_, static_cast<int>(top));
  }
}

void ListBox::showRows() {
  const std::vector<ListRow>& rows = controls_[index_].rows;
  const OwnChange own(ownChanges_);
  // Rows that only extend the ones shown (a refresh that found new windows
  // below the others) are added to the box; any other change fills it anew.
  const bool extends = rows.size() >= shownRows_.size() &&
                       std::equal(shownRows_.begin(), shownRows_.end(), rows.begin());
  const HeldRedraw held(window_, !extends || rows.size() > shownRows_.size() + 1);
  if (!extends) {
    ::SendMessageW(window_, LB_RESETCONTENT, 0, 0);
    shownRows_.clear();
  }
  for (std::size_t k = shownRows_.size(); k < rows.size(); ++k) {
    const LRESULT at = ::SendMessageW(window_, LB_ADDSTRING, 0,
                                      reinterpret_cast<LPARAM>(widen(rows[k].text).c_str()));
    if (at < 0) break;  // LB_ERR or LB_ERRSPACE: the box shows what it could take
    ::SendMessageW(window_, LB_SETITEMDATA, static_cast<WPARAM>(at),
                   static_cast<LPARAM>(rows[k].data));
    shownRows_.push_back(rows[k]);
  }
  if (!extends) {
    ::SendMessageW(window_, LB_SETCURSEL, static_cast<WPARAM>(controls_[index_].selected), 0);
  }
  // New rows start at the top; the user's place is kept where they allow.
  showTopIndex();
}

void ListBox::showSelection() {
  const OwnChange own(ownChanges_);
  // Selecting a row scrolls it into view; the user's place is put back, so
  // a refresh that finds the selected window elsewhere never throws them
  // away from where they were looking.
  const HeldRedraw held(window_, true);
  ::SendMessageW(window_, LB_SETCURSEL, static_cast<WPARAM>(controls_[index_].selected), 0);
  showTopIndex();
}

void ListBox::setRowHeight(int pixels) {
  const OwnChange own(ownChanges_);
  ::SendMessageW(window_, LB_SETITEMHEIGHT, 0, MAKELPARAM(std::max(1, pixels), 0));
  // Another height shows another number of rows: the last page may start
  // elsewhere now.
  showTopIndex();
}

void ListBox::showTopIndex() {
  const int wanted = controls_[index_].topIndex;
  const OwnChange own(ownChanges_);
  if (::SendMessageW(window_, LB_GETTOPINDEX, 0, 0) != wanted) {
    ::SendMessageW(window_, LB_SETTOPINDEX, static_cast<WPARAM>(wanted), 0);
  }
  // A list box scrolls no further than to show its last page full.
  const LRESULT shown = ::SendMessageW(window_, LB_GETTOPINDEX, 0, 0);
  if (shown >= 0 && shown != wanted) {
    guarded([&] { controls_.noteShownTopIndex(index_, static_cast<int>(shown)); });
  }
}

void ListBox::onNotification(UINT code, FrameEvents& events) {
  if (code == LBN_SELCHANGE) {
    const int row = static_cast<int>(::SendMessageW(window_, LB_GETCURSEL, 0, 0));
    guarded([&] { controls_.noteUserSelection(index_, row); });
  } else if (code == LBN_DBLCLK) {
    guarded([&] { events.onControlDoubleClick(index_); });
  }
}

}  // namespace vitrolux::platform::win32
