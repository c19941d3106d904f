// What a translated module is written with: the translation of each text
// of each rebuilt resource, asked for while the resource is written.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/pe_image.h"
#include "translator/resources/dialog_geometry.h"

namespace ulk {

class TextTranslator {
 public:
  virtual ~TextTranslator() = default;
  // The resource whose texts are asked for next.
  virtual void BeginResource(std::uint32_t type, const ResourceId& id) = 0;
  // The translation (UTF-8, without escapes) of item `item` of that
  // resource, whose text in the module is `text`; false, or an empty
  // translation, keeps the module's own text.
  virtual bool Translate(std::uint32_t item, std::string_view text, std::string& translation) = 0;
  // For a dialog resource, once its texts are written: the rectangles the
  // output gives it where they differ from the module's; null for none.
  // Geometry that no longer matches the module's controls is not applied.
  virtual const DialogGeometry* GeometryOfDialog() { return nullptr; }
};

}  // namespace ulk
