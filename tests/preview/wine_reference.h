// The platform's own drawing of a dialog, as the reference drawer
// (dialog_shot.exe, run under Wine) reports it, and its comparison with the
// dialog the preview draws: base units, client size and every control's
// rectangle in client pixels.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "translator/ui/preview/dialog_renderer.h"

namespace ulk::testing {

struct WineControl {
  int index = 0;
  PixelRect rect;
  bool visible = true;
  std::string windowClass;
};

struct WineDialog {
  BaseUnits units;
  int clientWidth = 0;
  int clientHeight = 0;
  std::vector<WineControl> controls;
};

inline bool ReadWineReport(const std::string& path, WineDialog& out) {
  std::ifstream in(path);
  if (!in) return false;
  out = {};
  for (std::string line; std::getline(in, line);) {
    std::istringstream words(line);
    std::string tag;
    words >> tag;
    if (tag == "BASE") {
      words >> out.units.x >> out.units.y;
    } else if (tag == "CLIENT") {
      words >> out.clientWidth >> out.clientHeight;
    } else if (tag == "CTRL") {
      WineControl control;
      int visible = 0;
      words >> control.index >> control.rect.x >> control.rect.y >> control.rect.width >>
          control.rect.height >> visible >> control.windowClass;
      control.visible = visible != 0;
      out.controls.push_back(control);
    }
  }
  return out.units.x > 0;
}

// Runs the reference drawer on dialog `name` ("#100" or a name) of `module`;
// it writes `prefix`.txt and `prefix`.bmp. Needs a display.
inline bool DrawWithWine(const std::string& probe, const std::string& module,
                         const std::string& name, const std::string& prefix, WineDialog& out) {
  const std::string winePrefix = std::string(ULK_FIXTURE_DIR) + "/wineprefix";
  const std::string command = "env WINEPREFIX='" + winePrefix + "' WINEDEBUG=-all wine '" + probe +
                              "' 'Z:" + module + "' '" + name + "' 'Z:" + prefix +
                              "' >/dev/null 2>&1";
  if (std::system(command.c_str()) != 0) return false;
  return ReadWineReport(prefix + ".txt", out);
}

struct ControlComparison {
  int index = 0;
  std::string windowClass;
  PixelRect ours;
  PixelRect wine;
  bool compareHeight = true;
  bool compareSize = true;
  bool compared = true;
  int Difference() const {
    if (!compared) return 0;
    int worst = std::max(std::abs(ours.x - wine.x), std::abs(ours.y - wine.y));
    if (compareSize) worst = std::max(worst, std::abs(ours.width - wine.width));
    if (compareSize && compareHeight) worst = std::max(worst, std::abs(ours.height - wine.height));
    return worst;
  }
};

// Controls whose size the platform sets itself are compared by position
// only: images (sized to the image), date pickers (the toolkit's own is
// taller), and up-down controls
// that place themselves beside their buddy, which they resize.
inline std::vector<ControlComparison> CompareControls(const EmbeddedDialog& embedded,
                                                      const WineDialog& wine) {
  std::vector<ControlComparison> result;
  const auto& layout = embedded.Layout().controls;
  for (std::size_t i = 0; i < layout.size() && i < wine.controls.size(); ++i) {
    ControlComparison c;
    c.index = static_cast<int>(i + 1);
    c.windowClass = wine.controls[i].windowClass;
    const wxRect rect = embedded.ControlWindow(i)->GetRect();
    c.ours = {rect.x, rect.y, rect.width, rect.height};
    c.wine = wine.controls[i].rect;
    switch (layout[i].look.kind) {
      case ControlKind::kImageFrame:
        c.compareSize = false;
        break;
      case ControlKind::kDateTime:
        c.compareHeight = false;
        break;
      case ControlKind::kUpDown:
        c.compared = !(layout[i].control->style & 0x10);  // UDS_AUTOBUDDY
        break;
      default:
        break;
    }
    if (i + 1 < layout.size() && layout[i + 1].look.kind == ControlKind::kUpDown &&
        (layout[i + 1].control->style & 0x10)) {
      c.compareSize = false;
    }
    result.push_back(c);
  }
  return result;
}

inline std::string CompareWithWine(const EmbeddedDialog& embedded, const WineDialog& wine) {
  const DialogLayout& layout = embedded.Layout();
  std::string out;
  char line[256];
  std::snprintf(line, sizeof line,
                "base units: ours %dx%d, Wine %dx%d; client: ours %dx%d, Wine %dx%d\n",
                layout.units.x, layout.units.y, wine.units.x, wine.units.y, layout.client.width,
                layout.client.height, wine.clientWidth, wine.clientHeight);
  out += line;
  int worst = 0;
  for (const ControlComparison& c : CompareControls(embedded, wine)) {
    std::snprintf(line, sizeof line,
                  "  %2d %-20.20s ours %4d %4d %4d %4d  Wine %4d %4d %4d %4d  diff %d%s\n", c.index,
                  c.windowClass.c_str(), c.ours.x, c.ours.y, c.ours.width, c.ours.height, c.wine.x,
                  c.wine.y, c.wine.width, c.wine.height, c.Difference(),
                  !c.compared        ? " (placed by itself)"
                  : !c.compareSize   ? " (position only)"
                  : !c.compareHeight ? " (height not compared)"
                                     : "");
    out += line;
    worst = std::max(worst, c.Difference());
  }
  std::snprintf(line, sizeof line, "  largest difference: %d px\n", worst);
  out += line;
  return out;
}

}  // namespace ulk::testing
