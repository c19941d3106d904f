// Fuzz target: the TMX reader of dictionaries. Whatever it accepts is made
// of texts a dictionary may hold (valid UTF-8, no NUL or other control
// character, line breaks in their stored form), and writes to a document
// that reads back to the same units.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "glossmith/exchange/tmx_exchange.h"
#include "platform/stored_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::vector<ulk::TmxUnit> units;
  std::string error;
  if (!ulk::ReadTmx(bytes, units, error)) {
    if (error.empty()) std::abort();
    return 0;
  }
  for (const ulk::TmxUnit& unit : units) {
    for (const ulk::TmxVariant& variant : unit.variants) {
      if (variant.language.empty() || variant.type.empty() || variant.text.empty()) std::abort();
      for (const std::string* value : {&variant.language, &variant.type, &variant.text}) {
        if (ulk::CheckStoredText(*value)) std::abort();
      }
    }
  }
  const std::string written = ulk::WriteTmx(units);
  std::vector<ulk::TmxUnit> again;
  if (!ulk::ReadTmx(written, again, error)) std::abort();
  if (again != units) std::abort();
  return 0;
}
