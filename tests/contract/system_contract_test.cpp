// The system behaviour around the windows that the frame's logic builds on:
// the global key state, the timer minimum, settings files, finding and
// starting programs, the ANSI code page, environment and single instance.
#include "contract/contract_fixture.h"

namespace vitrolux::contract {
namespace {

// F24: no keyboard has it, so nothing else presses it during the test.
constexpr int kTestKey = 0x87;

constexpr std::int16_t kDownBit = static_cast<std::int16_t>(0x8000);
constexpr std::int16_t kPressedBit = 0x0001;

// ---- Key state ------------------------------------------------------------------

TEST_F(Contract, AsyncKeyStateShowsDownAndPressedSinceTheLastQuery) {
  desktop.getAsyncKeyState(kTestKey);  // forget any earlier press

  env->pressKey(kTestKey);
  EXPECT_EQ(desktop.getAsyncKeyState(kTestKey), kDownBit | kPressedBit);
  // The query took the "pressed" bit away; the key is still down.
  EXPECT_EQ(desktop.getAsyncKeyState(kTestKey), kDownBit);
  env->releaseKey(kTestKey);
  EXPECT_EQ(desktop.getAsyncKeyState(kTestKey), 0);

  // A press and release between two polls is still seen, once: this is how
  // a quick Ctrl+S is caught by a poll.
  env->pressKey(kTestKey);
  env->releaseKey(kTestKey);
  EXPECT_EQ(desktop.getAsyncKeyState(kTestKey), kPressedBit);
  EXPECT_EQ(desktop.getAsyncKeyState(kTestKey), 0);
}

// ---- System timer -----------------------------------------------------------

TEST_F(Contract, KeyboardInputMovesTheLastInputTime) {
  env->pump(50);
  const std::optional<std::uint32_t> before = desktop.lastInputTime();
  ASSERT_TRUE(before.has_value());
  env->pump(50);
  EXPECT_EQ(desktop.lastInputTime(), before) << "no input, no change";
  env->pressKey(0x7B);  // F12: no program reacts to it
  env->pump(50);
  env->releaseKey(0x7B);
  env->pump(50);
  const std::optional<std::uint32_t> after = desktop.lastInputTime();
  ASSERT_TRUE(after.has_value());
  EXPECT_NE(*after, *before);
}

TEST_F(Contract, SystemTimerNeverTicksFasterThanEveryTenMilliseconds) {
  constexpr unsigned kId = 7;
  ASSERT_TRUE(framePort.setSystemTimer(kId, 1));
  env->pump(200);
  EXPECT_TRUE(framePort.killSystemTimer(kId));
  const int ticks = env->systemTimerTicks(kId);
  EXPECT_LE(ticks, 21);
  EXPECT_GE(ticks, 3);

  // Killed: no more ticks.
  env->pump(50);
  EXPECT_EQ(env->systemTimerTicks(kId), ticks);
}

// ---- Files ------------------------------------------------------------------

TEST_F(Contract, ReplaceFileWritesTheWholeContentAndLeavesNothingBeside) {
  const std::string folder = env->tempFolder();
  const std::string path = folder + "\\ui.txt";
  EXPECT_FALSE(files.readFile(path, 100).has_value());
  EXPECT_FALSE(files.isOrdinaryFile(path));

  ASSERT_TRUE(files.replaceFile(path, "opacity=200|||left=1200|||top=900"));
  EXPECT_EQ(files.readFile(path, 1000), "opacity=200|||left=1200|||top=900");
  EXPECT_TRUE(files.isOrdinaryFile(path));

  // A shorter content leaves nothing of the longer one behind.
  ASSERT_TRUE(files.replaceFile(path, "opacity=9"));
  EXPECT_EQ(files.readFile(path, 1000), "opacity=9");
  EXPECT_EQ(files.readFile(path, 3), "opa");
  ASSERT_TRUE(files.replaceFile(path, ""));
  EXPECT_EQ(files.readFile(path, 1000), "");

  const std::vector<std::string> files = env->filesIn(folder);
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(lower(files[0]), "ui.txt");
}

TEST_F(Contract, ReplaceFileFailsInAMissingFolder) {
  const std::string path = env->tempFolder() + "\\no such folder\\config.txt";
  EXPECT_FALSE(files.replaceFile(path, "x"));
  EXPECT_FALSE(files.readFile(path, 10).has_value());
}

TEST_F(Contract, AReplaceThatFailsAtAnyStepKeepsTheOldFileAndLeavesNothingBeside) {
  const std::string folder = env->tempFolder();
  const std::string path = folder + "\\config.txt";
  const std::string old = "C:\\old.exe|Old\r\n";
  for (const WriteStep step : {WriteStep::createTemporary, WriteStep::write, WriteStep::replace}) {
    env->writeFile(path, old);
    env->failWriteStep(step);
    EXPECT_FALSE(files.replaceFile(path, "C:\\a much longer new entry.exe|New\r\n"))
        << static_cast<int>(step);
    EXPECT_EQ(files.readFile(path, 1000), old) << static_cast<int>(step);
    const std::vector<std::string> names = env->filesIn(folder);
    ASSERT_EQ(names.size(), 1u) << names.back();
    EXPECT_EQ(lower(names[0]), "config.txt");
  }
  env->failWriteStep(std::nullopt);
  EXPECT_TRUE(files.replaceFile(path, "new"));
  EXPECT_EQ(files.readFile(path, 1000), "new");
}

TEST_F(Contract, OrdinaryFileExcludesFoldersAndHiddenFilesButNotReadOnlyOnes) {
  const std::string folder = env->tempFolder();
  env->makeFolder(folder + "\\sub");
  env->writeFile(folder + "\\hidden.txt", "h");
  env->hideFile(folder + "\\hidden.txt");
  env->writeFile(folder + "\\readonly.txt", "r");
  env->makeReadOnly(folder + "\\readonly.txt");
  env->writeFile(folder + "\\plain.txt", "p");

  EXPECT_FALSE(files.isOrdinaryFile(folder));
  EXPECT_FALSE(files.isOrdinaryFile(folder + "\\sub"));
  EXPECT_FALSE(files.isOrdinaryFile(folder + "\\missing.txt"));
  EXPECT_FALSE(files.isOrdinaryFile(folder + "\\hidden.txt"));
  EXPECT_TRUE(files.isOrdinaryFile(folder + "\\readonly.txt"));
  EXPECT_TRUE(files.isOrdinaryFile(folder + "\\plain.txt"));
  // Paths on Windows ignore case.
  EXPECT_TRUE(files.isOrdinaryFile(folder + "\\PLAIN.TXT"));
  EXPECT_EQ(files.readFile(folder + "\\Plain.Txt", 10), "p");
}

TEST_F(Contract, FileHeldOpenWithoutSharingIsNeitherReplacedNorRead) {
  const std::string folder = env->tempFolder();
  const std::string path = folder + "\\config.txt";
  env->writeFile(path, "C:\\old.exe|Old");
  env->lockFile(path);
  EXPECT_FALSE(files.replaceFile(path, "C:\\new.exe|New"));
  EXPECT_FALSE(files.readFile(path, 100).has_value());
  env->unlockFile(path);

  EXPECT_EQ(files.readFile(path, 100), "C:\\old.exe|Old");
  // The failed attempt left no half-written file beside it.
  ASSERT_EQ(env->filesIn(folder).size(), 1u);
}

TEST_F(Contract, ReadOnlyFileIsKeptWhereTheSystemEnforcesIt) {
  const std::string folder = env->tempFolder();
  const std::string path = folder + "\\config.txt";
  env->writeFile(path, "old");
  env->makeReadOnly(path);
  const bool replaced = files.replaceFile(path, "new");
  if (env->enforcesReadOnly()) {
    EXPECT_FALSE(replaced);
  }
  // Either way the file holds one whole content, and nothing is left beside it.
  EXPECT_EQ(files.readFile(path, 100), replaced ? "new" : "old");
  EXPECT_EQ(env->filesIn(folder).size(), 1u);
}

// ---- Programs -------------------------------------------------------------------

TEST_F(Contract, FindProgramByPathByPathWithoutExeAndByBareName) {
  const StartableProgram program = env->startableProgram();
  std::string tail = "\\";  // appended piecewise: GCC 12 warns wrongly on "x" + s + "y"
  tail += lower(program.bareName);
  tail += ".exe";

  const std::optional<std::string> byPath = processes.findProgram(program.path);
  ASSERT_TRUE(byPath.has_value());
  EXPECT_EQ(lower(*byPath), lower(program.path));

  const std::string withoutExe = program.path.substr(0, program.path.size() - 4);
  const std::optional<std::string> byStem = processes.findProgram(withoutExe);
  ASSERT_TRUE(byStem.has_value());
  EXPECT_TRUE(endsWith(lower(*byStem), tail)) << *byStem;

  const std::optional<std::string> byName = processes.findProgram(program.bareName);
  ASSERT_TRUE(byName.has_value());
  EXPECT_TRUE(endsWith(lower(*byName), tail)) << *byName;

  EXPECT_FALSE(processes.findProgram("C:\\no\\such\\vitrolux-missing.exe").has_value());
  EXPECT_FALSE(processes.findProgram("C:\\no\\such\\vitrolux-missing").has_value());
  EXPECT_FALSE(processes.findProgram("vitrolux-missing-program").has_value());
}

TEST_F(Contract, StartProcessGivesAnIdOnlyForAnExistingProgram) {
  EXPECT_FALSE(
      processes.startProcess("C:\\no\\such\\vitrolux-missing.exe", "vitrolux-missing.exe", {})
          .process.has_value());
  const StartableProgram program = env->startableProgram();
  const std::optional<platform::ProcessId> pid =
      processes.startProcess(program.path, program.commandLine, {}).process;
  ASSERT_TRUE(pid.has_value());
  EXPECT_NE(pid->value(), 0u);
}

TEST_F(Contract, AStartedProcessIsSeenToEndUntilItIsForgotten) {
  const StartableProgram program = env->startableProgram();
  const std::optional<platform::ProcessId> pid =
      processes.startProcess(program.path, program.commandLine, {}).process;
  ASSERT_TRUE(pid.has_value());
  // The program exits at once; give it a few seconds under a loaded machine.
  bool ended = false;
  for (int waited = 0; waited < 5000 && !ended; waited += 50) {
    env->pump(50);
    ended = processes.processEnded(*pid);
  }
  EXPECT_TRUE(ended);
  processes.forgetProcess(*pid);
  EXPECT_FALSE(processes.processEnded(*pid)) << "nothing is claimed of a forgotten process";
  // Nor of one that was never started here.
  EXPECT_FALSE(processes.processEnded(platform::ProcessId{4}));
}

TEST_F(Contract, TheClockMovesWithTime) {
  const std::int64_t before = framePort.nowMs();
  env->pump(120);
  const std::int64_t after = framePort.nowMs();
  EXPECT_GE(after - before, 100);
  EXPECT_LT(after - before, 5000);
}

// ---- Text, environment, instance ---------------------------------------------

TEST_F(Contract, AnsiConversionRoundTripsWhatFitsAndRefusesWhatDoesNot) {
  const std::string ascii = "C:\\Program Files\\App\\app.exe|App - Title 123";
  EXPECT_EQ(text.toAnsi(ascii), ascii);
  EXPECT_EQ(text.fromAnsi(ascii), ascii);

  const unsigned cp = env->ansiCodePage();
  const bool westernEuropean = cp == 1252 || cp == 28591;
  if (westernEuropean) {
    // One byte for "é" in both Windows-1252 and ISO 8859-1.
    EXPECT_EQ(text.toAnsi("café"), "caf\xE9");
    EXPECT_EQ(text.fromAnsi("caf\xE9"), "café");
  }
  // A character the code page has no byte for: the whole text fails.
  const std::string outside = (cp == 936 || cp == 950 || cp == 932 || cp == 949) ? "ก" : "新";
  EXPECT_FALSE(text.toAnsi("title " + outside).has_value());
}

TEST_F(Contract, EnvironmentNamesIgnoreCase) {
  env->setVariable("VITROLUX_CONTRACT_HOME", "C:\\Users\\Contract");
  EXPECT_EQ(processes.environment("Vitrolux_Contract_Home"), "C:\\Users\\Contract");
  EXPECT_FALSE(processes.environment("VITROLUX_CONTRACT_UNSET").has_value());
}

TEST_F(Contract, TheOnlyInstanceDoesNotSeeItself) {
  EXPECT_FALSE(processes.anotherInstanceRunning());
}

}  // namespace
}  // namespace vitrolux::contract
