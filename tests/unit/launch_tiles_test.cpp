// The launch tiles.
#include "frame_fixture.h"

namespace vitrolux::testing {
namespace {

class PresetsTest : public FrameTest {
 protected:
  void SetUp() override {
    desk.installProgram("C:\\Program Files\\Internet Explorer\\iexplore.exe", {});
    desk.installProgram("C:\\Program Files\\Mozilla Firefox\\firefox.exe", {});
    desk.installProgram("C:\\Users\\demo\\AppData\\Local\\Google\\Chrome\\Application\\chrome.exe",
                        {});
    desk.installProgram("C:\\Windows\\explorer.exe", {});
    desk.addToSearchPath("C:\\Windows");
    desk.start();
  }
  std::string lastCommandLine() const {
    return desk.launches().empty() ? std::string() : desk.launches().back().commandLine;
  }
};

TEST_F(PresetsTest, TilesWithoutPresetFilesUseTheirBuiltInEntries) {
  desk.click(idx(ControlId::ie_btn));
  EXPECT_EQ(lastCommandLine(), "\"C:\\Program Files\\Internet Explorer\\iexplore.exe\"");
  EXPECT_EQ(text(ControlId::title_txt), "Windows Internet Explorer");

  desk.click(idx(ControlId::ff_btn));
  EXPECT_EQ(lastCommandLine(), "\"C:\\Program Files\\Mozilla Firefox\\firefox.exe\"");
  EXPECT_EQ(control(ControlId::firefox_timer).interval, 2000);

  desk.click(idx(ControlId::pic_btn));
  EXPECT_EQ(lastCommandLine(),
            "\"C:\\Windows\\explorer.exe\" C:\\Windows\\Web\\Wallpaper\\Windows\\img0.jpg");
  EXPECT_EQ(text(ControlId::title_txt), "Windows 照片查看器");
  EXPECT_EQ(control(ControlId::other_app_timer).interval, 2000);
}

TEST_F(PresetsTest, TheChromeEntryIsBuiltFromTheProfileAtTheClick) {
  desk.setEnvironment("UserProfile", "C:\\Users\\demo");
  desk.click(idx(ControlId::ch_btn));
  EXPECT_EQ(text(ControlId::cfg_txt),
            "C:\\Users\\demo\\AppData\\Local\\Google\\Chrome\\Application\\chrome.exe");
  EXPECT_EQ(text(ControlId::title_txt), "新标签页 - Google Chrome");
  EXPECT_EQ(desk.launches().size(), 1u);

  desk.setEnvironment("UserProfile", std::nullopt);
  desk.click(idx(ControlId::ch_btn));
  EXPECT_EQ(text(ControlId::cfg_txt), "\\AppData\\Local\\Google\\Chrome\\Application\\chrome.exe");
  EXPECT_EQ(desk.launches().size(), 1u) << "no such program: nothing starts";
}

TEST_F(PresetsTest, APresetFileReplacesTheBuiltInEntryAndIsReadAtEveryClick) {
  desk.installProgram("D:\\Apps\\Firefox\\firefox.exe", {});
  desk.files().putFile(appFile("firefox.txt"),
                       "D:\\Apps\\Firefox\\firefox.exe|Mozilla Firefox\r\n");
  desk.click(idx(ControlId::ff_btn));
  EXPECT_EQ(lastCommandLine(), "\"D:\\Apps\\Firefox\\firefox.exe\"");

  // An empty first line means no preset.
  desk.files().putFile(appFile("firefox.txt"),
                       "\r\nD:\\Apps\\Firefox\\firefox.exe|Mozilla Firefox\r\n");
  desk.click(idx(ControlId::ff_btn));
  EXPECT_EQ(lastCommandLine(), "\"C:\\Program Files\\Mozilla Firefox\\firefox.exe\"");

  // A value without "|" is a bare path; text after a comma is dropped.
  desk.files().putFile(appFile("firefox.txt"), "D:\\Apps\\Firefox\\firefox.exe,ignored\r\n");
  desk.click(idx(ControlId::ff_btn));
  EXPECT_EQ(text(ControlId::cfg_txt), "D:\\Apps\\Firefox\\firefox.exe");
  EXPECT_EQ(text(ControlId::title_txt), "Mozilla Firefox") << "filled in from the path";
}

TEST_F(PresetsTest, TilesNeverWriteAPresetFile) {
  for (ControlId tile : {ControlId::ie_btn, ControlId::ch_btn, ControlId::ff_btn,
                         ControlId::pic_btn, ControlId::any_btn}) {
    desk.click(idx(tile));
  }
  for (const char* name : {"ie.txt", "chrome.txt", "firefox.txt", "config.txt"}) {
    EXPECT_FALSE(desk.files().file(appFile(name))) << name;
  }
}

TEST_F(PresetsTest, TheAnyTileOnlySaysTodo) {
  const std::string path = text(ControlId::cfg_txt);
  desk.click(idx(ControlId::any_btn));
  ASSERT_EQ(desk.messageBoxes().size(), 1u);
  EXPECT_EQ(desk.messageBoxes()[0].first, "todo");
  EXPECT_EQ(desk.messageBoxes()[0].second, "Vitrolux");
  EXPECT_TRUE(desk.launches().empty());
  EXPECT_EQ(text(ControlId::cfg_txt), path);
}

}  // namespace
}  // namespace vitrolux::testing
