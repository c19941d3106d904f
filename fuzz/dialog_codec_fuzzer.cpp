// Fuzz target: the dialog codec, parse then rebuild.
#include "fuzz/codec_fuzzer.h"
#include "translator/resources/dialog_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzOnePassRebuild<ulk::DialogCodec>(data, size);
  return FuzzCodec<ulk::DialogCodec>(data, size,
                                     [](const ulk::DialogCodec& codec) { return codec.Build(); });
}
