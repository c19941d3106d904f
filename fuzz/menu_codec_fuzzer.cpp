// Fuzz target: the menu codec, parse then rebuild.
#include "fuzz/codec_fuzzer.h"
#include "translator/resources/menu_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzOnePassRebuild<ulk::MenuCodec>(data, size);
  return FuzzCodec<ulk::MenuCodec>(data, size,
                                   [](const ulk::MenuCodec& codec) { return codec.Build(); });
}
