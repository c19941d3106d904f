// The administrator's application object: Spanish texts, the main window,
// and the dictionary named on the command line opened (or created) in it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include <wx/app.h>

namespace ulk::glossmith {

class CGlossmithDlg;

// What the command line asks for: the dictionary path (made absolute), or
// none; an error text for a command line the program does not take.
struct GlossmithCommandLine {
  std::optional<std::string> path;
  std::string error;
};
GlossmithCommandLine ParseCommandLine(const std::vector<std::string>& arguments);

class CGlossmithApp : public wxApp {
 public:
  // `arguments` as the program got them, before any conversion (the path
  // is passed on byte for byte).
  explicit CGlossmithApp(std::vector<std::string> arguments) : arguments_(std::move(arguments)) {}

  bool OnInit() override;

 private:
  std::vector<std::string> arguments_;
};

}  // namespace ulk::glossmith
