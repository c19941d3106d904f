// Fuzz target: the version codec, parse then rebuild.
#include "fuzz/codec_fuzzer.h"
#include "translator/resources/version_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return FuzzCodec<ulk::VersionCodec>(
      data, size, [](const ulk::VersionCodec& codec) { return codec.Build("00000C0A"); });
}
