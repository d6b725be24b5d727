#include "config/option_panel.h"

#include <algorithm>

#include "model/layout.h"
#include "model/strings.h"
#include "model/text.h"
#include "ui/guard.h"

namespace vitrolux::config {
namespace {

namespace text = model::text;
using model::contains;
using model::ControlId;
using model::index;
using platform::guarded;

constexpr double kPanelTop = 720;
constexpr platform::Color kSavedColor{0x0000C000u};
constexpr platform::Color kRefusedColor{0x000000C0u};

struct KnownProgram {
  std::string_view fileName;
  std::string_view title;
};

constexpr KnownProgram kKnownPrograms[] = {
    {"chrome.exe", text::kChromeTitle},
    {"iexplore.exe", text::kIeTitle},
    {"firefox.exe", text::kFirefoxTitle},
};

}  // namespace

void OptionPanel::onOptionsClick() {
  const int panel = index(ControlId::optionFrm);
  if (controls_[panel].visible) {
    close();
  } else {
    controls_.setTop(panel, kPanelTop);
    // Above a hosted window too, which would otherwise cover the panel and
    // take the clicks meant for it.
    controls_.setOnTop(panel, true);
    controls_.setVisible(panel, true);
  }
}

void OptionPanel::close() {
  const int panel = index(ControlId::optionFrm);
  controls_.setVisible(panel, false);
  controls_.setOnTop(panel, false);
}

void OptionPanel::onPathChange() {
  guarded([&] {
    const std::string path = controls_[index(ControlId::cfg_txt)].caption;
    if (path.empty()) return;
    std::string title;
    for (const KnownProgram& known : kKnownPrograms) {
      if (contains(path, known.fileName)) {
        title = known.title;
        break;
      }
    }
    controls_.setCaption(index(ControlId::title_txt), title);
  });
}

void OptionPanel::onSaveClick() {
  const int button = index(ControlId::cfgOkBtn);
  guarded([&] {
    std::string path = controls_[index(ControlId::cfg_txt)].caption;
    const std::string title = controls_[index(ControlId::title_txt)].caption;
    if (path.empty() || title.empty() || !contains(path, ".exe")) {
      controls_.setBackColor(button, kRefusedColor);
      return;
    }
    // The stored entry must not start with a quote, or reading it back would
    // take it for a quoted field and lose the title.
    path.erase(std::remove(path.begin(), path.end(), '"'), path.end());
    const bool saved = store_.writeCfg(store_.settingsPath(text::kConfigFile), path + "|" + title);
    // A save that could not be written must not look like one that was.
    controls_.setBackColor(button, saved ? kSavedColor : kRefusedColor);
  });
  guarded([&] { close(); });
}

}  // namespace vitrolux::config
