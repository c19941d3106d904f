// Build tool: writes the VS_VERSIONINFO block that our binaries carry in
// their ".vsinfo" section.
//   ulk-vsinfo OUTPUT A.B.C.D NAME=VALUE...
#include <cstdio>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/version_info.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "uso: ulk-vsinfo SALIDA A.B.C.D NOMBRE=VALOR...\n");
    return 2;
  }
  unsigned a = 0, b = 0, c = 0, d = 0;
  if (std::sscanf(argv[2], "%u.%u.%u.%u", &a, &b, &c, &d) != 4) {
    std::fprintf(stderr, "ulk-vsinfo: versión no válida: %s\n", argv[2]);
    return 2;
  }
  ulk::FixedFileInfo fixed;
  fixed.fileVersionMS = fixed.productVersionMS = (a << 16) | (b & 0xFFFF);
  fixed.fileVersionLS = fixed.productVersionLS = (c << 16) | (d & 0xFFFF);
  std::vector<std::pair<std::string, std::string>> strings;
  for (int i = 3; i < argc; ++i) {
    const std::string pair = argv[i];
    const auto equals = pair.find('=');
    if (equals == std::string::npos) {
      std::fprintf(stderr, "ulk-vsinfo: se esperaba NOMBRE=VALOR: %s\n", argv[i]);
      return 2;
    }
    strings.emplace_back(pair.substr(0, equals), pair.substr(equals + 1));
  }
  // Spanish (Spain), Unicode.
  const std::string block = ulk::BuildVersionBlock(fixed, 0x04B00C0A, strings);
  if (block.empty()) {
    std::fprintf(stderr, "ulk-vsinfo: los textos no caben en un bloque de versión\n");
    return 1;
  }
  if (const int error = ulk::WriteFileAtomically(argv[1], block)) {
    std::fprintf(stderr, "ulk-vsinfo: no se puede escribir %s (%d)\n", argv[1], error);
    return 1;
  }
  return 0;
}
