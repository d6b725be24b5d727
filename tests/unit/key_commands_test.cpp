// The digit keys' opacity levels and their target, keys that reach the
// frame from its controls, and Esc.
#include "frame_fixture.h"

namespace vitrolux::testing {
namespace {

class KeyCommandsTest : public FrameTest {
 protected:
  void SetUp() override {
    desk.start();
    desk.advance(10);
  }
  std::optional<std::uint8_t> frameAlpha() const { return desk.layeredAlpha(desk.frameWindow()); }
  std::string saved() {
    const auto file = desk.files().file(appFile("ui.txt"));
    return file ? file->bytes : std::string("(none)");
  }
};

struct KeyLevel {
  int key;
  int level;
};

class KeyTableTest : public KeyCommandsTest, public ::testing::WithParamInterface<KeyLevel> {};

TEST_P(KeyTableTest, TheKeyFadesTheFrameToItsLevelAndSavesIt) {
  // Start from another level, so that each key has to change it.
  main.opacity().setOpacity(1, false);
  desk.keyDown(GetParam().key);
  EXPECT_EQ(frameAlpha(), std::optional<std::uint8_t>(GetParam().level));
  EXPECT_EQ(main.opacity().currentOpacity(), GetParam().level);
  EXPECT_EQ(saved(), "opacity=" + std::to_string(GetParam().level) +
                         "|||width=9675|||height=6495|||left=9555|||top=4845\r\n");
}

INSTANTIATE_TEST_SUITE_P(MainKeyboardAndKeypad, KeyTableTest,
                         ::testing::Values(KeyLevel{49, 40}, KeyLevel{50, 80}, KeyLevel{51, 120},
                                           KeyLevel{52, 140}, KeyLevel{53, 160}, KeyLevel{54, 180},
                                           KeyLevel{55, 190}, KeyLevel{56, 200}, KeyLevel{57, 220},
                                           KeyLevel{48, 255}, KeyLevel{97, 25}, KeyLevel{98, 50},
                                           KeyLevel{99, 75}, KeyLevel{100, 100}, KeyLevel{101, 125},
                                           KeyLevel{102, 150}, KeyLevel{103, 175},
                                           KeyLevel{104, 200}, KeyLevel{105, 225},
                                           KeyLevel{96, 255}));

TEST_F(KeyCommandsTest, ShiftDoesNotCountAndOtherKeysDoNothing) {
  desk.keyDown('5', platform::kShiftMask | platform::kCtrlMask);
  EXPECT_EQ(frameAlpha(), std::optional<std::uint8_t>{160});
  const std::string before = saved();
  // Keypad 5 without Num Lock is VK_CLEAR; letters and F-keys are no command.
  for (int key : {12, 0x41, 0x70, 0x2D}) desk.keyDown(key);
  EXPECT_EQ(frameAlpha(), std::optional<std::uint8_t>{160});
  EXPECT_EQ(saved(), before);
}

TEST_F(KeyCommandsTest, TheSelectedWindowIsFadedOnlyWhileNothingIsHosted) {
  const WindowHandle selected = listAndSelect(desk.createWindow(desk.newProcess(), "Selected"));
  desk.keyDown('4');
  EXPECT_EQ(desk.layeredAlpha(selected), std::optional<std::uint8_t>{140});
  EXPECT_FALSE(frameAlpha().has_value()) << "the frame is left alone";
  EXPECT_EQ(saved().rfind("opacity=140|||width=", 0), 0u) << "the level is saved all the same";

  // A launch that awaits its capture counts as hosted.
  install("C:\\Tools\\slow.exe", "Slow", 5000);
  ASSERT_TRUE(loadEntry("C:\\Tools\\slow.exe|Slow"));
  desk.keyDown('2');
  EXPECT_EQ(frameAlpha(), std::optional<std::uint8_t>{80});
  EXPECT_EQ(desk.layeredAlpha(selected), std::optional<std::uint8_t>{140});

  const WindowHandle hosted = desk.createWindow(desk.newProcess(), "Hosted");
  main.loader().embed(hosted);
  ASSERT_EQ(state().hostedWindow, hosted);
  desk.keyDown('9');
  EXPECT_EQ(frameAlpha(), std::optional<std::uint8_t>{220});
  EXPECT_FALSE(desk.layeredAlpha(hosted).has_value());
  EXPECT_EQ(desk.layeredAlpha(selected), std::optional<std::uint8_t>{140});
}

TEST_F(KeyCommandsTest, TheTaskListPassesCommandKeysOnAndTextBoxesKeepEveryKey) {
  const int list = idx(ControlId::processList);
  EXPECT_FALSE(desk.controlKeyDown(list, 0x28)) << "arrows move in the list";
  EXPECT_TRUE(desk.controlKeyDown(list, '5'));
  EXPECT_EQ(frameAlpha(), std::optional<std::uint8_t>{160});

  desk.click(idx(ControlId::setCfgPic));
  for (ControlId box : {ControlId::cfg_txt, ControlId::title_txt}) {
    EXPECT_FALSE(desk.controlKeyDown(idx(box), '1'));
    EXPECT_FALSE(desk.controlKeyDown(idx(box), platform::kVkEscape));
  }
  EXPECT_EQ(frameAlpha(), std::optional<std::uint8_t>{160});
  EXPECT_FALSE(desk.ended());

  EXPECT_TRUE(desk.controlKeyDown(idx(ControlId::icon_chk), platform::kVkEscape));
  EXPECT_TRUE(desk.ended());
}

TEST_F(KeyCommandsTest, EscGivesEveryHostedWindowBackAndEndsWithoutSaving) {
  install("C:\\Tools\\a.exe", "First");
  install("C:\\Tools\\b.exe", "Second");
  ASSERT_TRUE(loadEntry("C:\\Tools\\a.exe|First"));
  desk.advance(2000);
  const WindowHandle first = state().hostedWindow;
  ASSERT_TRUE(loadEntry("C:\\Tools\\b.exe|Second"));
  desk.advance(2000);
  const WindowHandle second = state().hostedWindow;
  ASSERT_TRUE(hostedInFrame(first));
  ASSERT_TRUE(hostedInFrame(second));

  desk.keyDown(platform::kVkEscape);
  EXPECT_TRUE(desk.ended());
  for (WindowHandle w : {first, second}) {
    ASSERT_TRUE(desk.isWindow(w));
    EXPECT_TRUE(desk.getParent(w).isNull());
    EXPECT_TRUE(desk.processAlive(desk.window(w)->process));
  }
  EXPECT_FALSE(desk.files().file(appFile("ui.txt")).has_value());
}

}  // namespace
}  // namespace vitrolux::testing
