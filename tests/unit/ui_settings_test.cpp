// "ui.txt": reading and writing the line, and applying it to the frame
// once after start, with the cases that would otherwise lose the frame.
#include "app/ui_settings.h"
#include "frame_fixture.h"

namespace vitrolux::app {
// For readable failures.
void PrintTo(const UiItem& item, std::ostream* out) {
  static const char* const kNames[] = {"opacity", "width", "height", "left", "top"};
  *out << kNames[static_cast<int>(item.key)] << "=" << item.value;
}
}  // namespace vitrolux::app

namespace vitrolux::testing {
namespace {

using app::formatUiSettings;
using app::leadingNumber;
using app::readUiSettings;
using app::UiItem;
using app::UiKey;
using Items = std::vector<UiItem>;

TEST(UiSettingsLine, ItemsApplyInTheirOrderAndOnlyWithExactKeys) {
  EXPECT_EQ(readUiSettings(""), Items{});
  EXPECT_EQ(readUiSettings("width=8000"), Items{}) << "no |||: nothing applies";
  EXPECT_EQ(readUiSettings("opacity=128|||Width=100"), (Items{{UiKey::Opacity, 128}}));
  EXPECT_EQ(readUiSettings("top=10|||width=8000px|||bogus|||=5||||||height= 5 000|||left"),
            (Items{{UiKey::Top, 10}, {UiKey::Width, 8000}, {UiKey::Height, 5000}}));
  EXPECT_EQ(readUiSettings("left=x|||top=-1500"), (Items{{UiKey::Left, 0}, {UiKey::Top, -1500}}));
}

TEST(UiSettingsLine, ValuesThatWouldLoseTheFrameAreLeftOut) {
  EXPECT_EQ(readUiSettings("opacity=0|||opacity=256|||opacity=-3|||opacity=0.5|||opacity=1.5|||"
                           "opacity=255.4"),
            (Items{{UiKey::Opacity, 1.5}, {UiKey::Opacity, 255.4}}));
  EXPECT_EQ(readUiSettings("width=0|||height=-5|||width=abc|||height=1e999|||left=-300"),
            (Items{{UiKey::Left, -300}}));
}

TEST(UiSettingsLine, ANumberIsWhatStandsAtTheStartOfTheValue) {
  EXPECT_EQ(leadingNumber("8000px"), 8000);
  EXPECT_EQ(leadingNumber("  -12.5x"), -12.5);
  EXPECT_EQ(leadingNumber("1 2 3"), 123);
  EXPECT_EQ(leadingNumber(".5"), 0.5);
  EXPECT_EQ(leadingNumber("2e3"), 2000);
  EXPECT_EQ(leadingNumber("8000e"), 8000);
  EXPECT_EQ(leadingNumber("1.2.3"), 1.2);
  EXPECT_EQ(leadingNumber("px8000"), 0);
  EXPECT_EQ(leadingNumber("--5"), 0);
  EXPECT_EQ(leadingNumber(""), 0);
  // An exponent may carry its own sign; a sign without digits is no
  // exponent.
  EXPECT_EQ(leadingNumber("8e+3"), 8000);
  EXPECT_EQ(leadingNumber("8E-1"), 0.8);
  EXPECT_EQ(leadingNumber("5e+"), 5);
  EXPECT_EQ(leadingNumber("1e-999"), 0);
  // What is not a number counts as 0, whatever a conversion would make of it.
  EXPECT_EQ(leadingNumber("nan"), 0);
  EXPECT_EQ(leadingNumber("-NaN"), 0);
  EXPECT_EQ(leadingNumber("inf"), 0);
}

TEST(UiSettingsLine, ExponentsAndNonNumbersInAWholeLine) {
  EXPECT_EQ(readUiSettings("width=nan|||height=NaN|||opacity=1e+2|||left=2e9|||top=-2e+9|||"
                           "width=9.675e+3"),
            (Items{{UiKey::Opacity, 100}, {UiKey::Width, 9675}}));
}

TEST(UiSettingsLine, TheLineWrittenLeavesOutALevelOf0AndRoundsToWholeTwips) {
  EXPECT_EQ(formatUiSettings(0, {3000, 1500, 9675, 6495}),
            "width=9675|||height=6495|||left=3000|||top=1500");
  EXPECT_EQ(formatUiSettings(200, {-150, 0, 9682.5, 6487.5}),
            "opacity=200|||width=9682|||height=6488|||left=-150|||top=0");
}

class UiSettingsTest : public FrameTest {
 protected:
  void startWith(const std::string& line) {
    desk.files().putFile(appFile("ui.txt"), line + "\r\n");
    desk.start();
    desk.advance(10);
  }
  platform::Rect frame() const { return desk.frameBounds(); }
  std::optional<std::string> saved() {
    const auto file = desk.files().file(appFile("ui.txt"));
    return file ? std::optional<std::string>(file->bytes) : std::nullopt;
  }
};

TEST_F(UiSettingsTest, WithoutAFileTheFrameKeepsItsCreatedPlaceAndNothingIsWritten) {
  desk.start();
  desk.advance(100);
  EXPECT_EQ(frame(), (platform::Rect{637, 323, 637 + 645, 323 + 433}));
  EXPECT_FALSE(desk.layeredAlpha(desk.frameWindow()).has_value());
  EXPECT_EQ(main.opacity().currentOpacity(), 0);
  EXPECT_FALSE(saved().has_value());
}

TEST_F(UiSettingsTest, TheSavedLevelSizeAndPlaceArriveWithTheFirstTick) {
  desk.files().putFile(appFile("ui.txt"),
                       "opacity=200|||width=8000|||height=5000|||left=1500|||top=1500\r\n");
  desk.start();
  EXPECT_EQ(frame().width(), 645) << "not before the first tick";
  desk.advance(10);
  EXPECT_EQ(frame(), (platform::Rect{100, 100, 633, 433}));
  EXPECT_EQ(desk.layeredAlpha(desk.frameWindow()), std::optional<std::uint8_t>{200});
  EXPECT_EQ(main.opacity().currentOpacity(), 200);
  // Applied once: moved by hand afterwards, the frame stays where it was put.
  desk.setWindowPos(desk.frameWindow(), platform::kHwndTop, 300, 300, 0, 0,
                    platform::kSwpNoSize | platform::kSwpNoZOrder);
  desk.advance(1000);
  EXPECT_EQ(frame().left, 300);
}

TEST_F(UiSettingsTest, ASizeAloneKeepsThePlaceAndTheFieldEndsAtAComma) {
  startWith("opacity=200|||width=9675,5|||height=6495");
  EXPECT_EQ(frame(), (platform::Rect{637, 323, 637 + 645, 323 + 433}));
  EXPECT_EQ(main.opacity().currentOpacity(), 200);
}

TEST_F(UiSettingsTest, AnOpacityOf0IsIgnoredAndTheFrameStaysVisible) {
  startWith("opacity=0|||width=-100|||height=0");
  EXPECT_FALSE(desk.layeredAlpha(desk.frameWindow()).has_value());
  EXPECT_EQ(main.opacity().currentOpacity(), 0);
  EXPECT_EQ(frame().width(), 645);
  EXPECT_EQ(frame().height(), 433);
}

TEST_F(UiSettingsTest, APlaceNoMonitorShowsComesOntoTheNearestWorkArea) {
  desk.setMonitors(
      {{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}}, {{1920, 0, 3200, 1024}, {1920, 0, 3200, 1000}}});
  // Saved on the right-hand monitor, since unplugged or edited: 13333 px.
  startWith("width=9675|||height=6495|||left=200000|||top=1500");
  EXPECT_EQ(frame(), (platform::Rect{3200 - 645, 100, 3200, 100 + 433}));
}

TEST_F(UiSettingsTest, AFrameLargerThanTheWorkAreaIsShrunkToFit) {
  desk.setMonitors({{{0, 0, 1920, 1080}, {0, 40, 1920, 1080}}});
  startWith("width=60000|||height=30000|||left=-90000|||top=-90000");
  EXPECT_EQ(frame(), (platform::Rect{0, 40, 1920, 1080}));
}

TEST_F(UiSettingsTest, APlacePartlyOffTheScreenIsKeptAsSaved) {
  startWith("left=-3000|||top=-1500");
  EXPECT_EQ(frame(), (platform::Rect{-200, -100, -200 + 645, -100 + 433}));
}

TEST_F(UiSettingsTest, AMinimisedFrameSavesThePlaceItComesBackTo) {
  startWith("width=8000|||height=5000|||left=1500|||top=1500");
  desk.setFrameState(platform::WindowState::Minimized);
  // A minimised frame can be the active window and get the digit keys.
  desk.keyDown('5');
  EXPECT_EQ(saved(), "opacity=160|||width=7995|||height=4995|||left=1500|||top=1500\r\n");
}

}  // namespace
}  // namespace vitrolux::testing
