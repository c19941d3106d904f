// A dialog template (DLGTEMPLATE or DLGTEMPLATEEX) read whole: the dialog's
// styles, font, caption, class and menu, and every control with its class,
// title, identifier, styles and rectangle. Read by the dialog codec's own
// walk, so that what the preview draws is what generation rewrites.
// Ref: Microsoft documentation, "DLGTEMPLATE", "DLGITEMTEMPLATE",
// "DLGTEMPLATEEX", "DLGITEMTEMPLATEEX".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/status.h"

namespace ulk {

// A name-or-ordinal field: nothing, an ordinal, or a string (UTF-8 here).
struct TemplateName {
  bool isOrdinal = false;
  std::uint16_t ordinal = 0;
  std::string text;

  bool IsEmpty() const { return !isOrdinal && text.empty(); }
};

struct DialogFont {
  std::uint16_t pointSize = 0;
  std::uint16_t weight = 0;  // DLGTEMPLATEEX only; 0 in a DLGTEMPLATE
  bool italic = false;
  std::uint8_t charset = 0;
  std::string face;
};

struct DialogControl {
  std::uint32_t helpId = 0;
  std::uint32_t exStyle = 0;
  std::uint32_t style = 0;
  std::int16_t x = 0;  // dialog units, signed as the format stores them
  std::int16_t y = 0;
  std::int16_t cx = 0;
  std::int16_t cy = 0;
  std::uint32_t id = 0;  // 32 bits in a DLGITEMTEMPLATEEX
  std::size_t headOffset = 0;  // where its fixed head starts in the template
  TemplateName windowClass;
  TemplateName title;
  std::string creationData;
};

struct DialogTemplate {
  bool extended = false;
  std::uint32_t helpId = 0;
  std::uint32_t exStyle = 0;
  std::uint32_t style = 0;
  std::int16_t x = 0;
  std::int16_t y = 0;
  std::int16_t cx = 0;
  std::int16_t cy = 0;
  TemplateName menu;
  TemplateName windowClass;
  std::string caption;
  bool hasFont = false;  // DS_SETFONT
  DialogFont font;
  std::vector<DialogControl> controls;
};

// Reads the whole template. A template that ends before its declared
// controls or holds an unterminated string fails with kErrorBadTemplate and
// the place of the damage ("control 3: title runs past the end").
Status ReadDialogTemplate(std::string_view bytes, DialogTemplate& out);

}  // namespace ulk
