// Shared body of the codec fuzz targets: whatever a codec parses must
// rebuild, with every item translated, into a resource that parses again
// with the same items.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <string>

#include "translator/resources/text_translator.h"

template <typename Codec, typename BuildFn>
int FuzzCodec(const std::uint8_t* data, std::size_t size, BuildFn build) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  Codec codec;
  if (!codec.Parse(bytes)) return 0;
  if (!build(codec)) std::abort();  // nothing translated: always rebuilds
  for (std::size_t i = 0; i < codec.ItemCount(); ++i) {
    codec.SetItemTranslation(codec.ItemAt(i).item, "Traducción «" + std::to_string(i) + "»");
  }
  const auto rebuilt = build(codec);
  if (!rebuilt) return 0;  // a length that no longer fits is refused, not written
  Codec again;
  if (!again.Parse(*rebuilt) || again.ItemCount() != codec.ItemCount()) std::abort();
  for (std::size_t i = 0; i < codec.ItemCount(); ++i) {
    if (again.ItemAt(i).text != codec.ItemAt(i).translation) std::abort();
  }
  return 0;
}

// A menu or dialog walked once with its texts translated on the way
// (AppendTranslated) must come out as parsing, translating and building
// give it, and as it is when nothing is translated; after bytes already
// written, whatever their length.
template <typename Codec>
void FuzzOnePassRebuild(const std::uint8_t* data, std::size_t size) {
  class Labels final : public ulk::TextTranslator {
   public:
    explicit Labels(bool translate) : translate_(translate) {}
    void BeginResource(std::uint32_t, const ulk::ResourceId&) override {}
    bool Translate(std::uint32_t item, std::string_view, std::string& translation) override {
      translation = Label(item);
      return translate_;
    }
    static std::string Label(std::uint32_t item) {
      return "Traducción «" + std::to_string(item) + "»";
    }

   private:
    bool translate_;
  };
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  Codec codec;
  const bool parsed = codec.Parse(bytes);
  for (const bool translate : {false, true}) {
    std::string expected = bytes;
    if (parsed && translate) {
      for (std::size_t i = 0; i < codec.ItemCount(); ++i) {
        codec.SetTranslationAt(i, Labels::Label(codec.ItemAt(i).item));
      }
      expected = *codec.Build();
    }
    Labels labels(translate);
    Codec walker;
    std::string out = "ab";
    if (walker.AppendTranslated(bytes, labels, out) != parsed) std::abort();
    if (out != "ab" + expected) std::abort();
  }
}
