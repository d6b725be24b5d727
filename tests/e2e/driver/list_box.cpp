#include "driver/list_box.h"

#include <ostream>

#include "driver/win.h"

namespace e2e {

namespace {

std::optional<LRESULT> ask(HWND listBox, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(listBox, message, wParam, lParam, SMTO_ABORTIFHUNG, 2000, &result)) {
    return std::nullopt;
  }
  return static_cast<LRESULT>(result);
}

}  // namespace

void PrintTo(const ListBoxRow& row, std::ostream* out) {
  *out << "{\"" << narrow(row.text) << "\", " << row.itemData << "}";
}

std::vector<ListBoxRow> listBoxRows(HWND listBox) {
  std::vector<ListBoxRow> rows;
  const LRESULT count = ask(listBox, LB_GETCOUNT).value_or(LB_ERR);
  for (LRESULT i = 0; i < count; ++i) {
    const WPARAM row = static_cast<WPARAM>(i);
    const LRESULT length = ask(listBox, LB_GETTEXTLEN, row).value_or(LB_ERR);
    if (length < 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied =
        ask(listBox, LB_GETTEXT, row, reinterpret_cast<LPARAM>(text.data())).value_or(LB_ERR);
    if (copied < 0) return {};
    text.resize(static_cast<size_t>(copied));
    const std::optional<LRESULT> data = ask(listBox, LB_GETITEMDATA, row);
    if (!data) return {};
    rows.push_back({std::move(text), *data});
  }
  return rows;
}

int listBoxSelection(HWND listBox) {
  return static_cast<int>(ask(listBox, LB_GETCURSEL).value_or(LB_ERR));
}

int listBoxTopIndex(HWND listBox) {
  return static_cast<int>(ask(listBox, LB_GETTOPINDEX).value_or(LB_ERR));
}

std::optional<RECT> listBoxRowRect(HWND listBox, int row) {
  RECT r{};
  if (ask(listBox, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r))
          .value_or(LB_ERR) == LB_ERR) {
    return std::nullopt;
  }
  MapWindowPoints(listBox, HWND_DESKTOP, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

bool selectListBoxRow(HWND listBox, int row) {
  // LB_SETCURSEL answers LB_ERR for -1 as for a failure: check the outcome.
  if (!ask(listBox, LB_SETCURSEL, static_cast<WPARAM>(row)) || listBoxSelection(listBox) != row) {
    return false;
  }
  const int id = GetDlgCtrlID(listBox);
  return PostMessageW(GetParent(listBox), WM_COMMAND, MAKEWPARAM(id, LBN_SELCHANGE),
                      reinterpret_cast<LPARAM>(listBox)) != FALSE;
}

}  // namespace e2e
