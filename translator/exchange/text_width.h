// How wide a text is when a dialog draws it, measured without a display:
// FreeType renders the metrics of the font fontconfig finds for the
// dialog's face, a metric-compatible font standing in for the faces of
// Windows dialogs ("MS Shell Dlg", "Microsoft Sans Serif", "Tahoma" and any
// face we do not know: Liberation Sans). A letter that font lacks is
// measured in the font fontconfig chooses for it, as drawing does.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "translator/resources/resource_layout.h"

namespace ulk {

// The family that stands in for a dialog's face.
std::string SubstituteFamilyOf(std::string_view face);

class TextMeasurer {
 public:
  TextMeasurer();
  ~TextMeasurer();
  TextMeasurer(const TextMeasurer&) = delete;
  TextMeasurer& operator=(const TextMeasurer&) = delete;

  // Selects a dialog's font; null for a dialog without one, which uses the
  // system font.
  // False, with Problem(), when no stand-in font can be loaded: widths are
  // then not measured.
  bool Select(const DialogFont* font);
  const std::string& Problem() const { return problem_; }

  // Of the selected font, in pixels at 96 dots per inch: the dialog base
  // units (as the system derives them from the font's average letter width
  // and its height) and the width of a single-line text.
  int BaseUnitX() const;
  int BaseUnitY() const;
  int TextWidth(std::string_view utf8);
  // Dialog units to pixels, rounded as the system does.
  int HorizontalPixels(int dialogUnits) const;
  int VerticalPixels(int dialogUnits) const;

 private:
  struct Face;
  Face* Load(const std::string& family, bool bold, bool italic);
  // The advance of a letter the selected face has no glyph for, in the
  // font fontconfig falls back to for it (as drawing does); -1 when no
  // installed font has it.
  int FallbackAdvance(char32_t letter);

  struct Library;
  std::unique_ptr<Library> library_;
  std::map<std::string, std::unique_ptr<Face>> faces_;  // by family, weight and slant
  std::map<std::string, std::unique_ptr<Face>> fallbacks_;  // by file and index
  Face* face_ = nullptr;
  int pixelSize_ = 0;
  std::string problem_;
};

}  // namespace ulk
