// Reading and writing the one-line settings files.
#include <gtest/gtest.h>

#include "config/store.h"
#include "file_attributes.h"
#include "sim/sim_files.h"
#include "sim/sim_text.h"

namespace vitrolux::config {
namespace {
using testing::hiddenFile;
using testing::lockedFile;
using testing::readOnlyFile;
using testing::systemFile;

struct FieldCase {
  const char* content;
  const char* value;
};

class FirstFieldTest : public ::testing::TestWithParam<FieldCase> {};

TEST_P(FirstFieldTest, TakesTheFirstFieldOfTheFirstLine) {
  EXPECT_EQ(firstField(GetParam().content), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Reading, FirstFieldTest,
    ::testing::Values(FieldCase{"C:\\Tools\\a.exe|Tool\r\nsecond line\r\n",
                                "C:\\Tools\\a.exe|Tool"},
                      FieldCase{"C:\\Tools\\a.exe|Hello, world\r\n", "C:\\Tools\\a.exe|Hello"},
                      // A quoted field ends at its closing quote; the rest of the item is dropped.
                      FieldCase{"\"C:\\My Apps\\tool.exe\"|Tool\r\n", "C:\\My Apps\\tool.exe"},
                      FieldCase{"\"a, b\",c", "a, b"}, FieldCase{"\r\nC:\\a.exe|A\r\n", ""},
                      FieldCase{"", ""}, FieldCase{"C:\\a.exe|A", "C:\\a.exe|A"},
                      FieldCase{"C:\\a.exe|A\nnext", "C:\\a.exe|A"},
                      // Blanks around an unquoted value are padding.
                      FieldCase{"  C:\\a.exe|A Title \t\r\n", "C:\\a.exe|A Title"},
                      // An unclosed quote runs to the end of its line.
                      FieldCase{"\"C:\\a.exe|A\r\nmore", "C:\\a.exe|A"}));

// Files and the code page are all the store needs.
class StoreTest : public ::testing::Test {
 protected:
  std::string path(const std::string& name) { return store.settingsPath(name); }
  sim::SimFiles files;
  sim::SimText text;
  SettingsStore store{files, text};
};

TEST_F(StoreTest, PathsLieInTheApplicationFolder) {
  files.setApplicationFolder("D:\\Portable\\Vitrolux");
  EXPECT_EQ(path("config.txt"), "D:\\Portable\\Vitrolux\\config.txt");
}

TEST_F(StoreTest, FilesThatAreNotOrdinaryReadAsEmpty) {
  EXPECT_EQ(store.readCfg(path("config.txt")), "");  // missing
  files.putFile(path("config.txt"), "");
  EXPECT_EQ(store.getDirName(), "");  // empty
  files.putFile(path("config.txt"), "C:\\a.exe|A\r\n", hiddenFile());
  EXPECT_EQ(store.getDirName(), "");
  files.putFile(path("config.txt"), "C:\\a.exe|A\r\n", systemFile());
  EXPECT_EQ(store.getDirName(), "");
  files.putFile(path("config.txt"), "C:\\a.exe|A\r\n", lockedFile());
  EXPECT_EQ(store.getDirName(), "");
  files.putFile(path("config.txt"), "C:\\a.exe|A\r\n", readOnlyFile());
  EXPECT_EQ(store.getDirName(), "C:\\a.exe|A");
}

TEST_F(StoreTest, WriteThenReadGivesTheValueBack) {
  files.putFile(path("config.txt"),
                "a much longer old content that must not survive\r\nline 2\r\n");
  ASSERT_TRUE(store.WriteCfg(path("config.txt"), "C:\\Tools\\a.exe|Tool"));
  EXPECT_EQ(files.file(path("config.txt"))->bytes, "C:\\Tools\\a.exe|Tool\r\n");
  EXPECT_EQ(store.getDirName(), "C:\\Tools\\a.exe|Tool");
}

TEST_F(StoreTest, AFailedWriteSaysSoAndKeepsTheOldFile) {
  files.putFile(path("config.txt"), "C:\\old.exe|Old\r\n", readOnlyFile());
  EXPECT_FALSE(store.WriteCfg(path("config.txt"), "C:\\new.exe|New"));
  EXPECT_EQ(files.file(path("config.txt"))->bytes, "C:\\old.exe|Old\r\n");

  files.putFile(path("config.txt"), "C:\\old.exe|Old\r\n", lockedFile());
  EXPECT_FALSE(store.WriteCfg(path("config.txt"), "C:\\new.exe|New"));
  EXPECT_EQ(files.file(path("config.txt"))->bytes, "C:\\old.exe|Old\r\n");

  files.putFile(path("config.txt"), "C:\\old.exe|Old\r\n");
  files.setFolderReadOnly(files.applicationFolder(), true);
  EXPECT_FALSE(store.WriteCfg(path("config.txt"), "C:\\new.exe|New"));
  EXPECT_EQ(files.file(path("config.txt"))->bytes, "C:\\old.exe|Old\r\n");
}

TEST_F(StoreTest, TextOutsideTheAnsiCodePageIsStoredAsUtf8WithAMark) {
  // The simulated code page is Latin-1: "é" fits, Chinese does not.
  ASSERT_TRUE(store.WriteCfg(path("config.txt"), "C:\\Caf\xC3\xA9\\a.exe|Caf\xC3\xA9"));
  EXPECT_EQ(files.file(path("config.txt"))->bytes, "C:\\Caf\xE9\\a.exe|Caf\xE9\r\n");
  EXPECT_EQ(store.getDirName(), "C:\\Caf\xC3\xA9\\a.exe|Caf\xC3\xA9");

  const std::string chrome = "C:\\chrome.exe|新标签页 - Google Chrome";
  ASSERT_TRUE(store.WriteCfg(path("config.txt"), chrome));
  EXPECT_EQ(files.file(path("config.txt"))->bytes, "\xEF\xBB\xBF" + chrome + "\r\n");
  EXPECT_EQ(store.getDirName(), chrome);
}

TEST_F(StoreTest, AByteOrderMarkMeansUtf8AndPlainBytesMeanAnsi) {
  files.putFile(path("chrome.txt"),
                "\xEF\xBB\xBF"
                "D:\\chrome.exe|新标签页 - Google Chrome\r\n");
  EXPECT_EQ(store.readCfg(path("chrome.txt")), "D:\\chrome.exe|新标签页 - Google Chrome");
  files.putFile(path("ie.txt"), "D:\\Caf\xE9\\iexplore.exe|x\r\n");
  EXPECT_EQ(store.readCfg(path("ie.txt")), "D:\\Caf\xC3\xA9\\iexplore.exe|x");
}

}  // namespace
}  // namespace vitrolux::config
