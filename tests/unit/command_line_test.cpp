// Which program a command line starts.
#include <gtest/gtest.h>

#include "embed/command_line.h"
#include "sim/sim_desktop.h"

namespace vitrolux::embed {
namespace {

class CommandLineTest : public ::testing::Test {
 protected:
  CommandLineTest() {
    desk.installProgram("C:\\Program.exe", {});
    desk.installProgram("C:\\My.exe", {});
    desk.installProgram("C:\\My Apps\\tool.exe", {});
    desk.installProgram("C:\\Windows\\explorer.exe", {});
    desk.addToSearchPath("C:\\Windows");
  }
  sim::SimDesktop desk;
};

TEST_F(CommandLineTest, AnUnquotedPathWithBlanksNeverStartsAShorterPart) {
  // Firefox is not installed: nothing starts, least of all C:\Program.exe.
  EXPECT_FALSE(resolveCommandLine(desk, "C:\\Program Files\\Mozilla Firefox\\firefox.exe"));
  EXPECT_FALSE(launch(desk, "C:\\Program Files\\Mozilla Firefox\\firefox.exe").process);
  EXPECT_TRUE(desk.launches().empty());
  // Without ".exe" the whole line is one path, never its first word.
  EXPECT_FALSE(resolveCommandLine(desk, "C:\\Program Files\\App\\app"));

  desk.installProgram("C:\\Program Files\\Mozilla Firefox\\firefox.exe", {});
  const auto target = resolveCommandLine(desk, "C:\\Program Files\\Mozilla Firefox\\firefox.exe");
  ASSERT_TRUE(target);
  EXPECT_EQ(target->program, "C:\\Program Files\\Mozilla Firefox\\firefox.exe");
  EXPECT_EQ(target->commandLine, "\"C:\\Program Files\\Mozilla Firefox\\firefox.exe\"");
}

TEST_F(CommandLineTest, ArgumentsFollowTheProgram) {
  const auto tool = resolveCommandLine(desk, "C:\\My Apps\\tool.exe -x");
  ASSERT_TRUE(tool);
  EXPECT_EQ(tool->program, "C:\\My Apps\\tool.exe");
  EXPECT_EQ(tool->commandLine, "\"C:\\My Apps\\tool.exe\" -x");

  const auto quoted = resolveCommandLine(desk, "\"C:\\My Apps\\tool.exe\" -x --y");
  ASSERT_TRUE(quoted);
  EXPECT_EQ(quoted->program, "C:\\My Apps\\tool.exe");
  EXPECT_EQ(quoted->commandLine, "\"C:\\My Apps\\tool.exe\" -x --y");

  const auto viewer =
      resolveCommandLine(desk, "explorer C:\\Windows\\Web\\Wallpaper\\Windows\\img0.jpg");
  ASSERT_TRUE(viewer);
  EXPECT_EQ(viewer->program, "C:\\Windows\\explorer.exe");
  EXPECT_EQ(viewer->commandLine,
            "\"C:\\Windows\\explorer.exe\" C:\\Windows\\Web\\Wallpaper\\Windows\\img0.jpg");
}

TEST_F(CommandLineTest, TheProgramEndsAtTheFirstExeInAnyCase) {
  desk.installProgram("C:\\APPS\\TOOL.EXE", {});
  // File names ignore case on Windows: ".EXE" ends the program as ".exe" does.
  const auto upper = resolveCommandLine(desk, "C:\\APPS\\TOOL.EXE -x");
  ASSERT_TRUE(upper);
  EXPECT_EQ(upper->program, "C:\\APPS\\TOOL.EXE");
  EXPECT_EQ(upper->commandLine, "\"C:\\APPS\\TOOL.EXE\" -x");

  // An argument that names another program stays an argument.
  desk.installProgram("C:\\My Apps\\tool.exe C:\\Other\\other.exe", {});
  const auto other = resolveCommandLine(desk, "C:\\My Apps\\tool.exe C:\\Other\\other.exe");
  ASSERT_TRUE(other);
  EXPECT_EQ(other->program, "C:\\My Apps\\tool.exe");
  EXPECT_EQ(other->commandLine, "\"C:\\My Apps\\tool.exe\" C:\\Other\\other.exe");
}

TEST_F(CommandLineTest, AProgramNameWithABlankRunsToTheEndOfTheLine) {
  desk.installProgram("C:\\Windows\\my tool.exe", {});
  desk.installProgram("C:\\Windows\\my.exe", {});
  const auto tool = resolveCommandLine(desk, "my tool.exe");
  ASSERT_TRUE(tool);
  EXPECT_EQ(tool->program, "C:\\Windows\\my tool.exe");
  EXPECT_EQ(tool->commandLine, "\"C:\\Windows\\my tool.exe\"");
}

TEST_F(CommandLineTest, NothingStartsForALineThatNamesNoProgram) {
  EXPECT_FALSE(resolveCommandLine(desk, ""));
  EXPECT_FALSE(resolveCommandLine(desk, "   "));
  EXPECT_FALSE(resolveCommandLine(desk, "C:\\Tools\\missing.exe"));
  EXPECT_FALSE(resolveCommandLine(desk, "\"\" -x"));
  const platform::StartResult none = launch(desk, "nosuchprogram --flag");
  EXPECT_FALSE(none.process);
  EXPECT_EQ(none.failure, platform::StartFailure::NoProgram);
  EXPECT_TRUE(desk.launches().empty());
}

TEST_F(CommandLineTest, ALaunchStartsTheResolvedProgramAndGivesItsProcess) {
  const auto process = launch(desk, "C:\\My Apps\\tool.exe -x").process;
  ASSERT_TRUE(process);
  ASSERT_EQ(desk.launches().size(), 1u);
  EXPECT_EQ(desk.launches()[0].program, "C:\\My Apps\\tool.exe");
  EXPECT_EQ(desk.launches()[0].commandLine, "\"C:\\My Apps\\tool.exe\" -x");
  EXPECT_EQ(desk.launches()[0].process, *process);
}

TEST_F(CommandLineTest, AProgramStartsInItsOwnFolderUnlessToldOtherwise) {
  ASSERT_TRUE(launch(desk, "C:\\My Apps\\tool.exe -x").process);
  ASSERT_TRUE(launch(desk, "C:\\Program.exe").process);
  ASSERT_TRUE(launch(desk, "C:\\My Apps\\tool.exe", {"C:\\Windows", 3}).process);
  ASSERT_EQ(desk.launches().size(), 3u);
  EXPECT_EQ(desk.launches()[0].options, (platform::StartOptions{"C:\\My Apps", 1}));
  // A drive's root, not that drive's current folder.
  EXPECT_EQ(desk.launches()[1].options.folder, "C:\\");
  EXPECT_EQ(desk.launches()[2].options, (platform::StartOptions{"C:\\Windows", 3}));
}

TEST_F(CommandLineTest, AProgramThatAsksForAnAdministratorIsReportedAsSuch) {
  sim::Program admin;
  admin.needsElevation = true;
  desk.installProgram("C:\\Tools\\setup.exe", admin);
  const platform::StartResult result = launch(desk, "C:\\Tools\\setup.exe");
  EXPECT_FALSE(result.process);
  EXPECT_EQ(result.failure, platform::StartFailure::NeedsElevation);
}

}  // namespace
}  // namespace vitrolux::embed
