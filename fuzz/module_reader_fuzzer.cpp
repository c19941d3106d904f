// Fuzz target: reading a module and decoding every resource it holds.
#include <cstdint>
#include <string>

#include "platform/pe_image.h"
#include "translator/resources/dialog_codec.h"
#include "translator/resources/menu_codec.h"
#include "translator/resources/string_table.h"
#include "translator/resources/version_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ulk::ModuleImage image;
  if (image.Load(std::string(reinterpret_cast<const char*>(data), size)) != 0) return 0;
  for (const auto& type : image.Resources()) {
    for (const auto& name : type.names) {
      for (const auto& resource : name.languages) {
        switch (type.id.named ? 0 : type.id.number) {
          case 4: {
            ulk::MenuCodec codec;
            if (codec.Parse(resource.bytes)) (void)codec.Build();
            break;
          }
          case 5: {
            ulk::DialogCodec codec;
            if (codec.Parse(resource.bytes)) (void)codec.Build();
            break;
          }
          case 6: {
            std::vector<ulk::StringTableText> texts;
            ulk::DecodeStringBlock(name.id.number, resource.bytes, texts);
            break;
          }
          case 16: {
            ulk::VersionCodec codec;
            if (codec.Parse(resource.bytes)) (void)codec.Build("00000C0A");
            break;
          }
          default:
            break;
        }
      }
    }
  }
  return 0;
}
