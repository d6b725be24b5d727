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

// The fifth tile: the user picks a program, whose window's caption is not
// known beforehand.
class AnyProgramTest : public FrameTest {
 protected:
  static constexpr const char* kTool = "C:\\Tools\\tool.exe";
  static constexpr const char* kLauncher = "C:\\Tools\\launcher.exe";
  static constexpr const char* kReal = "C:\\Tools\\real.exe";
  static constexpr const char* kQuiet = "C:\\Tools\\quiet.exe";
  void SetUp() override {
    sim::Program tool;
    tool.caption = "Tool Window";
    tool.windowDelayMs = 600;
    desk.installProgram(kTool, tool);
    // A launcher that starts the real program and ends without a window.
    sim::Program launcher;
    launcher.opensWindow = false;
    launcher.exitAfterMs = 100;
    launcher.launches = kReal;
    desk.installProgram(kLauncher, launcher);
    sim::Program real;
    real.caption = "Real Window";
    real.windowDelayMs = 900;
    desk.installProgram(kReal, real);
    sim::Program quiet;
    quiet.opensWindow = false;
    quiet.exitAfterMs = 700;
    desk.installProgram(kQuiet, quiet);
    desk.start();
  }
  void pick(const std::string& program) {
    desk.answerProgramDialog("\"" + program + "\"");
    desk.click(idx(ControlId::any_btn));
  }
  WindowHandle windowCaptioned(const std::string& caption) {
    return desk.findWindow(caption).isNull() ? hostedWindowCaptioned(caption)
                                             : desk.findWindow(caption);
  }
  WindowHandle hostedWindowCaptioned(const std::string& caption) {
    for (WindowHandle w : desk.foreignChildren(desk.frameWindow())) {
      if (desk.window(w)->caption == caption) return w;
    }
    return {};
  }
};

TEST_F(AnyProgramTest, CancelStartsNothingAndChangesNothing) {
  const std::string path = text(ControlId::cfg_txt);
  desk.click(idx(ControlId::any_btn));
  EXPECT_EQ(desk.programDialogsShown(), 1);
  EXPECT_TRUE(desk.launches().empty());
  EXPECT_EQ(text(ControlId::cfg_txt), path);
  EXPECT_FALSE(desk.files().file(appFile("config.txt")));
  EXPECT_EQ(control(ControlId::any_btn).toolTip, "选择程序，打开并装载");
}

TEST_F(AnyProgramTest, TheProgramsFirstWindowIsHostedAtTheFitAndFillsTheOptionPanel) {
  // Another program's window with a caption, shown meanwhile, is not taken.
  desk.createWindow(desk.newProcess(), "Bystander");
  pick(kTool);
  EXPECT_EQ(text(ControlId::cfg_txt), "\"C:\\Tools\\tool.exe\"");
  EXPECT_TRUE(state().hosting());
  desk.advance(500);
  EXPECT_TRUE(hostedWindowCaptioned("Tool Window").isNull()) << "hosted before it showed";
  desk.advance(400);
  const WindowHandle tool = hostedWindowCaptioned("Tool Window");
  ASSERT_FALSE(tool.isNull()) << "not hosted once shown";
  EXPECT_EQ(state().hostedWindow, tool);
  EXPECT_EQ(desk.window(tool)->rect, (platform::Rect{1, 22, 646, 430}));
  EXPECT_TRUE(hostedWindowCaptioned("Bystander").isNull());
  EXPECT_EQ(text(ControlId::title_txt), "Tool Window");

  // "配置" in the option panel saves it as the auto-load entry.
  desk.click(idx(ControlId::setCfgPic));
  desk.click(idx(ControlId::cfgOkBtn));
  EXPECT_EQ(desk.files().file(appFile("config.txt"))->bytes, "C:\\Tools\\tool.exe|Tool Window\r\n");
}

TEST_F(AnyProgramTest, AWindowOfAProgramTheLauncherStartedIsHosted) {
  pick(kLauncher);
  desk.advance(1200);
  const WindowHandle real = hostedWindowCaptioned("Real Window");
  ASSERT_FALSE(real.isNull()) << "the launcher ended, and its program's window was not waited for";
  EXPECT_EQ(text(ControlId::title_txt), "Real Window");
}

TEST_F(AnyProgramTest, AProgramThatEndsWithoutAWindowEndsTheWaitAndANewerLaunchCancelsIt) {
  pick(kQuiet);
  EXPECT_TRUE(state().hosting());
  desk.advance(1000);
  EXPECT_FALSE(state().hosting()) << "still waiting for a program that ended";
  EXPECT_TRUE(desk.systemTimers().empty());

  pick(kTool);
  desk.answerProgramDialog("\"" + std::string(kQuiet) + "\"");
  desk.click(idx(ControlId::any_btn));
  desk.advance(1000);
  EXPECT_TRUE(hostedWindowCaptioned("Tool Window").isNull())
      << "the older launch was still waited for";
}

}  // namespace
}  // namespace vitrolux::testing
