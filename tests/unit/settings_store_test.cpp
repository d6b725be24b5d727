// Reading and writing the one-line settings files.
#include <gtest/gtest.h>

#include "config/settings_text.h"
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

// The bytes of a literal that holds NULs, without its terminator.
template <std::size_t N>
std::string bytesOf(const char (&literal)[N]) {
  return std::string(literal, N - 1);
}

struct FieldCase {
  const char* content;
  const char* value;
};

class FirstFieldTest : public ::testing::TestWithParam<FieldCase> {};

TEST_P(FirstFieldTest, TakesTheFirstFieldOfTheFirstLine) {
  EXPECT_EQ(firstField(GetParam().content).text, GetParam().value);
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

// Entries come back whole: what the option panel stores reads back as
// itself, and every file written by hand reads as it always did.
struct EntryCase {
  model::ProgramEntry entry;
  const char* line;  // as stored
};

class EntryLineTest : public ::testing::TestWithParam<EntryCase> {};

TEST_P(EntryLineTest, StoresTheEntrySoThatItReadsBackWhole) {
  const std::optional<std::string> line = entryLine(GetParam().entry);
  ASSERT_TRUE(line.has_value());
  EXPECT_EQ(*line, GetParam().line);
  EXPECT_EQ(entryOfField(firstField(*line + "\r\n")), GetParam().entry);
}

INSTANTIATE_TEST_SUITE_P(
    Entries, EntryLineTest,
    ::testing::Values(
        // As one writes it by hand, whenever that reads back unchanged.
        EntryCase{{"C:\\Tools\\a.exe -x", "Tool"}, "C:\\Tools\\a.exe -x|Tool"},
        EntryCase{{"C:\\a.exe", "Say \"hi\""}, "C:\\a.exe|Say \"hi\""},
        // Quotes in the arguments, a "|" or a comma in the caption, blanks at
        // the end, a quoted program: the whole entry in quotes, doubled inside.
        EntryCase{{"\"C:\\Chrome\\chrome.exe\" --profile-directory=\"Profile 1\"", "Work"},
                  "\"\"\"C:\\Chrome\\chrome.exe\"\" --profile-directory=\"\"Profile 1\"\"|Work\""},
        EntryCase{{"C:\\a.exe", "Tab | Site"}, "\"C:\\a.exe|Tab | Site\""},
        EntryCase{{"C:\\a.exe", "Hello, world"}, "\"C:\\a.exe|Hello, world\""},
        EntryCase{{"C:\\a.exe", "Title "}, "\"C:\\a.exe|Title \""},
        EntryCase{{"C:\\a.exe \"x|y\"", "T|U"}, "\"C:\\a.exe \"\"x|y\"\"|T|U\""}));

TEST(EntryLine, AnEntryThatCannotComeBackWholeIsNotStored) {
  // A "|" in the command line outside its quotes could only be the
  // separator when read back.
  EXPECT_FALSE(entryLine({"C:\\a.exe x|y", "T"}).has_value());
}

TEST(EntryLine, FilesWrittenByHandReadAsTheyAlwaysDid) {
  const auto read = [](std::string_view text) { return entryOfField(firstField(text)); };
  EXPECT_EQ(read("C:\\a.exe -x|Title|dropped\r\n"), (model::ProgramEntry{"C:\\a.exe -x", "Title"}));
  EXPECT_EQ(read("C:\\a.exe\r\n"), (model::ProgramEntry{"C:\\a.exe", std::nullopt}));
  // A quoted program with its title outside the quotes loses the title, as
  // it always has.
  EXPECT_EQ(read("\"C:\\My Apps\\tool.exe\"|Tool\r\n"),
            (model::ProgramEntry{"C:\\My Apps\\tool.exe", std::nullopt}));
  EXPECT_EQ(read("\"a|b\"\r\n"), (model::ProgramEntry{"a", "b"}));
  EXPECT_EQ(read("C:\\a.exe|Hello, world\r\n"), (model::ProgramEntry{"C:\\a.exe", "Hello"}));
}

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
  EXPECT_EQ(store.autoLoadEntry().text(), "");  // empty
  files.putFile(path("config.txt"), "C:\\a.exe|A\r\n", hiddenFile());
  EXPECT_EQ(store.autoLoadEntry().text(), "");
  files.putFile(path("config.txt"), "C:\\a.exe|A\r\n", systemFile());
  EXPECT_EQ(store.autoLoadEntry().text(), "");
  files.putFile(path("config.txt"), "C:\\a.exe|A\r\n", lockedFile());
  EXPECT_EQ(store.autoLoadEntry().text(), "");
  files.putFile(path("config.txt"), "C:\\a.exe|A\r\n", readOnlyFile());
  EXPECT_EQ(store.autoLoadEntry().text(), "C:\\a.exe|A");
}

