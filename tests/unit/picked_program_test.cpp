// A program picked with the fifth tile, started the ways real programs
// start: the capture hosts its main window, takes a console, a dialog or a
// splash only for want of one, and a pick that hosts nothing says why and
// leaves the window hosted before in place.
#include "frame_fixture.h"
#include "model/text.h"

namespace vitrolux::testing {
namespace {

namespace text = model::text;
using platform::WindowState;
using sim::ProgramWindow;

constexpr char kPicked[] = "C:\\Apps\\picked.exe";
constexpr std::uint32_t kOverlapped = platform::kWsVisible | platform::kWsOverlappedWindow;
constexpr std::uint32_t kHiddenOverlapped = platform::kWsOverlappedWindow;
// A splash screen: a popup without a title bar.
constexpr std::uint32_t kSplashStyle = platform::kWsVisible | platform::kWsPopup;
// A dialog box: a popup with a title bar.
constexpr std::uint32_t kDialogStyle =
    platform::kWsVisible | platform::kWsPopup | platform::kWsCaption | platform::kWsSysMenu;

class PickedProgramTest : public FrameTest {
 protected:
  void SetUp() override {
    desk.start();
    // The window the user hosted before the pick, from the task list.
    before = desk.createWindow(desk.newProcess(), "Hosted Before");
    selectRow(listWindow(before));
    desk.click(idx(ControlId::loadBtn));
    ASSERT_TRUE(hostedInFrame(before));
    selectRow(-1);
  }

  // Installs the program with these windows (and no plain one of its own).
  void installPicked(sim::Program program) {
    program.opensWindow = program.opensWindow && !program.caption.empty();
    desk.installProgram(kPicked, std::move(program));
  }
  void pick() {
    desk.answerProgramDialog("\"" + std::string(kPicked) + "\"");
    desk.click(idx(ControlId::any_btn));
  }
  WindowHandle hosted() const { return main.state().hostedWindow; }
  std::string hostedCaption() {
    return hosted().isNull() ? std::string() : desk.getWindowText(hosted());
  }
  // The pick hosted nothing: the window hosted before is still the hosted
  // one, and "释放" gives it back to the desktop.
  void expectHostedBeforeStillAnswers() {
    EXPECT_EQ(hosted(), before);
    EXPECT_TRUE(hostedInFrame(before));
    desk.click(idx(ControlId::releaseBtn));
    EXPECT_TRUE(desk.getParent(before).isNull()) << "释放 did not reach the window hosted before";
    EXPECT_TRUE(hosted().isNull());
  }

