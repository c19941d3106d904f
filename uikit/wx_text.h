// Text crossing between our UTF-8 strings and wx: always through UTF-8, never
// through the process locale (which may be "C" and turn every non-ASCII
// letter into an empty string).
#pragma once

#include <string>
#include <string_view>

#include <wx/string.h>

namespace ulk {

inline wxString ToWx(std::string_view text) {
  return wxString::FromUTF8(text.data(), text.size());
}

inline std::string FromWx(const wxString& text) {
  const wxScopedCharBuffer utf8 = text.utf8_str();
  return std::string(utf8.data(), utf8.length());
}

}  // namespace ulk
