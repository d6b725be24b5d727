// The input the see-through mode builds on: a global hot key heard wherever
// the keyboard focus is, the pointer's place, and the system's hit testing
// passing over a layered WS_EX_TRANSPARENT window with every window in it.
#include "contract/contract_fixture.h"

namespace vitrolux::contract {
namespace {

using platform::kModAlt;
using platform::kModControl;
using platform::kModShift;
using platform::Point;

// Ctrl+Alt+Shift+F23: no keyboard has F23, so nothing else presses it.
constexpr unsigned kModifiers = kModControl | kModAlt | kModShift;
constexpr int kKey = 0x86;
constexpr int kVkShift = 0x10;
constexpr int kVkMenu = 0x12;

class InputContract : public Contract {
 protected:
  // The modifiers down in order, the key pressed, all up again.
  void chord(unsigned modifiers, int key) {
    const std::pair<unsigned, int> order[] = {
        {kModControl, platform::kVkControl}, {kModAlt, kVkMenu}, {kModShift, kVkShift}};
    for (const auto& [bit, vk] : order) {
      if ((modifiers & bit) != 0) env->pressKey(vk);
    }
    env->pressKey(key);
    env->releaseKey(key);
    for (const auto& [bit, vk] : order) {
      if ((modifiers & bit) != 0) env->releaseKey(vk);
    }
    env->pump(100);
  }
};

TEST_F(InputContract, AHotKeyIsHeardWhereverTheFocusIsAndOneHotKeyHoldsAChord) {
  constexpr unsigned kId = 9;
  ASSERT_TRUE(framePort.registerHotKey(kId, kModifiers, kKey));
  chord(kModifiers, kKey);
  EXPECT_EQ(env->hotKeysHeard(kId), 1);
  // Its modifiers must all be down, and no others.
  chord(kModControl | kModAlt, kKey);
  chord(kModifiers, kKey - 1);
  EXPECT_EQ(env->hotKeysHeard(kId), 1);
  // The chord is taken, by this hot key as by any other.
  EXPECT_FALSE(framePort.registerHotKey(kId + 1, kModifiers, kKey));

  framePort.unregisterHotKey(kId);
  chord(kModifiers, kKey);
  EXPECT_EQ(env->hotKeysHeard(kId), 1) << "heard after it was let go";
  env->holdHotKeyElsewhere(kModifiers, kKey);
  EXPECT_FALSE(framePort.registerHotKey(kId, kModifiers, kKey)) << "another program holds it";
  EXPECT_TRUE(framePort.registerHotKey(kId, kModifiers, kKey - 1));
  framePort.unregisterHotKey(kId);
}

TEST_F(InputContract, ThePointersPlaceReadsBackInScreenPixels) {
  const platform::Rect frame = framePort.frameBounds();
  for (const Point at : {Point{frame.left + 10, frame.top + 20}, Point{5, 7}}) {
    env->movePointer(at);
    EXPECT_EQ(framePort.cursorPos(), at);
  }
}

TEST_F(InputContract, ALayeredTransparentWindowLetsThePointerThroughWithEveryWindowInIt) {
  const WindowHandle frame = env->frame();
  const platform::Rect f = framePort.frameBounds();
  const WindowHandle beneath = env->makeTopLevel("Vitrolux contract beneath");
  ASSERT_TRUE(desktop.setWindowPos(beneath, platform::kHwndTop, f.left - 50, f.top - 50,
                                   f.width() + 100, f.height() + 100, platform::kSwpNoActivate));
  raise(frame);
  const WindowHandle own = env->makeChild(frame, "Vitrolux contract own", {10, 10, 110, 110});
  const WindowHandle guest = env->makeForeignTopLevel("Vitrolux contract guest");
  ASSERT_TRUE(desktop.setParentThenPos(guest, frame, platform::kHwndTop, 200, 10, 200, 100, 0));
  const Point overOwn{f.left + 50, f.top + 50};
  const Point overGuest{f.left + 250, f.top + 50};
  const Point overFrame{f.left + 50, f.top + 300};
  ASSERT_EQ(env->windowFromPoint(overOwn), own);
  ASSERT_EQ(env->windowFromPoint(overGuest), guest);
  ASSERT_EQ(env->windowFromPoint(overFrame), frame);

  const std::uint32_t style = exStyle(frame);
  ASSERT_TRUE(desktop.setExStyleThenAlpha(
      frame, style | platform::kWsExLayered | platform::kWsExTransparent, 160));
  for (const Point at : {overOwn, overGuest, overFrame}) {
    EXPECT_EQ(env->windowFromPoint(at), beneath) << at.x << "," << at.y;
  }

  // Layered alone, however faded, it takes the pointer as before.
  ASSERT_TRUE(desktop.setExStyleThenAlpha(frame, style | platform::kWsExLayered, 160));
  EXPECT_EQ(env->windowFromPoint(overFrame), frame);
  EXPECT_EQ(env->windowFromPoint(overGuest), guest);

  ASSERT_TRUE(desktop.setExStyleThenAlpha(frame, style, std::nullopt));
  EXPECT_EQ(env->windowFromPoint(overOwn), own);
  EXPECT_EQ(env->windowFromPoint(overGuest), guest);
  EXPECT_EQ(env->windowFromPoint(overFrame), frame);
}

}  // namespace
}  // namespace vitrolux::contract
