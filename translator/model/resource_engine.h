// The resource engine: reads a module's texts into the project's module,
// carrying translations over to new keys, and writes the translated module
// of each target language. One engine serves one operation.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/pe_image.h"
#include "translator/model/project.h"
#include "translator/resources/module_resources.h"

namespace ulk {

// Why the last operation failed; 0 when it succeeded.
enum FailureKind : int {
  kFailureNone = 0,
  kFailureNoModule = 1,
  kFailureNoDefaultLanguage = 2,
  kFailureEmptyPath = 3,
  kFailureCannotOpen = 4,  // failureText names the module
  kFailureTooFewLanguages = 5,
  kFailureInvalidModule = 6,
  kFailureCannotWrite = 7,  // a translated module was not written
  kFailureResourceNotFound = 8,
  kFailureResourceNotLoaded = 9,
  kFailureCannotCreateFile = 10,
  kFailureCannotWriteFile = 11,
  kFailureCannotLoadLibrary = 12,
  kFailureCannotUpdateLibrary = 13,
};

// Decides, before anything of it is written, where the module of a target
// language goes, or that it goes nowhere.
class OutputPlan {
 public:
  virtual ~OutputPlan() = default;
  // The path to write `target` of `module` to, in `path`; 0, or the error
  // code (system_error.h, "%1" the path) that refuses it.
  virtual int Place(const Module& module, const ModuleLanguage& target, std::string& path) = 0;
};

class ResourceEngine {
 public:
  int failureKind = kFailureNone;
  std::string failureText;
  ModuleResources resources;
  // (entry key, escaped text) of the last read, in reading order.
  std::vector<std::pair<std::string, std::string>> readTexts;
  // The reader's warnings of the last read (resources kept without texts).
  std::vector<std::string> warnings;

  // Reads the module file and merges its texts into `module`: the default
  // language gets exactly the texts read (status 1 for new or changed ones);
  // translations follow their original texts to new keys, and are dropped
  // where the original text changed or vanished. Nothing changes on failure.
  bool GetResources(Module* module);
  // Reads the module and fills `readTexts`.
  bool ReadTexts(const std::string& path);

  // Writes the translated module of every target language, or of the one
  // named `languageName` when it is not null, where `plan` places it (to
  // its output path as it stands without one). Goes on after a language
  // that fails; false when any did. `written` lists what was written. The
  // plan is asked in the module's order before anything is written; the
  // outputs are then written on a few threads, each the whole of one
  // output, and reported in that order.
  bool GenerateLanguages(Module* module, const std::string* languageName = nullptr,
                         OutputPlan* plan = nullptr);
  // One translated module, to `outputPath`; the module must be open
  // (`resources`): its texts are compared with the project's as the module
  // is written.
  bool GenerateLanguage(const ModuleLanguage& original, const ModuleLanguage& target,
                        const std::string& outputPath);
  // The outputs the last GenerateLanguages wrote: each language with the
  // path it was written to, in the module's order.
  std::vector<std::pair<const ModuleLanguage*, std::string>> written;
  // The error code of the last GenerateLanguage that failed.
  int lastWriteError() const { return lastWriteError_; }

  // Writes a resource of `module` (null: the program's own) to a file.
  bool ExtractResourceToFile(const ResourceId& type, const ResourceId& name,
                             const std::string& path, const ModuleImage* module);
  // Copies a resource of `module` into the library file, under the neutral
  // language, replacing one of the same type and name.
  bool CopyResourceToLibrary(const ModuleImage& module, const ResourceId& type,
                             const ResourceId& name, const std::string& libraryPath);

 private:
  // A target language's output: where it goes and how its writing ended.
  struct Output {
    const ModuleLanguage* language = nullptr;
    std::string path;
    int error = 0;         // 0, or why it was not written
    bool refused = false;  // by the plan: not to be written
  };
  static constexpr std::size_t kMaxWritingThreads = 4;
  // Writes every output the plan did not refuse, noting each one's error.
  void WriteOutputs(const ModuleLanguage& original, std::vector<Output>& outputs);
  void Reset();
  // ReadModule, with kind 4 and the detail text on failure.
  bool ReadModule(const std::string& path);
  // Records that `path` could not be opened (kind 4, the detail text);
  // returns false.
  bool CannotOpen(const std::string& path);

  int lastWriteError_ = 0;
};

using ReadTextList = std::vector<std::pair<std::string, std::string>>;

// Brings the texts read from a module file into the module (whose default
// language must exist): merged group by group, stale entries removed,
// status 1 on every new or changed text.
void MergeReadTexts(Module& module, const ReadTextList& readTexts);

// The program's own resources: the template library is type "DLL", number
// 149. Empty when there is no such resource.
std::string_view EmbeddedResource(const ResourceId& type, const ResourceId& name);
inline constexpr std::uint32_t kTemplateLibraryId = 149;

}  // namespace ulk