TEST_F(StoreTest, WriteThenReadGivesTheValueBack) {
  files.putFile(path("config.txt"),
                "a much longer old content that must not survive\r\nline 2\r\n");
  ASSERT_TRUE(store.writeCfg(path("config.txt"), "C:\\Tools\\a.exe|Tool"));
  EXPECT_EQ(files.file(path("config.txt"))->bytes, "C:\\Tools\\a.exe|Tool\r\n");
  EXPECT_EQ(store.autoLoadEntry().text(), "C:\\Tools\\a.exe|Tool");
}

TEST_F(StoreTest, AFailedWriteSaysSoAndKeepsTheOldFile) {
  files.putFile(path("config.txt"), "C:\\old.exe|Old\r\n", readOnlyFile());
  EXPECT_FALSE(store.writeCfg(path("config.txt"), "C:\\new.exe|New"));
  EXPECT_EQ(files.file(path("config.txt"))->bytes, "C:\\old.exe|Old\r\n");

  files.putFile(path("config.txt"), "C:\\old.exe|Old\r\n", lockedFile());
  EXPECT_FALSE(store.writeCfg(path("config.txt"), "C:\\new.exe|New"));
  EXPECT_EQ(files.file(path("config.txt"))->bytes, "C:\\old.exe|Old\r\n");

  files.putFile(path("config.txt"), "C:\\old.exe|Old\r\n");
  files.setFolderReadOnly(files.applicationFolder(), true);
  EXPECT_FALSE(store.writeCfg(path("config.txt"), "C:\\new.exe|New"));
  EXPECT_EQ(files.file(path("config.txt"))->bytes, "C:\\old.exe|Old\r\n");
}

TEST_F(StoreTest, AWriteThatFailsAtAnyStepKeepsTheOldFileByteForByte) {
  const std::string old = bytesOf(
      "\xFF\xFE"
      "C\0:\0\\\0o\0.\0e\0x\0e\0|\0O\0\r\0\n\0");
  for (const sim::WriteStep step :
       {sim::WriteStep::createTemporary, sim::WriteStep::write, sim::WriteStep::replace}) {
    files.putFile(path("config.txt"), old);
    files.failWriteStep(step);
    EXPECT_FALSE(store.writeCfg(path("config.txt"), "C:\\new.exe|New"));
    EXPECT_EQ(files.file(path("config.txt"))->bytes, old);
    EXPECT_EQ(files.filesIn(files.applicationFolder()), std::vector<std::string>{"config.txt"})
        << "nothing left behind";
    EXPECT_EQ(store.autoLoadEntry().text(), "C:\\o.exe|O");
  }
  files.failWriteStep(std::nullopt);
  EXPECT_TRUE(store.writeCfg(path("config.txt"), "C:\\new.exe|New"));
  EXPECT_EQ(files.file(path("config.txt"))->bytes, "C:\\new.exe|New\r\n");
}

TEST_F(StoreTest, TextOutsideTheAnsiCodePageIsStoredAsUtf8WithAMark) {
  // The simulated code page is Latin-1: "é" fits, Chinese does not.
  ASSERT_TRUE(store.writeCfg(path("config.txt"), "C:\\Caf\xC3\xA9\\a.exe|Caf\xC3\xA9"));
  EXPECT_EQ(files.file(path("config.txt"))->bytes, "C:\\Caf\xE9\\a.exe|Caf\xE9\r\n");
  EXPECT_EQ(store.autoLoadEntry().text(), "C:\\Caf\xC3\xA9\\a.exe|Caf\xC3\xA9");

  const std::string chrome = "C:\\chrome.exe|新标签页 - Google Chrome";
  ASSERT_TRUE(store.writeCfg(path("config.txt"), chrome));
  EXPECT_EQ(files.file(path("config.txt"))->bytes, "\xEF\xBB\xBF" + chrome + "\r\n");
  EXPECT_EQ(store.autoLoadEntry().text(), chrome);
}

