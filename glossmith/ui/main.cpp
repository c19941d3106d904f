// glossmith [DICCIONARIO]: the dictionary administrator.
#include <string>
#include <vector>

#include "glossmith/ui/glossmith_app.h"
#include "uikit/spanish.h"

int main(int argc, char** argv) {
  ulk::PrepareSpanishEnvironment();
  // The path is kept as the bytes it came as, whatever the locale.
  wxApp::SetInstance(
      new ulk::glossmith::CGlossmithApp(std::vector<std::string>(argv + 1, argv + argc)));
  return wxEntry(argc, argv);
}
