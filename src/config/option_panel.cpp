#include "config/option_panel.h"

#include "model/layout.h"
#include "model/program_entry.h"
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

namespace {

// The command line without the quotes around its program where they change
// nothing: C:\My Apps\tool.exe -x names the same program as
// "C:\My Apps\tool.exe" -x, and keeps the stored entry as one writes it by
// hand. Quotes that matter (in the arguments, or around a program the line
// would otherwise name differently) stay.
std::string withoutNeedlessQuotes(const std::string& path) {
  const std::optional<model::CommandLineParts> parts = model::splitCommandLine(path);
  if (!parts || !parts->quoted || contains(parts->program, "\"")) return path;
  std::string bare = parts->program;
  if (!parts->arguments.empty()) bare += " " + parts->arguments;
  const std::optional<model::CommandLineParts> again = model::splitCommandLine(bare);
  const bool same =
      again && again->program == parts->program && again->arguments == parts->arguments;
  return same ? bare : path;
}

}  // namespace

void OptionPanel::onSaveClick() {
  const int button = index(ControlId::cfgOkBtn);
  guarded([&] {
    const std::string path = controls_[index(ControlId::cfg_txt)].caption;
    const std::string title = controls_[index(ControlId::title_txt)].caption;
    if (path.empty() || title.empty() || !contains(path, ".exe")) {
      controls_.setBackColor(button, kRefusedColor);
      return;
    }
    // Stored so that it comes back whole at the next start: arguments with
    // their quotes, a title with "|" or a comma in it.
    const std::optional<std::string> line =
        entryLine(model::ProgramEntry{withoutNeedlessQuotes(path), title});
    const bool saved = line && store_.writeCfg(store_.settingsPath(text::kConfigFile), *line);
    // A save that could not be written must not look like one that was.
    controls_.setBackColor(button, saved ? kSavedColor : kRefusedColor);
  });
  guarded([&] { close(); });
}

}  // namespace vitrolux::config
