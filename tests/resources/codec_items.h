// The items of a codec as "item:id:text" lines, for comparing in tests.
#pragma once

#include <string>
#include <vector>

#include "translator/resources/template_codec.h"

namespace ulk::testing {

inline std::vector<std::string> ItemLines(const TemplateCodec& codec) {
  std::vector<std::string> out;
  for (const auto& item : codec.Items()) {
    out.push_back(std::to_string(item.item) + ":" + std::to_string(item.id) + ":" + item.text);
  }
  return out;
}

}  // namespace ulk::testing
