#include "config/presets.h"

#include "app/main_frame.h"
#include "app/strings.h"
#include "config/store.h"
#include "embed/loader.h"

namespace vitrolux::config {
namespace {

using app::ControlId;

// The preset file's entry when it holds one, else the built-in entry.
template <typename BuiltIn>
void loadPreset(app::Main& main, std::string_view presetFile, BuiltIn builtIn) {
  std::string entry = readCfg(main.system(), settingsPath(main.system(), presetFile));
  if (entry.empty()) entry = builtIn();
  embed::loadApp(main, entry);
}

}  // namespace

void onTileClick(app::Main& main, ControlId tile) {
  switch (tile) {
    case ControlId::ie_btn:
      loadPreset(main, app::text::kIeFile, [] { return std::string(app::text::kIeEntry); });
      break;
    case ControlId::ch_btn:
      loadPreset(main, app::text::kChromeFile, [&main] {
        // Assembled at the click, from the profile as it is now.
        const std::string profile =
            main.system().environment(std::string(app::text::kChromeProfileVariable)).value_or("");
        return profile + std::string(app::text::kChromeEntrySuffix);
      });
      break;
    case ControlId::ff_btn:
      loadPreset(main, app::text::kFirefoxFile,
                 [] { return std::string(app::text::kFirefoxEntry); });
      break;
    case ControlId::pic_btn:
      embed::loadApp(main, std::string(app::text::kPictureEntry));
      break;
    case ControlId::any_btn:
      main.system().messageBox(std::string(app::text::kTodo), std::string(app::text::kAppTitle));
      break;
    default:
      break;
  }
}

}  // namespace vitrolux::config