  WindowHandle before;
};

TEST_F(PickedProgramTest, AConsoleProgramsOwnWindowIsHostedNotItsConsole) {
  sim::Program program;
  program.console = true;
  program.windows = {ProgramWindow{.caption = "Script GUI", .createAtMs = 1200}};
  installPicked(program);
  pick();
  desk.advance(1000);
  EXPECT_EQ(hosted(), before) << "the console was hosted";
  desk.advance(500);
  EXPECT_EQ(hostedCaption(), "Script GUI");
  EXPECT_EQ(text(ControlId::title_txt), "Script GUI");
  // The console stays on the desktop, and later looks leave it alone.
  desk.advance(5000);
  EXPECT_EQ(hostedCaption(), "Script GUI");
  EXPECT_EQ(desk.foreignChildren(desk.frameWindow()).size(), 2u);
}

TEST_F(PickedProgramTest, AConsoleProgramThatShowsNothingElseHasItsConsoleHostedAfterTheGrace) {
  sim::Program program;
  program.console = true;
  installPicked(program);
  pick();
  desk.advance(2900);
  EXPECT_EQ(hosted(), before) << "hosted before the grace was over";
  desk.advance(500);
  EXPECT_EQ(desk.getClassName(hosted()), "ConsoleWindowClass");
  EXPECT_EQ(hostedCaption(), kPicked);
}

TEST_F(PickedProgramTest, TheMainWindowTakesTheConsolesPlaceWhichGoesBackAsItStood) {
  sim::Program program;
  program.console = true;
  program.windows = {ProgramWindow{.caption = "Late GUI", .createAtMs = 8000}};
  installPicked(program);
  pick();
  desk.advance(4000);
  const WindowHandle console = hosted();
  ASSERT_EQ(desk.getClassName(console), "ConsoleWindowClass");
  desk.advance(4500);
  EXPECT_EQ(hostedCaption(), "Late GUI");
  EXPECT_TRUE(desk.getParent(console).isNull()) << "the console stayed in the frame";
  EXPECT_EQ(desk.window(console)->rect, (platform::Rect{100, 100, 500, 400}))
      << "the console did not go back where it stood";
}

TEST_F(PickedProgramTest, ASplashThatClosesIsFollowedByTheMainWindow) {
  sim::Program program;
  program.windows = {
      ProgramWindow{.caption = "Splash", .style = kSplashStyle, .closeAtMs = 2000},
      ProgramWindow{.caption = "Main", .createAtMs = 2600},
  };
  installPicked(program);
  pick();
  desk.advance(1000);
  EXPECT_EQ(hosted(), before) << "the splash was taken for the program's window";
  desk.advance(1500);
  EXPECT_EQ(hosted(), before);
  desk.advance(300);
  EXPECT_EQ(hostedCaption(), "Main");
}

TEST_F(PickedProgramTest, AHostedWindowThatClosesAtOnceSendsTheCaptureBackToWaiting) {
  // A splash that looks like a main window is hosted, then closes.
  sim::Program program;
  program.windows = {
      ProgramWindow{.caption = "Loading", .closeAtMs = 1500},
      ProgramWindow{.caption = "Main", .createAtMs = 4000},
  };
  installPicked(program);
  pick();
  desk.advance(100);
  EXPECT_EQ(hostedCaption(), "Loading");
  desk.advance(1800);
  EXPECT_EQ(hosted(), before) << "the window hosted before is the hosted one meanwhile";
  desk.advance(2300);
  EXPECT_EQ(hostedCaption(), "Main");
}

TEST_F(PickedProgramTest, AWindowOwnedByTheHiddenMainWindowWaitsForIt) {
  sim::Program program;
  program.windows = {
      ProgramWindow{.caption = "Main", .style = kHiddenOverlapped, .showAtMs = 2000},
      ProgramWindow{.caption = "Tip of the day", .style = kDialogStyle, .owner = 0},
  };
  installPicked(program);
  pick();
  desk.advance(2200);
  EXPECT_EQ(hostedCaption(), "Main");
  EXPECT_TRUE(desk.getParent(desk.findWindow("Tip of the day")).isNull());
}

TEST_F(PickedProgramTest, ADialogOnlyProgramGetsItsDialogHostedAfterTheGrace) {
  sim::Program program;
  program.windows = {
      ProgramWindow{.caption = "Owner", .style = kHiddenOverlapped},
      ProgramWindow{.caption = "Licence", .style = kDialogStyle, .owner = 0},
  };
  installPicked(program);
  pick();
  desk.advance(2900);
  EXPECT_EQ(hosted(), before);
  desk.advance(400);
  EXPECT_EQ(hostedCaption(), "Licence");
}

TEST_F(PickedProgramTest, ToolWindowsCloakedWindowsAndOtherProgramsAreNeverTaken) {
  sim::Program program;
  program.windows = {
      ProgramWindow{.caption = "Palette", .exStyle = platform::kWsExToolWindow},
      ProgramWindow{.caption = "Suspended", .cloaked = true},
      ProgramWindow{.caption = "Main", .createAtMs = 6000},
  };
  installPicked(program);
  desk.createWindow(desk.newProcess(), "Bystander");
  pick();
  desk.advance(5000);
  EXPECT_EQ(hosted(), before);
  desk.advance(1200);
  EXPECT_EQ(hostedCaption(), "Main");
}

TEST_F(PickedProgramTest, AHandOffSaysSoAndKeepsTheWindowHostedBefore) {
  // The program passes the request to a copy already running and ends.
  sim::Program program;
  program.opensWindow = false;
  program.exitAfterMs = 300;
  installPicked(program);
  pick();
  desk.advance(1000);
  EXPECT_EQ(desk.messagesShown(), std::vector<std::string>{std::string(text::kMsgEndedWithoutWindow)});
  EXPECT_TRUE(desk.systemTimers().empty());
  expectHostedBeforeStillAnswers();
}

TEST_F(PickedProgramTest, AWindowTheSystemRefusesSaysWhyAndIsLeftWhereItStood) {
  sim::Program program;
  program.caption = "Elevated";
  program.windowDelayMs = 100;
  program.elevated = true;
  installPicked(program);
  pick();
  desk.advance(500);
  const WindowHandle elevated = desk.findWindow("Elevated");
  ASSERT_FALSE(elevated.isNull());
  EXPECT_EQ(desk.window(elevated)->rect, (platform::Rect{200, 150, 840, 630}));
  EXPECT_EQ(desk.messagesShown(),
            std::vector<std::string>{std::string(text::kMsgRefusedAdministrator)});
  expectHostedBeforeStillAnswers();
}

TEST_F(PickedProgramTest, AWindowItsProgramPutsBackLaterSaysWhyAndKeepsTheWindowHostedBefore) {
  sim::Program program;
  program.caption = "Stubborn";
  installPicked(program);
  pick();
  desk.advance(100);
  ASSERT_EQ(hostedCaption(), "Stubborn");
  // A moment later its program puts it back on the desktop.
  const WindowHandle stubborn = hosted();
  ASSERT_TRUE(desk.setParent(stubborn, WindowHandle{}));
  desk.advance(1000);
  EXPECT_EQ(desk.messagesShown(), std::vector<std::string>{std::string(text::kMsgRefused)});
  EXPECT_TRUE(desk.systemTimers().empty()) << "taken again and again";
  EXPECT_TRUE(desk.getParent(stubborn).isNull());
  expectHostedBeforeStillAnswers();
}

TEST_F(PickedProgramTest, AProgramBusyAsItsWindowIsTakenIsHostedWhenItAnswers) {
  sim::Program program;
  program.windows = {ProgramWindow{.caption = "Busy", .style = kHiddenOverlapped, .showAtMs = 500}};
  installPicked(program);
  pick();
  desk.advance(100);
  const WindowHandle busy = desk.findWindow("Busy");
  ASSERT_FALSE(busy.isNull());
  // It goes busy as it is taken in, for two seconds.
  desk.hangInNextCall(busy);
  desk.advance(2500);
  desk.setHung(busy, false);
  desk.advance(1000);
  EXPECT_EQ(hosted(), busy);
  EXPECT_TRUE(hostedInFrame(busy));
  EXPECT_TRUE(desk.messagesShown().empty());
}

TEST_F(PickedProgramTest, AProgramThatShowsNothingInTimeSaysSo) {
  sim::Program program;
  program.opensWindow = false;
  installPicked(program);
  pick();
  desk.advance(29000);
  EXPECT_TRUE(desk.messagesShown().empty());
  desk.advance(1500);
  EXPECT_EQ(desk.messagesShown(), std::vector<std::string>{std::string(text::kMsgNoWindowInTime)});
  expectHostedBeforeStillAnswers();
}

TEST_F(PickedProgramTest, APickThatStartsNothingSaysWhyAndChangesNothing) {
  // A shortcut to a document, a program that asks for an administrator, a
  // program file that is gone.
  sim::Program admin;
  admin.needsElevation = true;
  desk.installProgram("C:\\Apps\\admin.exe", admin);
  desk.answerProgramDialog(platform::ProgramChoice{});
  desk.click(idx(ControlId::any_btn));
  desk.answerProgramDialog("\"C:\\Apps\\admin.exe\"");
  desk.click(idx(ControlId::any_btn));
  desk.answerProgramDialog("\"C:\\Apps\\gone.exe\"");
  desk.click(idx(ControlId::any_btn));
  EXPECT_EQ(desk.messagesShown(),
            (std::vector<std::string>{std::string(text::kMsgShortcutNoProgram),
                                      std::string(text::kMsgNeedsElevation),
                                      std::string(text::kMsgNoProgram) + "\n\"C:\\Apps\\gone.exe\""}));
  EXPECT_TRUE(desk.launches().empty());
  EXPECT_EQ(text(ControlId::cfg_txt), "\"C:\\Apps\\gone.exe\"");
  expectHostedBeforeStillAnswers();
}

TEST_F(PickedProgramTest, AProgramStartsInItsOwnFolderAndAShortcutInItsStartInFolder) {
  sim::Program program;
  program.caption = "Main";
  installPicked(program);
  desk.files().addFolder("D:\\Data");
  pick();
  desk.answerProgramDialog(platform::ProgramChoice{
      "\"" + std::string(kPicked) + "\" --profile-directory=\"Profile 1\"",
      platform::StartOptions{"D:\\Data", platform::kSwShowMaximized}});
  desk.click(idx(ControlId::any_btn));
  // A "Start in" folder that is gone: the program's own, as Explorer would.
  desk.answerProgramDialog(platform::ProgramChoice{"\"" + std::string(kPicked) + "\"",
                                                   platform::StartOptions{"D:\\Gone", 1}});
  desk.click(idx(ControlId::any_btn));
  ASSERT_EQ(desk.launches().size(), 3u);
  EXPECT_EQ(desk.launches()[0].options.folder, "C:\\Apps");
  EXPECT_EQ(desk.launches()[0].options.showCommand, platform::kSwShowNormal);
  EXPECT_EQ(desk.launches()[1].commandLine,
            "\"C:\\Apps\\picked.exe\" --profile-directory=\"Profile 1\"");
  EXPECT_EQ(desk.launches()[1].options,
            (platform::StartOptions{"D:\\Data", platform::kSwShowMaximized}));
  EXPECT_EQ(desk.launches()[2].options.folder, "C:\\Apps");
}

}  // namespace
}  // namespace vitrolux::testing
