// The "ui.txt" line: whatever a hand-edited file holds, the reader applies
// nothing that would lose the frame, and a line the program writes reads
// back as what was written.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "app/ui_settings.h"
#include "fuzz_ports.h"

namespace {

using vitrolux::app::UiItem;
using vitrolux::app::UiKey;
using vitrolux::fuzz::check;

void checkRead(const std::string& line) {
  const std::vector<UiItem> items = vitrolux::app::readUiSettings(line);
  if (line.find("|||") == std::string::npos) {
    check(items.empty(), "a line without |||  applies nothing", line);
    return;
  }
  for (const UiItem& item : items) {
    check(std::isfinite(item.value), "every value is a number", line);
    switch (item.key) {
      case UiKey::Opacity:
        check(std::nearbyint(item.value) >= 1 && std::nearbyint(item.value) <= 255,
              "an applied level is visible", line);
        break;
      case UiKey::Width:
      case UiKey::Height:
        check(item.value > 0, "an applied size is not empty", line);
        break;
      default:
        break;
    }
  }
}

// Five small numbers from the input: a level and a place in twips.
void checkRoundTrip(const std::uint8_t* data, std::size_t size) {
  std::int32_t numbers[5] = {};
  if (size < sizeof numbers) return;
  std::memcpy(numbers, data, sizeof numbers);
  const auto level = static_cast<std::int16_t>(1 + (numbers[0] & 0xFF) % 255);
  const vitrolux::platform::TwipsRect frame{static_cast<double>(numbers[3] % 1000000),
                                            static_cast<double>(numbers[4] % 1000000),
                                            static_cast<double>(1 + (numbers[1] & 0xFFFFF)),
                                            static_cast<double>(1 + (numbers[2] & 0xFFFFF))};
  const std::string line = vitrolux::app::formatUiSettings(level, frame);
  const std::vector<UiItem> items = vitrolux::app::readUiSettings(line);
  const std::vector<UiItem> expected = {{UiKey::Opacity, static_cast<double>(level)},
                                        {UiKey::Width, frame.width},
                                        {UiKey::Height, frame.height},
                                        {UiKey::Left, frame.left},
                                        {UiKey::Top, frame.top}};
  check(items == expected, "a written line reads back as written", line);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  checkRead(std::string(reinterpret_cast<const char*>(data), size));
  checkRoundTrip(data, size);
  return 0;
}
