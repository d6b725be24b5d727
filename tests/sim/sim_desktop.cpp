// The simulated desktop's frame, virtual clock and user. Windows live in
// sim_windows.cpp; processes, files and text in sim_system.cpp.
#include "sim/sim_desktop.h"

#include <algorithm>
#include <utility>

#include "sim/sim_impl.h"
#include "ui/twips.h"

namespace vitrolux::sim {

using platform::WindowState;

namespace {

constexpr std::uint32_t kWsClipChildren = 0x02000000u;
constexpr std::uint32_t kWsMaximize = 0x01000000u;
constexpr std::uint32_t kWsMinimizeBox = 0x00020000u;
constexpr std::uint32_t kWsMaximizeBox = 0x00010000u;

// Where Windows keeps a minimised top-level window: (-32000, -32000), the
// size of a minimised caption.
constexpr Rect kParkedRect{-32000, -32000, -32000 + 160, -32000 + 28};

// Borderless but sizeable, as the real frame: no caption, and the sizing
// border is taken back into the client area.
constexpr std::uint32_t kFrameStyle = platform::kWsPopup | platform::kWsThickFrame |
                                      kWsClipChildren | platform::kWsSysMenu | kWsMinimizeBox |
                                      kWsMaximizeBox;

}  // namespace

SimDesktop::SimDesktop() : impl_(std::make_unique<Impl>()) {}
SimDesktop::~SimDesktop() = default;

// ---- Running the frame ----------------------------------------------------

void SimDesktop::connect(platform::Application& application) {
  connect(application, application.controls(), application.look());
}

void SimDesktop::connect(platform::FrameEvents& events, platform::ControlSet& controls,
                         platform::FrameLook look) {
  events_ = &events;
  controls_ = &controls;
  look_ = std::move(look);
  controls.attach(this);
}

void SimDesktop::start() {
  if (!impl_->frame.isNull() || ended_) return;
  const int width = platform::twipsToPixels(look_.widthTwips, impl_->dpi);
  const int height = platform::twipsToPixels(look_.heightTwips, impl_->dpi);
  const int left = (impl_->screen.cx - width) / 2;
  const int top = (impl_->screen.cy - height) / 2;
  impl_->frame = createWindow(ownProcess(), look_.caption, kFrameStyle,
                              Rect{left, top, left + width, top + height});
  // As the real program makes its frame: with the mixed DPI hosting
  // behaviour, where the system has it.
  window(impl_->frame)->hostsAnyAwareness = impl_->mixedDpiHosting;
  impl_->normalBounds = window(impl_->frame)->rect;
  if (events_ != nullptr) events_->onLoad();
  if (ended_) return;
  if (SimWindow* frame = window(impl_->frame)) frame->style |= platform::kWsVisible;
  if (events_ != nullptr) events_->onResize();
}

bool SimDesktop::frameShown() const {
  const SimWindow* frame = window(impl_->frame);
  return frame != nullptr && (frame->style & platform::kWsVisible) != 0;
}

// ---- Virtual clock --------------------------------------------------------

namespace {

// The next thing that falls due on the clock, at or before a limit.
struct Due {
  enum class Kind {
    None,
    ControlTimer,
    SystemTimer,
    ProgramWindow,
    ProgramExit,
    Scheduled
  } kind = Kind::None;
  std::int64_t time = 0;
  std::uint64_t armed = 0;
  std::int64_t id = 0;  // control index, system timer id, or index of the pending window

