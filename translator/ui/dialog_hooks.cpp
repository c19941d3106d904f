// The hooks of dialog_hooks.h while their windows do not exist yet.
#include "translator/ui/dialog_hooks.h"

namespace ulk {

bool RunProjectPropertiesDialog(Project&, wxWindow*) {
  return false;
}

bool RunModulePropertiesDialog(Project&, int, wxWindow*) {
  return false;
}

void RunUserLanguagesDialog(wxWindow*) {}

bool RunTranslationDialog(Module&, const std::string&, wxWindow*) {
  return false;
}

void ShowResourcePreview(const Module&, const std::string&, bool, wxWindow*) {}

}  // namespace ulk
