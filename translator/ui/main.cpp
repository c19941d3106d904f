// ulk: the resource translator.
#include <wx/app.h>

#include "platform/memory.h"
#include "translator/ui/translator_app.h"
#include "uikit/spanish.h"

int main(int argc, char** argv) {
  ulk::PrepareSpanishEnvironment();
  ulk::KeepFreedMemory();
  wxApp::SetInstance(new ulk::TranslatorApp());
  return wxEntry(argc, argv);
}
