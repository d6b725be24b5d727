// Splitting a program entry into its command line and window title.
#include <gtest/gtest.h>

#include "model/program_entry.h"

namespace vitrolux::model {
namespace {

TEST(ProgramEntryTest, SplitsAtEveryBarAndKeepsTheFirstTwoPieces) {
  const ProgramEntry full = splitEntry("C:\\a.exe -x|Title|dropped|too");
  EXPECT_EQ(full.path, "C:\\a.exe -x");
  EXPECT_EQ(full.title, "Title");

  const ProgramEntry bare = splitEntry("C:\\a.exe");
  EXPECT_EQ(bare.path, "C:\\a.exe");
  EXPECT_FALSE(bare.title.has_value()) << "a bare path has no title, not an empty one";

  const ProgramEntry emptyTitle = splitEntry("C:\\a.exe|");
  EXPECT_EQ(emptyTitle.path, "C:\\a.exe");
  EXPECT_EQ(emptyTitle.title, "");

  const ProgramEntry onlyTitle = splitEntry("|记事本");
  EXPECT_EQ(onlyTitle.path, "");
  EXPECT_EQ(onlyTitle.title, "记事本");

  EXPECT_EQ(splitEntry("").path, "");
  EXPECT_FALSE(splitEntry("").title.has_value());
}

}  // namespace
}  // namespace vitrolux::model
