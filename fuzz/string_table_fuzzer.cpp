// Fuzz target: string-table blocks. A block that decodes must encode, with
// every string translated, into a block that decodes to the translations;
// written in one pass with the translations asked for on the way, it must
// come out as the encoder gives it, translated or not.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "translator/resources/string_table.h"

namespace {

class Every final : public ulk::TextTranslator {
 public:
  Every(const std::string& translation, bool translate)
      : translation_(translation), translate_(translate) {}
  void BeginResource(std::uint32_t, const ulk::ResourceId&) override {}
  bool Translate(std::uint32_t item, std::string_view text, std::string& out) override {
    if (item >= 16 || asked_[item]) std::abort();  // each string once
    asked_[item] = true;
    texts[item] = text;
    out = translation_;
    return translate_;
  }
  std::array<std::string, 16> texts;

 private:
  std::string translation_;
  bool translate_;
  std::array<bool, 16> asked_{};
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  std::vector<ulk::StringTableText> texts;
  const bool decoded = ulk::DecodeStringBlock(1, bytes, texts);
  const std::string translation = "Cadena traducida\n";
  for (const bool translate : {false, true}) {
    Every every(translation, translate);
    ulk::StringBlockWriter writer;
    std::string out = "ab";
    const auto result = writer.Append(bytes, every, out);
    if ((result == ulk::StringBlockWriter::kWritten) != decoded) std::abort();
    if (!decoded) {
      if (out != "ab" + bytes) std::abort();  // kept as it stands
      continue;
    }
    // Only the strings a reading lists have translations.
    std::array<const std::string*, 16> listed{};
    for (const auto& text : texts) listed[text.id % 16] = translate ? &translation : nullptr;
    if (out != "ab" + *ulk::EncodeStringBlock(bytes, listed)) std::abort();
    for (const auto& text : texts) {
      if (every.texts[text.id % 16] != text.text) std::abort();
    }
  }
  if (!decoded) return 0;
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
