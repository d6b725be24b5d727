// The simulated window tree: top-level windows in one z-order with a
// top-most band, children in z-order under their parent, positions relative
// to the parent's client area, styles, layered alpha and messages.
#include <algorithm>
#include <utility>

#include "sim/sim_impl.h"

namespace vitrolux::sim {

using platform::kWsExLayered;
using platform::kWsExTopMost;

namespace {

constexpr unsigned kSwpHideWindow = 0x0080;
constexpr std::uint32_t kLwaAlpha = 0x2;

bool isTopMost(const SimWindow& w) {
  return (w.exStyle & kWsExTopMost) != 0;
}

}  // namespace

// ---- Impl helpers ---------------------------------------------------------

std::vector<WindowHandle>& SimDesktop::Impl::siblingsOf(const SimWindow& window) {
  if (window.parent.isNull()) return topLevel;
  return children[window.parent.value()];
}

std::size_t SimDesktop::Impl::topOfBand(bool topMost) const {
  if (topMost) return 0;
  // The first window that is not top-most; windows whose flag was changed
  // behind SetWindowPos's back keep their place until they are moved.
  std::size_t i = 0;
  while (i < topLevel.size()) {
    auto it = windows.find(topLevel[i].value());
    if (it == windows.end() || !isTopMost(it->second)) break;
    ++i;
  }
  return i;
}

void SimDesktop::Impl::unlink(const SimWindow& window) {
  std::vector<WindowHandle>& list = siblingsOf(window);
  list.erase(std::remove(list.begin(), list.end(), window.handle), list.end());
}

void SimDesktop::Impl::destroyTree(WindowHandle handle) {
  auto it = windows.find(handle.value());
  if (it == windows.end()) return;
  // Children first, as the window system destroys them.
  const std::vector<WindowHandle> kids = children[handle.value()];
  for (WindowHandle kid : kids) destroyTree(kid);
  children.erase(handle.value());
  unlink(it->second);
  windows.erase(it);
}

bool SimDesktop::Impl::isAncestor(WindowHandle ancestor, WindowHandle window) const {
  for (auto it = windows.find(window.value()); it != windows.end();
       it = windows.find(it->second.parent.value())) {
    if (it->second.parent == ancestor) return true;
    if (it->second.parent.isNull()) return false;
  }
  return false;
}

// ---- Test-side window management ----------------------------------------

WindowHandle SimDesktop::createWindow(ProcessId process, const std::string& caption,
                                      std::uint32_t style, Rect rect) {
  SimWindow w;
  w.handle = WindowHandle{impl_->nextHandle};
  impl_->nextHandle += 4;
  w.process = process;
  w.caption = caption;
  w.style = style;
  w.rect = rect;
  w.awareness = awarenessOfProcess(process);
  const WindowHandle handle = w.handle;
  const bool topMost = isTopMost(w);
  impl_->windows.emplace(handle.value(), std::move(w));
  impl_->topLevel.insert(
      impl_->topLevel.begin() + static_cast<std::ptrdiff_t>(impl_->topOfBand(topMost)), handle);
  reportWindowChange(handle);
  return handle;
}

void SimDesktop::setWindowText(WindowHandle handle, const std::string& caption) {
  SimWindow* w = window(handle);
  if (w == nullptr) return;
  w->caption = caption;
  reportWindowChange(handle);
}

void SimDesktop::reportWindowChange(WindowHandle handle) {
  const SimWindow* w = window(handle);
  if (!impl_->watching || ended_ || events_ == nullptr || w == nullptr || !w->parent.isNull()) {
    return;
  }
  impl_->windowEvents.push_back(handle);
}

bool SimDesktop::watchTopLevelWindows(bool on) {
  impl_->watching = on;
  if (!on) impl_->windowEvents.clear();
  return true;
}

bool SimDesktop::watchingTopLevelWindows() const {
  return impl_->watching;
}

WindowHandle SimDesktop::createChildWindow(WindowHandle parent, ProcessId process,
                                           const std::string& caption, Rect rect) {
  if (window(parent) == nullptr) return {};
  SimWindow w;
  w.handle = WindowHandle{impl_->nextHandle};
  impl_->nextHandle += 4;
  w.process = process;
  w.caption = caption;
  w.style = platform::kWsChild | platform::kWsVisible;
  w.parent = parent;
  w.rect = rect;
  w.awareness = awarenessOfProcess(process);
  std::vector<WindowHandle>& kids = impl_->children[parent.value()];
  kids.insert(kids.begin(), w.handle);
  const WindowHandle handle = w.handle;
  impl_->windows.emplace(handle.value(), std::move(w));
  return handle;
}

void SimDesktop::destroyWindow(WindowHandle handle) {
  impl_->destroyTree(handle);
}

SimWindow* SimDesktop::window(WindowHandle handle) {
  auto it = impl_->windows.find(handle.value());
  return it == impl_->windows.end() ? nullptr : &it->second;
}

const SimWindow* SimDesktop::window(WindowHandle handle) const {
  auto it = impl_->windows.find(handle.value());
  return it == impl_->windows.end() ? nullptr : &it->second;
}

std::vector<WindowHandle> SimDesktop::topLevelWindows() const {
  return impl_->topLevel;
}

// ---- Hung programs ----------------------------------------------------------

void SimDesktop::setHung(WindowHandle handle, bool hung) {
  SimWindow* w = window(handle);
  if (w == nullptr) return;
  w->hung = hung;
  if (hung) return;
  impl_->hangInNextCall.erase(handle.value());
  // The program reads its messages again: what waited for it happens now.
  const std::vector<Impl::HeldCall> held = std::exchange(impl_->heldCalls[handle.value()], {});
  impl_->heldCalls.erase(handle.value());
  for (const Impl::HeldCall& kept : held) kept.call();
}

void SimDesktop::hangInNextCall(WindowHandle window) {
  if (this->window(window) != nullptr) impl_->hangInNextCall.insert(window.value());
}

bool SimDesktop::callUnderWay(WindowHandle window) {
  const auto it = impl_->heldCalls.find(window.value());
  if (it == impl_->heldCalls.end()) return false;
  return std::any_of(it->second.begin(), it->second.end(),
                     [](const Impl::HeldCall& held) { return held.waits; });
}

int SimDesktop::waitsOnHungPrograms() const {
  return impl_->waitsOnHung;
}

bool SimDesktop::holdForHungProgram(WindowHandle handle, bool waits, std::function<void()> call) {
  SimWindow* w = window(handle);
  if (w == nullptr) return false;
  if (waits && impl_->hangInNextCall.erase(handle.value()) > 0) w->hung = true;
  if (!w->hung) return false;
  if (waits) ++impl_->waitsOnHung;
  impl_->heldCalls[handle.value()].push_back({waits, std::move(call)});
  return true;
}

// ---- platform::DesktopPort ---------------------------------------------------

bool SimDesktop::windowAnswers(WindowHandle handle, unsigned /*timeoutMilliseconds*/) {
  const SimWindow* w = window(handle);
  return w != nullptr && !w->hung;
}

WindowHandle SimDesktop::findWindow(const std::string& caption) {
  // FindWindow compares the whole caption without regard to case, and looks
  // at top-level windows only, hidden ones included.
  const std::string wanted = foldCase(caption);
  for (WindowHandle h : impl_->topLevel) {
    const SimWindow* w = window(h);
    if (w != nullptr && foldCase(w->caption) == wanted) return h;
  }
  return {};
}

bool SimDesktop::refusesChanges(WindowHandle handle) const {
  const SimWindow* w = window(handle);
  return w != nullptr && impl_->higherRights.count(w->process.value()) != 0;
}

bool SimDesktop::setWindowPos(WindowHandle handle, WindowHandle insertAfter, int x, int y, int cx,
                              int cy, unsigned flags) {
  // User Interface Privilege Isolation: a program with more rights keeps
  // its windows to itself.
  if (refusesChanges(handle)) return false;
  const bool async = (flags & platform::kSwpAsyncWindowPos) != 0;
  flags &= ~platform::kSwpAsyncWindowPos;
  if (holdForHungProgram(handle, !async,
                         [=, this] { setWindowPos(handle, insertAfter, x, y, cx, cy, flags); })) {
    // An asynchronous request is queued, which is all its call reports.
    return async;
  }
  SimWindow* w = window(handle);
  if (w == nullptr) return false;
  const Rect before = w->rect;
  if ((flags & platform::kSwpNoMove) == 0) {
    w->rect = Rect{x, y, x + before.width(), y + before.height()};
  }
  if ((flags & platform::kSwpNoSize) == 0) {
    w->rect.right = w->rect.left + std::max(cx, 0);
    w->rect.bottom = w->rect.top + std::max(cy, 0);
  }
  const bool shown =
      (flags & platform::kSwpShowWindow) != 0 && (w->style & platform::kWsVisible) == 0;
  if ((flags & platform::kSwpShowWindow) != 0) w->style |= platform::kWsVisible;
  if ((flags & kSwpHideWindow) != 0) w->style &= ~platform::kWsVisible;

  // Without SWP_NOACTIVATE the window is activated, and activation brings
  // it to the top of its band: under SWP_NOZORDER too, and in place of any
  // insert-after but the two top-most ones. A WS_CHILD window is never
  // activated. (Documented with SetWindowPos; measured under Wine.)
  // Activation itself is not modelled.
  const bool activates =
      (flags & (platform::kSwpNoActivate | kSwpHideWindow)) == 0 &&
      (w->style & (platform::kWsPopup | platform::kWsChild)) != platform::kWsChild;
  if (activates &&
      ((flags & platform::kSwpNoZOrder) != 0 ||
       (insertAfter != platform::kHwndTopMost && insertAfter != platform::kHwndNoTopMost))) {
    flags &= ~platform::kSwpNoZOrder;
    insertAfter = platform::kHwndTop;
  }

  if ((flags & platform::kSwpNoZOrder) == 0 && insertAfter != handle) {
    std::vector<WindowHandle>& list = impl_->siblingsOf(*w);
    const bool topLevel = w->parent.isNull();
    if (insertAfter == platform::kHwndNoTopMost && (!topLevel || !isTopMost(*w))) {
      // Documented: no effect on a window that is not top-most.
    } else {
      impl_->unlink(*w);
      std::size_t at = 0;
      if (insertAfter == platform::kHwndTopMost) {
        if (topLevel) w->exStyle |= kWsExTopMost;
      } else if (insertAfter == platform::kHwndNoTopMost) {
        w->exStyle &= ~kWsExTopMost;
        at = impl_->topOfBand(false);
      } else if (insertAfter == platform::kHwndTop) {
        at = topLevel ? impl_->topOfBand(isTopMost(*w)) : 0;
      } else if (insertAfter == platform::kHwndBottom) {
        // The bottom of everything, which a top-most window cannot keep.
        w->exStyle &= ~kWsExTopMost;
        at = list.size();
      } else {
        auto after = std::find(list.begin(), list.end(), insertAfter);
        at = after == list.end() ? 0 : static_cast<std::size_t>(after - list.begin()) + 1;
        if (topLevel) {
          // The window takes the band of the place it lands in.
          const SimWindow* above = window(insertAfter);
          const bool inTopBand = above != nullptr && isTopMost(*above);
          if (inTopBand) {
            w->exStyle |= kWsExTopMost;
          } else {
            w->exStyle &= ~kWsExTopMost;
            at = std::max(at, impl_->topOfBand(false));
          }
        }
      }
      list.insert(list.begin() + static_cast<std::ptrdiff_t>(std::min(at, list.size())), handle);
    }
  }

  if (shown) reportWindowChange(handle);
  const bool resized = w->rect.width() != before.width() || w->rect.height() != before.height();
  if (handle == impl_->frame && resized && !ended_ && events_ != nullptr) events_->onResize();
  return true;
}

bool SimDesktop::setParent(WindowHandle child, WindowHandle parent) {
  if (refusesChanges(child)) return false;
  if (holdForHungProgram(child, true, [=, this] { setParent(child, parent); })) return false;
  SimWindow* w = window(child);
  if (w == nullptr) return false;
  if (!parent.isNull()) {
    if (window(parent) == nullptr || parent == child || impl_->isAncestor(child, parent)) {
      return false;
    }
  }
  if (!parent.isNull() && !acceptsAwareness(parent, *w)) return false;
  // The rect is kept as numbers: relative to the new parent's client area,
  // or screen coordinates when the window goes back to the desktop.
  impl_->unlink(*w);
  w->parent = parent;
  if (parent.isNull()) {
    impl_->topLevel.insert(
        impl_->topLevel.begin() + static_cast<std::ptrdiff_t>(impl_->topOfBand(isTopMost(*w))),
        child);
  } else {
    std::vector<WindowHandle>& kids = impl_->children[parent.value()];
    kids.insert(kids.begin(), child);
    // A child of another program joins the two programs' input.
    const SimWindow* p = window(parent);
    if (p != nullptr && p->process != w->process && p->process == ownProcess()) {
      impl_->joinedInput.insert(w->process.value());
    }
    if (w->leavesEveryParent) {
      impl_->unlink(*w);
      w->parent = {};
      impl_->topLevel.insert(
          impl_->topLevel.begin() + static_cast<std::ptrdiff_t>(impl_->topOfBand(isTopMost(*w))),
          child);
    }
  }
  return true;
}

// ---- DPI awareness --------------------------------------------------------

DpiAwareness SimDesktop::awarenessOfProcess(ProcessId process) const {
  const auto it = impl_->awareness.find(process.value());
  if (it != impl_->awareness.end()) return it->second;
  return process == ownProcess() ? DpiAwareness::PerMonitorV2 : DpiAwareness::Unaware;
}

void SimDesktop::setAwareness(ProcessId process, DpiAwareness awareness) {
  impl_->awareness[process.value()] = awareness;
}

DpiAwareness SimDesktop::awarenessOf(WindowHandle handle) const {
  const SimWindow* w = window(handle);
  return w == nullptr ? DpiAwareness::Unaware : w->awareness;
}

void SimDesktop::setMixedDpiHosting(bool systemHasIt) {
  impl_->mixedDpiHosting = systemHasIt;
}

bool SimDesktop::acceptsAwareness(WindowHandle parent, SimWindow& child) {
  const SimWindow* p = window(parent);
  if (p == nullptr || p->awareness == child.awareness || p->hostsAnyAwareness) return true;
  // Windows 10 1703 and later refuse it within a process
  // (ERROR_INVALID_STATE), and reset the awareness of the child's whole
  // program when it is another one.
  if (p->process == child.process) return false;
  impl_->awareness[child.process.value()] = p->awareness;
  for (auto& [value, w] : impl_->windows) {
    if (w.process == child.process) w.awareness = p->awareness;
  }
  return true;
}

// ---- The input of hosted programs -------------------------------------------

bool SimDesktop::hostsWindowOf(ProcessId process) const {
  for (const auto& [value, w] : impl_->windows) {
    if (w.process == process && impl_->isAncestor(impl_->frame, w.handle)) return true;
  }
  return false;
}

bool SimDesktop::inputJoined(ProcessId process) const {
  if (impl_->joinedInput.count(process.value()) == 0) return false;
  // Windows recomputes the join when windows change parents; Wine keeps it
  // until it is undone.
  return impl_->separatesJoinedInput || hostsWindowOf(process);
}

bool SimDesktop::separateInput(ProcessId process) {
  if (!inputJoined(process)) return false;
  if (!impl_->separatesJoinedInput) return false;
  impl_->joinedInput.erase(process.value());
  return true;
}

void SimDesktop::setSeparatesJoinedInput(bool separates) {
  impl_->separatesJoinedInput = separates;
}

void SimDesktop::clickIntoHosted(WindowHandle handle) {
  const SimWindow* w = window(handle);
  if (w != nullptr && impl_->isAncestor(impl_->frame, handle)) impl_->keyboardIn = handle;
}

bool SimDesktop::setParentThenPos(WindowHandle child, WindowHandle parent, WindowHandle insertAfter,
                                  int x, int y, int cx, int cy, unsigned flags) {
  auto both = [=, this] {
    return setParent(child, parent) && setWindowPos(child, insertAfter, x, y, cx, cy, flags);
  };
  if (holdForHungProgram(child, true, [both] { both(); })) return false;
  return both();
}

bool SimDesktop::setExStyleThenAlpha(WindowHandle handle, std::uint32_t exStyle,
                                     std::optional<std::uint8_t> alpha) {
  if (refusesChanges(handle)) return false;
  auto both = [=, this] {
    SimWindow* w = window(handle);
    if (w == nullptr) return false;
    // Top-most can only change through SetWindowPos; the bit written is ignored.
    w->exStyle = (exStyle & ~kWsExTopMost) | (w->exStyle & kWsExTopMost);
    // A window that stops being layered loses its layered attributes.
    if ((w->exStyle & kWsExLayered) == 0) w->alpha.reset();
    return !alpha || setLayeredWindowAttributes(handle, 0, *alpha, kLwaAlpha);
  };
  if (holdForHungProgram(handle, true, [both] { both(); })) return false;
  return both();
}

bool SimDesktop::setParentThenPlacement(WindowHandle child, WindowHandle parent,
                                        const platform::Placement& placement) {
  auto both = [=, this] {
    return setParent(child, parent) && setWindowPlacement(child, placement);
  };
  if (refusesChanges(child)) return false;
  if (holdForHungProgram(child, true, [both] { both(); })) return false;
  return both();
}

void SimDesktop::setWindowState(WindowHandle handle, platform::WindowState state) {
  SimWindow* w = window(handle);
  if (w == nullptr) return;
  const bool wasNormal = (w->style & (platform::kWsMinimize | platform::kWsMaximize)) == 0;
  if (wasNormal) w->normal = w->rect;
  w->style &= ~(platform::kWsMinimize | platform::kWsMaximize);
  switch (state) {
    case platform::WindowState::Normal:
      w->rect = w->normal;
      break;
    case platform::WindowState::Minimized:
      w->style |= platform::kWsMinimize;
      // Where Windows parks a minimised top-level window.
      w->rect = Rect{-32000, -32000, -32000 + 160, -32000 + 28};
      break;
    case platform::WindowState::Maximized: {
      w->style |= platform::kWsMaximize;
      const std::optional<platform::Monitor> monitor =
          monitorFromRect(w->normal, platform::kMonitorDefaultToNearest);
      if (monitor) w->rect = monitor->workArea;
      break;
    }
  }
}

bool SimDesktop::setWindowPlacement(WindowHandle handle, const platform::Placement& placement) {
  if (refusesChanges(handle)) return false;
  if (holdForHungProgram(handle, true, [=, this] { setWindowPlacement(handle, placement); })) {
    return false;
  }
  SimWindow* w = window(handle);
  if (w == nullptr) return false;
  w->style &= ~(platform::kWsMinimize | platform::kWsMaximize);
  w->rect = placement.normal;
  setWindowState(handle, placement.state);
  if ((w->style & platform::kWsVisible) == 0) {
    // SW_SHOWNOACTIVATE and its kin show the window.
    w->style |= platform::kWsVisible;
    reportWindowChange(handle);
  }
  return true;
}

bool SimDesktop::restoreWindow(WindowHandle handle) {
  if (refusesChanges(handle)) return false;
  if (holdForHungProgram(handle, true, [=, this] { restoreWindow(handle); })) return false;
  SimWindow* w = window(handle);
  if (w == nullptr) return false;
  setWindowState(handle, platform::WindowState::Normal);
  if ((w->style & platform::kWsVisible) == 0) {
    w->style |= platform::kWsVisible;
    reportWindowChange(handle);
  }
  return true;
}

std::optional<platform::Placement> SimDesktop::windowPlacement(WindowHandle handle) {
  const SimWindow* w = window(handle);
  if (w == nullptr) return std::nullopt;
  if ((w->style & platform::kWsMinimize) != 0) {
    return platform::Placement{platform::WindowState::Minimized, w->normal};
  }
  if ((w->style & platform::kWsMaximize) != 0) {
    return platform::Placement{platform::WindowState::Maximized, w->normal};
  }
  return platform::Placement{platform::WindowState::Normal, w->rect};
}

WindowHandle SimDesktop::getParent(WindowHandle handle) {
  const SimWindow* w = window(handle);
  return w == nullptr ? WindowHandle{} : w->parent;
}

std::string SimDesktop::getClassName(WindowHandle handle) {
  const SimWindow* w = window(handle);
  return w == nullptr ? std::string{} : w->className;
}

WindowHandle SimDesktop::getOwner(WindowHandle handle) {
  const SimWindow* w = window(handle);
  return w == nullptr ? WindowHandle{} : w->owner;
}

bool SimDesktop::isCloaked(WindowHandle handle) {
  const SimWindow* w = window(handle);
  return w != nullptr && w->cloaked;
}

bool SimDesktop::ofHigherRights(WindowHandle handle) {
  return refusesChanges(handle);
}

std::int32_t SimDesktop::getWindowLong(WindowHandle handle, int index) {
  const SimWindow* w = window(handle);
  if (w == nullptr) return 0;
  if (index == platform::kGwlStyle) return static_cast<std::int32_t>(w->style);
  if (index == platform::kGwlExStyle) return static_cast<std::int32_t>(w->exStyle);
  return 0;
}

std::string SimDesktop::getWindowText(WindowHandle handle) {
  const SimWindow* w = window(handle);
  return w == nullptr ? std::string{} : w->caption;
}

bool SimDesktop::isWindow(WindowHandle handle) const {
  return window(handle) != nullptr;
}

bool SimDesktop::isWindowVisible(WindowHandle handle) const {
  const SimWindow* w = window(handle);
  if (w == nullptr) return false;
  for (; w != nullptr; w = w->parent.isNull() ? nullptr : window(w->parent)) {
    if ((w->style & platform::kWsVisible) == 0) return false;
  }
  return true;
}

std::optional<Rect> SimDesktop::windowRect(WindowHandle handle) {
  const SimWindow* w = window(handle);
  if (w == nullptr) return std::nullopt;
  // No window here has a non-client area that offsets its client origin:
  // each parent's window origin is its client origin.
  Rect r = w->rect;
  for (const SimWindow* p = window(w->parent); p != nullptr; p = window(p->parent)) {
    r.left += p->rect.left;
    r.right += p->rect.left;
    r.top += p->rect.top;
    r.bottom += p->rect.top;
  }
  return r;
}

namespace {

bool within(const Rect& r, platform::Point p) {
  return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

}  // namespace

WindowHandle SimDesktop::windowFromPoint(platform::Point at) const {
  constexpr std::uint32_t kClickThrough = kWsExLayered | platform::kWsExTransparent;
  // A window passed over takes everything inside it along.
  auto reachable = [&](const SimWindow& w, platform::Point p) {
    return (w.style & platform::kWsVisible) != 0 && (w.exStyle & kClickThrough) != kClickThrough &&
           within(w.rect, p);
  };
  WindowHandle found;
  platform::Point p = at;
  const std::vector<WindowHandle>* layer = &impl_->topLevel;
  while (layer != nullptr) {
    const std::vector<WindowHandle>* next = nullptr;
    for (WindowHandle h : *layer) {
      const SimWindow* w = window(h);
      if (w == nullptr || !reachable(*w, p)) continue;
      found = h;
      // Children are placed in their parent's client area, which here is
      // the whole window.
      p = platform::Point{p.x - w->rect.left, p.y - w->rect.top};
      auto kids = impl_->children.find(h.value());
      if (kids != impl_->children.end()) next = &kids->second;
      break;
    }
    layer = next;
  }
  return found;
}

std::optional<ProcessId> SimDesktop::windowProcess(WindowHandle handle) {
  const SimWindow* w = window(handle);
  if (w == nullptr) return std::nullopt;
  return w->process;
}

std::vector<WindowHandle> SimDesktop::foreignChildren(WindowHandle parent) {
  std::vector<WindowHandle> result;
  if (window(parent) == nullptr) return result;
  auto it = impl_->children.find(parent.value());
  if (it == impl_->children.end()) return result;
  for (WindowHandle kid : it->second) {
    const SimWindow* w = window(kid);
    if (w != nullptr && w->process != ownProcess()) result.push_back(kid);
  }
  return result;
}

bool SimDesktop::setLayeredWindowAttributes(WindowHandle handle, std::uint32_t /*colorKey*/,
                                            std::uint8_t alpha, std::uint32_t flags) {
  SimWindow* w = window(handle);
  if (w == nullptr || (w->exStyle & kWsExLayered) == 0 || refusesChanges(handle)) return false;
  if ((flags & kLwaAlpha) != 0) w->alpha = alpha;
  return true;
}

std::optional<std::uint8_t> SimDesktop::layeredAlpha(WindowHandle handle) const {
  const SimWindow* w = window(handle);
  if (w == nullptr || (w->exStyle & kWsExLayered) == 0) return std::nullopt;
  return w->alpha;
}

bool SimDesktop::isDrawn(WindowHandle handle) const {
  const SimWindow* w = window(handle);
  if (w == nullptr || !isWindowVisible(handle)) return false;
  const bool layered = (w->exStyle & kWsExLayered) != 0;
  if (w->drawsLayered) return layered;
  return !layered || w->alpha.has_value();
}

bool SimDesktop::postMessage(WindowHandle handle, unsigned message, std::uintptr_t wParam,
                             std::intptr_t lParam) {
  SimWindow* w = window(handle);
  if (w == nullptr) return false;
  w->received.push_back(Message{message, wParam, lParam, false});
  return true;
}

std::optional<std::intptr_t> SimDesktop::sendMessage(WindowHandle handle, unsigned message,
                                                     std::uintptr_t wParam, std::intptr_t lParam,
                                                     unsigned /*timeoutMilliseconds*/) {
  SimWindow* w = window(handle);
  // A hung window never gets to see the message: abort-if-hung gives up at once.
  if (w == nullptr || w->hung) return std::nullopt;
  w->received.push_back(Message{message, wParam, lParam, true});
  if (message == platform::kWmGetIcon && wParam == platform::kIconSmall) return w->smallIcon;
  if (message == platform::kWmSetIcon && wParam == platform::kIconSmall) {
    return std::exchange(w->smallIcon, lParam);
  }
  return 0;
}

std::vector<WindowHandle> SimDesktop::enumWindows() {
  return impl_->topLevel;
}

std::intptr_t SimDesktop::getClassLongPtr(WindowHandle handle, int index) {
  const SimWindow* w = window(handle);
  if (w == nullptr || index != platform::kGclpHIconSm) return 0;
  return w->classSmallIcon;
}

std::optional<platform::Size> SimDesktop::iconSize(platform::IconHandle icon) {
  auto it = impl_->icons.find(icon.value());
  if (it == impl_->icons.end()) return std::nullopt;
  return it->second;
}

platform::IconHandle SimDesktop::makeIcon(platform::Size size) {
  const std::intptr_t handle = impl_->nextIcon;
  impl_->nextIcon += 4;
  impl_->icons[handle] = size;
  return platform::IconHandle{handle};
}

namespace {

long long overlapArea(const Rect& a, const Rect& b) {
  const long long w = std::min<long long>(a.right, b.right) - std::max<long long>(a.left, b.left);
  const long long h = std::min<long long>(a.bottom, b.bottom) - std::max<long long>(a.top, b.top);
  return (w > 0 && h > 0) ? w * h : 0;
}

// Squared distance between two rectangles; 0 when they touch or overlap.
long long gapSquared(const Rect& a, const Rect& b) {
  const long long dx = std::max<long long>(
      {0, static_cast<long long>(b.left) - a.right, static_cast<long long>(a.left) - b.right});
  const long long dy = std::max<long long>(
      {0, static_cast<long long>(b.top) - a.bottom, static_cast<long long>(a.top) - b.bottom});
  return dx * dx + dy * dy;
}

}  // namespace

std::optional<platform::Monitor> SimDesktop::monitorFromRect(const Rect& rect, unsigned flags) {
  const std::vector<platform::Monitor> monitors = impl_->allMonitors();
  const platform::Monitor* best = nullptr;
  long long bestArea = 0;
  for (const platform::Monitor& m : monitors) {
    const long long area = overlapArea(rect, m.bounds);
    if (area > bestArea) {
      best = &m;
      bestArea = area;
    }
  }
  if (best != nullptr) return *best;
  if (flags != platform::kMonitorDefaultToNearest || monitors.empty()) return std::nullopt;
  best = &monitors.front();
  for (const platform::Monitor& m : monitors) {
    if (gapSquared(rect, m.bounds) < gapSquared(rect, best->bounds)) best = &m;
  }
  return *best;
}

}  // namespace vitrolux::sim
