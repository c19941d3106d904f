// The translated preview's steps that need no window: the resource copied
// into the template library, a copy of the module whose chosen target
// language is generated from that library into the preview output file.
// The caller then shows the output file with ShowResource.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "translator/model/project.h"

namespace ulk {

// Asks the user for one of the module's target languages (given in module
// order); returns the chosen name, or "" when the user cancelled.
using PreviewLanguageChooser = std::function<std::string(const std::vector<std::string>& names)>;

struct TranslatedPreview {
  enum Outcome {
    kShow,       // show `previewPath` with `key`
    kCancelled,  // nothing to show, nothing to say
    kFailed,     // show `message` in an error box
  };
  Outcome outcome = kCancelled;
  std::string previewPath;
  std::string key;      // the key, cut at its first blank
  int messageId = 0;    // 5033, 5034 or 5035 when failed
  std::string message;  // the full text of the error box
};

// The names a language choice offers: the module's target languages, in
// module order.
std::vector<std::string> PreviewLanguageNames(const Module& module);

// Steps of the translated preview up to showing: the module file opened
// (5033 with its path), the resource copied into the library (5034), the
// target language chosen (the one target of a module with two languages,
// else `choose`; "" cancels), and that language generated from a copy of
// the module whose path is the library and whose chosen language's output
// file is `previewOutputPath` (5035). The module itself is not changed.
// Requires a module of more than one language and a dialog or menu key.
TranslatedPreview PrepareTranslatedPreview(const Module& module, const std::string& key,
                                           const PreviewLanguageChooser& choose,
                                           const std::string& templateLibraryPath,
                                           const std::string& previewOutputPath);

}  // namespace ulk