  void consider(Kind k, std::int64_t t, std::uint64_t a, std::int64_t i, std::int64_t limit) {
    if (t > limit) return;
    if (kind != Kind::None && (t > time || (t == time && a > armed))) return;
    *this = Due{k, t, a, i};
  }
};

}  // namespace

void SimDesktop::advance(int milliseconds) {
  const std::int64_t until = now_ + (milliseconds < 0 ? 0 : milliseconds);
  // One event at a time, looked up afresh each round: a handler may arm,
  // re-arm or stop any timer in between.
  for (;;) {
    Due next;
    Impl& s = *impl_;
    // What is already in the queue comes before anything the clock brings.
    if (!s.windowEvents.empty()) {
      const WindowHandle window = s.windowEvents.front();
      s.windowEvents.erase(s.windowEvents.begin());
      if (!ended_ && events_ != nullptr && s.watching) events_->onDesktopWindowChanged(window);
      continue;
    }
    if (!ended_) {
      for (const auto& [index, t] : s.controlTimers) {
        next.consider(Due::Kind::ControlTimer, t.due, t.armed, index, until);
      }
      for (const auto& [id, t] : s.systemTimers) {
        next.consider(Due::Kind::SystemTimer, t.due, t.armed, id, until);
      }
    }
    // Other programs keep running after ours has ended.
    for (std::size_t i = 0; i < s.pendingWindows.size(); ++i) {
      const auto& p = s.pendingWindows[i];
      next.consider(Due::Kind::ProgramWindow, p.due, p.armed, static_cast<std::int64_t>(i), until);
    }
    for (std::size_t i = 0; i < s.pendingExits.size(); ++i) {
      const auto& p = s.pendingExits[i];
      next.consider(Due::Kind::ProgramExit, p.due, p.armed, static_cast<std::int64_t>(i), until);
    }
    for (std::size_t i = 0; i < s.scheduled.size(); ++i) {
      const auto& p = s.scheduled[i];
      next.consider(Due::Kind::Scheduled, p.due, p.armed, static_cast<std::int64_t>(i), until);
    }
    if (next.kind == Due::Kind::None) break;
    if (next.time > now_) now_ = next.time;

    switch (next.kind) {
      case Due::Kind::ControlTimer: {
        // The next tick is booked before the handler runs, keeping this
        // arming; a handler that arms or stops the timer overrides it.
        Impl::Timer& t = s.controlTimers.at(static_cast<int>(next.id));
        t.due = now_ + timerPeriod(t.interval);
        if (events_ != nullptr) events_->onTimer(static_cast<int>(next.id));
        break;
      }
      case Due::Kind::SystemTimer: {
        Impl::Timer& t = s.systemTimers.at(static_cast<unsigned>(next.id));
        t.due = now_ + timerPeriod(t.interval);
        if (events_ != nullptr) events_->onSystemTimer(static_cast<unsigned>(next.id));
        break;
      }
      case Due::Kind::ProgramWindow: {
        const Impl::PendingWindow p = s.pendingWindows[static_cast<std::size_t>(next.id)];
        s.pendingWindows.erase(s.pendingWindows.begin() + static_cast<std::ptrdiff_t>(next.id));
        if (processAlive(p.process)) {
          makeProgramWindow(p.process, ProgramWindow{.caption = p.program.caption,
                                                     .style = p.program.style,
                                                     .rect = p.program.rect});
        }
        break;
      }
      case Due::Kind::Scheduled: {
        const std::function<void()> action =
            std::move(s.scheduled[static_cast<std::size_t>(next.id)].action);
        s.scheduled.erase(s.scheduled.begin() + static_cast<std::ptrdiff_t>(next.id));
        action();
        break;
      }
      case Due::Kind::ProgramExit: {
        const ProcessId process = s.pendingExits[static_cast<std::size_t>(next.id)].process;
        s.pendingExits.erase(s.pendingExits.begin() + static_cast<std::ptrdiff_t>(next.id));
        endProcess(process);
        break;
      }
      case Due::Kind::None:
        break;
    }
  }
  if (until > now_) now_ = until;
}

// ---- The user ---------------------------------------------------------------

namespace {

// Whether the control and every container it lies in are visible: a hidden
// control takes no input. Timers have no window at all.
bool takesInput(const platform::ControlSet* controls, int index) {
  if (controls == nullptr || index < 0 || index >= controls->size()) return false;
  if ((*controls)[index].kind == platform::ControlKind::Timer) return false;
  for (int i = index; i != platform::kNoContainer; i = (*controls)[i].container) {
    if (i < 0 || i >= controls->size() || !(*controls)[i].visible) return false;
  }
  return true;
}

}  // namespace

void SimDesktop::click(int control) {
  if (ended_ || !takesInput(controls_, control) || !frameTakesMouse()) return;
  events_->onClick(control);
}

void SimDesktop::doubleClick(int control) {
  if (ended_ || !takesInput(controls_, control) || !frameTakesMouse()) return;
  if ((*controls_)[control].kind == platform::ControlKind::ListBox) {
    events_->onControlDoubleClick(control);
  }
}

void SimDesktop::typeText(int control, const std::string& text) {
  if (ended_ || !takesInput(controls_, control)) return;
  controls_->noteUserText(control, text);
}

void SimDesktop::selectRow(int control, int row) {
  if (ended_ || !takesInput(controls_, control)) return;
  controls_->noteUserSelection(control, row);
}

void SimDesktop::setChecked(int control, bool checked) {
  if (ended_ || !takesInput(controls_, control)) return;
  controls_->noteUserChecked(control, checked);
}

void SimDesktop::controlMouseDown(int control, int button, int shift, float x, float y) {
  if (ended_ || !takesInput(controls_, control) || !frameTakesMouse()) return;
  events_->onControlMouseDown(control, button, shift, x, y);
}

void SimDesktop::controlMouseMove(int control, int button, int shift, float x, float y) {
  if (ended_ || !takesInput(controls_, control) || !frameTakesMouse()) return;
  if (impl_->pointerOn != control) pointerLeavesFrame();
  impl_->pointerOn = control;
  events_->onControlMouseMove(control, button, shift, x, y);
}

void SimDesktop::pointerLeavesFrame() {
  const int left = std::exchange(impl_->pointerOn, -1);
  if (left >= 0 && !ended_ && events_ != nullptr) events_->onControlMouseLeave(left);
}

void SimDesktop::frameMouseDown(int button, int shift, float x, float y) {
  if (ended_ || events_ == nullptr || !frameTakesMouse()) return;
  // Taking the keyboard from a hosted window tells it first.
  const WindowHandle focus = std::exchange(impl_->keyboardIn, {});
  const SimWindow* hosted = window(focus);
  if (hosted != nullptr && hosted->hung && inputJoined(hosted->process) &&
      !impl_->separatesJoinedInput) {
    ++impl_->waitsOnHung;
    impl_->heldCalls[focus.value()].push_back(
        {false, [=, this] { frameMouseDown(button, shift, x, y); }});
    return;
  }
  impl_->frameCapture = true;
  events_->onMouseDown(button, shift, x, y);
}

void SimDesktop::frameMouseMove(int button, int shift, float x, float y) {
  if (ended_ || events_ == nullptr || !frameTakesMouse()) return;
  pointerLeavesFrame();
  events_->onMouseMove(button, shift, x, y);
}

void SimDesktop::frameMouseUp(int button, int shift, float x, float y) {
  if (ended_ || events_ == nullptr || !frameTakesMouse()) return;
  events_->onMouseUp(button, shift, x, y);
  releaseCapture();
}

bool SimDesktop::frameTakesMouse() const {
  const SimWindow* frame = window(impl_->frame);
  if (frame == nullptr) return false;
  constexpr std::uint32_t kClickThrough = platform::kWsExLayered | platform::kWsExTransparent;
  return (frame->exStyle & kClickThrough) != kClickThrough || impl_->frameCapture;
}

void SimDesktop::movePointer(platform::Point at) {
  impl_->pointer = at;
  impl_->lastInput = static_cast<std::uint32_t>(now_);
}

platform::Point SimDesktop::cursorPos() const {
  return impl_->pointer;
}

void SimDesktop::loseCapture() {
  releaseCapture();
}

void SimDesktop::frameDoubleClick() {
  if (!ended_ && events_ != nullptr && frameTakesMouse()) events_->onDoubleClick();
}

void SimDesktop::scrollList(int control, int topRow) {
  if (ended_ || !takesInput(controls_, control)) return;
  const platform::Control& c = (*controls_)[control];
  if (c.kind != platform::ControlKind::ListBox) return;
  const int lastTop = std::max(0, static_cast<int>(c.rows.size()) - listPageRows(control));
  controls_->noteUserTopIndex(control, std::clamp(topRow, 0, lastTop));
}

void SimDesktop::keyDown(int keyCode, int shift) {
  if (!ended_ && events_ != nullptr) events_->onKeyDown(keyCode, shift);
}

bool SimDesktop::controlKeyDown(int control, int keyCode, int shift) {
  if (ended_ || !takesInput(controls_, control)) return false;
  return events_->onControlKeyDown(control, keyCode, shift);
}

void SimDesktop::closeFrame() {
  if (ended_) return;
  bool cancel = false;
  if (events_ != nullptr) events_->onUnload(cancel);
  // The unload handler may itself have ended the program, or kept the frame;
  // otherwise the frame's window is destroyed, which it hears about before
  // its children go.
  if (ended_ || cancel) return;
  if (events_ != nullptr) events_->onDestroy();
  endProgram();
}

void SimDesktop::crash() {
  if (ended_) return;
  if (events_ != nullptr) events_->onEmergencyExit();
  endProgram();
}

// ---- platform::FramePort ----------------------------------------------------

WindowHandle SimDesktop::frameWindow() const {
  return impl_->frame;
}

Rect SimDesktop::frameBounds() const {
  const SimWindow* frame = window(impl_->frame);
  return frame == nullptr ? Rect{} : frame->rect;
}

Rect SimDesktop::frameNormalBounds() const {
  if (impl_->frameState == WindowState::Minimized) return impl_->normalBounds;
  return frameBounds();
}

WindowState SimDesktop::frameState() const {
  return impl_->frameState;
}

void SimDesktop::setFrameState(WindowState state) {
  SimWindow* frame = window(impl_->frame);
  if (frame == nullptr || state == impl_->frameState) return;
  const WindowState old = impl_->frameState;
  if (old == WindowState::Normal) impl_->normalBounds = frame->rect;
  frame->style &= ~(platform::kWsMinimize | kWsMaximize);
  switch (state) {
    case WindowState::Maximized:
      frame->style |= kWsMaximize;
      frame->rect = Rect{0, 0, impl_->screen.cx, impl_->screen.cy};
      break;
    case WindowState::Minimized:
      // As Windows does, the iconic window is parked far off every screen;
      // restoring brings back the normal bounds.
      frame->style |= platform::kWsMinimize;
      frame->rect = kParkedRect;
      break;
    case WindowState::Normal:
      frame->rect = impl_->normalBounds;
      break;
  }
  impl_->frameState = state;
  if (!ended_ && events_ != nullptr) events_->onResize();
}

int SimDesktop::dpi() const {
  return impl_->dpi;
}

std::int64_t SimDesktop::nowMs() const {
  return now_;
}
void SimDesktop::setDpi(int dpi) {
  const int old = std::exchange(impl_->dpi, dpi);
  SimWindow* frame = window(impl_->frame);
  if (frame == nullptr || !frameShown() || ended_ || dpi == old || dpi <= 0) return;
  if (impl_->frameState == WindowState::Normal) {
    const auto scaled = [&](int pixels) { return (pixels * dpi + old / 2) / old; };
    frame->rect.right = frame->rect.left + scaled(frame->rect.width());
    frame->rect.bottom = frame->rect.top + scaled(frame->rect.height());
  }
  if (events_ != nullptr) events_->onResize();
}
void SimDesktop::setScreenSize(platform::Size size) {
  impl_->screen = size;
  impl_->monitors.clear();
}
void SimDesktop::setMonitors(std::vector<platform::Monitor> monitors) {
  impl_->monitors = std::move(monitors);
  if (!impl_->monitors.empty()) {
    const Rect& primary = impl_->monitors.front().bounds;
    impl_->screen = platform::Size{primary.width(), primary.height()};
  }
}

void SimDesktop::setFrameCursor(platform::FrameCursor cursor) {
  impl_->frameCursor = cursor;
}
platform::FrameCursor SimDesktop::frameCursor() const {
  return impl_->frameCursor;
}
void SimDesktop::releaseCapture() {
  if (!impl_->frameCapture) return;
  impl_->frameCapture = false;
  if (!ended_ && events_ != nullptr) events_->onCaptureLost();
}
bool SimDesktop::frameHoldsCapture() const {
  return impl_->frameCapture;
}

void SimDesktop::endProgram() {
  if (ended_) return;
  ended_ = true;
  // Our process dies: the frame goes, and with it every window still inside
  // it, whoever made them; our other windows go too.
  impl_->destroyTree(impl_->frame);
  std::vector<WindowHandle> own;
  for (const auto& [value, w] : impl_->windows) {
    if (w.process == ownProcess() && w.parent.isNull()) own.push_back(w.handle);
  }
  for (WindowHandle h : own) impl_->destroyTree(h);
  impl_->controlTimers.clear();
  impl_->systemTimers.clear();
  // A process's hot keys go with it.
  auto& hotKeys = impl_->hotKeys;
  hotKeys.erase(std::remove_if(hotKeys.begin(), hotKeys.end(),
                               [](const Impl::HotKey& h) { return h.frames; }),
                hotKeys.end());
  impl_->frameCapture = false;
  impl_->pointerOn = -1;
}

void SimDesktop::hideFrame() {
  if (SimWindow* frame = window(impl_->frame)) frame->style &= ~platform::kWsVisible;
}

void SimDesktop::after(int milliseconds, std::function<void()> action) {
  impl_->scheduled.push_back(
      Impl::Scheduled{now_ + std::max(milliseconds, 0), impl_->nextArming++, std::move(action)});
}

std::optional<platform::ProgramChoice> SimDesktop::chooseProgram(const std::string&,
                                                                 const std::string&) {
  ++impl_->programDialogs;
  return impl_->programChoice;
}

void SimDesktop::answerProgramDialog(std::optional<platform::ProgramChoice> choice) {
  impl_->programChoice = std::move(choice);
}

int SimDesktop::programDialogsShown() const {
  return impl_->programDialogs;
}

void SimDesktop::showMessage(const std::string& text) {
  impl_->messages.push_back(text);
}

const std::vector<std::string>& SimDesktop::messagesShown() const {
  return impl_->messages;
}

bool SimDesktop::setSystemTimer(unsigned id, unsigned milliseconds) {
  // SetTimer documents a nonzero identifier for a window's timer.
  if (window(impl_->frame) == nullptr || id == 0) return false;
  // Setting an existing id replaces it and restarts the delay.
  const int interval = static_cast<int>(milliseconds);
  impl_->systemTimers[id] =
      Impl::Timer{interval, now_ + timerPeriod(interval), impl_->nextArming++};
  return true;
}

bool SimDesktop::killSystemTimer(unsigned id) {
  return impl_->systemTimers.erase(id) > 0;
}

std::intptr_t SimDesktop::sendFrameMessage(unsigned message, std::uintptr_t wParam,
                                           std::intptr_t lParam) {
  SimWindow* frame = window(impl_->frame);
  if (frame == nullptr) return 0;
  frame->received.push_back(Message{message, wParam, lParam, true});
  return 0;
}

std::map<unsigned, unsigned> SimDesktop::systemTimers() const {
  std::map<unsigned, unsigned> result;
  for (const auto& [id, t] : impl_->systemTimers) result[id] = static_cast<unsigned>(t.interval);
  return result;
}

// ---- platform::Toolkit -----------------------------------------------------

int SimDesktop::listPageRows(int control) const {
  constexpr double kFontRowTwips = 334;
  if (controls_ == nullptr || control < 0 || control >= controls_->size()) return 1;
  const platform::Control& c = (*controls_)[control];
  const double row = c.rowHeight > 0 ? c.rowHeight : kFontRowTwips;
  return std::max(1, static_cast<int>(c.rect.height / row));
}

void SimDesktop::keepTopInPage(int control) {
  const platform::Control& c = (*controls_)[control];
  const int lastTop = std::max(0, static_cast<int>(c.rows.size()) - listPageRows(control));
  if (c.topIndex > lastTop) controls_->noteShownTopIndex(control, lastTop);
}

void SimDesktop::controlAdded(int index) {
  changes_.push_back(ControlChange{index, platform::Property::Caption, ControlChange::Kind::Added});
}

void SimDesktop::controlRemoved(int index) {
  changes_.push_back(
      ControlChange{index, platform::Property::Caption, ControlChange::Kind::Removed});
}

void SimDesktop::controlChanged(int index, platform::Property property) {
  changes_.push_back(ControlChange{index, property});
  if (controls_ != nullptr && index >= 0 && index < controls_->size() &&
      (*controls_)[index].kind == platform::ControlKind::ListBox &&
      (property == platform::Property::Rows || property == platform::Property::Selection)) {
    keepTopInPage(index);
  }
  if (property != platform::Property::Interval || controls_ == nullptr) return;
  if (index < 0 || index >= controls_->size()) return;
  const platform::Control& c = (*controls_)[index];
  if (c.kind != platform::ControlKind::Timer) return;
  if (c.interval > 0) {
    impl_->controlTimers[index] =
        Impl::Timer{c.interval, now_ + timerPeriod(c.interval), impl_->nextArming++};
  } else {
    impl_->controlTimers.erase(index);
  }
}

}  // namespace vitrolux::sim
