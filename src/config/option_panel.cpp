#include "config/option_panel.h"

#include <algorithm>

#include "app/guard.h"
#include "app/main_frame.h"
#include "app/strings.h"
#include "config/store.h"
#include "platform/text.h"

namespace vitrolux::config {
namespace {

using app::ControlId;
using app::index;
using platform::contains;

constexpr double kPanelTop = 720;
constexpr platform::Color kSavedColor{0x0000C000u};
constexpr platform::Color kRefusedColor{0x000000C0u};

struct KnownProgram {
  std::string_view fileName;
  std::string_view title;
};

constexpr KnownProgram kKnownPrograms[] = {
    {"chrome.exe", app::text::kChromeTitle},
    {"iexplore.exe", app::text::kIeTitle},
    {"firefox.exe", app::text::kFirefoxTitle},
};

}  // namespace

void onOptionsClick(app::Main& main) {
  platform::ControlSet& controls = main.controls();
  const int panel = index(ControlId::optionFrm);
  if (controls[panel].visible) {
    controls.setVisible(panel, false);
  } else {
    controls.setTop(panel, kPanelTop);
    controls.setVisible(panel, true);
  }
}

void onPathChange(app::Main& main) {
  app::guarded([&] {
    const std::string path = main.control(ControlId::cfg_txt).caption;
    if (path.empty()) return;
    std::string title;
    for (const KnownProgram& known : kKnownPrograms) {
      if (contains(path, known.fileName)) {
        title = known.title;
        break;
      }
    }
    main.controls().setCaption(index(ControlId::title_txt), title);
  });
}

void onSaveClick(app::Main& main) {
  platform::ControlSet& controls = main.controls();
  const int button = index(ControlId::cfgOkBtn);
  app::guarded([&] {
    std::string path = main.control(ControlId::cfg_txt).caption;
    const std::string title = main.control(ControlId::title_txt).caption;
    if (path.empty() || title.empty() || !contains(path, ".exe")) {
      controls.setBackColor(button, kRefusedColor);
      return;
    }
    // The stored entry must not start with a quote, or reading it back would
    // take it for a quoted field and lose the title.
    path.erase(std::remove(path.begin(), path.end(), '"'), path.end());
    const bool saved = WriteCfg(main.system(), settingsPath(main.system(), app::text::kConfigFile),
                                path + "|" + title);
    // A save that could not be written must not look like one that was.
    controls.setBackColor(button, saved ? kSavedColor : kRefusedColor);
  });
  app::guarded([&] { controls.setVisible(index(ControlId::optionFrm), false); });
}

}  // namespace vitrolux::config
