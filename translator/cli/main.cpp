// ulk-cli: the translator without a display.
#include <clocale>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/memory.h"
#include "translator/cli/cli.h"

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "");
  ulk::KeepFreedMemory();
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  return ulk::RunCli(arguments, stdout, stderr);
}
