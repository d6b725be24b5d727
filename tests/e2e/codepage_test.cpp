// Settings files as people write them today, read by the real Vitrolux.exe
// on a Chinese system (code page 936, GBK): UTF-8 without a byte-order mark
// and UTF-16 by its mark are read as such, GBK files as before, and what the
// option panel saves is read back whole at the next start. ctest runs this
// program under the zh_CN.UTF-8 locale, which gives Wine code page 936.
#include <gtest/gtest.h>

#include <string>

#include "driver/input.h"
#include "driver/screen.h"
#include "driver/vitrolux_app.h"

namespace {

using namespace e2e;

// Text in a given code page, converted here rather than by the program.
std::string inCodePage(std::wstring_view text, UINT codePage) {
  const int n = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()),
                                    nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                      nullptr, nullptr);
  return out;
}

std::string utf16le(std::wstring_view text) {
  std::string out = "\xFF\xFE";
  for (const wchar_t unit : text) {
    out.push_back(static_cast<char>(unit & 0xFF));
    out.push_back(static_cast<char>((unit >> 8) & 0xFF));
  }
  return out;
}

class ChineseSettings : public ::testing::Test {
 protected:
  void SetUp() override {
    // Windows itself runs in the system's own code page, which a test
    // cannot change; Wine takes it from the locale the harness sets.
    if (!underWine() && GetACP() != 936) GTEST_SKIP() << "the system's code page is not 936";
    ASSERT_EQ(GetACP(), 936u) << "not a Chinese code page: is the zh_CN.UTF-8 locale generated "
                                 "(scripts/install-deps)?";
  }

  // The target program copied as `exe` into a folder of the application
  // folder, by default one with a Chinese name.
  std::wstring installTarget(const std::wstring& exe, const std::wstring& in = L"记事本程序") {
    return app.installTarget(in + L"\\" + exe);
  }

  // An entry that starts the target with this caption and captures it.
  static std::wstring entry(const std::wstring& program, const std::wstring& caption) {
    return program + L" --caption \"" + caption + L"\"|" + caption + L"\r\n";
  }

  HWND waitForHosted(const std::wstring& caption, std::chrono::milliseconds timeout = 8s) {
    return waitForChildByText(app.frame(), caption, timeout);
  }

  VitroluxApp app;
};

TEST_F(ChineseSettings, Utf8WithoutAMarkIsReadAsUtf8) {
  const std::wstring chrome = installTarget(L"chrome.exe");
  const std::wstring caption = L"新标签页 - Google Chrome";
  ASSERT_TRUE(app.writeFile(L"chrome.txt", inCodePage(entry(chrome, caption), CP_UTF8)));
  ASSERT_TRUE(app.start());
  // The program has run once, as it would have on a user's desktop: Chrome's
  // window is looked for only once, 400 ms after the launch.
  Process warmUp = Process::start(chrome, {L"--caption", L"warm-up", L"--exit-after-ms", L"1"});
  ASSERT_TRUE(warmUp && warmUp.waitForExit(10s));

  ASSERT_TRUE(clickCentre(app.control(L"打开并装载Chrome")));
  EXPECT_NE(waitForHosted(caption), nullptr) << "the program in a Chinese folder was not hosted";
}

TEST_F(ChineseSettings, GbkFilesReadAsBefore) {
  const std::wstring firefox = installTarget(L"firefox.exe");
  const std::wstring caption = L"记事本 - 火狐";
  ASSERT_TRUE(app.writeFile(L"firefox.txt", inCodePage(entry(firefox, caption), 936)));
  ASSERT_TRUE(app.start());
  ASSERT_TRUE(clickCentre(app.control(L"打开并装载Firefox")));
  EXPECT_NE(waitForHosted(caption), nullptr);
}

TEST_F(ChineseSettings, Utf16IsReadByItsMark) {
  const std::wstring program = installTarget(L"notes.exe");
  const std::wstring caption = L"记事本 - 笔记";
  ASSERT_TRUE(app.writeFile(L"config.txt", utf16le(entry(program, caption))));
  ASSERT_TRUE(app.start());
  EXPECT_NE(waitForHosted(caption), nullptr) << "the auto-load entry was not read";
}

TEST_F(ChineseSettings, WhatTheOptionPanelSavesIsReadBackAtTheNextStart) {
  // In GBK these two characters are C8 AB CD BC, which is also well-formed
  // UTF-8 ("ȫͼ"): saved in GBK they would come back as other text. The rest
  // of the entry is ASCII, so nothing else gives the GBK away.
  const std::wstring program = installTarget(L"notes.exe", L"tools");
  const std::wstring caption = L"全图";
  ASSERT_TRUE(app.start());
  ASSERT_TRUE(clickCentre(app.control(L"选项")));
  HWND pathBox = app.control(L"粘贴程序路径，下次自动装载");
  HWND titleBox = app.control(L"粘贴程序默认标题，下次自动装载程序");
  ASSERT_NE(pathBox, nullptr);
  ASSERT_NE(titleBox, nullptr);
  const std::wstring path = program + L" --caption \"" + caption + L"\"";
  SendMessageW(pathBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
  SendMessageW(titleBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(caption.c_str()));
  ASSERT_TRUE(clickCentre(app.control(L"配置")));
  ASSERT_TRUE(waitUntil(3s, [&] { return app.readFile(L"config.txt").has_value(); }))
      << "nothing saved";
  EXPECT_TRUE(app.close());

  // The next start loads the saved entry: its window is captured by title.
  ASSERT_TRUE(app.start());
  EXPECT_NE(waitForHosted(caption), nullptr) << "the saved title did not come back whole";
}

}  // namespace
