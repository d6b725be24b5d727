// The simulated desktop: an in-memory window system that implements the
// ports for native tests. It models what the frame's logic relies on —
// top-level windows in z-order with first-match caption search, child
// positions relative to the parent's client area, style masks, layered
// alpha, the key-state "pressed since last query" bit, timers on a virtual
// clock with the system's minimum interval, and processes started from
// installed programs. Files and the code page are SimFiles and SimText, which
// it holds and which also stand on their own. The contract suite holds it to
// the real window system's behaviour.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "ports/frame_events.h"
#include "ports/ports.h"
#include "sim/sim_files.h"
#include "sim/sim_text.h"
#include "ui/application.h"
#include "ui/controls.h"

namespace vitrolux::sim {

using platform::ProcessId;
using platform::Rect;
using platform::WindowHandle;

struct Message {
  unsigned message = 0;
  std::uintptr_t wParam = 0;
  std::intptr_t lParam = 0;
  bool sent = false;  // true for a sent message, false for a posted one
};

// How a program takes the display's scale (its DPI awareness): not at all
// (the system scales its windows as pictures), once at start (the system
// DPI; scaled as pictures on displays of another scale), or per monitor
// (the frame, by its manifest).
enum class DpiAwareness { Unaware, System, PerMonitorV2 };

struct SimWindow {
  WindowHandle handle;
  ProcessId process;
  std::string caption;
  std::string className = "SimWindow";
  // The window that owns this one (a dialog's main window); null for none.
  WindowHandle owner;
  // Visible by its style, yet not on the screen (a suspended store app).
  bool cloaked = false;
  // Its program puts it back on the desktop whenever another program gives
  // it a parent (the change itself succeeds).
  bool leavesEveryParent = false;
  // Where the window stands when restored, while it is minimised or
  // maximised (WS_MINIMIZE, WS_MAXIMIZE); `rect` is then where it shows.
  Rect normal;
  std::uint32_t style = 0;
  std::uint32_t exStyle = 0;
  // Null for a top-level window. Read-only for tests: setParent also keeps
  // the z-order lists, which live in the desktop.
  WindowHandle parent;
  // Relative to the parent's client area; screen pixels for a top-level window.
  Rect rect;
  std::optional<std::uint8_t> alpha;  // set by setLayeredWindowAttributes
  // Taken from its program when it was made.
  DpiAwareness awareness = DpiAwareness::Unaware;
  // Made while its thread's DPI hosting behaviour was mixed: it may have
  // children of any awareness, each scaled by the system for itself.
  bool hostsAnyAwareness = false;
  // Its program draws it through UpdateLayeredWindow (a shaped or
  // translucent window), which only a window with WS_EX_LAYERED has: it
  // needs no alpha of anyone's, and shows nothing without the style.
  bool drawsLayered = false;
  std::intptr_t classSmallIcon = 0;
  std::intptr_t smallIcon = 0;  // the answer to WM_GETICON(ICON_SMALL)
  // The program has stopped reading its messages: sent messages time out,
  // and calls it would have to carry out wait (see SimDesktop::setHung).
  bool hung = false;
  std::vector<Message> received;
};

// A further window an installed program makes, on the virtual clock after
// its start.
struct ProgramWindow {
  std::string caption;
  std::string className = "ProgramWindow";
  std::uint32_t style = platform::kWsVisible | platform::kWsOverlappedWindow;
  std::uint32_t exStyle = 0;
  Rect rect{200, 150, 840, 630};
  int createAtMs = 0;
  // Shown then (SW_SHOWNORMAL), when it was made hidden; 0 for never.
  int showAtMs = 0;
  // The program closes it then; 0 for never.
  int closeAtMs = 0;
  // Owned by the program's window of this number in Program::windows; -1
  // for none.
  int owner = -1;
  platform::WindowState state = platform::WindowState::Normal;
  bool cloaked = false;
};

// What an installed program does when it is started.
struct Program {
  std::string caption;    // caption of the window it opens
  int windowDelayMs = 0;  // on the virtual clock, after the start
  std::uint32_t style = platform::kWsVisible | platform::kWsOverlappedWindow;
  bool opensWindow = true;
  // Where that window opens, in screen pixels.
  Rect rect{200, 150, 840, 630};
  // The process ends by itself this long after its start (0: it keeps
  // running), on the virtual clock; before its window is due, it never
  // shows one.
  int exitAfterMs = 0;
  // A launcher: it starts this installed program as soon as it starts (the
  // new process counts as started by it); empty for none.
  std::string launches;
  // Windows it makes besides the one above (which opensWindow = false
  // leaves out).
  std::vector<ProgramWindow> windows;
  // A console program: as on Windows, a console host process of its own,
  // started by it, shows its console (class "ConsoleWindowClass", captioned
  // with the program's path) while the program runs.
  bool console = false;
  // Asks to run as administrator: a start from here is refused for it.
  bool needsElevation = false;
  // Runs with more rights than the frame (as administrator): the system
  // refuses every change the frame would make to its windows.
  bool elevated = false;
};

struct Launch {
  std::string program;
  std::string commandLine;
  ProcessId process;
  platform::StartOptions options;  // the folder it really started in
};

struct ControlChange {
  enum class Kind { Changed, Added, Removed };
  int control = 0;
  platform::Property property = platform::Property::Caption;  // for Changed
  Kind kind = Kind::Changed;
};

class SimDesktop final : public platform::FramePort,
                         public platform::DesktopPort,
                         public platform::ProcessPort,
                         public platform::Toolkit {
 public:
  SimDesktop();
  ~SimDesktop() override;

  // Every port, for the logic under test.
  platform::Ports ports() { return {*this, *this, *this, files_, text_}; }
  SimFiles& files() { return files_; }
  const SimFiles& files() const { return files_; }

  // ---- Running the frame ------------------------------------------------

  // Connects the frame's logic; the desktop realises the controls (records
  // their changes) and raises the events.
  void connect(platform::Application& application);
  void connect(platform::FrameEvents& events, platform::ControlSet& controls,
               platform::FrameLook look);
  // What the real program does at start: creates the frame window with the
  // look's caption and client size at the current DPI, centred on the
  // screen, runs the load event, then, unless the program ended, shows the
  // frame and raises its first resize event.
  void start();
  bool ended() const { return ended_; }
  bool frameShown() const;

  // ---- Virtual clock ----------------------------------------------------

  std::int64_t now() const { return now_; }
  // Moves the clock on, raising every timer tick and program window that
  // falls due, in time order.
  void advance(int milliseconds);

  // ---- The user ---------------------------------------------------------

  // Each raises the event the real control raises; a control that is hidden
  // (or inside a hidden container) takes no input and raises nothing.
  void click(int control);
  void doubleClick(int control);
  // Replaces the text of a text box as typing would.
  void typeText(int control, const std::string& text);
  void selectRow(int control, int row);
  void setChecked(int control, bool checked);
  void controlMouseDown(int control, int button, int shift, float x, float y);
  // The pointer moves over the control. Moving over another control or the
  // frame's background, or off the frame (pointerLeavesFrame), reports the
  // leave of the control it was over first, as the window system tells a
  // control that asked to hear of it.
  void controlMouseMove(int control, int button, int shift, float x, float y);
  void pointerLeavesFrame();
  // A press on the frame's background gives it the mouse capture, as the
  // real frame takes it; the release gives it back.
  void frameMouseDown(int button, int shift, float x, float y);
  void frameMouseMove(int button, int shift, float x, float y);
  void frameMouseUp(int button, int shift, float x, float y);
  // Another window takes the mouse capture (a dialog, the user switching to
  // another program): the frame hears of it when it held the capture.
  void loseCapture();
  void frameDoubleClick();
  // Scrolls a list box so that this row shows first, as far as its rows go.
  void scrollList(int control, int topRow);
  void keyDown(int keyCode, int shift = 0);
  // A key pressed while a control has the keyboard focus: offered to the
  // frame first. True when the frame took it; otherwise the control has it.
  bool controlKeyDown(int control, int keyCode, int shift = 0);
  // A close request through the window system: the unload event, then,
  // unless it cancelled, the frame window's destroy event, then the frame
  // and every window that is still its descendant go away.
  void closeFrame();
  // The process dies of a fault.
  void crash();
  // Global keyboard: affects getAsyncKeyState. A key pressed while the
  // modifiers of a registered hot key are down (Ctrl, Alt, Shift, the
  // Windows keys; no others) is that hot key: its window hears of it, as
  // registered with a repeat of a held key not heard again.
  void pressKey(int virtualKey);
  void releaseKey(int virtualKey);
  // The modifiers go down in order, the key is pressed, all come up again.
  void pressChord(unsigned modifiers, int virtualKey);
  // Another program registers the chord as its hot key.
  void holdHotKeyElsewhere(unsigned modifiers, int virtualKey);
  // Whether the frame holds the chord as a hot key.
  bool frameHoldsHotKey(unsigned modifiers, int virtualKey) const;
  // The user moves the mouse pointer there (screen pixels): what
  // cursorPos() reads, and the last input. No mouse event is raised.
  void movePointer(platform::Point at);
  // The window that the pointer at this point would reach, as the system's
  // hit testing finds it: the deepest visible window there, from the top of
  // the z-order, passing over a layered WS_EX_TRANSPARENT window and every
  // window inside it. Null over the bare desktop.
  WindowHandle windowFromPoint(platform::Point at) const;

  // ---- Windows of other programs ---------------------------------------

  ProcessId ownProcess() const;
  ProcessId newProcess();
  // A top-level window, placed on top of the z-order (below the top-most
  // band unless it is top-most itself). Or a whole new process's window.
  WindowHandle createWindow(ProcessId process, const std::string& caption,
                            std::uint32_t style = platform::kWsVisible |
                                                  platform::kWsOverlappedWindow,
                            Rect rect = {100, 100, 500, 400});
  WindowHandle createChildWindow(WindowHandle parent, ProcessId process, const std::string& caption,
                                 Rect rect);
  void destroyWindow(WindowHandle window);
  // What the user's maximise, minimise and restore do to a top-level
  // window of another program.
  void setWindowState(WindowHandle window, platform::WindowState state);
  // Something the rest of the desktop does at that moment on the clock.
  void after(int milliseconds, std::function<void()> action);
  // The windows a process started from an installed program made, in the
  // order of its Program (the main window first), as they are made.
  std::vector<WindowHandle> windowsOf(ProcessId process) const;
  // A process runs with more rights than the frame (see Program::elevated).
  void setHigherRights(ProcessId process, bool higher);
  // Another program renames its window (SetWindowText).
  void setWindowText(WindowHandle window, const std::string& caption);
  // Null when there is no such window.
  SimWindow* window(WindowHandle handle);
  const SimWindow* window(WindowHandle handle) const;
  // Top-level windows, from the top of the z-order down.
  std::vector<WindowHandle> topLevelWindows() const;
  // What a user's tools see of a window.
  bool isWindow(WindowHandle window) const;
  bool isWindowVisible(WindowHandle window) const;
  // Alpha of a layered window, when it has one.
  std::optional<std::uint8_t> layeredAlpha(WindowHandle window) const;
  // Whether the user sees anything of it: visible, and, where it is
  // layered, given an alpha or drawn through the layered style by its
  // program. A window that becomes layered shows nothing until it has its
  // layered attributes, and one whose program draws it through the layered
  // style shows nothing once the style is gone.
  bool isDrawn(WindowHandle window) const;
  // True while the process has not ended.
  bool processAlive(ProcessId process) const;
  // Another program exits: its windows go away with it.
  void endProcess(ProcessId process);
  // A program stops reading its messages, or reads them again. While it is
  // hung, a call on its window that the real system has the window's thread
  // carry out (setParent, setExStyleThenAlpha, setWindowPos without
  // kSwpAsyncWindowPos) counts as a wait of the frame, reports failure and
  // is kept; an asynchronous setWindowPos is kept without a wait. What was
  // kept is carried out, in order, when the program answers again.
  void setHung(WindowHandle window, bool hung);
  // The program answers every question, and stops answering inside the next
  // call on the window that it has to carry out (setParent, a restyle, a
  // setWindowPos without kSwpAsyncWindowPos): that call and what follows
  // wait as for a hung program, until setHung(window, false).
  void hangInNextCall(WindowHandle window);
  // Calls that would have held the frame waiting for a hung program.
  int waitsOnHungPrograms() const;

  // ---- DPI awareness ------------------------------------------------------

  // The awareness of the windows the process makes from now on; a program
  // without a word about it in its manifest is unaware. The frame's own
  // process is per-monitor aware.
  void setAwareness(ProcessId process, DpiAwareness awareness);
  DpiAwareness awarenessOf(WindowHandle window) const;
  // Whether the system has the mixed DPI hosting behaviour (Windows 10 1803
  // and later, the default here). Where it has, the frame is made with it,
  // as the real program makes its frame; where it has not, a window of
  // another awareness becoming the frame's child either fails to (a window
  // of this process) or resets its whole program to the frame's awareness
  // (another program's), as SetParent's documentation lists.
  void setMixedDpiHosting(bool systemHasIt);

  // ---- The input of hosted programs ----------------------------------------

  // Whether the program's input is joined to the frame's: a window of it
  // became a child of a window of ours, and (Wine) it was not set apart.
  bool inputJoined(ProcessId process) const;
  // Windows refuses to undo the join while a window of that program is
  // hosted; with separatesJoinedInput (Wine's behaviour) it is undone, and
  // then the real frame sets a program that does not answer apart.
  bool separateInput(ProcessId process);
  void setSeparatesJoinedInput(bool separates);
  // The user clicks into a hosted window: the keyboard is there, in the
  // frame's joined input. A press on the frame's background then takes it
  // back, which tells that window first: while its program does not
  // answer, the press waits for it (counted in waitsOnHungPrograms) and
  // is carried out, whole, when it answers; unless its input is apart.
  void clickIntoHosted(WindowHandle window);
  // An icon of another program, of this natural size in pixels, for a
  // window's answer to WM_GETICON (SimWindow::smallIcon) or its class.
  platform::IconHandle makeIcon(platform::Size size);

  // ---- Programs and environment ----------------------------------------

  // A program file that startProcess can start; its path also exists as a
  // file. Bare names on the search path are registered with searchPath.
  void installProgram(const std::string& path, Program program);
  void addToSearchPath(const std::string& folder);
  const std::vector<Launch>& launches() const { return launches_; }
  // Processes started through the port that it has not been told to forget.
  std::size_t keptProcesses() const;
  void setEnvironment(const std::string& name, std::optional<std::string> value);

  // ---- Other settings of the simulated system ---------------------------

  void setAnotherInstanceRunning(bool running);
  // Whether the program released its instance (ProcessPort::releaseInstance).
  bool instanceReleased() const;
  // The display's scale. Once the frame shows, a change is what a move to a
  // display of another scale does: the frame's size in pixels follows the
  // scale, and the frame hears of it as a resize.
  void setDpi(int dpi);
  // One monitor of this size at (0, 0), its work area the whole of it.
  void setScreenSize(platform::Size size);
  // Several monitors, or one with a work area smaller than the screen; the
  // first is the primary one, which maximising fills.
  void setMonitors(std::vector<platform::Monitor> monitors);
  // How many rows a list box shows at once: its height over its row height
  // (twips; 334 where the model leaves it to the font).
  int listPageRows(int control) const;

  // ---- What the frame did -----------------------------------------------

  // What the user picks in the next Open dialogs for a program: a command
  // line, or nothing for Cancel (the default); and how many were shown.
  void answerProgramDialog(std::optional<platform::ProgramChoice> choice);
  void answerProgramDialog(const std::string& commandLine) {
    answerProgramDialog(platform::ProgramChoice{commandLine, {}});
  }
  int programDialogsShown() const;
  // Every message the frame asked to show the user, oldest first.
  const std::vector<std::string>& messagesShown() const;
  const std::vector<ControlChange>& controlChanges() const { return changes_; }
  platform::FrameCursor frameCursor() const;
  bool frameHoldsCapture() const;
  // Ids of system timers that run, with their intervals as requested.
  std::map<unsigned, unsigned> systemTimers() const;

  // ---- platform::Toolkit ------------------------------------------------
  void controlChanged(int index, platform::Property property) override;
  void controlAdded(int index) override;
  void controlRemoved(int index) override;

  // ---- platform::FramePort ---------------------------------------------
  WindowHandle frameWindow() const override;
  Rect frameBounds() const override;
  Rect frameNormalBounds() const override;
  platform::WindowState frameState() const override;
  // Also what the user's minimise, restore and maximise do.
  void setFrameState(platform::WindowState state) override;
  int dpi() const override;
  std::int64_t nowMs() const override;
  void setFrameCursor(platform::FrameCursor cursor) override;
  // The frame hears that it lost the capture, when it held it.
  void releaseCapture() override;
  void endProgram() override;
  // The frame window loses WS_VISIBLE; frameShown() turns false.
  void hideFrame() override;
  std::optional<platform::ProgramChoice> chooseProgram(const std::string& title,
                                                       const std::string& filterName) override;
  void showMessage(const std::string& text) override;
  // Refuses the id 0, as SetTimer's documentation asks for a nonzero one.
  bool setSystemTimer(unsigned id, unsigned milliseconds) override;
  bool killSystemTimer(unsigned id) override;
  // Recorded among the frame window's received messages; the sizing loop
  // that WM_NCLBUTTONDOWN starts on a real system is not run.
  std::intptr_t sendFrameMessage(unsigned message, std::uintptr_t wParam,
                                 std::intptr_t lParam) override;
  // Refused when any program holds the chord already.
  bool registerHotKey(unsigned id, unsigned modifiers, unsigned virtualKey) override;
  void unregisterHotKey(unsigned id) override;
  platform::Point cursorPos() const override;

  // ---- platform::DesktopPort -------------------------------------------
  WindowHandle findWindow(const std::string& caption) override;
  // True for a window that exists and whose program is not hung.
  bool windowAnswers(WindowHandle window, unsigned timeoutMilliseconds) override;
  bool setWindowPos(WindowHandle window, WindowHandle insertAfter, int x, int y, int cx, int cy,
                    unsigned flags) override;
  bool setParent(WindowHandle child, WindowHandle parent) override;
  bool setParentThenPos(WindowHandle child, WindowHandle parent, WindowHandle insertAfter, int x,
                        int y, int cx, int cy, unsigned flags) override;
  bool setExStyleThenAlpha(WindowHandle window, std::uint32_t exStyle,
                           std::optional<std::uint8_t> alpha) override;
  // True while a call that waited for a hung program is kept for it.
  bool callUnderWay(WindowHandle window) override;
  bool setParentThenPlacement(WindowHandle child, WindowHandle parent,
                              const platform::Placement& placement) override;
  bool setWindowPlacement(WindowHandle window, const platform::Placement& placement) override;
  bool restoreWindow(WindowHandle window) override;
  std::optional<platform::Placement> windowPlacement(WindowHandle window) override;
  std::int32_t getWindowLong(WindowHandle window, int index) override;
  std::string getWindowText(WindowHandle window) override;
  std::string getClassName(WindowHandle window) override;
  WindowHandle getOwner(WindowHandle window) override;
  // The parent window, null for a top-level window.
  WindowHandle getParent(WindowHandle window) override;
  bool isCloaked(WindowHandle window) override;
  bool ofHigherRights(WindowHandle window) override;
  std::optional<Rect> windowRect(WindowHandle window) override;
  std::optional<ProcessId> windowProcess(WindowHandle window) override;
  std::vector<WindowHandle> foreignChildren(WindowHandle parent) override;
  bool setLayeredWindowAttributes(WindowHandle window, std::uint32_t colorKey, std::uint8_t alpha,
                                  std::uint32_t flags) override;
  bool postMessage(WindowHandle window, unsigned message, std::uintptr_t wParam,
                   std::intptr_t lParam) override;
  std::optional<std::intptr_t> sendMessage(WindowHandle window, unsigned message,
                                           std::uintptr_t wParam, std::intptr_t lParam,
                                           unsigned timeoutMilliseconds) override;
  std::optional<platform::Monitor> monitorFromRect(const Rect& rect, unsigned flags) override;
  // Reports creation, showing and renaming, as Windows does (Wine reports
  // creation only: the logic must not need more). The reports are queued
  // and arrive when the clock next runs.
  bool watchTopLevelWindows(bool on) override;
  bool watchingTopLevelWindows() const;
  std::optional<std::uint32_t> lastInputTime() override;
  // How often getAsyncKeyState was asked, for tests of the poll's cost.
  int keyStateQueries() const;
  std::int16_t getAsyncKeyState(int virtualKey) override;
  std::vector<WindowHandle> enumWindows() override;
  std::intptr_t getClassLongPtr(WindowHandle window, int index) override;
  std::optional<platform::Size> iconSize(platform::IconHandle icon) override;

  // ---- platform::ProcessPort -------------------------------------------
  std::optional<std::string> findProgram(const std::string& name) override;
  platform::StartResult startProcess(const std::string& program, const std::string& commandLine,
                                     const platform::StartOptions& options) override;
  bool processEnded(ProcessId process) override;
  std::vector<ProcessId> processTree(ProcessId root) override;
  void forgetProcess(ProcessId process) override;
  std::optional<std::string> environment(const std::string& name) override;
  bool anotherInstanceRunning() override;
  void releaseInstance() override;

 private:
  void reportWindowChange(WindowHandle window);
  // The mouse reaches the frame and its controls: not while the frame lets
  // it through, unless the frame holds the capture.
  bool frameTakesMouse() const;
  // A process of an installed program, started by `parent`.
  ProcessId spawn(const Program& program, const std::string& path, ProcessId parent);
  // A window of an installed program's process, made now.
  WindowHandle makeProgramWindow(ProcessId process, const ProgramWindow& made,
                                 WindowHandle owner = {});
  // Whether the window's program refuses the frame's changes.
  bool refusesChanges(WindowHandle window) const;
  // For a hung program's window: keeps the call for when it answers again
  // (counting a wait of the frame when `waits`) and returns true. A program
  // set to hang in its next call hangs here when the call waits.
  bool holdForHungProgram(WindowHandle window, bool waits, std::function<void()> call);

  DpiAwareness awarenessOfProcess(ProcessId process) const;
  // Whether `child` may become a child of `parent` as their awareness goes;
  // resets the child's program where the system does.
  bool acceptsAwareness(WindowHandle parent, SimWindow& child);
  bool hostsWindowOf(ProcessId process) const;

  struct Impl;
  std::unique_ptr<Impl> impl_;  // keeps the model's containers out of this header
  SimFiles files_;
  SimText text_;
  platform::FrameEvents* events_ = nullptr;
  platform::ControlSet* controls_ = nullptr;
  platform::FrameLook look_;
  std::int64_t now_ = 0;
  bool ended_ = false;
  std::vector<Launch> launches_;
  std::vector<ControlChange> changes_;

  // A list box shows no further than its last page.
  void keepTopInPage(int control);
};

}  // namespace vitrolux::sim
