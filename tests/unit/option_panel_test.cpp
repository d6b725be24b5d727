// The option panel: opening, the title auto-fill and saving the entry.
#include "file_attributes.h"
#include "frame_fixture.h"

namespace vitrolux::testing {
namespace {

constexpr platform::Color kGreen{0x0000C000u};
constexpr platform::Color kRed{0x000000C0u};

class OptionPanelTest : public FrameTest {
 protected:
  void SetUp() override { desk.start(); }
  // The boxes take typing only while the panel is open.
  void type(const std::string& path, const std::string& title) {
    if (!control(ControlId::optionFrm).visible) desk.click(idx(ControlId::setCfgPic));
    desk.typeText(idx(ControlId::cfg_txt), path);
    desk.typeText(idx(ControlId::title_txt), title);
  }
  void save() {
    if (!control(ControlId::optionFrm).visible) desk.click(idx(ControlId::setCfgPic));
    desk.click(idx(ControlId::cfgOkBtn));
  }
  std::optional<std::string> config() {
    const auto file = desk.files().file(appFile("config.txt"));
    return file ? std::optional<std::string>(file->bytes) : std::nullopt;
  }
};

TEST_F(OptionPanelTest, TheOptionsButtonTogglesThePanelAt720Twips) {
  EXPECT_FALSE(control(ControlId::optionFrm).visible);
  desk.click(idx(ControlId::setCfgPic));
  EXPECT_TRUE(control(ControlId::optionFrm).visible);
  // Open, it lies above a hosted window, which would take its clicks.
  EXPECT_TRUE(control(ControlId::optionFrm).onTop);
  EXPECT_EQ(control(ControlId::optionFrm).rect, (platform::TwipsRect{720, 720, 8295, 2535}));
  desk.click(idx(ControlId::setCfgPic));
  EXPECT_FALSE(control(ControlId::optionFrm).visible);
  EXPECT_FALSE(control(ControlId::optionFrm).onTop);
  // Saving closes it too, back to its place.
  save();
  EXPECT_FALSE(control(ControlId::optionFrm).visible);
  EXPECT_FALSE(control(ControlId::optionFrm).onTop);
  main.controls().setTop(idx(ControlId::optionFrm), 3000);
  desk.click(idx(ControlId::setCfgPic));
  EXPECT_EQ(control(ControlId::optionFrm).rect.top, 720);
}

struct FillCase {
  const char* path;
  const char* title;
};

class TitleFillTest : public OptionPanelTest, public ::testing::WithParamInterface<FillCase> {};

TEST_P(TitleFillTest, ThePathFillsTheTitleOfAKnownBrowser) {
  desk.click(idx(ControlId::setCfgPic));
  desk.typeText(idx(ControlId::title_txt), "typed before");
  desk.typeText(idx(ControlId::cfg_txt), GetParam().path);
  EXPECT_EQ(text(ControlId::title_txt), GetParam().title);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, TitleFillTest,
    ::testing::Values(FillCase{"C:\\Program Files\\Google\\Chrome\\Application\\chrome.exe",
                               "新标签页 - Google Chrome"},
                      FillCase{"C:\\IE\\iexplore.exe", "Windows Internet Explorer"},
                      FillCase{"D:\\firefox.exe -P work", "Mozilla Firefox"},
                      FillCase{"C:\\firefox.exe\\chrome.exe", "新标签页 - Google Chrome"},
                      FillCase{"C:\\Program Files\\Google\\Chrome\\Application\\Chrome.exe", ""},
                      FillCase{"C:\\Tools\\a.exe", ""},
                      // Emptying the path leaves the title alone.
                      FillCase{"", "typed before"}));

TEST_F(OptionPanelTest, QuotesAroundTheProgramAloneAreDroppedWhereTheyChangeNothing) {
  type("\"C:\\My Apps\\tool.exe\" -x", "Tool");
  save();
  EXPECT_EQ(config(), "C:\\My Apps\\tool.exe -x|Tool\r\n");
  EXPECT_EQ(control(ControlId::cfgOkBtn).back, kGreen);
  EXPECT_EQ(text(ControlId::cfg_txt), "\"C:\\My Apps\\tool.exe\" -x") << "the box keeps its quotes";
  EXPECT_FALSE(control(ControlId::optionFrm).visible);
  EXPECT_TRUE(desk.launches().empty()) << "saving does not load the program";
}

TEST_F(OptionPanelTest, QuotedArgumentsAndACaptionWithABarComeBackAtTheNextStart) {
  type("\"C:\\Chrome\\chrome.exe\" --profile-directory=\"Profile 1\"", "Site | Work");
  save();
  EXPECT_EQ(control(ControlId::cfgOkBtn).back, kGreen);
  EXPECT_EQ(config(),
            "\"C:\\Chrome\\chrome.exe --profile-directory=\"\"Profile 1\"\"|Site | Work\"\r\n");

  // The next start launches exactly that, and looks for exactly that caption.
  sim::SimDesktop next;
  next.files().putFile(appFile("config.txt"), *config());
  next.installProgram("C:\\Chrome\\chrome.exe", {});
  app::Main again{next.ports()};
  next.connect(again);
  next.start();
  ASSERT_EQ(next.launches().size(), 1u);
  EXPECT_EQ(next.launches()[0].commandLine,
            "\"C:\\Chrome\\chrome.exe\" --profile-directory=\"Profile 1\"");
  EXPECT_EQ(again.control(ControlId::title_txt).caption, "Site | Work");
}

TEST_F(OptionPanelTest, AnEntryThatCouldNotComeBackWholeIsRefused) {
  desk.files().putFile(appFile("config.txt"), "C:\\old.exe|Old\r\n");
  type("C:\\Tools\\a.exe x|y", "Tool");
  save();
  EXPECT_EQ(control(ControlId::cfgOkBtn).back, kRed);
  EXPECT_EQ(config(), "C:\\old.exe|Old\r\n");
}

TEST_F(OptionPanelTest, AnIncompleteEntryIsRefused) {
  desk.files().putFile(appFile("config.txt"), "C:\\old.exe|Old\r\n");
  for (const FillCase& entry :
       {FillCase{"粘贴程序路径，下次自动装载", "anything"}, FillCase{"C:\\APPS\\TOOL.EXE", "Tool"},
        FillCase{"C:\\Tools\\a.exe", ""}, FillCase{"", "Tool"}}) {
    type(entry.path, entry.title);
    main.controls().setBackColor(idx(ControlId::cfgOkBtn), kGreen);
    save();
    EXPECT_EQ(control(ControlId::cfgOkBtn).back, kRed) << entry.path;
    EXPECT_FALSE(control(ControlId::optionFrm).visible);
    EXPECT_EQ(config(), "C:\\old.exe|Old\r\n");
  }
}

TEST_F(OptionPanelTest, ASaveThatCannotBeWrittenTurnsRedAndKeepsTheOldFile) {
  desk.files().putFile(appFile("config.txt"), "C:\\old.exe|Old\r\n", readOnlyFile());
  type("C:\\Tools\\a.exe", "Tool");
  save();
  EXPECT_EQ(control(ControlId::cfgOkBtn).back, kRed);
  EXPECT_EQ(config(), "C:\\old.exe|Old\r\n");

  desk.files().putFile(appFile("config.txt"), "C:\\old.exe|Old\r\n", lockedFile());
  save();
  EXPECT_EQ(control(ControlId::cfgOkBtn).back, kRed);
  EXPECT_EQ(config(), "C:\\old.exe|Old\r\n");

  desk.files().putFile(appFile("config.txt"), "C:\\old.exe|Old\r\n");
  save();
  EXPECT_EQ(control(ControlId::cfgOkBtn).back, kGreen);
  EXPECT_EQ(config(), "C:\\Tools\\a.exe|Tool\r\n");
}

TEST_F(OptionPanelTest, ASaveThatFailsAtAnyStepTurnsRedAndKeepsTheOldFile) {
  type("C:\\Tools\\a.exe", "Tool");
  for (const sim::WriteStep step :
       {sim::WriteStep::createTemporary, sim::WriteStep::write, sim::WriteStep::replace}) {
    desk.files().putFile(appFile("config.txt"), "C:\\old.exe|Old\r\n");
    desk.files().failWriteStep(step);
    main.controls().setBackColor(idx(ControlId::cfgOkBtn), kGreen);
    save();
    EXPECT_EQ(control(ControlId::cfgOkBtn).back, kRed);
    EXPECT_EQ(config(), "C:\\old.exe|Old\r\n");
  }
}

TEST_F(OptionPanelTest, ASaveTooLongToBeReadBackWholeTurnsRed) {
  desk.files().putFile(appFile("config.txt"), "C:\\old.exe|Old\r\n");
  // 65,537 bytes with "|" and CR LF: one more than a read takes.
  type("C:\\Tools\\a.exe", std::string(65537 - 14 - 3, 'T'));
  main.controls().setBackColor(idx(ControlId::cfgOkBtn), kGreen);
  save();
  EXPECT_EQ(control(ControlId::cfgOkBtn).back, kRed);
  EXPECT_EQ(config(), "C:\\old.exe|Old\r\n");

  type("C:\\Tools\\a.exe", std::string(65536 - 14 - 3, 'T'));
  save();
  EXPECT_EQ(control(ControlId::cfgOkBtn).back, kGreen);
  EXPECT_EQ(config()->size(), 65536u);
}

TEST_F(OptionPanelTest, TheLoaderFillsBothBoxesAndItsTitleWins) {
  desk.installProgram("C:\\Chrome\\chrome.exe", {});
  desk.click(idx(ControlId::setCfgPic));
  loadEntry("C:\\Chrome\\chrome.exe|Custom");
  EXPECT_EQ(text(ControlId::cfg_txt), "C:\\Chrome\\chrome.exe");
  EXPECT_EQ(text(ControlId::title_txt), "Custom");
  desk.click(idx(ControlId::cfgOkBtn));
  EXPECT_EQ(config(), "C:\\Chrome\\chrome.exe|Custom\r\n");
}

}  // namespace
}  // namespace vitrolux::testing
