// The control model: what a change reaches the toolkit with, and the rules
// that keep a list's selection inside its rows.
#include <gtest/gtest.h>

#include <vector>

#include "model/layout.h"
#include "model/task_rows.h"
#include "platform/controls.h"

namespace vitrolux::platform {
namespace {

class Changes final : public Toolkit {
 public:
  void controlChanged(int index, Property property) override { seen.push_back({index, property}); }
  struct Change {
    int index;
    Property property;
    friend bool operator==(const Change&, const Change&) = default;
  };
  std::vector<Change> seen;
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
  controls.addRow(list, "A", 0x100);
  controls.addRow(list, "B", 0x200);
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
  const int box = idx(model::ControlId::icon_chk);
  const int label = idx(model::ControlId::Label3);
  controls.setChecked(box, false);  // unticked already
  EXPECT_TRUE(toolkit.seen.empty());
  controls.setChecked(box, true);
  controls.setForeColor(label, Color{0x00123456u});
  controls.setForeColor(label, Color{0x00123456u});
  EXPECT_EQ(toolkit.seen,
            (std::vector<Changes::Change>{{box, Property::Checked}, {label, Property::ForeColor}}));
  EXPECT_TRUE(controls[box].checked);
  EXPECT_EQ(controls[label].fore, (Color{0x00123456u}));
}

}  // namespace
}  // namespace vitrolux::platform
