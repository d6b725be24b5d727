// The window behaviour the frame's logic builds on: caption search, adopting
// and giving back a window, the z-order walk and stacking, style bits,
// layered alpha, and calls on windows that have gone away.
#include <algorithm>
#include <vector>

#include "contract/contract_fixture.h"

namespace vitrolux::contract {
namespace {

using platform::kHwndNoTopMost;
using platform::kHwndTop;
using platform::kHwndTopMost;
using platform::kWsExLayered;
using platform::kWsExTopMost;

// For windows a test destroys: without a caption, Wine destroys them at once
// (see env_win32.cpp).
constexpr std::uint32_t kPlainWindow =
    platform::kWsPopup | platform::kWsBorder | platform::kWsVisible;

// ---- findWindow -------------------------------------------------------------

TEST_F(Contract, FindWindowMatchesTheWholeCaptionOfATopLevelWindow) {
  const WindowHandle w = env->makeTopLevel("Vitrolux contract find alpha");
  env->makeChild(env->frame(), "Vitrolux contract child only", {5, 5, 50, 50});

  EXPECT_EQ(desktop.findWindow("Vitrolux contract find alpha"), w);
  // A prefix or a longer text is a different caption.
  EXPECT_TRUE(desktop.findWindow("Vitrolux contract find").isNull());
  EXPECT_TRUE(desktop.findWindow("Vitrolux contract find alpha!").isNull());
  // Child windows are never found, whatever their caption.
  EXPECT_TRUE(desktop.findWindow("Vitrolux contract child only").isNull());
  // Case does not count: measured under Wine, and FindWindow's documented
  // behaviour on Windows.
  EXPECT_EQ(desktop.findWindow("VITROLUX CONTRACT FIND ALPHA"), w);
}

TEST_F(Contract, FindWindowFindsTheUpperOfTwoEqualCaptionsAndNonAsciiOnes) {
  const WindowHandle first = env->makeTopLevel("Vitrolux contract twin");
  const WindowHandle second = env->makeTopLevel("Vitrolux contract twin");
  raise(first);
  EXPECT_EQ(desktop.findWindow("Vitrolux contract twin"), first);
  raise(second);
  EXPECT_EQ(desktop.findWindow("Vitrolux contract twin"), second);

  const WindowHandle chrome = env->makeTopLevel("新标签页 - Google Chrome");
  EXPECT_EQ(desktop.findWindow("新标签页 - Google Chrome"), chrome);
  EXPECT_EQ(desktop.getWindowText(chrome), "新标签页 - Google Chrome");
}

TEST_F(Contract, ALongCaptionReadsBackWhole) {
  std::string caption = "Vitrolux contract long ";
  while (caption.size() < 1000) caption += "新标签页 abcdefghij ";
  const WindowHandle w = env->makeTopLevel(caption);
  EXPECT_EQ(desktop.getWindowText(w), caption);
  EXPECT_EQ(desktop.findWindow(caption), w);
}

// ---- Adopting and giving back -------------------------------------------------

TEST_F(Contract, AdoptedWindowKeepsItsOffsetInsideTheFrameAndOnTheWayBack) {
  const WindowHandle w = env->makeTopLevel("Vitrolux contract adopt");
  ASSERT_TRUE(desktop.setWindowPos(w, kHwndTop, 1, 22, 300, 200, 0));
  ASSERT_TRUE(desktop.setParent(w, env->frame()));

  // An overlapped window made a child keeps no WS_CHILD style; its parent
  // must still read back (Win32's GetParent answers null for it).
  EXPECT_EQ(env->getParent(w), env->frame());
  const Rect frame = framePort.frameBounds();
  EXPECT_EQ(desktop.windowRect(env->frame()), frame);
  EXPECT_EQ(desktop.windowRect(w),
            (Rect{frame.left + 1, frame.top + 22, frame.left + 301, frame.top + 222}));
  // The frame's children of our own process are not someone else's to give back.
  EXPECT_TRUE(desktop.foreignChildren(env->frame()).empty());
  // Once inside the frame it is no longer a top-level window.
  EXPECT_TRUE(desktop.findWindow("Vitrolux contract adopt").isNull());

  ASSERT_TRUE(desktop.setParent(w, WindowHandle{}));
  EXPECT_TRUE(env->getParent(w).isNull());
  // The same numbers, now screen coordinates.
  EXPECT_EQ(desktop.windowRect(w), (Rect{1, 22, 301, 222}));
  EXPECT_EQ(desktop.findWindow("Vitrolux contract adopt"), w);
}

TEST_F(Contract, OwnerClassAndParentReadBackAsTheWindowSystemKeepsThem) {
  const WindowHandle main = env->makeTopLevel("Vitrolux contract owner");
  const WindowHandle owned = env->makeOwnedTopLevel(main, "Vitrolux contract owned");
  EXPECT_EQ(desktop.getOwner(owned), main);
  EXPECT_TRUE(desktop.getOwner(main).isNull());
  // An owned window is top-level all the same: the desktop holds it.
  EXPECT_TRUE(desktop.getParent(owned).isNull());
  EXPECT_FALSE(desktop.getClassName(main).empty());
  // Shown, and of this very program: neither hidden by the compositor nor
  // out of reach.
  EXPECT_FALSE(desktop.isCloaked(main));
  EXPECT_FALSE(desktop.ofHigherRights(main));
  ASSERT_TRUE(desktop.setParent(main, env->frame()));
  EXPECT_EQ(desktop.getParent(main), env->frame());

  env->destroy(owned);
  EXPECT_EQ(desktop.getClassName(owned), "");
  EXPECT_TRUE(desktop.getOwner(owned).isNull());
}

TEST_F(Contract, APlacementReadsBackAndGoesWithTheWayBackToTheDesktop) {
  using platform::Placement;
  using platform::WindowState;
  const WindowHandle w = env->makeForeignTopLevel("Vitrolux contract placement");
  ASSERT_TRUE(desktop.setWindowPos(w, kHwndTop, 120, 130, 300, 200, platform::kSwpNoActivate));
  EXPECT_EQ(desktop.windowPlacement(w), (Placement{WindowState::Normal, {120, 130, 420, 330}}));

  ASSERT_TRUE(desktop.setWindowPlacement(w, {WindowState::Maximized, {120, 130, 420, 330}}));
  EXPECT_EQ(desktop.windowPlacement(w), (Placement{WindowState::Maximized, {120, 130, 420, 330}}));
  // Restored elsewhere: a normal window there.
  ASSERT_TRUE(desktop.setWindowPlacement(w, {WindowState::Normal, {1, 22, 301, 222}}));
  EXPECT_EQ(desktop.windowRect(w), (Rect{1, 22, 301, 222}));

  ASSERT_TRUE(desktop.setParent(w, env->frame()));
  ASSERT_TRUE(
      desktop.setParentThenPlacement(w, WindowHandle{}, {WindowState::Maximized, {120, 130, 420, 330}}));
  EXPECT_TRUE(env->getParent(w).isNull());
  EXPECT_EQ(desktop.windowPlacement(w), (Placement{WindowState::Maximized, {120, 130, 420, 330}}));
}

TEST_F(Contract, SetParentRefusesLoopsAndGoneWindows) {
  const WindowHandle w = env->makeTopLevel("Vitrolux contract loop");
  const WindowHandle kid = env->makeChild(w, "Vitrolux contract loop kid", {1, 1, 20, 20});
  EXPECT_FALSE(desktop.setParent(w, w));
  EXPECT_FALSE(desktop.setParent(w, kid));
  EXPECT_TRUE(env->getParent(w).isNull());
  EXPECT_EQ(env->getParent(kid), w);

  env->destroy(kid);
  EXPECT_FALSE(desktop.setParent(kid, env->frame()));
  EXPECT_FALSE(desktop.setParent(w, kid));
}

TEST_F(Contract, AWindowInsideAnotherIsDestroyedWithIt) {
  // The reason every exit path gives foreign windows back first.
  const WindowHandle host = env->makeTopLevel("Vitrolux contract host", kPlainWindow);
  const WindowHandle guest = env->makeTopLevel("Vitrolux contract guest");
  ASSERT_TRUE(desktop.setParent(guest, host));
  env->destroy(host);
  EXPECT_FALSE(env->isWindow(guest));
}

// ---- Z-order ------------------------------------------------------------------

TEST_F(Contract, ZOrderWalkFollowsHwndTop) {
  const WindowHandle low = env->makeTopLevel("Vitrolux contract low");
  const WindowHandle high = env->makeTopLevel("Vitrolux contract high");
  raise(low);
  raise(high);
  EXPECT_TRUE(isBelow(low, high));
  EXPECT_FALSE(isBelow(high, low));

  raise(low);
  EXPECT_TRUE(isBelow(high, low));
  EXPECT_FALSE(isBelow(low, high));

  // SWP_NOZORDER moves without restacking...
  ASSERT_TRUE(desktop.setWindowPos(
      high, kHwndTop, 40, 50, 0, 0,
      platform::kSwpNoSize | platform::kSwpNoZOrder | platform::kSwpNoActivate));
  EXPECT_TRUE(isBelow(high, low));
  EXPECT_EQ(desktop.windowRect(high)->left, 40);
  EXPECT_EQ(desktop.windowRect(high)->top, 50);
  // ...unless the window is activated, which raises it; so does HWND_BOTTOM.
  ASSERT_TRUE(desktop.setWindowPos(high, kHwndTop, 60, 70, 0, 0,
                                   platform::kSwpNoSize | platform::kSwpNoZOrder));
  EXPECT_TRUE(isBelow(low, high));
  EXPECT_EQ(desktop.windowRect(high)->left, 60);
  raise(high, platform::kHwndBottom);
  EXPECT_TRUE(isBelow(high, low));
  ASSERT_TRUE(desktop.setWindowPos(high, platform::kHwndBottom, 0, 0, 0, 0,
                                   platform::kSwpNoMove | platform::kSwpNoSize));
  EXPECT_TRUE(isBelow(low, high));
}

TEST_F(Contract, TopMostBandIsSetAndClearedOnlyThroughSetWindowPos) {
  const WindowHandle pinned = env->makeTopLevel("Vitrolux contract pinned");
  const WindowHandle other = env->makeTopLevel("Vitrolux contract other");
  raise(other);
  EXPECT_TRUE(isBelow(pinned, other));

  raise(pinned, kHwndTopMost);
  EXPECT_NE(exStyle(pinned) & kWsExTopMost, 0u);
  EXPECT_TRUE(isBelow(other, pinned));
  // HWND_TOP brings a normal window only to the top of the normal band.
  raise(other);
  EXPECT_TRUE(isBelow(other, pinned));

  raise(pinned, kHwndNoTopMost);
  EXPECT_EQ(exStyle(pinned) & kWsExTopMost, 0u);
  EXPECT_TRUE(isBelow(other, pinned));
  // On a window that is not top-most, HWND_NOTOPMOST changes nothing, even
  // where it activates the window (where activation raises on other calls).
  raise(other);
  raise(pinned, kHwndNoTopMost);
  EXPECT_TRUE(isBelow(pinned, other));
  ASSERT_TRUE(desktop.setWindowPos(pinned, kHwndNoTopMost, 0, 0, 0, 0,
                                   platform::kSwpNoMove | platform::kSwpNoSize));
  EXPECT_TRUE(isBelow(pinned, other));

  // The top-most bit written with the other extended styles is ignored.
  desktop.setExStyleThenAlpha(other, exStyle(other) | kWsExTopMost, std::nullopt);
  EXPECT_EQ(exStyle(other) & kWsExTopMost, 0u);
}

TEST_F(Contract, EnumWindowsGivesTheTopLevelWindowsInZOrderOnce) {
  const WindowHandle low = env->makeTopLevel("Vitrolux contract enum low", kPlainWindow);
  const WindowHandle high = env->makeTopLevel("Vitrolux contract enum high", kPlainWindow);
  const WindowHandle kid = env->makeChild(env->frame(), "Vitrolux contract enum kid", {1, 1, 9, 9});
  raise(low);
  raise(high);
  const auto position = [](const std::vector<WindowHandle>& order, WindowHandle w) {
    return std::count(order.begin(), order.end(), w) == 1
               ? std::find(order.begin(), order.end(), w) - order.begin()
               : -1;
  };
  std::vector<WindowHandle> order = desktop.enumWindows();
  ASSERT_GE(position(order, low), 0);
  ASSERT_GE(position(order, env->frame()), 0);
  EXPECT_LT(position(order, high), position(order, low));
  EXPECT_EQ(std::count(order.begin(), order.end(), kid), 0) << "children are not top-level";

  raise(low);
  env->destroy(high);
  order = desktop.enumWindows();
  EXPECT_EQ(std::count(order.begin(), order.end(), high), 0);
  EXPECT_GE(position(order, low), 0);
}

// ---- Icons ----------------------------------------------------------------------

TEST_F(Contract, AWindowAnswersForItsSmallIconAndItsClassHasOne) {
  const platform::IconHandle small = env->makeIcon(16);
  const platform::IconHandle large = env->makeIcon(32);
  EXPECT_EQ(desktop.iconSize(small), (platform::Size{16, 16}));
  EXPECT_EQ(desktop.iconSize(large), (platform::Size{32, 32}));
  EXPECT_FALSE(desktop.iconSize(platform::IconHandle{}).has_value());

  const WindowHandle w = env->makeTopLevelWithClassIcon(small);
  EXPECT_EQ(desktop.getClassLongPtr(w, platform::kGclpHIconSm), small.value());
  desktop.sendMessage(w, platform::kWmSetIcon, platform::kIconSmall, large.value(), 200);
  EXPECT_EQ(desktop.sendMessage(w, platform::kWmGetIcon, platform::kIconSmall, 0, 200),
            std::optional<std::intptr_t>{large.value()});

  env->destroy(w);
  EXPECT_EQ(desktop.getClassLongPtr(w, platform::kGclpHIconSm), 0);
  EXPECT_FALSE(desktop.sendMessage(w, platform::kWmGetIcon, platform::kIconSmall, 0, 200));
  // The icons themselves are not the window's to take along.
  EXPECT_EQ(desktop.iconSize(small), (platform::Size{16, 16}));
}

// ---- Styles and layered alpha -----------------------------------------------

TEST_F(Contract, VisibleOverlappedWindowCarriesTheTaskStyleBits) {
  const std::uint32_t taskMask = platform::kWsVisible | platform::kWsBorder;
  const WindowHandle w = env->makeTopLevel("Vitrolux contract styled");
  EXPECT_EQ(static_cast<std::uint32_t>(desktop.getWindowLong(w, platform::kGwlStyle)) & taskMask,
            taskMask);
  EXPECT_TRUE(env->isWindowVisible(w));

  const WindowHandle hidden =
      env->makeTopLevel("Vitrolux contract hidden", platform::kWsOverlappedWindow);
  const WindowHandle kid = env->makeChild(hidden, "Vitrolux contract hidden kid", {1, 1, 9, 9});
  EXPECT_EQ(
      static_cast<std::uint32_t>(desktop.getWindowLong(hidden, platform::kGwlStyle)) & taskMask,
      platform::kWsBorder);
  // A visible child of a hidden window is not visible.
  EXPECT_NE(static_cast<std::uint32_t>(desktop.getWindowLong(kid, platform::kGwlStyle)) &
                platform::kWsVisible,
            0u);
  EXPECT_FALSE(env->isWindowVisible(kid));
}

TEST_F(Contract, LayeredAlphaNeedsTheLayeredStyleAndIsLostWithIt) {
  constexpr std::uint32_t kLwaAlpha = 0x2;
  const WindowHandle w = env->makeTopLevel("Vitrolux contract layered");
  const std::uint32_t before = exStyle(w);
  ASSERT_EQ(before & kWsExLayered, 0u);
  EXPECT_FALSE(desktop.setLayeredWindowAttributes(w, 0, 128, kLwaAlpha));
  EXPECT_FALSE(env->layeredAlpha(w).has_value());

  EXPECT_TRUE(desktop.setExStyleThenAlpha(w, before | kWsExLayered, std::nullopt));
  EXPECT_EQ(exStyle(w), before | kWsExLayered);
  // Layered, but no alpha has been given yet.
  EXPECT_FALSE(env->layeredAlpha(w).has_value());
  EXPECT_TRUE(desktop.setLayeredWindowAttributes(w, 0, 128, kLwaAlpha));
  EXPECT_EQ(env->layeredAlpha(w), std::optional<std::uint8_t>{128});

  // Dropping the style drops the alpha; taking it again does not bring it back.
  desktop.setExStyleThenAlpha(w, before, std::nullopt);
  EXPECT_FALSE(env->layeredAlpha(w).has_value());
  desktop.setExStyleThenAlpha(w, before | kWsExLayered, std::nullopt);
  EXPECT_FALSE(env->layeredAlpha(w).has_value());
}

// "挡住" takes WS_EX_TRANSPARENT from a window that stays layered: a fade
// given before must survive that.
TEST_F(Contract, TakingTheClickThroughStyleAwayKeepsTheLayeredAlpha) {
  constexpr std::uint32_t kTransparent = 0x20;
  const WindowHandle w = env->makeTopLevel("Vitrolux contract faded");
  const std::uint32_t before = exStyle(w);
  ASSERT_TRUE(desktop.setExStyleThenAlpha(w, before | kWsExLayered, std::uint8_t{100}));
  ASSERT_TRUE(desktop.setExStyleThenAlpha(w, before | kWsExLayered | kTransparent, std::nullopt));
  EXPECT_EQ(exStyle(w), before | kWsExLayered | kTransparent);
  EXPECT_EQ(env->layeredAlpha(w), std::optional<std::uint8_t>{100});

  EXPECT_TRUE(desktop.setExStyleThenAlpha(w, before | kWsExLayered, std::nullopt));
  EXPECT_EQ(exStyle(w), before | kWsExLayered);
  EXPECT_EQ(env->layeredAlpha(w), std::optional<std::uint8_t>{100});
}

// The frame hosts windows of programs that take the display's scale in
// another way than it does. They keep their way (the system scales them
// for themselves: their program is not reset), and the frame places them
// in its own pixels.
TEST_F(Contract, AWindowOfAnotherDpiAwarenessIsHostedAsItIs) {
  const WindowHandle w =
      env->makeForeignTopLevelAware("Vitrolux contract unaware", DpiAwareness::Unaware);
  const std::optional<DpiAwareness> before = env->dpiAwareness(w);
  if (!before) GTEST_SKIP() << "this system knows no DPI awareness";
  ASSERT_EQ(*before, DpiAwareness::Unaware);

  ASSERT_TRUE(desktop.setParentThenPos(w, env->frame(), kHwndTop, 10, 20, 200, 100,
                                       platform::kSwpNoActivate));
  EXPECT_EQ(env->getParent(w), env->frame());
  const Rect frame = framePort.frameBounds();
  EXPECT_EQ(desktop.windowRect(w),
            (Rect{frame.left + 10, frame.top + 20, frame.left + 210, frame.top + 120}));
  // Without the mixed hosting behaviour a child takes its parent's
  // awareness (Wine 8 does so too).
  if (env->mixedDpiHosting()) {
    EXPECT_EQ(env->dpiAwareness(w), DpiAwareness::Unaware);
  }
  EXPECT_TRUE(desktop.setParent(w, WindowHandle{}));
}

// ---- Monitors and the minimised frame --------------------------------------

TEST_F(Contract, MonitorFromRectFindsTheMonitorThatShowsARectOrTheNearestOne) {
  const Rect frame = framePort.frameBounds();
  const std::optional<platform::Monitor> shown =
      desktop.monitorFromRect(frame, platform::kMonitorDefaultToNull);
  ASSERT_TRUE(shown.has_value()) << "the frame is on the screen";
  const Rect& b = shown->bounds;
  const Rect& w = shown->workArea;
  EXPECT_GT(b.width(), 0);
  EXPECT_GT(b.height(), 0);
  // The frame overlaps its monitor; the work area lies inside the monitor.
  EXPECT_LT(frame.left, b.right);
  EXPECT_GT(frame.right, b.left);
  EXPECT_TRUE(w.left >= b.left && w.top >= b.top && w.right <= b.right && w.bottom <= b.bottom);
  EXPECT_GT(w.width(), 0);

  // Far to the right of everything: no monitor shows it, and the nearest is
  // the one that holds the frame's row (the only one on a test machine).
  const Rect far{b.right + 100000, b.top + 10, b.right + 100400, b.top + 310};
  EXPECT_FALSE(desktop.monitorFromRect(far, platform::kMonitorDefaultToNull).has_value());
  const std::optional<platform::Monitor> nearest =
      desktop.monitorFromRect(far, platform::kMonitorDefaultToNearest);
  ASSERT_TRUE(nearest.has_value());
  EXPECT_EQ(nearest->bounds.right,
            desktop
                .monitorFromRect(Rect{b.right - 10, b.top + 10, b.right, b.top + 20},
                                 platform::kMonitorDefaultToNull)
                ->bounds.right);
}

TEST_F(Contract, AMinimisedFrameStandsElsewhereButKeepsItsNormalPlace) {
  const Rect before = framePort.frameBounds();
  ASSERT_EQ(framePort.frameNormalBounds(), before);
  framePort.setFrameState(platform::WindowState::Minimized);
  env->pump(100);
  ASSERT_EQ(framePort.frameState(), platform::WindowState::Minimized);
  // Windows parks a minimised window at (-32000, -32000); Wine, without a
  // window manager, lines it up along the screen's bottom edge. Either way
  // its bounds are not where the frame stands, and saving them would move
  // the frame at the next start.
  EXPECT_NE(framePort.frameBounds(), before);
  EXPECT_EQ(framePort.frameNormalBounds(), before);

  framePort.setFrameState(platform::WindowState::Normal);
  env->pump(100);
  EXPECT_EQ(framePort.frameBounds(), before);
  EXPECT_EQ(framePort.frameNormalBounds(), before);
}

// ---- Windows that have gone away ----------------------------------------------

TEST_F(Contract, NewTopLevelWindowsAreReportedOnlyWhileWatched) {
  auto reported = [&](WindowHandle w) {
    const std::vector<WindowHandle> seen = env->changedWindows();
    return std::find(seen.begin(), seen.end(), w) != seen.end();
  };
  const WindowHandle before = env->makeTopLevel("Vitrolux contract before watch");
  ASSERT_TRUE(desktop.watchTopLevelWindows(true));
  const WindowHandle watched = env->makeTopLevel("Vitrolux contract watched");
  // Reports come through the event loop, not inside the call that made the
  // window; a child window is never reported.
  const WindowHandle child =
      env->makeChild(watched, "Vitrolux contract watched child", {1, 1, 9, 9});
  bool seen = false;
  for (int waited = 0; waited < 3000 && !seen; waited += 50) {
    env->pump(50);
    seen = reported(watched);
  }
  EXPECT_TRUE(seen);
  EXPECT_FALSE(reported(before));
  EXPECT_FALSE(reported(child));

  ASSERT_TRUE(desktop.watchTopLevelWindows(false));
  const WindowHandle after = env->makeTopLevel("Vitrolux contract after watch");
  env->pump(300);
  EXPECT_FALSE(reported(after));
}

TEST_F(Contract, CallsOnAWindowThatIsGoneHaveNoEffect) {
  const WindowHandle w = env->makeTopLevel("Vitrolux contract gone", kPlainWindow);
  EXPECT_TRUE(desktop.postMessage(w, platform::kWmActivate, 1, 0));
  EXPECT_TRUE(desktop.sendMessage(w, platform::kWmGetIcon, 0, 0, 200).has_value());
  env->destroy(w);

  EXPECT_FALSE(env->isWindow(w));
  EXPECT_FALSE(desktop.setWindowPos(w, kHwndTop, 1, 22, 100, 100, 0));
  EXPECT_FALSE(desktop.windowRect(w).has_value());
  EXPECT_EQ(desktop.getWindowLong(w, platform::kGwlStyle), 0);
  EXPECT_FALSE(desktop.setExStyleThenAlpha(w, kWsExLayered, std::nullopt));
  EXPECT_FALSE(desktop.postMessage(w, platform::kWmActivate, 1, 0));
  EXPECT_FALSE(desktop.sendMessage(w, platform::kWmGetIcon, 0, 0, 200).has_value());
  EXPECT_TRUE(desktop.findWindow("Vitrolux contract gone").isNull());
}

// ---- A program that stops answering ------------------------------------------

TEST_F(Contract, AProgramThatStopsAnsweringIsSeenAndNeverHoldsTheCaller) {
  const WindowHandle w = env->makeForeignTopLevel("Vitrolux contract hung");
  EXPECT_TRUE(desktop.windowAnswers(w, 200));
  env->hang(w);
  const std::int64_t start = framePort.nowMs();
  EXPECT_FALSE(desktop.windowAnswers(w, 100));

  // Placed without waiting; re-parented and restyled after a bounded wait,
  // which reports failure.
  EXPECT_TRUE(desktop.setWindowPos(w, kHwndTop, 10, 20, 150, 80,
                                   platform::kSwpNoActivate | platform::kSwpAsyncWindowPos));
  EXPECT_FALSE(desktop.setParent(w, env->frame()));
  EXPECT_FALSE(desktop.setExStyleThenAlpha(w, exStyle(w) | kWsExLayered, std::nullopt));
  EXPECT_LT(framePort.nowMs() - start, 1000) << "held by a thread that does not answer";
  EXPECT_TRUE(env->getParent(w).isNull());
  EXPECT_EQ(exStyle(w) & kWsExLayered, 0u);

  // Answering again, it carries out what waited for it, in order: placed
  // while top-level, then made a child, which keeps the offset.
  env->resume(w);
  env->pump(500);
  EXPECT_TRUE(desktop.windowAnswers(w, 200));
  EXPECT_EQ(env->getParent(w), env->frame());
  const std::optional<Rect> frame = desktop.windowRect(env->frame());
  const std::optional<Rect> inside = desktop.windowRect(w);
  ASSERT_TRUE(frame && inside);
  EXPECT_EQ(inside->left - frame->left, 10);
  EXPECT_EQ(inside->top - frame->top, 20);
  EXPECT_EQ(inside->width(), 150);
  EXPECT_NE(exStyle(w) & kWsExLayered, 0u);

  // A window that answers is served at once, and one that is gone answers
  // nothing.
  EXPECT_TRUE(desktop.setParent(w, WindowHandle{}));
  EXPECT_TRUE(env->getParent(w).isNull());
  // The other order, which Windows may take when it re-parents without the
  // window's thread: made a child first, placed after. The same place.
  ASSERT_TRUE(desktop.setParent(w, env->frame()));
  EXPECT_TRUE(desktop.setWindowPos(w, kHwndTop, 1, 22, 150, 80,
                                   platform::kSwpNoActivate | platform::kSwpAsyncWindowPos));
  env->pump(300);
  const std::optional<Rect> placed = desktop.windowRect(w);
  ASSERT_TRUE(placed.has_value());
  EXPECT_EQ(placed->left - frame->left, 1);
  EXPECT_EQ(placed->top - frame->top, 22);
  EXPECT_TRUE(desktop.setParent(w, WindowHandle{}));
  EXPECT_FALSE(desktop.windowAnswers(WindowHandle{}, 100));
}

// Steps that depend on each other, carried out by a program that has
// stopped answering: neither runs before it answers, then both, in order.
TEST_F(Contract, StepsOfOneCallLandTogetherWhenTheProgramAnswers) {
  const WindowHandle w = env->makeForeignTopLevel("Vitrolux contract steps");
  const std::uint32_t before = exStyle(w);
  EXPECT_FALSE(desktop.callUnderWay(w));
  env->hang(w);
  const std::int64_t start = framePort.nowMs();
  EXPECT_FALSE(desktop.setExStyleThenAlpha(w, before | kWsExLayered, 77));
  EXPECT_FALSE(desktop.setParentThenPos(
      w, env->frame(), kHwndTop, 5, 25, 0, 0,
      platform::kSwpNoSize | platform::kSwpNoActivate | platform::kSwpAsyncWindowPos));
  EXPECT_LT(framePort.nowMs() - start, 1000) << "held by a thread that does not answer";
  EXPECT_TRUE(desktop.callUnderWay(w));
  EXPECT_FALSE(env->layeredAlpha(w).has_value());

  env->resume(w);
  env->pump(500);
  EXPECT_FALSE(desktop.callUnderWay(w));
  EXPECT_EQ(env->layeredAlpha(w), std::optional<std::uint8_t>(77));
  EXPECT_EQ(env->getParent(w), env->frame());
  const std::optional<Rect> frame = desktop.windowRect(env->frame());
  const std::optional<Rect> inside = desktop.windowRect(w);
  ASSERT_TRUE(frame && inside);
  EXPECT_EQ(inside->left - frame->left, 5);
  EXPECT_EQ(inside->top - frame->top, 25);

  // Answering, it is served at once.
  EXPECT_TRUE(desktop.setParentThenPos(w, WindowHandle{}, kHwndNoTopMost, 300, 200, 0, 0,
                                       platform::kSwpNoSize | platform::kSwpNoActivate));
  EXPECT_TRUE(env->getParent(w).isNull());
  EXPECT_EQ(desktop.windowRect(w)->left, 300);
  EXPECT_TRUE(desktop.setExStyleThenAlpha(w, before, std::nullopt));
  EXPECT_FALSE(env->layeredAlpha(w).has_value());
}

}  // namespace
}  // namespace vitrolux::contract