TEST_F(StoreTest, AByteOrderMarkMeansUtf8AndPlainBytesMeanAnsi) {
  files.putFile(path("chrome.txt"),
                "\xEF\xBB\xBF"
                "D:\\chrome.exe|新标签页 - Google Chrome\r\n");
  EXPECT_EQ(store.readCfg(path("chrome.txt")), "D:\\chrome.exe|新标签页 - Google Chrome");
  files.putFile(path("ie.txt"), "D:\\Caf\xE9\\iexplore.exe|x\r\n");
  EXPECT_EQ(store.readCfg(path("ie.txt")), "D:\\Caf\xC3\xA9\\iexplore.exe|x");
}

TEST_F(StoreTest, Utf8WithoutAMarkIsReadAsUtf8) {
  // What Notepad saves today: no byte-order mark.
  files.putFile(path("chrome.txt"), "D:\\chrome.exe|记事本 - Google Chrome\r\n");
  EXPECT_EQ(store.readCfg(path("chrome.txt")), "D:\\chrome.exe|记事本 - Google Chrome");
  // Latin-1 "é" alone is not valid UTF-8: the file stays in the code page.
  files.putFile(path("ie.txt"), "D:\\Caf\xE9.exe|Caf\xE9 \xC3\xA9\r\n");
  EXPECT_EQ(store.readCfg(path("ie.txt")), "D:\\Caf\xC3\xA9.exe|Caf\xC3\xA9 \xC3\x83\xC2\xA9");
  // Overlong forms and encoded surrogates are not UTF-8 either.
  files.putFile(path("ie.txt"), "a\xC0\xAF|\xED\xA0\x80\r\n");
  EXPECT_EQ(store.readCfg(path("ie.txt")), "a\xC3\x80\xC2\xAF|\xC3\xAD\xC2\xA0\xC2\x80");
}

TEST_F(StoreTest, Utf16IsReadByItsMark) {
  // "C:\记.exe|𠀀" then CR LF, in both byte orders; 𠀀 is a surrogate pair.
  const std::string le = bytesOf(
      "\xFF\xFE"
      "C\0:\0\\\0\xB0\x8B.\0e\0x\0e\0|\0\x40\xD8\x00\xDC\r\0\n\0x\0");
  files.putFile(path("chrome.txt"), le);
  EXPECT_EQ(store.readCfg(path("chrome.txt")), "C:\\记.exe|\xF0\xA0\x80\x80");
  const std::string be =
      bytesOf("\xFE\xFF\0C\0:\0\\\x8B\xB0\0.\0e\0x\0e\0|\xD8\x40\xDC\x00\0\r\0\n");
  files.putFile(path("chrome.txt"), be);
  EXPECT_EQ(store.readCfg(path("chrome.txt")), "C:\\记.exe|\xF0\xA0\x80\x80");
  // A lone surrogate is a replacement character, an odd last byte is dropped.
  files.putFile(path("chrome.txt"), bytesOf("\xFF\xFE"
                                            "a\0\x00\xDC"
                                            "b\0c"));
  EXPECT_EQ(store.readCfg(path("chrome.txt")),
            "a\xEF\xBF\xBD"
            "b");
  // The surrogate ranges end at DBFF and DFFF: a lone DFFF is replaced too,
  // and DBFF DFFF is the last code point there is.
  files.putFile(path("chrome.txt"), bytesOf("\xFF\xFE"
                                            "a\0\xFF\xDF"
                                            "b\0\xFF\xDB\xFF\xDF"));
  EXPECT_EQ(store.readCfg(path("chrome.txt")),
            "a\xEF\xBF\xBD"
            "b\xF4\x8F\xBF\xBF");
}

TEST_F(StoreTest, MalformedUtf8BehindAMarkBecomesReplacementCharacters) {
  files.putFile(path("config.txt"),
                "\xEF\xBB\xBF"
                "a\xFF"
                "b\xE8\xAE|c\r\n");
  EXPECT_EQ(store.readCfg(path("config.txt")),
            "a\xEF\xBF\xBD"
            "b\xEF\xBF\xBD\xEF\xBF\xBD|c");
}

