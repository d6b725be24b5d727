// The control model: what a change reaches the toolkit with, and the rules
// that keep a list's selection inside its rows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/layout.h"
#include "model/task_rows.h"
#include "ui/controls.h"

namespace vitrolux::platform {
namespace {

class Changes final : public Toolkit {
 public:
  void controlChanged(int index, Property property) override { seen.push_back({index, property}); }
  void controlAdded(int index) override { added.push_back(index); }
  void controlRemoved(int index) override { removed.push_back(index); }
  struct Change {
    int index;
    Property property;
    friend bool operator==(const Change&, const Change&) = default;
  };
  std::vector<Change> seen;
  std::vector<int> added;
  std::vector<int> removed;
};

class ControlModelTest : public ::testing::Test {
 protected:
  ControlModelTest() {
    model::buildLayout(controls);
    controls.attach(&toolkit);
  }
  static int idx(model::ControlId id) { return model::index(id); }
  ControlSet controls;
  Changes toolkit;
};

TEST_F(ControlModelTest, ASelectionMustNameARow) {
  const int list = idx(model::ControlId::processList);
  controls.setRows(list, {{"A", 0x100}, {"B", 0x200}});
  controls.setSelected(list, 0);
  EXPECT_EQ(controls[list].selected, 0) << "the first row is a row";
  EXPECT_EQ(model::selectedTaskWindow(controls), WindowHandle{0x100});
  controls.setSelected(list, 1);
  EXPECT_EQ(controls[list].selected, 1);
  EXPECT_EQ(model::selectedTaskWindow(controls), WindowHandle{0x200});
  // One past the last row is no row.
  controls.setSelected(list, 2);
  EXPECT_EQ(controls[list].selected, kNoSelection);
  EXPECT_TRUE(model::selectedTaskWindow(controls).isNull());
  controls.noteUserSelection(list, 0);
  EXPECT_EQ(model::selectedTaskWindow(controls), WindowHandle{0x100});
  controls.noteUserSelection(list, 2);
  EXPECT_EQ(controls[list].selected, kNoSelection);
  EXPECT_TRUE(model::selectedTaskWindow(controls).isNull());
}

TEST_F(ControlModelTest, OnlyRealChangesReachTheToolkit) {
  const int panel = idx(model::ControlId::optionFrm);
  const int button = idx(model::ControlId::cfgOkBtn);
  controls.setVisible(panel, false);  // hidden already
  EXPECT_TRUE(toolkit.seen.empty());
  controls.setVisible(panel, true);
  controls.setBackColor(button, Color{0x00123456u});
  controls.setBackColor(button, Color{0x00123456u});
  EXPECT_EQ(toolkit.seen, (std::vector<Changes::Change>{{panel, Property::Visible},
                                                        {button, Property::BackColor}}));
  EXPECT_TRUE(controls[panel].visible);
  EXPECT_EQ(controls[button].back, (Color{0x00123456u}));
}

TEST_F(ControlModelTest, OnlyATextBoxRaisesTheTextChangeEvent) {
  std::vector<int> raised;
  controls.onTextChange([&](int control) { raised.push_back(control); });
  const int label = idx(model::ControlId::new_task_lbl);
  const int box = idx(model::ControlId::title_txt);
  controls.noteUserText(label, "typed");
  controls.noteUserText(box, "typed");
  EXPECT_EQ(raised, (std::vector<int>{box}));
}

TEST_F(ControlModelTest, ControlsMadeAtRunTimeComeAndGoWithTheToolkitTold) {
  Control image;
  image.name = "app_icon_1";
  image.kind = ControlKind::IconImage;
  const int first = controls.create(image);
  EXPECT_EQ(first, model::kControlCount);
  EXPECT_EQ(controls[first].name, "app_icon_1");
  controls.remove(first);
  EXPECT_FALSE(controls.exists(first));
  EXPECT_EQ(controls[first].name, "") << "nothing finds it by its name any more";
  controls.remove(first);  // gone already: nothing to tell
  image.name = "app_icon_2";
  EXPECT_EQ(controls.create(image), first) << "a freed place is taken again";
  EXPECT_EQ(toolkit.added, (std::vector<int>{first, first}));
  EXPECT_EQ(toolkit.removed, (std::vector<int>{first}));
}

TEST_F(ControlModelTest, ReplacingRowsWithTheSameRowsTouchesNothing) {
  const int list = idx(model::ControlId::processList);
  int scrolls = 0;
  controls.onUserScroll([&](int) { ++scrolls; });
  std::vector<ListRow> rows;
  for (int i = 0; i < 12; ++i) rows.push_back({"W" + std::to_string(i), 0x100 + i});
  controls.setRows(list, rows);
  controls.noteUserSelection(list, 5);
  controls.noteUserTopIndex(list, 9);
  controls.noteUserTopIndex(list, 9);
  EXPECT_EQ(scrolls, 1) << "only a real scroll is an event";
  toolkit.seen.clear();

  controls.setRows(list, rows);
  EXPECT_TRUE(toolkit.seen.empty());
  EXPECT_EQ(controls[list].selected, 5);
  EXPECT_EQ(controls[list].topIndex, 9);

  // Other rows: no selection, and the first row shown stays where it can.
  // The toolkit hears that the selection went, or it would keep showing it.
  rows.resize(4);
  controls.setRows(list, rows);
  EXPECT_EQ(toolkit.seen,
            (std::vector<Changes::Change>{{list, Property::Rows}, {list, Property::Selection}}));
  EXPECT_EQ(controls[list].selected, kNoSelection);
  EXPECT_EQ(controls[list].topIndex, 3);
  // The toolkit's own correction is no scroll of the user's.
  controls.noteShownTopIndex(list, 1);
  EXPECT_EQ(controls[list].topIndex, 1);
  EXPECT_EQ(scrolls, 1);
}

}  // namespace
}  // namespace vitrolux::platform
