// Spanish set-up of wx and GTK.
#include "uikit/spanish.h"

#include <clocale>
#include <cstdlib>
#include <cstring>

#include <wx/intl.h>
#include <wx/translation.h>

namespace ulk {

void PrepareSpanishEnvironment() {
  const char* current = std::setlocale(LC_ALL, "");
  if (!current || std::strcmp(current, "C") == 0 || std::strcmp(current, "POSIX") == 0) {
    setenv("LC_ALL", "C.UTF-8", 1);
    std::setlocale(LC_ALL, "C.UTF-8");
  }
  setenv("LANGUAGE", "es", 1);
}

bool SetUpSpanishTranslations() {
  auto* translations = new wxTranslations();
  wxTranslations::Set(translations);  // takes ownership
  translations->SetLanguage(wxLANGUAGE_SPANISH);
  return translations->AddStdCatalog();
}

}  // namespace ulk
