// Terminal output of the operations.
#include "translator/cli/terminal_ui.h"

namespace ulk {

void TerminalUi::ShowMessage(const std::string& text, MessageIcon icon) {
  switch (icon) {
    case MessageIcon::kInformation:
      std::fprintf(out_, "%s\n", text.c_str());
      break;
    case MessageIcon::kError:
      ++errors_;
      std::fprintf(err_, "error: %s\n", text.c_str());
      break;
    default:
      std::fprintf(err_, "aviso: %s\n", text.c_str());
      break;
  }
}

bool TerminalUi::AskYesNo(const std::string& text) {
  ++errors_;
  std::fprintf(err_, "%s %s\n", text.c_str(), answer_ ? "Sí" : "No");
  return answer_;
}

void TerminalUi::PushStatusText(const std::string& text) {
  std::fprintf(err_, "%s\n", text.c_str());
}

}  // namespace ulk
