// Adding, removing, validating, reading and generating modules.
#include "translator/model/project_operations.h"

#include <sys/stat.h>

#include <map>
#include <memory>

#include "platform/files.h"
#include "platform/system_error.h"
#include "platform/text.h"
#include "translator/model/messages.h"
#include "translator/model/output_guard.h"
#include "translator/model/resource_engine.h"

namespace ulk {
namespace {

std::string FileNameText(const Module& module) {
  return std::string(module.FileName());
}

std::string FileNameText(const std::string& path) {
  return std::string(FileNameOf(path));
}

void AppendLine(std::string& text, const std::string& line) {
  if (!text.empty()) text.push_back('\n');
  text += line;
}

// Shown outside a batch; asked inside one, with "go on" as the answer Yes.
bool ReportFailure(std::string message, bool inBatch, OperationUi& ui) {
  if (!inBatch) {
    ui.ShowMessage(message, MessageIcon::kError);
    return false;
  }
  message += "\n\n";
  message += MessageText(kMsgAskContinue);
  return ui.AskYesNo(message);
}

int ReadModuleResources(Module& module, bool inBatch, OperationUi& ui, bool& read);

// Each output where the guard lets it go; an existing file that is not a
// module only when the user agrees.
class GuardedOutputs final : public OutputPlan {
 public:
  GuardedOutputs(const OutputGuard& guard, OperationUi& ui) : guard_(guard), ui_(ui) {}

  int Place(const Module& module, const ModuleLanguage& target, std::string& path) override {
    path = guard_.PathOf(target);
    return guard_.Check(module, target);
  }
  int Confirm(const std::string& path) override {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && !LooksLikeModuleFile(path) &&
        !ui_.ConfirmReplace(ReplaceAll(kReplaceQuestion, "%1", path))) {
      return kErrorOutputNotAModule;
    }
    return 0;
  }

 private:
  static constexpr const char* kReplaceQuestion =
      "El archivo de salida %1 ya existe y no es un módulo de Windows.\n¿Desea reemplazarlo?";
  const OutputGuard& guard_;
  OperationUi& ui_;
};

// The outputs of a generation, planned in project order and built ahead.
struct ProjectOutputs {
  std::map<const Module*, std::vector<PlannedOutput>> planned;
  std::map<const Module*, std::size_t> first;  // each module's first request
  std::unique_ptr<OutputBuilds> builds;
};

ProjectOutputs PlanProjectOutputs(Project& project, Module* only, const std::string* languageName,
                                  OutputPlan& plan) {
  ProjectOutputs outputs;
  std::vector<OutputRequest> requests;
  for (Module& module : project.modules) {
    if (only && &module != only) continue;
    std::vector<PlannedOutput> planned = ResourceEngine::PlanOutputs(module, languageName, &plan);
    outputs.first[&module] = requests.size();
    for (OutputRequest& request : ResourceEngine::RequestsFor(module, planned)) {
      requests.push_back(std::move(request));
    }
    outputs.planned[&module] = std::move(planned);
  }
  outputs.builds = std::make_unique<OutputBuilds>(std::move(requests));
  return outputs;
}

int GenerateModule(Module& module, bool inBatch, OperationUi& ui, OutputPlan& plan,
                   ProjectOutputs& outputs, std::vector<GeneratedOutput>& written);

}  // namespace

std::size_t AddModuleFiles(Project& project, const std::vector<std::string>& paths,
                           std::string& errorText) {
  errorText.clear();
  std::size_t added = 0;
  for (const std::string& path : paths) {
    const std::string name = FileNameText(path);
    if (project.FindModuleByPath(path)) {
      AppendLine(errorText, FormatMessage(kMsgModuleAlreadyInProject, name.c_str()));
      continue;
    }
    Module module;
    module.path = path;
    if (!module.AddOriginalLanguage() || !project.AddModule(module, true)) {
      AppendLine(errorText, FormatMessage(kMsgErrorAddingModule, name.c_str()));
      continue;
    }
    ++added;
  }
  return added;
}

void ShowAddModulesErrors(const std::string& errorText, bool selectionReturned, OperationUi& ui) {
  if (errorText.empty()) return;
  ui.ShowMessage(std::string(MessageText(kMsgErrorAddingModules)) + "\n" + errorText,
                 selectionReturned ? MessageIcon::kExclamation : MessageIcon::kError);
}

std::size_t AddModules(Project& project, const std::vector<std::string>& paths, OperationUi& ui) {
  std::string errorText;
  const std::size_t added = AddModuleFiles(project, paths, errorText);
  ShowAddModulesErrors(errorText, true, ui);
  return added;
}

bool DeleteModule(Project& project, const std::string& path, OperationUi& ui) {
  const std::string name = FileNameText(path);
  if (!ui.AskYesNo(FormatMessage(kMsgAskDeleteModule, name.c_str()))) return false;
  if (!project.RemoveModule(path)) {
    ui.ShowMessage(FormatMessage(kMsgErrorDeletingModule, name.c_str()), MessageIcon::kError);
    return false;
  }
  return true;
}

bool ValidateModule(Module& module, OperationUi& ui, std::string& message) {
  const std::string name = FileNameText(module);
  bool valid = false;
  {
    StatusText status(ui, FormatMessage(kMsgValidatingModule, name.c_str()));
    valid = module.Validate();
  }
  message.clear();
  if (valid) return true;
  message = FormatMessage(kMsgModuleValidationError, name.c_str());
  switch (module.errorCode) {
    case kModuleNoDefault:
      message += std::string("\n") + MessageText(kMsgModuleNeedsDefault);
      break;
    case kModuleSeveralDefaults:
      message += std::string("\n") + MessageText(kMsgModuleOneDefault);
      break;
    case kModuleBadLanguage:
      message += std::string("\n") + MessageText(kMsgBadLanguageData);
      break;
    default:
      break;
  }
  return false;
}

