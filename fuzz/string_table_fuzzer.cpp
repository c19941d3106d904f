// Fuzz target: string-table blocks. A block that decodes must encode, with
// every string translated, into a block that decodes to the translations.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "translator/resources/string_table.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  std::vector<ulk::StringTableText> texts;
  if (!ulk::DecodeStringBlock(1, bytes, texts)) return 0;
  const std::string translation = "Cadena traducida\n";
  std::array<const std::string*, 16> all{};
  all.fill(&translation);
  const auto encoded = ulk::EncodeStringBlock(bytes, all);
  if (!encoded) std::abort();
  std::vector<ulk::StringTableText> again;
  if (!ulk::DecodeStringBlock(1, *encoded, again) || again.size() != 16) std::abort();
  for (const auto& text : again) {
    if (text.text != translation) std::abort();
  }
  return 0;
}
