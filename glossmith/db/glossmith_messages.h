// The administrator's string table: message id -> its exact Spanish text.
#pragma once

#include <string>
#include <string_view>

namespace ulk {

enum GlossmithMessageId : int {
  kGlossNotADictionary = 1002,
  kGlossCannotOpenDictionary = 1010,
};

const char* GlossmithMessageText(int id);
// The text with its "%s" (if any) replaced by `value`.
std::string GlossmithMessage(int id, std::string_view value = {});

}  // namespace ulk