int GetModuleResources(Module& module, bool inBatch, OperationUi& ui) {
  bool read = false;
  return ReadModuleResources(module, inBatch, ui, read);
}

namespace {

int ReadModuleResources(Module& module, bool inBatch, OperationUi& ui, bool& read) {
  read = false;
  std::string message;
  if (!ValidateModule(module, ui, message)) {
    return ReportFailure(message, inBatch, ui) ? kBatchGoOn : kBatchStop;
  }
  const std::string name = FileNameText(module);
  ResourceEngine engine;
  {
    StatusText status(ui, FormatMessage(kMsgReadingModule, name.c_str()));
    read = engine.GetResources(&module);
  }
  if (read) {
    if (!engine.warnings.empty()) {
      std::string text;
      for (const std::string& warning : engine.warnings) AppendLine(text, warning);
      ui.ShowMessage(text, MessageIcon::kExclamation);
    }
    return kBatchGoOn;
  }
  message = FormatMessage(kMsgErrorReadingResources, name.c_str());
  if (engine.failureKind >= kFailureNoModule && engine.failureKind <= kFailureEmptyPath) {
    message += std::string("\n") + MessageText(kMsgBadModuleData);
  } else if (engine.failureKind == kFailureCannotOpen) {
    message += std::string("\n") + MessageText(kMsgCannotOpenModule);
  }
  if (!engine.failureText.empty()) message += "\n" + engine.failureText;
  return ReportFailure(message, inBatch, ui) ? kBatchGoOn : kBatchStop;
}

}  // namespace

namespace {

int GenerateModule(Module& module, bool inBatch, OperationUi& ui, OutputPlan& plan,
                   ProjectOutputs& outputs, std::vector<GeneratedOutput>& written) {
  std::string message;
  if (!ValidateModule(module, ui, message)) {
    return ReportFailure(message, inBatch, ui) ? kGenerateFailedGoOn : kGenerateStop;
  }
  const std::string name = FileNameText(module);
  ResourceEngine engine;
  bool generated = false;
  {
    StatusText status(ui, FormatMessage(kMsgGeneratingModule, name.c_str()));
    generated = engine.GenerateBuiltLanguages(&module, outputs.planned[&module], *outputs.builds,
                                              outputs.first[&module], &plan);
  }
  for (const auto& [language, path] : engine.written) written.push_back({&module, language, path});
  if (generated) return kGenerateDone;
  message = FormatMessage(kMsgErrorGeneratingModule, name.c_str());
  switch (engine.failureKind) {
    case kFailureNoModule:
    case kFailureTooFewLanguages:
    case kFailureInvalidModule:
      message += std::string("\n") + MessageText(kMsgBadModuleData);
      break;
    case kFailureCannotOpen:
      message += std::string("\n") + MessageText(kMsgCannotOpenModule);
      break;
    case kFailureCannotWrite:
      message += std::string("\n") + MessageText(kMsgErrorSavingTranslated);
      break;
    default:
      break;
  }
  if (!engine.failureText.empty()) message += "\n" + engine.failureText;
  return ReportFailure(message, inBatch, ui) ? kGenerateFailedGoOn : kGenerateStop;
}

}  // namespace

GetResourcesResult GetResourcesCommand(Project& project, Module* module, OperationUi& ui) {
  WaitCursor wait(ui);
  GetResourcesResult result;
  bool read = false;
  if (module) {
    result.stopped = ReadModuleResources(*module, false, ui, read) == kBatchStop;
    result.read = read ? 1 : 0;
    result.changed = read;
    return result;
  }
  for (Module& each : project.modules) {
    // A module skipped after a failure was not read: its content stands.
    if (ReadModuleResources(each, true, ui, read) == kBatchStop) {
      result.stopped = true;
      break;
    }
    if (read) ++result.read;
  }
  result.changed = result.read > 0;
  return result;
}

GenerateCommandResult GenerateCommand(Project& project, Module* module, OperationUi& ui,
                                      const std::string* languageName) {
  WaitCursor wait(ui);
  GenerateCommandResult result;
  const OutputGuard guard(project);
  GuardedOutputs plan(guard, ui);
  // Every output is placed first, and built ahead on a few threads; each
  // module then takes its turn as before, its outputs getting their names
  // only then (and never once the user has stopped).
  ProjectOutputs outputs = PlanProjectOutputs(project, module, languageName, plan);
  if (module) {
    if (GenerateModule(*module, false, ui, plan, outputs, result.written) == kGenerateDone) {
      result.generated = 1;
      ui.ShowMessage(FormatMessage(kMsgModuleGenerated, FileNameText(*module).c_str()),
                     MessageIcon::kInformation);
    } else {
      result.failed = 1;
      result.stopped = true;
    }
    return result;
  }
  for (Module& each : project.modules) {
    const int outcome = GenerateModule(each, true, ui, plan, outputs, result.written);
    if (outcome == kGenerateStop) {
      result.stopped = true;
      ++result.failed;
      return result;
    }
    if (outcome == kGenerateFailedGoOn) {
      ++result.failed;
    } else {
      ++result.generated;
    }
  }
  if (result.failed == 0)
    ui.ShowMessage(MessageText(kMsgProjectGenerated), MessageIcon::kInformation);
  return result;
}

}  // namespace ulk
