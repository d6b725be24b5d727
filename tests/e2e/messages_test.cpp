// What the frame says when a launch or a load hosts nothing, checked from
// outside against the real Vitrolux.exe: entries of config.txt that cannot
// be hosted, and a window of the task list whose program does not answer.
// Each message is a box owned by the frame that Enter dismisses.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "any_program_helpers.h"

namespace {

using namespace e2e;
using namespace e2e::any;

TEST(Messages, AnEntryThatNamesNoProgramSaysSoAtTheStart) {
  VitroluxApp app;
  ASSERT_TRUE(app.writeFile(L"config.txt", "C:\\nowhere\\missing.exe|Missing\r\n"));
  ASSERT_TRUE(app.start());
  EXPECT_EQ(dismissMessage(app), L"找不到这个程序：\nC:\\nowhere\\missing.exe");
  EXPECT_EQ(app.waitForMessage(500ms), nullptr) << "Enter did not dismiss it";
  EXPECT_TRUE(app.process().running());
  EXPECT_TRUE(app.close());
}

TEST(Messages, AnEntryThatIsNoProgramTheSystemCanStartSaysSo) {
  VitroluxApp app;
  // A text file with a program's name.
  ASSERT_TRUE(app.writeFile(L"notes.exe", "not a program\r\n"));
  ASSERT_TRUE(app.writeFile(L"config.txt", narrow(app.folder()) + "\\notes.exe|Notes\r\n"));
  ASSERT_TRUE(app.start());
  EXPECT_EQ(dismissMessage(app), L"系统无法启动这个程序：\n" + app.folder() + L"\\notes.exe");
  EXPECT_TRUE(app.close());
}

TEST(Messages, AnEntryWithoutACaptionSaysWhatIsMissing) {
  VitroluxApp app;
  const std::wstring exe = app.installTarget(L"tool.exe");
  ASSERT_TRUE(app.writeFile(L"config.txt", narrow(exe) + "|\r\n"));
  ASSERT_TRUE(app.start());
  EXPECT_EQ(dismissMessage(app),
            L"程序已经启动，但条目没有窗口标题，不知道要装载哪个窗口。请在任务列表中选择它的窗口，"
            L"点击“装载”，或在选项中填写标题。");
  EXPECT_TRUE(app.close());
}

TEST(Messages, AnEntryWhoseWindowNeverComesSaysSoAfterThirtySeconds) {
  VitroluxApp app;
  const std::wstring exe = app.installTarget(L"tool.exe");
  ASSERT_TRUE(app.writeFile(L"config.txt", narrow(exe) + " --caption Other|Awaited\r\n"));
  ASSERT_TRUE(app.start());
  EXPECT_EQ(app.waitForMessage(25s), nullptr) << "told before the wait was over";
  EXPECT_EQ(dismissMessage(app, 10s),
            L"等了 30 秒，没有出现标题为“Awaited”的窗口。请在任务列表中选择程序的窗口，点击“装载”。");
  EXPECT_TRUE(app.close());
}

TEST(Messages, ALoadOfAWindowWhoseProgramDoesNotAnswerSaysSo) {
  ListedTarget hung(L"Hung window", {L"--hang-at-start"});
  ASSERT_NE(hung.window, nullptr);
  // It answers for a moment after it shows; a load in that moment hosts it.
  ASSERT_TRUE(hung.log.waitForLineStartingWith("HANGING", 3s));
  VitroluxApp app;
  ASSERT_TRUE(app.start());
  ASSERT_TRUE(hung.select(app));
  ASSERT_TRUE(clickCentre(app.control(L"装载")));
  EXPECT_EQ(dismissMessage(app), L"这个窗口的程序没有响应，请稍后再试。");
  EXPECT_EQ(parentOf(hung.window), nullptr);
  EXPECT_TRUE(app.close());
}

}  // namespace
