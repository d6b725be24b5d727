#include "tasks/icon_strip.h"

#include <algorithm>
#include <optional>
#include <string>

#include "model/layout.h"
#include "model/text.h"
#include "ui/guard.h"
#include "ui/twips.h"

namespace vitrolux::tasks {
namespace {

namespace text = model::text;

// The column left of the list, in twips: slot 1 level with the list's top,
// one row height further down for each slot.
constexpr double kIconLeft = 360;
constexpr double kFirstIconTop = 3480;
// An icon taller than a row is shown clipped to this box.
constexpr double kClippedWidth = 334;
constexpr double kClippedHeight = 250;

// Short: the frame waits for it up to seven times per refresh. A program
// that misses it shows no icon until a later refresh.
constexpr unsigned kIconQueryTimeoutMs = 30;

bool isIconImage(const platform::Control& c) {
  return c.kind == platform::ControlKind::IconImage && c.name.starts_with(text::kIconImagePrefix);
}

}  // namespace

void IconStrip::removePic() {
  for (int i = 0; i < controls_.size(); ++i) {
    if (controls_.exists(i) && isIconImage(controls_[i])) {
      platform::guarded([&] { controls_.remove(i); });
    }
  }
}

void IconStrip::placeFor(const std::vector<platform::WindowHandle>& windows) {
  const int slots = std::min(kIconRows, static_cast<int>(windows.size()));
  for (int slot = 1; slot <= slots; ++slot) {
    const platform::WindowHandle window = windows[static_cast<std::size_t>(slot - 1)];
    platform::guarded([&] { addIcon(window, slot); });
  }
}

platform::IconHandle IconStrip::smallIcon(platform::WindowHandle window) {
  const std::optional<std::intptr_t> answer = desktop_.sendMessage(
      window, platform::kWmGetIcon, platform::kIconSmall, 0, kIconQueryTimeoutMs);
  // No answer at all: the window is gone, or its program has stopped
  // answering. It gets an empty image rather than a wait.
  if (!answer) return {};
  if (*answer != 0) return platform::IconHandle{*answer};
  return platform::IconHandle{desktop_.getClassLongPtr(window, platform::kGclpHIconSm)};
}

void IconStrip::addIcon(platform::WindowHandle window, int slot) {
  platform::IconHandle icon = smallIcon(window);
  std::optional<platform::Size> natural;
  if (!icon.isNull()) natural = desktop_.iconSize(icon);
  if (!natural) icon = {};

  platform::Control image;
  image.name = std::string(text::kIconImagePrefix) + std::to_string(slot);
  image.kind = platform::ControlKind::IconImage;
  image.back = model::kFrameColor;
  image.icon = icon;
  // The image takes its icon's own size, unscaled; one taller than a row is
  // clipped to a box that fits beside it.
  const int dpi = frame_.dpi();
  double width = natural ? platform::pixelsToTwips(natural->cx, dpi) : 0;
  double height = natural ? platform::pixelsToTwips(natural->cy, dpi) : 0;
  if (height > model::kTaskRowTwips) {
    width = kClippedWidth;
    height = kClippedHeight;
  }
  image.rect = {kIconLeft, kFirstIconTop + model::kTaskRowTwips * (slot - 1), width, height};
  controls_.create(std::move(image));
}

}  // namespace vitrolux::tasks
