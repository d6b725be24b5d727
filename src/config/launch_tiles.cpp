#include "config/launch_tiles.h"

#include "model/text.h"

namespace vitrolux::config {

namespace text = model::text;
using model::ControlId;

// The preset file's entry when it holds one, else the built-in entry.
template <typename BuiltIn>
void LaunchTiles::loadPreset(std::string_view presetFile, BuiltIn builtIn) {
  model::ProgramEntry entry = store_.readEntry(store_.settingsPath(presetFile));
  if (entry.text().empty()) entry = model::splitEntry(builtIn());
  loadApp_(entry);
}

void LaunchTiles::onTileClick(ControlId tile) {
  switch (tile) {
    case ControlId::ie_btn:
      loadPreset(text::kIeFile, [] { return std::string(text::kIeEntry); });
      break;
    case ControlId::ch_btn:
      loadPreset(text::kChromeFile, [this] {
        // Assembled at the click, from the profile as it is now.
        const std::string profile =
            processes_.environment(std::string(text::kChromeProfileVariable)).value_or("");
        return profile + std::string(text::kChromeEntrySuffix);
      });
      break;
    case ControlId::ff_btn:
      loadPreset(text::kFirefoxFile, [] { return std::string(text::kFirefoxEntry); });
      break;
    case ControlId::pic_btn:
      loadApp_(model::splitEntry(text::kPictureEntry));
      break;
    case ControlId::any_btn:
      // Cancel changes nothing.
      if (const std::optional<platform::ProgramChoice> choice = frame_.chooseProgram(
              std::string(text::kChooseProgram), std::string(text::kPrograms))) {
        loadProgram_(*choice);
      }
      break;
    default:
      break;
  }
}

}  // namespace vitrolux::config
