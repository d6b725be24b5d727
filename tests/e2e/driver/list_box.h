// A list box of another program (the task list), read and driven from
// outside. The messages are sent with a timeout, so a hung owner fails the
// call instead of the test run. Reading the row texts across processes
// needs a list box that keeps strings (LBS_HASSTRINGS, implied by any list
// box that is not owner-drawn).
#pragma once

#include <windows.h>

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

struct ListBoxRow {
  std::wstring text;
  LRESULT itemData = 0;

  bool operator==(const ListBoxRow&) const = default;
};
// How GoogleTest shows a row in a failure: {"text", data}.
void PrintTo(const ListBoxRow& row, std::ostream* out);

// Every row, top to bottom; empty when the list box does not answer.
std::vector<ListBoxRow> listBoxRows(HWND listBox);
// The selected row (LB_GETCURSEL), or -1 when none.
int listBoxSelection(HWND listBox);
// The first row shown (LB_GETTOPINDEX), or -1 when it does not answer.
int listBoxTopIndex(HWND listBox);
// Where `row` is on the screen; empty when out of range. Part of a row that
// is scrolled out of view lies outside the list box.
std::optional<RECT> listBoxRowRect(HWND listBox, int row);

// Selects `row` (-1: none) the way a program would, then tells the owner as
// the list box tells it of a user's choice: WM_COMMAND with LBN_SELCHANGE,
// posted to the parent. A click on the row (listBoxRowRect, clickAt) is
// the user's own way.
bool selectListBoxRow(HWND listBox, int row);

}  // namespace e2e
