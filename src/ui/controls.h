// The toolkit model: the frame's controls as plain objects. Handlers change
// them through ControlSet; a Toolkit (the Win32 adapter, or the simulated
// desktop) is told of every change and realises it. Changes the user makes in
// a real control (typing, selecting, ticking) come back through the note*
// calls, which update the model without echoing the change back.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ports/toolkit.h"
#include "ports/types.h"

namespace vitrolux::platform {

enum class ControlKind : std::uint8_t {
  Timer,        // no window; ticks while its interval is not 0
  ImageStore,   // hidden image that only holds a picture
  PictureBox,   // container with a background colour
  ImageButton,  // shows a picture, takes mouse events
  Panel,        // borderless container
  CheckBox,
  TextBox,  // single-line edit box
  Label,
  LabelButton,  // a label that takes clicks
  ListBox,      // rows with a number attached to each
  IconImage,    // made while the frame runs: shows an icon, takes no input
};

// A stored picture, by the number of the bitmap the program embeds; none
// when 0. The program's pictures are named in model/pictures.h.
struct Picture {
  int resource = 0;
  friend constexpr bool operator==(Picture, Picture) = default;
};

// A colour as the layout stores it: 0x00BBGGRR, or 0x800000nn for the system
// colour nn (0x80000005 window background, 0x80000008 window text).
struct Color {
  std::uint32_t value = 0;
  constexpr bool isSystem() const { return (value & 0x80000000u) != 0; }
  friend constexpr bool operator==(Color, Color) = default;
};

inline constexpr Color kSystemWindow{0x80000005u};
inline constexpr Color kSystemWindowText{0x80000008u};

struct Font {
  std::string face;
  double points = 9.0;
  int charset = 1;  // DEFAULT_CHARSET
  int weight = 400;
  friend bool operator==(const Font&, const Font&) = default;
};

enum class Align : std::uint8_t { Left, Center };

// Position and size in twips, relative to the container.
struct TwipsRect {
  double left = 0;
  double top = 0;
  double width = 0;
  double height = 0;
  friend constexpr bool operator==(const TwipsRect&, const TwipsRect&) = default;
};

struct ListRow {
  std::string text;
  std::int64_t data = 0;
  friend bool operator==(const ListRow&, const ListRow&) = default;
};

inline constexpr int kNoContainer = -1;  // the control lies on the form itself
inline constexpr int kNoSelection = -1;

struct Control {
  std::string name;
  ControlKind kind = ControlKind::Label;
  int container = kNoContainer;
  TwipsRect rect;
  std::string caption;  // caption of a label or check box, text of a text box
  std::string toolTip;
  // More of the tool tip, shown on lines below it; tools that look an image
  // control up by its window text (its tool tip) never see it.
  std::string toolTipNote;
  bool visible = true;
  Color back{0};
  Color fore{0};
  std::optional<Font> font;
  Align align = Align::Left;
  Picture picture;
  bool handCursor = false;
  // Lies above every other window in its container, windows of other
  // programs that live there included; otherwise at its stored place, below
  // the controls stored before it.
  bool onTop = false;
  int interval = 0;  // timers, in milliseconds; 0 means stopped
  bool checked = false;
  std::vector<ListRow> rows;
  int selected = kNoSelection;
  // The row shown first in a list box (its scroll position).
  int topIndex = 0;
  // The height of a list box's rows in twips; 0 leaves it to the font.
  double rowHeight = 0;
  // An icon image's icon. It may belong to another program: the toolkit
  // shows a copy of its own and never destroys this handle.
  IconHandle icon;
};

class ControlSet {
 public:
  // Building the layout; indexes are given in the order of adding.
  int add(Control control);

  int size() const { return static_cast<int>(controls_.size()); }
  const Control& operator[](int index) const {
    return controls_.at(static_cast<std::size_t>(index));
  }

  // Controls made and removed while the frame runs (the icon images). An
  // index stays the control's until it is removed; a later control may then
  // be given it again.
  int create(Control control);
  void remove(int index);
  // False for the index of a removed control (and for indexes out of range).
  bool exists(int index) const;

  void attach(Toolkit* toolkit) { toolkit_ = toolkit; }
  // Runs after the text of a text box has changed, by program or by the user.
  void onTextChange(std::function<void(int)> handler) { textChanged_ = std::move(handler); }
  // Runs after the user has scrolled a list box (another row shows first).
  void onUserScroll(std::function<void(int)> handler) { userScrolled_ = std::move(handler); }

  // Setting a text box's text to what it already holds changes nothing and
  // raises no change event.
  void setCaption(int index, std::string text);
  void setToolTip(int index, std::string text);
  void setToolTipNote(int index, std::string text);
  void setVisible(int index, bool visible);
  void setLeft(int index, double left);
  void setTop(int index, double top);
  void setBackColor(int index, Color color);
  void setPicture(int index, Picture picture);
  void setOnTop(int index, bool onTop);
  // Arms (interval > 0) or stops (0) a timer; arming restarts the delay.
  void setInterval(int index, int milliseconds);
  void setSelected(int index, int row);
  // Replaces every row at once; rows equal to those there change nothing.
  // Otherwise no row stays selected, and the row shown first stays where
  // the new rows allow it.
  void setRows(int index, std::vector<ListRow> rows);

  // What the user did in the real control; the toolkit already shows it.
  void noteUserText(int index, std::string text);
  void noteUserSelection(int index, int row);
  void noteUserChecked(int index, bool checked);
  void noteUserTopIndex(int index, int row);
  // The row a list box really shows first, where it could not show the one
  // asked for (it scrolls no further than its last page): no event.
  void noteShownTopIndex(int index, int row);

 private:
  Control& at(int index) { return controls_.at(static_cast<std::size_t>(index)); }
  void setRect(int index, const TwipsRect& rect);
  void changed(int index, Property property);

  std::vector<Control> controls_;
  std::vector<bool> removed_;
  Toolkit* toolkit_ = nullptr;
  std::function<void(int)> textChanged_;
  std::function<void(int)> userScrolled_;
};

}  // namespace vitrolux::platform
