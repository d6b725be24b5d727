// Windows of programs that have stopped answering, and windows that vanish
// between being listed and being acted on. The simulated desktop counts
// every call that would have held the frame waiting for a hung program, and
// keeps the calls such a program has still to carry out until it answers.
#include <functional>

#include "frame_fixture.h"

namespace vitrolux::testing {
namespace {

class HungWindowTest : public FrameTest {
 protected:
  void SetUp() override { desk.start(); }
  // A window of a program of its own.
  WindowHandle opened(const std::string& caption) {
    return desk.createWindow(desk.newProcess(), caption,
                             platform::kWsVisible | platform::kWsOverlappedWindow,
                             {700, 100, 1000, 300});
  }
  // Hosted from the list while its program answers.
  WindowHandle hosted(const std::string& caption) {
    const WindowHandle w = opened(caption);
    listWindow(w);
    main.loader().embed(w);
    EXPECT_TRUE(hostedInFrame(w));
    return w;
  }
  std::uint32_t exStyle(WindowHandle w) {
    return desk.window(w)->exStyle & ~platform::kWsExTopMost;
  }
  bool uiSaved() { return desk.files().file(appFile("ui.txt")).has_value(); }
};

struct Operation {
  const char* name;
  std::function<void(sim::SimDesktop&)> run;
};

TEST_F(HungWindowTest, ASelectedWindowIsLeftAsItWasAndNothingWaitsForIt) {
  const Operation operations[] = {
      {"load", [](sim::SimDesktop& d) { d.click(model::index(ControlId::loadBtn)); }},
      {"double click",
       [](sim::SimDesktop& d) { d.doubleClick(model::index(ControlId::processList)); }},
      {"click-through",
       [](sim::SimDesktop& d) { d.click(model::index(ControlId::penetrate_btn)); }},
      {"opacity", [](sim::SimDesktop& d) { d.keyDown('5'); }},
      {"release", [](sim::SimDesktop& d) { d.click(model::index(ControlId::releaseBtn)); }},
  };
  for (const Operation& op : operations) {
    SCOPED_TRACE(op.name);
    const WindowHandle w = listAndSelect(opened(std::string("Hung for ") + op.name));
    desk.setHung(w, true);
    const platform::Rect place = desk.window(w)->rect;

    op.run(desk);
    EXPECT_EQ(desk.waitsOnHungPrograms(), 0);
    EXPECT_TRUE(state().hostedWindow.isNull()) << "taken for hosted";
    EXPECT_EQ(text(ControlId::penetrate_btn), "穿透") << "the button changed for nothing";
    EXPECT_FALSE(uiSaved());
    EXPECT_FALSE(desk.layeredAlpha(desk.frameWindow())) << "the frame faded in its place";

    // Nothing was queued for it either: when it answers, all is as before.
    desk.setHung(w, false);
    EXPECT_TRUE(desk.getParent(w).isNull());
    EXPECT_EQ(desk.window(w)->rect, place);
    EXPECT_EQ(exStyle(w), 0u);
    EXPECT_FALSE(desk.layeredAlpha(w));
  }
}

TEST_F(HungWindowTest, BringToFrontIsQueuedToTheProgramWithoutAWait) {
  const WindowHandle w = listAndSelect(opened("Hung"));
  desk.setHung(w, true);
  desk.click(idx(ControlId::bringTopMostBtn));
  EXPECT_EQ(desk.waitsOnHungPrograms(), 0);
  EXPECT_FALSE(isTopMost(w));
  desk.setHung(w, false);
  EXPECT_TRUE(isTopMost(w)) << "pinned once it answers";
}

TEST_F(HungWindowTest, AHostedWindowIsFittedWhenItAnswersAndReleasedOnlyThen) {
  const WindowHandle w = hosted("Hosted");
  desk.setWindowPos(w, platform::kHwndTop, 40, 50, 100, 100, 0);
  desk.setHung(w, true);

  desk.frameDoubleClick();
  desk.click(idx(ControlId::releaseBtn));
  EXPECT_EQ(desk.waitsOnHungPrograms(), 0);
  EXPECT_TRUE(hostedInFrame(w));
  EXPECT_EQ(state().hostedWindow, w) << "still hosted, and still named for a later release";
  EXPECT_EQ(desk.window(w)->rect, (platform::Rect{40, 50, 140, 150}));

  desk.setHung(w, false);
  EXPECT_EQ(desk.window(w)->rect, (platform::Rect{1, 22, 1 + 645, 22 + 408}))
      << "fitted once it answers";
  EXPECT_TRUE(hostedInFrame(w)) << "the release was not queued";
  desk.click(idx(ControlId::releaseBtn));
  EXPECT_TRUE(desk.getParent(w).isNull());
  EXPECT_TRUE(state().hostedWindow.isNull());
}

TEST_F(HungWindowTest, ALaunchedWindowIsTakenWhenItsProgramAnswers) {
  install("C:\\Tools\\a.exe", "Tool", 100);
  ASSERT_TRUE(loadEntry("C:\\Tools\\a.exe|Tool"));
  desk.advance(1000);
  const WindowHandle w = windowCaptioned("Tool");
  ASSERT_FALSE(w.isNull());
  desk.setHung(w, true);
  desk.advance(3000);
  EXPECT_FALSE(hostedInFrame(w));
  EXPECT_EQ(desk.waitsOnHungPrograms(), 0);
  EXPECT_TRUE(main.loader().waiting()) << "a window that does not answer is waited for";
  desk.setHung(w, false);
  desk.advance(2000);
  EXPECT_TRUE(hostedInFrame(w));
  EXPECT_EQ(desk.window(w)->rect, (platform::Rect{1, 22, 1 + 645, 22 + 408}));
  EXPECT_EQ(state().hostedWindow, w);
}

// ---- Leaving with a window whose program does not answer -------------------------

struct Exit {
  const char* name;
  std::function<void(sim::SimDesktop&)> run;
};

const Exit kExits[] = {
    {"close button",
     [](sim::SimDesktop& d) {
       d.controlMouseDown(model::index(ControlId::close_btn), 1, 0, 10, 10);
     }},
    {"Esc", [](sim::SimDesktop& d) { d.keyDown(platform::kVkEscape); }},
    {"close request", [](sim::SimDesktop& d) { d.closeFrame(); }},
};

TEST_F(HungWindowTest, EveryExitGivesBackWhatItCanAndEndsOnceTheRestHasGoneBack) {
  for (const Exit& exit : kExits) {
    SCOPED_TRACE(exit.name);
    sim::SimDesktop d;
    app::Main m{d.ports()};
    d.connect(m);
    d.start();
    const WindowHandle hung =
        d.createWindow(d.newProcess(), "Hung", platform::kWsVisible, {0, 0, 300, 200});
    const WindowHandle fine =
        d.createWindow(d.newProcess(), "Fine", platform::kWsVisible, {0, 0, 300, 200});
    m.loader().embed(hung);
    m.loader().embed(fine);
    d.setWindowPos(hung, platform::kHwndTop, 30, 40, 0, 0, platform::kSwpNoSize);
    d.setHung(hung, true);
    const platform::Rect frame = d.frameBounds();

    exit.run(d);
    EXPECT_EQ(d.waitsOnHungPrograms(), 0);
    EXPECT_FALSE(d.ended()) << "ended with a window that would die with it";
    EXPECT_FALSE(d.frameShown());
    EXPECT_TRUE(d.instanceReleased());
    EXPECT_TRUE(d.getParent(fine).isNull()) << "what answers goes back at once";
    EXPECT_EQ(d.getParent(hung), d.frameWindow());
    // Nothing else runs meanwhile: the task list's refresh neither.
    d.createWindow(d.newProcess(), "Newcomer");
    d.advance(3000);
    for (const platform::ListRow& row : m.control(ControlId::processList).rows) {
      EXPECT_NE(row.text, "Newcomer");
    }
    EXPECT_FALSE(d.ended());

    d.setHung(hung, false);
    d.advance(500);
    EXPECT_TRUE(d.ended());
    ASSERT_TRUE(d.isWindow(hung));
    EXPECT_TRUE(d.getParent(hung).isNull());
    // Where it stood on the screen.
    EXPECT_EQ(d.window(hung)->rect.left, frame.left + 30);
    EXPECT_EQ(d.window(hung)->rect.top, frame.top + 40);
  }
}

// The program answers the frame's question and stops answering inside the
// call that follows: the call's steps land together when it answers.
TEST_F(HungWindowTest, AProgramThatHangsInsideARestyleGetsItsAlphaWithIt) {
  const WindowHandle faded = listAndSelect(opened("Faded"));
  desk.hangInNextCall(faded);
  desk.keyDown('5');
  desk.setHung(faded, false);
  EXPECT_EQ(desk.layeredAlpha(faded), std::optional<std::uint8_t>(160))
      << "layered without an alpha: not drawn at all";

  const WindowHandle through = listAndSelect(opened("Click-through"));
  desk.hangInNextCall(through);
  desk.click(idx(ControlId::penetrate_btn));
  desk.setHung(through, false);
  EXPECT_EQ(exStyle(through), platform::kWsExLayered | platform::kWsExTransparent);
  EXPECT_EQ(desk.layeredAlpha(through), std::optional<std::uint8_t>(255));
}

TEST_F(HungWindowTest, AWindowThatHangsOnItsWayOutLandsWhereItStoodBeforeTheEnd) {
  for (const Exit& exit : {kExits[0], kExits[2]}) {
    SCOPED_TRACE(exit.name);
    sim::SimDesktop d;
    app::Main m{d.ports()};
    d.connect(m);
    d.start();
    const WindowHandle slow =
        d.createWindow(d.newProcess(), "Slow", platform::kWsVisible, {0, 0, 300, 200});
    m.loader().embed(slow);
    d.setWindowPos(slow, platform::kHwndTop, 30, 40, 0, 0, platform::kSwpNoSize);
    const platform::Rect frame = d.frameBounds();
    d.hangInNextCall(slow);

    exit.run(d);
    d.advance(3000);
    EXPECT_FALSE(d.ended()) << "ended with the window still on its way out";
    d.setHung(slow, false);
    d.advance(500);
    EXPECT_TRUE(d.ended());
    EXPECT_TRUE(d.getParent(slow).isNull());
    EXPECT_EQ(d.window(slow)->rect.left, frame.left + 30);
    EXPECT_EQ(d.window(slow)->rect.top, frame.top + 40);
  }
}

TEST_F(HungWindowTest, LeavingEndsWhenTheHungProgramEnds) {
  const WindowHandle w = hosted("Hung");
  desk.setHung(w, true);
  desk.closeFrame();
  ASSERT_FALSE(desk.ended());
  desk.endProcess(desk.window(w)->process);
  desk.advance(500);
  EXPECT_TRUE(desk.ended());
}

// ---- Windows gone between being listed and being acted on ---------------------

TEST_F(HungWindowTest, AWindowGoneSinceItWasListedChangesNothingAndItsRowGoes) {
  const Operation operations[] = {
      {"load", [](sim::SimDesktop& d) { d.click(model::index(ControlId::loadBtn)); }},
      {"click-through",
       [](sim::SimDesktop& d) { d.click(model::index(ControlId::penetrate_btn)); }},
      {"opacity", [](sim::SimDesktop& d) { d.keyDown('5'); }},
      {"bring to front",
       [](sim::SimDesktop& d) { d.click(model::index(ControlId::bringTopMostBtn)); }},
      {"release", [](sim::SimDesktop& d) { d.click(model::index(ControlId::releaseBtn)); }},
  };
  const WindowHandle bystander = desk.createWindow(desk.newProcess(), "Bystander");
  for (const Operation& op : operations) {
    SCOPED_TRACE(op.name);
    const WindowHandle w = listAndSelect(opened("Gone"));
    desk.destroyWindow(w);
    op.run(desk);
    EXPECT_FALSE(isTopMost(bystander));
    EXPECT_TRUE(desk.getParent(bystander).isNull());
    EXPECT_EQ(exStyle(bystander), 0u);
    EXPECT_EQ(text(ControlId::penetrate_btn), "穿透");
    EXPECT_FALSE(uiSaved());
    EXPECT_FALSE(desk.layeredAlpha(desk.frameWindow()));
    EXPECT_TRUE(desk.foreignChildren(desk.frameWindow()).empty());
  }
  desk.advance(1500);
  for (const platform::ListRow& row : control(ControlId::processList).rows) {
    EXPECT_NE(row.text, "Gone");
  }
  EXPECT_EQ(control(ControlId::processList).selected, -1);
}

TEST_F(HungWindowTest, AHostedWindowGoneWithItsProgramIsNoLongerHosted) {
  const WindowHandle w = hosted("Hosted");
  desk.destroyWindow(w);
  desk.click(idx(ControlId::releaseBtn));
  EXPECT_TRUE(state().hostedWindow.isNull());
  // With nothing hosted, the digit keys fade the selected window.
  const WindowHandle other = listAndSelect(opened("Other"));
  desk.keyDown('5');
  EXPECT_EQ(desk.layeredAlpha(other), std::optional<std::uint8_t>(160));
  EXPECT_FALSE(desk.layeredAlpha(desk.frameWindow()));
}

}  // namespace
}  // namespace vitrolux::testing
