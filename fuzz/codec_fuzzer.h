// Shared body of the codec fuzz targets: whatever a codec parses must
// rebuild, with every item translated, into a resource that parses again
// with the same items.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <string>

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
