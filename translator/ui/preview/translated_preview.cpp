// The headless half of the translated preview.
#include "translator/ui/preview/translated_preview.h"

#include "platform/pe_image.h"
#include "platform/text.h"
#include "translator/model/resource_engine.h"
#include "translator/ui/preview/resource_preview.h"

namespace ulk {
namespace {

// The message and, when the engine said why, its text below.
std::string WithDetail(const char* message, const std::string& detail) {
  std::string text = message;
  if (!detail.empty()) text.append("\n\n").append(detail);
  return text;
}

TranslatedPreview Failed(int messageId, std::string message) {
  TranslatedPreview result;
  result.outcome = TranslatedPreview::kFailed;
  result.messageId = messageId;
  result.message = std::move(message);
  return result;
}

}  // namespace

std::vector<std::string> PreviewLanguageNames(const Module& module) {
  std::vector<std::string> names;
  for (const ModuleLanguage& language : module.languages) {
    if (!language.isDefault) names.push_back(language.name);
  }
  return names;
}

TranslatedPreview PrepareTranslatedPreview(const Module& module, const std::string& key,
                                           const PreviewLanguageChooser& choose,
                                           const std::string& templateLibraryPath,
                                           const std::string& previewOutputPath) {
  const std::string resourceKey = key.substr(0, key.find(' '));
  ModuleImage image;
  if (image.Open(module.path) != 0) {
    return Failed(kMsgCannotOpenModuleLibrary,
                  Format(MessageText(kMsgCannotOpenModuleLibrary), module.path.c_str()));
  }
  const PreviewKey parsed = ParsePreviewKey(resourceKey);
  ResourceEngine engine;
  if (!parsed.valid ||
      !engine.CopyResourceToLibrary(image, parsed.type, parsed.name, templateLibraryPath)) {
    return Failed(kMsgCannotShowResource,
                  WithDetail(MessageText(kMsgCannotShowResource), engine.failureText));
  }
  image.Close();

  const std::vector<std::string> names = PreviewLanguageNames(module);
  std::string chosen;
  if (module.LanguageCount() == 2 && names.size() == 1) {
    chosen = names.front();
  } else if (choose) {
    chosen = choose(names);
  }
  Module copy = module;
  copy.path = templateLibraryPath;
  ModuleLanguage* language = chosen.empty() ? nullptr : copy.FindLanguage(chosen);
  if (!language || language->isDefault) return {};
  language->outputFile = previewOutputPath;
  if (!engine.GenerateLanguages(&copy, &chosen)) {
    return Failed(kMsgCannotPreviewResource,
                  WithDetail(MessageText(kMsgCannotPreviewResource), engine.failureText));
  }
  TranslatedPreview result;
  result.outcome = TranslatedPreview::kShow;
  result.previewPath = previewOutputPath;
  result.key = resourceKey;
  return result;
}

}  // namespace ulk
