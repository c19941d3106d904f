// Start-up of the administrator.
#include "glossmith/ui/glossmith_app.h"

#include <cstdio>
#include <filesystem>

#include "glossmith/db/glossmith_messages.h"
#include "glossmith/ui/glossmith_dlg.h"
#include "uikit/message_box.h"
#include "uikit/spanish.h"
#include "uikit/wx_text.h"

namespace ulk::glossmith {

GlossmithCommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
  GlossmithCommandLine line;
  if (arguments.size() > 1) {
    line.error = "uso: glossmith [DICCIONARIO]";
    return line;
  }
  if (arguments.empty() || arguments[0].empty()) return line;
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(arguments[0], error);
  line.path = error ? arguments[0] : absolute.lexically_normal().string();
  return line;
}

bool CGlossmithApp::OnInit() {
  SetUpSpanishTranslations();
  const std::string name = GlossmithMessageText(kGlossProgramName);
  SetAppName(ToWx(name));
  SetAppDisplayName(ToWx(name));
  SetMessageBoxCaption(name);

  const GlossmithCommandLine line = ParseCommandLine(arguments_);
  if (!line.error.empty()) {
    std::fprintf(stderr, "%s\n", line.error.c_str());
    return false;
  }
  auto* window = new CGlossmithDlg();
  SetTopWindow(window);
  window->Show();
  window->Maximize();
  if (line.path) window->OpenPath(*line.path);
  return true;
}

}  // namespace ulk::glossmith