TEST_F(StoreTest, AFileCutAtTheReadLimitInsideACharacterIsStillUtf8) {
  // 65,536 bytes are read: the last character "记" (3 bytes) starts 2 bytes
  // before the limit.
  std::string bytes = "C:\\记.exe|记\r\n";
  bytes += std::string(65536 - 2 - bytes.size(), 'x');
  bytes += "记";
  files.putFile(path("config.txt"), bytes);
  EXPECT_EQ(store.autoLoadEntry().text(), "C:\\记.exe|记");
}

TEST_F(StoreTest, WhatIsWrittenReadsBackAsItself) {
  // Latin-1 bytes that happen to be UTF-8 ("Ã©" is C3 A9), or that begin
  // like a UTF-16 mark ("ÿþ" is FF FE), are stored as UTF-8 with a mark.
  for (const std::string value : {"C:\\\xC3\x83\xC2\xA9.exe|x", "\xC3\xBF\xC3\xBE.exe|x"}) {
    ASSERT_TRUE(store.writeCfg(path("config.txt"), value));
    EXPECT_EQ(files.file(path("config.txt"))->bytes.substr(0, 3), "\xEF\xBB\xBF") << value;
    EXPECT_EQ(store.autoLoadEntry().text(), value);
  }
}

TEST_F(StoreTest, AValueTooLongToBeReadBackWholeIsRefused) {
  files.putFile(path("config.txt"), "C:\\old.exe|Old\r\n");
  // 65,534 bytes and CR LF fill the read limit exactly.
  const std::string longest = "C:\\a.exe|" + std::string(65534 - 9, 't');
  ASSERT_TRUE(store.writeCfg(path("config.txt"), longest));
  EXPECT_EQ(files.file(path("config.txt"))->bytes.size(), 65536u);
  EXPECT_EQ(store.autoLoadEntry().text(), longest);

  files.putFile(path("config.txt"), "C:\\old.exe|Old\r\n");
  EXPECT_FALSE(store.writeCfg(path("config.txt"), longest + "t"));
  EXPECT_EQ(files.file(path("config.txt"))->bytes, "C:\\old.exe|Old\r\n");
  // The mark counts: 21,844 Chinese characters are 65,532 bytes of UTF-8.
  std::string chinese;
  for (int i = 0; i < 21844; ++i) chinese += "记";
  EXPECT_FALSE(store.writeCfg(path("config.txt"), chinese));
  EXPECT_EQ(files.file(path("config.txt"))->bytes, "C:\\old.exe|Old\r\n");
}

struct Utf8Case {
  const char* bytes;
  bool valid;
};

class Utf8CheckTest : public ::testing::TestWithParam<Utf8Case> {};

TEST_P(Utf8CheckTest, AcceptsWellFormedUtf8Only) {
  EXPECT_EQ(isUtf8(GetParam().bytes), GetParam().valid);
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, Utf8CheckTest,
    ::testing::Values(Utf8Case{"plain", true}, Utf8Case{"\xC2\x80", true},
                      Utf8Case{"\xC1\xBF", false},          // overlong
                      Utf8Case{"\xE0\x9F\xBF", false},      // overlong
                      Utf8Case{"\xE0\xA0\x80", true},       // U+0800
                      Utf8Case{"\xED\x9F\xBF", true},       // U+D7FF
                      Utf8Case{"\xED\xA0\x80", false},      // a surrogate
                      Utf8Case{"\xF0\x8F\xBF\xBF", false},  // overlong
                      Utf8Case{"\xF0\x90\x80\x80", true},   // U+10000
                      Utf8Case{"\xF0\x9F\x98\x80", true},   // U+1F600, an emoji
                      Utf8Case{"\xF4\x8F\xBF\xBF", true},   // U+10FFFF
                      Utf8Case{"\xF4\x90\x80\x80", false},  // beyond U+10FFFF
                      Utf8Case{"\xF5\x80\x80\x80", false}, Utf8Case{"\x80", false},
                      Utf8Case{"\xE8\xAE", false},            // cut short
                      Utf8Case{"\xE8\xAE\xB0\xB0", false}));  // a stray continuation

TEST(Utf8Check, AnIncompleteLastCharacterPassesOnlyWhenTheTextMayBeCut) {
  EXPECT_TRUE(isUtf8("ab\xE8\xAE", true));
  EXPECT_FALSE(isUtf8("ab\xE8\x41", true)) << "malformed, not cut";
  EXPECT_FALSE(
      isUtf8("a\xE8\xAE"
             "b",
             true))
      << "cut in the middle";
}

}  // namespace
}  // namespace vitrolux::config
