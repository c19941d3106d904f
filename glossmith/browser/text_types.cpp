// Text types and line breaks.
#include "glossmith/browser/text_types.h"

#include "platform/text.h"

namespace ulk {

int TextTypeIndex(std::string_view code) {
  for (int i = 0; i < kTextTypeCount; ++i) {
    if (code == kTextTypes[i].code) return i;
  }
  return -1;
}

bool IsValidTypeCode(std::string_view code) {
  return CountChars(code) <= 2;
}

std::string EditorTextOf(std::string_view stored) {
  return ReplaceAll(stored, "\\n", "\n");
}

std::string StoredTextOf(std::string_view edited) {
  std::string out;
  out.reserve(edited.size());
  for (std::size_t i = 0; i < edited.size(); ++i) {
    if (edited[i] == '\r') {
      if (i + 1 < edited.size() && edited[i + 1] == '\n') ++i;
      out += "\\n";
    } else if (edited[i] == '\n') {
      out += "\\n";
    } else {
      out += edited[i];
    }
  }
  return out;
}

}  // namespace ulk
