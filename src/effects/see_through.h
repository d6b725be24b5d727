// The see-through mode: a global hot key turns the frame, with the window it
// hosts, into an overlay that every mouse action passes through, drawn
// faded, and the same hot key gives the frame back as it was. While it is
// see-through, the pointer resting on the frame shows it fully opaque until
// the pointer leaves.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "effects/opacity.h"
#include "model/hot_key.h"
#include "ports/desktop_port.h"
#include "ports/frame_port.h"
#include "ui/controls.h"

namespace vitrolux::effects {

// Ids among the frame's hot keys and among its system timers.
inline constexpr unsigned kSeeThroughHotKeyId = 1;
inline constexpr unsigned kPeekTimerId = 4;
// The pointer is looked at this often while see-through, and only then:
// each look wakes the program, which under Wine costs about a third of a
// millisecond. When it rests on the frame it is looked at again the moment
// its rest has lasted long enough, so the peek comes on time all the same.
inline constexpr unsigned kPointerLookMs = 250;
// How long the pointer rests on the frame before it shows, and how far it
// may stray meanwhile (the system's default hover rectangle).
inline constexpr std::int64_t kPeekRestMs = 500;
inline constexpr int kPeekRestSlopPixels = 4;
// The level of a see-through frame whose chosen level is fully opaque, or
// that has none.
inline constexpr std::uint8_t kSeeThroughLevel = 160;

class SeeThrough {
 public:
  SeeThrough(platform::ControlSet& controls, platform::FramePort& frame,
             platform::DesktopPort& desktop, const Opacity& opacity)
      : controls_(controls), frame_(frame), desktop_(desktop), opacity_(opacity) {}

  // Takes the hot key the user wrote (`setting`, empty for the default),
  // and names it in the pin's tool tip. A text that names no hot key is
  // reported and the default taken; a hot key another program holds is
  // reported, and the mode is then out of reach while the rest works on.
  void start(std::string_view setting);
  // For good, on the way out: the frame takes clicks again and the hot key
  // is free for another start of the program.
  void stop();

  void onHotKey(unsigned id);
  void onPeekTimer();
  // The frame was given a level: while see-through it shows its
  // see-through level (or, peeking, stays opaque) all the same.
  void onFrameLevelChanged();

  bool active() const { return active_; }
  bool peeking() const { return peeking_; }

 private:
  void enter();
  void leave();
  // When the pointer, found at a new place now, came to rest there at the
  // latest: at the last input (a move, or a key since).
  std::int64_t restSince(std::int64_t now) const;
  // The next look at the pointer comes this much later.
  void lookAgainIn(std::int64_t milliseconds);
  // The chosen level, unless it is fully opaque or none was chosen.
  std::uint8_t level() const;
  void show(std::uint8_t alpha);

  struct Rest {
    platform::Point at;
    std::int64_t since = 0;
  };

  platform::ControlSet& controls_;
  platform::FramePort& frame_;
  platform::DesktopPort& desktop_;
  const Opacity& opacity_;
  bool registered_ = false;
  bool active_ = false;
  bool peeking_ = false;
  // Of the two styles the mode sets, those the frame had before.
  std::uint32_t stylesBefore_ = 0;
  // Where and since when the pointer rests on the frame.
  std::optional<Rest> rest_;
  unsigned lookInterval_ = 0;
};

}  // namespace vitrolux::effects
