// Text conversion, font choice and the owning handle wrapper.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>

#include "win32/fonts.h"
#include "win32/text_encoding.h"
#include "win32/unique_resource.h"

namespace vitrolux::platform::win32 {
namespace {

TEST(TextEncodingTest, Utf8AndUtf16RoundTripOutsideTheBasicPlane) {
  const std::string text = "新建任务 \xF0\x9F\x98\x80 café";  // U+1F600 needs a surrogate pair
  const std::wstring wide = widen(text);
  EXPECT_EQ(wide, L"新建任务 \xD83D\xDE00 café");
  EXPECT_EQ(narrow(wide), text);
  EXPECT_EQ(widen(""), L"");
}

TEST(TextEncodingTest, CodePageConversionRefusesWhatDoesNotFitExactly) {
  const struct {
    std::string utf8;
    unsigned codePage;
    std::optional<std::string> expected;
  } cases[] = {
      {"café", 1252, std::string("caf\xE9")},
      {"新建", 936, std::string("\xD0\xC2\xBD\xA8")},
      {"新建", 1252, std::nullopt},
      {"\xC4\x81", 1252, std::nullopt},  // U+0101 would best-fit to "a"
      {"\xF0\x9F\x98\x80", 936, std::nullopt},
      {"anything \xE2\x82\xAC", CP_UTF8, std::string("anything \xE2\x82\xAC")},
      {"", 1252, std::string()},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(utf8ToCodePage(c.utf8, c.codePage), c.expected) << c.utf8 << " in " << c.codePage;
  }
  EXPECT_EQ(codePageToUtf8("\xD0\xC2\xBD\xA8", 936), "新建");
  EXPECT_EQ(codePageToUtf8("caf\xE9", 1252), "café");
}

TEST(FontChoiceTest, FallsBackThroughTheFacesThatLookAlike) {
  const std::wstring yaHei = L"\u5FAE\u8F6F\u96C5\u9ED1";
  const struct {
    std::wstring face;
    std::set<std::wstring> installed;
    std::wstring expected;
  } cases[] = {
      {yaHei, {yaHei, L"SimSun"}, yaHei},
      {yaHei, {L"SimSun", L"Microsoft YaHei"}, L"Microsoft YaHei"},
      {yaHei, {L"SimSun", L"WenQuanYi Micro Hei"}, L"WenQuanYi Micro Hei"},
      {yaHei, {L"Tahoma"}, L"MS Shell Dlg 2"},
      {L"Segoe UI", {L"Tahoma", L"SimSun"}, L"Tahoma"},
      {L"Segoe UI", {}, L"MS Shell Dlg 2"},
      {L"Courier New", {L"Tahoma"}, L"MS Shell Dlg 2"},
  };
  for (const auto& c : cases) {
    const auto installed = [&](const std::wstring& face) { return c.installed.count(face) > 0; };
    EXPECT_EQ(chooseFace(c.face, installed), c.expected);
  }
}

TEST(FontCacheTest, MakesEachFontOncePerDpiAtTheLayoutsPointSize) {
  FontCache cache;
  const Font yaHei{"\xE5\xBE\xAE\xE8\xBD\xAF\xE9\x9B\x85\xE9\xBB\x91", 12, 134, 400};
  const HFONT at96 = cache.get(yaHei, 96);
  EXPECT_EQ(cache.get(yaHei, 96), at96);
  const HFONT at144 = cache.get(yaHei, 144);
  EXPECT_NE(at144, at96);

  LOGFONTW made{};
  ASSERT_NE(::GetObjectW(at144, sizeof(made), &made), 0);
  EXPECT_EQ(made.lfHeight, -24);  // 12 points at 144 DPI
  EXPECT_EQ(made.lfCharSet, 134);
  // Never a face this machine lacks: it would fall to an arbitrary font.
  const std::wstring face = made.lfFaceName;
  EXPECT_EQ(face, cache.resolvedFace(yaHei.face));
  EXPECT_TRUE(fontFamilyInstalled(face) || face == L"MS Shell Dlg 2") << narrow(face);

  cache.keepOnly(144);
  EXPECT_EQ(cache.get(yaHei, 144), at144);
}

struct CountingTraits {
  using type = int;
  static inline std::vector<int> closed;
  static type invalid() noexcept { return 0; }
  static void close(type value) noexcept { closed.push_back(value); }
};
using unique_counted = unique_any<CountingTraits>;

TEST(UniqueResourceTest, ClosesEachHandleExactlyOnce) {
  CountingTraits::closed.clear();
  {
    unique_counted a(1);
    unique_counted b(std::move(a));
    EXPECT_FALSE(a);
    EXPECT_EQ(b.get(), 1);
    unique_counted c(2);
    c = std::move(b);  // closes 2, takes 1
    EXPECT_EQ(CountingTraits::closed, std::vector<int>{2});
    c.reset(3);  // closes 1
    const int kept = c.release();
    EXPECT_EQ(kept, 3);
    unique_counted d(4);
    unique_counted& same = d;
    d = std::move(same);  // moving onto itself keeps the handle
    EXPECT_EQ(d.get(), 4);
  }  // closes 4 only: 3 was released
  EXPECT_EQ(CountingTraits::closed, (std::vector<int>{2, 1, 4}));
}

}  // namespace
}  // namespace vitrolux::platform::win32
